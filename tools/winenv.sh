# Shared settings of the project's Wine environment; sourced by the tools and test scripts.
# Everything lives under $QUENLO_WINE_DIR (default build/win32/wine): the prefix, the Xvfb PID and
# display, and the session file that tools/wine-run reads.
QUENLO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUENLO_WINE_DIR="${QUENLO_WINE_DIR:-$QUENLO_ROOT/build/win32/wine}"
export WINEPREFIX="$QUENLO_WINE_DIR/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export LC_ALL=zh_CN.UTF-8
# No Mono/Gecko download prompts; neither is needed.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

winenv_load_session() {
  local f="$QUENLO_WINE_DIR/session.env"
  if [ ! -f "$f" ]; then
    echo "no Wine session: run tools/wine-session start (ctest does it for you)" >&2
    return 1
  fi
  # shellcheck disable=SC1090
  . "$f"
  export DISPLAY
}
