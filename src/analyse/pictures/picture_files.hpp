#pragma once

// The files of --plot: the folder they go to, their names, and writing them
// so that a picture never goes through a link, never replaces one of the
// run's input files, and never leaves a cut-off file in place of a good one.

#include "analyse/files/replace_file.hpp"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ordimet::analyse {

// A file as the system knows it, whatever name it is reached by.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The folder of --plot for one run.
struct PictureFolder {
    std::string path;          // as given on the command line, for messages
    OwnedDescriptor directory; // the folder itself, opened once for the run
    // The run's input files that exist, sorted: no picture is written under
    // a name that leads to one of them.
    std::vector<FileIdentity> inputs;
    std::unordered_set<std::string> used; // picture names given out in this run
    // For a base name and a set of suffixes, the number of its stem to try
    // next (1 for the base name itself).
    std::unordered_map<std::string, long> next_number;
    std::size_t probes = 0; // stems tried, for the tests of the numbering
};

// Opens the folder `directory` (which exists) for the run and notes the
// identities of the input files `inputs`. False when it can't be opened.
bool open_picture_folder(const std::string& directory, std::span<const std::string> inputs,
                         PictureFolder& folder);

// The stem of the pictures of an algorithm (or a cycle) of the method file
// `file`: its base name, or the base name followed by -2, -3, ... when a
// picture of that stem with one of `suffixes` was already given out in this
// run or its name leads to an input file of the run.
std::string unique_stem(const std::string& file, std::span<const char* const> suffixes,
                        PictureFolder& folder);

enum class PictureWrite {
    WRITTEN,
    NOT_A_REGULAR_FILE, // the name exists and is a link, a folder, a FIFO...
    FAILED,             // a file could not be made, written, closed or renamed
};

// Writes `text` as the file `name` of the folder: into a new temporary file
// beside it, renamed over the name once complete. On failure the name is as
// it was.
PictureWrite write_picture_file(const PictureFolder& folder, const std::string& name,
                                std::string_view text);

} // namespace ordimet::analyse
