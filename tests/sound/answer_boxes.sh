#!/usr/bin/env bash
# Runs a program on an X server of its own and answers each message box it shows with Return.
# Prints the program's output and, last, "boxes answered: N"; fails when the program fails or
# outlives its time.
set -euo pipefail
if [ -z "${PELVARO_ON_XVFB:-}" ]; then
    PELVARO_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

caption=$1
program=$2
output=$(mktemp)
trap 'rm -f "$output"' EXIT

"$program" >"$output" &
pid=$!
answered=0
while kill -0 "$pid" 2>/dev/null; do
    if box=$(xdotool search --name "^${caption}\$" 2>/dev/null | head -n 1) && [ -n "$box" ]; then
        # The box takes the keyboard once it is mapped.
        xdotool windowactivate --sync "$box" 2>/dev/null || true
        xdotool key --window "$box" Return
        answered=$((answered + 1))
        while xdotool search --name "^${caption}\$" >/dev/null 2>&1; do sleep 0.05; done
    fi
    sleep 0.05
done
status=0
wait "$pid" || status=$?
cat "$output"
echo "boxes answered: $answered"
exit "$status"
