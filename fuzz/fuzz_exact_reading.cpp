// Fuzz target: one method file read exactly (fractions, the fraction meant,
// the limits), whatever its bytes, and held against ordimet's own reading of
// the same bytes.
#include "analyse/reading/reading.hpp"
#include "support/temp_files.hpp"

#include <arf.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using namespace ordimet;
using namespace ordimet::analyse;

// The nearest double to an exact rational, when it is a normal one.
bool nearest_normal_double(const Rational& value, double& out) {
    arf_t rounded;
    arf_init(rounded);
    arf_set_fmpq(rounded, value.get(), 53, ARF_RND_NEAR);
    const bool normal = arf_is_zero(rounded) != 0 || (arf_cmpabs_2exp_si(rounded, -1022) >= 0 &&
                                                      arf_cmpabs_2exp_si(rounded, 1024) < 0);
    out = arf_get_d(rounded, ARF_RND_NEAR);
    arf_clear(rounded);
    return normal;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ordimet::scratch::TempDir dir;
    const std::string name = dir.write("method", {reinterpret_cast<const char*>(data), size});
    ExactMethodFile exact;
    const Failure code = read_exact_method_file(name.c_str(), exact);

    int k = 0;
    int m = 0;
    CoefficientSet doubles = nullptr;
    const int plain = read_method_file(name.c_str(), k, m, doubles);
    const bool has_slash = std::memchr(data, '/', size) != nullptr;
    if (plain == LOAD_OK && !has_slash) {
        // Every file ordimet accepts is read alike, or refused for a limit.
        check(code == Failure::NONE || code == Failure::BEYOND_EXACT_LIMITS);
    }
    if (code == Failure::NONE) {
        check(k == exact.k && m == exact.m);
        check(has_slash || plain == LOAD_OK);
        for (std::size_t i = 0; i < exact.coefficients.size(); ++i) {
            const CoefficientReading& reading = exact.coefficients[i];
            if (plain == LOAD_OK) {
                check(std::memcmp(&reading.value, &doubles[i], sizeof(double)) == 0);
            }
            double nearest = 0.0;
            if (nearest_normal_double(reading.as_written, nearest)) {
                check(nearest == reading.value);
            }
            check(reading.two_readings == !(reading.intended == reading.as_written));
            if (reading.two_readings) {
                check(fmpz_cmp(fmpq_denref(reading.intended.get()),
                               fmpq_denref(reading.as_written.get())) < 0);
            }
        }
    }
    release_block(doubles);
    return 0;
}
