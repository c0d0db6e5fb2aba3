#pragma once

// What ordimet-design writes: method files, exact (fractions p/q, which
// ordimet-analyse reads) or as decimals of 17 significant digits (which
// ordimet reads too), into new files that never replace another file unless
// asked, and never through a link.

#include "analyse/exact/rational.hpp"
#include "analyse/report/words.hpp"

#include <span>
#include <string>
#include <string_view>

namespace ordimet::design {

using analyse::Rational;

// The text of a method file: "k m", then A[0..k], then B[0..k], one line
// each; every coefficient as a fraction p/q (an integer as itself), or with
// `decimals` as decimal_text writes it.
std::string method_file_text(int k, int m, std::span<const Rational> coefficients, bool decimals);

// A coefficient as a decimal: exactly, in positional notation, when its
// exact decimal has at most 17 significant digits (-1, 0.375, 0.075);
// otherwise its nearest double with 17 significant digits ("%.17g"), which
// reads back as that double. Either way ordimet reads the nearest double of
// the exact value.
std::string decimal_text(const Rational& value);

// Whether every value has a nearest double that is finite, and not zero
// unless the value is: only then do decimals stand for the values.
bool fits_doubles(std::span<const Rational> values);

enum class FileWrite {
    WRITTEN,
    EXISTS, // the name exists and `force` was not given, or it is not a regular file
    FAILED, // the file could not be made, written, closed or renamed
};

// Writes `text` as the file `path`: into a new temporary file beside it
// (O_CREAT | O_EXCL | O_NOFOLLOW), renamed over the name once complete. An
// existing regular file is replaced only with `force`; anything else that
// exists under the name is never replaced. On failure nothing is left.
FileWrite write_new_file(const std::string& path, std::string_view text, bool force);

// The folder the files of a search go to: made when it is missing (its
// parent must exist); false, with the reason in `error` (in the language),
// when it exists and is not an empty folder, or can't be made.
bool prepare_output_folder(const std::string& path, std::string& error,
                           analyse::Language language = analyse::Language::PORTUGUESE);

} // namespace ordimet::design
