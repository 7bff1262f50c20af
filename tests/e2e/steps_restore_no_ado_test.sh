#!/usr/bin/env bash
# Without the data-access classes (msado15 disabled in Wine) the command component cannot be
# created with the window: the window never shows, the run-time's "Application Error" box names
# the missing components, and the program ends with exit code 1.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/steps_lib.sh"
e2e_init steps_restore_no_ado
# The stand-in, if some earlier run left it registered, would answer in Wine's place.
steps_trap_ado
steps_ado wine

mdac="Error creating object.  Please verify that the Microsoft Data Access Components 2.1 (or later) have been properly installed."

e2e_make_folder setup
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};msado15=d" e2e_start_setup
box="$(ud_ok wait-msgbox --timeout 60000)"
assert_kv "$box" caption "Application Error" "caption of the start-up error"
assert_kv "$box" icon_type hand "icon of the start-up error"
assert_kv "$box" buttons 1 "buttons of the start-up error"
# The text names the exception first; the message is its second line.
text="$(kv text "$box")"
[[ "$text" == *'\r\n'"$mdac"'\r\n' ]] || fail "start-up error text: '$text'"
pid="$(kv pid "$box")"
windows="$(ud_ok windows --pid "$pid")"
for n in $(sed -n 's/^window\.\([0-9]*\)\.class=TForm$/\1/p' <<<"$windows"); do
    assert_kv "$windows" "window.$n.visible" 0 "installer window while the start-up error is shown"
done
ud_ok answer-msgbox OK --pid "$pid" >/dev/null
e2e_wait_setup_exit 60 1
