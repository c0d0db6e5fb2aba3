"""Validates ordimet-analyse's JSON output against its schema.

Usage: validate_json.py SCHEMA document|lines FILE

"document": the file is one JSON document; "lines": every line is one.
Exits 1, naming the first fault, when something doesn't validate.
"""
import json
import os
import sys

try:
    import jsonschema
except ImportError:  # another Python first in PATH: Debian's has it (python3-jsonschema)
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    sys.exit("no Python 3 with the jsonschema module: install python3-jsonschema")


def fault(schema_path, mode, text):
    """None when the text validates, else what is wrong with it."""
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    if mode == "lines" and text and not text.endswith("\n"):
        return "JSON lines: the last line has no line end"
    documents = text.splitlines() if mode == "lines" else [text]
    if not documents:
        return "no JSON document in the output"
    for number, document in enumerate(documents, 1):
        try:
            value = json.loads(document)
        except json.JSONDecodeError as error:
            return f"JSON document {number} doesn't parse: {error}"
        error = jsonschema.exceptions.best_match(validator.iter_errors(value))
        if error is not None:
            # The most specific cause, inside the method or error object.
            while error.context:
                error = jsonschema.exceptions.best_match(error.context)
            where = "/".join(str(p) for p in error.absolute_path)
            return f"JSON document {number} doesn't match the schema at /{where}: {error.message}"
    return None


if __name__ == "__main__":
    with open(sys.argv[3], encoding="utf-8") as f:
        problem = fault(sys.argv[1], sys.argv[2], f.read())
    sys.exit(problem)
