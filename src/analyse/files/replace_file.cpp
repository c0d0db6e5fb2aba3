#include "analyse/files/replace_file.hpp"

#include "platform/posix/retry.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace ordimet::analyse {
namespace {

using platform::retry_interrupted;

// Creates a new, empty file for `name` beside it, under a hidden name of
// this process: O_EXCL makes sure it is no file that exists already and no
// link to one (nor a dangling link), so that nothing is written anywhere but
// into a file this run has just made. Its mode is that of any new file (0666
// less the umask). Returns its descriptor, or -1.
int create_temporary(int directory, const std::string& name, std::string& temporary) {
    std::string tail = std::to_string(::getpid());
    tail.insert(tail.begin(), '.');
    tail += '-';
    // A name near the length limit of a file name keeps only its start in the
    // temporary name (the process number and O_EXCL keep it apart).
    const std::size_t room = NAME_MAX - 1 - tail.size() - 6;
    std::string prefix(1, '.');
    prefix.append(name, 0, room);
    prefix += tail;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = prefix + std::to_string(attempt) + ".tmp";
        const int fd = retry_interrupted([&] {
            return ::openat(directory, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        });
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written =
            retry_interrupted([&] { return ::write(fd, text.data(), text.size()); });
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Gives the complete temporary file the name, unless the name exists by now:
// renameat2 with RENAME_NOREPLACE decides that at once; a file system without
// it gets a hard link, which is made only where no name is.
FileReplace rename_if_new(int directory, const std::string& temporary, const std::string& name) {
    if (::renameat2(directory, temporary.c_str(), directory, name.c_str(), RENAME_NOREPLACE) == 0) {
        return FileReplace::WRITTEN;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno == EEXIST ? FileReplace::EXISTS : FileReplace::FAILED;
    }
    if (::linkat(directory, temporary.c_str(), directory, name.c_str(), 0) != 0) {
        return errno == EEXIST ? FileReplace::EXISTS : FileReplace::FAILED;
    }
    ::unlinkat(directory, temporary.c_str(), 0);
    return FileReplace::WRITTEN;
}

} // namespace

OwnedDescriptor::~OwnedDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

OwnedDescriptor::OwnedDescriptor(OwnedDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

OwnedDescriptor& OwnedDescriptor::operator=(OwnedDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileReplace replace_file(int directory, const std::string& name, std::string_view text,
                         ExistingFile existing) {
    // A name that exists as anything but a regular file (a symbolic link,
    // even a dangling one, a folder, a FIFO...) is left as it is: a link may
    // have been planted to have the run replace something else. The rename
    // below would replace a link that appears meanwhile, never write through
    // it.
    struct stat found {};
    if (::fstatat(directory, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0) {
        if (existing == ExistingFile::KEEP) {
            return FileReplace::EXISTS;
        }
        if (!S_ISREG(found.st_mode)) {
            return FileReplace::NOT_A_REGULAR_FILE;
        }
    } else if (errno != ENOENT) {
        return FileReplace::FAILED;
    }
    std::string temporary;
    const int fd = create_temporary(directory, name, temporary);
    if (fd < 0) {
        return FileReplace::FAILED;
    }
    const bool written = write_all(fd, text);
    // close reports some write errors only now (a full disk over NFS).
    const bool closed = ::close(fd) == 0;
    FileReplace result = FileReplace::FAILED;
    if (written && closed) {
        // rename replaces the entry at once: a reader sees the old file or
        // the new one, whole.
        result = existing == ExistingFile::KEEP ? rename_if_new(directory, temporary, name)
                 : ::renameat(directory, temporary.c_str(), directory, name.c_str()) == 0
                     ? FileReplace::WRITTEN
                     : FileReplace::FAILED;
    }
    if (result != FileReplace::WRITTEN) {
        ::unlinkat(directory, temporary.c_str(), 0);
    }
    return result;
}

} // namespace ordimet::analyse
