#pragma once

// Method files: the reader of one file, the loading and cross-checking of all
// files of a run, their messages, and the coefficient listing.

#include "platform/file_input.hpp"
#include "support/support.hpp"

#include <cstddef>
#include <cstdint>
#include <span>

namespace ordimet {

// One algorithm's 2k + 2 coefficients in file order: A[j] at index j and B[j]
// at index k + 1 + j, for j = 0 .. k.
using CoefficientSet = double*;

// One coefficient set per algorithm, slot i for the (i + 1)-th method file;
// empty (null) until its file is read. Released with free_rows.
using CoefficientTable = RowTable;

// The same table for procedures that only read it.
using ConstCoefficientTable = ConstRowTable;

// The largest step count accepted. A larger step takes the memory path (LOAD_NO_MEMORY)
// without any allocation: it keeps every size computation far from overflow,
// and it bounds the work of every later analysis, which grows with k, to well
// under a second. Real methods have a few steps; several thousand still pass.
inline constexpr int MAX_STEP_COUNT = 10000;

// The largest number of coefficients that all the sets of one run may hold
// together. Loading refuses the file whose set would go beyond it as a
// shortage of memory (LOAD_NO_MEMORY), before reading it: the analyses take time in
// proportion to this total, and the bound keeps every run well under a second
// (for instance 13 files of step 10000, or 65536 files of step 1).
inline constexpr std::size_t MAX_TOTAL_COEFFICIENTS = std::size_t{1} << 18;

// Result codes of reading and loading method files. Reading one file gives
// LOAD_OK or one of the first three; loading all files of a run adds the
// cross-checks.
inline constexpr int LOAD_OK = 0;
inline constexpr int LOAD_MALFORMED = -1;          // too few numbers, or text after them
inline constexpr int LOAD_UNREADABLE = -2;         // can't be read, or a token is no number
inline constexpr int LOAD_NO_MEMORY = -3;          // a set can't be had, or beyond the limits
inline constexpr int LOAD_DIFFERENT_SHAPES = -4;   // k or m differ between files
inline constexpr int LOAD_ORDER_NOT_POSITIVE = -5; // m <= 0
inline constexpr int LOAD_STEP_NOT_POSITIVE = -6;  // k <= 0

// What the token readers return besides a value: the end of the file, or a
// token that is no number of the kind asked for (or can't be read).
inline constexpr int READ_END = -1;
inline constexpr int READ_NO_NUMBER = -2;
// Reading a file hands these on as its own result, of the same value.
static_assert(READ_END == LOAD_MALFORMED && READ_NO_NUMBER == LOAD_UNREADABLE);

// A decimal number as the reader takes it apart: the value is
// (-1)^negative x 0.d1 d2 d3 ... x 10^scale, where d1 is the first non-zero
// digit written. The first MAX_KEPT_DIGITS significant digits are kept; of
// the rest only how many there are and whether any is not 0. That is enough
// to round any decimal correctly to a double (no double needs more than 768
// significant digits to be told from its neighbours), in constant memory
// however long the token is. A zero has no significant digits.
struct DecimalNumber {
    static constexpr std::size_t MAX_KEPT_DIGITS = 800;
    bool negative = false;
    char digits[MAX_KEPT_DIGITS]; // '0' .. '9', the first `count` of them in use
    std::size_t count = 0;        // significant digits kept
    std::uint64_t dropped = 0;    // significant digits written beyond those kept
    bool dropped_nonzero = false; // whether a dropped digit is not 0
    // The written exponent saturates at 10^9 in magnitude, beyond which every
    // double overflows or underflows.
    std::int64_t scale = 0;
};

// The double nearest to the number (ties to even), an infinity beyond the
// largest double, a zero or denormal below the smallest; a zero keeps its sign.
double decimal_to_double(const DecimalNumber& number);

// Receives every coefficient as it is read, for a reader that keeps more
// than its double; ordimet itself reads without one. With a sink, and only
// then, a coefficient may also be a fraction: an optional sign and digits,
// '/', digits, with nothing between them (no point, exponent or sign after
// the numerator, no sign on the denominator).
class CoefficientSink {
  public:
    CoefficientSink() = default;
    CoefficientSink(const CoefficientSink&) = delete;
    CoefficientSink& operator=(const CoefficientSink&) = delete;
    virtual ~CoefficientSink() = default;
    // The number of coefficients to come, once the step is known and before
    // the first. Returns LOAD_OK to go on, or the result code that ends the
    // reading.
    virtual int start(std::size_t count) = 0;
    // The decimal read as coefficient i and the double stored for it.
    // Returns LOAD_OK to go on, or the result code that ends the reading.
    virtual int decimal(std::size_t i, const DecimalNumber& number, double value) = 0;
    // The fraction read as coefficient i: two integers (scale >= count),
    // the denominator never negative and possibly 0. Sets the double to be
    // stored; returns LOAD_OK to go on, or the result code that ends the
    // reading.
    virtual int fraction(std::size_t i, const DecimalNumber& numerator,
                         const DecimalNumber& denominator, double& value) = 0;
};

// A method file read as text: bytes come from the operating system in blocks,
// and a Ctrl-Z byte ends the content, as in text mode on a console system.
// Line ends need no translation: CR and LF are both white space between
// tokens, so CR LF and LF files read alike. It lives on the reader's stack:
// opening a file allocates nothing.
struct MethodFile {
    platform::InputFile input;
    std::size_t position = 0;
    std::size_t length = 0;
    std::size_t before = 0; // bytes of the file before those in the buffer
    bool open = false;
    bool at_end = false;
    bool failed = false;
    char buffer[16 * 1024];
};

// Opens the named file for reading into `file`; false when it can't be opened.
bool open_method_file(const char* name, MethodFile& file);

// Reads the next token as a decimal integer. Returns the value,
// READ_NO_NUMBER when the token is no integer or doesn't fit an int, or
// READ_END at the end of the file.
int read_integer(MethodFile& file);

// Reads the next token as a real number into set[i]. Returns 0,
// READ_NO_NUMBER when the token is no number (or the file can't be read), or
// READ_END at the end of the file.
int read_coefficient(MethodFile& file, std::span<double> set, std::size_t i);

// Closes the file; false when the close failed.
bool close_method_file(MethodFile& file);

// Reads one method file into `slot`. Returns LOAD_OK, LOAD_MALFORMED,
// LOAD_UNREADABLE or LOAD_NO_MEMORY; k and m receive what was read of the
// step count and the equation order.
int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot);

