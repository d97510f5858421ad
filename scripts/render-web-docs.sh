#!/usr/bin/env bash
# Builds the browser version and renders the README's screenshots of the
# page as it opens: docs/web-phone.png (a phone upright), docs/web-laptop.png
# (a 1366 x 650 laptop) and docs/web-fullscreen.png (lecture mode).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --docs
page=$(scripts/build-web.sh)
scripts/install-npm-packages.sh
node scripts/render-web-docs.mjs "$page" docs
