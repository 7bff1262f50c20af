#!/usr/bin/env bash
# The installer window as an administrator meets it, against the real setup.exe under Wine: every
# control where it belongs with its exact text bytes, state and font; a title bar with the caption
# alone; the keyboard focus on Exit at start; Tab walking the enabled buttons only; Esc doing
# nothing; Enter and Space on the focused Exit button each ending the program with exit code 0.
# Keys are typed (SendInput to the foreground window), not posted, so that the program's own
# message loop sees them as it would see a keyboard. A screenshot of the ready window is kept.
. "$(dirname "$0")/lib.sh"
e2e_init window

# focus_text: the CP936 bytes (hex) of the control that has the keyboard focus in the window.
focus_hex() { kv focus_text_hex "$(ud_ok focus "$E2E_HWND")"; }

# wait_focus <text> <what>: waits until the control with that text has the focus.
wait_focus() {
    local want deadline=$((SECONDS + 20)) got=""
    want="$(gbk_hex "$1")"
    while [ "$SECONDS" -lt "$deadline" ]; do
        got="$(focus_hex)"
        [ "$got" != "$want" ] || return 0
        sleep 0.2
    done
    fail "$2: expected the focus on '$1', it is on hex '$got'"
}

type_key() { ud_ok key "$E2E_HWND" "$1" --method input >/dev/null; }

# Screen captures straight from the X display: they take milliseconds where a capture through the
# driver takes a Wine start, long enough for the banner to move on to its next line.
banner_hash() {
    local x y
    x="$(kv client_left "$E2E_WIN")"
    y="$(($(kv client_top "$E2E_WIN") + 1))"
    import -window root -crop "385x129+$x+$y" +repage -format '%#' info: 2>/dev/null
}

e2e_make_folder setup
e2e_start_setup
e2e_wait_main_window

# A screenshot of the ready window once the banner's first line stands (two equal captures in
# a row).
deadline=$((SECONDS + 30))
prev=""
while :; do
    cur="$(banner_hash)"
    [ -z "$cur" ] || [ "$cur" != "$prev" ] || break
    [ "$SECONDS" -lt "$deadline" ] || fail "the banner never stood still for a screenshot"
    prev="$cur"
    sleep 0.3
done
geometry="$(kv window_width "$E2E_WIN")x$(kv window_height "$E2E_WIN")"
geometry+="+$(kv window_left "$E2E_WIN")+$(kv window_top "$E2E_WIN")"
import -window root -crop "$geometry" +repage "$E2E_ARTIFACTS/window.png" ||
    fail "no screenshot of the window"
e2e_log "screenshot $E2E_ARTIFACTS/window.png"

# 1. Title bar: caption only (no system menu, so no icon and no buttons), and no sizing frame.
style=$(($(kv style "$E2E_WIN")))
WS_CAPTION=0x00C00000
declare -A not_set=([WS_SYSMENU]=0x00080000 [WS_THICKFRAME]=0x00040000
    [WS_MINIMIZEBOX]=0x00020000 [WS_MAXIMIZEBOX]=0x00010000)
[ $((style & WS_CAPTION)) -eq $((WS_CAPTION)) ] || fail "the window has no title bar"
for bit in "${!not_set[@]}"; do
    [ $((style & not_set[$bit])) -eq 0 ] || fail "the window style has $bit: $(kv style "$E2E_WIN")"
done

# 2. Controls. The banner draws on the window's own surface, so these nine are all its child
# windows: the hidden group box with its labels and edits, and the row of four buttons. Positions
# are relative to the parent; depth 2 lies inside the group box.
controls="$(ud_ok controls "$E2E_HWND")"
assert_kv "$controls" count 9 "number of child windows"
group="$(ctl "$controls" "还原数据库" hwnd)"
declare -A face_of=([sans]="MS Sans Serif" [song]="新宋体")
got() { ctl "$controls" "$text" "$1"; }  # a field of the control of the row being checked
while IFS='|' read -r text class depth left top width height enabled visible face fh charset; do
    [ -n "$text" ] || continue
    what="control '$text'"
    assert_eq "$what class" "$class" "$(got class)"
    assert_eq "$what depth" "$depth" "$(got depth)"
    if [ "$depth" = 2 ]; then assert_eq "$what parent" "$group" "$(got parent)"; fi
    assert_eq "$what rectangle" "$left,$top ${width}x$height" \
        "$(got rect_left),$(got rect_top) $(got rect_width)x$(got rect_height)"
    assert_eq "$what enabled" "$enabled" "$(got enabled)"
    assert_eq "$what visible" "$visible" "$(got visible)"
    assert_eq "$what font" "ok" "$(got font)"
    assert_eq "$what font face" "$(gbk_hex "${face_of[$face]}")" "$(got font_face_hex)"
    assert_eq "$what font height" "$fh" "$(got font_height)"
    assert_eq "$what font charset" "$charset" "$(got font_charset)"
done <<'EOF'
还原数据库|Button|1|3|5|382|100|1|0|sans|-11|1
数据库名|Static|2|23|28|64|16|1|0|song|-16|0
备份文件名|Static|2|19|60|80|16|1|0|song|-16|134
kovra|Edit|2|102|21|267|24|0|0|song|-16|0
kovra.bak|Edit|2|102|56|267|24|1|0|song|-16|134
退    出|Button|1|260|136|125|25|1|1|sans|-11|1
第一步|Button|1|4|136|80|25|1|1|sans|-11|1
第二步|Button|1|88|136|80|25|0|1|sans|-11|1
第三步|Button|1|172|136|80|25|0|1|sans|-11|1
EOF
# The database name is read-only, the backup file name editable (step three writes it).
ES_READONLY=0x0800
[ $(($(ctl "$controls" kovra style) & ES_READONLY)) -ne 0 ] ||
    fail "the database name edit is not read-only"
[ $(($(ctl "$controls" kovra.bak style) & ES_READONLY)) -eq 0 ] ||
    fail "the backup file name edit is read-only"

# 3. Keyboard focus on Exit when the window is shown.
exit_hex="$(gbk_hex "退    出")"
assert_eq "focus at start" "$exit_hex" "$(focus_hex)"

# 4. Tab: Exit -> step one -> Exit, over the disabled step two and three; Shift+Tab from Exit
# goes back over them to step one.
type_key TAB
wait_focus "第一步" "Tab from Exit"
type_key TAB
wait_focus "退    出" "Tab from step one"
type_key shift+TAB
wait_focus "第一步" "Shift+Tab from Exit"
type_key TAB
wait_focus "退    出" "Tab from step one"

# 5. Esc changes nothing. The Tab typed after it is handled after it, so once the focus has moved
# on to step one, Esc has been handled: the program still runs, no button changed.
type_key ESCAPE
type_key TAB
wait_focus "第一步" "Tab after Esc (Esc must neither close the window nor move the focus)"
kill -0 "$E2E_SETUP_PID" 2>/dev/null || fail "setup.exe ended on Esc"
after="$(ud_ok controls "$E2E_HWND")"
for text in "退    出" 第一步 第二步 第三步; do
    assert_eq "'$text' enabled after Esc" \
        "$(ctl "$controls" "$text" enabled)" "$(ctl "$after" "$text" enabled)"
done

# 6. Enter on the focused Exit button ends the program.
type_key TAB
wait_focus "退    出" "Tab back to Exit"
type_key RETURN
e2e_wait_setup_exit 60 0

# 7. Space on Exit, focused from the start, ends the program.
e2e_start_setup
e2e_wait_main_window
assert_eq "focus at start" "$exit_hex" "$(focus_hex)"
type_key SPACE
e2e_wait_setup_exit 60 0
