#!/usr/bin/env bash
# Builds the browser version and runs its tests in headless Chromium
# (tests/web, node's own test runner with the pinned playwright-core).
# Arguments go to `node --test`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh >/dev/null
cd tests/web
# Install the pinned packages when they are missing or the lock file changed.
if ! cmp -s package-lock.json node_modules/.package-lock.json.installed 2>/dev/null; then
  npm ci --no-audit --no-fund --loglevel=error
  cp package-lock.json node_modules/.package-lock.json.installed
fi
exec node --test "$@"
