#include "analyse/report/failures.hpp"

#include "analyse/exact/coefficients.hpp"
#include "analyse/report/file_names.hpp"

#include <string>
#include <string_view>

namespace ordimet::analyse {
namespace {

// One row per failure. For the faults ordimet knows, the Portuguese words
// are ordimet's own.

constexpr FailureText FAILURES[] = {
    {Failure::NONE, "", "", ""},
    {Failure::UNREADABLE, "unreadable",
     "Erro na leitura do arquivo {file}, verifique sua validade.",
     "Error reading the file {file}; check that it is valid."},
    {Failure::NOT_FOUND, "unreadable", "Erro na leitura do arquivo {file}: o arquivo nao existe.",
     "Error reading the file {file}: the file does not exist."},
    {Failure::IS_DIRECTORY, "unreadable",
     "Erro na leitura do arquivo {file}: e' um diretorio, nao um arquivo de metodo.",
     "Error reading the file {file}: it is a directory, not a method file."},
    {Failure::NOT_A_NUMBER, "unreadable",
     "Erro na leitura do arquivo {file}: \"{token}\" nao e' um numero.",
     "Error reading the file {file}: \"{token}\" is not a number."},
    {Failure::DECIMAL_COMMA, "unreadable",
     "Erro na leitura do arquivo {file}: \"{token}\" tem virgula decimal; escreva "
     "{corrected}, com ponto.",
     "Error reading the file {file}: \"{token}\" has a decimal comma; write {corrected}, "
     "with a point."},
    {Failure::NOT_AN_INTEGER, "unreadable",
     "Erro na leitura do arquivo {file}: o passo k e a ordem m sao inteiros, e \"{token}\" "
     "nao e'.",
     "Error reading the file {file}: the step k and the order m are integers, and \"{token}\" "
     "is not."},
    {Failure::MALFORMED, "malformed",
     "Formato do arquivo {file} invalido!\n"
     "Formato do arquivo deve ser:\n"
     "1- Tamanho do passo\n"
     "2- ordem da equacao diferencial especial\n"
     "3- coeficientes (2 x tamanho do passo + 2)",
     "The format of the file {file} is invalid!\n"
     "The file must hold:\n"
     "1- The step\n"
     "2- the order of the special differential equation\n"
     "3- the coefficients (2 x step + 2)"},
    {Failure::NO_STEP_AND_ORDER, "malformed",
     "O arquivo {file} deve comecar pelo passo k e pela ordem m da equacao.",
     "The file {file} must begin with the step k and the order m of the equation."},
    {Failure::COEFFICIENT_COUNT, "malformed",
     "O arquivo {file} tem {found} coeficientes depois do passo k = {step} e da ordem "
     "m = {order}, e sao esperados 2k + 2 = {expected}.",
     "The file {file} has {found} coefficients after the step k = {step} and the order "
     "m = {order}, and 2k + 2 = {expected} are expected."},
    {Failure::TEXT_AFTER_NUMBERS, "malformed",
     "O arquivo {file} tem \"{token}\" depois dos 2k + 2 = {expected} coeficientes.",
     "The file {file} has \"{token}\" after the 2k + 2 = {expected} coefficients."},
    {Failure::ZERO_DENOMINATOR, "zero-denominator",
     "Erro na leitura do arquivo {file}: fracao com denominador zero.",
     "Error reading the file {file}: a fraction with a zero denominator."},
    {Failure::BEYOND_EXACT_LIMITS, "beyond-exact-limits",
     "Erro na leitura do arquivo {file}: numero longo, grande ou pequeno demais para a leitura "
     "exata.",
     "Error reading the file {file}: a number too long, too large or too small for the exact "
     "reading."},
    {Failure::BEYOND_LIMITS, "beyond-limits", "Erro de falta de memoria.", "Error: out of memory."},
    {Failure::DIFFERENT_SHAPES, "different-shapes",
     "A ordem e o passo devem ser iguais em todos os arquivos.",
     "The order and the step must be the same in every file."},
    {Failure::STEP_NOT_POSITIVE, "step-not-positive", "O passo de um metodo deve ser positivo.",
     "The step of a method must be positive."},
    {Failure::ORDER_NOT_POSITIVE, "order-not-positive", "A ordem de uma equacao deve ser positiva.",
     "The order of an equation must be positive."},
    {Failure::ORDER_ABOVE_ONE, "order-above-one", "A ordem deve ser 1 para metodos nao simples.",
     "The order must be 1 for methods that are not simple."},
    {Failure::STEP_BEYOND_EXACT_LIMIT, "step-beyond-exact-limit",
     "O passo real do metodo e' {step}, acima de {limit}, o limite da analise exata.",
     "The method's actual step is {step}, above {limit}, the limit of the exact analysis."},
    {Failure::COEFFICIENTS_BEYOND_EXACT_LIMIT, "coefficients-beyond-exact-limit",
     "Os coeficientes do arquivo {file} sao grandes demais para a analise exata.",
     "The coefficients of the file {file} are too large for the exact analysis."},
    {Failure::ROOTS_BEYOND_EXACT_LIMIT, "roots-beyond-exact-limit",
     "As raizes de rho do arquivo {file} estao proximas demais para uma decisao certificada.",
     "The roots of rho of the file {file} are too close together for a certified decision."},
};

const FailureText& row_of(Failure failure) {
    for (const FailureText& row : FAILURES) {
        if (row.failure == failure) {
            return row;
        }
    }
    return FAILURES[0];
}

// The value of a field of a message template; false for no field.
bool field_value(std::string_view field, const AnalysisOutcome& outcome, Language language,
                 std::string& value) {
    if (field == "file") {
        value = outcome.failing;
    } else if (field == "token") {
        value = outcome.token;
    } else if (field == "corrected") {
        value = outcome.corrected;
    } else if (field == "found") {
        const char* more = language == Language::ENGLISH ? "more than " : "mais de ";
        value = (outcome.found_more ? more : "") + std::to_string(outcome.found);
    } else if (field == "step" || field == "order" || field == "expected") {
        value = std::to_string(field == "step"    ? outcome.step
                               : field == "order" ? outcome.order
                                                  : outcome.expected);
    } else if (field == "limit") {
        value = std::to_string(MAX_EXACT_STEP);
    } else {
        return false;
    }
    return true;
}

// The template of the language with its fields filled in.
std::string filled(const FailureText& row, const AnalysisOutcome& outcome, Language language) {
    const std::string_view text = language == Language::ENGLISH ? row.english : row.message;
    std::string out;
    std::string value;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end = text[i] == '{' ? text.find('}', i) : std::string_view::npos;
        if (end != std::string_view::npos &&
            field_value(text.substr(i + 1, end - i - 1), outcome, language, value)) {
            out += value;
            i = end;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

const char* failure_json_name(Failure failure) {
    return row_of(failure).json_name;
}

std::string failure_message(const AnalysisOutcome& outcome, Language language, Names names) {
    if (names == Names::AS_THEY_ARE) {
        return filled(row_of(outcome.failure), outcome, language);
    }
    AnalysisOutcome shown = outcome;
    shown.failing = printable_name(outcome.failing);
    shown.token = printable_name(outcome.token);
    shown.corrected = printable_name(outcome.corrected);
    return filled(row_of(outcome.failure), shown, language);
}

std::span<const FailureText> failure_table() {
    return FAILURES;
}

bool failure_names_file(Failure failure) {
    return std::string_view(row_of(failure).message).find("{file}") != std::string_view::npos;
}

} // namespace ordimet::analyse
