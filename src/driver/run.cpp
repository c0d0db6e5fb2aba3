#include "driver/run.hpp"

#include "consistency/consistency.hpp"
#include "cyclic/cyclic.hpp"
#include "driver/support/allocation.hpp"
#include "driver/support/messages.hpp"
#include "driver/support/pause.hpp"
#include "methodfile/methodfile.hpp"
#include "stability/stability.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace ordimet {
namespace {

bool is_kind(const char* kind, const char* keyword) {
    return kind != nullptr && std::strcmp(kind, keyword) == 0;
}

// Everything of a run between the loading and the final pause. The tables
// are owned by guards, so every return releases what was allocated; the
// caller makes the final pause afterwards.
void analyse(int argc, const char* const* argv) {
    const char* kind = argv[1];
    const int c = argc - 2;
    OwnedRows table(alloc_pointer_table(c), c);
    if (table.get() == nullptr) {
        print_no_memory();
        return;
    }

    int k = 0;
    int m = 0;
    int failing_index = 0;
    const int loaded = load_method_files(argc, argv, k, m, failing_index, table.get());
    report_load_error(loaded, failing_index < argc ? argv[failing_index] : nullptr);
    if (loaded != 0) {
        return;
    }

    print_method_kind(kind);
    std::printf("O metodo tem passo especificado como sendo %d.\n", k);
    reduce_step(k, c, table.get());
    std::printf("O passo real do metodo e' %d.\n", k);
    std::printf("A equacao diferencial especial tem ordem %d.\n", m);
    print_coefficients(c, k, table.get());

    OwnedBlock<AlgorithmResult> results(
        alloc_records<AlgorithmResult>(static_cast<std::size_t>(c)));
    if (results.get() == nullptr) {
        print_no_memory();
        return;
    }
    wait_for_key();
    analyse_algorithms(k, m, c, table.get(), results.get());
    report_algorithms(m, c, results.get());
    if (m > 1 && !is_kind(kind, "SI")) {
        std::fputs("\nA ordem deve ser 1 para metodos nao simples.\n", stdout);
        return;
    }

    wait_for_key();
    method_consistency(c, results.get());
    const int q = results.get()[0].error_index;
    report_method_consistency(m, q);
    const bool composite = is_kind(kind, "CO");
    if (composite) {
        std::fputs("\nNao testo aumento de consistencia para metodos compostos genericos.\n",
                   stdout);
        std::fputs("Nao faco o teste da estabilidade em metodos compostos genericos.\n", stdout);
    }
    // NOT_COMPUTABLE is tested first: -2 - m would overflow for the largest m.
    if (q == NOT_COMPUTABLE || q - m <= 0 || composite) {
        return;
    }

    int raise = 0;
    if (is_kind(kind, "CI")) {
        const int d = k > c ? k : c;
        OwnedRows matrix(alloc_matrix(d), d);
        if (matrix.get() == nullptr) {
            print_no_memory();
            return;
        }
        build_augmented_matrix(c, k, d, table.get(), matrix.get(), results.get());
        print_augmented_matrix(d, matrix.get());
        const int rank = triangularise_and_rank(d, matrix.get());
        if (rank == d - 1) {
            raise = 1;
        }
        report_consistency_raise(d, rank, q, m, matrix.get());
    }

    const int p = raise + (q - m);
    results.release();
    double larger_step_value = 0.0;
    double smaller_step_value = 0.0;
    const int tested = exponential_stability_test(1.0, p, k, m, c, larger_step_value,
                                                  smaller_step_value, table.get());
    print_stability_report(tested, larger_step_value, smaller_step_value, std::exp(1.0));
}

} // namespace

void print_usage() {
    std::fputs("Formato:\n", stdout);
    std::fputs("ORDIMET SI NOM_ARQ\n", stdout);
    std::fputs("ou\n", stdout);
    std::fputs("ORDIMET CO NOM_ARQ1 NOM_ARQ2 [NOME_ARQ3..NOM_ARQN]\n", stdout);
    std::fputs("ou\n", stdout);
    std::fputs("ORDIMET CI NOM_ARQ1 NOM_ARQ2 [NOME_ARQ3..NOM_ARQN]\n", stdout);
}

int check_arguments(int argc, const char* kind) {
    const bool accepted = argc == 3  ? is_kind(kind, "SI")
                          : argc > 3 ? is_kind(kind, "CO") || is_kind(kind, "CI")
                                     : false;
    if (accepted) {
        return 0;
    }
    print_usage();
    wait_for_key();
    return -1;
}

void print_method_kind(const char* kind) {
    if (is_kind(kind, "SI")) {
        std::fputs("O metodo dado e' simples.\n", stdout);
    }
    if (is_kind(kind, "CO")) {
        std::fputs("O metodo dado e' composto.\n", stdout);
    }
    if (is_kind(kind, "CI")) {
        std::fputs("O metodo dado e' ciclico.\n", stdout);
    }
}

int run(int argc, const char* const* argv) {
    if (check_arguments(argc, argc >= 2 ? argv[1] : nullptr) != 0) {
        return 0;
    }
    analyse(argc, argv);
    wait_for_key();
    return 0;
}

} // namespace ordimet
