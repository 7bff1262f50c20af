# Library of the end-to-end test scripts: sourced, never run. A script calls e2e_init first; the
# cleanup trap then ends whatever the script started, by PID.
#
# Environment (ctest sets it, see tests/e2e/CMakeLists.txt):
#   QUENLO_WINE_DIR  the Wine session of this build (prefix, display)
#   E2E_BUILD_DIR    the build folder that holds setup.exe
#   E2E_TOOLS_DIR    the folder that holds uidriver.exe, its probe and the stand-ins
#
# Every Wine process gets its own files for stdin/stdout/stderr: Wine may start helper processes
# (explorer.exe /desktop) that inherit them and outlive the call, and a pipe held that way would
# keep a $(...) or ctest waiting.

set -euo pipefail

E2E_SRC_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
E2E_ROOT="$(cd "$E2E_SRC_DIR/../.." && pwd)"
E2E_WINE_RUN="$E2E_ROOT/tools/wine-run"

# The application title as the program holds it: CP936 bytes, in hex.
E2E_TITLE="Quenlo（网络版）服务器端安装程序"

E2E_PIDS=()  # Linux PIDs of the Wine processes the script started
declare -A E2E_OUTS  # their output files

e2e_log() { echo "e2e[$E2E_NAME]: $*" >&2; }

fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    exit 1
}

# Hex of a UTF-8 text converted to code page 936, the bytes the program shows.
gbk_hex() { printf '%s' "$1" | iconv -f UTF-8 -t CP936 | od -An -tx1 | tr -d ' \n'; }

e2e_init() {
    E2E_NAME="$1"
    : "${E2E_BUILD_DIR:?E2E_BUILD_DIR is not set}"
    : "${E2E_TOOLS_DIR:?E2E_TOOLS_DIR is not set}"
    . "$E2E_ROOT/tools/winenv.sh"
    winenv_load_session
    E2E_WORK="$E2E_BUILD_DIR/e2e-work/$E2E_NAME"
    E2E_ARTIFACTS="$E2E_BUILD_DIR/e2e-artifacts/$E2E_NAME"
    rm -rf "$E2E_WORK"
    mkdir -p "$E2E_WORK" "$E2E_ARTIFACTS"
    trap e2e_cleanup EXIT
}

# Ends every program the script started that is still running.
e2e_cleanup() {
    local rc=$? pid winpid
    for pid in "${E2E_PIDS[@]}"; do
        kill -0 "$pid" 2>/dev/null || continue
        e2e_log "ending process $pid left running"
        # A program that the driver started (it printed pid=) is its child, not this shell's: end
        # it by its Windows id while the driver, still waiting for it, shows that it runs.
        winpid="$(sed -n 's/^pid=//p' "${E2E_OUTS[$pid]}" | head -n1)"
        [ -z "$winpid" ] || ud terminate "$winpid" >/dev/null 2>&1 || true
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    done
    exit "$rc"
}

# e2e_make_folder [name]: a fresh install folder under the work folder, laid out as an
# administrator gets it: setup.exe, the setup program's stand-in "MSSQL安装.exe", "start.bat" and a
# placeholder "kovra.bak". Sets E2E_FOLDER.
e2e_make_folder() {
    E2E_FOLDER="$E2E_WORK/${1:-setup}"
    rm -rf "$E2E_FOLDER"
    mkdir -p "$E2E_FOLDER"
    cp "$E2E_BUILD_DIR/setup.exe" "$E2E_FOLDER/"
    cp "$E2E_TOOLS_DIR/MSSQL安装.exe" "$E2E_FOLDER/"
    cp "$E2E_SRC_DIR/start.bat" "$E2E_FOLDER/"
    printf 'placeholder of the initial database backup\r\n' >"$E2E_FOLDER/kovra.bak"
}

