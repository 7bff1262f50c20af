#!/usr/bin/env bash
# The whole installation on the real setup.exe under Wine, with the real fixed waits: from the
# first notice to Exit, against the recording stand-ins (the setup program, a command interpreter
# named by ComSpec, the data-access classes). Saves screenshots of a confirmation and of the
# finished state.
#
# A second installer runs beside it through steps one and two, so that the same waits also bring
# it to step three against Wine's own data-access classes, which cannot reach a database server:
# its step three fails, stays usable, and fails again when pressed again. The data-access classes
# are chosen by name when they are created (the command with the window, the connection at step
# three), so each installer is started, and presses step three, with its classes registered.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/steps_lib.sh"
e2e_init install_full
steps_trap_ado

# Longer than either fixed wait, with room for a slow machine.
step_deadline_ms=240000

"$E2E_WINE_RUN" cmd /c 'echo %COMPUTERNAME%' </dev/null >"$E2E_WORK/computer.txt" 2>/dev/null
computer="$(tr -d '\r\n' <"$E2E_WORK/computer.txt")"
[ -n "$computer" ] || fail "Wine reports no computer name"

# --- The two installers --------------------------------------------------------------------------

# Installer W: Wine's own data-access classes.
steps_ado wine
steps_start_installer wine-ado --standin-cmd
W_HWND="$E2E_HWND" W_PID="$E2E_WINPID" W_SETUP="$E2E_SETUP_PID"

# Installer A, the administrator's: the recording stand-in. Its folder has a quote and Chinese
# characters, which must reach the restore statement as they are (the quote doubled).
steps_ado stub
ado_log="$E2E_WORK/ado.log"
folder_name="安装's盘"
steps_start_installer "$folder_name" --standin-cmd \
    "QUENLO_ADOSTUB_LOG=$(e2e_winpath "$ado_log")"
A_HWND="$E2E_HWND" A_PID="$E2E_WINPID" A_SETUP="$E2E_SETUP_PID" A_FOLDER="$E2E_FOLDER"
A_WINFOLDER="$(e2e_winpath "$A_FOLDER")"
expect_buttons "$A_HWND" "1 1 0 0" "ready"
e2e_screenshot ready 0 0 420 220

# standin_record <n> <key>: a field of the n-th record (from 1) of A's stand-ins.
standin_record() {
    awk -v n="$1" -v key="$2" '
        /^---$/ { r++; next }
        r == n && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' \
        "$A_FOLDER/standin.log"
}

# launch_step <button> <n> <exe> <command line> <confirmation> <flags after> <what>: presses a
# launch step in both installers and follows A through it.
launch_step() {
    local button="$1" n="$2" exe="$3" cmdline="$4" text="$5" after="$6" what="$7" box
    ud_ok click "$button" --pid "$W_PID" >/dev/null
    ud_ok click "$button" --pid "$A_PID" >/dev/null
    steps_expect_running "$A_HWND" "$A_PID" "0 0 0 0" "$what running"

    # Started with its window hidden, in the install folder, by its bare name and no arguments.
    e2e_wait_standin "$n" 60 >/dev/null
    assert_eq "$what: program started" "$(gbk_hex "$A_WINFOLDER\\$exe")" \
        "$(standin_record "$n" exe_hex)"
    assert_eq "$what: its folder" "$(gbk_hex "$A_WINFOLDER")" "$(standin_record "$n" cwd_hex)"
    assert_eq "$what: its command line" "$(gbk_hex "$cmdline")" "$(standin_record "$n" cmdline_hex)"
    assert_eq "$what: show flag given" 1 $(($(standin_record "$n" startup_flags) & 1))
    assert_eq "$what: shown as" 0 "$(standin_record "$n" show_window)"

    box="$(ud_ok wait-msgbox --pid "$A_PID" --timeout "$step_deadline_ms")"
    steps_expect_confirmation "$box" "$text"
    expect_buttons "$A_HWND" "0 0 0 0" "$what: confirmation open"
    ud_ok answer-msgbox OK --pid "$A_PID" >/dev/null
    expect_buttons "$A_HWND" "$after" "$what: confirmation closed"

    box="$(ud_ok wait-msgbox --pid "$W_PID" --timeout "$step_deadline_ms")"
    steps_expect_confirmation "$box" "$text"
    ud_ok answer-msgbox OK --pid "$W_PID" >/dev/null
    expect_buttons "$W_HWND" "$after" "$what (Wine's classes): confirmation closed"
}

