#!/usr/bin/env bash
# Start-up benchmark: under the build's Wine prefix and display, starts setup.exe and the bare
# window (the floor) in turn, N times each, and reports the medians of the time from process start
# to a visible window and of the peak working set, and their ratios.
#
#   bench/startup/run.sh [-n runs] [build-dir]      (default: 7 runs, build/win32)
#
# The timing is done inside Wine by `uidriver time-to-window`, which creates the process and polls
# for its first visible top-level window, reads the peak working set and closes the window.
# Uses the running Wine session of the build folder, or starts one and stops it again.
set -euo pipefail

runs=7
if [ "${1:-}" = "-n" ]; then
    runs="$2"
    shift 2
fi
. "$(dirname "$0")/common.sh"
bench_init "${1:-}" setup.exe tests/e2e/uidriver.exe tests/e2e/bare_window.exe
trap bench_cleanup EXIT
tools="$build/tests/e2e"

# One measurement; its output goes to a file, never a pipe (Wine helpers may inherit it).
measure() {
    local exe="$1" out="$work/out"
    (cd "$(dirname "$exe")" &&
        "$root/tools/wine-run" "$tools/uidriver.exe" time-to-window --timeout 60000 "$(basename "$exe")") \
        </dev/null >"$out" 2>&1 || { cat "$out" >&2; return 1; }
    local ms peak
    ms="$(sed -n 's/^ms_to_window=//p' "$out")"
    peak="$(sed -n 's/^peak_working_set=//p' "$out")"
    echo "$ms $peak"
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm-up: the first start of a Wine program pays for loading the prefix's DLLs.
measure "$build/setup.exe" >/dev/null
measure "$tools/bare_window.exe" >/dev/null

: >"$work/setup" && : >"$work/bare"
for i in $(seq "$runs"); do
    measure "$build/setup.exe" >>"$work/setup"
    measure "$tools/bare_window.exe" >>"$work/bare"
    echo "run $i/$runs: setup $(tail -n1 "$work/setup")  bare $(tail -n1 "$work/bare")" >&2
done

s_ms="$(cut -d' ' -f1 "$work/setup" | median)"
b_ms="$(cut -d' ' -f1 "$work/bare" | median)"
s_ws="$(cut -d' ' -f2 "$work/setup" | median)"
b_ws="$(cut -d' ' -f2 "$work/bare" | median)"
awk -v sm="$s_ms" -v bm="$b_ms" -v sw="$s_ws" -v bw="$b_ws" -v n="$runs" 'BEGIN {
    printf "runs per program:            %d (medians)\n", n
    printf "start to visible window:     setup.exe %.1f ms, bare window %.1f ms, ratio %.2f\n", sm, bm, sm / bm
    printf "peak working set:            setup.exe %.1f MB, bare window %.1f MB, ratio %.2f\n", sw / 1048576, bw / 1048576, sw / bw
}'
