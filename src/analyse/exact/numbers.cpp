#include "analyse/exact/numbers.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "methodfile/methodfile.hpp"

#include <arf.h>
#include <cstdint>

namespace ordimet::analyse {
namespace {

// Below the normal range a double has fewer than 53 bits, so the quotient is
// rounded once, through the decimal conversion of the method file reader:
// enough digits of the quotient for a correct rounding and a sticky digit for
// the rest.
double nearest_subnormal(const fmpz_t numerator, const fmpz_t denominator) {
    const auto digits = static_cast<std::int64_t>(DecimalNumber::MAX_KEPT_DIGITS) - 3;
    const std::int64_t shift =
        digits - (static_cast<std::int64_t>(fmpz_sizeinbase(numerator, 10)) -
                  static_cast<std::int64_t>(fmpz_sizeinbase(denominator, 10)));
    Fmpz scaled;
    Fmpz power;
    Fmpz remainder;
    fmpz_ui_pow_ui(power.get(), 10, static_cast<unsigned long>(shift));
    fmpz_mul(scaled.get(), numerator, power.get());
    fmpz_abs(scaled.get(), scaled.get());
    fmpz_tdiv_qr(scaled.get(), remainder.get(), scaled.get(), denominator);
    char* text = fmpz_get_str(nullptr, 10, scaled.get());
    DecimalNumber number;
    number.negative = fmpz_sgn(numerator) < 0;
    for (const char* c = text; *c != '\0' && number.count < DecimalNumber::MAX_KEPT_DIGITS; ++c) {
        number.digits[number.count++] = *c;
    }
    flint_free(text);
    number.dropped_nonzero = !fmpz_is_zero(remainder.get());
    number.scale = static_cast<std::int64_t>(number.count) - shift;
    return decimal_to_double(number);
}

} // namespace

double nearest_double(const fmpz_t numerator, const fmpz_t denominator) {
    Arf quotient;
    // Correctly rounded to 53 bits; exact as a double in the normal range.
    arf_fmpz_div_fmpz(quotient.get(), numerator, denominator, 53, ARF_RND_NEAR);
    if (arf_is_zero(quotient.get()) || arf_cmpabs_2exp_si(quotient.get(), -1022) >= 0) {
        return arf_get_d(quotient.get(), ARF_RND_NEAR); // an infinity beyond the largest double
    }
    return nearest_subnormal(numerator, denominator);
}

double nearest_double(const Rational& value) {
    return nearest_double(fmpq_numref(value.get()), fmpq_denref(value.get()));
}

Rational exact_rational(double value) {
    Arf exact;
    arf_set_d(exact.get(), value);
    Rational result;
    arf_get_fmpq(result.get(), exact.get());
    return result;
}

std::complex<double> evaluate(std::span<const double> c, std::complex<double> z) {
    std::complex<double> value = 0.0;
    for (std::size_t j = c.size(); j-- > 0;) {
        value = value * z + c[j];
    }
    return value;
}

} // namespace ordimet::analyse
