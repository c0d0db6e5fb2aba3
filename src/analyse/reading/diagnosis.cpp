#include "analyse/reading/diagnosis.hpp"

#include "methodfile/methodfile.hpp"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace ordimet::analyse {
namespace {

// Numbers counted at most: far beyond any method file's, and bounded for a
// file that holds millions.
constexpr std::size_t MAX_COUNTED = std::size_t{1} << 22;
// The longest text shown of a token.
constexpr std::size_t TOKEN_SHOWN = 40;

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 26;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The text of the file from `offset` up to the next white space, at most
// TOKEN_SHOWN bytes.
std::string token_at(const std::string& name, std::size_t offset) {
    std::ifstream file(name, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    std::string text;
    char c = 0;
    while (text.size() < TOKEN_SHOWN && file.get(c) && !is_space(c)) {
        text += c;
    }
    return text;
}

// A decimal comma: the number read last ends where a comma and digits
// begin ("-0,5" read as -0, then ",5").
bool decimal_comma(const std::string& name, const NumberScan& scan, AnalysisOutcome& outcome) {
    const std::string rest = token_at(name, scan.stopped_at);
    if (scan.numbers == 0 || scan.last_end != scan.stopped_at || rest.size() < 2 ||
        rest[0] != ',' || !is_digit(rest[1])) {
        return false;
    }
    outcome.failure = Failure::DECIMAL_COMMA;
    outcome.token = token_at(name, scan.last_number);
    outcome.corrected = outcome.token;
    outcome.corrected[scan.stopped_at - scan.last_number] = '.';
    return true;
}

// The first `count` tokens of the file, as white space separates them.
std::vector<std::string> first_tokens(const std::string& name, std::size_t count) {
    std::ifstream file(name, std::ios::binary);
    std::vector<std::string> tokens;
    std::string token;
    char c = 0;
    while (tokens.size() < count && file.get(c) && c != 26) {
        if (!is_space(c)) {
            token += token.size() < TOKEN_SHOWN ? std::string(1, c) : std::string();
        } else if (!token.empty()) {
            tokens.push_back(std::move(token));
            token.clear();
        }
    }
    if (!token.empty() && tokens.size() < count) {
        tokens.push_back(token);
    }
    return tokens;
}

// Whether ordimet reads the whole token as an int: a sign, then 1 to 10
// digits within the 32-bit range.
bool is_int(const std::string& token) {
    const std::size_t digits = token.find_first_not_of("+-") == 1 ? 1 : 0;
    if (token.size() <= digits || token.size() - digits > 10 ||
        token.find_first_not_of("0123456789", digits) != std::string::npos) {
        return false;
    }
    const long long value = std::stoll(token);
    return value >= INT32_MIN && value <= INT32_MAX;
}

void diagnose_unreadable(const NumberScan& scan, AnalysisOutcome& outcome) {
    if (scan.read_error) {
        return;
    }
    for (const std::string& token : first_tokens(outcome.failing, 2)) {
        if (!is_int(token)) {
            outcome.failure = Failure::NOT_AN_INTEGER;
            outcome.token = token;
            return;
        }
    }
    if (!scan.no_number) {
        return;
    }
    if (!decimal_comma(outcome.failing, scan, outcome)) {
        outcome.failure = Failure::NOT_A_NUMBER;
        outcome.token = token_at(outcome.failing, scan.stopped_at);
    }
}

void diagnose_malformed(int k, int m, const NumberScan& scan, AnalysisOutcome& outcome) {
    if (scan.read_error) {
        return;
    }
    if (scan.numbers < 2) {
        outcome.failure = Failure::NO_STEP_AND_ORDER;
        return;
    }
    outcome.step = k;
    outcome.order = m;
    outcome.expected = 2 * std::int64_t{k} + 2;
    outcome.found = static_cast<std::int64_t>(scan.numbers) - 2;
    outcome.found_more = scan.numbers == MAX_COUNTED;
    if (outcome.found == outcome.expected && scan.no_number) {
        outcome.failure = Failure::TEXT_AFTER_NUMBERS;
        outcome.token = token_at(outcome.failing, scan.stopped_at);
    } else if (outcome.found != outcome.expected) {
        outcome.failure = Failure::COEFFICIENT_COUNT;
    }
}

} // namespace

void diagnose(int k, int m, AnalysisOutcome& outcome) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(outcome.failing, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        outcome.failure = Failure::NOT_FOUND;
        return;
    }
    if (status.type() == std::filesystem::file_type::directory) {
        outcome.failure = Failure::IS_DIRECTORY;
        return;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return;
    }
    const NumberScan scan = scan_numbers(outcome.failing.c_str(), MAX_COUNTED);
    if (!scan.opened) {
        return;
    }
    if (outcome.failure == Failure::UNREADABLE) {
        diagnose_unreadable(scan, outcome);
    } else if (outcome.failure == Failure::MALFORMED) {
        diagnose_malformed(k, m, scan, outcome);
    }
}

} // namespace ordimet::analyse
