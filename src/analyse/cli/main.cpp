// ordimet-analyse: exact orders, certified zero-stability and machine-readable
// results for the method files of ordimet.

#include "analyse/analysis/analysis.hpp"
#include "analyse/cli/cli.hpp"
#include "analyse/cli/interruption.hpp"
#include "analyse/cli/standard_input.hpp"
#include "analyse/pictures/pictures.hpp"
#include "analyse/report/failures.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/report_json.hpp"
#include "analyse/report/report_latex.hpp"
#include "analyse/report/report_text.hpp"
#include "analyse/report/text_out.hpp"
#include "platform/output_signals.hpp"

#include <cstdio>
#include <new>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace ordimet::analyse;

// What is reused from one method to the next, so that a batch of thousands
// of files allocates almost nothing per file.
struct Run {
    const CommandLine& command;
    AnalysisWorkspace workspace;
    MethodAnalysis method;
    std::string report;
    bool first_report = true;
    // --plot: the sampled curves of the method's algorithms, the folder and
    // the names taken in it so far, and the pictures of a method that could
    // not be written.
    std::vector<AlgorithmSamples> samples;
    PictureOptions picture_options;
    PictureFolder pictures;
    std::vector<PictureFailure> failures;
};

void write_out(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// A failure in text: its message on standard error, in place (standard output
// is flushed first so that the two streams stay in order on one terminal).
// The file is named when the message doesn't name it itself; a name is
// shown through printable_name. The messages on standard error are in the
// language of --lang, like the report.
void report_failure_text(const AnalysisOutcome& outcome, const std::string& file,
                         Language language) {
    std::fflush(stdout);
    std::string message = failure_message(outcome, language, Names::PRINTABLE) + '\n';
    if (!file.empty() && !failure_names_file(outcome.failure)) {
        TextOut{message, language}.putf("Arquivo: %s\n", printable_name(file).c_str());
    }
    std::fputs(message.c_str(), stderr);
}

// The pictures of the method that could not be written, one message each;
// false when there was one.
bool report_picture_failures(Run& run) {
    if (run.failures.empty()) {
        return true;
    }
    std::fflush(stdout);
    std::string messages;
    TextOut text{messages, run.command.language};
    for (const PictureFailure& failure : run.failures) {
        const std::string path = printable_name(failure.path);
        if (failure.why == PictureWrite::NOT_A_REGULAR_FILE) {
            text.putf("ordimet-analyse: a figura %s nao foi escrita: o nome existe e nao e' um "
                      "arquivo comum.\n",
                      path.c_str());
        } else {
            text.putf("ordimet-analyse: erro ao escrever a figura %s.\n", path.c_str());
        }
    }
    std::fputs(messages.c_str(), stderr);
    run.failures.clear();
    return false;
}

// The names the reports show for the paths read: "-" for standard input's
// copy.
void show_names(std::span<const std::string> paths, std::span<const std::string> files,
                AnalysisOutcome& outcome, MethodAnalysis& method) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (paths[i] == files[i]) {
            continue;
        }
        if (outcome.failing == paths[i]) {
            outcome.failing = files[i];
        }
        if (!outcome.failed()) {
            method.files[i] = files[i];
            method.algorithms[i].file = files[i];
        }
    }
}

// The analysis of one method. Memory that runs out inside it is that
// method's failure, told as a shortage of memory like every other (the
// reader's own allocations end the same way), and a batch goes on with the
// next method: the workspace is made anew.
AnalysisOutcome analyse_guarded(Run& run, MethodKind kind, std::span<const std::string> paths) {
    try {
        return analyse_method(kind, paths, {run.command.stability, run.command.converge},
                              run.workspace, run.method);
    } catch (const std::bad_alloc&) {
        run.workspace = AnalysisWorkspace{};
        AnalysisOutcome outcome;
        outcome.failure = Failure::BEYOND_LIMITS;
        outcome.failing = paths.size() == 1 ? paths[0] : std::string();
        return outcome;
    }
}

