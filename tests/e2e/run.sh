#!/usr/bin/env bash
# Runs the program on one end-to-end case in a new session without a terminal
# (every pause returns at once) and checks its standard output byte for byte,
# its exit status (0), an empty standard error and the number of key prompts.
# A case is a folder of cases/ or a row of a table of tables/; README.md
# (Testing) describes both. UPDATE=1 rewrites the expectations of a case that
# differs from the run. ALLOCATIONS=1 instead fails each allocation that the
# folder's alloc-failures file lists, in turn (a build with the allocation
# seam): the memory message must come once, after the normal output and the
# listed number of prompts, followed only by the final pause.
#
# Usage: run.sh PROGRAM EXAMPLES_DIR CASE_DIR|TABLE:ROW [EMULATOR...]
set -u
program=$1 case=$3
emulator=("${@:4}")
prompt='\nPressione uma tecla para continuar...\n'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ -d $case ]]; then
    run_dir=$case
    if [[ -f $case/setup ]]; then
        run_dir=$work/case
        cp -R "$case" "$run_dir" && (cd "$run_dir" && bash ./setup) || exit 1
    fi
    mapfile -t words <"$run_dir/args"
    cp "$run_dir/expected" "$work/expected" 2>/dev/null
    prompts=$(cat "$run_dir/prompts")
else
    table=${case%:*} row=${case##*:} run_dir=$work/row
    line=$(awk -F' [|] ' -v row="$row" '$1 == row' "$table")
    IFS=$'\x1f' read -r _ words text expected prompts _ <<<"${line// | /$'\x1f'}"
    read -ra words <<<"$words"
    mkdir "$run_dir" && printf '%b' "$text" >"$run_dir/method.txt"
    if [[ $expected == =* ]]; then
        cp "$(dirname "$table")/../cases/${expected#=}/expected" "$work/expected"
    else
        printf '%b' "${expected//\\P/$prompt}" >"$work/expected"
    fi
fi
# Relative to the run directory, so that a Windows program finds them too.
examples=$(realpath -m --relative-to="$run_dir" "$2")
args=()
for word in "${words[@]}"; do
    [[ $word == @* ]] && word=$examples/${word#@}
    printf -v word '%b' "$word"
    args+=("$word")
done

# run OUT: runs the program, standard output to OUT; returns its status.
run() {
    (cd "$run_dir" && setsid -w timeout -s KILL 120 "${emulator[@]}" "$program" "${args[@]}" \
        </dev/null >"$1" 2>"$work/stderr")
    local status=$?
    ((${#emulator[@]} == 0)) || LC_ALL=C sed -i 's/\r$//' "$1" "$work/stderr"
    ((status == 0)) && [[ ! -s $work/stderr ]] && return
    echo "exit status $status, standard error:" && head -c 4000 "$work/stderr" && return 1
}
count_prompts() { grep -c -a -x 'Pressione uma tecla para continuar\.\.\.' "$1"; }

if [[ ${ALLOCATIONS:-} == 1 ]]; then
    mapfile -t before <"$run_dir/alloc-failures"
    failed=0
    for ((n = 1; n <= ${#before[@]} + 1; n++)); do
        out=$work/out.$n
        ORDIMET_FAIL_ALLOCATION=$n run "$out" || { failed=1 && continue; }
        if ((n > ${#before[@]})); then
            cmp -s "$out" "$work/expected" || { echo "run without a failure differs" && failed=1; }
            continue
        fi
        offset=$(grep -b -a -x 'Erro de falta de memoria\.' "$out" | cut -d: -f1)
        head -c "${offset:-0}" "$out" >"$work/before"
        [[ $offset =~ ^[0-9]+$ ]] && cmp -s -n "$offset" "$work/before" "$work/expected" &&
            (($(count_prompts "$work/before") == before[n - 1])) &&
            [[ $(tail -c +$((offset + 27)) "$out" && echo x) == "$(printf "${prompt}x")" ]] ||
            { echo "allocation $n fails wrongly:" && head -c 2000 "$out" && failed=1; }
    done
    exit $failed
fi

run "$work/stdout" || exit 1
got=$(count_prompts "$work/stdout")
if [[ -f $run_dir/expected.sha256 ]]; then
    (cd "$work" && sha256sum -c --status "$(realpath "$run_dir")/expected.sha256") &&
        cp "$work/stdout" "$work/expected"
fi
cmp -s "$work/expected" "$work/stdout" && ((got == prompts)) && exit 0
if [[ ${UPDATE:-} != 1 ]]; then
    echo "$got prompts, expected $prompts; standard output (- expected, + actual):"
    diff -u --text "$work/expected" "$work/stdout" | head -n 60 | cut -c 1-300
    exit 1
fi
if [[ -z ${table:-} ]]; then
    if [[ -f $case/expected.sha256 ]]; then
        (cd "$work" && sha256sum stdout) >"$case/expected.sha256"
    else
        cp "$work/stdout" "$case/expected"
    fi
    echo "$got" >"$case/prompts"
else
    # Every byte that is not printable ASCII, and the backslash and the bar,
    # as an escape; the prompt as \P.
    text=$(od -An -v -tx1 "$work/stdout" | tr -s ' \n' '\n\n' | awk 'NF {
        v = (index(H, substr($1, 1, 1)) - 1) * 16 + index(H, substr($1, 2, 1)) - 1
        if (v == 10) s = s "\\n"; else if (v == 13) s = s "\\r"; else if (v == 9) s = s "\\t"
        else if (v < 32 || v > 126 || v == 92 || v == 124) s = s sprintf("\\x%02x", v)
        else s = s sprintf("%c", v) }
        END { gsub(/\\nPressione uma tecla para continuar\.\.\.\\n/, "\\P", s); printf "%s", s }
    ' H=0123456789abcdef)
    # Rows of one table may be updated at once: one at a time rewrites it.
    (flock 9 && ROW=$row TEXT=$text GOT=$got awk -F' [|] ' -v OFS=' | ' \
        '$1 == ENVIRON["ROW"] { $4 = ENVIRON["TEXT"]; $5 = ENVIRON["GOT"] } 1' \
        "$table" >"$work/table" && cat "$work/table" >"$table") 9<"$table"
fi
echo "updated $case"
