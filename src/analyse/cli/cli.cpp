#include "analyse/cli/cli.hpp"

#include "analyse/report/file_names.hpp"

#include <CLI/CLI.hpp>
#include <cmath>
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

// CLI11's help in the program's own words: our usage lines in place of the
// generated one, Portuguese labels.
class Formatter : public CLI::Formatter {
  public:
    Formatter() {
        label("Options", "Opcoes");
        label("Positionals", "Argumentos");
        label("TEXT", "TEXTO");
    }
    std::string make_usage(const CLI::App*, std::string) const override { return USAGE; }
};

// The message quotes arguments as they were given: printable_name keeps
// their bytes from reaching the terminal as they are.
void usage_error(const std::string& message) {
    std::fprintf(stderr, "ordimet-analyse: %s\n%s", printable_name(message).c_str(), USAGE);
}

// Help and version text on standard output; the exit status says whether it
// could be written.
int print_and_exit(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("ordimet-analyse: erro ao escrever a saida.\n", stderr);
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
bool prepare_plot_directory(const std::string& directory) {
    if (directory.empty()) {
        return true;
    }
    std::error_code error;
    const std::filesystem::path path(directory);
    if (std::filesystem::is_directory(path, error)) {
        return true;
    }
    if (std::filesystem::exists(path, error)) {
        usage_error("--plot: " + directory + " existe e nao e' um diretorio.");
        return false;
    }
    if (!std::filesystem::create_directory(path, error) &&
        !std::filesystem::is_directory(path, error)) {
        usage_error("--plot: nao foi possivel criar o diretorio " + directory + ".");
        return false;
    }
    return true;
}

// The method kind and the files: sets `command.kind` and `command.files`, or
// prints the usage error and returns false.
bool check_words(std::vector<std::string>& words, CommandLine& command) {
    if (command.each) {
        if (words.empty()) {
            usage_error("--each precisa de pelo menos um arquivo.");
            return false;
        }
        command.kind = MethodKind::SIMPLE;
        command.files = std::move(words);
        return true;
    }
    if (words.empty()) {
        usage_error("falta o tipo do metodo (SI, CO ou CI).");
        return false;
    }
    if (!kind_from_text(words[0], command.kind)) {
        usage_error("tipo de metodo desconhecido: " + words[0] + " (SI, CO ou CI).");
        return false;
    }
    command.files.assign(words.begin() + 1, words.end());
    if (command.kind == MethodKind::SIMPLE && command.files.size() != 1) {
        usage_error("SI precisa de exatamente um arquivo.");
        return false;
    }
    if (command.kind != MethodKind::SIMPLE && command.files.size() < 2) {
        usage_error(words[0] + " precisa de pelo menos dois arquivos.");
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
    app.formatter(std::make_shared<Formatter>());
    app.footer(FOOTER);
    app.option_defaults()->group("Opcoes");
    app.set_help_flag("-h,--help", "mostra esta ajuda e termina");
    app.set_version_flag("--version", version_text(), "mostra a versao e termina");
    app.add_flag("--json", command.json, "resultados em JSON (com --each, um objeto por linha)");
    app.add_flag("--latex", command.latex,
                 "o metodo em LaTeX: cada algoritmo como equacao e linha de tabela");
    app.add_flag("--each", command.each, "cada arquivo e' um metodo simples por si");
    app.add_flag("--stability", options.stability, "com --each, tambem a estabilidade linear");
    app.add_flag("--converge", command.converge,
                 "integra o metodo nos seus problemas de teste e mede a ordem");
    app.add_option("--lang", options.language, "lingua dos relatorios e figuras: pt ou en")
        ->type_name("LINGUA");
    options.plot = app.add_option("--plot", command.plot_directory,
                                  "figuras SVG no diretorio DIR, criado se faltar")
                       ->type_name("DIR");
    options.window_given =
        app.add_option("--plot-window", options.window,
                       "a parte do plano da figura principal: XMIN,XMAX,YMIN,YMAX")
            ->type_name("JANELA");
    options.size_given =
        app.add_option("--plot-size", options.size, "o tamanho das figuras em pixels: LxA")
            ->type_name("TAMANHO");
    app.add_option("ARGUMENTOS", options.words,
                   "SI, CO ou CI e os arquivos; com --each, so' os arquivos")
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
    if ((options.plot->count() > 0 && command.plot_directory.empty()) ||
        plot_value_empty(argc, argv)) {
        usage_error("--plot precisa de um diretorio.");
        return false;
    }
    if (command.json && command.latex) {
        usage_error("--json e --latex nao vao juntos.");
        return false;
    }
    if (options.language != "pt" && options.language != "en") {
        usage_error("--lang: " + options.language + " nao e' pt nem en.");
        return false;
    }
    command.language = options.language == "en" ? Language::ENGLISH : Language::PORTUGUESE;
    if ((options.window_given->count() > 0 || options.size_given->count() > 0) &&
        command.plot_directory.empty()) {
        usage_error("--plot-window e --plot-size vao com --plot.");
        return false;
    }
    PlotWindow window;
    if (options.window_given->count() > 0 && !window_from_text(options.window, window)) {
        usage_error("--plot-window: " + options.window + " nao e' XMIN,XMAX,YMIN,YMAX.");
        return false;
    }
    if (options.window_given->count() > 0) {
        command.plot_window = window;
    }
    if (options.size_given->count() > 0 &&
        !size_from_text(options.size, command.plot_width, command.plot_height)) {
        usage_error("--plot-size: " + options.size + " nao e' LARGURAxALTURA (100 a 10000).");
        return false;
    }
    return true;
}

} // namespace

const char* version_text() {
    return "ordimet-analyse " ORDIMET_VERSION;
}

int parse_command_line(int argc, const char* const* argv, CommandLine& command) {
    CLI::App app{DESCRIPTION, "ordimet-analyse"};
    Options options;
    declare_options(app, command, options);
    // CLI11 reports every parse outcome other than success, help and version
    // included, as an exception; this is the one place that catches them.
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return print_and_exit(app.help());
    } catch (const CLI::CallForVersion&) {
        return print_and_exit(std::string(version_text()) + "\n");
    } catch (const CLI::ParseError& error) {
        usage_error(std::string("linha de comando invalida: ") + error.what());
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
    return prepare_plot_directory(command.plot_directory) ? RUN_ANALYSIS : EXIT_USAGE_ERROR;
}

} // namespace ordimet::analyse
