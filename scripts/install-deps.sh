#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing for building (and, with
# --test, for testing) involute-gears. Uses sudo when not root. Options may be
# combined: --test, --docs, --package, --web (the browser build and its tests).
set -euo pipefail

packages=(g++ cmake make pkg-config freeglut3-dev libgl-dev libx11-dev)
has() { [[ " $* " == *" $option "* ]]; }
option=--test
if has "$@"; then
  packages+=(libgtest-dev xvfb xauth libxtst-dev x11-utils locales libpng-dev
            desktop-file-utils groff-base man-db bsdextrautils dpkg-dev file
            python3-ezdxf admesh clang libclang-rt-14-dev)
fi
option=--docs
if has "$@"; then
  # fonts-ipafont-gothic: Japanese glyphs for the screenshots of the page
  packages+=(xvfb xauth xdotool imagemagick fonts-ipafont-gothic)
fi
option=--package
if has "$@"; then
  packages+=(desktop-file-utils groff-base man-db dpkg-dev file)
fi
option=--web
if has "$@"; then
  # emcc runs its tools with node; npm fetches the browser tests' pinned
  # packages. A node from elsewhere (with its own npm) is used as it is.
  packages+=(emscripten chromium)
  command -v node >/dev/null || packages+=(nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
