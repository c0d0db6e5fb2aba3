#include "analyse/report/words.hpp"

#include <string_view>
#include <unordered_map>

namespace ordimet::analyse {
namespace {

struct Words {
    const char* portuguese;
    const char* english;
};

// Each text in Portuguese and in English.
constexpr Words WORDS[] = {
    {"O metodo dado e' simples.\n", "The method is simple.\n"},

    // ordimet-design: the help, the messages of its command line, the
    // methods that can't be made and the order reached.
    {"Uso:\n"
     "  ordimet-design [OPCOES] FAMILIA K\n"
     "  ordimet-design [OPCOES] from-rho \"A0 A1 ... Ak\"\n"
     "  ordimet-design [OPCOES] from-sigma \"B0 B1 ... Bk\"\n"
     "  ordimet-design search [OPCOES DA BUSCA]\n",
     "Usage:\n"
     "  ordimet-design [OPTIONS] FAMILY K\n"
     "  ordimet-design [OPTIONS] from-rho \"A0 A1 ... Ak\"\n"
     "  ordimet-design [OPTIONS] from-sigma \"B0 B1 ... Bk\"\n"
     "  ordimet-design search [SEARCH OPTIONS]\n"},
    {"Metodos lineares de passo multiplo exatos para y^(m) = f(x, y): uma familia\n"
     "pelo nome e o passo K (adams-bashforth, adams-moulton, bdf, nystrom,\n"
     "milne-simpson, stormer, cowell, symmetric), ou o de ordem maxima para rho\n"
     "(from-rho) ou sigma (from-sigma) dados.\n",
     "Exact linear multistep methods for y^(m) = f(x, y): a family by its name\n"
     "and the step K (adams-bashforth, adams-moulton, bdf, nystrom,\n"
     "milne-simpson, stormer, cowell, symmetric), or the one of the highest order\n"
     "for a given rho (from-rho) or sigma (from-sigma).\n"},
    {"O arquivo do metodo vai para a saida padrao (ou --output); a ordem e a\n"
     "constante de erro, para a saida de erro (ou, com --json, no JSON).\n"
     "Codigo de saida: 0 quando o metodo foi feito, 1 quando ele nao existe ou\n"
     "nao pode ser escrito, 2 para uma linha de comando invalida.\n",
     "The method file goes to standard output (or --output); the order and the\n"
     "error constant to standard error (or, with --json, into the JSON).\n"
     "Exit status: 0 when the method was made, 1 when there is no such method or\n"
     "it can't be written, 2 for a wrong command line.\n"},
    {"Opcoes", "Options"},
    {"Argumentos", "Arguments"},
    {"TEXTO", "TEXT"},
    {"COEFICIENTES", "COEFFICIENTS"},
    {"RAIZES", "ROOTS"},
    {"ARQUIVO", "FILE"},
    {"LINGUA", "LANGUAGE"},
    {"mostra esta ajuda e termina", "show this help and exit"},
    {"mostra a versao e termina", "show the version and exit"},
    {"a ordem m de y^(m) = f (stormer, cowell, from-rho, from-sigma)",
     "the order m of y^(m) = f (stormer, cowell, from-rho, from-sigma)"},
    {"symmetric: os coeficientes A0 ... Ak de rho", "symmetric: the coefficients A0 ... Ak of rho"},
    {"rho (sigma com from-sigma) pelas raizes: r ou (re,mod2)",
     "rho (sigma with from-sigma) by its roots: r or (re,mod2)"},
    {"symmetric: B[0] = B[K] = 0; from-rho: B[k] = 0",
     "symmetric: B[0] = B[K] = 0; from-rho: B[k] = 0"},
    {"coeficientes em decimais de 17 algarismos, nao fracoes",
     "coefficients as decimals of 17 digits, not fractions"},
    {"resultados em JSON na saida padrao", "results as JSON on standard output"},
    {"escreve o metodo no arquivo ARQUIVO", "write the method into the file FILE"},
    {"com --output, substitui um arquivo que existe", "with --output, replace a file that exists"},
    {"lingua das mensagens: pt ou en", "language of the messages: pt or en"},
    {"a familia e K, ou from-rho/from-sigma e os coeficientes",
     "the family and K, or from-rho/from-sigma and the coefficients"},
    {"erro ao escrever a saida.\n", "error writing the output.\n"},
    {"--rho vai so' com symmetric (from-rho recebe os coeficientes).\n",
     "--rho goes with symmetric only (from-rho takes the coefficients).\n"},
    {"--roots vai com symmetric, from-rho e from-sigma.\n",
     "--roots goes with symmetric, from-rho and from-sigma.\n"},
    {"--explicit vai com symmetric e from-rho.\n",
     "--explicit goes with symmetric and from-rho.\n"},
    {"--output precisa de um nome de arquivo.\n", "--output needs a file name.\n"},
    {"--m deve ser um inteiro de 1 a %d: %s.\n", "--m must be a whole number from 1 to %d: %s.\n"},
    {"%s e' para m = %d.\n", "%s is for m = %d.\n"},
    {"o passo K deve ser um inteiro: %s.\n", "the step K must be a whole number: %s.\n"},
    {"%s: K deve estar entre %d e %d.\n", "%s: K must be between %d and %d.\n"},
    {"%s: K deve ser par.\n", "%s: K must be even.\n"},
    {"raiz ilegivel: %s.\n", "unreadable root: %s.\n"},
    {"par de raizes ilegivel: %s (escreva (re,mod2) com re^2 < mod2).\n",
     "unreadable pair of roots: %s (write (re,mod2) with re^2 < mod2).\n"},
    {"ARGUMENTOS", "ARGUMENTS"},
    {"coeficiente ilegivel: %s.\n", "unreadable coefficient: %s.\n"},
    {"symmetric precisa de --rho ou de --roots (um dos dois).\n",
     "symmetric needs --rho or --roots (one of them).\n"},
    {"symmetric: rho tem grau %ld; K = %d pede grau %d.\n",
     "symmetric: rho has degree %ld; K = %d asks for degree %d.\n"},
    {"argumentos demais: %s (os coeficientes vao entre aspas, num so' argumento).\n",
     "too many arguments: %s (the coefficients go in quotes, as one argument).\n"},
    {"%s precisa dos coeficientes ou de --roots (um dos dois).\n",
     "%s needs the coefficients or --roots (one of them).\n"},
    {"%s: o polinomio esta' vazio.\n", "%s: the polynomial is empty.\n"},
    {"%s: o passo k (o grau como escrito) deve estar entre 1 e %d; e' %ld.\n",
     "%s: the step k (the degree as written) must be between 1 and %d; it is %ld.\n"},
    {"falta a familia (ou from-rho, from-sigma ou search).\n",
     "the family (or from-rho, from-sigma or search) is missing.\n"},
    {"familia desconhecida: %s.\n", "unknown family: %s.\n"},
    {"search vem antes de tudo: ordimet-design search [OPCOES DA BUSCA].\n",
     "search comes first: ordimet-design search [SEARCH OPTIONS].\n"},
    {"%s: falta o passo K.\n", "%s: the step K is missing.\n"},
    {"argumentos demais: %s.\n", "too many arguments: %s.\n"},
    {"linha de comando invalida: %s\n", "wrong command line: %s\n"},
    {"--lang: %s nao e' pt nem en.\n", "--lang: %s is neither pt nor en.\n"},
    {"rho nao tem a raiz 1 com multiplicidade %d: nenhum sigma da' ordem 1.\n",
     "rho lacks the root 1 of multiplicity %d: no sigma gives order 1.\n"},
    {"as condicoes de ordem nao determinam um unico metodo de ordem maxima.\n",
     "the order conditions determine no single method of the highest order.\n"},
    {"o metodo de ordem maxima tem ordem %lld: nao chega 'a ordem 1.\n",
     "the method of the highest order has order %lld: it doesn't reach order 1.\n"},
    {"o metodo de ordem maxima tem sigma(1) = 0: nao tem constante de erro.\n",
     "the method of the highest order has sigma(1) = 0: it has no error constant.\n"},
    {"o polinomio dado e' nulo.\n", "the polynomial given is zero.\n"},
    {"rho nao e' simetrico: A[j] deve ser igual a A[k-j].\n",
     "rho is not symmetric: A[j] must equal A[k-j].\n"},
    {"A[k] = 0: rho deve ter grau k.\n", "A[k] = 0: rho must have degree k.\n"},
    {"rho deve ter todas as raizes sobre o circulo unitario, nenhuma de multiplicidade maior "
     "que 2.\n",
     "rho must have every root on the unit circle, none of multiplicity above 2.\n"},
    {"o calculo exato passa dos limites das analises.\n",
     "the exact computation goes beyond the limits of the analyses.\n"},
    {"um coeficiente nao cabe num double (ou se arredonda a 0); escreva sem --decimals.\n",
     "a coefficient doesn't fit a double (or rounds to 0); write it without --decimals.\n"},
    {"%s ja' existe; --force o substitui.\n", "%s exists already; --force replaces it.\n"},
    {"%s existe e nao e' um arquivo comum; nada foi escrito.\n",
     "%s exists and is not a regular file; nothing was written.\n"},
    {"nao foi possivel escrever %s.\n", "%s could not be written.\n"},
    {"ordem %lld, constante de erro %s = %s\n", "order %lld, error constant %s = %s\n"},
};

// The table by its Portuguese texts, made once and never changed.
const std::unordered_map<std::string_view, const char*>& translations() {
    static const std::unordered_map<std::string_view, const char*> table = [] {
        std::unordered_map<std::string_view, const char*> made;
        for (const Words& words : WORDS) {
            made.emplace(words.portuguese, words.english);
        }
        return made;
    }();
    return table;
}

} // namespace

const char* say(const char* portuguese, Language language) {
    if (language == Language::PORTUGUESE) {
        return portuguese;
    }
    const auto found = translations().find(portuguese);
    return found != translations().end() ? found->second : portuguese;
}

bool has_translation(const char* portuguese) {
    return translations().contains(portuguese);
}

} // namespace ordimet::analyse
