#include "analyse/reading/number_readings.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ordimet::analyse {
namespace {

// The integer of the significant digits of `number`, leading zeros left out.
void digits_to_integer(const DecimalNumber& number, fmpz_t out) {
    if (number.count == 0) {
        fmpz_zero(out);
        return;
    }
    char text[DecimalNumber::MAX_KEPT_DIGITS + 1];
    std::copy_n(number.digits, number.count, text);
    text[number.count] = '\0';
    fmpz_set_str(out, text, 10);
}

// value x 10^exponent, exactly.
void scale_by_power_of_ten(Rational& value, std::int64_t exponent) {
    Fmpz power;
    fmpz_ui_pow_ui(power.get(), 10,
                   static_cast<unsigned long>(exponent < 0 ? -exponent : exponent));
    if (exponent < 0) {
        fmpq_div_fmpz(value.get(), value.get(), power.get());
    } else {
        fmpq_mul_fmpz(value.get(), value.get(), power.get());
    }
}

// Unsigned 128-bit integers (a GCC and Clang extension), for the usual long
// decimal: one of up to 37 digits, between 2^-73 and 2^53, whose two
// intervals have bounds that fit. FLINT's general routine costs several
// times more, which a batch of thousands of files would feel.
__extension__ using Wide = unsigned __int128;

struct WideFraction {
    Wide numerator;
    Wide denominator;
};

// Whether a is simpler than b: a smaller denominator, then a smaller numerator.
bool simpler(const WideFraction& a, const WideFraction& b) {
    return a.denominator != b.denominator ? a.denominator < b.denominator
                                          : a.numerator < b.numerator;
}

// The simplest fraction in [a/b, c/d], 0 <= a/b <= c/d, b and d positive:
// the shortest continued fraction in the interval. Its convergents never
// exceed the result, which is no larger than c and has a denominator no
// larger than d, so nothing overflows.
WideFraction simplest_between(Wide a, Wide b, Wide c, Wide d) {
    Wide h_last = 1;
    Wide h_before = 0;
    Wide k_last = 0;
    Wide k_before = 1;
    for (;;) {
        const Wide whole = a / b;
        // The integer part of every fraction inside when both bounds share
        // it; otherwise the smallest integer inside ends the expansion.
        const bool last = a % b == 0 || whole + 1 <= c / d;
        const Wide term = a % b == 0 ? whole : last ? whole + 1 : whole;
        const Wide h = term * h_last + h_before;
        const Wide k = term * k_last + k_before;
        if (last) {
            return {h, k};
        }
        h_before = h_last;
        h_last = h;
        k_before = k_last;
        k_last = k;
        // Both bounds lie strictly between whole and whole + 1: go on with
        // the reciprocals of their fractional parts, which swap places.
        const Wide next_a = d;
        const Wide next_b = c - whole * d;
        c = b;
        d = a - whole * b;
        a = next_a;
        b = next_b;
    }
}

// The significant digits of a decimal of at most 37 digits as an integer.
Wide wide_digits(const DecimalNumber& number) {
    Wide digits = 0;
    for (std::size_t i = 0; i < number.count; ++i) {
        digits = digits * 10 + static_cast<Wide>(number.digits[i] - '0');
    }
    return digits;
}

// 10^places, places at most 37.
Wide wide_power_of_ten(std::int64_t places) {
    Wide power = 1;
    for (std::int64_t i = 0; i < places; ++i) {
        power *= 10;
    }
    return power;
}

// The simplest fraction meant, in 128-bit integers; false when the bounds
// don't fit. `digits` are the decimal's significant digits (as an integer),
// `places` the number of decimal places of its last digit, `value` its
// non-zero double.
bool simplest_meant_wide(const DecimalNumber& number, std::int64_t places, double value,
                         WideFraction& best) {
    int binary_exponent = 0;
    const double fraction = std::frexp(value, &binary_exponent);
    const int exponent = binary_exponent - 53; // value = mantissa x 2^exponent
    if (number.count > 37 || places < 1 || places > 37 || exponent < -124 || exponent > -1) {
        return false;
    }
    const Wide digits = wide_digits(number);
    const Wide power = wide_power_of_ten(places);
    // Within half a unit of the last written digit.
    best = simplest_between(2 * digits - 1, 2 * power, 2 * digits + 1, 2 * power);
    // Between the midpoints to the neighbouring doubles; below a power of two
    // the neighbour is half as far.
    const auto mantissa = static_cast<Wide>(std::ldexp(fraction, 53));
    const Wide unit = Wide{1} << (1 - exponent); // 2 / 2^exponent
    const WideFraction rounds =
        mantissa == Wide{1} << 52
            ? simplest_between(4 * mantissa - 1, 2 * unit, 2 * mantissa + 1, unit)
            : simplest_between(2 * mantissa - 1, unit, 2 * mantissa + 1, unit);
    if (simpler(rounds, best)) {
        best = rounds;
    }
    return true;
}

// The simplest fraction strictly within half a unit of the last digit of a
// short decimal, in 128-bit integers; false when the bounds don't fit. The
// closed interval is narrowed by 1 / (2 10^places K) at each end: a fraction
// of denominator below K inside the open interval is farther than that from
// both ends, and only such fractions pass the rule of SHORT_READING_MARGIN.
bool short_meant_wide(const DecimalNumber& number, std::int64_t places, WideFraction& best) {
    constexpr Wide K = Wide{1} << 21;
    if (number.count > 15 || places < 1 || places > 30) {
        return false;
    }
    const Wide digits = wide_digits(number);
    const Wide power = wide_power_of_ten(places);
    const Wide scale = 2 * power * K;
    best = simplest_between((2 * digits - 1) * K + 1, scale, (2 * digits + 1) * K - 1, scale);
    return true;
}

// Whether a fraction p/q is clearly what d significant digits determine:
// q^2 x SHORT_READING_MARGIN <= 10^d.
bool clearly_meant(const Rational& fraction, const DecimalNumber& number) {
    Fmpz bound;
    fmpz_ui_pow_ui(bound.get(), 10, static_cast<ulong>(number.count));
    Fmpz square;
    fmpz_mul(square.get(), fmpq_denref(fraction.get()), fmpq_denref(fraction.get()));
    fmpz_mul_si(square.get(), square.get(), SHORT_READING_MARGIN);
    return fmpz_cmp(square.get(), bound.get()) <= 0;
}

// The fraction reading of a short decimal (fewer than TWO_READINGS_DIGITS
// digits): the simplest fraction strictly within half a unit of its last
// digit, when the rule of SHORT_READING_MARGIN holds for it and its
// denominator is smaller than the decimal's own; otherwise the decimal.
void short_meant(const DecimalNumber& number, const Rational& magnitude, Rational& meant,
                 bool& determined) {
    meant = magnitude;
    determined = true;
    const std::int64_t places = static_cast<std::int64_t>(number.count) - number.scale;
    WideFraction best{};
    if (fmpz_is_one(fmpq_denref(magnitude.get())) || !short_meant_wide(number, places, best)) {
        return; // an integer, or a decimal too far from 1 to be meant as a fraction
    }
    Rational candidate;
    fmpz_set_uiui(fmpq_numref(candidate.get()), static_cast<mp_limb_t>(best.numerator >> 64),
                  static_cast<mp_limb_t>(best.numerator));
    fmpz_set_uiui(fmpq_denref(candidate.get()), static_cast<mp_limb_t>(best.denominator >> 64),
                  static_cast<mp_limb_t>(best.denominator));
    const bool clear = clearly_meant(candidate, number);
    const int simpler = fmpz_cmp(fmpq_denref(candidate.get()), fmpq_denref(magnitude.get()));
    determined = simpler >= 0 || clear;
    if (simpler < 0 && clear) {
        meant = std::move(candidate);
    }
}

// Replaces `best` by the simplest fraction in [low, high] when that is
// simpler (smaller denominator, then smaller numerator magnitude) or `best`
// is not set yet. The bounds are non-negative.
void keep_simpler_between(const Rational& low, const Rational& high, Rational& best, bool& found) {
    Rational candidate;
    fmpq_simplest_between(candidate.get(), low.get(), high.get());
    const int denominators = fmpz_cmp(fmpq_denref(candidate.get()), fmpq_denref(best.get()));
    if (!found || denominators < 0 ||
        (denominators == 0 &&
         fmpz_cmpabs(fmpq_numref(candidate.get()), fmpq_numref(best.get())) < 0)) {
        best = std::move(candidate);
        found = true;
    }
}

// The midpoints between a finite non-negative double and its neighbours:
// every real strictly between them rounds to it. Whether a midpoint itself
// does (ties to even) doesn't matter: the double lies inside with a smaller
// denominator than either midpoint, so no midpoint is ever the simplest.
void rounding_interval(double value, Rational& low, Rational& high) {
    const double below = std::nextafter(value, 0.0);
    const double above = std::nextafter(value, std::numeric_limits<double>::infinity());
    const Rational exact = exact_rational(value);
    fmpq_add(low.get(), exact.get(), exact_rational(below).get());
    fmpq_div_2exp(low.get(), low.get(), 1);
    if (std::isfinite(above)) {
        fmpq_add(high.get(), exact.get(), exact_rational(above).get());
        fmpq_div_2exp(high.get(), high.get(), 1);
    } else { // the largest double: the next step up would be as wide as the last
        fmpq_sub(high.get(), exact.get(), exact_rational(below).get());
        fmpq_div_2exp(high.get(), high.get(), 1);
        fmpq_add(high.get(), exact.get(), high.get());
    }
}

// The same as simplest_meant_wide for any decimal, in FLINT's rationals.
// `magnitude` is the decimal's exact absolute value, `unit_exponent` the
// power of ten of its last written digit.
void simplest_meant_exact(const Rational& magnitude, std::int64_t unit_exponent, double value,
                          Rational& best) {
    Rational half_unit(1, 2);
    scale_by_power_of_ten(half_unit, unit_exponent);
    Rational low;
    Rational high;
    fmpq_sub(low.get(), magnitude.get(), half_unit.get());
    fmpq_add(high.get(), magnitude.get(), half_unit.get());
    if (fmpq_sgn(low.get()) < 0) {
        fmpq_zero(low.get());
    }
    bool found = false;
    keep_simpler_between(low, high, best, found);
    rounding_interval(value, low, high);
    keep_simpler_between(low, high, best, found);
}

// The simplest fraction the writer of a long decimal may have meant: the
// simplest within half a unit of the last written digit, or, when it is
// simpler, the simplest that rounds to the same double. It replaces the
// decimal only with a smaller denominator: a written integer, or a decimal
// already as simple, stays as written. `magnitude` is the decimal's exact
// absolute value, `value` its double (non-negative).
void simplest_meant(const DecimalNumber& number, const Rational& magnitude, double value,
                    Rational& meant) {
    const std::int64_t unit_exponent = number.scale - static_cast<std::int64_t>(number.count);
    meant = magnitude;
    // A double of 0 (a decimal below the smallest denormal) has no
    // neighbours worth matching, and an integer has no simpler fraction.
    if (value == 0.0 || fmpz_is_one(fmpq_denref(magnitude.get()))) {
        return;
    }
    Rational candidate;
    if (WideFraction best{}; simplest_meant_wide(number, -unit_exponent, value, best)) {
        fmpz_set_uiui(fmpq_numref(candidate.get()), static_cast<mp_limb_t>(best.numerator >> 64),
                      static_cast<mp_limb_t>(best.numerator));
        fmpz_set_uiui(fmpq_denref(candidate.get()), static_cast<mp_limb_t>(best.denominator >> 64),
                      static_cast<mp_limb_t>(best.denominator));
    } else {
        simplest_meant_exact(magnitude, unit_exponent, value, candidate);
    }
    if (fmpz_cmp(fmpq_denref(candidate.get()), fmpq_denref(magnitude.get())) < 0) {
        meant = std::move(candidate);
    }
}

} // namespace

