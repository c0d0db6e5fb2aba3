#include "analyse/exact/coefficients.hpp"

#include "analyse/exact/flint_handles.hpp"

#include <algorithm>

namespace ordimet::analyse {

long cleared_size(std::span<const Rational> values, long limit) {
    const long count = static_cast<long>(values.size());
    long widest = 0;
    for (const Rational& value : values) {
        widest = std::max(widest, static_cast<long>(fmpz_bits(fmpq_numref(value.get()))));
    }
    // The common denominator grows one factor at a time; stopping once the
    // size is beyond the limit keeps the work within it.
    Fmpz common;
    fmpz_one(common.get());
    long size = 0;
    for (const Rational& value : values) {
        fmpz_lcm(common.get(), common.get(), fmpq_denref(value.get()));
        size = count * (static_cast<long>(fmpz_bits(common.get())) + widest);
        if (size > limit) {
            break;
        }
    }
    return size;
}

} // namespace ordimet::analyse