// Analyses one method, read from `paths`, and writes its report or its
// error, naming its files as `files`; false on an error.
bool analyse_and_report(Run& run, MethodKind kind, std::span<const std::string> files,
                        std::span<const std::string> paths) {
    AnalysisOutcome outcome = analyse_guarded(run, kind, paths);
    show_names(paths, files, outcome, run.method);
    // A method of one file (every method of a batch) has that file at fault
    // whatever the code; for several, the loader names it when it can.
    const std::string& file = files.size() == 1 ? files[0] : outcome.failing;
    run.report.clear();
    if (outcome.failed()) {
        if (run.command.json) {
            write_json_error(outcome, file, run.report);
            write_out(run.report);
        } else {
            report_failure_text(outcome, file, run.command.language);
        }
        return false;
    }
    const bool plot = !run.command.plot_directory.empty();
    if (plot) {
        run.samples.resize(run.method.algorithms.size());
        for (std::size_t a = 0; a < run.method.algorithms.size(); ++a) {
            sample_algorithm(run.method.m, run.method.algorithms[a], run.picture_options.window,
                             run.samples[a]);
        }
    }
    if (run.command.json) {
        write_json_report(run.method, run.report,
                          plot ? std::span<const AlgorithmSamples>(run.samples)
                               : std::span<const AlgorithmSamples>());
    } else if (run.command.latex) {
        write_latex_report(run.method, run.command.language, run.report);
    } else {
        if (!run.first_report) {
            run.report += '\n';
        }
        write_text_report(run.method, run.command.language, run.report);
    }
    run.first_report = false;
    write_out(run.report);
    if (plot) {
        // A picture that could not be written fails the run like a file
        // that could not be read; the report has gone out all the same.
        write_pictures(run.method, run.samples, run.picture_options, run.pictures, run.failures);
        return report_picture_failures(run);
    }
    return true;
}

// The end of a run: the reports still buffered go out, and the exit status
// says how the run went. A run asked to stop ends by that signal, once every
// report it finished is written.
int finish(bool all_analysed, Language language) {
    const bool output_failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (output_failed) {
        // A report that could not be written is no success.
        std::fputs(say("ordimet-analyse: erro ao escrever a saida.\n", language), stderr);
    }
    if (const int sig = interruption(); sig != 0) {
        end_by_signal(sig);
    }
    if (output_failed) {
        return EXIT_BAD_FILE;
    }
    return all_analysed ? EXIT_ANALYSED : EXIT_BAD_FILE;
}

} // namespace

int main(int argc, char** argv) {
    // A write that fails (a pipe whose reader has gone, a file at its size
    // limit) is an error reported like any other, not a signal that ends the
    // process without a word.
    ordimet::platform::keep_running_when_output_fails();
    CommandLine command;
    const int parsed = parse_command_line(argc, argv, command);
    if (parsed != RUN_ANALYSIS) {
        return parsed;
    }
    // Fully buffered output whatever standard output is: a batch writes one
    // line per file, and a flush per line would cost more than its analysis.
    // The buffer holds whole reports whenever the run stops between two
    // methods, which is where an interruption stops it.
    static char output_buffer[1 << 16];
    std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer);

    const PictureOptions picture_options{command.language, command.plot_window, command.plot_width,
                                         command.plot_height};
    Run run{command, {}, {}, {}, true, {}, picture_options, {}, {}};
    if (!command.plot_directory.empty() &&
        !open_picture_folder(command.plot_directory, command.files, run.pictures)) {
        std::string message;
        TextOut{message, command.language}.putf(
            "ordimet-analyse: --plot: nao foi possivel abrir o diretorio %s.\n",
            printable_name(command.plot_directory).c_str());
        std::fputs(message.c_str(), stderr);
        return EXIT_USAGE_ERROR;
    }
    StandardInput input;
    std::vector<std::string> paths;
    if (!paths_to_read(command.files, input, paths)) {
        std::fputs(say("ordimet-analyse: erro ao ler a entrada padrao.\n", command.language),
                   stderr);
        return EXIT_BAD_FILE;
    }
    catch_interruptions();
    bool all_analysed = true;
    if (command.each) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            // Left to us: a batch also stops at its first report that could
            // not be written, since the rest would go nowhere either.
            if (interruption() != 0 || std::ferror(stdout) != 0) {
                break;
            }
            all_analysed =
                analyse_and_report(run, MethodKind::SIMPLE, std::span(&command.files[i], 1),
                                   std::span(&paths[i], 1)) &&
                all_analysed;
        }
    } else {
        all_analysed = analyse_and_report(run, command.kind, command.files, paths);
    }
    return finish(all_analysed, command.language);
}
