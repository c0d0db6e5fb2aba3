#pragma once

// Writing a whole file safely: into a new temporary file beside its name,
// made so that it is no file that exists already and no link (O_CREAT |
// O_EXCL | O_NOFOLLOW), every write and the close checked, then renamed over
// the name. A reader, or another run writing the same name, sees the old
// file or the new one, whole; a failure leaves the name as it was and no
// temporary file behind.

#include <string>
#include <string_view>

namespace ordimet::analyse {

// A file descriptor owned by one object and closed with it.
class OwnedDescriptor {
  public:
    OwnedDescriptor() = default;
    explicit OwnedDescriptor(int fd) : fd_(fd) {}
    ~OwnedDescriptor();
    OwnedDescriptor(OwnedDescriptor&& other) noexcept;
    OwnedDescriptor& operator=(OwnedDescriptor&& other) noexcept;
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_ = -1;
};

// What may become of a file that exists under the name.
enum class ExistingFile {
    REPLACE_REGULAR, // a regular file is replaced; anything else is left alone
    KEEP,            // nothing that exists is replaced
};

enum class FileReplace {
    WRITTEN,
    EXISTS,             // KEEP: the name exists (as anything, a dangling link too)
    NOT_A_REGULAR_FILE, // REPLACE_REGULAR: the name is a link, a folder, a FIFO...
    FAILED,             // the file could not be made, written, closed or renamed
};

// Writes `text` as the entry `name` (a name without folders) of the folder
// open as `directory` (a descriptor, O_PATH is enough).
FileReplace replace_file(int directory, const std::string& name, std::string_view text,
                         ExistingFile existing);

} // namespace ordimet::analyse
