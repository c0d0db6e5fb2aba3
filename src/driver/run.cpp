#include "driver/run.hpp"

#include "consistency/consistency.hpp"
#include "cyclic/cyclic.hpp"
#include "methodfile/methodfile.hpp"
#include "stability/stability.hpp"
#include "support/allocation.hpp"
#include "support/messages.hpp"
#include "support/pause.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace ordimet {
namespace {

enum class MethodKind { SIMPLE, COMPOSITE, CYCLIC, UNKNOWN };

// The kind keywords are exact, case-sensitive strings; a missing argument is
// an unknown kind.
MethodKind parse_method_kind(const char* keyword) {
    if (keyword == nullptr) {
        return MethodKind::UNKNOWN;
    }
    if (std::strcmp(keyword, "SI") == 0) {
        return MethodKind::SIMPLE;
    }
    if (std::strcmp(keyword, "CO") == 0) {
        return MethodKind::COMPOSITE;
    }
    if (std::strcmp(keyword, "CI") == 0) {
        return MethodKind::CYCLIC;
    }
    return MethodKind::UNKNOWN;
}

bool accepts(int argc, MethodKind kind) {
    if (argc == 3) {
        return kind == MethodKind::SIMPLE;
    }
    return argc > 3 && (kind == MethodKind::COMPOSITE || kind == MethodKind::CYCLIC);
}

void print_banner(MethodKind kind) {
    switch (kind) {
    case MethodKind::SIMPLE:
        std::fputs("O metodo dado e' simples.\n", stdout);
        break;
    case MethodKind::COMPOSITE:
        std::fputs("O metodo dado e' composto.\n", stdout);
        break;
    case MethodKind::CYCLIC:
        std::fputs("O metodo dado e' ciclico.\n", stdout);
        break;
    case MethodKind::UNKNOWN:
        break;
    }
}

// What the stages of one run share: the method's kind and shape and the
// coefficient table, which the run owns.
struct Method {
    MethodKind kind;
    int c;
    int k;
    int m;
    CoefficientTable table;
};

// Loads every method file and, when all load, prints the banner, the step
// lines (before and after the step reduction) and the coefficient listing.
// False when loading failed; its message has been printed.
bool load_and_list(int argc, const char* const* argv, Method& method) {
    int failing_index = 0;
    const int loaded =
        load_method_files(argc, argv, method.k, method.m, failing_index, method.table);
    report_load_error(loaded, failing_index < argc ? argv[failing_index] : nullptr);
    if (loaded != LOAD_OK) {
        return false;
    }
    print_banner(method.kind);
    std::printf("O metodo tem passo especificado como sendo %d.\n", method.k);
    reduce_step(method.k, method.c, method.table);
    std::printf("O passo real do metodo e' %d.\n", method.k);
    std::printf("A equacao diferencial especial tem ordem %d.\n", method.m);
    print_coefficients(method.c, method.k, method.table);
    return true;
}

// Pauses, then finds and reports the consistency of every algorithm. False
// when the run ends here: only simple methods go on with an equation order
// above 1.
bool algorithm_consistency_stage(const Method& method, AlgorithmResult* results) {
    wait_for_key();
    analyse_algorithms(method.k, method.m, method.c, method.table, results);
    report_algorithms(method.m, method.c, results);
    if (method.m > 1 && method.kind != MethodKind::SIMPLE) {
        std::printf("\n%s\n", ORDER_NOT_ONE_MESSAGE);
        return false;
    }
    return true;
}

// Pauses, then lowers every algorithm to the method's q and reports it. False
// when the run ends here: a composite method, and a method that is not
// consistent, go no further.
bool method_consistency_stage(const Method& method, AlgorithmResult* results) {
    wait_for_key();
    method_consistency(method.c, results);
    const int q = method_error_index(results);
    report_method_consistency(method.m, q);
    if (method.kind == MethodKind::COMPOSITE) {
        std::fputs("\nNao testo aumento de consistencia para metodos compostos genericos.\n",
                   stdout);
        std::fputs("Nao faco o teste da estabilidade em metodos compostos genericos.\n", stdout);
        return false;
    }
    // NOT_COMPUTABLE is tested first: NOT_COMPUTABLE - m would overflow for
    // the largest m.
    return q != NOT_COMPUTABLE && q - method.m > 0;
}

// Builds, prints, triangularises and reports the augmented matrix of a cyclic
// method. Sets `raise` to 1 when the rank is d - 1, else 0. False when the
// matrix can't be had; the memory message has been printed.
bool cyclic_raise(const Method& method, const AlgorithmResult* results, int& raise) {
    const int d = method.k > method.c ? method.k : method.c;
    OwnedRows matrix(alloc_matrix(d), d);
    if (matrix.get() == nullptr) {
        print_no_memory();
        return false;
    }
    build_augmented_matrix(method.c, method.k, d, method.table, matrix.get(), results);
    print_augmented_matrix(d, matrix.get());
    const int rank = triangularise_and_rank(d, matrix.get());
    raise = rank == d - 1 ? 1 : 0;
    report_consistency_raise(d, rank, method_error_index(results), method.m, matrix.get());
    return true;
}

// Runs the exponential stability test with Taylor degree p and reports it.
void stability_test_stage(const Method& method, int p) {
    double larger_step_value = 0.0;
    double smaller_step_value = 0.0;
    const int tested = exponential_stability_test(
        1.0, p, method.k, method.m, method.c, larger_step_value, smaller_step_value, method.table);
    print_stability_report(tested, larger_step_value, smaller_step_value, std::exp(1.0));
}

// Everything of a run between the argument check and the final pause, stage
// by stage. The tables are owned by guards, so every return releases what was
// allocated; the caller makes the final pause afterwards.
void analyse(MethodKind kind, int argc, const char* const* argv) {
    const int c = argc - 2;
    OwnedRows table(alloc_pointer_table(c), c);
    if (table.get() == nullptr) {
        print_no_memory();
        return;
    }
    Method method{kind, c, 0, 0, table.get()};
    if (!load_and_list(argc, argv, method)) {
        return;
    }

    OwnedBlock<AlgorithmResult> results(
        alloc_records<AlgorithmResult>(static_cast<std::size_t>(c)));
    if (results.get() == nullptr) {
        print_no_memory();
        return;
    }
    if (!algorithm_consistency_stage(method, results.get()) ||
        !method_consistency_stage(method, results.get())) {
        return;
    }

    int raise = 0;
    if (kind == MethodKind::CYCLIC && !cyclic_raise(method, results.get(), raise)) {
        return;
    }
    const int p = raise + (method_error_index(results.get()) - method.m);
    results.release();
    stability_test_stage(method, p);
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
    if (accepts(argc, parse_method_kind(kind))) {
        return USAGE_ACCEPTED;
    }
    print_usage();
    wait_for_key();
    return USAGE_REJECTED;
}

void print_method_kind(const char* kind) {
    print_banner(parse_method_kind(kind));
}

int run(int argc, const char* const* argv) {
    const char* keyword = argc >= 2 ? argv[1] : nullptr;
    if (check_arguments(argc, keyword) == USAGE_ACCEPTED) {
        analyse(parse_method_kind(keyword), argc, argv);
        wait_for_key();
    }
    return 0;
}

} // namespace ordimet
