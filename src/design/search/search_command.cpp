// The search command: its options read by CLI11 and checked, the space
// built, the search run, the winners' files written and the report printed.

#include "design/search/search_command.hpp"

#include "analyse/cli/interruption.hpp"
#include "analyse/report/file_names.hpp"
#include "design/output/method_files.hpp"
#include "design/search/objective.hpp"
#include "design/search/options.hpp"
#include "design/search/report.hpp"
#include "platform/output_signals.hpp"

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

namespace ordimet::design {
namespace {

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

class Formatter : public CLI::Formatter {
  public:
    Formatter() {
        label("Options", "Opcoes");
        label("Positionals", "Argumentos");
        label("TEXT", "TEXTO");
        label("INT", "INTEIRO");
        label("REQUIRED", "OBRIGATORIO");
        column_width(32);
    }
    std::string make_usage(const CLI::App*, std::string) const override { return USAGE; }
};

void usage_error(const std::string& message) {
    std::fprintf(stderr, "ordimet-design search: %s\n%s", analyse::printable_name(message).c_str(),
                 USAGE);
}

void impossible(const std::string& message) {
    std::fprintf(stderr, "ordimet-design search: %s\n", analyse::printable_name(message).c_str());
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
    SearchRequest request;
    bool decimals = false;
    bool json = false;
    bool output_given = false;
    bool zero_stable = false;
    bool not_zero_stable = false;
};

void declare(CLI::App& app, Raw& raw) {
    app.formatter(std::make_shared<Formatter>());
    app.footer(FOOTER);
    app.option_defaults()->group("Opcoes");
    app.set_help_flag("-h,--help", "mostra esta ajuda e termina");
    Constraints& c = raw.request.constraints;
    app.add_option("K", raw.k, "o passo k dos metodos (1 a 16)")->required();
    app.add_option("--m", raw.m, "a ordem m da equacao y^(m) = f (1 a 4; 1 sem ela)");
    app.add_option("--order", raw.order, "a ordem P que os metodos alcancam, pelo menos")
        ->required();
    app.add_option("--vary", raw.vary, "o polinomio da grade: rho (sem ela) ou sigma");
    app.add_option("--range", raw.range, "o intervalo LO,HI dos coeficientes (racionais)")
        ->required();
    app.add_option("--grid", raw.grid, "o passo da grade, racional, que divide HI - LO")
        ->required();
    app.add_flag("--explicit", raw.request.space.explicit_method, "so' metodos explicitos");
    app.add_flag("--symmetric", raw.request.space.symmetric, "so' metodos simetricos");
    app.add_option("--zero", raw.zeros, "coeficientes nulos, como B0,B8");
    app.add_flag("--zero-stable", raw.zero_stable, "zero-estavel (sem --no-zero-stable)");
    app.add_flag("--no-zero-stable", raw.not_zero_stable, "tambem metodos nao zero-estaveis");
    app.add_flag("--a-stable", c.a_stable, "A-estavel (m = 1)");
    app.add_flag("--p-stable", c.p_stable, "P-estavel (m = 2)");
    app.add_flag("--irreducible", c.irreducible, "rho e sigma sem fator comum");
    app.add_option("--objective", raw.objective, "o objetivo (error-constant sem ela)");
    app.add_option("--top", raw.request.top, "quantos metodos mostrar (1 a 1000; 10 sem ela)");
    app.add_option("--jobs", raw.request.jobs, "threads da triagem (1 a 64; 1 sem ela)");
    app.add_option("--output", raw.output, "os arquivos dos metodos no diretorio DIR")
        ->type_name("DIR");
    app.add_flag("--decimals", raw.decimals, "arquivos com decimais de 17 algarismos");
    app.add_flag("--json", raw.json, "resultados em JSON, um objeto por linha");
    app.add_option("--lang", raw.language, "lingua do relatorio: pt ou en")->type_name("LINGUA");
}

// CLI11's message in the program's words, for the mistakes one makes: a
// missing argument, a word too many, an option without its value, a value
// that is no number. CLI11 names the argument after ": " (before it for a
// missing value).
std::string parse_error_text(const CLI::ParseError& error) {
    const std::string what = error.what();
    const std::size_t colon = what.find(": ");
    const std::string after = colon == std::string::npos ? what : what.substr(colon + 2);
    const std::string before = what.substr(0, std::min(colon, what.size()));
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        return "falta " + what.substr(0, what.find(' ')) + ".";
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        return "argumento nao esperado: " + after + ".";
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        return "falta o valor de " + before + ".";
    }
    if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) {
        return "valor que nao e' um inteiro: " + after + ".";
    }
    return "linha de comando invalida: " + what;
}

