#!/bin/sh
# Runs a program with a pseudo-terminal as its standard input and exits with its status: wine
# gives a program a working console (one that WriteConsoleInput can fill) only when it runs in a
# terminal. The program's output and errors go to files and are passed on afterwards, since what
# wine draws on the terminal is screen updates rather than text.
#   in_terminal.sh <program> [argument...]
# script(1) passes its own standard input on to the terminal and, when that input ends, types the
# terminal's end-of-file character into it, which would land in the console's input queue. Its
# input is therefore a FIFO held open for writing here, which never ends.
set -e
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkfifo "$dir/input"
exec 3<>"$dir/input"

command=""
for word in "$@"; do
    command="$command '$(printf '%s' "$word" | sed "s/'/'\\\\''/g")'"
done
set +e
script -qec "$command >'$dir/output' 2>'$dir/errors'" /dev/null <&3 >/dev/null
status=$?
exec 3>&-
cat "$dir/output"
cat "$dir/errors" >&2
exit $status
