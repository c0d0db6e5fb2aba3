#include "methodfile/methodfile.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>

namespace ordimet {

namespace {

// What peek returns when the file can't be read; READ_END at its end.
constexpr int INPUT_FAILED = -2;
constexpr char END_OF_TEXT = 26; // Ctrl-Z

// The next byte without consuming it, READ_END or INPUT_FAILED.
int peek(MethodFile& file) {
    if (file.failed) {
        return INPUT_FAILED;
    }
    if (file.at_end) {
        return READ_END;
    }
    if (file.position == file.length) {
        const long long got =
            platform::read_input_file(file.input, file.buffer, sizeof file.buffer);
        if (got < 0) {
            file.failed = true;
            return INPUT_FAILED;
        }
        if (got == 0) {
            file.at_end = true;
            return READ_END;
        }
        file.before += file.length;
        file.position = 0;
        file.length = static_cast<std::size_t>(got);
    }
    const char c = file.buffer[file.position];
    if (c == END_OF_TEXT) {
        file.at_end = true;
        return READ_END;
    }
    return static_cast<unsigned char>(c);
}

void advance(MethodFile& file) {
    ++file.position;
}

// White space as the C locale classifies it.
bool is_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(int c) {
    return c >= '0' && c <= '9';
}

// Skips white space; returns the first byte after it (not consumed),
// READ_END or INPUT_FAILED.
int skip_space(MethodFile& file) {
    int c = peek(file);
    while (is_space(c)) {
        advance(file);
        c = peek(file);
    }
    return c;
}

// Consumes an optional sign; returns true for '-'.
bool take_sign(MethodFile& file) {
    const int c = peek(file);
    if (c == '+' || c == '-') {
        advance(file);
        return c == '-';
    }
    return false;
}

// Consumes a run of digits into `number`, before or after the decimal point;
// returns whether there was any. Leading zeros are not significant: before
// the point they are dropped, after it they lower the scale.
bool scan_digits(MethodFile& file, DecimalNumber& number, bool after_point) {
    bool any = false;
    for (int c = peek(file); is_digit(c); c = peek(file)) {
        any = true;
        advance(file);
        const bool leading_zero = number.count == 0 && c == '0';
        if (after_point && leading_zero) {
            --number.scale;
        } else if (!after_point && !leading_zero) {
            ++number.scale;
        }
        if (leading_zero) {
            continue;
        }
        if (number.count < DecimalNumber::MAX_KEPT_DIGITS) {
            number.digits[number.count++] = static_cast<char>(c);
        } else {
            ++number.dropped;
            number.dropped_nonzero = number.dropped_nonzero || c != '0';
        }
    }
    return any;
}

// The significand: optional sign, digits with or without a decimal point.
// Returns whether it holds any digit; `point` tells whether it had a point.
bool scan_significand(MethodFile& file, DecimalNumber& number, bool& point) {
    number.negative = take_sign(file);
    bool any = scan_digits(file, number, false);
    point = peek(file) == '.';
    if (point) {
        advance(file);
        any = scan_digits(file, number, true) || any;
    }
    return any;
}

// The optional exponent: e or E, optional sign, digits. Adds it to the
// number's scale; returns false when an exponent mark has no digits.
bool scan_exponent(MethodFile& file, DecimalNumber& number) {
    if (const int c = peek(file); c != 'e' && c != 'E') {
        return true;
    }
    advance(file);
    const bool negative = take_sign(file);
    bool any = false;
    std::int64_t exponent = 0;
    for (int d = peek(file); is_digit(d); d = peek(file)) {
        any = true;
        // Saturate: beyond this every double overflows or underflows.
        exponent = std::min<std::int64_t>(exponent * 10 + (d - '0'), 1'000'000'000);
        advance(file);
    }
    number.scale += negative ? -exponent : exponent;
    return any;
}

enum class Token { Number, Fraction, NoNumber, End, ReadError };

// A character that could go on a number right after a fraction's
// denominator. Decimals keep ordimet's reading, where "1.5.5" is 1.5 then .5;
// a fraction is new syntax, and "1/2.5" or "1/2-3" read as two numbers would
// hide a typing slip, so a fraction followed directly by one of these is no
// number.
bool continues_number(int c) {
    return is_digit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-' || c == '/';
}

// Reads one real number: a significand and an optional exponent or, when
// `denominator` is given and the significand is a plain integer, '/' and the
// digits of a denominator. Consumes characters only while they can still form
// a number; when what was consumed is not a whole number the token is no
// number.
Token scan_real(MethodFile& file, DecimalNumber& number, DecimalNumber* denominator) {
    if (skip_space(file) == READ_END) {
        return Token::End;
    }
    bool point = false;
    bool whole = scan_significand(file, number, point);
    Token kind = Token::Number;
    if (whole && denominator != nullptr && !point && peek(file) == '/') {
        advance(file);
        whole = scan_digits(file, *denominator, false) && !continues_number(peek(file));
        kind = Token::Fraction;
    } else if (whole) {
        whole = scan_exponent(file, number);
    }
    // A read failure anywhere ends every step above at once, and outranks
    // what the consumed characters look like.
    if (file.failed) {
        return Token::ReadError;
    }
    return whole ? kind : Token::NoNumber;
}

// Reads one decimal integer: optional sign and at least one digit.
Token scan_integer(MethodFile& file, long long& value, bool& fits) {
    if (skip_space(file) == READ_END) {
        return Token::End;
    }
    const bool negative = take_sign(file);
    bool any = false;
    bool too_long = false; // more digits than any int has
    long long magnitude = 0;
    for (int c = peek(file); is_digit(c); c = peek(file)) {
        any = true;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 10'000'000'000LL) {
            too_long = true;
            magnitude = 0; // the value no longer matters, only the digits to skip
        }
        advance(file);
    }
    if (file.failed) {
        return Token::ReadError;
    }
    if (!any) {
        return Token::NoNumber;
    }
    value = negative ? -magnitude : magnitude;
    fits = !too_long && value >= INT32_MIN && value <= INT32_MAX;
    return Token::Number;
}

// Reads coefficient i: into set[i] and, when there is a sink, to the sink
// too. Returns LOAD_OK, READ_END, READ_NO_NUMBER or the sink's code.
int read_one_coefficient(MethodFile& file, std::span<double> set, std::size_t i,
                         CoefficientSink* sink) {
    DecimalNumber number;
    DecimalNumber denominator;
    switch (scan_real(file, number, sink != nullptr ? &denominator : nullptr)) {
    case Token::End:
        return READ_END;
    case Token::Number:
        set[i] = decimal_to_double(number);
        return sink != nullptr ? sink->decimal(i, number, set[i]) : LOAD_OK;
    case Token::Fraction:
        return sink->fraction(i, number, denominator, set[i]);
    default:
        return READ_NO_NUMBER;
    }
}

// The 2k + 2 coefficients of a file whose step and order are read, into a
// new set in `slot`, and the check that nothing follows them.
int read_coefficients(MethodFile& file, int k, CoefficientSet& slot, CoefficientSink* sink) {
    if (k > MAX_STEP_COUNT) {
        return LOAD_NO_MEMORY;
    }
    const std::size_t count = 2 * static_cast<std::size_t>(k) + 2;
    alloc_doubles(slot, count);
    if (slot == nullptr) {
        return LOAD_NO_MEMORY;
    }
    if (sink != nullptr) {
        if (const int result = sink->start(count); result != LOAD_OK) {
            return result;
        }
    }
    const std::span<double> set(slot, count);
    for (std::size_t i = 0; i < count; ++i) {
        const int result = read_one_coefficient(file, set, i, sink);
        if (result != LOAD_OK) {
            return result; // READ_END and READ_NO_NUMBER are the load codes of their value
        }
    }
    DecimalNumber scratch;
    switch (scan_real(file, scratch, nullptr)) {
    case Token::End:
        return LOAD_OK;
    case Token::ReadError:
        return LOAD_UNREADABLE; // the rest of the file can't be read: not a well-formed file
    default:
        return LOAD_MALFORMED;
    }
}

int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot,
                     CoefficientSink* sink) {
    MethodFile file;
    if (!open_method_file(name, file)) {
        return LOAD_UNREADABLE;
    }
    // Closes the file on every early return; the last close is made by hand
    // because its outcome decides the result.
    struct CloseOnReturn {
        MethodFile& file;
        ~CloseOnReturn() {
            if (file.open) {
                close_method_file(file);
            }
        }
    } guard{file};
    // A step or order read as READ_END or READ_NO_NUMBER is returned as the
    // code of the same value (LOAD_MALFORMED, LOAD_UNREADABLE), whether the
    // file ended, held no integer there, or held that number.
    k = read_integer(file);
    if (k == READ_NO_NUMBER || k == READ_END) {
        return k;
    }
    m = read_integer(file);
    if (m == READ_NO_NUMBER || m == READ_END) {
        return m;
    }
    if (k < 0) {
        return LOAD_OK;
    }
    if (const int result = read_coefficients(file, k, slot, sink); result != LOAD_OK) {
        return result;
    }
    return close_method_file(file) ? LOAD_OK : LOAD_UNREADABLE;
}

} // namespace

