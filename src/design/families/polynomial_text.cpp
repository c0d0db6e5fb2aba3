#include "design/families/polynomial_text.hpp"

#include "analyse/exact/flint_handles.hpp"

#include <cctype>
#include <cstdlib>

namespace ordimet::design {
namespace {

using analyse::Fmpz;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The digits that start text at `at`; `at` is moved past them.
std::string_view digits_at(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && is_digit(text[at])) {
        ++at;
    }
    return text.substr(start, at - start);
}

void set_integer(fmpz_t out, std::string_view digits) {
    const std::string text(digits);
    fmpz_set_str(out, text.c_str(), 10);
}

// p/q: digits (the numerator's sign is read already), '/', digits, q > 0.
bool parse_fraction(std::string_view numerator, std::string_view rest, bool negative,
                    Rational& value) {
    std::size_t at = 0;
    const std::string_view denominator = digits_at(rest, at);
    if (numerator.empty() || denominator.empty() || at != rest.size()) {
        return false;
    }
    Fmpz p;
    Fmpz q;
    set_integer(p.get(), numerator);
    set_integer(q.get(), denominator);
    if (fmpz_is_zero(q.get())) {
        return false;
    }
    fmpq_set_fmpz_frac(value.get(), p.get(), q.get());
    if (negative) {
        fmpq_neg(value.get(), value.get());
    }
    return true;
}

// The exponent of a decimal: e or E, an optional sign, digits, up to the end.
bool parse_exponent(std::string_view text, long& exponent) {
    std::size_t at = 1;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    const std::string_view digits = digits_at(text, at);
    if (digits.empty() || at != text.size() || digits.size() > 6) {
        return false;
    }
    exponent = std::strtol(std::string(digits).c_str(), nullptr, 10);
    exponent = negative ? -exponent : exponent;
    return exponent >= -MAX_DECIMAL_EXPONENT && exponent <= MAX_DECIMAL_EXPONENT;
}

// The next word of `text` from `at` on, blanks skipped, and `at` moved past
// it; empty at the end. With `pairs`, a word that starts with '(' runs to
// the next ')' (blanks inside), or to the end when there is none.
std::string_view next_token(std::string_view text, std::size_t& at, bool pairs) {
    while (at < text.size() && is_blank(text[at])) {
        ++at;
    }
    const std::size_t start = at;
    if (pairs && at < text.size() && text[at] == '(') {
        const std::size_t close = text.find(')', at);
        at = close == std::string_view::npos ? text.size() : close + 1;
    } else {
        while (at < text.size() && !is_blank(text[at])) {
            ++at;
        }
    }
    return text.substr(start, at - start);
}

// The polynomial times the factor (both with coefficient j at index j).
void multiply(std::vector<Rational>& poly, const std::vector<Rational>& factor) {
    std::vector<Rational> product(poly.size() + factor.size() - 1);
    for (std::size_t i = 0; i < poly.size(); ++i) {
        for (std::size_t j = 0; j < factor.size(); ++j) {
            fmpq_addmul(product[i + j].get(), poly[i].get(), factor[j].get());
        }
    }
    poly = std::move(product);
}

// "(re,mod2)" with blanks allowed inside: the factor z^2 - 2 re z + mod2 of
// a pair of complex roots, re^2 < mod2.
bool pair_factor(std::string_view inside, std::vector<Rational>& factor) {
    const std::size_t comma = inside.find(',');
    if (comma == std::string_view::npos) {
        return false;
    }
    const auto trimmed = [](std::string_view part) {
        while (!part.empty() && is_blank(part.front())) {
            part.remove_prefix(1);
        }
        while (!part.empty() && is_blank(part.back())) {
            part.remove_suffix(1);
        }
        return part;
    };
    Rational re;
    Rational mod2;
    if (!parse_number(trimmed(inside.substr(0, comma)), re) ||
        !parse_number(trimmed(inside.substr(comma + 1)), mod2)) {
        return false;
    }
    Rational square;
    fmpq_mul(square.get(), re.get(), re.get());
    if (fmpq_cmp(square.get(), mod2.get()) >= 0) {
        return false;
    }
    factor.assign(3, Rational());
    factor[0] = mod2;
    fmpq_mul_si(factor[1].get(), re.get(), -2);
    fmpq_one(factor[2].get());
    return true;
}

} // namespace

bool parse_number(std::string_view text, Rational& value) {
    if (text.empty() || text.size() > MAX_NUMBER_LENGTH) {
        return false;
    }
    std::size_t at = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+') {
        ++at;
    }
    const std::string_view whole = digits_at(text, at);
    if (at < text.size() && text[at] == '/') {
        return parse_fraction(whole, text.substr(at + 1), negative, value);
    }
    std::string_view fraction;
    if (at < text.size() && text[at] == '.') {
        ++at;
        fraction = digits_at(text, at);
    }
    long exponent = 0;
    if ((whole.empty() && fraction.empty()) ||
        (at < text.size() &&
         ((text[at] != 'e' && text[at] != 'E') || !parse_exponent(text.substr(at), exponent)))) {
        return false;
    }
    // The digits as one integer, over (or times) the power of ten that the
    // point and the exponent make.
    Fmpz numerator;
    Fmpz denominator;
    set_integer(numerator.get(), std::string(whole) + std::string(fraction));
    exponent -= static_cast<long>(fraction.size());
    Fmpz power;
    fmpz_ui_pow_ui(power.get(), 10, static_cast<unsigned long>(std::labs(exponent)));
    fmpz_one(denominator.get());
    fmpz_mul(exponent < 0 ? denominator.get() : numerator.get(),
             exponent < 0 ? denominator.get() : numerator.get(), power.get());
    fmpq_set_fmpz_frac(value.get(), numerator.get(), denominator.get());
    if (negative) {
        fmpq_neg(value.get(), value.get());
    }
    return true;
}

bool parse_coefficients(std::string_view text, std::vector<Rational>& coefficients,
                        std::string& bad) {
    coefficients.clear();
    std::size_t at = 0;
    for (std::string_view token = next_token(text, at, false); !token.empty();
         token = next_token(text, at, false)) {
        coefficients.emplace_back();
        if (!parse_number(token, coefficients.back())) {
            bad = token;
            return false;
        }
    }
    return true;
}

bool parse_roots(std::string_view text, std::vector<Rational>& coefficients, std::string& bad) {
    coefficients.assign(1, Rational(1, 1));
    std::vector<Rational> factor;
    std::size_t at = 0;
    for (std::string_view token = next_token(text, at, true); !token.empty();
         token = next_token(text, at, true)) {
        bool read = false;
        if (token.front() == '(') {
            read = token.back() == ')' && pair_factor(token.substr(1, token.size() - 2), factor);
        } else {
            factor.assign(2, Rational(1, 1));
            read = parse_number(token, factor[0]);
            fmpq_neg(factor[0].get(), factor[0].get());
        }
        if (!read) {
            bad = token;
            return false;
        }
        multiply(coefficients, factor);
    }
    return true;
}

} // namespace ordimet::design
