#!/usr/bin/env bash
# Launch steps that cannot start their program, on the real setup.exe under Wine: the error box
# comes at once (no fixed wait), nothing is started, all four buttons stay disabled, and only a
# close request from the system ends the program, with exit code 0 (also while the error box is open).
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/steps_lib.sh"
e2e_init steps_launch_faults

# Far shorter than step one's fixed wait: a box within it came without the wait.
at_once_ms=30000

# fault_run <folder> <how the fault is made> <expected text>: presses step one in a fresh
# installer whose launch cannot work, and checks the error display and the state it leaves.
fault_run() {
    local name="$1" make_fault="$2" text="$3" box
    steps_start_installer "$name"
    expect_buttons "$E2E_HWND" "1 1 0 0" "$name: ready"
    "$make_fault"
    ud_ok click "第一步" --pid "$E2E_WINPID" >/dev/null
    box="$(ud_ok wait-msgbox --pid "$E2E_WINPID" --timeout "$at_once_ms")"
    steps_expect_error "$box" "$text" "$name: error box"
    # While the error is shown, and after it, the failed state: no button at all.
    expect_buttons "$E2E_HWND" "0 0 0 0" "$name: error box open"
    ud_ok answer-msgbox OK --pid "$E2E_WINPID" >/dev/null
    expect_buttons "$E2E_HWND" "0 0 0 0" "$name: after the error"
}

# 1. The setup program is missing: the launch fails with Windows error 2.
remove_setup_program() { rm "$E2E_FOLDER/MSSQL安装.exe"; }
fault_run missing remove_setup_program "File not found."
# Nothing in the window can end the program now; the taskbar entry's Close can.
taskbar="$(ud_ok taskbar-window "$E2E_WINPID")"
ud_ok syscommand "$(kv hwnd "$taskbar")" SC_CLOSE >/dev/null
e2e_wait_setup_exit 60 0

# 2. The install folder is renamed away while the program runs: the change into it fails. Wine
# reports a missing last path element as error 2, so the message is the same.
rename_folder() {
    mv "$E2E_FOLDER" "$E2E_FOLDER-moved"
    E2E_FOLDER="$E2E_FOLDER-moved"
}
fault_run renamed rename_folder "File not found."
[ ! -e "$E2E_FOLDER/standin.log" ] ||
    fail "renamed: the setup program was started: $(cat "$E2E_FOLDER/standin.log")"
ud_ok close "$E2E_HWND" >/dev/null
e2e_wait_setup_exit 60 0

# 3. A close request from the system while the error box is still open: the box ends with the
# program's loop and the program ends cleanly, with exit code 0, without anyone answering the box.
steps_start_installer closing
remove_setup_program
ud_ok click "第一步" --pid "$E2E_WINPID" >/dev/null
box="$(ud_ok wait-msgbox --pid "$E2E_WINPID" --timeout "$at_once_ms")"
steps_expect_error "$box" "File not found." "closing: error box"
taskbar="$(ud_ok taskbar-window "$E2E_WINPID")"
ud_ok syscommand "$(kv hwnd "$taskbar")" SC_CLOSE >/dev/null
e2e_wait_setup_exit 60 0
