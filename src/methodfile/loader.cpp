#include "methodfile/methodfile.hpp"

#include <cstdio>

namespace ordimet {

int load_files(std::size_t count, FileReader& reader, int& k, int& m, std::size_t& failing) {
    int reference_step = 0;
    int reference_order = 0;
    for (failing = 0; failing < count; ++failing) {
        if (failing > 0 && reference_step >= 0) {
            const std::size_t sets = failing + 1;
            if (sets * (2 * static_cast<std::size_t>(reference_step) + 2) >
                MAX_TOTAL_COEFFICIENTS) {
                return LOAD_NO_MEMORY;
            }
        }
        int file_step = 0;
        int file_order = 0;
        const int result = reader.read(failing, file_step, file_order);
        if (result != LOAD_OK) {
            return result;
        }
        if (failing == 0) {
            reference_step = k = file_step;
            reference_order = m = file_order;
        }
        if (file_step != reference_step || file_order != reference_order) {
            return LOAD_DIFFERENT_SHAPES;
        }
    }
    return check_step_and_order(reference_step, reference_order);
}

namespace {

// ordimet's files: the arguments from the third on, each into its slot of
// the coefficient table.
class TableReader final : public FileReader {
  public:
    TableReader(const char* const* names, CoefficientTable table) : names_(names), table_(table) {}
    int read(std::size_t index, int& k, int& m) override {
        return read_method_file(names_[index], k, m, table_[index]);
    }

  private:
    const char* const* names_;
    CoefficientTable table_;
};

} // namespace

int load_method_files(int argc, const char* const* argv, int& k, int& m, int& failing_index,
                      CoefficientTable table) {
    const std::size_t count = argc > 2 ? static_cast<std::size_t>(argc - 2) : 0;
    TableReader reader(argv + 2, table);
    std::size_t failing = 0;
    const int result = load_files(count, reader, k, m, failing);
    failing_index = static_cast<int>(failing) + 2;
    return result;
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
