#!/usr/bin/env bash
# Builds the browser version and renders the README's screenshots of the
# whole page, docs/web-page.png (desktop width) and docs/web-phone.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
page=$(scripts/build-web.sh)
scripts/install-npm-packages.sh
node scripts/render-web-docs.mjs "$page" docs
