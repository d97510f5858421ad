#!/usr/bin/env bash
# Renders the README's pictures of the six scenes, docs/sceneN.png. They are
# the reviewed reference frames of each scene's middle step
# (tests/reference/sceneN-middle.png), rendered afresh from the real program
# by scripts/render-references.sh. Re-running gives the same files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/render-references.sh >/dev/null
for scene in 1 2 3 4 5 6; do
  cp "tests/reference/scene$scene-middle.png" "docs/scene$scene.png"
  echo "docs/scene$scene.png"
done
