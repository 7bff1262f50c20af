#!/usr/bin/env bash
# Rebuilds draw_resources natively, rewrites the icon and glyphs in resources/ and renders
# preview.png (ImageMagick) from the written files, so the preview shows what is compiled in.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
res="$(dirname "$here")"
build="${BUILD_DIR:-$res/../build/res-native-gen}"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
"$build/draw_resources" "$res"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
# One row per icon size: 4, 8 and 32 bits per pixel, each at its own size and enlarged to 128.
frame=0
for size in 16 24 32 48 128; do
  for bpp in 4 8 32; do
    convert "$res/mainicon.ico[$frame]" -background '#d4d0c8' -flatten \
      -filter point -resize 128x128 "$tmp/icon$(printf %02d $frame).png"
    frame=$((frame + 1))
  done
done
for n in 1 2 3 4; do
  convert "$res/glyph$n.bmp" -filter point -resize 128x128 "$tmp/zglyph$n.png"
done
montage "$tmp"/icon*.png "$tmp"/zglyph*.png -tile 3x -geometry 128x128+6+6 \
  -background '#d4d0c8' "$res/preview.png"
echo "regenerated icon, glyphs and preview in $res"