// The same, handing every coefficient to `sink` as well, fractions accepted;
// a code other than LOAD_OK from the sink ends the reading with that code.
int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot, CoefficientSink& sink);

// What a method file holds, for messages that say more than ordimet's:
// read with the reader's own rules (fractions accepted), every number in
// turn up to `limit` numbers, past the 2k + 2 coefficients, until the end or
// the first text that is no number. Byte offsets count from the file's start.
struct NumberScan {
    bool opened = false;
    std::size_t numbers = 0;     // numbers read, the step and order included
    bool no_number = false;      // the scan stopped at text that is no number
    bool read_error = false;     // the file could not be read to its end
    std::size_t last_number = 0; // where the last number read starts
    std::size_t last_end = 0;    // and where it ends
    std::size_t stopped_at = 0;  // where the text that is no number starts
};
NumberScan scan_numbers(const char* name, std::size_t limit);

// The help text printed for a malformed method file.
void print_format_help(const char* name);

// The reading of one file of a run for the loading loop: the file of the
// given index read into wherever the caller keeps it; returns a LOAD_* code,
// and the step count and order read.
class FileReader {
  public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    virtual ~FileReader() = default;
    virtual int read(std::size_t index, int& k, int& m) = 0;
};

// The loading loop of every reader of a run's files: reads `count` files in
// order, checking before each file after the first that the coefficients of
// all the files so far stay within MAX_TOTAL_COEFFICIENTS (LOAD_NO_MEMORY),
// then each file's result, then differing k or m (LOAD_DIFFERENT_SHAPES), and
// at the end check_step_and_order. k and m get the first file's step count
// and order, `failing` the index at which loading stopped (count after the
// last file).
int load_files(std::size_t count, FileReader& reader, int& k, int& m, std::size_t& failing);

// Loads the files named by argv[2 .. argc-1] into the table, in order, and
// cross-checks them. Returns LOAD_OK or a loading failure code; k and m get
// the first file's step count and order, `failing_index` the argument index
// at which loading stopped (argc after the last file).
int load_method_files(int argc, const char* const* argv, int& k, int& m, int& failing_index,
                      CoefficientTable table);

// The last checks of a run, once every file is read with the step k and the
// order m of the first: LOAD_STEP_NOT_POSITIVE, LOAD_ORDER_NOT_POSITIVE or
// LOAD_OK, in that order of precedence.
int check_step_and_order(int k, int m);

// Prints the message of a loading result code (nothing for LOAD_OK).
void report_load_error(int code, const char* name);

// The words of a loading message, for those who print it elsewhere: the
// message is `before`, then the file name when `names_file`, then `after`.
// Constant texts, so that printing one allocates nothing.
struct LoadErrorText {
    const char* before;
    bool names_file;
    const char* after;
};

// The message of a loading result code as report_load_error prints it; empty
// texts for LOAD_OK and for codes that are no loading code.
LoadErrorText load_error_text(int code);

// Prints the coefficient listing of c algorithms with step count k.
void print_coefficients(int c, int k, ConstCoefficientTable table);

} // namespace ordimet
