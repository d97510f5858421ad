#!/usr/bin/env bash
# Installs what is missing, builds Release into build/ and starts the program.
# Arguments pass on to the program (and from it to GLUT, e.g. -display).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
exec ./build/involute-gears "$@"
