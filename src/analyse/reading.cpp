#include "analyse/reading.hpp"

#include <algorithm>
#include <arf.h>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

namespace ordimet::analyse {

namespace {

// A non-zero decimal whose first digit stands below 10^MIN_LEADING_EXPONENT
// is beyond the exact reading: its exact value would need a power of ten as
// long as the exponent written, which a file can make a billion digits long.
constexpr std::int64_t MIN_LEADING_EXPONENT = -400;

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

// The simplest fraction the writer of a long decimal may have meant: the
// simplest within half a unit of the last written digit, or, when it is
// simpler, the simplest that rounds to the same double. `magnitude` is the
// decimal's exact absolute value, `unit_exponent` the power of ten of its
// last written digit, `value` its double (non-negative).
void simplest_meant(const fmpq_t magnitude, std::int64_t unit_exponent, double value, fmpq_t best) {
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
    // no midpoint is ever the simplest. A zero double is left out: the
    // decimal then has no double worth matching.
    if (value > 0.0) {
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
    }
    fmpq_clear(high);
    fmpq_clear(low);
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
    const std::int64_t unit_exponent = number.scale - static_cast<std::int64_t>(number.count);
    fmpq* exact = reading.as_written.get();
    digits_to_integer(number, fmpq_numref(exact));
    fmpz_one(fmpq_denref(exact));
    scale_by_power_of_ten(exact, unit_exponent);
    if (number.count >= static_cast<std::size_t>(TWO_READINGS_DIGITS)) {
        fmpq* meant = reading.intended.get();
        simplest_meant(exact, unit_exponent, std::fabs(value), meant);
        if (number.negative) {
            fmpq_neg(meant, meant);
        }
    }
    if (number.negative) {
        fmpq_neg(exact, exact);
    }
    if (number.count < static_cast<std::size_t>(TWO_READINGS_DIGITS)) {
        fmpq_set(reading.intended.get(), exact);
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
    explicit ExactSink(std::vector<CoefficientReading>& readings) : readings_(readings) {}

    int decimal(std::size_t, const DecimalNumber& number, double value) override {
        CoefficientReading* reading = next();
        return reading == nullptr ? LOAD_NO_MEMORY : read_decimal(number, value, *reading);
    }

    int fraction(std::size_t, const DecimalNumber& numerator, const DecimalNumber& denominator,
                 double& value) override {
        CoefficientReading* reading = next();
        if (reading == nullptr) {
            return LOAD_NO_MEMORY;
        }
        const int result = read_fraction(numerator, denominator, *reading);
        value = reading->value;
        return result;
    }

  private:
    // A new reading at the end, or null when memory is short.
    CoefficientReading* next() {
        try {
            return &readings_.emplace_back();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }

    std::vector<CoefficientReading>& readings_;
};

} // namespace

int read_exact_method_file(const char* name, ExactMethodFile& out) {
    out.name = name;
    out.k = 0;
    out.m = 0;
    out.coefficients.clear();
    ExactSink sink(out.coefficients);
    // The reader's own doubles are copied into the readings; its set is only
    // scratch, released on every path.
    struct ReleaseOnReturn {
        CoefficientSet set = nullptr;
        ~ReleaseOnReturn() { release_block(set); }
    } scratch;
    return read_method_file(name, out.k, out.m, scratch.set, sink);
}

int load_exact_method_files(std::span<const char* const> names, std::vector<ExactMethodFile>& out,
                            std::size_t& failing) {
    out.clear();
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
        const int result = read_exact_method_file(names[failing], file);
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
    if (reference_step <= 0) {
        return LOAD_STEP_NOT_POSITIVE;
    }
    if (reference_order <= 0) {
        return LOAD_ORDER_NOT_POSITIVE;
    }
    return LOAD_OK;
}

std::string load_error_message(int code, const std::string& name) {
    std::string text;
    switch (code) {
    case LOAD_ZERO_DENOMINATOR:
        text = "Erro na leitura do arquivo " + name + ": fracao com denominador zero.";
        break;
    case LOAD_BEYOND_EXACT_LIMITS:
        text = "Erro na leitura do arquivo " + name +
               ": numero alem dos limites da leitura exata (ate 800 algarismos "
               "significativos, valor finito em dupla precisao, primeiro algarismo "
               "a partir de 10^-400).";
        break;
    default:
        text = load_error_text(code, name.c_str());
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        break;
    }
    return text;
}

} // namespace ordimet::analyse
