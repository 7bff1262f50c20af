#!/usr/bin/env bash
# register.sh [adostub.dll]: points ADODB.Connection and ADODB.Command of the current Wine
# session's prefix at the test stand-in. unregister.sh gives them back to the classes they named
# before. Both need a started session (tools/wine-session start).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../tools/winenv.sh"
winenv_load_session
action="${ADOSTUB_ACTION:-}"
dll="${1:-$QUENLO_WINE_DIR/../tests/adostub/adostub.dll}"
[ -f "$dll" ] || { echo "adostub: no DLL at $dll" >&2; exit 1; }
dll="$(cd "$(dirname "$dll")" && pwd)/$(basename "$dll")"
# The DLL is 32-bit: the 32-bit regsvr32 writes the registry view that 32-bit programs read.
# Wine's processes may keep descriptors open; keep them off the caller's pipes.
log="$QUENLO_WINE_DIR/adostub-register.log"
if wine 'C:\windows\syswow64\regsvr32.exe' /s $action "Z:${dll//\//\\}" </dev/null >>"$log" 2>&1
then
  exit 0
fi
echo "adostub: regsvr32 $action failed, see $log" >&2
exit 1
