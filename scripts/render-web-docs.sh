#!/usr/bin/env bash
# Builds the browser version and renders the README's screenshots of the
# whole page, docs/web-page.png (desktop width) and docs/web-phone.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
page=$(scripts/build-web.sh)
(cd tests/web && { cmp -s package-lock.json node_modules/.package-lock.json.installed ||
  { npm ci --no-audit --no-fund --loglevel=error && cp package-lock.json node_modules/.package-lock.json.installed; }; })
node scripts/render-web-docs.mjs "$page" docs
