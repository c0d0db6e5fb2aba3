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

    // ordimet-design search: its report and its progress on standard error.
    {"\rbusca [%s] %3d%% (%llu de %llu pontos)", "\rsearch [%s] %3d%% (%llu of %llu points)"},
    {"Espaco: k = %d, m = %d, A[%d] = 1, ordem %d ou mais",
     "Space: k = %d, m = %d, A[%d] = 1, order %d or more"},
    {", explicito", ", explicit"},
    {", simetrico", ", symmetric"},
    {"Grade de %s: de %s a %s, passo %s.\n", "Grid of %s: from %s to %s, step %s.\n"},
    {"Nenhum coeficiente livre: o espaco tem um so' metodo.\n",
     "No free coefficient: the space has a single method.\n"},
    {"Coeficientes livres na grade: %s.\n", "Free coefficients on the grid: %s.\n"},
    {"De %s, livres porque as condicoes nao os determinam: %s.\n",
     "Of %s, free because the conditions leave them undetermined: %s.\n"},
    {"Determinados pelos livres, tambem no intervalo: %s.\n",
     "Determined by the free ones, also within the range: %s.\n"},
    {"o intervalo real de estabilidade (-a, 0), a maior",
     "the real stability interval (-a, 0), largest a"},
    {"o angulo alfa da A(alfa)-estabilidade, o maior",
     "the angle alpha of A(alpha)-stability, largest"},
    {"|constante de erro| na ordem pedida, a menor",
     "|error constant| at the order asked for, smallest"},
    {"o coeficiente SSP, o maior", "the SSP coefficient, largest"},
    {"o intervalo de periodicidade (0, Hp^2), Hp^2 maior",
     "the interval of periodicity (0, Hp^2), largest Hp^2"},
    {"o intervalo de estabilidade absoluta (0, Ha^2), Ha^2 maior",
     "the interval of absolute stability (0, Ha^2), largest Ha^2"},
    {"o atraso de fase, de ordem maior e depois de |constante| menor",
     "the phase lag, of highest order, then of smallest |constant|"},
    {"zero-estavel", "zero-stable"},
    {"irredutivel", "irreducible"},
    {"A-estavel", "A-stable"},
    {"P-estavel", "P-stable"},
    {"Restricoes: nenhuma.\n", "Constraints: none.\n"},
    {"Restricoes: %s.\n", "Constraints: %s.\n"},
    {"Objetivo: %s.\n", "Objective: %s.\n"},
    {"Pontos da grade: %llu; candidatos (determinados no intervalo): %llu.\n",
     "Grid points: %llu; candidates (determined coefficients within the range): %llu.\n"},
    {"Busca interrompida: %llu de %llu pontos examinados.\n",
     "Search interrupted: %llu of %llu points examined.\n"},
    {"%llu nao zero-estaveis", "%llu not zero-stable"},
    {"%llu redutiveis", "%llu reducible"},
    {"%llu nao A-estaveis", "%llu not A-stable"},
    {"%llu nao P-estaveis", "%llu not P-stable"},
    {"Descartados com certeza: nenhum.\n", "Dropped with certainty: none.\n"},
    {"Descartados com certeza: %s.\n", "Dropped with certainty: %s.\n"},
    {"Mantidos pela triagem: %llu; certificados: %llu.\n",
     "Kept by the screening: %llu; certified: %llu.\n"},
    {"Nao decididos pelas analises exatas: %llu.\n", "Undecided by the exact analyses: %llu.\n"},
    {"alfa", "alpha"},
    {"atraso de fase", "phase lag"},
    {"ordem", "order"},
    {"constante de erro", "error constant"},
    {"sem intervalo", "no interval"},
    {"nulo ate' a ordem %d", "zero up to order %d"},
    {"ordem %d, %s", "order %d, %s"},
    {"Nenhum metodo encontrado antes da interrupcao.\n",
     "No method found before the interruption.\n"},
    {"Nenhum ponto da grade e' candidato: os coeficientes determinados saem do intervalo.\n",
     "No grid point is a candidate: the determined coefficients leave the range.\n"},
    {"Nenhum metodo certificado: %llu candidatos nao puderam ser decididos.\n",
     "No method certified: %llu candidates could not be decided.\n"},
    {"Nenhum metodo satisfaz as restricoes: cada candidato foi descartado com certeza.\n",
     "No method meets the constraints: every candidate was dropped with certainty.\n"},
    {"\nArquivo do metodo em %s: %s.\n", "\nFile of the method in %s: %s.\n"},
    {"\nArquivos dos metodos em %s: %s a %s.\n", "\nFiles of the methods in %s: %s to %s.\n"},
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
