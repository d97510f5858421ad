#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing for building (and, with
# --test, for testing) involute-gears. Uses sudo when not root.
set -euo pipefail

packages=(g++ cmake make pkg-config freeglut3-dev libgl-dev libx11-dev)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(libgtest-dev xvfb xauth libxtst-dev x11-utils locales
            desktop-file-utils groff-base man-db bsdextrautils dpkg-dev file)
fi
if [[ "${1:-}" == "--docs" ]]; then
  packages+=(xvfb xauth xdotool imagemagick)
fi
if [[ "${1:-}" == "--package" ]]; then
  packages+=(desktop-file-utils groff-base man-db dpkg-dev file)
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
