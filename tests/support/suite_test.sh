#!/usr/bin/env bash
# The suite's own footing: GL fixtures without a display or without a window
# end their tests with the reason (no crash), and Xvfb servers started at the
# same moment by scripts/with-xvfb.sh each get a display of their own.
# Arguments: source dir, primitives_test binary, program_test binary.
set -euo pipefail
source_dir=$1
primitives_test=$2
program_test=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

# No display: every test of the in-process window fails with the reason; the
# process ends normally (gtest's status 1), not by a signal or a sanitizer.
status=0
out=$(env -u DISPLAY "$primitives_test" 2>&1) || status=$?
[[ $status -eq 1 ]] || fail "primitives_test without a display: status $status: $out"
grep -q 'cannot open the X display ""' <<<"$out" || fail "no reason given: $out"
! grep -q 'AddressSanitizer\|runtime error' <<<"$out" || fail "crashed: $out"
failed=$(grep -c '^\[  FAILED  \] Primitives\.[A-Za-z]* (' <<<"$out" || true)
ran=$(grep -c '^\[ RUN      \]' <<<"$out" || true)
[[ $failed -eq $ran && $ran -gt 1 ]] || fail "$failed of $ran tests failed: $out"

# A program that ends before showing a window: the test says so and stops.
status=0
out=$("$source_dir/scripts/with-xvfb.sh" env INVOLUTE_GEARS_UNDER_TEST=/bin/false \
        "$program_test" --gtest_filter='RunningProgram.*' 2>&1) || status=$?
[[ $status -eq 1 ]] || fail "program_test with /bin/false: status $status: $out"
grep -q 'the program ended before showing a window (exit status 1)' <<<"$out" || fail "no reason given: $out"
! grep -q 'AddressSanitizer\|runtime error' <<<"$out" || fail "crashed: $out"

# Eight servers at once: each run its own display, all of them answer, and
# nothing is left behind.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
pids=()
for i in $(seq 8); do
  TMPDIR=$scratch "$source_dir/scripts/with-xvfb.sh" sh -c 'xdpyinfo >/dev/null && echo "$DISPLAY"' \
    >"$scratch/display.$i" 2>"$scratch/error.$i" &
  pids+=($!)
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || fail "run $((i + 1)) failed: $(cat "$scratch/error.$((i + 1))")"
done
displays=$(cat "$scratch"/display.* | sort)
[[ $(wc -l <<<"$displays") -eq 8 ]] || fail "not eight displays: $displays"
[[ $(uniq <<<"$displays" | wc -l) -eq 8 ]] || fail "a display was shared: $displays"
leftovers=$(find "$scratch" -mindepth 1 -name 'with-xvfb.*')
[[ -z "$leftovers" ]] || fail "left behind: $leftovers"
echo "suite test passed"
