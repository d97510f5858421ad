#!/usr/bin/env bash
# Builds the frame benchmark (Release) and runs it in a real window, under a
# private Xvfb where there is no display. Arguments: frames per scene.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DINVOLUTE_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target frame_bench >/dev/null
if [[ -n "${DISPLAY:-}" ]]; then
  exec ./build-bench/bench/frame_bench "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x1024x24" ./build-bench/bench/frame_bench "$@"
