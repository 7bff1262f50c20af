#!/usr/bin/env bash
# The status banner of the real setup.exe under Wine, as the administrator sees it on the screen:
# frames of the screen are taken from the moment the program starts, a few per second, for the
# first six notice lines, and then checked.
#
# - The strip lies at client 0,1, 385 x 129: aqua in its four corners, not aqua just above and
#   below it.
# - The first line fades in from aqua: before the first line stands, a frame shows the strip aqua
#   or the line at part of its strength.
# - A new line about every 3 s: the lines stand still between changes; the times from one change to
#   the next are about 3 s (loose bounds: this Wine may run through an emulator).
# - Line 5 is empty: the fifth line to stand shows the aqua background alone, the others text.
# - Each text line is in Title1: red-dominant text on its left, blue-dominant on its right, a dark
#   shadow to its lower right; centred vertically, and horizontally where the line's last character
#   has ink on both sides (a trailing full-width "！" or "，" leaves blank space on its right).
#
# The frames come straight from the X display (milliseconds each), not through the driver, whose
# every capture starts a Wine process. A strip of frames is kept among the artefacts.
. "$(dirname "$0")/lib.sh"
e2e_init banner

FRAMES="$E2E_WORK/frames"
mkdir -p "$FRAMES"
# The window opens at 13,7; this region holds it whatever the size of Wine's frame and title bar.
REGION="440x230+0+0"
# A pixel inside the banner's top margin on the screen: aqua once the banner is drawn.
PROBE_X=60 PROBE_Y=50
AQUA="srgb(0,255,255)"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

e2e_make_folder setup
e2e_start_setup
start=$(now_ms)

# 1. Frames: until the banner shows, then 21 s more. Lines change every 3 s from the banner's
# first showing, so line 6 stands from about 15.6 s; the rest is slack for a slow machine.
deadline=$((SECONDS + 90))
shown_at=""
while :; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the banner did not show within 90 s"
    t=$(($(now_ms) - start))
    frame="$FRAMES/$(printf '%06d' "$t").png"
    import -window root -crop "$REGION" +repage "$frame" 2>/dev/null || fail "screen capture failed"
    if [ -z "$shown_at" ]; then
        probe="$(convert "$frame" -format "%[pixel:p{$PROBE_X,$PROBE_Y}]" info:)"
        [ "$probe" != "$AQUA" ] || shown_at=$t
    elif [ $((t - shown_at)) -ge 21000 ]; then
        break
    fi
    sleep 0.1
done
e2e_log "banner shown ${shown_at} ms after the start; $(find "$FRAMES" -name '*.png' | wc -l) frames"

e2e_wait_main_window
cx="$(kv client_left "$E2E_WIN")"
cy="$(kv client_top "$E2E_WIN")"
assert_eq "banner width = client width" 385 "$(kv client_width "$E2E_WIN")"
ud_ok close "$E2E_HWND" >/dev/null
e2e_wait_setup_exit 60 0

