#include "analyse/reading.hpp"

#include <algorithm>
#include <arf.h>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

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

// out = value x 10^exponent, exactly.
void scale_by_power_of_ten(fmpq_t value, std::int64_t exponent) {
    fmpz_t power;
    fmpz_init(power);
    fmpz_ui_pow_ui(power, 10, static_cast<unsigned long>(exponent < 0 ? -exponent : exponent));
    if (exponent < 0) {
        fmpq_div_fmpz(value, value, power);
    } else {
        fmpq_mul_fmpz(value, value, power);
    }
    fmpz_clear(power);
}

// The exact rational of a double.
void double_to_rational(double value, fmpq_t out) {
    arf_t exact;
    arf_init(exact);
    arf_set_d(exact, value);
    arf_get_fmpq(out, exact);
    arf_clear(exact);
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
    Wide digits = 0;
    for (std::size_t i = 0; i < number.count; ++i) {
        digits = digits * 10 + static_cast<Wide>(number.digits[i] - '0');
    }
    Wide power = 1;
    for (std::int64_t i = 0; i < places; ++i) {
        power *= 10;
    }
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

// Sets `best` to the simplest fraction in [low, high] when it is simpler than
// `best` already is (smaller denominator, then smaller numerator magnitude).
// The bounds are non-negative.
void keep_simpler_between(const fmpq_t low, const fmpq_t high, fmpq_t best, bool& found) {
    fmpq_t candidate;
    fmpq_init(candidate);
    fmpq_simplest_between(candidate, low, high);
    const int denominators = fmpz_cmp(fmpq_denref(candidate), fmpq_denref(best));
    if (!found || denominators < 0 ||
        (denominators == 0 && fmpz_cmpabs(fmpq_numref(candidate), fmpq_numref(best)) < 0)) {
        fmpq_swap(candidate, best);
        found = true;
    }
    fmpq_clear(candidate);
}

// The same as simplest_meant_wide for any decimal, in FLINT's rationals.
// `magnitude` is the decimal's exact absolute value, `unit_exponent` the
// power of ten of its last written digit.
void simplest_meant_exact(const fmpq_t magnitude, std::int64_t unit_exponent, double value,
                          fmpq_t best) {
    fmpq_t low;
    fmpq_t high;
    fmpq_init(low);
    fmpq_init(high);
    bool found = false;

    fmpq_t half_unit;
    fmpq_init(half_unit);
    fmpq_set_si(half_unit, 1, 2);
    scale_by_power_of_ten(half_unit, unit_exponent);
    fmpq_sub(low, magnitude, half_unit);
    fmpq_add(high, magnitude, half_unit);
    if (fmpq_sgn(low) < 0) {
        fmpq_zero(low);
    }
    keep_simpler_between(low, high, best, found);
    fmpq_clear(half_unit);

    // Every real between the midpoints to the neighbouring doubles rounds to
    // `value`. Whether a midpoint itself does (ties to even) doesn't matter:
    // `value` lies inside with a smaller denominator than either midpoint, so
    // no midpoint is ever the simplest.
    const double below = std::nextafter(value, 0.0);
    const double above = std::nextafter(value, std::numeric_limits<double>::infinity());
    fmpq_t exact;
    fmpq_t neighbour;
    fmpq_init(exact);
    fmpq_init(neighbour);
    double_to_rational(value, exact);
    double_to_rational(below, neighbour);
    fmpq_add(low, exact, neighbour);
    fmpq_div_2exp(low, low, 1);
    if (std::isfinite(above)) {
        double_to_rational(above, neighbour);
        fmpq_add(high, exact, neighbour);
        fmpq_div_2exp(high, high, 1);
    } else { // the largest double: the next step up would be as wide as the last
        fmpq_sub(high, exact, neighbour);
        fmpq_div_2exp(high, high, 1);
        fmpq_add(high, exact, high);
    }
    keep_simpler_between(low, high, best, found);
    fmpq_clear(neighbour);
    fmpq_clear(exact);
    fmpq_clear(high);
    fmpq_clear(low);
}

// The simplest fraction the writer of a long decimal may have meant: the
// simplest within half a unit of the last written digit, or, when it is
// simpler, the simplest that rounds to the same double. It replaces the
// decimal only with a smaller denominator: a written integer, or a decimal
// already as simple, stays as written. `magnitude` is the decimal's exact
// absolute value, `value` its double (non-negative).
void simplest_meant(const DecimalNumber& number, const fmpq_t magnitude, double value,
                    fmpq_t meant) {
    const std::int64_t unit_exponent = number.scale - static_cast<std::int64_t>(number.count);
    fmpq_set(meant, magnitude);
    // A double of 0 (a decimal below the smallest denormal) has no
    // neighbours worth matching, and an integer has no simpler fraction.
    if (value == 0.0 || fmpz_is_one(fmpq_denref(magnitude))) {
        return;
    }
    fmpq_t candidate;
    fmpq_init(candidate);
    if (WideFraction best{}; simplest_meant_wide(number, -unit_exponent, value, best)) {
        fmpz_set_uiui(fmpq_numref(candidate), static_cast<mp_limb_t>(best.numerator >> 64),
                      static_cast<mp_limb_t>(best.numerator));
        fmpz_set_uiui(fmpq_denref(candidate), static_cast<mp_limb_t>(best.denominator >> 64),
                      static_cast<mp_limb_t>(best.denominator));
    } else {
        simplest_meant_exact(magnitude, unit_exponent, value, candidate);
    }
    if (fmpz_cmp(fmpq_denref(candidate), fmpq_denref(magnitude)) < 0) {
        fmpq_swap(candidate, meant);
    }
    fmpq_clear(candidate);
}

// The exact readings of a decimal and its double as ordimet reads it.
int read_decimal(const DecimalNumber& number, double value, CoefficientReading& reading) {
    reading.value = value;
    if (number.count == 0) {
        return LOAD_OK; // a zero, however written: both readings stay 0
    }
    if (number.dropped > 0 || number.scale - 1 < MIN_LEADING_EXPONENT || !std::isfinite(value)) {
        return LOAD_BEYOND_EXACT_LIMITS;
    }
    fmpq* exact = reading.as_written.get();
    digits_to_integer(number, fmpq_numref(exact));
    fmpz_one(fmpq_denref(exact));
    scale_by_power_of_ten(exact, number.scale - static_cast<std::int64_t>(number.count));
    fmpq* meant = reading.intended.get();
    if (number.count >= static_cast<std::size_t>(TWO_READINGS_DIGITS)) {
        simplest_meant(number, exact, std::fabs(value), meant);
    } else {
        fmpq_set(meant, exact);
    }
    if (number.negative) {
        fmpq_neg(exact, exact);
        fmpq_neg(meant, meant);
    }
    reading.two_readings = !(reading.intended == reading.as_written);
    return LOAD_OK;
}

// The nearest double to numerator / denominator (ties to even); the
// denominator is positive and both have at most MAX_KEPT_DIGITS digits.
double nearest_double(const fmpz_t numerator, const fmpz_t denominator) {
    arf_t quotient;
    arf_init(quotient);
    // Correctly rounded to 53 bits; exact as a double in the normal range.
    arf_fmpz_div_fmpz(quotient, numerator, denominator, 53, ARF_RND_NEAR);
    double value = 0.0;
    if (arf_is_zero(quotient) || arf_cmpabs_2exp_si(quotient, -1022) >= 0) {
        value = arf_get_d(quotient, ARF_RND_NEAR); // an infinity beyond the largest double
    } else {
        // Below the normal range a double has fewer than 53 bits, so round
        // once, through the decimal conversion: enough digits of the
        // quotient for a correct rounding and a sticky digit for the rest.
        const auto digits = static_cast<std::int64_t>(DecimalNumber::MAX_KEPT_DIGITS) - 3;
        const std::int64_t shift =
            digits - (static_cast<std::int64_t>(fmpz_sizeinbase(numerator, 10)) -
                      static_cast<std::int64_t>(fmpz_sizeinbase(denominator, 10)));
        fmpz_t scaled;
        fmpz_t power;
        fmpz_t remainder;
        fmpz_init(scaled);
        fmpz_init(power);
        fmpz_init(remainder);
        fmpz_ui_pow_ui(power, 10, static_cast<unsigned long>(shift));
        fmpz_mul(scaled, numerator, power);
        fmpz_abs(scaled, scaled);
        fmpz_tdiv_qr(scaled, remainder, scaled, denominator);
        char* text = fmpz_get_str(nullptr, 10, scaled);
        DecimalNumber number;
        number.negative = fmpz_sgn(numerator) < 0;
        for (const char* c = text; *c != '\0' && number.count < DecimalNumber::MAX_KEPT_DIGITS;
             ++c) {
            number.digits[number.count++] = *c;
        }
        number.dropped_nonzero = !fmpz_is_zero(remainder);
        number.scale = static_cast<std::int64_t>(number.count) - shift;
        value = decimal_to_double(number);
        flint_free(text);
        fmpz_clear(remainder);
        fmpz_clear(power);
        fmpz_clear(scaled);
    }
    arf_clear(quotient);
    return value;
}

// The exact reading of a fraction and its nearest double.
int read_fraction(const DecimalNumber& numerator, const DecimalNumber& denominator,
                  CoefficientReading& reading) {
    if (numerator.dropped > 0 || denominator.dropped > 0) {
        return LOAD_BEYOND_EXACT_LIMITS;
    }
    if (denominator.count == 0) {
        return LOAD_ZERO_DENOMINATOR;
    }
    fmpz_t top;
    fmpz_t bottom;
    fmpz_init(top);
    fmpz_init(bottom);
    // Both are integers: no point, no exponent, so their significant digits
    // (trailing zeros included) are the whole value.
    digits_to_integer(numerator, top);
    if (numerator.negative) {
        fmpz_neg(top, top);
    }
    digits_to_integer(denominator, bottom);
    reading.value = nearest_double(top, bottom);
    fmpq_set_fmpz_frac(reading.as_written.get(), top, bottom);
    fmpz_clear(bottom);
    fmpz_clear(top);
    if (!std::isfinite(reading.value)) {
        return LOAD_BEYOND_EXACT_LIMITS;
    }
    reading.intended = reading.as_written;
    reading.two_readings = false;
    return LOAD_OK;
}

// Keeps the exact readings of every coefficient as the reader meets them.
class ExactSink final : public CoefficientSink {
  public:
    ExactSink(std::vector<CoefficientReading>& readings, std::size_t& long_digits_left)
        : readings_(readings), long_digits_left_(long_digits_left) {}

    int start(std::size_t count) override {
        try {
            readings_.reserve(count);
        } catch (const std::bad_alloc&) {
            return LOAD_NO_MEMORY;
        }
        return LOAD_OK;
    }

    int decimal(std::size_t, const DecimalNumber& number, double value) override {
        if (!take_long_digits(number)) {
            return LOAD_BEYOND_EXACT_LIMITS;
        }
        CoefficientReading* reading = next();
        return reading == nullptr ? LOAD_NO_MEMORY : read_decimal(number, value, *reading);
    }

    int fraction(std::size_t, const DecimalNumber& numerator, const DecimalNumber& denominator,
                 double& value) override {
        if (!take_long_digits(numerator) || !take_long_digits(denominator)) {
            return LOAD_BEYOND_EXACT_LIMITS;
        }
        CoefficientReading* reading = next();
        if (reading == nullptr) {
            return LOAD_NO_MEMORY;
        }
        const int result = read_fraction(numerator, denominator, *reading);
        value = reading->value;
        return result;
    }

  private:
    // Charges the number's digits beyond SHORT_DIGITS to the run; false when
    // they are more than it has left.
    bool take_long_digits(const DecimalNumber& number) {
        const std::size_t digits = number.count + number.dropped;
        const std::size_t long_digits = digits > SHORT_DIGITS ? digits - SHORT_DIGITS : 0;
        if (long_digits > long_digits_left_) {
            return false;
        }
        long_digits_left_ -= long_digits;
        return true;
    }

    // A new reading at the end, or null when memory is short.
    CoefficientReading* next() {
        try {
            return &readings_.emplace_back();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }

    std::vector<CoefficientReading>& readings_;
    std::size_t& long_digits_left_;
};

// Reads one file, charging its long digits to what the run has left.
int read_file(const char* name, ExactMethodFile& out, std::size_t& long_digits_left) {
    out.name = name;
    out.k = 0;
    out.m = 0;
    out.coefficients.clear();
    ExactSink sink(out.coefficients, long_digits_left);
    // The reader's own doubles are copied into the readings; its set is only
    // scratch, released on every path.
    struct ReleaseOnReturn {
        CoefficientSet set = nullptr;
        ~ReleaseOnReturn() { release_block(set); }
    } scratch;
    return read_method_file(name, out.k, out.m, scratch.set, sink);
}

} // namespace

int read_exact_method_file(const char* name, ExactMethodFile& out) {
    std::size_t long_digits_left = MAX_LONG_DIGITS;
    return read_file(name, out, long_digits_left);
}

int load_exact_method_files(std::span<const char* const> names, std::vector<ExactMethodFile>& out,
                            std::size_t& failing) {
    out.clear();
    std::size_t long_digits_left = MAX_LONG_DIGITS;
    int reference_step = 0;
    int reference_order = 0;
    for (failing = 0; failing < names.size(); ++failing) {
        if (failing > 0 && reference_step >= 0) {
            const std::size_t sets = failing + 1;
            if (sets * (2 * static_cast<std::size_t>(reference_step) + 2) >
                MAX_TOTAL_COEFFICIENTS) {
                return LOAD_NO_MEMORY;
            }
        }
        try {
            out.emplace_back();
        } catch (const std::bad_alloc&) {
            return LOAD_NO_MEMORY;
        }
        ExactMethodFile& file = out.back();
        const int result = read_file(names[failing], file, long_digits_left);
        if (result != LOAD_OK) {
            return result;
        }
        if (failing == 0) {
            reference_step = file.k;
            reference_order = file.m;
        }
        if (file.k != reference_step || file.m != reference_order) {
            return LOAD_DIFFERENT_SHAPES;
        }
    }
    return check_step_and_order(reference_step, reference_order);
}

std::string load_error_message(int code, const std::string& name) {
    std::string text;
    switch (code) {
    case LOAD_ZERO_DENOMINATOR:
        text = "Erro na leitura do arquivo " + name + ": fracao com denominador zero.";
        break;
    case LOAD_BEYOND_EXACT_LIMITS:
        // One sentence; the limits themselves are in the manual page.
        text = "Erro na leitura do arquivo " + name +
               ": numero longo, grande ou pequeno demais para a leitura exata.";
        break;
    default: {
        const LoadErrorText words = load_error_text(code);
        text = words.before;
        if (words.names_file) {
            text += name;
        }
        text += words.after;
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        break;
    }
    }
    return text;
}

} // namespace ordimet::analyse
