#!/usr/bin/env python3
"""Fails when a function in the given source trees is longer than the limit.

A function is counted from the first line of its signature to the line that
closes its body, both included; lambdas and class bodies are not functions of their
own, but their lines count towards the function around them. The scan is
textual: string and character literals and comments are blanked first, so
their braces don't count.
"""
import re
import sys
from pathlib import Path

LIMIT = 60
KEYWORDS = ("if", "for", "while", "switch", "catch", "return", "else", "do", "try")


def blank_literals(text):
    """The text with comments, strings and characters replaced by spaces."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
    return pattern.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def opens_function(head):
    """Whether the text before a '{' is a function's signature."""
    head = head.strip()
    if not head.endswith(")") and not re.search(r"\)\s*(const|noexcept|override|final|\s)*$", head):
        return False
    name = re.search(r"([A-Za-z_~][\w:~]*(?:operator\s*\S+)?)\s*\([^()]*(?:\([^()]*\)[^()]*)*\)[\s\w]*$", head)
    if not name:
        return False
    last = name.group(1).split("::")[-1]
    return last not in KEYWORDS and not head.endswith("]")


def long_functions(path):
    text = blank_literals(path.read_text(encoding="utf-8", errors="replace"))
    found = []
    stack = []  # for each open brace: start line if it opens a function, else None
    inside = 0  # functions open
    start = 0
    for i, char in enumerate(text):
        if char == "{":
            head = text[start:i]
            is_function = inside == 0 and opens_function(head)
            first = start + len(head) - len(head.lstrip())
            stack.append((text.count("\n", 0, first) + 1, is_function, head))
            inside += is_function
            start = i + 1
        elif char == "}":
            if stack:
                line, is_function, head = stack.pop()
                if is_function:
                    inside -= 1
                    end = text.count("\n", 0, i) + 1
                    if end - line + 1 > LIMIT:
                        name = re.search(r"([\w:~]+)\s*\(", head)
                        found.append((line, end - line + 1, name.group(1) if name else "?"))
            start = i + 1
        elif char == ";":
            start = i + 1
    return found


def main(folders):
    failures = 0
    for folder in folders:
        for path in sorted(Path(folder).rglob("*")):
            if path.suffix not in (".cpp", ".hpp"):
                continue
            for line, length, name in long_functions(path):
                print(f"{path}:{line}: {name} has {length} lines (at most {LIMIT})")
                failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or ["src"]))
