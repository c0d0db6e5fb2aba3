#!/usr/bin/env bash
# Runs ordimet or ordimet-analyse on one end-to-end case, a folder of cases/ or
# a row of a table of tables/, and checks standard output, standard error and
# exit status byte for byte, ordimet's prompts, and JSON output against the
# schema. UPDATE=1 rewrites the expectations that differ, ALLOCATIONS=1 walks
# the allocations of a folder with alloc-failures (README.md, Testing).
# Usage: run.sh ordimet|analyse PROGRAM CASE_DIR|TABLE:ROW [EMULATOR...]
set -u
kind=$1 program=$(realpath -ms "$2") case=$(realpath -ms "$3") emulator=("${@:4}") table=
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
    [[ $kind == analyse ]] || prompts=$(<prompts)
else
    table=${case%:*} row=${case##*:} && mkdir "$run_dir" && cd "$run_dir" || exit 1
    line=$(awk -F' [|] ' -v row="$row" '$1 == row' "$table")
    IFS=$'\x1f' read -ra field <<<"${line// | /$'\x1f'}"
    read -ra words <<<"${field[1]}"
    file=method.txt text=${field[2]}
    [[ $text =~ ^([[:alnum:]._-]+)=(.*)$ ]] && file=${BASH_REMATCH[1]} text=${BASH_REMATCH[2]}
    printf '%b' "$text" >"$file" && put "${field[3]}" "$want/stdout" && : >"$want/stderr"
    if [[ $kind == analyse ]]; then
        put "${field[4]}" "$want/stderr" && echo "${field[5]}" >"$want/status"
    else
        prompts=${field[4]} && echo 0 >"$want/status"
    fi
fi
# The program runs in that scratch copy, where examples/ and data/ lead to the
# method files of examples/ and tests/analyse/data: the names it prints are
# short, and relative for Windows programs too.
ln -s "$top/examples" examples && ln -s "$top/tests/analyse/data" data
[[ ! -f setup ]] || bash ./setup || { echo "setup failed" && exit 1; }
[[ -z $table ]] && { words=() && [[ ! -f args ]] || mapfile -t words <args; }
args=()
for word in "${words[@]}"; do
    case $word in @*) word=examples/${word#@} ;; %*) word=data/${word#%} ;; esac
    printf -v word '%b' "$word" && args+=("$word")
done
limit=120 && [[ ! -f limit ]] || limit=$(<limit)

# run OUT: runs the program in a new session without a terminal (every pause
# returns at once), standard output to OUT; ordimet fails on a status or error
# output, which its cases never expect.
run() {
    setsid -w timeout -s KILL "$limit" "${emulator[@]}" "$program" "${args[@]}" </dev/null >"$1" 2>"$work/stderr"
    status=$?
    ((${#emulator[@]} == 0)) || LC_ALL=C sed -i 's/\r$//' "$1" "$work/stderr"
    [[ $kind == analyse ]] || { ((status == 0)) && [[ ! -s $work/stderr ]]; } && return
    echo "exit status $status, standard error:" && head -c 4000 "$work/stderr" && return 1
}
prompts_in() { grep -c -a -x 'Pressione uma tecla para continuar\.\.\.' "$@"; }

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
if [[ $kind == analyse && -s $work/stdout ]] && printf '%s\n' "${args[@]}" | grep -qx -- --json; then
    mode=document && printf '%s\n' "${args[@]}" | grep -qx -- --each && mode=lines
    python3 "$top/tests/analyse/e2e/validate_json.py" "$top/docs/analyse-json.schema.json" "$mode" \
        "$work/stdout" || exit 1
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
