#!/usr/bin/env bash
# Runs validate_json.py with the first Python 3 that has the jsonschema
# module (Debian's python3-jsonschema, or one installed with pip).
# Usage: validate_json.sh SCHEMA document|lines FILE
here=$(cd "$(dirname "$0")" && pwd)
for python in python3 /usr/bin/python3; do
    if command -v "$python" >/dev/null 2>&1 && "$python" -c 'import jsonschema' 2>/dev/null; then
        exec "$python" "$here/validate_json.py" "$@"
    fi
done
echo "no Python 3 with the jsonschema module: install python3-jsonschema"
exit 1
