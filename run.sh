#!/usr/bin/env bash
# Installs what is missing, builds Release into build/ and starts the program.
# Arguments pass on to the program (and from it to GLUT, e.g. -display).
# With --web: builds the browser version instead (build-web/involute-gears.html)
# and opens it in the default browser, or prints its path where there is none.
set -euo pipefail
cd "$(dirname "$0")"
if [[ "${1:-}" == "--web" ]]; then
  page=$(scripts/build-web.sh)
  echo "$page"
  if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]] && command -v xdg-open >/dev/null; then
    exec xdg-open "$page"
  fi
  exit 0
fi
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
exec ./build/involute-gears "$@"