int parse(int argc, const char* const* argv, Raw& raw) {
    CLI::App app{DESCRIPTION, "ordimet-design search"};
    declare(app, raw);
    // CLI11 reports every outcome but success as an exception; this is
    // the one place that catches them.
    try {
        app.parse(argc - 1, argv + 1);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? EXIT_FOUND : EXIT_IMPOSSIBLE;
    } catch (const CLI::ParseError& error) {
        usage_error(parse_error_text(error));
        return EXIT_USAGE;
    }
    raw.output_given = app.count("--output") > 0;
    return CONTINUE;
}

bool within(int value, int low, int high, const std::string& what) {
    if (value >= low && value <= high) {
        return true;
    }
    usage_error(what + " " + std::to_string(value) + " fora de " + std::to_string(low) + " a " +
                std::to_string(high) + ".");
    return false;
}

bool check_numbers(const Raw& raw, SearchRequest& request) {
    request.space.k = raw.k;
    request.space.m = raw.m;
    request.space.order = raw.order;
    return within(raw.k, 1, MAX_SEARCH_STEP, "K =") &&
           within(raw.m, 1, MAX_SEARCH_EQUATION_ORDER, "--m") &&
           within(raw.order, 1, MAX_SEARCH_ORDER, "--order") &&
           within(request.top, 1, MAX_TOP, "--top") && within(request.jobs, 1, MAX_JOBS, "--jobs");
}

// The grid: a readable range with LO <= HI and a positive step that divides
// HI - LO.
bool check_grid(const Raw& raw, SpaceRequest& space) {
    if (!parse_range(raw.range, space.low, space.high)) {
        usage_error("--range: " + raw.range + " nao e' LO,HI com dois racionais (como -1,1 ou " +
                    "-1/2,3/4).");
        return false;
    }
    if (!parse_rational(raw.grid, space.step)) {
        usage_error("--grid: " + raw.grid + " nao e' um racional (como 1/4 ou 0.25).");
        return false;
    }
    if (fmpq_cmp(space.low.get(), space.high.get()) > 0) {
        usage_error("--range: LO = " + space.low.text() +
                    " e' maior que HI = " + space.high.text() + ": a grade nao tem pontos.");
        return false;
    }
    if (fmpq_sgn(space.step.get()) <= 0) {
        usage_error("--grid: o passo " + space.step.text() + " nao e' positivo.");
        return false;
    }
    Rational count;
    fmpq_sub(count.get(), space.high.get(), space.low.get());
    const std::string width = count.text();
    fmpq_div(count.get(), count.get(), space.step.get());
    if (!fmpz_is_one(fmpq_denref(count.get()))) {
        usage_error("--grid: o passo " + space.step.text() + " nao divide HI - LO = " + width +
                    ".");
        return false;
    }
    return true;
}

bool check_shape(const Raw& raw, SearchRequest& request) {
    SpaceRequest& space = request.space;
    if (raw.zero_stable && raw.not_zero_stable) {
        usage_error("--zero-stable e --no-zero-stable se contradizem.");
        return false;
    }
    request.constraints.zero_stable = !raw.not_zero_stable;
    if (raw.vary != "rho" && raw.vary != "sigma") {
        usage_error("--vary: " + raw.vary + " nao e' rho nem sigma.");
        return false;
    }
    space.varied = raw.vary == "rho" ? Varied::RHO : Varied::SIGMA;
    std::string bad;
    if (!raw.zeros.empty() && !parse_coefficient_names(raw.zeros, raw.k, space.zeros, bad)) {
        const std::string k = std::to_string(raw.k);
        usage_error("--zero: " + bad + " nao e' um coeficiente A0 .. A" + k + ", B0 .. B" + k +
                    ".");
        return false;
    }
    if (request.constraints.a_stable && raw.m != 1) {
        usage_error("--a-stable vale para m = 1.");
        return false;
    }
    if (request.constraints.p_stable && raw.m != 2) {
        usage_error("--p-stable vale para m = 2.");
        return false;
    }
    return true;
}

