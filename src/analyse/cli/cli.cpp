// The command line of ordimet-analyse, read by CLI11 and checked whole
// before anything is made: the kind of method, the files and the options.

#include "analyse/cli/cli.hpp"

#include "analyse/cli/command_words.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/text_out.hpp"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#ifndef ORDIMET_VERSION
#error "ORDIMET_VERSION must name the project's version"
#endif

namespace ordimet::analyse {
namespace {

const char* const USAGE = "Uso:\n"
                          "  ordimet-analyse [OPCOES] SI ARQUIVO\n"
                          "  ordimet-analyse [OPCOES] CO ARQUIVO1 ARQUIVO2 [ARQUIVO3 ...]\n"
                          "  ordimet-analyse [OPCOES] CI ARQUIVO1 ARQUIVO2 [ARQUIVO3 ...]\n"
                          "  ordimet-analyse [OPCOES] --each ARQUIVO [ARQUIVO ...]\n";

const char* const DESCRIPTION =
    "Ordens exatas, condicao das raizes certificada e resultados legiveis por\n"
    "programas para metodos lineares de passo multiplo de y^(m) = f(x, y).\n"
    "SI: metodo simples (um arquivo); CO: composto; CI: ciclico (dois ou mais\n"
    "arquivos, m = 1).\n";

const char* const FOOTER =
    "Codigo de saida: 0 quando todos os arquivos foram analisados, 1 quando um\n"
    "arquivo nao pode ser lido ou nao e' um arquivo de metodo valido, ou uma\n"
    "figura ou a saida nao pode ser escrita, 2 para uma linha de comando\n"
    "invalida. SIGINT, SIGTERM e SIGHUP param um lote entre dois metodos.\n";

// A mistake of the command line, in the language, with the usage after it.
// Arguments quoted in it go through printable_name, so that their bytes
// don't reach the terminal as they are.
__attribute__((format(printf, 2, 3))) void usage_error(Language language, const char* portuguese,
                                                       ...) {
    va_list arguments;
    va_start(arguments, portuguese);
    print_error("ordimet-analyse", USAGE, language, portuguese, arguments);
    va_end(arguments);
}

// Help and version text on standard output; the exit status says whether it
// could be written.
int print_and_exit(const std::string& text, Language language) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs(("ordimet-analyse: " + std::string(say("erro ao escrever a saida.\n", language)))
                       .c_str(),
                   stderr);
        return EXIT_BAD_FILE;
    }
    return EXIT_ANALYSED;
}

// CLI11 reads "--plot=" (nothing after the sign) as "--plot" alone and takes
// the folder from the next argument, which would make "--plot= SI f" draw
// into a folder "SI": the empty value is looked for before CLI11 parses.
bool plot_value_empty(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            return false;
        }
        if (argument == "--plot=") {
            return true;
        }
    }
    return false;
}

bool kind_from_text(const std::string& text, MethodKind& kind) {
    if (text == "SI") {
        kind = MethodKind::SIMPLE;
    } else if (text == "CO") {
        kind = MethodKind::COMPOSITE;
    } else if (text == "CI") {
        kind = MethodKind::CYCLIC;
    } else {
        return false;
    }
    return true;
}

// The folder of --plot must be usable before anything is analysed, so that
// no report goes out whose pictures can't follow. Left to us: a missing
// folder is made (one level, its parent must exist), as an output option
// usually makes its file; a path that exists and is not a folder, or a
// folder that can't be made, is a wrong command line.
bool prepare_plot_directory(const std::string& directory, Language language) {
    if (directory.empty()) {
        return true;
    }
    std::error_code error;
    const std::filesystem::path path(directory);
    if (std::filesystem::is_directory(path, error)) {
        return true;
    }
    const std::string shown = printable_name(directory);
    if (std::filesystem::exists(path, error)) {
        usage_error(language, "--plot: %s existe e nao e' um diretorio.", shown.c_str());
        return false;
    }
    if (!std::filesystem::create_directory(path, error) &&
        !std::filesystem::is_directory(path, error)) {
        usage_error(language, "--plot: nao foi possivel criar o diretorio %s.", shown.c_str());
        return false;
    }
    return true;
}

// The method kind and the files: sets `command.kind` and `command.files`, or
// prints the usage error and returns false.
bool check_words(std::vector<std::string>& words, CommandLine& command) {
    const Language l = command.language;
    if (command.each) {
        if (words.empty()) {
            usage_error(l, "--each precisa de pelo menos um arquivo.");
            return false;
        }
        command.kind = MethodKind::SIMPLE;
        command.files = std::move(words);
        return true;
    }
    if (words.empty()) {
        usage_error(l, "falta o tipo do metodo (SI, CO ou CI).");
        return false;
    }
    if (!kind_from_text(words[0], command.kind)) {
        usage_error(l, "tipo de metodo desconhecido: %s (SI, CO ou CI).",
                    printable_name(words[0]).c_str());
        return false;
    }
    command.files.assign(words.begin() + 1, words.end());
    if (command.kind == MethodKind::SIMPLE && command.files.size() != 1) {
        usage_error(l, "SI precisa de exatamente um arquivo.");
        return false;
    }
    if (command.kind != MethodKind::SIMPLE && command.files.size() < 2) {
        usage_error(l, "%s precisa de pelo menos dois arquivos.", words[0].c_str());
        return false;
    }
    return true;
}

// What CLI11 reads before the checks: the options' raw values.
struct Options {
    bool stability = false;
    std::string language = "pt";
    std::string window;
    std::string size;
    std::vector<std::string> words;
    const CLI::Option* plot = nullptr;
    const CLI::Option* window_given = nullptr;
    const CLI::Option* size_given = nullptr;
};

