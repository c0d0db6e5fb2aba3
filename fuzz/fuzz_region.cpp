// Fuzz target: the linear stability analyses of one algorithm whose
// coefficients come from the bytes: m (1 or 2), k (1 to 8), then for each of
// A[0..k], B[0..k] a signed numerator and a denominator from 1 to 16. Every
// analysis must end, and its results must agree with one another.
#include "analyse/linear/linear_stability.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace ordimet::analyse;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool positive_or_absent(const IntervalEnd& end) {
    return end.kind != IntervalEnd::Kind::FINITE || end.value > 0.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int m = 1 + data[0] % 2;
    const std::size_t k = 1 + data[1] % 8;
    std::vector<Rational> rho(k + 1);
    std::vector<Rational> sigma(k + 1);
    for (std::size_t i = 0; i < 2 * k + 2; ++i) {
        const std::size_t at = 2 + 2 * i;
        const long numerator = at < size ? static_cast<std::int8_t>(data[at]) : 0;
        const unsigned long denominator = at + 1 < size ? 1 + data[at + 1] % 16 : 1;
        Rational& value = i <= k ? rho[i] : sigma[i - k - 1];
        fmpq_set_si(value.get(), numerator, denominator);
    }
    if (m == 1) {
        const AbsoluteStability result = absolute_stability(rho, sigma);
        if (result.status == RegionStatus::DECIDED) {
            check(positive_or_absent(result.real_interval));
            check(result.alpha_degrees >= 0.0 && result.alpha_degrees <= 90.0);
            // A wedge holds the negative real axis, and an A-stable method's is
            // the whole half-plane.
            check(result.alpha_degrees == 0.0 ||
                  result.real_interval.kind == IntervalEnd::Kind::INFINITE);
            check(!result.a_stable || result.alpha_degrees == 90.0);
        }
    } else {
        const Periodicity result = periodicity(rho, sigma);
        if (result.status == RegionStatus::DECIDED) {
            check(positive_or_absent(result.periodicity) && positive_or_absent(result.absolute));
            check(result.p_stable == (result.periodicity.kind == IntervalEnd::Kind::INFINITE));
            // Every root inside the circle leaves no principal root on it.
            check(result.periodicity.kind == IntervalEnd::Kind::NONE ||
                  result.absolute.kind == IntervalEnd::Kind::NONE);
            check(!result.phase_lag_known || result.phase_lag_order >= 2);
        }
    }
    return 0;
}
