#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick and writes them into src/resources:
#   welcome.bmp   bitmap 131, 163 x 295, 24-bit: a blue gradient with a label printer
#   app.ico       icon 128: the label printer (16, 32 and 48 pixels)
#   language.ico  icon 134: a globe with a speech bubble (16, 32 and 48 pixels)
# Run it again after changing a drawing and commit the results.
set -euo pipefail
out="${1:-$(cd "$(dirname "$0")/../.." && pwd)/src/resources}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# A label printer on a transparent 256 x 256 canvas, scaled down for the icons.
printer() {
  convert -size 256x256 xc:none \
    -fill '#2b2f36' -draw 'roundrectangle 28,92 228,212 22,22' \
    -fill '#4a515c' -draw 'roundrectangle 40,60 216,120 18,18' \
    -fill '#111418' -draw 'rectangle 62,150 194,160' \
    -fill '#ffffff' -draw 'rectangle 72,156 184,250' \
    -fill '#111418' \
    -draw 'rectangle 84,176 88,214' -draw 'rectangle 94,176 96,214' \
    -draw 'rectangle 102,176 108,214' -draw 'rectangle 114,176 116,214' \
    -draw 'rectangle 122,176 126,214' -draw 'rectangle 132,176 138,214' \
    -draw 'rectangle 144,176 146,214' -draw 'rectangle 152,176 158,214' \
    -draw 'rectangle 164,176 166,214' -draw 'rectangle 170,176 172,214' \
    -fill '#36c26b' -draw 'circle 196,186 204,186' \
    "$1"
}

globe() {
  convert -size 256x256 xc:none \
    -fill '#2f7fd1' -stroke '#1b4f86' -strokewidth 8 -draw 'circle 112,136 112,36' \
    -fill none -stroke '#d9ecff' -strokewidth 8 \
    -draw 'ellipse 112,136 44,100 0,360' -draw 'line 12,136 212,136' \
    -draw 'line 30,86 194,86' -draw 'line 30,186 194,186' \
    -stroke '#c77d12' -strokewidth 6 -fill '#ffb938' \
    -draw 'roundrectangle 150,20 244,90 16,16' -draw 'polygon 170,86 186,86 164,112' \
    -stroke none -fill '#6b3f00' \
    -draw 'circle 174,55 180,55' -draw 'circle 197,55 203,55' -draw 'circle 220,55 226,55' \
    "$1"
}

icon() {
  local source="$1" target="$2"
  convert "$source" -resize 48x48 "$tmp/i48.png"
  convert "$source" -resize 32x32 "$tmp/i32.png"
  convert "$source" -resize 16x16 "$tmp/i16.png"
  convert "$tmp/i16.png" "$tmp/i32.png" "$tmp/i48.png" "$target"
}

printer "$tmp/printer.png"
globe "$tmp/globe.png"
icon "$tmp/printer.png" "$out/app.ico"
icon "$tmp/globe.png" "$out/language.ico"

# The welcome picture: gradient, a few label strips, the printer in the middle.
convert -size 163x295 gradient:'#0d3b73'-'#58a6e8' \
  -fill '#ffffff22' -draw 'rectangle 0,236 163,295' \
  -fill '#ffffff' -draw 'roundrectangle 18,28 74,60 4,4' \
  -fill '#ffffffcc' -draw 'roundrectangle 88,44 146,74 4,4' \
  -fill '#0d3b73' -draw 'rectangle 24,36 60,39' -draw 'rectangle 24,44 50,46' \
  -draw 'rectangle 94,52 134,55' -draw 'rectangle 94,60 120,62' \
  \( "$tmp/printer.png" -resize 130x130 \) -geometry +16+100 -composite \
  -alpha off -type TrueColor "BMP3:$out/welcome.bmp"

identify "$out/welcome.bmp" "$out/app.ico" "$out/language.ico"
