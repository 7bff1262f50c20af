#!/usr/bin/env bash
# Start-up of the real setup.exe under Wine: the installer window with its exact caption bytes at
# 13,7 with a 385 x 165 client area; a close request to the window, and the Close of the taskbar
# window, each end the program with exit code 0; started from a folder whose name holds characters
# with a 0x5C second byte, it still shows its window and works in that folder, not a cut one.
. "$(dirname "$0")/lib.sh"
e2e_init startup

title_hex="$(gbk_hex "$E2E_TITLE")"

check_window() {
    assert_kv "$E2E_WIN" caption_hex "$title_hex" "caption bytes"
    assert_kv "$E2E_WIN" window_left 13 "outer left"
    assert_kv "$E2E_WIN" window_top 7 "outer top"
    assert_kv "$E2E_WIN" client_width 385 "client width"
    assert_kv "$E2E_WIN" client_height 165 "client height"
}

# 1. WM_CLOSE to the installer window.
e2e_make_folder setup
e2e_start_setup
e2e_wait_main_window
check_window
e2e_screenshot window 0 0 420 220
ud_ok close "$E2E_HWND" >/dev/null
e2e_wait_setup_exit 60 0

# 2. Close from the taskbar window's system menu. The taskbar entry belongs to the application's
# own hidden owner window, which carries the title too and offers Restore, Minimise and Close only.
e2e_start_setup
e2e_wait_main_window
taskbar="$(ud_ok taskbar-window "$E2E_WINPID")"
assert_kv "$taskbar" found_as owner "taskbar window (the main window's owner)"
assert_kv "$taskbar" caption_hex "$title_hex" "taskbar window caption bytes"
assert_kv "$taskbar" sysmenu ok "taskbar window's system menu"
commands="$(sed -n 's/^sysmenu\.[0-9]*\.command=//p' <<<"$taskbar" | sort | tr '\n' ' ')"
for cmd in SC_RESTORE SC_MINIMIZE SC_CLOSE; do
    [[ " $commands" == *" $cmd "* ]] || fail "taskbar system menu lacks $cmd: $commands"
done
for cmd in SC_MAXIMIZE SC_SIZE SC_MOVE; do
    [[ " $commands" != *" $cmd "* ]] || fail "taskbar system menu offers $cmd: $commands"
done
ud_ok syscommand "$(kv hwnd "$taskbar")" SC_CLOSE >/dev/null
e2e_wait_setup_exit 60 0

# 3. From a folder named 琝盶: both characters end in the byte 0x5C in code page 936.
assert_eq "trail bytes of the folder name" "ac5cb15c" "$(gbk_hex 琝盶)"
e2e_make_folder 琝盶
e2e_start_setup
e2e_wait_main_window
check_window
ud_ok close "$E2E_HWND" >/dev/null
e2e_wait_setup_exit 60 0

# 4. The install folder recorded from that folder is whole: step one changes into it and starts the
# setup program there at once (the 90 s wait comes after), so the stand-in's current directory is
# the folder the program worked out. The program is ended by the clean-up, not waited for.
e2e_start_setup
e2e_wait_main_window
controls="$(ud_ok controls "$E2E_HWND")"
ud_ok click "$(ctl "$controls" "第一步" hwnd)" >/dev/null
e2e_wait_standin 1 60 >/dev/null
cwd_hex="$(awk '/^---$/ { r++; next } r == 1 && index($0, "cwd_hex=") == 1 { print substr($0, 9); exit }' \
    "$E2E_FOLDER/standin.log")"
assert_eq "install folder with 0x5C trail bytes" "$(gbk_hex "$(e2e_winpath "$E2E_FOLDER")")" "$cwd_hex"
