#!/usr/bin/env bash
# Regenerates web/font_helvetica18.cpp, the browser build's copy of the
# desktop's GLUT_BITMAP_HELVETICA_18 glyphs, from the installed freeglut.
# Run it once after freeglut changes; the result is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# -rdynamic exports the generator's glBitmap so that libglut's call reaches it.
g++ -std=c++17 -O1 -rdynamic web/tools/make_font_table.cpp -o "$work/make_font_table" -lglut -lGL
out=web/font_helvetica18.cpp
{
  sed 's|^|// |; s| *$||' web/tools/font_licence.txt
  echo
  scripts/with-xvfb.sh "$work/make_font_table"
} >"$out.tmp"
mv "$out.tmp" "$out"
echo "$out"
