// The search command: its options read by CLI11 and checked, the space
// built, the search run, the winners' files written and the report printed.

#include "design/search/search_command.hpp"

#include "analyse/cli/command_words.hpp"
#include "analyse/cli/interruption.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/text_out.hpp"
#include "design/output/method_files.hpp"
#include "design/search/objective.hpp"
#include "design/search/options.hpp"
#include "design/search/report.hpp"
#include "platform/output_signals.hpp"

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>

namespace ordimet::design {
namespace {

using analyse::Language;
using analyse::printable_name;
using analyse::say;

constexpr int EXIT_FOUND = 0;
constexpr int EXIT_IMPOSSIBLE = 1;
constexpr int EXIT_USAGE = 2;
constexpr int CONTINUE = -1;

// The bounds of --top and --jobs: a table longer than a thousand methods
// says nothing a smaller one doesn't, and more threads than 64 only wait.
constexpr int MAX_TOP = 1000;
constexpr int MAX_JOBS = 64;

const char* const USAGE =
    "Uso:\n"
    "  ordimet-design search K --order P --range LO,HI --grid PASSO [OPCOES]\n";

const char* const DESCRIPTION =
    "Procura, entre os metodos de passo K e ordem P ou mais cujos coeficientes\n"
    "livres percorrem uma grade racional, os melhores por um objetivo, com\n"
    "restricoes; os valores mostrados sao certificados pelas analises exatas.\n";

const char* const FOOTER =
    "Objetivos: real-interval, alpha, ssp (m = 1), error-constant (todo m),\n"
    "periodicity, absolute-stability, phase-lag (m = 2).\n"
    "Codigo de saida: 0 quando ha metodos, 1 quando nenhum metodo satisfaz as\n"
    "restricoes (ou as condicoes sao contraditorias, ou a saida nao pode ser\n"
    "escrita), 2 para uma linha de comando invalida. SIGINT, SIGTERM ou SIGHUP\n"
    "encerram a busca: os melhores candidatos examinados ate' ali sao\n"
    "certificados e mostrados, e o processo termina pelo sinal (130 para SIGINT\n"
    "no shell).\n";

__attribute__((format(printf, 3, 0))) void message(Language language, bool usage,
                                                   const char* portuguese, va_list arguments) {
    analyse::print_error("ordimet-design search", usage ? USAGE : nullptr, language, portuguese,
                         arguments);
}

__attribute__((format(printf, 2, 3))) void usage_error(Language language, const char* portuguese,
                                                       ...) {
    va_list arguments;
    va_start(arguments, portuguese);
    message(language, true, portuguese, arguments);
    va_end(arguments);
}

__attribute__((format(printf, 2, 3))) void impossible(Language language, const char* portuguese,
                                                      ...) {
    va_list arguments;
    va_start(arguments, portuguese);
    message(language, false, portuguese, arguments);
    va_end(arguments);
}

// The options as written, before they are checked.
struct Raw {
    int k = 0;
    int m = 1;
    int order = 0;
    std::string vary = "rho";
    std::string range;
    std::string grid;
    std::string zeros;
    std::string objective = "error-constant";
    std::string output;
    std::string language = "pt";
    Language asked = Language::PORTUGUESE; // by --lang, looked up before the rest
    SearchRequest request;
    bool decimals = false;
    bool json = false;
    bool output_given = false;
    bool zero_stable = false;
    bool not_zero_stable = false;
};

void declare(CLI::App& app, Raw& raw) {
    const auto w = [&raw](const char* portuguese) { return say(portuguese, raw.asked); };
    auto formatter = std::make_shared<analyse::HelpFormatter>(USAGE, raw.asked);
    formatter->column_width(32);
    app.formatter(formatter);
    app.footer(w(FOOTER));
    app.option_defaults()->group(w("Opcoes"));
    app.set_help_flag("-h,--help", w("mostra esta ajuda e termina"));
    Constraints& c = raw.request.constraints;
    app.add_option("K", raw.k, w("o passo k dos metodos (1 a 16)"))->required();
    app.add_option("--m", raw.m, w("a ordem m da equacao y^(m) = f (1 a 4; 1 sem ela)"));
    app.add_option("--order", raw.order, w("a ordem P que os metodos alcancam, pelo menos"))
        ->required();
    app.add_option("--vary", raw.vary, w("o polinomio da grade: rho (sem ela) ou sigma"));
    app.add_option("--range", raw.range, w("o intervalo LO,HI dos coeficientes (racionais)"))
        ->required();
    app.add_option("--grid", raw.grid, w("o passo da grade, racional, que divide HI - LO"))
        ->required();
    app.add_flag("--explicit", raw.request.space.explicit_method, w("so' metodos explicitos"));
    app.add_flag("--symmetric", raw.request.space.symmetric, w("so' metodos simetricos"));
    app.add_option("--zero", raw.zeros, w("coeficientes nulos, como B0,B8"));
    app.add_flag("--zero-stable", raw.zero_stable, w("zero-estavel (sem --no-zero-stable)"));
    app.add_flag("--no-zero-stable", raw.not_zero_stable, w("tambem metodos nao zero-estaveis"));
    app.add_flag("--a-stable", c.a_stable, w("A-estavel (m = 1)"));
    app.add_flag("--p-stable", c.p_stable, w("P-estavel (m = 2)"));
    app.add_flag("--irreducible", c.irreducible, w("rho e sigma sem fator comum"));
    app.add_option("--objective", raw.objective, w("o objetivo (error-constant sem ela)"));
    app.add_option("--top", raw.request.top, w("quantos metodos mostrar (1 a 1000; 10 sem ela)"));
    app.add_option("--jobs", raw.request.jobs, w("threads da triagem (1 a 64; 1 sem ela)"));
    app.add_option("--output", raw.output, w("os arquivos dos metodos no diretorio DIR"))
        ->type_name("DIR");
    app.add_flag("--decimals", raw.decimals, w("arquivos com decimais de 17 algarismos"));
    app.add_flag("--json", raw.json, w("resultados em JSON, um objeto por linha"));
    app.add_option("--lang", raw.language, w("lingua do relatorio: pt ou en"))
        ->type_name(w("LINGUA"));
}

int parse(int argc, const char* const* argv, Raw& raw) {
    CLI::App app{say(DESCRIPTION, raw.asked), "ordimet-design search"};
    declare(app, raw);
    // CLI11 reports every outcome but success as an exception; this is
    // the one place that catches them.
    try {
        app.parse(argc - 1, argv + 1);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
            return EXIT_FOUND;
        }
        impossible(raw.asked, "erro ao escrever a saida.");
        return EXIT_IMPOSSIBLE;
    } catch (const CLI::ParseError& error) {
        usage_error(raw.asked, "%s", analyse::parse_error_text(error, raw.asked).c_str());
        return EXIT_USAGE;
    }
    raw.output_given = app.count("--output") > 0;
    return CONTINUE;
}

bool within(int value, int low, int high, const char* what, Language language) {
    if (value >= low && value <= high) {
        return true;
    }
    usage_error(language, "%s %d fora de %d a %d.", what, value, low, high);
    return false;
}

bool check_numbers(const Raw& raw, SearchRequest& request) {
    request.space.k = raw.k;
    request.space.m = raw.m;
    request.space.order = raw.order;
    const Language l = raw.asked;
    return within(raw.k, 1, MAX_SEARCH_STEP, "K =", l) &&
           within(raw.m, 1, MAX_SEARCH_EQUATION_ORDER, "--m", l) &&
           within(raw.order, 1, MAX_SEARCH_ORDER, "--order", l) &&
           within(request.top, 1, MAX_TOP, "--top", l) &&
           within(request.jobs, 1, MAX_JOBS, "--jobs", l);
}

// The grid: a readable range with LO <= HI and a positive step that divides
// HI - LO.
bool check_grid(const Raw& raw, SpaceRequest& space) {
    const Language l = raw.asked;
    if (!parse_range(raw.range, space.low, space.high)) {
        usage_error(l, "--range: %s nao e' LO,HI com dois racionais (como -1,1 ou -1/2,3/4).",
                    printable_name(raw.range).c_str());
        return false;
    }
    if (!parse_rational(raw.grid, space.step)) {
        usage_error(l, "--grid: %s nao e' um racional (como 1/4 ou 0.25).",
                    printable_name(raw.grid).c_str());
        return false;
    }
    if (fmpq_cmp(space.low.get(), space.high.get()) > 0) {
        usage_error(l, "--range: LO = %s e' maior que HI = %s: a grade nao tem pontos.",
                    space.low.text().c_str(), space.high.text().c_str());
        return false;
    }
    if (fmpq_sgn(space.step.get()) <= 0) {
        usage_error(l, "--grid: o passo %s nao e' positivo.", space.step.text().c_str());
        return false;
    }
    Rational count;
    fmpq_sub(count.get(), space.high.get(), space.low.get());
    const std::string width = count.text();
    fmpq_div(count.get(), count.get(), space.step.get());
    if (!fmpz_is_one(fmpq_denref(count.get()))) {
        usage_error(l, "--grid: o passo %s nao divide HI - LO = %s.", space.step.text().c_str(),
                    width.c_str());
        return false;
    }
    return true;
}

bool check_shape(const Raw& raw, SearchRequest& request) {
    SpaceRequest& space = request.space;
    const Language l = raw.asked;
    if (raw.zero_stable && raw.not_zero_stable) {
        usage_error(l, "--zero-stable e --no-zero-stable se contradizem.");
        return false;
    }
    request.constraints.zero_stable = !raw.not_zero_stable;
    if (raw.vary != "rho" && raw.vary != "sigma") {
        usage_error(l, "--vary: %s nao e' rho nem sigma.", printable_name(raw.vary).c_str());
        return false;
    }
    space.varied = raw.vary == "rho" ? Varied::RHO : Varied::SIGMA;
    std::string bad;
    if (!raw.zeros.empty() && !parse_coefficient_names(raw.zeros, raw.k, space.zeros, bad)) {
        usage_error(l, "--zero: %s nao e' um coeficiente A0 .. A%d, B0 .. B%d.",
                    printable_name(bad).c_str(), raw.k, raw.k);
        return false;
    }
    if (request.constraints.a_stable && raw.m != 1) {
        usage_error(l, "--a-stable vale para m = 1.");
        return false;
    }
    if (request.constraints.p_stable && raw.m != 2) {
        usage_error(l, "--p-stable vale para m = 2.");
        return false;
    }
    return true;
}

bool check_output(const Raw& raw, SearchRequest& request) {
    const Language l = raw.asked;
    const std::optional<Objective> objective = objective_from_name(raw.objective);
    if (!objective) {
        usage_error(l, "--objective: %s nao e' um objetivo (veja --help).",
                    printable_name(raw.objective).c_str());
        return false;
    }
    request.objective = *objective;
    if (!objective_applies(*objective, raw.m, request.space.explicit_method)) {
        if (*objective == Objective::SSP) {
            usage_error(l, "--objective %s pede m = 1 e --explicit.", raw.objective.c_str());
        } else {
            usage_error(l, "--objective %s nao vale para m = %d.", raw.objective.c_str(), raw.m);
        }
        return false;
    }
    if (raw.language != "pt" && raw.language != "en") {
        usage_error(l, "--lang: %s nao e' pt nem en.", printable_name(raw.language).c_str());
        return false;
    }
    return true;
}

int build(const SearchRequest& request, Space& space, Language language) {
    switch (build_space(request.space, space)) {
    case SpaceOutcome::BUILT:
        return CONTINUE;
    case SpaceOutcome::CONTRADICTORY:
        impossible(language,
                   "as condicoes sao contraditorias: nenhum metodo de passo %d e ordem %d ou "
                   "mais as satisfaz.",
                   request.space.k, request.space.order);
        return EXIT_IMPOSSIBLE;
    case SpaceOutcome::GRID_TOO_LARGE:
        usage_error(language, "a grade passa de 10000000000 pontos: escolha um passo maior, um "
                              "intervalo menor ou menos coeficientes livres.");
        return EXIT_USAGE;
    case SpaceOutcome::NUMBERS_TOO_LARGE:
        usage_error(language, "os coeficientes da grade sobre um denominador comum passam de "
                              "2^40: escolha um passo ou um intervalo mais simples.");
        return EXIT_USAGE;
    }
    return EXIT_USAGE;
}

// The folder of --output, usable before the search starts; `made` tells
// whether this run made it (and takes it away again if it stays empty).
int prepare_folder(const Raw& raw, bool& made) {
    if (!raw.output_given) {
        if (raw.decimals) {
            usage_error(raw.asked, "--decimals vai com --output.");
            return EXIT_USAGE;
        }
        return CONTINUE;
    }
    if (raw.output.empty()) {
        usage_error(raw.asked, "--output precisa de um diretorio.");
        return EXIT_USAGE;
    }
    std::error_code code;
    made = !std::filesystem::exists(std::filesystem::symlink_status(raw.output, code));
    std::string error;
    if (!prepare_output_folder(raw.output, error, raw.asked)) {
        usage_error(raw.asked, "--output: %s", error.c_str());
        return EXIT_USAGE;
    }
    return CONTINUE;
}

// The winners' method files, named by rank; false, with a message, when
// one can't be written.
bool write_files(const Raw& raw, const Space& space, const SearchOutcome& outcome,
                 std::vector<std::string>& files) {
    for (std::size_t rank = 0; rank < outcome.winners.size(); ++rank) {
        const std::string name = rank_file_name(static_cast<int>(rank) + 1, raw.request.top);
        const std::string path = raw.output + "/" + name;
        const std::string text =
            method_file_text(space.k, space.m, outcome.winners[rank].coefficients, raw.decimals);
        if (write_new_file(path, text, false) != FileWrite::WRITTEN) {
            impossible(raw.asked, "nao foi possivel escrever o arquivo %s.",
                       printable_name(path).c_str());
            return false;
        }
        files.push_back(name);
    }
    return true;
}

// The report, then the exit: by the signal that stopped the search, or
// with 0 when there are methods and 1 when there are none.
int finish(const Raw& raw, const ReportInput& input, bool files_written) {
    const std::string report = raw.json ? search_json_lines(input) : search_text(input);
    std::fwrite(report.data(), 1, report.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        impossible(raw.asked, "erro ao escrever a saida.");
        return EXIT_IMPOSSIBLE;
    }
    if (input.outcome.interruption != 0) {
        analyse::end_by_signal(input.outcome.interruption);
    }
    return input.outcome.winners.empty() || !files_written ? EXIT_IMPOSSIBLE : EXIT_FOUND;
}

int search(const Raw& raw, const Space& space, bool made) {
    analyse::catch_interruptions();
    Progress progress(raw.asked);
    const SearchOutcome outcome = run_search(space, raw.request, progress);
    ReportInput input{space, raw.request, outcome, raw.asked, raw.output, {}};
    const bool written = !raw.output_given || write_files(raw, space, outcome, input.files);
    if (made && input.files.empty()) {
        std::error_code code;
        std::filesystem::remove(raw.output, code); // made by this run, and empty
    }
    return finish(raw, input, written);
}

} // namespace

int run_search_command(int argc, const char* const* argv, Language language) {
    platform::keep_running_when_output_fails();
    Raw raw;
    raw.asked = language;
    const int parsed = parse(argc, argv, raw);
    if (parsed != CONTINUE) {
        return parsed;
    }
    SearchRequest& request = raw.request;
    if (!check_numbers(raw, request) || !check_grid(raw, request.space) ||
        !check_shape(raw, request) || !check_output(raw, request)) {
        return EXIT_USAGE;
    }
    Space space;
    const int built = build(request, space, raw.asked);
    if (built != CONTINUE) {
        return built;
    }
    bool made = false;
    const int prepared = prepare_folder(raw, made);
    return prepared != CONTINUE ? prepared : search(raw, space, made);
}

} // namespace ordimet::design
