#!/usr/bin/env bash
# End-to-end cases of ordimet-design: the real program, in a new session
# without a terminal, run on every row of CASES_DIR/cases.txt, its standard
# output, standard error and exit status compared byte for byte; then the
# methods it writes analysed by the real ordimet-analyse, and outputs that
# fail as they are written.
#
# A row: name | setup | arguments | status | standard output | standard error | check
#   setup, check  bash run in the row's scratch folder before and after the
#                 program (check must succeed); either may be empty
#   arguments     shell words, as on a command line
#   outputs       printf %b escapes (\n, \x7c for a bar); @U and @E stand
#                 for the usage text in Portuguese and in English, and =NAME
#                 alone for the content of the file NAME beside cases.txt
# After every row no hidden (temporary) file may be left.
#
# Usage: e2e.sh DESIGN ANALYSE CASES_DIR
set -u
design=$(realpath "$1") analyse=$(realpath "$2") cases=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
faults=0

# The file's whole content, trailing line ends included.
content() { IFS= read -r -d '' "$1" <"$2" || :; }
content usage_pt "$cases/usage.pt"
content usage_en "$cases/usage.en"

expected() { # FIELD FILE: the expected output named by FIELD written to FILE
    if [[ $1 == =* ]]; then
        cp "$cases/${1#=}" "$2"
        return
    fi
    local text
    printf -v text '%b' "$1"
    text=${text//@U/$usage_pt}
    text=${text//@E/$usage_en}
    printf '%s' "$text" >"$2"
}

escaped() { # FILE: its content as a table field, for a failing row
    local text
    content text "$1"
    text=${text//"$usage_pt"/@U}
    text=${text//"$usage_en"/@E}
    text=${text//\\/\\\\}
    text=${text//$'\n'/\\n}
    printf '%s\n' "${text//|/\\x7c}"
}

compare() { # NAME WHAT EXPECTED ACTUAL
    if ! cmp -s "$3" "$4"; then
        echo "$1: $2 differs (- expected, + actual):"
        diff -u --text "$3" "$4" | tail -n +3 | head -n 20
        echo "  as a field: $(escaped "$4")"
        faults=$((faults + 1))
    fi
}

run_row() { # NAME SETUP ARGUMENTS STATUS STDOUT STDERR CHECK
    local dir=$work/$1
    mkdir "$dir" && cd "$dir" || return
    [[ -z $2 ]] || bash -c "$2" || echo "$1: setup failed"
    # Redirections among the arguments (>/dev/full) act on the program.
    eval "setsid -w \"\$design\" $3" </dev/null >"$work/stdout" 2>"$work/stderr"
    local status=$?
    expected "$5" "$work/expected-stdout"
    expected "$6" "$work/expected-stderr"
    compare "$1" "standard output" "$work/expected-stdout" "$work/stdout"
    compare "$1" "standard error" "$work/expected-stderr" "$work/stderr"
    if [[ $status != "$4" ]]; then
        echo "$1: exit status $status, expected $4"
        faults=$((faults + 1))
    fi
    if [[ -n $7 ]] && ! bash -c "$7"; then
        echo "$1: check failed: $7"
        faults=$((faults + 1))
    fi
    if compgen -G '.*[!.]*' >/dev/null; then
        echo "$1: left behind: $(echo .*[!.]*)"
        faults=$((faults + 1))
    fi
    cd "$work" || exit 1
}

# trim NAME TEXT: TEXT without blanks at either end, into the variable NAME.
trim() {
    local v=${2#"${2%%[![:space:]]*}"}
    printf -v "$1" '%s' "${v%"${v##*[![:space:]]}"}"
}

rows=0
while IFS='|' read -r name setup arguments status out err check; do
    trim name "$name"
    [[ -z $name || $name == \#* ]] && continue
    trim setup "$setup"
    trim arguments "$arguments"
    trim status "$status"
    trim out "$out"
    trim err "$err"
    trim check "$check"
    run_row "$name" "$setup" "$arguments" "$status" "$out" "$err" "$check"
    rows=$((rows + 1))
done <"$cases/cases.txt"

# Every family, written as fractions and as decimals, analysed by the real
# ordimet-analyse: the same order and error constant as ordimet-design's JSON
# (the pairs of documents compared at the end, in one go).
pairs=$work/pairs
same_order() { # ARGUMENTS...
    local file=$work/method.txt made found
    made=$("$design" "$@" --json --output "$file" --force) &&
        found=$("$analyse" --json SI "$file") || {
        echo "$*: not made or not analysed"
        faults=$((faults + 1))
        return
    }
    printf '%s\n%s\n%s\n' "$*" "$made" "$found" >>"$pairs"
    rows=$((rows + 1))
}
for decimals in "" --decimals; do
    for family in "adams-bashforth 7" "adams-moulton 6" "bdf 4" "nystrom 5" "milne-simpson 4" \
        "stormer 5" "cowell 5" "stormer 6 --m 4" "cowell 20"; do
        # shellcheck disable=SC2086
        same_order $family $decimals
    done
done
same_order symmetric 8 --explicit --rho "1 -2 2 -1 0 -1 2 -2 1"
same_order from-rho --roots "1 1 (0,1) (-1/2,1)" --m 2
python3 - "$pairs" <<'EOF' || faults=$((faults + 1))
import json, sys
lines = open(sys.argv[1]).read().splitlines()
wrong = 0
for i in range(0, len(lines), 3):
    made, found = json.loads(lines[i + 1]), json.loads(lines[i + 2])["algorithms"][0]
    ours = (made["order"], made["error_constant"])
    theirs = (found["order"], found["error_constant"])
    if ours != theirs:
        print(f"{lines[i]}: ordimet-design says {ours}, ordimet-analyse {theirs}")
        wrong += 1
sys.exit(wrong)
EOF

# Output that fails while it is written: nothing is left of the file, and
# the failure is said with status 1, never a death by SIGXFSZ or SIGPIPE.
cd "$work" || exit 1
errors=$(bash -c 'ulimit -f 0; exec "$0" bdf 4 --output big.txt' "$design" 2>&1)
[[ $? == 1 && $errors == "ordimet-design: nao foi possivel escrever big.txt." &&
    -z $(ls -A | grep -e '^big' -e '^\.') ]] || {
    echo "file-size limit: $errors"
    faults=$((faults + 1))
}
# A pipe whose reader has gone before the program writes.
errors=$(python3 -c '
import os, subprocess, sys
r, w = os.pipe()
os.close(r)
run = subprocess.run([sys.argv[1], "bdf", "4"], stdout=w, stderr=subprocess.PIPE)
print(run.returncode, run.stderr.decode(), end="")' "$design")
[[ $errors == "1 ordimet-design: erro ao escrever a saida." ]] || {
    echo "closed pipe: $errors"
    faults=$((faults + 1))
}

echo "$rows rows, $faults faults"
[[ $faults == 0 ]]