int read_decimal(const DecimalNumber& number, double value, CoefficientReading& reading) {
    reading.value = value;
    if (number.count == 0) {
        return LOAD_OK; // a zero, however written: both readings stay 0
    }
    if (number.dropped > 0 || number.scale - 1 < MIN_LEADING_EXPONENT || !std::isfinite(value)) {
        return LOAD_BEYOND_EXACT_LIMITS;
    }
    Rational& exact = reading.as_written;
    digits_to_integer(number, fmpq_numref(exact.get()));
    fmpz_one(fmpq_denref(exact.get()));
    scale_by_power_of_ten(exact, number.scale - static_cast<std::int64_t>(number.count));
    if (number.count >= static_cast<std::size_t>(TWO_READINGS_DIGITS)) {
        simplest_meant(number, exact, std::fabs(value), reading.intended);
        reading.determined = reading.intended == exact || clearly_meant(reading.intended, number);
    } else {
        short_meant(number, exact, reading.intended, reading.determined);
    }
    reading.significant_digits = static_cast<int>(number.count);
    const std::int64_t unit_exponent = number.scale - static_cast<std::int64_t>(number.count);
    if (unit_exponent < 0) {
        reading.half_unit = Rational(1, 2);
        scale_by_power_of_ten(reading.half_unit, unit_exponent);
    }
    if (number.negative) {
        fmpq_neg(exact.get(), exact.get());
        fmpq_neg(reading.intended.get(), reading.intended.get());
    }
    reading.two_readings = !(reading.intended == reading.as_written);
    return LOAD_OK;
}

int read_fraction(const DecimalNumber& numerator, const DecimalNumber& denominator,
                  CoefficientReading& reading) {
    if (numerator.dropped > 0 || denominator.dropped > 0) {
        return LOAD_BEYOND_EXACT_LIMITS;
    }
    if (denominator.count == 0) {
        return LOAD_ZERO_DENOMINATOR;
    }
    // Both are integers: no point, no exponent, so their significant digits
    // (trailing zeros included) are the whole value.
    Fmpz top;
    Fmpz bottom;
    digits_to_integer(numerator, top.get());
    if (numerator.negative) {
        fmpz_neg(top.get(), top.get());
    }
    digits_to_integer(denominator, bottom.get());
    reading.value = nearest_double(top.get(), bottom.get());
    fmpq_set_fmpz_frac(reading.as_written.get(), top.get(), bottom.get());
    if (!std::isfinite(reading.value)) {
        return LOAD_BEYOND_EXACT_LIMITS;
    }
    reading.intended = reading.as_written;
    reading.two_readings = false;
    return LOAD_OK;
}

} // namespace ordimet::analyse
