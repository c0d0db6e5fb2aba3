"""Validates ordimet-analyse's JSON output against its schema.

Usage: validate_json.py SCHEMA document|lines FILE

"document": the file is one JSON document; "lines": every line is one.
Exits 1, naming the first fault, when something doesn't validate.
"""
import json
import sys

import jsonschema


def main():
    schema_path, mode, path = sys.argv[1:4]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if mode == "lines":
        if text and not text.endswith("\n"):
            print("JSON lines: the last line has no line end")
            return 1
        documents = text.splitlines()
    else:
        documents = [text]
    if not documents:
        print("no JSON document in the output")
        return 1
    for number, document in enumerate(documents, 1):
        try:
            value = json.loads(document)
        except json.JSONDecodeError as error:
            print(f"JSON document {number} doesn't parse: {error}")
            return 1
        error = jsonschema.exceptions.best_match(validator.iter_errors(value))
        if error is not None:
            # The most specific cause, inside the method or error object.
            while error.context:
                error = jsonschema.exceptions.best_match(error.context)
            where = "/".join(str(p) for p in error.absolute_path)
            print(f"JSON document {number} doesn't match the schema at /{where}: {error.message}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
