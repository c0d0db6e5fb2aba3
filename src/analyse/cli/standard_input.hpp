#pragma once

// A method file named "-" is standard input, so that another program's
// output can be analysed through a pipe. It is read once, whole, into a
// temporary file that is unlinked at once, so that nothing is left behind
// whatever ends the run, and that the analysis can read it again (a pipe
// can be read only once).

#include <string>
#include <vector>

namespace ordimet::analyse {

struct StandardInput {
    StandardInput() = default;
    StandardInput(const StandardInput&) = delete;
    StandardInput& operator=(const StandardInput&) = delete;
    ~StandardInput();
    int descriptor = -1; // the temporary file, open for the run
    std::string path;    // "/dev/fd/N", which reads it from its start
};

// The names to read the files by: `files` with every "-" replaced by the
// path of standard input's copy, made at the first "-". False when standard
// input could not be copied.
bool paths_to_read(const std::vector<std::string>& files, StandardInput& input,
                   std::vector<std::string>& paths);

} // namespace ordimet::analyse
