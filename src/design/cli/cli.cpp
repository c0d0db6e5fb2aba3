// The command line of ordimet-design for a family or a prescribed
// polynomial, read by CLI11 and checked whole before anything is made.

#include "design/cli/cli.hpp"

#include "analyse/cli/command_words.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/text_out.hpp"
#include "design/families/polynomial_text.hpp"

#include <CLI/CLI.hpp>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#ifndef ORDIMET_VERSION
#error "ORDIMET_VERSION must name the project's version"
#endif

namespace ordimet::design {
namespace {

using analyse::printable_name;
using analyse::say;
using analyse::TextOut;

const char* const USAGE = "Uso:\n"
                          "  ordimet-design [OPCOES] FAMILIA K\n"
                          "  ordimet-design [OPCOES] from-rho \"A0 A1 ... Ak\"\n"
                          "  ordimet-design [OPCOES] from-sigma \"B0 B1 ... Bk\"\n"
                          "  ordimet-design search [OPCOES DA BUSCA]\n";

const char* const DESCRIPTION =
    "Metodos lineares de passo multiplo exatos para y^(m) = f(x, y): uma familia\n"
    "pelo nome e o passo K (adams-bashforth, adams-moulton, bdf, nystrom,\n"
    "milne-simpson, stormer, cowell, symmetric), ou o de ordem maxima para rho\n"
    "(from-rho) ou sigma (from-sigma) dados.\n";

const char* const FOOTER =
    "O arquivo do metodo vai para a saida padrao (ou --output); a ordem e a\n"
    "constante de erro, para a saida de erro (ou, com --json, no JSON).\n"
    "Codigo de saida: 0 quando o metodo foi feito, 1 quando ele nao existe ou\n"
    "nao pode ser escrito, 2 para uma linha de comando invalida.\n";

// A message of the command line in the language, with the usage after it.
// The arguments it quotes are shown through printable_name.
__attribute__((format(printf, 2, 3))) void usage_error(Language language, const char* portuguese,
                                                       ...) {
    std::string text = "ordimet-design: ";
    TextOut out{text, language};
    va_list arguments;
    va_start(arguments, portuguese);
    out.vputf(portuguese, arguments);
    va_end(arguments);
    out.put(USAGE);
    std::fputs(text.c_str(), stderr);
}

// Whether the word "search" stands among the arguments other than first (and
// not as the value of an option): the search has options of its own, which
// only come after it as the first argument.
bool search_not_first(int argc, const char* const* argv) {
    for (int i = 2; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const std::string_view before = argv[i - 1];
        if (argument == "--") {
            return false;
        }
        if (argument == "search" && before != "--m" && before != "--rho" && before != "--roots" &&
            before != "--output" && before != "--lang") {
            return true;
        }
    }
    return false;
}

// Help and version text on standard output; the exit status says whether it
// could be written.
int print_and_exit(const std::string& text, Language language) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs(("ordimet-design: " + std::string(say("erro ao escrever a saida.\n", language)))
                       .c_str(),
                   stderr);
        return EXIT_IMPOSSIBLE;
    }
    return EXIT_MADE;
}

// The options' raw values, checked after CLI11 has read them.
struct Options {
    std::string m;
    std::string rho;
    std::string roots;
    std::string language = "pt";
    std::vector<std::string> words;
    const CLI::Option* m_given = nullptr;
    const CLI::Option* rho_given = nullptr;
    const CLI::Option* roots_given = nullptr;
    const CLI::Option* explicit_given = nullptr;
    const CLI::Option* output_given = nullptr;
};

