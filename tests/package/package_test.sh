#!/usr/bin/env bash
# Installs a Release build into a staging tree, checks every installed file,
# packages it with cpack, unpacks the .deb into a temporary root and runs the
# unpacked program under the X server of the test run.
# Arguments: source dir, scratch dir, program_test binary.
set -euo pipefail
source_dir=$1
scratch=$2
program_test=$3

rm -rf "$scratch"
mkdir -p "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake -S "$source_dir" -B "$scratch/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$scratch/build" -j"$(nproc)" --target involute-gears >/dev/null
DESTDIR="$scratch/stage" cmake --install "$scratch/build" >/dev/null

stage=$scratch/stage/usr
for f in bin/involute-gears share/applications/involute-gears.desktop \
         share/icons/hicolor/scalable/apps/involute-gears.svg share/man/man1/involute-gears.1; do
  [[ -f "$stage/$f" ]] || fail "installed tree lacks $f"
done
[[ -x "$stage/bin/involute-gears" ]] || fail "installed program is not executable"

desktop=$stage/share/applications/involute-gears.desktop
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx 'Terminal=true' "$desktop" || fail "desktop entry must open a terminal"
grep -q '^Name\[ja\]=' "$desktop" || fail "desktop entry has no Japanese name"
grep -q '^Comment\[ja\]=' "$desktop" || fail "desktop entry has no Japanese comment"

warnings=$(groff -man -ww -z "$stage/share/man/man1/involute-gears.1" 2>&1)
[[ -z "$warnings" ]] || fail "man page warnings: $warnings"
rendered=$(MANWIDTH=80 man -l "$stage/share/man/man1/involute-gears.1" 2>/dev/null | col -b)
for section in SYNOPSIS OPTIONS SCENES KEYS "CONSOLE REPORT" "EXIT STATUS" REQUIREMENTS; do
  grep -q "^$section" <<<"$rendered" || fail "man page lacks $section"
done

grep -q '<svg' "$stage/share/icons/hicolor/scalable/apps/involute-gears.svg" || fail "icon is not SVG"

(cd "$scratch/build" && cpack -G DEB >/dev/null)
deb=$(ls "$scratch"/build/involute-gears_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libglut libgl1 libx11-6; do
  grep -qE "(^|, )$lib[^,]* \(>= [^)]+\)" <<<"$depends" || fail "Depends lacks a versioned $lib: $depends"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
[[ -x "$root/usr/bin/involute-gears" ]] || fail "package lacks the program"
INVOLUTE_GEARS_UNDER_TEST="$root/usr/bin/involute-gears" \
  "$program_test" --gtest_filter='RunningProgram.ReportIsCompleteWhenTheTitledWindowAppears:ProgramWithoutDisplay.*'
echo "package test passed"
