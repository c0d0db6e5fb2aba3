#include "methodfile/methodfile.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace ordimet {

namespace {

constexpr int kEnd = -1;
constexpr int kReadError = -2;
constexpr char kEndOfText = 26; // Ctrl-Z

// The next byte without consuming it, kEnd or kReadError.
int peek(MethodFile& file) {
    if (file.failed) {
        return kReadError;
    }
    if (file.at_end) {
        return kEnd;
    }
    if (file.position == file.length) {
        const long long got =
            platform::read_input_file(file.input, file.buffer, sizeof file.buffer);
        if (got < 0) {
            file.failed = true;
            return kReadError;
        }
        if (got == 0) {
            file.at_end = true;
            return kEnd;
        }
        file.position = 0;
        file.length = static_cast<std::size_t>(got);
    }
    const char c = file.buffer[file.position];
    if (c == kEndOfText) {
        file.at_end = true;
        return kEnd;
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

// Skips white space; returns the first byte after it (not consumed), kEnd or
// kReadError.
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

// The significant digits of a decimal number as they are consumed: leading
// zeros are dropped, the first kMaxDigits digits are kept, and of the rest
// only whether any is non-zero and how many there are. That is enough to
// round any decimal correctly to a double (no double needs more than 768
// significant digits to be told from its neighbours), in constant memory
// however long the token is.
struct Digits {
    static constexpr std::size_t kMaxDigits = 800;
    char kept[kMaxDigits + 1];
    std::size_t count = 0;        // digits kept
    bool dropped_nonzero = false; // whether a dropped digit was not 0
    bool any = false;             // whether any digit at all was seen

    // Adds the next digit of the number.
    void add(int c) {
        any = true;
        if (count == 0 && c == '0') {
            return;
        }
        if (count < kMaxDigits) {
            kept[count++] = static_cast<char>(c);
        } else {
            dropped_nonzero = dropped_nonzero || c != '0';
        }
    }
};

enum class Token { Number, NoNumber, End, ReadError };

Token classify_start(int c) {
    if (c == kEnd) {
        return Token::End;
    }
    if (c == kReadError) {
        return Token::ReadError;
    }
    return Token::Number;
}

// Reads one real number: optional sign, digits with or without a decimal
// point (at least one digit), optional exponent (e or E, optional sign,
// digits). Consumes characters only while they can still form a number;
// when what was consumed is not a whole number the token is no number.
Token scan_real(MethodFile& file, double& value) {
    const Token start = classify_start(skip_space(file));
    if (start != Token::Number) {
        return start;
    }
    const bool negative = take_sign(file);
    Digits digits;
    // The value is 0.<kept digits> x 10^point: point counts the significant
    // digits before the decimal point, less the zeros right after the point
    // that precede the first significant digit.
    std::int64_t point = 0;
    for (int c = peek(file); is_digit(c); c = peek(file)) {
        if (digits.count > 0 || c != '0') {
            ++point;
        }
        digits.add(c);
        advance(file);
    }
    if (peek(file) == '.') {
        advance(file);
        for (int c = peek(file); is_digit(c); c = peek(file)) {
            if (digits.count == 0 && c == '0') {
                --point;
            }
            digits.add(c);
            advance(file);
        }
    }
    if (file.failed) {
        return Token::ReadError;
    }
    if (!digits.any) {
        return Token::NoNumber;
    }
    std::int64_t exponent = 0;
    if (const int c = peek(file); c == 'e' || c == 'E') {
        advance(file);
        const bool negative_exponent = take_sign(file);
        bool exponent_digits = false;
        for (int d = peek(file); is_digit(d); d = peek(file)) {
            exponent_digits = true;
            // Saturate: beyond this every double overflows or underflows.
            exponent = std::min<std::int64_t>(exponent * 10 + (d - '0'), 1'000'000'000);
            advance(file);
        }
        if (file.failed) {
            return Token::ReadError;
        }
        if (!exponent_digits) {
            return Token::NoNumber;
        }
        if (negative_exponent) {
            exponent = -exponent;
        }
    }
    if (file.failed) {
        return Token::ReadError;
    }
    if (digits.count == 0) {
        value = negative ? -0.0 : 0.0;
        return Token::Number;
    }
    // Canonical form 0.DDD...e<E>: the kept digits, a sticky 1 standing for
    // non-zero dropped digits, and the decimal exponent clamped to a range
    // where the outcome is already an overflow or an underflow.
    char text[Digits::kMaxDigits + 40];
    std::size_t n = 0;
    if (negative) {
        text[n++] = '-';
    }
    text[n++] = '0';
    text[n++] = '.';
    std::copy_n(digits.kept, digits.count, text + n);
    n += digits.count;
    if (digits.dropped_nonzero) {
        text[n++] = '1';
    }
    const std::int64_t scale = std::clamp<std::int64_t>(point + exponent, -100000, 100000);
    text[n++] = 'e';
    *std::to_chars(text + n, text + sizeof text - 1, scale).ptr = '\0';
    // The C library's correctly rounded conversion. The program never sets a
    // locale, so the decimal point is "." (the C locale). Beyond the range of
    // a double it gives an infinity for an overflow and a zero (or the
    // nearest denormal) for an underflow.
    value = std::strtod(text, nullptr);
    return Token::Number;
}

// Reads one decimal integer: optional sign and at least one digit.
Token scan_integer(MethodFile& file, long long& value, bool& fits) {
    const Token start = classify_start(skip_space(file));
    if (start != Token::Number) {
        return start;
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

} // namespace

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
        return -1;
    case Token::Number:
        // Digits beyond the range of an int are no integer of this format,
        // never a wrapped value.
        return fits ? static_cast<int>(value) : -2;
    default:
        return -2;
    }
}

int read_coefficient(MethodFile& file, std::span<double> set, std::size_t i) {
    double value = 0.0;
    switch (scan_real(file, value)) {
    case Token::End:
        return -1;
    case Token::Number:
        set[i] = value;
        return 0;
    default:
        return -2;
    }
}

bool close_method_file(MethodFile& file) {
    file.open = false;
    return platform::close_input_file(file.input);
}

int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot) {
    MethodFile file;
    if (!open_method_file(name, file)) {
        return -2;
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
    k = read_integer(file);
    if (k == -2 || k == -1) {
        return k;
    }
    m = read_integer(file);
    if (m == -2 || m == -1) {
        return m;
    }
    if (k < 0) {
        return 0;
    }
    if (k > MAX_STEP_COUNT) {
        return -3;
    }
    const std::size_t count = 2 * static_cast<std::size_t>(k) + 2;
    alloc_doubles(slot, count);
    if (slot == nullptr) {
        return -3;
    }
    const std::span<double> set(slot, count);
    for (std::size_t i = 0; i < count; ++i) {
        const int result = read_coefficient(file, set, i);
        if (result == -2 || result == -1) {
            return result;
        }
    }
    double scratch = 0.0;
    switch (scan_real(file, scratch)) {
    case Token::End:
        break;
    case Token::ReadError:
        return -2; // the rest of the file can't be read: not a well-formed file
    default:
        return -1;
    }
    return close_method_file(file) ? 0 : -2;
}

void print_format_help(const char* name) {
    std::printf("Formato do arquivo %s invalido!\n", name);
    std::fputs("Formato do arquivo deve ser:\n", stdout);
    std::fputs("1- Tamanho do passo\n", stdout);
    std::fputs("2- ordem da equacao diferencial especial\n", stdout);
    std::fputs("3- coeficientes (2 x tamanho do passo + 2)\n", stdout);
}

} // namespace ordimet
