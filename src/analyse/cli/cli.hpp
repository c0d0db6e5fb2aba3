#pragma once

// The command line of ordimet-analyse: the method kind and its files, or a
// batch of simple methods, the output format and the folder for pictures.

#include "analyse/model/method.hpp"
#include "analyse/report/words.hpp"
#include "analyse/sampling/sampling.hpp"

#include <optional>
#include <string>
#include <vector>

namespace ordimet::analyse {

// Exit statuses of the program.
inline constexpr int EXIT_ANALYSED = 0;    // every file analysed, whatever the verdicts
inline constexpr int EXIT_BAD_FILE = 1;    // a file unreadable or no valid method file
inline constexpr int EXIT_USAGE_ERROR = 2; // the command line itself is wrong

// What the command line asks for.
struct CommandLine {
    MethodKind kind = MethodKind::SIMPLE;
    bool each = false; // every file a simple method on its own
    bool json = false;
    bool latex = false; // --latex: each method as LaTeX, for papers
    // The linear stability analyses (stability intervals, A(alpha), phase
    // lag): on for SI, CO and CI; for --each only when asked (--stability or
    // --plot), since they cost far more per method than the rest of a batch
    // (docs/performance.md).
    bool stability = true;
    // --plot: the folder the pictures go to; empty when none are asked for.
    std::string plot_directory;
    // --plot-window: the part of the plane the main picture of each method
    // shows, in place of the one chosen for it; --plot-size: the size of
    // the pictures in pixels (0 for their own).
    std::optional<PlotWindow> plot_window;
    int plot_width = 0;
    int plot_height = 0;
    // --converge: the method integrated on its test problems.
    bool converge = false;
    // --lang: the language of the text reports and the pictures' labels.
    Language language = Language::PORTUGUESE;
    std::vector<std::string> files;
};

// What parse_command_line returns when the analysis is to run.
inline constexpr int RUN_ANALYSIS = -1;

// Parses the command line into `command` and, once all of it is known to be
// right, makes the folder of --plot when it is missing. Returns RUN_ANALYSIS
// when the analysis is to run; otherwise the exit status to end with at once,
// after the help, the version or a usage error has been printed (help and
// version on standard output, errors on standard error): 1 when the help or
// the version could not be written.
int parse_command_line(int argc, const char* const* argv, CommandLine& command);

// The text printed for --version.
const char* version_text();

} // namespace ordimet::analyse
