#!/usr/bin/env python3
"""Every text that the text report and the program's messages write has its
English in the table of words.

The code writes its texts in Portuguese and translates them through `say`
(report/words.cpp). This reads the table from words.cpp and every string
literal of the report's text code (report/report_text.cpp, report/text_*.cpp)
and of cli/main.cpp, adjacent literals joined as the compiler joins them,
and fails on any literal with words in it that the table lacks. A literal
is exempt when the innermost call holding it writes without translating
(raw, rawf, snprintf, fprintf, ...): those write numbers, names and
layout. Usage: words_scan.py SRC_ANALYSE_DIR
"""

import re
import sys
from pathlib import Path

# Calls whose literals go out as they are.
UNTRANSLATED_CALLS = {"raw", "rawf", "snprintf", "fprintf", "append_listing"}
# Literals with letters that are no words: the table's numbers beyond doubles.
NOT_WORDS = {"inf", "-inf"}
# A printf conversion or an escape has letters that are no words.
CONVERSION = re.compile(r"%[-+ #0]*(\*|\d+)?(\.(\*|\d*))?(hh|h|ll|l|j|z|t|L)?[a-zA-Z%]")
ESCAPE = re.compile(r"\\.")
TOKEN = re.compile(
    r"""(?P<comment>//[^\n]*|/\*.*?\*/)
      | (?P<preprocessor>^[ \t]*\#[^\n]*)
      | (?P<char>'(\\.|[^'\\])')
      | (?P<string>"(\\.|[^"\\])*")
      | (?P<name>[A-Za-z_]\w*)
      | (?P<punct>[^\sA-Za-z_])""",
    re.VERBOSE | re.DOTALL | re.MULTILINE,
)


def tokens(source):
    """(kind, text, line) for the code's tokens, without comments and
    preprocessor lines; adjacent literals (and PRId64 between them) are one
    "string" token, its text the literal's content as written."""
    merged = []
    for match in TOKEN.finditer(source):
        kind = match.lastgroup
        if kind in ("comment", "preprocessor"):
            continue
        text = match.group()
        line = source.count("\n", 0, match.start()) + 1
        if kind == "string":
            text = text[1:-1]
        if kind == "name" and text == "PRId64":
            kind, text = "string", "ld"
        if kind == "string" and merged and merged[-1][0] == "string":
            merged[-1] = ("string", merged[-1][1] + text, merged[-1][2])
        else:
            merged.append((kind, text, line))
    return merged


def table_texts(words_cpp):
    """The Portuguese texts of the table WORDS: the first literal of each
    inner brace of its initializer."""
    found = set()
    items = tokens(words_cpp.read_text())
    start = next(i for i, t in enumerate(items) if t == ("name", "WORDS", t[2]))
    depth = 0
    first_of_row = False
    for kind, text, _ in items[start:]:
        if text == "{":
            depth += 1
            first_of_row = depth == 2
        elif text == "}":
            depth -= 1
            if depth == 0:
                break
        elif kind == "string" and first_of_row:
            found.add(text)
            first_of_row = False
    return found


def has_words(literal):
    rest = ESCAPE.sub(" ", CONVERSION.sub(" ", literal))
    return re.search(r"[A-Za-z]", rest) is not None and literal not in NOT_WORDS


def untranslated(path, table):
    """The literals with words of the file that the table lacks, with their
    lines, unless the innermost call holding them writes as it is."""
    missing = []
    calls = []  # the name before each open parenthesis, innermost last
    previous = None
    for kind, text, line in tokens(path.read_text()):
        if text == "(":
            calls.append(previous[1] if previous and previous[0] == "name" else "")
        elif text == ")" and calls:
            calls.pop()
        elif kind == "string" and has_words(text) and text not in table:
            if not (calls and calls[-1] in UNTRANSLATED_CALLS):
                missing.append((line, text))
        previous = (kind, text)
    return missing


def main():
    analyse = Path(sys.argv[1])
    report = analyse / "report"
    table = table_texts(report / "words.cpp")
    sources = [report / "report_text.cpp", *sorted(report.glob("text_*.cpp")),
               analyse / "cli" / "main.cpp"]
    failures = 0
    for path in sources:
        for line, text in untranslated(path, table):
            print(f"{path.relative_to(analyse)}:{line}: no English for \"{text}\"")
            failures += 1
    checked = len(sources)
    print(f"{checked} files, {len(table)} texts in the table, {failures} without English")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
