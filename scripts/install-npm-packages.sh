#!/usr/bin/env bash
# Installs the browser tests' pinned npm packages (tests/web/package-lock.json)
# when they are missing or the lock file has changed since the last install.
set -euo pipefail
cd "$(dirname "$0")/../tests/web"
if ! cmp -s package-lock.json node_modules/.package-lock.json.installed 2>/dev/null; then
  npm ci --no-audit --no-fund --loglevel=error
  cp package-lock.json node_modules/.package-lock.json.installed
fi