void declare_options(CLI::App& app, CommandLine& command, Options& options) {
    const auto w = [&command](const char* portuguese) { return say(portuguese, command.language); };
    app.formatter(std::make_shared<HelpFormatter>(USAGE, command.language));
    app.footer(w(FOOTER));
    app.option_defaults()->group(w("Opcoes"));
    app.set_help_flag("-h,--help", w("mostra esta ajuda e termina"));
    app.set_version_flag("--version", version_text(), w("mostra a versao e termina"));
    app.add_flag("--json", command.json, w("resultados em JSON (com --each, um objeto por linha)"));
    app.add_flag("--latex", command.latex,
                 w("o metodo em LaTeX: cada algoritmo como equacao e linha de tabela"));
    app.add_flag("--each", command.each, w("cada arquivo e' um metodo simples por si"));
    app.add_flag("--stability", options.stability, w("com --each, tambem a estabilidade linear"));
    app.add_flag("--converge", command.converge,
                 w("integra o metodo nos seus problemas de teste e mede a ordem"));
    app.add_option("--lang", options.language, w("lingua dos relatorios e figuras: pt ou en"))
        ->type_name(w("LINGUA"));
    options.plot = app.add_option("--plot", command.plot_directory,
                                  w("figuras SVG no diretorio DIR, criado se faltar"))
                       ->type_name("DIR");
    options.window_given =
        app.add_option("--plot-window", options.window,
                       w("a parte do plano da figura principal: XMIN,XMAX,YMIN,YMAX"))
            ->type_name(w("JANELA"));
    options.size_given =
        app.add_option("--plot-size", options.size, w("o tamanho das figuras em pixels: LxA"))
            ->type_name(w("TAMANHO"));
    app.add_option(w("ARGUMENTOS"), options.words,
                   w("SI, CO ou CI e os arquivos; com --each, so' os arquivos"))
        ->type_name("");
}

// "XMIN,XMAX,YMIN,YMAX": four finite numbers, each minimum below its maximum.
bool window_from_text(const std::string& text, PlotWindow& window) {
    double values[4];
    const char* at = text.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        values[i] = std::strtod(at, &end);
        if (end == at || !std::isfinite(values[i]) || *end != (i < 3 ? ',' : '\0')) {
            return false;
        }
        at = end + 1;
    }
    window = {values[0], values[1], values[2], values[3]};
    return values[0] < values[1] && values[2] < values[3];
}

// "WIDTHxHEIGHT": two whole numbers of pixels, each from 100 to 10000.
bool size_from_text(const std::string& text, int& width, int& height) {
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &rest) != 2) {
        return false;
    }
    return width >= 100 && width <= 10000 && height >= 100 && height <= 10000;
}

// The options that CLI11 does not check itself; prints the usage error and
// returns false when one is wrong.
bool check_options(int argc, const char* const* argv, const Options& options,
                   CommandLine& command) {
    const Language l = command.language;
    if ((options.plot->count() > 0 && command.plot_directory.empty()) ||
        plot_value_empty(argc, argv)) {
        usage_error(l, "--plot precisa de um diretorio.");
        return false;
    }
    if (command.json && command.latex) {
        usage_error(l, "--json e --latex nao vao juntos.");
        return false;
    }
    if (options.language != "pt" && options.language != "en") {
        usage_error(l, "--lang: %s nao e' pt nem en.", printable_name(options.language).c_str());
        return false;
    }
    if ((options.window_given->count() > 0 || options.size_given->count() > 0) &&
        command.plot_directory.empty()) {
        usage_error(l, "--plot-window e --plot-size vao com --plot.");
        return false;
    }
    PlotWindow window;
    if (options.window_given->count() > 0 && !window_from_text(options.window, window)) {
        usage_error(l, "--plot-window: %s nao e' XMIN,XMAX,YMIN,YMAX.",
                    printable_name(options.window).c_str());
        return false;
    }
    if (options.window_given->count() > 0) {
        command.plot_window = window;
    }
    if (options.size_given->count() > 0 &&
        !size_from_text(options.size, command.plot_width, command.plot_height)) {
        usage_error(l, "--plot-size: %s nao e' LARGURAxALTURA (100 a 10000).",
                    printable_name(options.size).c_str());
        return false;
    }
    return true;
}

} // namespace

const char* version_text() {
    return "ordimet-analyse " ORDIMET_VERSION;
}

int parse_command_line(int argc, const char* const* argv, CommandLine& command) {
    // The language first, so that every message of the command line comes in it.
    command.language = language_asked(argc, argv);
    CLI::App app{say(DESCRIPTION, command.language), "ordimet-analyse"};
    Options options;
    declare_options(app, command, options);
    // CLI11 reports every parse outcome other than success, help and version
    // included, as an exception; this is the one place that catches them.
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return print_and_exit(app.help(), command.language);
    } catch (const CLI::CallForVersion&) {
        return print_and_exit(std::string(version_text()) + "\n", command.language);
    } catch (const CLI::ParseError& error) {
        usage_error(command.language, "%s", parse_error_text(error, command.language).c_str());
        return EXIT_USAGE_ERROR;
    }
    if (!check_options(argc, argv, options, command) || !check_words(options.words, command)) {
        return EXIT_USAGE_ERROR;
    }
    if (command.each) {
        // The pictures mark the intervals and the angle: --plot asks for them.
        command.stability = options.stability || !command.plot_directory.empty();
    }
    // The folder is made last, once the whole command line is known to be
    // right, so that a wrong one leaves nothing behind.
    return prepare_plot_directory(command.plot_directory, command.language) ? RUN_ANALYSIS
                                                                            : EXIT_USAGE_ERROR;
}

} // namespace ordimet::analyse
