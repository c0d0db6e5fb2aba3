#pragma once

// Method files: the reader of one file, the loading and cross-checking of all
// files of a run, their messages, and the coefficient listing.

#include "driver/support/support.hpp"
#include "platform/file_input.hpp"

#include <cstddef>
#include <span>

namespace ordimet {

// One algorithm's 2k + 2 coefficients in file order: A[j] at index j and B[j]
// at index k + 1 + j, for j = 0 .. k.
using CoefficientSet = double*;

// One coefficient set per algorithm, slot i for the (i + 1)-th method file;
// empty (null) until its file is read. Released with free_rows.
using CoefficientTable = RowTable;

// The largest step count accepted. A larger step takes the memory path (-3)
// without any allocation: it keeps every size computation far from overflow,
// and it bounds the work of every later analysis, which grows with k, to well
// under a second. Real methods have a few steps; several thousand still pass.
inline constexpr int MAX_STEP_COUNT = 10000;

// The largest number of coefficients that all the sets of one run may hold
// together. Loading refuses the file whose set would go beyond it as a
// shortage of memory (-3), before reading it: the analyses take time in
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

// A method file read as text: bytes come from the operating system in blocks,
// and a Ctrl-Z byte ends the content, as in text mode on a console system.
// Line ends need no translation: CR and LF are both white space between
// tokens, so CR LF and LF files read alike. It lives on the reader's stack:
// opening a file allocates nothing.
struct MethodFile {
    platform::InputFile input;
    std::size_t position = 0;
    std::size_t length = 0;
    bool open = false;
    bool at_end = false;
    bool failed = false;
    char buffer[16 * 1024];
};

// Opens the named file for reading into `file`; false when it can't be opened.
bool open_method_file(const char* name, MethodFile& file);

// Reads the next token as a decimal integer. Returns the value, -2 when the
// token is no integer or doesn't fit an int, or -1 at the end of the file.
int read_integer(MethodFile& file);

// Reads the next token as a real number into set[i]. Returns 0, -2 when the
// token is no number (or the file can't be read), or -1 at the end of the file.
int read_coefficient(MethodFile& file, std::span<double> set, std::size_t i);

// Closes the file; false when the close failed.
bool close_method_file(MethodFile& file);

// Reads one method file into `slot`. Returns 0, -1 (malformed), -2 (can't be
// read) or -3 (no memory); k and m receive what was read of the step count
// and the equation order.
int read_method_file(const char* name, int& k, int& m, CoefficientSet& slot);

// The help text printed for a malformed method file.
void print_format_help(const char* name);

// Loads the files named by argv[2 .. argc-1] into the table, in order, and
// cross-checks them. Returns 0 or a loading failure code -1 .. -6; k and m get
// the first file's step count and order, `failing_index` the argument index
// at which loading stopped (argc after the last file).
int load_method_files(int argc, const char* const* argv, int& k, int& m, int& failing_index,
                      CoefficientTable table);

// Prints the message of a loading result code (nothing for 0).
void report_load_error(int code, const char* name);

// Prints the coefficient listing of c algorithms with step count k.
void print_coefficients(int c, int k, CoefficientTable table);

} // namespace ordimet
