#!/usr/bin/env bash
# The program is never killed by its own output, and once a write to standard
# output has failed it waits at no further pause, since nobody can see the
# prompts: a run whose standard output is a pipe without a reader, or a file
# at its size limit, ends with exit status 0 and an empty standard error.
#
# The runs that must not wait stand in a pseudo-terminal (made by script),
# whose keyboard never sends a key: a pause there waits for ever, so a
# generous timeout tells a wait without depending on how fast the machine is.
# A control run with a working standard output shows that the pause does wait
# in that terminal.
#
# Usage: output_gone.sh PROGRAM EXAMPLES_DIR
set -u
program=$1
work=$(mktemp -d)
trap 'exec {silent_keyboard}>&- 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

# A cyclic method of 100 copies of Euler's method prints its matrix of
# 100 x 100 cells twice: far more than a pipe or the size limit holds.
cp "$2/euler-forward.txt" e
args=(CI)
for ((i = 0; i < 100; i++)); do args+=(e); done
printf '%q ' "$program" "${args[@]}" >command

# The terminal's keyboard: a FIFO held open for writing that nobody writes to.
mkfifo keyboard
exec {silent_keyboard}<>keyboard

# in_terminal NAME SHELL-TEXT: runs the text with bash in a new
# pseudo-terminal; the text leaves its exit status in the file NAME.status.
in_terminal() {
    printf '%s\n' "$2" >"$1.sh"
    timeout -s KILL 300 script -q -c "bash $1.sh" /dev/null <keyboard >/dev/null 2>&1
}

failed=0
# expect NAME STATUS [WHAT]: the run NAME ended with STATUS and wrote nothing
# to standard error.
expect() {
    local got
    got=$(cat "$1.status" 2>/dev/null || echo none)
    if [[ $got != "$2" ]]; then
        echo "$1: exit status $got, expected $2${3:+ ($3)}"
        failed=1
    fi
    if [[ -s $1.err ]]; then
        echo "$1: unexpected standard error:"
        head -c 2000 "$1.err"
        failed=1
    fi
}

# The control: with standard output working, the first pause waits.
in_terminal control 'timeout --foreground 5 '"$(cat command)"' >control.out 2>control.err; echo $? >control.status'
expect control 124 "the pause did not wait in the terminal, so the other runs prove nothing"

# A pipe whose reader closed its end before the first write.
in_terminal closed-pipe '
mkfifo pipe
exec {reader}<>pipe {writer}>pipe
exec {reader}<&-
timeout --foreground -s KILL 120 '"$(cat command)"' >&$writer 2>closed-pipe.err
echo $? >closed-pipe.status'
expect closed-pipe 0 "141: killed by SIGPIPE; 137: waited at a pause"

# A file that reaches the size limit (1 KiB) during the run.
in_terminal size-limit '
ulimit -f 1
timeout --foreground -s KILL 120 '"$(cat command)"' >size-limit.out 2>size-limit.err
echo $? >size-limit.status'
expect size-limit 0 "153: killed by SIGXFSZ; 137: waited at a pause"
if [[ $(wc -c <size-limit.out) -ne 1024 ]]; then
    echo "size-limit: $(wc -c <size-limit.out) bytes written, expected the 1024 the limit allows"
    failed=1
fi

# A reader that exits after the first bytes, in the terminal, on a short run:
# the first prompt goes into the pipe while the reader is still there, and
# the pause must not wait on once the reader has gone.
cp "$2/euler-backward.txt" b
printf '%q ' "$program" CI e b >short-command
in_terminal early-reader '
timeout --foreground -s KILL 60 '"$(cat short-command)"' 2>early-reader.err | head -c 10 >/dev/null
echo ${PIPESTATUS[0]} >early-reader.status'
expect early-reader 0 "137: waited at a pause whose prompt went into the pipe"

# A reader that exits after the first bytes, without a terminal.
setsid -w timeout -s KILL 120 "$program" "${args[@]}" </dev/null 2>head.err | head -c 10 >/dev/null
echo "${PIPESTATUS[0]}" >head.status
expect head 0 "141: killed by SIGPIPE"
exit $failed
