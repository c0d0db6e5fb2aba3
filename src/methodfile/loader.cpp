#include "methodfile/methodfile.hpp"

#include <cstdio>

namespace ordimet {

int load_method_files(int argc, const char* const* argv, int& k, int& m, int& failing_index,
                      CoefficientTable table) {
    int reference_step = 0;
    int reference_order = 0;
    for (failing_index = 2; failing_index < argc; ++failing_index) {
        if (failing_index > 2 && reference_step >= 0) {
            const std::size_t sets = static_cast<std::size_t>(failing_index - 1);
            if (sets * (2 * static_cast<std::size_t>(reference_step) + 2) >
                MAX_TOTAL_COEFFICIENTS) {
                return LOAD_NO_MEMORY;
            }
        }
        int file_step = 0;
        int file_order = 0;
        const int result =
            read_method_file(argv[failing_index], file_step, file_order, table[failing_index - 2]);
        if (result != LOAD_OK) {
            return result;
        }
        if (failing_index == 2) {
            reference_step = k = file_step;
            reference_order = m = file_order;
        }
        if (file_step != reference_step || file_order != reference_order) {
            return LOAD_DIFFERENT_SHAPES;
        }
    }
    return check_step_and_order(reference_step, reference_order);
}

int check_step_and_order(int k, int m) {
    if (k <= 0) {
        return LOAD_STEP_NOT_POSITIVE;
    }
    if (m <= 0) {
        return LOAD_ORDER_NOT_POSITIVE;
    }
    return LOAD_OK;
}

namespace {

// The help text for a malformed file, around the file's name.
constexpr LoadErrorText FORMAT_HELP = {"Formato do arquivo ", true,
                                       " invalido!\n"
                                       "Formato do arquivo deve ser:\n"
                                       "1- Tamanho do passo\n"
                                       "2- ordem da equacao diferencial especial\n"
                                       "3- coeficientes (2 x tamanho do passo + 2)\n"};

void print_text(const LoadErrorText& text, const char* name) {
    std::fputs(text.before, stdout);
    if (text.names_file) {
        std::fputs(name, stdout);
    }
    std::fputs(text.after, stdout);
}

} // namespace

LoadErrorText load_error_text(int code) {
    switch (code) {
    case LOAD_STEP_NOT_POSITIVE:
        return {"O passo de um metodo deve ser positivo.\n", false, ""};
    case LOAD_ORDER_NOT_POSITIVE:
        return {"A ordem de uma equacao deve ser positiva.\n", false, ""};
    case LOAD_DIFFERENT_SHAPES:
        return {"A ordem e o passo devem ser iguais em todos os arquivos.\n", false, ""};
    case LOAD_NO_MEMORY:
        return {NO_MEMORY_MESSAGE, false, ""};
    case LOAD_UNREADABLE:
        return {"Erro na leitura do arquivo ", true, ", verifique sua validade.\n"};
    case LOAD_MALFORMED:
        return FORMAT_HELP;
    default:
        return {"", false, ""};
    }
}

void print_format_help(const char* name) {
    print_text(FORMAT_HELP, name);
}

void report_load_error(int code, const char* name) {
    print_text(load_error_text(code), name);
}

void print_coefficients(int c, int k, ConstCoefficientTable table) {
    for (int i = 0; i < c; ++i) {
        const double* set = table[i];
        std::printf("\nAlgoritmo %d\n", i + 1);
        for (int j = 0; j <= k; ++j) {
            std::printf("A[ %d ] = %s ", j, fixed(set[j], LISTING_FIELD_WIDTH).text);
        }
        std::fputs("\n", stdout);
        for (int j = 0; j <= k; ++j) {
            std::printf("B[ %d ] = %s ", j, fixed(set[k + 1 + j], LISTING_FIELD_WIDTH).text);
        }
        std::fputs("\n", stdout);
    }
}

} // namespace ordimet
