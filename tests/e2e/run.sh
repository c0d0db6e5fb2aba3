#!/usr/bin/env bash
# Runs ordimet, ordimet-analyse or ordimet-design on one end-to-end case, a
# folder of cases/ or a row of a table of tables/, and checks standard output,
# standard error and exit status byte for byte, ordimet's prompts, and JSON
# output against the schema, and the case's check after the run; for
# ordimet-design also that no hidden file is left, and the methods it writes
# as ordimet-analyse reads them. UPDATE=1 rewrites the expectations that differ,
# ALLOCATIONS=1 walks the allocations of a folder with alloc-failures
# (README.md, Testing).
# Usage: run.sh ordimet|analyse|design PROGRAM CASE_DIR|TABLE:ROW [EMULATOR...]
set -u
kind=$1 program=$(realpath -ms "$2") case=$(realpath -ms "$3") emulator=("${@:4}") table= stdout_to=
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d) && run_dir=$work/case want=$work/want && mkdir "$want"
prompt=$'\nPressione uma tecla para continuar...\n'
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
# put FIELD FILE: a table field as the bytes it stands for (=FOLDER: that
# folder's standard output).
put() {
    [[ $1 == =* ]] && cp "${table%/*}/../cases/${1#=}/stdout" "$2" || printf '%b' "${1//\\P/$prompt}" >"$2"
}
if [[ -d $case ]]; then
    cp -R "$case" "$run_dir" && cd "$run_dir" || exit 1
    cp stdout "$want/stdout" 2>/dev/null || : >"$want/stdout"
    cp stderr "$want/stderr" 2>/dev/null || : >"$want/stderr"
    cp status "$want/status" 2>/dev/null || echo 0 >"$want/status"
    [[ $kind != ordimet ]] || prompts=$(<prompts)
