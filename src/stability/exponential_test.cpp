#include "stability/stability.hpp"
#include "support/allocation.hpp"
#include "support/format.hpp"
#include "support/messages.hpp"

#include <cmath>
#include <cstddef>
#include <cstdio>

namespace ordimet {

int exponential_stability_test(double X, int p, int k, int m, int c, double& larger_step_value,
                               double& smaller_step_value, ConstRowTable table) {
    // A window outside 1 .. MAX_STEP_COUNT is refused as a shortage of
    // memory before anything is allocated, as alloc_matrix refuses an
    // oversized matrix: no step count outside that range gets past loading
    // and the step reduction, and a window without a slot has no newest value.
    if (k < 1 || k > MAX_STEP_COUNT) {
        return STABILITY_NO_MEMORY;
    }
    OwnedBlock<double> window(alloc_records<double>(static_cast<std::size_t>(k)));
    if (window.get() == nullptr) {
        return STABILITY_NO_MEMORY;
    }
    const std::span<double> slots(window.get(), static_cast<std::size_t>(k));

    larger_step_value = integrate_test_equation(0.1, X, p, k, m, c, slots, table);
    smaller_step_value = integrate_test_equation(0.01, X, p, k, m, c, slots, table);
    window.release();

    const double smaller_step_error = std::fabs(std::exp(X) - smaller_step_value);
    const double larger_step_error = std::fabs(std::exp(X) - larger_step_value);

    // A march that overflowed has not approximated anything: two infinite
    // errors would compare as equal (inf >= inf) and an infinite larger-step
    // error as greater, and either would pass as converged. Any non-finite
    // error is a divergence; a NaN error also fails the ordered comparison.
    if (!std::isfinite(smaller_step_error) || !std::isfinite(larger_step_error)) {
        return STABILITY_DIVERGED;
    }
    if (larger_step_error >= smaller_step_error) {
        return STABILITY_CONVERGED;
    }
    return STABILITY_DIVERGED;
}

void print_stability_report(int result, double larger_step_value, double smaller_step_value,
                            double exact_value) {
    std::fputs("\nTestando estabilidade com o teste da exponencial\n", stdout);
    if (result == STABILITY_NO_MEMORY) {
        print_no_memory();
        return;
    }
    // The abscissa shown is the end abscissa of every run, 1.0.
    const FixedText abscissa = fixed(1.0);
    std::printf("Resultado real: exp( %s ) = %s.\n", abscissa.text, fixed(exact_value).text);
    std::printf("y( %s ) = %s para h maior.\n", abscissa.text, fixed(larger_step_value).text);
    std::printf("y( %s ) = %s para h menor.\n", abscissa.text, fixed(smaller_step_value).text);
    if (result == STABILITY_CONVERGED) {
        std::fputs("O teste convergiu, o metodo tambem e' estavel!\n", stdout);
    } else {
        std::fputs("O teste divergiu, o metodo e' consistente mas instavel!\n", stdout);
    }
}

} // namespace ordimet