void declare_options(CLI::App& app, DesignCommand& command, Options& options) {
    const Language language = command.language;
    const auto w = [language](const char* portuguese) { return say(portuguese, language); };
    app.formatter(std::make_shared<analyse::HelpFormatter>(USAGE, language));
    app.footer(w(FOOTER));
    app.option_defaults()->group(w("Opcoes"));
    app.set_help_flag("-h,--help", w("mostra esta ajuda e termina"));
    app.set_version_flag("--version", "ordimet-design " ORDIMET_VERSION,
                         w("mostra a versao e termina"));
    options.m_given =
        app.add_option("--m", options.m,
                       w("a ordem m de y^(m) = f (stormer, cowell, from-rho, from-sigma)"))
            ->type_name("M");
    options.rho_given =
        app.add_option("--rho", options.rho, w("symmetric: os coeficientes A0 ... Ak de rho"))
            ->type_name(w("COEFICIENTES"));
    options.roots_given =
        app.add_option("--roots", options.roots,
                       w("rho (sigma com from-sigma) pelas raizes: r ou (re,mod2)"))
            ->type_name(w("RAIZES"));
    options.explicit_given = app.add_flag("--explicit", command.request.explicit_sigma,
                                          w("symmetric: B[0] = B[K] = 0; from-rho: B[k] = 0"));
    app.add_flag("--decimals", command.decimals,
                 w("coeficientes em decimais de 17 algarismos, nao fracoes"));
    app.add_flag("--json", command.json, w("resultados em JSON na saida padrao"));
    options.output_given =
        app.add_option("--output", command.output, w("escreve o metodo no arquivo ARQUIVO"))
            ->type_name(w("ARQUIVO"));
    app.add_flag("--force", command.force, w("com --output, substitui um arquivo que existe"));
    app.add_option("--lang", options.language, w("lingua das mensagens: pt ou en"))
        ->type_name(w("LINGUA"));
    app.add_option(w("ARGUMENTOS"), options.words,
                   w("a familia e K, ou from-rho/from-sigma e os coeficientes"))
        ->type_name("");
}

// A whole number of at most nine digits, in `value`; false for any other
// text. Longer numbers of digits are out of every range: INT_MAX stands for them.
bool read_whole(const std::string& text, int& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = text.size() > 9 ? INT_MAX : std::stoi(text);
    return true;
}

// The options that go with some requests only, and --m.
bool check_options(const Options& options, const FamilyRule& rule, DesignCommand& command) {
    const Language language = command.language;
    const Family family = rule.family;
    if (options.rho_given->count() > 0 && family != Family::SYMMETRIC) {
        usage_error(language, "--rho vai so' com symmetric (from-rho recebe os coeficientes).\n");
        return false;
    }
    if (options.roots_given->count() > 0 && family != Family::SYMMETRIC &&
        family != Family::FROM_RHO && family != Family::FROM_SIGMA) {
        usage_error(language, "--roots vai com symmetric, from-rho e from-sigma.\n");
        return false;
    }
    if (options.explicit_given->count() > 0 && family != Family::SYMMETRIC &&
        family != Family::FROM_RHO) {
        usage_error(language, "--explicit vai com symmetric e from-rho.\n");
        return false;
    }
    if (options.output_given->count() > 0 && command.output.empty()) {
        usage_error(language, "--output precisa de um nome de arquivo.\n");
        return false;
    }
    if (command.force && options.output_given->count() == 0) {
        usage_error(language, "--force vai com --output.\n");
        return false;
    }
    command.request.m = rule.m;
    if (options.m_given->count() == 0) {
        return true;
    }
    int m = 0;
    if (!read_whole(options.m, m) || m < 1 || m > MAX_EQUATION_ORDER) {
        usage_error(language, "--m deve ser um inteiro de 1 a %d: %s.\n", MAX_EQUATION_ORDER,
                    printable_name(options.m).c_str());
        return false;
    }
    if (!rule.any_m && m != rule.m) {
        usage_error(language, "%s e' para m = %d.\n", rule.name, rule.m);
        return false;
    }
    command.request.m = m;
    return true;
}

