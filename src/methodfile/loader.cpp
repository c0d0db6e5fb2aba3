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
                return -3;
            }
        }
        int file_step = 0;
        int file_order = 0;
        const int result =
            read_method_file(argv[failing_index], file_step, file_order, table[failing_index - 2]);
        if (result != 0) {
            return result;
        }
        if (failing_index == 2) {
            reference_step = k = file_step;
            reference_order = m = file_order;
        }
        if (file_step != reference_step || file_order != reference_order) {
            return -4;
        }
    }
    if (reference_step <= 0) {
        return -6;
    }
    if (reference_order <= 0) {
        return -5;
    }
    return 0;
}

void report_load_error(int code, const char* name) {
    switch (code) {
    case -6:
        std::fputs("O passo de um metodo deve ser positivo.\n", stdout);
        break;
    case -5:
        std::fputs("A ordem de uma equacao deve ser positiva.\n", stdout);
        break;
    case -4:
        std::fputs("A ordem e o passo devem ser iguais em todos os arquivos.\n", stdout);
        break;
    case -3:
        print_no_memory();
        break;
    case -2:
        std::printf("Erro na leitura do arquivo %s, verifique sua validade.\n", name);
        break;
    case -1:
        print_format_help(name);
        break;
    default:
        break;
    }
}

void print_coefficients(int c, int k, CoefficientTable table) {
    for (int i = 0; i < c; ++i) {
        const CoefficientSet set = table[i];
        std::printf("\nAlgoritmo %d\n", i + 1);
        for (int j = 0; j <= k; ++j) {
            std::printf("A[ %d ] = %s ", j, fixed(set[j], 10).text);
        }
        std::fputs("\n", stdout);
        for (int j = 0; j <= k; ++j) {
            std::printf("B[ %d ] = %s ", j, fixed(set[k + 1 + j], 10).text);
        }
        std::fputs("\n", stdout);
    }
}

} // namespace ordimet
