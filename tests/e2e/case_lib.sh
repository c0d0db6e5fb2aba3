# Shared by the end-to-end scripts: prepares a case and runs the program on it.
#
# A case directory holds:
#   args      the command-line arguments, one per line (a line "@NAME" stands
#             for the file NAME of the examples directory)
#   expected  the exact standard output
#   prompts   the number of key prompts the run must print
#   setup     optional: a bash script run first in a scratch copy of the case,
#             to make inputs (and expectations) impractical to commit; E2E_DIR
#             names this directory for it
#   any method files the arguments name, relative to the case directory.
#   posix-only optional, empty: the case can't be had on Windows, whose build
#             doesn't run it
#
# The scripts take the program and, after their own arguments, an optional
# emulator command that runs it (a Windows program under Wine); they set the
# array `emulator` to it.

e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# prepare_case CASE_DIR EXAMPLES_DIR: sets run_dir (the case, or its scratch
# copy after setup), work (a scratch directory removed at exit) and args.
prepare_case() {
    local case_dir=$1 examples=$2 line
    work=$(mktemp -d)
    trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
    run_dir=$case_dir
    if [[ -f $case_dir/setup ]]; then
        run_dir=$work/case
        cp -R "$case_dir" "$run_dir"
        (cd "$run_dir" && E2E_DIR=$e2e_dir bash ./setup) ||
            { echo "setup failed"; exit 1; }
    fi
    # Relative to the run directory, so that a Windows program under Wine
    # finds the examples too.
    examples=$(realpath -m --relative-to="$run_dir" "$examples")
    args=()
    if [[ -f $run_dir/args ]]; then
        while IFS= read -r line || [[ -n $line ]]; do
            [[ $line == @* ]] && line=$examples/${line#@}
            args+=("$line")
        done <"$run_dir/args"
    fi
}

emulator=()

# run_program PROGRAM STDOUT STDERR: runs the program on the prepared case in
# a new session without a controlling terminal, so every pause returns at
# once; a run that doesn't end within 120 s is killed. Returns its status.
# Under an emulator the console's CR LF line ends are turned back into LF.
run_program() {
    local status
    (cd "$run_dir" &&
        setsid -w timeout -s KILL 120 "${emulator[@]}" "$1" "${args[@]}" </dev/null >"$2" 2>"$3")
    status=$?
    if [[ ${#emulator[@]} -gt 0 ]]; then
        LC_ALL=C sed -i 's/\r$//' "$2" "$3"
    fi
    return $status
}

# count_prompts FILE: the number of key prompts in an output.
count_prompts() {
    grep -c -a '^Pressione uma tecla para continuar\.\.\.$' "$1"
}