# e2e_start_setup [NAME=VALUE...]: starts setup.exe from E2E_FOLDER (its current directory) in the
# background. With NAME=VALUE arguments it is started through the driver with those variables in
# its environment (for example ComSpec). Sets E2E_SETUP_PID (the Linux PID of its Wine process).
e2e_start_setup() {
    local out="$E2E_WORK/setup.$((${#E2E_PIDS[@]} + 1)).out"
    local envargs=() kv
    for kv in "$@"; do envargs+=(--env "$kv"); done
    if [ ${#envargs[@]} -eq 0 ]; then
        (cd "$E2E_FOLDER" && exec "$E2E_WINE_RUN" setup.exe) </dev/null >"$out" 2>&1 &
    else
        (cd "$E2E_FOLDER" && exec "$E2E_WINE_RUN" "$E2E_TOOLS_DIR/uidriver.exe" run \
            "${envargs[@]}" setup.exe) </dev/null >"$out" 2>&1 &
    fi
    E2E_SETUP_PID=$!
    E2E_PIDS+=("$E2E_SETUP_PID")
    E2E_OUTS[$E2E_SETUP_PID]="$out"
    e2e_log "setup.exe started (pid $E2E_SETUP_PID, output $out)"
}

# e2e_wait_setup_exit <timeout-s> <expected-code>: waits for the setup.exe last started to end.
e2e_wait_setup_exit() {
    local timeout="$1" expected="$2" pid="$E2E_SETUP_PID" rc=0
    local deadline=$((SECONDS + timeout))
    while kill -0 "$pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "setup.exe (pid $pid) still running after ${timeout}s"
        sleep 0.2
    done
    wait "$pid" || rc=$?
    [ "$rc" -eq "$expected" ] || fail "setup.exe ended with exit code $rc, expected $expected"
    e2e_log "setup.exe ended with exit code $rc"
}

# ud <command> [args...]: runs the UI driver; prints its key=value output, returns its exit code.
ud() {
    local out="$E2E_WORK/ud.out" rc=0
    "$E2E_WINE_RUN" "$E2E_TOOLS_DIR/uidriver.exe" "$@" </dev/null >"$out" 2>&1 || rc=$?
    cat "$out"
    return "$rc"
}

# ud_ok <command> [args...]: like ud, but a failure of the driver fails the test.
ud_ok() {
    local out rc=0
    out="$(ud "$@")" || rc=$?
    [ "$rc" -eq 0 ] || fail "uidriver $* failed (exit $rc): $(grep '^error=' <<<"$out" || true)"
    printf '%s\n' "$out"
}

# kv <key> <output>: the value of one key in driver output.
kv() { sed -n "s/^$1=//p" <<<"$2" | head -n1; }

assert_eq() {
    [ "$2" == "$3" ] || fail "$1: expected '$2', got '$3'"
}

# assert_kv <output> <key> <expected> [what]
assert_kv() {
    assert_eq "${4:-$2}" "$3" "$(kv "$2" "$1")"
}

# e2e_wait_main_window [timeout-ms]: waits for the installer window (exact caption bytes, shown)
# of the setup.exe started last; sets E2E_WIN (driver output), E2E_HWND and E2E_WINPID.
e2e_wait_main_window() {
    E2E_WIN="$(ud_ok wait-window "hex:$(gbk_hex "$E2E_TITLE")" --timeout "${1:-60000}")"
    E2E_HWND="$(kv hwnd "$E2E_WIN")"
    E2E_WINPID="$(kv pid "$E2E_WIN")"
}

# e2e_screenshot <name> [x y w h]: saves <name>.png among the test's artefacts.
e2e_screenshot() {
    local name="$1"
    shift
    ud_ok screenshot "$E2E_WORK/$name.bmp" "$@" >/dev/null
    convert "$E2E_WORK/$name.bmp" "$E2E_ARTIFACTS/$name.png"
    e2e_log "screenshot $E2E_ARTIFACTS/$name.png"
}

# ctl <controls-output> <text> <field>: a field of the first control whose text is <text> (UTF-8,
# compared as CP936 bytes), e.g. `ctl "$controls" "退    出" enabled`.
ctl() {
    local n
    n="$(sed -n "s/^control\.\([0-9]*\)\.text_hex=$(gbk_hex "$2")\$/\1/p" <<<"$1" | head -n1)"
    [ -n "$n" ] || fail "no control with the text '$2'"
    kv "control\.$n\.$3" "$1"
}

# The Windows path of a Linux path (Wine maps / to drive Z:).
e2e_winpath() { printf 'Z:%s' "${1//\//\\}"; }

# e2e_use_standin_cmd: puts the recording stand-in interpreter into the install folder and prints
# the ComSpec=... setting for e2e_start_setup, so that a batch file started by setup.exe is
# recorded (command line, folder, show state) instead of run.
e2e_use_standin_cmd() {
    cp "$E2E_TOOLS_DIR/standin_cmd.exe" "$E2E_FOLDER/"
    printf 'ComSpec=%s' "$(e2e_winpath "$E2E_FOLDER/standin_cmd.exe")"
}

# e2e_wait_standin <count> <timeout-s>: waits until the stand-ins in E2E_FOLDER have written
# <count> records to standin.log; prints the log (key=value lines, records start with ---).
e2e_wait_standin() {
    local count="$1" deadline=$((SECONDS + $2)) log="$E2E_FOLDER/standin.log"
    local have
    # No log yet counts as no record (grep -c prints nothing for a missing file).
    while have="$(grep -c '^---$' "$log" 2>/dev/null)"; [ "${have:-0}" -lt "$count" ]; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the stand-ins wrote fewer than $count records in $2s"
        sleep 0.2
    done
    cat "$log"
}
