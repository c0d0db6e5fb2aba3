// Method files read exactly: ordimet's reader and loading loop, with a sink
// that keeps every coefficient's readings beside ordimet's double.

#include "analyse/reading/number_readings.hpp"
#include "analyse/reading/reading.hpp"

#include <new>

namespace ordimet::analyse {
namespace {

// The one way out of memory inside ordimet's reader, which is built without
// exceptions: an allocation that fails there ends the reading with
// LOAD_NO_MEMORY, as ordimet's own allocations do.
template <class Step> int without_exceptions(Step step) noexcept {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        return LOAD_NO_MEMORY;
    }
}

// Keeps the exact readings of every coefficient as the reader meets them.
class ExactSink final : public CoefficientSink {
  public:
    ExactSink(std::vector<CoefficientReading>& readings, std::size_t& long_digits_left)
        : readings_(readings), long_digits_left_(long_digits_left) {}

    int start(std::size_t count) override {
        return without_exceptions([&] {
            readings_.reserve(count);
            return LOAD_OK;
        });
    }

    int decimal(std::size_t, const DecimalNumber& number, double value) override {
        if (!take_long_digits(number)) {
            return LOAD_BEYOND_EXACT_LIMITS;
        }
        return without_exceptions(
            [&] { return read_decimal(number, value, readings_.emplace_back()); });
    }

    int fraction(std::size_t, const DecimalNumber& numerator, const DecimalNumber& denominator,
                 double& value) override {
        if (!take_long_digits(numerator) || !take_long_digits(denominator)) {
            return LOAD_BEYOND_EXACT_LIMITS;
        }
        return without_exceptions([&] {
            CoefficientReading& reading = readings_.emplace_back();
            const int result = read_fraction(numerator, denominator, reading);
            value = reading.value;
            return result;
        });
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

    std::vector<CoefficientReading>& readings_;
    std::size_t& long_digits_left_;
};

// Reads one file, charging its long digits to what the run has left.
int read_file(const char* name, ExactMethodFile& out, std::size_t& long_digits_left) {
    out.k = 0;
    out.m = 0;
    out.coefficients.clear();
    const int named = without_exceptions([&] {
        out.name = name;
        return LOAD_OK;
    });
    if (named != LOAD_OK) {
        return named;
    }
    ExactSink sink(out.coefficients, long_digits_left);
    // The reader's own doubles are copied into the readings; its set is only
    // scratch, released on every path.
    struct ReleaseOnReturn {
        CoefficientSet set = nullptr;
        ~ReleaseOnReturn() { release_block(set); }
    } scratch;
    return read_method_file(name, out.k, out.m, scratch.set, sink);
}

// The files of a run, each into its own ExactMethodFile, for the loading loop.
class ExactReader final : public FileReader {
  public:
    ExactReader(std::span<const char* const> names, std::vector<ExactMethodFile>& out)
        : names_(names), out_(out) {}
    int read(std::size_t index, int& k, int& m) override {
        ExactMethodFile& file = out_[index];
        const int result = read_file(names_[index], file, long_digits_left_);
        k = file.k;
        m = file.m;
        return result;
    }

  private:
    std::span<const char* const> names_;
    std::vector<ExactMethodFile>& out_;
    std::size_t long_digits_left_ = MAX_LONG_DIGITS;
};

// ordimet's result codes, and the exact reading's own, in the analyses'
// vocabulary: the one place where they are mapped.
Failure failure_of(int code) {
    switch (code) {
    case LOAD_OK:
        return Failure::NONE;
    case LOAD_MALFORMED:
        return Failure::MALFORMED;
    case LOAD_UNREADABLE:
        return Failure::UNREADABLE;
    case LOAD_DIFFERENT_SHAPES:
        return Failure::DIFFERENT_SHAPES;
    case LOAD_ORDER_NOT_POSITIVE:
        return Failure::ORDER_NOT_POSITIVE;
    case LOAD_STEP_NOT_POSITIVE:
        return Failure::STEP_NOT_POSITIVE;
    case LOAD_ZERO_DENOMINATOR:
        return Failure::ZERO_DENOMINATOR;
    case LOAD_BEYOND_EXACT_LIMITS:
        return Failure::BEYOND_EXACT_LIMITS;
    default: // LOAD_NO_MEMORY
        return Failure::BEYOND_LIMITS;
    }
}

} // namespace

Failure read_exact_method_file(const char* name, ExactMethodFile& out) {
    std::size_t long_digits_left = MAX_LONG_DIGITS;
    return failure_of(read_file(name, out, long_digits_left));
}

Failure load_exact_method_files(std::span<const char* const> names,
                                std::vector<ExactMethodFile>& out, std::size_t& failing) {
    // Every file's record is there before the loop, so that reading one
    // allocates only inside the guarded sink.
    out.resize(names.size());
    ExactReader reader(names, out);
    int k = 0;
    int m = 0;
    const int result = load_files(names.size(), reader, k, m, failing);
    out.resize(std::min(out.size(), failing + 1));
    return failure_of(result);
}

} // namespace ordimet::analyse
