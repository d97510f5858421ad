#!/usr/bin/env bash
# Builds the frame benchmark (Release) and runs it in a real window, under a
# private Xvfb where there is no display. Arguments: frames per scene.
# With --web first: also builds the browser version and prints, per scene, its
# time per key press in headless Chromium beside the desktop's CPU per frame
# from the same run.
# With --solid first: instead, the time to make and write a 400-tooth gear
# as a solid twisted by 45 degrees (and untwisted), no display needed;
# argument: runs.
# INVOLUTE_BENCH_DIR: the Release build directory to use (build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" == "--solid" ]]; then
  shift
  scripts/install-deps.sh
  build=${INVOLUTE_BENCH_DIR:-build-bench}
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DINVOLUTE_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target solid_bench >/dev/null
  exec "./$build/bench/solid_bench" "$@"
fi
if [[ "${1:-}" == "--web" ]]; then
  shift
  page=$(scripts/build-web.sh)
  scripts/install-npm-packages.sh
  desktop=$(mktemp)
  trap 'rm -f "$desktop"' EXIT
  "$0" "$@" | tee "$desktop"
  echo
  node bench/web_bench.mjs "$page" "${1:-300}" "$desktop"
  exit 0
fi
scripts/install-deps.sh --docs
build=${INVOLUTE_BENCH_DIR:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DINVOLUTE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target frame_bench >/dev/null
if [[ -n "${DISPLAY:-}" ]]; then
  exec "./$build/bench/frame_bench" "$@"
fi
exec scripts/with-xvfb.sh "./$build/bench/frame_bench" "$@"