# --- Steps one and two ---------------------------------------------------------------------------

launch_step "第一步" 1 "MSSQL安装.exe" "MSSQL安装.exe" "第一步成功完成！" "0 0 1 0" "step one"
launch_step "第二步" 2 standin_cmd.exe "$A_WINFOLDER\\standin_cmd.exe /s/c \"start.bat\"" \
    "第二步成功完成！" "0 0 0 1" "step two"
[ "$(grep -c '^---$' "$A_FOLDER/standin.log")" -eq 2 ] ||
    fail "more than two programs were started: $(cat "$A_FOLDER/standin.log")"

# --- Step three against Wine's own classes: fails, stays usable, fails again ----------------------

steps_ado wine
first=""
for press in 1 2; do
    ud_ok click "第三步" --pid "$W_PID" >/dev/null
    box="$(ud_ok wait-msgbox --pid "$W_PID" --timeout 120000)"
    steps_expect_error "$box" "" "step three with Wine's classes, press $press"
    text="$(kv text "$box")"
    e2e_log "Wine's classes, press $press: $text"
    [ -z "$first" ] || assert_eq "error of the second press" "$first" "$text"
    first="$text"
    ud_ok answer-msgbox OK --pid "$W_PID" >/dev/null
    expect_buttons "$W_HWND" "0 0 0 1" "after failed step three, press $press"
done
# Exit is disabled; a close request from the system still ends the program normally.
E2E_SETUP_PID="$W_SETUP"
ud_ok close "$W_HWND" >/dev/null
e2e_wait_setup_exit 60 0

# --- Step three against the recording stand-in -----------------------------------------------------

steps_ado stub
ud_ok click "第三步" --pid "$A_PID" >/dev/null
box="$(ud_ok wait-msgbox --pid "$A_PID" --timeout 120000)"
steps_expect_confirmation "$box" "第三步成功完成！"
# Step three keeps its own button until it has finished.
expect_buttons "$A_HWND" "0 0 0 1" "step three: first confirmation open"

# The exact texts that reached the data-access classes (the log holds them as UTF-8).
connection="Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;Initial Catalog=master;Data Source=$computer\\home"
quoted_folder="${A_WINFOLDER//"'"/"''"}"
statement=" RESTORE DATABASE kovra FROM disk = '$quoted_folder\\kovra.bak'"
grep -qxF "Connection.ConnectionString=$connection" "$ado_log" ||
    fail "connection string not received as '$connection': $(cat "$ado_log")"
grep -qxF "Command.CommandText=$statement" "$ado_log" ||
    fail "statement not received as '$statement': $(cat "$ado_log")"
assert_eq "statements executed" 1 "$(grep -c '^Command\.Execute' "$ado_log")"

# Screenshot of the window with the confirmation over it.
windows="$(ud_ok windows --pid "$A_PID")"
read -r x0 y0 x1 y1 < <(awk -F= '
    /^window\.[0-9]+\.visible=1$/ { split($1, k, "."); vis[k[2]] = 1 }
    /^window\.[0-9]+\.window_(left|top|width|height)=/ { split($1, k, "."); v[k[2], k[3]] = $2 }
    END {
        x0 = y0 = 1e9; x1 = y1 = 0
        for (i in vis) {
            w = v[i, "window_width"]; h = v[i, "window_height"]
            if (w < 2 || h < 2) continue
            l = v[i, "window_left"]; t = v[i, "window_top"]
            if (l < x0) x0 = l; if (t < y0) y0 = t
            if (l + w > x1) x1 = l + w; if (t + h > y1) y1 = t + h
        }
        print x0, y0, x1, y1
    }' <<<"$windows")
e2e_screenshot confirmation "$x0" "$y0" $((x1 - x0)) $((y1 - y0))

ud_ok answer-msgbox OK --pid "$A_PID" >/dev/null
box="$(ud_ok wait-msgbox --pid "$A_PID" --timeout 60000)"
steps_expect_confirmation "$box" "现在您可以安装客户端了！"
ud_ok answer-msgbox OK --pid "$A_PID" >/dev/null
expect_buttons "$A_HWND" "1 0 0 0" "finished"

# The banner has faded in its last status line by now; then Exit ends the program.
sleep 4
e2e_screenshot finished 0 0 420 220
E2E_SETUP_PID="$A_SETUP"
ud_ok click "退    出" --pid "$A_PID" >/dev/null
e2e_wait_setup_exit 60 0
