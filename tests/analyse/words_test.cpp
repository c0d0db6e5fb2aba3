// The table of words and the table of failures in both languages: a
// translation that lost, added or reordered a printf conversion would make
// the report read the wrong argument; one that lost a field would drop the
// file's name from a message. (That every text the report code writes has
// a translation is checked over the sources by words_scan.py.)

#include "analyse/report/failures.hpp"
#include "analyse/report/words.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

// The conversions of a printf format in order, each as written
// (%[flags][width][.precision][length]conversion); "%%" is none, and a '%'
// that starts no conversion counts as "malformed".
std::vector<std::string> conversions(const std::string& format) {
    static const std::regex conversion(
        R"(%[-+ #0]*(\*|[0-9]+)?(\.(\*|[0-9]*))?(hh|h|ll|l|j|z|t|L)?[diouxXeEfFgGaAcspn%])");
    std::vector<std::string> found;
    for (std::size_t at = format.find('%'); at != std::string::npos; at = format.find('%', at)) {
        std::smatch match;
        const auto from = format.begin() + static_cast<std::ptrdiff_t>(at);
        if (!std::regex_search(from, format.end(), match, conversion,
                               std::regex_constants::match_continuous)) {
            found.push_back("malformed");
            ++at;
            continue;
        }
        if (match.str() != "%%") {
            found.push_back(match.str());
        }
        at += static_cast<std::size_t>(match.length());
    }
    return found;
}

// Plain ASCII: printable characters and line breaks only.
bool plain_ascii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == '\n' || (c >= ' ' && c <= '~'); });
}

// The fields of a failure message ("{file}", ...), sorted: a translation
// may put them in another order.
std::multiset<std::string> fields(const std::string& message) {
    static const std::regex field(R"(\{[a-z]+\})");
    std::multiset<std::string> found;
    for (auto it = std::sregex_iterator(message.begin(), message.end(), field);
         it != std::sregex_iterator(); ++it) {
        found.insert(it->str());
    }
    return found;
}

TEST(Words, ConversionsParsedAsPrintfReadsThem) {
    using List = std::vector<std::string>;
    EXPECT_EQ(conversions("a %d, %-12s %.2f%% %zu %ld %.6g %5.*e"),
              (List{"%d", "%-12s", "%.2f", "%zu", "%ld", "%.6g", "%5.*e"}));
    EXPECT_EQ(conversions("50%."), (List{"malformed"}));
    EXPECT_EQ(conversions("%"), (List{"malformed"}));
}

TEST(Words, EveryTranslationKeepsTheConversionsInOrderAndIsPlainAscii) {
    std::set<std::string> seen;
    for (const Words& words : word_table()) {
        const std::string portuguese = words.portuguese;
        const std::string english = words.english;
        SCOPED_TRACE(portuguese);
        EXPECT_FALSE(english.empty());
        EXPECT_EQ(conversions(english), conversions(portuguese));
        // The reports are plain ASCII; the pictures' labels (SVG, UTF-8)
        // may have Greek letters and superscripts, in both languages alike.
        EXPECT_EQ(plain_ascii(english), plain_ascii(portuguese));
        // A second row for a text would be silently ignored by `say`.
        EXPECT_TRUE(seen.insert(portuguese).second) << "text given twice";
        EXPECT_STREQ(say(words.portuguese, Language::ENGLISH), words.english);
        EXPECT_STREQ(say(words.portuguese, Language::PORTUGUESE), words.portuguese);
    }
    EXPECT_STREQ(say("sem traducao", Language::ENGLISH), "sem traducao");
}

TEST(Words, EveryFailureHasBothMessagesWithTheSameFields) {
    const auto table = failure_table();
    for (int f = 1; f <= static_cast<int>(Failure::ROOTS_BEYOND_EXACT_LIMIT); ++f) {
        const auto row = std::find_if(table.begin(), table.end(), [f](const FailureText& r) {
            return static_cast<int>(r.failure) == f;
        });
        ASSERT_NE(row, table.end()) << "failure " << f << " has no row";
        SCOPED_TRACE(row->message);
        EXPECT_FALSE(std::string(row->english).empty());
        EXPECT_EQ(fields(row->english), fields(row->message));
        EXPECT_TRUE(plain_ascii(row->english));
    }
}

TEST(Words, FailureMessagesInEitherLanguage) {
    AnalysisOutcome outcome;
    outcome.failure = Failure::COEFFICIENT_COUNT;
    outcome.failing = "m\xc3\xa9todo.txt";
    outcome.step = 2;
    outcome.order = 1;
    outcome.expected = 6;
    outcome.found = 4194302;
    outcome.found_more = true;
    EXPECT_EQ(failure_message(outcome, Language::ENGLISH, Names::PRINTABLE),
              "The file m\\xc3\\xa9todo.txt has more than 4194302 coefficients after the step "
              "k = 2 and the order m = 1, and 2k + 2 = 6 are expected.");
    EXPECT_EQ(failure_message(outcome, Language::PORTUGUESE),
              "O arquivo m\xc3\xa9todo.txt tem mais de 4194302 coeficientes depois do passo "
              "k = 2 e da ordem m = 1, e sao esperados 2k + 2 = 6.");
}

} // namespace
} // namespace ordimet::analyse
