#!/usr/bin/env bash
# Runs the program on one end-to-end case, a folder of cases/ or a row of a
# table of tables/, and checks it; UPDATE=1 rewrites the expectations that
# differ, ALLOCATIONS=1 walks the folder's allocations (README.md, Testing).
# Usage: run.sh PROGRAM EXAMPLES_DIR CASE_DIR|TABLE:ROW [EMULATOR...]
set -u
program=$1 case=$3 emulator=("${@:4}") table= run_dir=$3 work=$(mktemp -d)
prompt=$'\nPressione uma tecla para continuar...\n'
trap 'rm -rf "$work"' EXIT
if [[ -f $case/setup ]]; then
    run_dir=$work/case
    cp -R "$case" "$run_dir" && (cd "$run_dir" && bash ./setup) || exit 1
fi
if [[ -d $case ]]; then
    mapfile -t words <"$run_dir/args"
    cp "$run_dir/expected" "$work/expected" 2>/dev/null
    prompts=$(cat "$run_dir/prompts")
else
    table=${case%:*} row=${case##*:} run_dir=$work/row
    line=$(awk -F' [|] ' -v row="$row" '$1 == row' "$table")
    IFS=$'\x1f' read -r _ words text expected prompts _ <<<"${line// | /$'\x1f'}"
    read -ra words <<<"$words"
    mkdir "$run_dir" && printf '%b' "$text" >"$run_dir/method.txt"
    [[ $expected == =* ]] && cp "${table%/*}/../cases/${expected#=}/expected" "$work/expected" ||
        printf '%b' "${expected//\\P/$prompt}" >"$work/expected"
fi
examples=$(realpath -m --relative-to="$run_dir" "$2") # relative: Windows programs find it too
args=()
for word in "${words[@]}"; do
    [[ $word == @* ]] && word=$examples/${word#@}
    printf -v word '%b' "$word" && args+=("$word")
done

# run OUT: runs the program in a new session without a terminal (every pause
# returns at once), standard output to OUT; fails on a status or error output.
run() {
    (cd "$run_dir" && setsid -w timeout -s KILL 120 "${emulator[@]}" "$program" "${args[@]}" \
        </dev/null >"$1" 2>"$work/stderr")
    local status=$?
    ((${#emulator[@]} == 0)) || LC_ALL=C sed -i 's/\r$//' "$1" "$work/stderr"
    ((status == 0)) && [[ ! -s $work/stderr ]] && return
    echo "exit status $status, standard error:" && head -c 4000 "$work/stderr" && return 1
}
prompts_in() { grep -c -a -x 'Pressione uma tecla para continuar\.\.\.' "$@"; }

# Each allocation fails in turn: the memory message must follow the normal
# output and the listed number of prompts, and only the final pause follow it.
if [[ ${ALLOCATIONS:-} == 1 ]]; then
    mapfile -t before <"$run_dir/alloc-failures"
    for ((n = 1; n <= ${#before[@]}; n++)); do
        ORDIMET_FAIL_ALLOCATION=$n run "$work/out" || exit 1
        at=$(grep -b -a -x 'Erro de falta de memoria\.' "$work/out" | cut -d: -f1)
        [[ $at =~ ^[0-9]+$ ]] && cmp -s -n "$at" "$work/out" "$work/expected" &&
            (($(head -c "$at" "$work/out" | prompts_in) == before[n - 1])) &&
            [[ $(tail -c +$((at + 27)) "$work/out" && echo x) == "${prompt}x" ]] ||
            { echo "allocation $n fails wrongly:" && head -c 2000 "$work/out" && exit 1; }
    done
    ORDIMET_FAIL_ALLOCATION=$n run "$work/out" && cmp "$work/out" "$work/expected"
    exit
fi

run "$work/stdout" || exit 1
got=$(prompts_in "$work/stdout")
[[ -f $run_dir/expected.sha256 ]] && (cd "$work" && sha256sum -c --status "$run_dir/expected.sha256") &&
    cp "$work/stdout" "$work/expected"
cmp -s "$work/expected" "$work/stdout" && ((got == prompts)) && exit 0
if [[ ${UPDATE:-} != 1 ]]; then
    echo "$got prompts, expected $prompts; standard output (- expected, + actual):"
    diff -u --text "$work/expected" "$work/stdout" | head -n 60 | cut -c 1-300
    exit 1
elif [[ -f $case/expected.sha256 ]]; then
    (cd "$work" && sha256sum stdout) >"$case/expected.sha256" && echo "$got" >"$case/prompts"
elif [[ -d $case ]]; then
    cp "$work/stdout" "$case/expected" && echo "$got" >"$case/prompts"
else
    # Bytes other than printable ASCII, and the backslash and the bar, as
    # escapes; the prompt as \P. Rows of one table are rewritten one at a time.
    text=$(od -An -v -tx1 "$work/stdout" | tr -s ' \n' '\n\n' | awk -v H=0123456789abcdef 'NF {
        v = (index(H, substr($1, 1, 1)) - 1) * 16 + index(H, substr($1, 2, 1)) - 1
        s = s (v == 10 ? "\\n" : v == 13 ? "\\r" : v == 9 ? "\\t" : v < 32 || v > 126 ||
            v == 92 || v == 124 ? sprintf("\\x%02x", v) : sprintf("%c", v)) }
        END { gsub(/\\nPressione uma tecla para continuar\.\.\.\\n/, "\\P", s); printf "%s", s }')
    (flock 9 && ROW=$row TEXT=$text GOT=$got awk -F' [|] ' -v OFS=' | ' \
        '$1 == ENVIRON["ROW"] { $4 = ENVIRON["TEXT"]; $5 = ENVIRON["GOT"] } 1' \
        "$table" >"$work/table" && cat "$work/table" >"$table") 9<"$table"
fi
echo "updated $case"
