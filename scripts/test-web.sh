#!/usr/bin/env bash
# Builds the browser version and runs its tests in headless Chromium
# (tests/web, node's own test runner with the pinned playwright-core).
# Arguments go to `node --test`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh >/dev/null
scripts/install-npm-packages.sh
cd tests/web
exec node --test "$@"