// The step K of a family by name: a whole number in the family's range.
bool check_step(const std::string& text, const FamilyRule& rule, DesignCommand& command) {
    const Language language = command.language;
    const int least = rule.least_step == 0 ? command.request.m : rule.least_step;
    int k = 0;
    if (!read_whole(text, k)) {
        usage_error(language, "o passo K deve ser um inteiro: %s.\n", printable_name(text).c_str());
        return false;
    }
    if (k < least || k > MAX_DESIGN_STEP) {
        usage_error(language, "%s: K deve estar entre %d e %d.\n", rule.name, least,
                    MAX_DESIGN_STEP);
        return false;
    }
    if (rule.even_step && k % 2 != 0) {
        usage_error(language, "%s: K deve ser par.\n", rule.name);
        return false;
    }
    command.request.k = k;
    return true;
}

// A polynomial as coefficients or as roots, read exactly.
bool read_polynomial(const std::string& text, bool roots, DesignCommand& command) {
    std::string bad;
    std::vector<Rational>& polynomial = command.request.polynomial;
    if (roots ? parse_roots(text, polynomial, bad) : parse_coefficients(text, polynomial, bad)) {
        return true;
    }
    const std::string shown = printable_name(bad);
    if (!roots) {
        usage_error(command.language, "coeficiente ilegivel: %s.\n", shown.c_str());
    } else if (bad.starts_with('(')) {
        usage_error(command.language,
                    "par de raizes ilegivel: %s (escreva (re,mod2) com re^2 < mod2).\n",
                    shown.c_str());
    } else {
        usage_error(command.language, "raiz ilegivel: %s.\n", shown.c_str());
    }
    return false;
}

// symmetric K with --rho or --roots: rho of degree K.
bool check_symmetric_rho(const Options& options, DesignCommand& command) {
    const bool by_roots = options.roots_given->count() > 0;
    if ((options.rho_given->count() > 0) == by_roots) {
        usage_error(command.language, "symmetric precisa de --rho ou de --roots (um dos dois).\n");
        return false;
    }
    if (!read_polynomial(by_roots ? options.roots : options.rho, by_roots, command)) {
        return false;
    }
    const auto degree = static_cast<long>(command.request.polynomial.size()) - 1;
    if (degree != command.request.k) {
        usage_error(command.language, "symmetric: rho tem grau %ld; K = %d pede grau %d.\n", degree,
                    command.request.k, command.request.k);
        return false;
    }
    return true;
}

// from-rho and from-sigma: the coefficients (one argument) or --roots; the
// step is the degree as written.
bool check_prescribed(const Options& options, const FamilyRule& rule, DesignCommand& command) {
    const Language language = command.language;
    const bool by_roots = options.roots_given->count() > 0;
    if (options.words.size() > 2) {
        usage_error(language,
                    "argumentos demais: %s (os coeficientes vao entre aspas, num so' "
                    "argumento).\n",
                    printable_name(options.words[2]).c_str());
        return false;
    }
    if ((options.words.size() == 2) == by_roots) {
        usage_error(language, "%s precisa dos coeficientes ou de --roots (um dos dois).\n",
                    rule.name);
        return false;
    }
    if (!read_polynomial(by_roots ? options.roots : options.words[1], by_roots, command)) {
        return false;
    }
    const auto k = static_cast<long>(command.request.polynomial.size()) - 1;
    if (k < 0) {
        usage_error(language, "%s: o polinomio esta' vazio.\n", rule.name);
        return false;
    }
    if (k < 1 || k > MAX_DESIGN_STEP) {
        usage_error(language,
                    "%s: o passo k (o grau como escrito) deve estar entre 1 e %d; e' %ld.\n",
                    rule.name, MAX_DESIGN_STEP, k);
        return false;
    }
    command.request.k = static_cast<int>(k);
    return true;
}

