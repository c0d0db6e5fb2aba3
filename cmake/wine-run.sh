#!/usr/bin/env bash
# Runs a Windows program of the test suite under Wine.
#
# Usage: wine-run.sh PREFIX [PROGRAM [ARGUMENTS...]]
#   PREFIX  the Wine prefix to use, made on first use; a WINEPREFIX in the
#           environment takes its place. Without a program, the prefix is
#           only made.
#
# Wine's own diagnostics are switched off, so that standard error holds only
# what the program writes there.
set -eu
prefix=$1
shift
export WINEPREFIX=${WINEPREFIX:-$prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No offer to install Wine's .NET and HTML engines into a new prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Wine's 32-bit loader starts 64-bit programs too, but only where the kernel
# runs 32-bit programs; elsewhere the 64-bit loader is used on its own (and
# only 64-bit programs can run).
wine=wine
if ! wine --version >/dev/null 2>&1; then
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    export WINELOADER=$wine
fi

# A new prefix is made once, under a lock, before any program runs in it:
# tests run in parallel.
ready=$WINEPREFIX/.made-by-wine-run
if [[ ! -e $ready ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [[ ! -e $ready ]]; then
        "$wine" wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$ready" || {
            echo "wine-run.sh: can't make the Wine prefix $WINEPREFIX" >&2
            exit 125
        }
    fi
    exec 9>&-
fi
[[ $# -gt 0 ]] || exit 0
exec "$wine" "$@"
