#!/usr/bin/env bash
# Renders the reference frames listed in tests/reference/frames.txt from the
# real program under a private Xvfb into tests/reference/<name>.png. Every
# frame comes from a fresh start of the program with its window at (0, 0), so
# the whole 800 x 800 picture is on the screen (without -geometry it sits at
# (-1, -1) and loses a row and a column). Re-running gives the same files.
# Arguments: names of frames to render (all when none), e.g. scene7-first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
build=${INVOLUTE_BUILD_DIR:-build}  # a Release build directory of its own, if wanted
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target involute-gears >/dev/null

if [[ -z "${INVOLUTE_REFERENCES_INNER:-}" ]]; then
  INVOLUTE_REFERENCES_INNER=1 exec scripts/with-xvfb.sh "$0" "$@"
fi

dir=tests/reference
program=""
trap '[[ -n "$program" ]] && kill "$program" 2>/dev/null || true' EXIT

window() { xdotool search --name 'インボリュート' 2>/dev/null | head -1 || true; }
picture() { import -window root -crop 800x800+0+0 +repage rgb:- | md5sum; }

# Waits until the window has drawn every frame asked of it: the picture stays
# the same across three grabs 0.2 s apart (a frame takes a few milliseconds).
settle() {
  local previous="" now same=0
  for _ in $(seq 100); do
    sleep 0.2
    now=$(picture)
    if [[ "$now" == "$previous" ]]; then
      same=$((same + 1))
      [[ $same -ge 2 ]] && return 0
    else
      same=0
    fi
    previous=$now
  done
  echo "the picture never settled" >&2
  return 1
}

wanted() {
  [[ $# -eq 1 ]] && return 0
  local name=$1 want
  shift
  for want in "$@"; do [[ "$want" == "$name" ]] && return 0; done
  return 1
}

while read -r -u 3 name tokens; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  wanted "$name" "$@" || continue
  # Options ("--teeth 10,30") come before the keys, each with its value.
  options=()
  keys=()
  set -f
  words=($tokens)
  set +f
  for ((i = 0; i < ${#words[@]}; i++)); do
    if [[ "${words[i]}" == --* ]]; then
      options+=("${words[i]}" "${words[i + 1]}")
      i=$((i + 1))
    else
      keys+=("${words[i]}")
    fi
  done
  "./$build/involute-gears" "${options[@]}" -geometry 800x800+0+0 >/dev/null </dev/null &
  program=$!
  for _ in $(seq 100); do
    [[ -n "$(window)" ]] && break
    sleep 0.1
  done
  [[ -n "$(window)" ]] || { echo "no window" >&2; exit 1; }
  xdotool mousemove 400 400  # no window manager: the key events go where the pointer is
  settle
  for token in "${keys[@]}"; do
    key=${token%%\**}
    count=1
    [[ "$token" == *\** ]] && count=${token#*\*}
    xdotool key --delay 1 --repeat "$count" "$key"
  done
  settle
  import -window root -crop 800x800+0+0 +repage -strip -define png:exclude-chunks=date,time \
    -define png:compression-level=9 "PNG24:$dir/$name.png"
  kill "$program"
  wait "$program" 2>/dev/null || true
  program=""
  while [[ -n "$(window)" ]]; do sleep 0.05; done
  echo "$dir/$name.png"
done 3<"$dir/frames.txt"