// The request: what the words name, and the options that go with it.
bool check_request(const Options& options, DesignCommand& command) {
    const Language language = command.language;
    if (options.words.empty()) {
        usage_error(language, "falta a familia (ou from-rho, from-sigma ou search).\n");
        return false;
    }
    const FamilyRule* rule = family_rule(options.words[0]);
    if (options.words[0] == "search") {
        usage_error(language,
                    "search vem antes de tudo: ordimet-design search [OPCOES DA BUSCA].\n");
        return false;
    }
    if (rule == nullptr) {
        usage_error(language, "familia desconhecida: %s.\n",
                    printable_name(options.words[0]).c_str());
        return false;
    }
    command.request.family = rule->family;
    if (!check_options(options, *rule, command)) {
        return false;
    }
    if (rule->family == Family::FROM_RHO || rule->family == Family::FROM_SIGMA) {
        return check_prescribed(options, *rule, command);
    }
    if (options.words.size() != 2) {
        if (options.words.size() < 2) {
            usage_error(language, "%s: falta o passo K.\n", rule->name);
        } else {
            usage_error(language, "argumentos demais: %s.\n",
                        printable_name(options.words[2]).c_str());
        }
        return false;
    }
    if (!check_step(options.words[1], *rule, command)) {
        return false;
    }
    return rule->family != Family::SYMMETRIC || check_symmetric_rho(options, command);
}

} // namespace

int parse_command_line(int argc, const char* const* argv, DesignCommand& command) {
    command.language = analyse::language_asked(argc, argv);
    if (search_not_first(argc, argv)) {
        usage_error(command.language,
                    "search vem antes de tudo: ordimet-design search [OPCOES DA BUSCA].\n");
        return EXIT_USAGE;
    }
    CLI::App app{say(DESCRIPTION, command.language), "ordimet-design"};
    Options options;
    declare_options(app, command, options);
    // CLI11 reports every parse outcome other than success, help and version
    // included, as an exception; this is the one place that catches them.
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return print_and_exit(app.help(), command.language);
    } catch (const CLI::CallForVersion&) {
        return print_and_exit("ordimet-design " ORDIMET_VERSION "\n", command.language);
    } catch (const CLI::ParseError& error) {
        usage_error(command.language, "%s\n",
                    analyse::parse_error_text(error, command.language).c_str());
        return EXIT_USAGE;
    }
    if (options.language != "pt" && options.language != "en") {
        usage_error(command.language, "--lang: %s nao e' pt nem en.\n",
                    printable_name(options.language).c_str());
        return EXIT_USAGE;
    }
    return check_request(options, command) ? RUN_DESIGN : EXIT_USAGE;
}

std::string design_failure_message(const DesignedMethod& method, Language language) {
    std::string text;
    TextOut out{text, language};
    switch (method.status) {
    case DesignStatus::MADE:
        break;
    case DesignStatus::NO_ROOT_ONE:
        out.putf("rho nao tem a raiz 1 com multiplicidade %d: nenhum sigma da' ordem 1.\n",
                 method.m);
        break;
    case DesignStatus::NOT_UNIQUE:
        out.put("as condicoes de ordem nao determinam um unico metodo de ordem maxima.\n");
        break;
    case DesignStatus::NO_ORDER:
        out.putf("o metodo de ordem maxima tem ordem %lld: nao chega 'a ordem 1.\n",
                 static_cast<long long>(method.order.order));
        break;
    case DesignStatus::NO_ERROR_CONSTANT:
        out.put("o metodo de ordem maxima tem sigma(1) = 0: nao tem constante de erro.\n");
        break;
    case DesignStatus::ZERO_POLYNOMIAL:
        out.put("o polinomio dado e' nulo.\n");
        break;
    case DesignStatus::RHO_NOT_SYMMETRIC:
        out.put("rho nao e' simetrico: A[j] deve ser igual a A[k-j].\n");
        break;
    case DesignStatus::RHO_DEGREE_BELOW_K:
        out.put("A[k] = 0: rho deve ter grau k.\n");
        break;
    case DesignStatus::RHO_ROOTS_OFF_CIRCLE:
        out.put("rho deve ter todas as raizes sobre o circulo unitario, nenhuma de "
                "multiplicidade maior que 2.\n");
        break;
    case DesignStatus::REFUSED:
        out.put("o calculo exato passa dos limites das analises.\n");
        break;
    }
    return text;
}

} // namespace ordimet::design
