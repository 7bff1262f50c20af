# Helpers of the installation-step scripts: the four buttons' states, several installers on one
# display, the data-access stand-in's registration. Sourced after lib.sh, never run.

# Captions of Exit and the three step buttons, in the order steps_buttons reports them.
STEPS_BUTTONS=("退    出" "第一步" "第二步" "第三步")

# steps_buttons <hwnd>: the enabled flags of Exit, step one, step two and step three, e.g.
# "0 0 1 0". Reads window state only, so it answers while the program is blocked in a step.
steps_buttons() {
    local controls t flags=()
    controls="$(ud_ok controls "$1")"
    for t in "${STEPS_BUTTONS[@]}"; do
        flags+=("$(ctl "$controls" "$t" enabled)")
    done
    echo "${flags[*]}"
}

# expect_buttons <hwnd> <flags> <when>
expect_buttons() {
    assert_eq "$3: enabled flags of Exit, step one, two, three" "$2" "$(steps_buttons "$1")"
}

# steps_msgbox_open <winpid>: succeeds when the process shows a message box now.
steps_msgbox_open() { ud wait-msgbox --pid "$1" --timeout 0 >/dev/null 2>&1; }

# steps_expect_running <hwnd> <winpid> <flags> <what>: right after a press, while the handler is
# still at work (no message box yet), the buttons read <flags>. Polls until the press has been
# handled, with a deadline.
steps_expect_running() {
    local hwnd="$1" pid="$2" want="$3" what="$4" got deadline=$((SECONDS + 60))
    while :; do
        got="$(steps_buttons "$hwnd")"
        if [ "$got" == "$want" ]; then
            # Read before the handler's first box opened: the state is the running one.
            steps_msgbox_open "$pid" && fail "$what: the handler finished before its state was read"
            e2e_log "$what: buttons $got while the handler runs"
            return 0
        fi
        steps_msgbox_open "$pid" && fail "$what: buttons were '$got', never '$want' while it ran"
        [ "$SECONDS" -lt "$deadline" ] || fail "$what: buttons still '$got' after 60s"
        sleep 0.5
    done
}

# steps_start_installer <name> [--standin-cmd] [NAME=VALUE...]: makes the install folder <name>,
# starts setup.exe there through the driver (so that its Windows process id is known before its
# window shows) and waits for its window. --standin-cmd makes the recording stand-in interpreter
# its ComSpec. Sets E2E_FOLDER, E2E_SETUP_PID, E2E_WINPID, E2E_HWND, E2E_WIN.
steps_start_installer() {
    local name="$1" out deadline
    shift
    e2e_make_folder "$name"
    if [ "${1:-}" == --standin-cmd ]; then
        shift
        set -- "$(e2e_use_standin_cmd)" "$@"
    fi
    # The driver only starts a program through `run` when it has a variable to set.
    [ $# -gt 0 ] || set -- "QUENLO_E2E_INSTALLER=$name"
    e2e_start_setup "$@"
    out="${E2E_OUTS[$E2E_SETUP_PID]}"
    deadline=$((SECONDS + 60))
    until E2E_WINPID="$(sed -n 's/^pid=//p' "$out" | head -n1)" && [ -n "$E2E_WINPID" ]; do
        kill -0 "$E2E_SETUP_PID" 2>/dev/null || fail "setup.exe in $name ended at once: $(cat "$out")"
        [ "$SECONDS" -lt "$deadline" ] || fail "the driver did not report the process id in 60s"
        sleep 0.2
    done
    E2E_WIN="$(ud_ok wait-window "hex:$(gbk_hex "$E2E_TITLE")" --pid "$E2E_WINPID" --class TForm \
        --timeout 60000)"
    E2E_HWND="$(kv hwnd "$E2E_WIN")"
}

# steps_expect_confirmation <box> <text>: the confirmation message as the platform's simple box:
# the title as caption, no icon, the text, one button "OK".
steps_expect_confirmation() {
    assert_kv "$1" caption_hex "$(gbk_hex "$E2E_TITLE")" "caption of '$2'"
    assert_kv "$1" text_hex "$(gbk_hex "$2")" "text of the confirmation"
    assert_kv "$1" icon 0 "icon of '$2'"
    assert_kv "$1" buttons 1 "buttons of '$2'"
    assert_kv "$1" button.0.text OK "button of '$2'"
}

# steps_expect_error <box> <text|""> <what>: the default error display: the title as caption, the
# stop icon, one button; with an empty <text> any text that ends in exactly one full stop.
steps_expect_error() {
    local text
    assert_kv "$1" caption_hex "$(gbk_hex "$E2E_TITLE")" "$3: caption"
    assert_kv "$1" icon_type hand "$3: icon"
    assert_kv "$1" buttons 1 "$3: buttons"
    text="$(kv text "$1")"
    if [ -n "$2" ]; then
        assert_eq "$3: text" "$2" "$text"
    else
        [[ "$text" == *[!.]. ]] || fail "$3: '$text' does not end in one full stop"
    fi
}

STEPS_ADOSTUB_DLL="$E2E_BUILD_DIR/tests/adostub/adostub.dll"

# steps_ado <stub|wine>: points the prefix's data-access classes at the recording stand-in, or
# gives them back to Wine's own. Only under the ctest lock ado_registration.
steps_ado() {
    case "$1" in
        stub) "$E2E_SRC_DIR/../adostub/register.sh" "$STEPS_ADOSTUB_DLL" ;;
        wine) "$E2E_SRC_DIR/../adostub/unregister.sh" "$STEPS_ADOSTUB_DLL" ;;
    esac || fail "cannot point the data-access classes at $1"
    e2e_log "data-access classes: $1"
}

# steps_trap_ado: on exit, whatever happened, Wine's own data-access classes are back. Runs the
# script itself, not steps_ado, whose fail would leave the trap before the clean-up.
steps_trap_ado() {
    trap 'rc=$?
        set +e
        "$E2E_SRC_DIR/../adostub/unregister.sh" "$STEPS_ADOSTUB_DLL" ||
            echo "e2e[$E2E_NAME]: could not give the data-access classes back" >&2
        (exit $rc)
        e2e_cleanup' EXIT
}