double decimal_to_double(const DecimalNumber& number) {
    if (number.count == 0) {
        return number.negative ? -0.0 : 0.0;
    }
    // Canonical form 0.DDD...e<E>: the kept digits, a sticky 1 standing for
    // non-zero dropped digits, and the decimal exponent clamped to a range
    // where the outcome is already an overflow or an underflow.
    char text[DecimalNumber::MAX_KEPT_DIGITS + 40];
    std::size_t n = 0;
    if (number.negative) {
        text[n++] = '-';
    }
    text[n++] = '0';
    text[n++] = '.';
    std::copy_n(number.digits, number.count, text + n);
    n += number.count;
    if (number.dropped_nonzero) {
        text[n++] = '1';
    }
    const std::int64_t scale = std::clamp<std::int64_t>(number.scale, -100000, 100000);
    text[n++] = 'e';
    *std::to_chars(text + n, text + sizeof text - 1, scale).ptr = '\0';
    // The C library's correctly rounded conversion. The program never sets a
    // locale, so the decimal point is "." (the C locale). Beyond the range of
    // a double it gives an infinity for an overflow and a zero (or the
    // nearest denormal) for an underflow.
    return std::strtod(text, nullptr);
}

NumberScan scan_numbers(const char* name, std::size_t limit) {
    NumberScan scan;
    MethodFile file;
    if (!open_method_file(name, file)) {
        return scan;
    }
    scan.opened = true;
    for (; scan.numbers < limit; ++scan.numbers) {
        const bool ended = skip_space(file) == READ_END;
        const std::size_t start = file.before + file.position;
        DecimalNumber number;
        DecimalNumber denominator;
        const Token token = ended ? Token::End : scan_real(file, number, &denominator);
        if (token != Token::Number && token != Token::Fraction) {
            scan.no_number = token == Token::NoNumber;
            scan.read_error = token == Token::ReadError;
            scan.stopped_at = start;
            break;
        }
        scan.last_number = start;
        scan.last_end = file.before + file.position;
    }
    close_method_file(file);
    return scan;
}

bool open_method_file(const char* name, MethodFile& file) {
    file.position = 0;
    file.length = 0;
    file.at_end = false;
    file.failed = false;
    file.open = platform::open_input_file(name, file.input);
    return file.open;
}

int read_integer(MethodFile& file) {
    long long value = 0;
    bool fits = false;
    switch (scan_integer(file, value, fits)) {
    case Token::End:
        return READ_END;
    case Token::Number:
        // Digits beyond the range of an int are no integer of this format,
        // never a wrapped value.
        return fits ? static_cast<int>(value) : READ_NO_NUMBER;
    default:
        return READ_NO_NUMBER;
    }
}

int read_coefficient(MethodFile& file, std::span<double> set, std::size_t i) {
    return read_one_coefficient(file, set, i, nullptr);
}

bool close_method_file(MethodFile& file) {
    file.open = false;
    return platform::close_input_file(file.input);
}

int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot) {
    return read_method_file(name, k, m, slot, nullptr);
}

int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot,
                     CoefficientSink& sink) {
    return read_method_file(name, k, m, slot, &sink);
}

} // namespace ordimet
