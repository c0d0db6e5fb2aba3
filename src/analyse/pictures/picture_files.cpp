#include "analyse/pictures/picture_files.hpp"

#include "platform/posix/retry.hpp"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace ordimet::analyse {
namespace {

using platform::retry_interrupted;

// The file name of a method file without its folder and its last
// extension; "metodo" when nothing is left, and for standard input ("-",
// whose pictures would otherwise begin with a dash, as an option does).
std::string base_name(const std::string& file) {
    const std::filesystem::path path(file);
    std::string name = path.filename().string();
    const std::string stem = path.stem().string();
    if (!stem.empty() && stem != "." && stem != "..") {
        name = stem;
    }
    if (name.empty() || name == "." || name == ".." || name == "-") {
        name = "metodo";
    }
    // Left to us: at most 200 bytes, so that a suffix, a number and the
    // temporary file's additions still fit the 255 bytes of a file name;
    // names shortened alike are told apart by their numbers.
    if (name.size() > 200) {
        name.resize(200);
    }
    return name;
}

// Whether the folder's entry `name` is one of the run's input files (a hard
// link to one included). A symbolic link is not followed: its own entry is
// no input, and it is never written through (write_picture_file).
bool is_input(const PictureFolder& folder, const std::string& name) {
    struct stat entry {};
    return !folder.inputs.empty() &&
           ::fstatat(folder.directory.get(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           std::binary_search(folder.inputs.begin(), folder.inputs.end(),
                              FileIdentity{entry.st_dev, entry.st_ino});
}

bool stem_free(const PictureFolder& folder, const std::string& stem,
               std::span<const char* const> suffixes) {
    return std::none_of(suffixes.begin(), suffixes.end(), [&](const char* suffix) {
        const std::string name = stem + suffix;
        return folder.used.count(name) > 0 || is_input(folder, name);
    });
}

} // namespace

bool open_picture_folder(const std::string& directory, std::span<const std::string> inputs,
                         PictureFolder& folder) {
    // Every picture is made, checked and renamed relative to the folder
    // opened here, so that the folder can't be swapped for another under
    // the run.
    folder.path = directory;
    folder.directory = OwnedDescriptor(retry_interrupted(
        [&] { return ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    if (folder.directory.get() < 0) {
        return false;
    }
    folder.inputs.clear();
    for (const std::string& input : inputs) {
        struct stat file {};
        if (::stat(input.c_str(), &file) == 0) {
            folder.inputs.push_back({file.st_dev, file.st_ino});
        }
    }
    std::sort(folder.inputs.begin(), folder.inputs.end());
    return true;
}

// Left to us: numbering by the order of the command line keeps the names
// deterministic, and every picture of one algorithm shares one stem so that
// they stay together. A name that leads to an input file is passed over,
// not refused, so that the run still draws that picture.
std::string unique_stem(const std::string& file, std::span<const char* const> suffixes,
                        PictureFolder& folder) {
    const std::string base = base_name(file);
    std::string key = base;
    for (const char* suffix : suffixes) {
        key += '/'; // no base name holds one
        key += suffix;
    }
    // The numbers below the one remembered are taken already, so that N
    // pictures of one stem try N stems in all, not N^2 / 2.
    long& number = folder.next_number.try_emplace(key, 1).first->second;
    for (;; ++number) {
        ++folder.probes;
        const std::string stem = number == 1 ? base : base + "-" + std::to_string(number);
        if (stem_free(folder, stem, suffixes)) {
            for (const char* suffix : suffixes) {
                folder.used.insert(stem + suffix);
            }
            ++number;
            return stem;
        }
    }
}

PictureWrite write_picture_file(const PictureFolder& folder, const std::string& name,
                                std::string_view text) {
    // Left to us: a name that exists as anything but a regular file (a
    // symbolic link, even a dangling one, a folder, a FIFO...) is left as it
    // is and the picture fails; none of them is a picture to replace.
    switch (replace_file(folder.directory.get(), name, text, ExistingFile::REPLACE_REGULAR)) {
    case FileReplace::WRITTEN:
        return PictureWrite::WRITTEN;
    case FileReplace::EXISTS:
    case FileReplace::NOT_A_REGULAR_FILE:
        return PictureWrite::NOT_A_REGULAR_FILE;
    case FileReplace::FAILED:
        break;
    }
    return PictureWrite::FAILED;
}

} // namespace ordimet::analyse