else
    table=${case%:*} row=${case##*:} && mkdir "$run_dir" && cd "$run_dir" || exit 1
    line=$(awk -F' [|] ' -v row="$row" '$1 == row' "$table")
    IFS=$'\x1f' read -ra field <<<"${line// | /$'\x1f'}"
    if [[ $kind == design ]]; then
        # Shell words, quoted as on a command line, and a last >FILE sends
        # standard output to FILE; the setup and the check become the files
        # setup and after of a folder.
        text=${field[1]}
        [[ $text =~ ^(.*)' >'([^ ]+)$ ]] && text=${BASH_REMATCH[1]} stdout_to=${BASH_REMATCH[2]}
        eval "words=($text)"
        [[ -z ${field[2]} ]] || printf '%s\n' "${field[2]}" >setup
        [[ -z ${field[6]:-} ]] || printf '%s\n' "${field[6]}" >after
    else
        read -ra words <<<"${field[1]}"
        file=method.txt text=${field[2]}
        [[ $text =~ ^([[:alnum:]._-]+)=(.*)$ ]] && file=${BASH_REMATCH[1]} text=${BASH_REMATCH[2]}
        printf '%b' "$text" >"$file"
    fi
    put "${field[3]}" "$want/stdout" && : >"$want/stderr"
    if [[ $kind == ordimet ]]; then
        prompts=${field[4]} && echo 0 >"$want/status"
    else
        put "${field[4]}" "$want/stderr" && echo "${field[5]}" >"$want/status"
    fi
fi
# The program runs in that scratch copy, where examples/ and data/ lead to the
# method files of examples/ and tests/analyse/data: the names it prints are
# short, and relative for Windows programs too. ordimet-design reads no method
# file, and its cases check what the folder holds after the run.
[[ $kind == design ]] || { ln -s "$top/examples" examples && ln -s "$top/tests/analyse/data" data; }
[[ ! -f setup ]] || bash ./setup || { echo "setup failed" && exit 1; }
[[ -z $table ]] && { words=() && [[ ! -f args ]] || mapfile -t words <args; }
args=()
for word in "${words[@]}"; do
    case $word in @*) word=examples/${word#@} ;; %*) word=data/${word#%} ;; esac
    printf -v word '%b' "$word" && args+=("$word")
done
limit=120 && [[ ! -f limit ]] || limit=$(<limit)

# run OUT: runs the program in a new session without a terminal (every pause
# returns at once), standard output to OUT (left empty when a row sends it
# elsewhere); ordimet fails on a status or error output, which its cases never
# expect.
# A folder's `stdin` is the program's standard input, `stdin-closed` closes
# it; nothing is there to read otherwise.
run() {
    : >"$1"
    local input=/dev/null
    [[ ! -f stdin ]] || input=stdin
    if [[ -f stdin-closed ]]; then
        setsid -w timeout -s KILL "$limit" "${emulator[@]}" "$program" "${args[@]}" <&- \
            >"${stdout_to:-$1}" 2>"$work/stderr"
    else
        setsid -w timeout -s KILL "$limit" "${emulator[@]}" "$program" "${args[@]}" <"$input" \
            >"${stdout_to:-$1}" 2>"$work/stderr"
    fi
    status=$?
    ((${#emulator[@]} == 0)) || LC_ALL=C sed -i 's/\r$//' "$1" "$work/stderr"
    [[ $kind != ordimet ]] || { ((status == 0)) && [[ ! -s $work/stderr ]]; } && return
    echo "exit status $status, standard error:" && head -c 4000 "$work/stderr" && return 1
}
prompts_in() { grep -c -a -x 'Pressione uma tecla para continuar\.\.\.' "$@"; }
has() { printf '%s\n' "${args[@]}" | grep -qx -- "$1"; }

# Each allocation fails in turn: the memory message must follow the normal
# output and the listed number of prompts, and only the final pause follow it.
if [[ ${ALLOCATIONS:-} == 1 ]]; then
    mapfile -t before <alloc-failures
    for ((n = 1; n <= ${#before[@]}; n++)); do
        ORDIMET_FAIL_ALLOCATION=$n run "$work/out" || exit 1
        at=$(grep -b -a -x 'Erro de falta de memoria\.' "$work/out" | cut -d: -f1)
        [[ $at =~ ^[0-9]+$ ]] && cmp -s -n "$at" "$work/out" "$want/stdout" &&
            (($(head -c "$at" "$work/out" | prompts_in) == before[n - 1])) &&
            [[ $(tail -c +$((at + 27)) "$work/out" && echo x) == "${prompt}x" ]] ||
            { echo "allocation $n fails wrongly:" && head -c 2000 "$work/out" && exit 1; }
    done
    ORDIMET_FAIL_ALLOCATION=$n run "$work/out" && cmp "$work/out" "$want/stdout"
    exit
fi

run "$work/stdout" || exit 1
echo "$status" >"$work/status"
[[ -f stdout.sha256 ]] && (cd "$work" && sha256sum -c --status "$run_dir/stdout.sha256") &&
    cp "$work/stdout" "$want/stdout"
failed=0
if [[ $kind == ordimet ]]; then
    got=$(prompts_in "$work/stdout")
    ((got == prompts)) || { echo "$got prompts, expected $prompts" && failed=1; }
fi
for stream in stdout stderr status; do
    cmp -s "$want/$stream" "$work/$stream" && continue
    echo "$stream differs (- expected, + actual):" && failed=1
    diff -u --text "$want/$stream" "$work/$stream" | head -n 60 | cut -c 1-300
done
# JSON output against its schema: ordimet-analyse's, one document or, with
# --each, JSON Lines; ordimet-design search's, JSON Lines.
schema=
case $kind:${args[0]:-} in
analyse:*) schema=analyse-json mode=document && has --each && mode=lines ;;
design:search) schema=design-search-json mode=lines ;;
esac
if [[ -n $schema && -s $work/stdout ]] && has --json; then
    python3 "$top/tests/analyse/e2e/validate_json.py" "$top/docs/$schema.schema.json" "$mode" \
        "$work/stdout" || exit 1
fi
# The check after the run passes (no update takes it over); for ordimet-design
# also no hidden (temporary) file is left, and a method written with --json is
# read back by ordimet-analyse, built beside it, with the same order and error
# constant.
[[ ! -f after ]] || bash ./after || { echo "the check after the run failed" && exit 1; }
if [[ $kind == design ]]; then
    ! compgen -G '.*[!.]*' >/dev/null || { echo "left behind:" .*[!.]* && exit 1; }
    written=
    for ((i = 1; i < ${#args[@]}; i++)); do
        [[ ${args[i - 1]} == --output ]] && written=${args[i]}
    done
    if ((status == 0)) && [[ ${args[0]:-} != search && -f $written ]] && has --json; then
        "${program%/*}/ordimet-analyse" --json SI "$written" >"$work/analysed" &&
            python3 - "$work/stdout" "$work/analysed" <<'EOF' || exit 1
import json, sys
made, read = (json.load(open(name)) for name in sys.argv[1:])
made, read = [(d["order"], d["error_constant"]) for d in (made, read["algorithms"][0])]
sys.exit(None if made == read else f"ordimet-design: {made}, ordimet-analyse: {read}")
EOF
    fi
fi
((failed == 1)) && [[ ${UPDATE:-} == 1 ]] || exit $failed

# escaped FILE: bytes other than printable ASCII, and the backslash and the
# bar, as escapes; the prompt as \P.
escaped() {
    od -An -v -tx1 "$1" | tr -s ' \n' '\n\n' | awk -v H=0123456789abcdef 'NF {
        v = (index(H, substr($1, 1, 1)) - 1) * 16 + index(H, substr($1, 2, 1)) - 1
        s = s (v == 10 ? "\\n" : v == 13 ? "\\r" : v == 9 ? "\\t" : v < 32 || v > 126 ||
            v == 92 || v == 124 ? sprintf("\\x%02x", v) : sprintf("%c", v)) }
        END { gsub(/\\nPressione uma tecla para continuar\.\.\.\\n/, "\\P", s); printf "%s", s }'
}
if [[ -n $table ]]; then # rows of one table are rewritten one at a time
    [[ $kind == ordimet ]] && f5=$got f6= || f5=$(escaped "$work/stderr") f6=$status
    (flock 9 && ROW=$row F4=$(escaped "$work/stdout") F5=$f5 F6=$f6 awk -F' [|] ' -v OFS=' | ' '
        $1 == ENVIRON["ROW"] { $4 = ENVIRON["F4"]; $5 = ENVIRON["F5"]; if (ENVIRON["F6"] != "") $6 = ENVIRON["F6"] } 1' \
        "$table" >"$work/table" && cat "$work/table" >"$table") 9<"$table"
else
    [[ -f stdout.sha256 ]] && (cd "$work" && sha256sum stdout) >"$case/stdout.sha256" ||
        cp "$work/stdout" "$case/stdout"
    if [[ $kind == ordimet ]]; then
        echo "$got" >"$case/prompts"
    else
        rm -f "$case/stderr" "$case/status"
        [[ ! -s $work/stderr ]] || cp "$work/stderr" "$case/stderr"
        ((status == 0)) || echo "$status" >"$case/status"
    fi
fi
echo "updated $case"
