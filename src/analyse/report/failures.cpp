#include "analyse/report/failures.hpp"

#include "analyse/exact/coefficients.hpp"

#include <iterator>

namespace ordimet::analyse {
namespace {

// One row per failure. In a message "{file}" stands for the file at fault,
// "{step}" for the reduced step and "{limit}" for MAX_EXACT_STEP. For the
// faults ordimet knows, the words are ordimet's own.
struct FailureText {
    Failure failure;
    const char* json_name;
    const char* message;
};

constexpr FailureText FAILURES[] = {
    {Failure::NONE, "", ""},
    {Failure::UNREADABLE, "unreadable",
     "Erro na leitura do arquivo {file}, verifique sua validade."},
    {Failure::MALFORMED, "malformed",
     "Formato do arquivo {file} invalido!\n"
     "Formato do arquivo deve ser:\n"
     "1- Tamanho do passo\n"
     "2- ordem da equacao diferencial especial\n"
     "3- coeficientes (2 x tamanho do passo + 2)"},
    {Failure::ZERO_DENOMINATOR, "zero-denominator",
     "Erro na leitura do arquivo {file}: fracao com denominador zero."},
    {Failure::BEYOND_EXACT_LIMITS, "beyond-exact-limits",
     "Erro na leitura do arquivo {file}: numero longo, grande ou pequeno demais para a leitura "
     "exata."},
    {Failure::BEYOND_LIMITS, "beyond-limits", "Erro de falta de memoria."},
    {Failure::DIFFERENT_SHAPES, "different-shapes",
     "A ordem e o passo devem ser iguais em todos os arquivos."},
    {Failure::STEP_NOT_POSITIVE, "step-not-positive", "O passo de um metodo deve ser positivo."},
    {Failure::ORDER_NOT_POSITIVE, "order-not-positive",
     "A ordem de uma equacao deve ser positiva."},
    {Failure::ORDER_ABOVE_ONE, "order-above-one", "A ordem deve ser 1 para metodos nao simples."},
    {Failure::STEP_BEYOND_EXACT_LIMIT, "step-beyond-exact-limit",
     "O passo real do metodo e' {step}, acima de {limit}, o limite da analise exata."},
    {Failure::COEFFICIENTS_BEYOND_EXACT_LIMIT, "coefficients-beyond-exact-limit",
     "Os coeficientes do arquivo {file} sao grandes demais para a analise exata."},
    {Failure::ROOTS_BEYOND_EXACT_LIMIT, "roots-beyond-exact-limit",
     "As raizes de rho do arquivo {file} estao proximas demais para uma decisao certificada."},
};

const FailureText& row_of(Failure failure) {
    for (const FailureText& row : FAILURES) {
        if (row.failure == failure) {
            return row;
        }
    }
    return FAILURES[0];
}

// The template with its fields filled in.
std::string filled(const char* text, const AnalysisOutcome& outcome) {
    std::string out;
    for (const char* c = text; *c != '\0'; ++c) {
        const std::string_view rest(c);
        if (rest.starts_with("{file}")) {
            out += outcome.failing;
            c += 5;
        } else if (rest.starts_with("{step}")) {
            out += std::to_string(outcome.step);
            c += 5;
        } else if (rest.starts_with("{limit}")) {
            out += std::to_string(MAX_EXACT_STEP);
            c += 6;
        } else {
            out += *c;
        }
    }
    return out;
}

} // namespace

const char* failure_json_name(Failure failure) {
    return row_of(failure).json_name;
}

std::string failure_message(const AnalysisOutcome& outcome) {
    return filled(row_of(outcome.failure).message, outcome);
}

bool failure_names_file(Failure failure) {
    return std::string_view(row_of(failure).message).find("{file}") != std::string_view::npos;
}

} // namespace ordimet::analyse
