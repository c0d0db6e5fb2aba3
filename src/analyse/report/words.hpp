#pragma once

// The words of the text reports and of the pictures' labels, in Portuguese
// (the program's own language, the default) or in English, from one table.
// Every text is written in the code in Portuguese and goes through `say`,
// which gives it in the language asked for; a text and its translation have
// the same printf conversions, in the same order. The JSON report has no
// words of its own and is the same in every language.

#include <span>
#include <string>

namespace ordimet::analyse {

enum class Language { PORTUGUESE, ENGLISH };

// A text and its translation.
struct Words {
    const char* portuguese;
    const char* english;
};

// The text in the language; the Portuguese text itself when the table has
// no translation of it (a test asks every report for its English).
const char* say(const char* portuguese, Language language);

// Whether the table has the text; for the tests.
bool has_translation(const char* portuguese);

// The whole table; for the tests.
std::span<const Words> word_table();

} // namespace ordimet::analyse
