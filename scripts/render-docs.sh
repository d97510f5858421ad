#!/usr/bin/env bash
# Renders each of the six scenes at a telling step from the real program
# under a private Xvfb into docs/sceneN.png. Re-running gives the same files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" >/dev/null

if [[ -z "${INVOLUTE_DOCS_INNER:-}" ]]; then
  INVOLUTE_DOCS_INNER=1 exec xvfb-run -a -s "-screen 0 1024x1024x24" "$0" "$@"
fi

./build/involute-gears >/dev/null &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name 'インボリュート' 2>/dev/null | head -1 || true)
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "no window" >&2; exit 1; }
xdotool mousemove 400 400

# The window sits at (-1, -1); its pixel (x, y) is root pixel (x - 1, y - 1).
# Row and column 0 are off screen, so the pictures are 799 x 799.
shoot() {
  local out=$1 previous="" now
  for _ in $(seq 50); do  # wait until the queued key frames are all drawn
    sleep 0.2
    now=$(import -window root -crop 799x799+0+0 +repage rgb:- | md5sum)
    [[ "$now" == "$previous" ]] && break
    previous=$now
  done
  import -window root -crop 799x799+0+0 +repage -strip -define png:exclude-chunks=date,time "$out"
}

# scene key, further steps, what it shows
scenes=("1 149" "2 119" "3 99" "4 69" "5 29" "6 29")
for entry in "${scenes[@]}"; do
  read -r key steps <<<"$entry"
  xdotool key "$key"
  xdotool key --delay 2 --repeat "$steps" s
  shoot "docs/scene$key.png"
  echo "docs/scene$key.png"
done
