#include "analyse/cli.hpp"

#include "analyse/file_names.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string>
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
    "figura nao pode ser escrita, 2 para uma linha de comando invalida.\n";

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

} // namespace

const char* version_text() {
    return "ordimet-analyse " ORDIMET_VERSION;
}

int parse_command_line(int argc, const char* const* argv, CommandLine& command) {
    CLI::App app{DESCRIPTION, "ordimet-analyse"};
    app.formatter(std::make_shared<Formatter>());
    app.footer(FOOTER);
    app.option_defaults()->group("Opcoes");
    app.set_help_flag("-h,--help", "mostra esta ajuda e termina");
    app.set_version_flag("--version", version_text(), "mostra a versao e termina");
    app.add_flag("--json", command.json, "resultados em JSON (com --each, um objeto por linha)");
    app.add_flag("--each", command.each, "cada arquivo e' um metodo simples por si");
    bool stability = false;
    app.add_flag("--stability", stability, "com --each, tambem a estabilidade linear");
    const CLI::Option* plot = app.add_option("--plot", command.plot_directory,
                                             "figuras SVG no diretorio DIR, criado se faltar")
                                  ->type_name("DIR");
    std::vector<std::string> words;
    app.add_option("ARGUMENTOS", words, "SI, CO ou CI e os arquivos; com --each, so' os arquivos")
        ->type_name("");

    // CLI11 reports every parse outcome other than success, help and version
    // included, as an exception; this is the one place that catches them.
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return EXIT_ANALYSED;
    } catch (const CLI::CallForVersion&) {
        std::printf("%s\n", version_text());
        return EXIT_ANALYSED;
    } catch (const CLI::ParseError& error) {
        usage_error(std::string("linha de comando invalida: ") + error.what());
        return EXIT_USAGE_ERROR;
    }

    if (plot->count() > 0 && command.plot_directory.empty()) {
        usage_error("--plot precisa de um diretorio.");
        return EXIT_USAGE_ERROR;
    }
    if (!prepare_plot_directory(command.plot_directory)) {
        return EXIT_USAGE_ERROR;
    }
    if (command.each) {
        if (words.empty()) {
            usage_error("--each precisa de pelo menos um arquivo.");
            return EXIT_USAGE_ERROR;
        }
        command.kind = MethodKind::SIMPLE;
        command.files = std::move(words);
        // The pictures mark the intervals and the angle: --plot asks for them.
        command.stability = stability || !command.plot_directory.empty();
        return RUN_ANALYSIS;
    }
    if (words.empty()) {
        usage_error("falta o tipo do metodo (SI, CO ou CI).");
        return EXIT_USAGE_ERROR;
    }
    if (!kind_from_text(words[0], command.kind)) {
        usage_error("tipo de metodo desconhecido: " + words[0] + " (SI, CO ou CI).");
        return EXIT_USAGE_ERROR;
    }
    command.files.assign(words.begin() + 1, words.end());
    if (command.kind == MethodKind::SIMPLE && command.files.size() != 1) {
        usage_error("SI precisa de exatamente um arquivo.");
        return EXIT_USAGE_ERROR;
    }
    if (command.kind != MethodKind::SIMPLE && command.files.size() < 2) {
        usage_error(words[0] + " precisa de pelo menos dois arquivos.");
        return EXIT_USAGE_ERROR;
    }
    return RUN_ANALYSIS;
}

} // namespace ordimet::analyse
