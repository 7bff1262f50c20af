#!/usr/bin/env bash
# Idle CPU of setup.exe under Wine: starts the program, waits for its window and a few seconds of
# settling, then reads the CPU time (user + system) of the Linux process that runs it before and
# after N seconds in which the banner only cycles its lines, and reports it as percent of one core.
# The private Xvfb's CPU over the same time is shown beside it: the banner's repaints cost the
# X server too.
#
#   bench/startup/idle_cpu.sh [-s seconds] [build-dir]      (default: 30 s, build/win32)
#
# The program's Linux process is the one the script starts: wine-run and wine exec one another, so
# its PID is the background job's. Where Wine's 32-bit side runs through qemu-user, the figure
# includes the emulation. Uses the running Wine session of the build folder, or starts one and
# stops it again.
set -euo pipefail

seconds=30
if [ "${1:-}" = "-s" ]; then
    seconds="$2"
    shift 2
fi
. "$(dirname "$0")/common.sh"
bench_init "${1:-}" setup.exe tests/e2e/uidriver.exe
uidriver="$build/tests/e2e/uidriver.exe"
setup_pid=""
cleanup() {
    if [ -n "$setup_pid" ] && kill -0 "$setup_pid" 2>/dev/null; then
        kill "$setup_pid" 2>/dev/null || true
        sleep 1
        kill -9 "$setup_pid" 2>/dev/null || true
    fi
    bench_cleanup
}
trap cleanup EXIT

# Driver calls write to files, never to a pipe: Wine helpers may inherit it.
ud() { "$root/tools/wine-run" "$uidriver" "$@" </dev/null >"$work/ud.out" 2>&1; }
kv() { sed -n "s/^$1=//p" "$work/ud.out" | head -n1; }

# utime + stime in clock ticks; the command name in field 2 may hold spaces, so cut after ")".
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

mkdir "$work/setup"
cp "$build/setup.exe" "$work/setup/"
(cd "$work/setup" && exec "$root/tools/wine-run" setup.exe) </dev/null >"$work/setup.out" 2>&1 &
setup_pid=$!

title_hex="$(printf 'Quenlo（网络版）服务器端安装程序' | iconv -f UTF-8 -t CP936 | od -An -tx1 | tr -d ' \n')"
ud wait-window "hex:$title_hex" --timeout 60000 || { cat "$work/ud.out" >&2; exit 1; }
hwnd="$(kv hwnd)"
sleep 3  # past the start-up work and the first fade-in

xvfb_pid="$(cat "$QUENLO_WINE_DIR/xvfb.pid" 2>/dev/null || true)"
[ -z "$xvfb_pid" ] || [ -r "/proc/$xvfb_pid/stat" ] || xvfb_pid=""
s0="$(ticks "$setup_pid")"
[ -z "$xvfb_pid" ] || x0="$(ticks "$xvfb_pid")"
t0="$(date +%s%N)"
sleep "$seconds"
s1="$(ticks "$setup_pid")"
[ -z "$xvfb_pid" ] || x1="$(ticks "$xvfb_pid")"
t1="$(date +%s%N)"

ud close "$hwnd" || true
for _ in $(seq 100); do
    kill -0 "$setup_pid" 2>/dev/null || break
    sleep 0.1
done

hz="$(getconf CLK_TCK)"
awk -v s="$((s1 - s0))" -v hz="$hz" -v ns="$((t1 - t0))" -v x="${x1:-0}" -v xs="${x0:-0}" \
    -v xvfb="${xvfb_pid:+1}" 'BEGIN {
    secs = ns / 1e9
    printf "idle time measured:    %.1f s\n", secs
    printf "setup.exe CPU:         %.2f s = %.2f %% of one core\n", s / hz, 100 * s / hz / secs
    x = (x - xs) / hz
    if (xvfb) printf "Xvfb CPU (same time): %.2f s = %.2f %% of one core\n", x, 100 * x / secs
}'