bool check_output(const Raw& raw, SearchRequest& request, analyse::Language& language) {
    const std::optional<Objective> objective = objective_from_name(raw.objective);
    if (!objective) {
        usage_error("--objective: " + raw.objective + " nao e' um objetivo (veja --help).");
        return false;
    }
    request.objective = *objective;
    if (!objective_applies(*objective, raw.m, request.space.explicit_method)) {
        usage_error("--objective " + raw.objective +
                    (*objective == Objective::SSP
                         ? " pede m = 1 e --explicit."
                         : " nao vale para m = " + std::to_string(raw.m) + "."));
        return false;
    }
    if (raw.language != "pt" && raw.language != "en") {
        usage_error("--lang: " + raw.language + " nao e' pt nem en.");
        return false;
    }
    language = raw.language == "en" ? analyse::Language::ENGLISH : analyse::Language::PORTUGUESE;
    return true;
}

int build(const SearchRequest& request, Space& space) {
    switch (build_space(request.space, space)) {
    case SpaceOutcome::BUILT:
        return CONTINUE;
    case SpaceOutcome::CONTRADICTORY:
        impossible("as condicoes sao contraditorias: nenhum metodo de passo " +
                   std::to_string(request.space.k) + " e ordem " +
                   std::to_string(request.space.order) + " ou mais as satisfaz.");
        return EXIT_IMPOSSIBLE;
    case SpaceOutcome::GRID_TOO_LARGE:
        usage_error("a grade passa de 10000000000 pontos: escolha um passo maior, um intervalo "
                    "menor ou menos coeficientes livres.");
        return EXIT_USAGE;
    case SpaceOutcome::NUMBERS_TOO_LARGE:
        usage_error("os coeficientes da grade sobre um denominador comum passam de 2^40: escolha "
                    "um passo ou um intervalo mais simples.");
        return EXIT_USAGE;
    }
    return EXIT_USAGE;
}

// The folder of --output, usable before the search starts; `made` tells
// whether this run made it (and takes it away again if it stays empty).
int prepare_folder(const Raw& raw, bool& made) {
    if (!raw.output_given) {
        return CONTINUE;
    }
    if (raw.output.empty()) {
        usage_error("--output precisa de um diretorio.");
        return EXIT_USAGE;
    }
    std::error_code code;
    made = !std::filesystem::exists(std::filesystem::symlink_status(raw.output, code));
    std::string error;
    if (!prepare_output_folder(raw.output, error)) {
        usage_error("--output: " + error);
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
            impossible("nao foi possivel escrever o arquivo " + path + ".");
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
        impossible("erro ao escrever a saida.");
        return EXIT_IMPOSSIBLE;
    }
    if (input.outcome.interruption != 0) {
        analyse::end_by_signal(input.outcome.interruption);
    }
    return input.outcome.winners.empty() || !files_written ? EXIT_IMPOSSIBLE : EXIT_FOUND;
}

int search(const Raw& raw, const Space& space, analyse::Language language, bool made) {
    analyse::catch_interruptions();
    Progress progress(language);
    const SearchOutcome outcome = run_search(space, raw.request, progress);
    ReportInput input{space, raw.request, outcome, language, raw.output, {}};
    const bool written = !raw.output_given || write_files(raw, space, outcome, input.files);
    if (made && input.files.empty()) {
        std::error_code code;
        std::filesystem::remove(raw.output, code); // made by this run, and empty
    }
    return finish(raw, input, written);
}

} // namespace

int run_search_command(int argc, const char* const* argv) {
    platform::keep_running_when_output_fails();
    Raw raw;
    const int parsed = parse(argc, argv, raw);
    if (parsed != CONTINUE) {
        return parsed;
    }
    SearchRequest& request = raw.request;
    analyse::Language language = analyse::Language::PORTUGUESE;
    if (!check_numbers(raw, request) || !check_grid(raw, request.space) ||
        !check_shape(raw, request) || !check_output(raw, request, language)) {
        return EXIT_USAGE;
    }
    Space space;
    const int built = build(request, space);
    if (built != CONTINUE) {
        return built;
    }
    bool made = false;
    const int prepared = prepare_folder(raw, made);
    return prepared != CONTINUE ? prepared : search(raw, space, language, made);
}

} // namespace ordimet::design
