// Exact readings of the search's option values.

#include "design/search/options.hpp"

#include "analyse/exact/flint_handles.hpp"

#include <algorithm>
#include <cctype>

namespace ordimet::design {
namespace {

// Numbers of the command line are short; a longer one is a mistake.
constexpr std::size_t LONGEST_NUMBER = 40;

bool all_digits(const std::string& text) {
    return !text.empty() && text.size() <= LONGEST_NUMBER &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

bool set_digits(fmpz* out, const std::string& digits) {
    return all_digits(digits) && fmpz_set_str(out, digits.c_str(), 10) == 0;
}

} // namespace

bool parse_rational(const std::string& text, Rational& value) {
    std::string rest = text;
    const bool negative = !rest.empty() && rest[0] == '-';
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
        rest.erase(0, 1);
    }
    analyse::Fmpz numerator;
    analyse::Fmpz denominator;
    fmpz_one(denominator.get());
    const std::size_t slash = rest.find('/');
    const std::size_t point = rest.find('.');
    if (slash != std::string::npos) {
        if (!set_digits(numerator.get(), rest.substr(0, slash)) ||
            !set_digits(denominator.get(), rest.substr(slash + 1)) ||
            fmpz_is_zero(denominator.get())) {
            return false;
        }
    } else if (point != std::string::npos) {
        const std::string whole = rest.substr(0, point);
        const std::string fraction = rest.substr(point + 1);
        if (!set_digits(numerator.get(), (whole.empty() ? "0" : whole) + fraction) ||
            fraction.empty()) {
            return false;
        }
        fmpz_set_ui(denominator.get(), 10);
        fmpz_pow_ui(denominator.get(), denominator.get(), fraction.size());
    } else if (!set_digits(numerator.get(), rest)) {
        return false;
    }
    if (negative) {
        fmpz_neg(numerator.get(), numerator.get());
    }
    fmpq_set_fmpz_frac(value.get(), numerator.get(), denominator.get());
    return true;
}

bool parse_range(const std::string& text, Rational& low, Rational& high) {
    const std::size_t comma = text.find(',');
    return comma != std::string::npos && parse_rational(text.substr(0, comma), low) &&
           parse_rational(text.substr(comma + 1), high);
}

bool parse_coefficient_names(const std::string& text, int k, std::vector<int>& positions,
                             std::string& bad) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string name = text.substr(start, comma - start);
        bad = name;
        start = comma + 1;
        if (name.size() >= 4 && name[1] == '[' && name.back() == ']') {
            name = name.substr(0, 1) + name.substr(2, name.size() - 3); // "B[8]" as "B8"
        }
        const std::string index = name.size() < 2 ? "" : name.substr(1);
        if (index.empty() || (name[0] != 'A' && name[0] != 'B') || !all_digits(index) ||
            index.size() > 3 || std::stoi(index) > k) {
            return false;
        }
        positions.push_back((name[0] == 'A' ? 0 : k + 1) + std::stoi(index));
    }
    bad.clear();
    return true;
}

} // namespace ordimet::design