# 2. Per frame: time, how far the strip is from plain aqua (0 exactly when every pixel is aqua),
# whether its four corners are aqua, and a hash of its pixels.
strip="385x129+$cx+$((cy + 1))"
corners='%[pixel:p{0,0}]%[pixel:p{384,0}]%[pixel:p{0,128}]%[pixel:p{384,128}]'
(cd "$FRAMES" && convert -precision 12 ./*.png -crop "$strip" +repage \
    -format "%t %[fx:mean.r+2-mean.g-mean.b] $corners %#\n" info:) >"$E2E_WORK/metrics" ||
    fail "cannot measure the frames"

# Runs of equal frames after the banner showed: "first-time last-time ink last-frame".
awk -v aqua4="$AQUA$AQUA$AQUA$AQUA" '
    !shown && $3 != aqua4 { next }
    { shown = 1 }
    $4 != hash {
        if (hash != "") print first, last, ink, frame
        hash = $4; first = $1 + 0; ink = $2 + 0
    }
    { last = $1 + 0; frame = $1 }
    END { if (hash != "") print first, last, ink, frame }
' "$E2E_WORK/metrics" >"$E2E_WORK/runs"

# Lines that stood: runs at least 1 s long. Aqua standing before the first line belongs to its
# fade-in. Each line: "ink last-frame change-time", the change time being when the first frame
# that differed from the line before was taken ("-" for the first line). Then "fadein <weakest
# frame before line 1>".
awk '
    {
        if ($2 - $1 < 1000 || (n == 0 && $3 == 0)) {
            if (n == 0) { ++early; if (weakest == "" || $3 < weakest) weakest = $3 }
            else if (change == "") change = $1
            next
        }
        ++n
        if (change == "") change = $1
        print $3, $4, (n == 1 ? "-" : change)
        change = ""
    }
    END { print "fadein", (early ? weakest : "none") }
' "$E2E_WORK/runs" >"$E2E_WORK/lines"
e2e_log "lines that stood (ink, frame, change time): $(tr '\n' ';' <"$E2E_WORK/lines")"

mapfile -t line_ink < <(awk '$1 != "fadein" { print $1 }' "$E2E_WORK/lines")
mapfile -t line_frame < <(awk '$1 != "fadein" { print $2 }' "$E2E_WORK/lines")
mapfile -t line_change < <(awk '$1 != "fadein" { print $3 }' "$E2E_WORK/lines")
fadein="$(awk '$1 == "fadein" { print $2 }' "$E2E_WORK/lines")"
[ "${#line_ink[@]}" -ge 6 ] || fail "only ${#line_ink[@]} lines stood in 21 s, expected 6 or more"

# 3. The first line fades in from aqua.
[ "$fadein" != none ] || fail "the first line was at full strength in the first frame of the banner"
awk -v w="$fadein" -v full="${line_ink[0]}" 'BEGIN { exit !(w < 0.85 * full) }' ||
    fail "no frame before the first line showed it weaker (weakest $fadein, line ${line_ink[0]})"

# 4. Line 5 is the background alone; lines 1 to 4 and 6 have text.
for i in 0 1 2 3 5; do
    awk -v v="${line_ink[$i]}" 'BEGIN { exit !(v > 0) }' || fail "line $((i + 1)) shows no text"
done
[ "${line_ink[4]}" = 0 ] || fail "line 5 is not plain aqua (ink ${line_ink[4]})"

# 5. About 3 s from one line change to the next (lines 2 to 6: four intervals).
intervals="$(printf '%s\n' "${line_change[@]:1:5}" |
    awk 'NR > 1 { print $1 - prev } { prev = $1 }')"
e2e_log "line change intervals (ms): $(tr '\n' ' ' <<<"$intervals")"
awk '{ sum += $1; if ($1 < 1500 || $1 > 6000) bad = bad " " $1 }
     END { mean = sum / NR; if (bad != "" || mean < 2400 || mean > 3800) {
         printf "intervals%s; mean %.0f ms\n", bad, mean; exit 1 } }' \
    <<<"$intervals" >"$E2E_WORK/why" ||
    fail "line changes are not about 3 s apart: $(cat "$E2E_WORK/why")"

# 6. The pixels of each line that stood. The crop takes one client row more above and below the
# strip: row 0 and row 130 lie outside the banner.
# shellcheck disable=SC2016  # awk code
check_pixels='
    NR == 1 { next }  # the header of the text dump
    {
        x = $1; y = $2; r = $3; g = $4; b = $5
        aqua = r == 0 && g == 255 && b == 255
        if (y == 0 || y == 130) { if (aqua) outside++; next }
        y -= 1
        if ((x == 0 || x == 384) && (y == 0 || y == 128) && !aqua) corners++
        if (g < 100 && (r > 120 || b > 120)) {  # text: red to blue, no green
            n++; px[n] = x; pr[n] = r; pb[n] = b
            if (n == 1 || x < x0) x0 = x; if (n == 1 || x > x1) x1 = x
            if (n == 1 || y < y0) y0 = y; if (n == 1 || y > y1) y1 = y
        } else if (r <= 50 && g <= 200 && g - b <= 25 && b - g <= 25) {
            # Shadow: dark grey over aqua darkens green and blue alike and leaves little red (the
            # smoothed edges of the red text over aqua are greyish too, but redder).
            m++
            if (m == 1 || x < s0) s0 = x
            if (m == 1 || y > s1) s1 = y
        }
    }
    END {
        if (outside) err = err sprintf("; %d aqua pixels above or below the strip", outside)
        if (corners) err = err sprintf("; %d corners not aqua", corners)
        if (n < 200) err = err sprintf("; only %d text pixels", n)
        else {
            w = x1 - x0
            for (i = 1; i <= n; i++) {
                red = pr[i] > pb[i] + 30; blue = pb[i] > pr[i] + 30
                if (px[i] < x0 + w / 3) { lr += red; lb += blue }
                if (px[i] > x1 - w / 3) { rr += red; rb += blue }
            }
            if (!(lr > 2 * lb)) err = err sprintf("; left third: %d red, %d blue pixels", lr, lb)
            if (!(rb > 2 * rr)) err = err sprintf("; right third: %d red, %d blue pixels", rr, rb)
            # The shadow begins right of the text and reaches below it. (Its right edge says
            # little: behind a thin trailing "！" it is too faint to count.)
            if (m < 100) err = err sprintf("; only %d shadow pixels", m)
            else if (s0 - x0 < 3 || s1 - y1 < 2)
                err = err sprintf("; shadow not to the lower right: it begins %d px right of " \
                                  "the text and ends %d px below it", s0 - x0, s1 - y1)
            top = y0; bottom = 128 - y1; left = x0; right = 384 - x1
            if (top - bottom > 6 || bottom - top > 6)
                err = err sprintf("; not centred vertically (%d above, %d below)", top, bottom)
            if (hcentre && (left - right > 6 || right - left > 6))
                err = err sprintf("; not centred horizontally (%d left, %d right)", left, right)
        }
        if (err != "") { print substr(err, 3); exit 1 }
    }
'
# Lines 1 and 3 end in characters with ink on both sides; 2, 4 and 6 in a full-width "！" or "，".
declare -A hcentre=([0]=1 [2]=1)
for i in 0 1 2 3 5; do
    convert "$FRAMES/${line_frame[$i]}.png" -crop "385x131+$cx+$cy" +repage -depth 8 txt:- |
        awk -F '[(),: ]+' -v hcentre="${hcentre[$i]:-0}" "$check_pixels" >"$E2E_WORK/why" ||
        fail "line $((i + 1)) (frame ${line_frame[$i]}): $(cat "$E2E_WORK/why")"
done

# 7. Frames for the record, two to a row: the fade-in, line 1, the cross-fade to line 2, line 2,
# the empty line 5 and line 6.
pick=()
first_run="$(head -n1 "$E2E_WORK/runs")"
pick+=("$(cut -d' ' -f4 <<<"$first_run")")
pick+=("${line_frame[0]}")
crossfade="$(awk -v a="${line_frame[0]}" -v b="${line_frame[1]}" \
    '$4 + 0 > a + 0 && $4 + 0 < b + 0 { f[++n] = $4 } END { if (n) print f[int((n + 1) / 2)] }' \
    "$E2E_WORK/runs")"
[ -z "$crossfade" ] || pick+=("$crossfade")
pick+=("${line_frame[1]}" "${line_frame[4]}" "${line_frame[5]}")
files=()
for f in "${pick[@]}"; do files+=("$FRAMES/$f.png"); done
montage "${files[@]}" -crop "$strip" +repage -tile 2x -geometry +2+2 -background '#808080' \
    "$E2E_ARTIFACTS/banner-frames.png" || fail "cannot write the strip of frames"
e2e_log "frames $E2E_ARTIFACTS/banner-frames.png"
