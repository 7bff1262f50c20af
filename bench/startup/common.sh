# Shared start of the whole-process benchmark scripts: sourced, never run.
#   bench_init <build-dir or ""> <file>...   sets root, build, QUENLO_WINE_DIR and work, checks that
#       the named files (relative to the build folder) exist, and uses the build's running Wine
#       session or starts one;
#   bench_cleanup                            stops a session that bench_init started, removes work.
bench_init() {
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
    build="$(cd "${1:-$root/build/win32}" && pwd)"
    shift
    export QUENLO_WINE_DIR="${QUENLO_WINE_DIR:-$build/wine}"
    local f
    for f in "$@"; do
        [ -f "$build/$f" ] || { echo "missing $build/$f: build the win32 preset first" >&2; exit 1; }
    done
    work="$(mktemp -d)"
    bench_started_session=0
    if [ ! -f "$QUENLO_WINE_DIR/session.env" ]; then
        # Its output goes to a file: Wine helpers would keep a pipe open.
        "$root/tools/wine-session" start </dev/null >"$work/session.log" 2>&1
        bench_started_session=1
    fi
}

bench_cleanup() {
    [ "$bench_started_session" = 0 ] ||
        "$root/tools/wine-session" stop </dev/null >/dev/null 2>&1 || true
    rm -rf "$work"
}
