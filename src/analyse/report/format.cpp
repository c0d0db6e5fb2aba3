#include "analyse/report/format.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ordimet::analyse {

std::string decimal_text(double value) {
    // The sign of a NaN is an accident of the processor: not shown, as in
    // ordimet's own report.
    if (std::isnan(value)) {
        return "nan";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value == 0.0 ? 0.0 : value);
    return text;
}

std::string short_number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    std::string result = text;
    // "1e-06" as "1e-6": the exponent without its leading zeros.
    const std::size_t e = result.find('e');
    if (e != std::string::npos) {
        std::size_t digits = e + 2;
        while (digits + 1 < result.size() && result[digits] == '0') {
            result.erase(digits, 1);
        }
    }
    return result;
}

void rational_text(const Rational& value, std::string& text) {
    const fmpz numerator = *fmpq_numref(value.get());
    const fmpz denominator = *fmpq_denref(value.get());
    if (COEFF_IS_MPZ(numerator) || COEFF_IS_MPZ(denominator)) {
        text = value.text();
        return;
    }
    char digits[24]; // a word's 19 digits and a sign
    text.assign(digits, std::to_chars(digits, digits + sizeof digits, numerator).ptr);
    if (denominator != 1) {
        text += '/';
        text.append(digits, std::to_chars(digits, digits + sizeof digits, denominator).ptr);
    }
}

std::string rational_text(const Rational& value) {
    std::string text;
    rational_text(value, text);
    return text;
}

void append_polynomial(std::span<const Rational> coefficients, std::string& out) {
    bool first = true;
    std::string c;
    for (std::size_t j = coefficients.size(); j-- > 0;) {
        rational_text(coefficients[j], c);
        if (c == "0") {
            continue;
        }
        const bool negative = c[0] == '-';
        const std::string magnitude = negative ? c.substr(1) : c;
        if (first) {
            out += negative ? "-" : "";
        } else {
            out += negative ? " - " : " + ";
        }
        first = false;
        if (j == 0) {
            out += magnitude;
            continue;
        }
        if (magnitude != "1") {
            out += magnitude;
            out += ' ';
        }
        out += 'z';
        if (j > 1) {
            out += '^';
            out += std::to_string(j);
        }
    }
    if (first) {
        out += '0';
    }
}

// Left to us: the exact value is shown when it takes at most 15
// characters, the fractions of methods written as fractions (6/11,
// 28350/91463); the end of a method written with decimals is a fraction of
// some 20 to 40 digits that says nothing the decimals don't, and is left
// to the JSON.
std::string interval_end_text(const IntervalEnd& end) {
    constexpr std::size_t SHORT_FRACTION = 15;
    if (end.kind != IntervalEnd::Kind::FINITE) {
        return end.kind == IntervalEnd::Kind::INFINITE ? "inf" : "";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", end.value);
    if (end.exact.empty() || end.exact == text || end.exact.size() > SHORT_FRACTION) {
        return text;
    }
    return end.exact + " = " + text;
}

// A number of the table: "-" for an undefined one, "inf" beyond the doubles.
std::string table_number(double value, bool scientific) {
    if (std::isnan(value)) {
        return "-";
    }
    if (std::isinf(value)) {
        return value > 0.0 ? "inf" : "-inf";
    }
    char text[40];
    if (scientific) {
        std::snprintf(text, sizeof text, "%.6e", value);
    } else {
        std::snprintf(text, sizeof text, "%.2f", value);
    }
    return text;
}

} // namespace ordimet::analyse
