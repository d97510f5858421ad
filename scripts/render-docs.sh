#!/usr/bin/env bash
# Renders the README's pictures of the scenes: docs/sceneN.png for the six
# scenes, and for the gear pair's scenes docs/scene7.png, docs/scene7-zoomed.png,
# docs/scene8-undercut.png, docs/scene8-shifted.png, docs/scene7-internal.png,
# docs/scene7-rack.png, docs/scene9-ring.png and docs/scene11.png. They are the reviewed
# reference frames (tests/reference/, listed with their options and keys in
# tests/reference/frames.txt), rendered afresh from the real program by
# scripts/render-references.sh. Re-running gives the same files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/render-references.sh >/dev/null
for scene in 1 2 3 4 5 6; do
  cp "tests/reference/scene$scene-middle.png" "docs/scene$scene.png"
  echo "docs/scene$scene.png"
done
# The gear pair: reference name, then the README's picture.
while read -r reference picture; do
  cp "tests/reference/$reference.png" "docs/$picture.png"
  echo "docs/$picture.png"
done <<'PICTURES'
scene7-first scene7
scene7-zoomed scene7-zoomed
scene8-undercut scene8-undercut
scene8-shifted scene8-shifted
scene7-internal scene7-internal
scene7-rack scene7-rack
scene9-ring scene9-ring
scene11-sliding scene11
PICTURES
