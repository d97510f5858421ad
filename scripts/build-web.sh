#!/usr/bin/env bash
# Builds the browser version into build-web/involute-gears.html: one
# self-contained page (wasm and JavaScript inside) that runs from disk or from
# any static web server. Installs emscripten when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --web
# emcmake names the cmake command it runs on stderr; only that line is dropped.
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release 2> >(grep -v "^configure: " >&2) >/dev/null
cmake --build build-web -j"$(nproc)" >/dev/null
echo "$PWD/build-web/involute-gears.html"
