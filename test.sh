#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-test/, and runs the whole suite under a
# private Xvfb of its own, whether or not a display is present; then builds the browser
# version and runs its tests in headless Chromium, and fuzzes the command line
# for a minute (tests/fuzz/fuzz.sh). Exits non-zero on failure.
# Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --test
scripts/make-test-locales.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DINVOLUTE_BUILD_TESTS=ON -DINVOLUTE_SANITIZE=ON >/dev/null
cmake --build build-test -j"$(nproc)"
# LeakSanitizer reports what Mesa and Xlib keep for the life of the process;
# the program itself allocates nothing.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
unset DISPLAY
status=0
# An X server of this run's own (scripts/with-xvfb.sh): runs started together
# on one machine never share or race for a display.
scripts/with-xvfb.sh ctest --test-dir build-test -j"$(nproc)" --output-on-failure --timeout 600 "$@" || status=$?
# The command line and the pair's model under libFuzzer (clang, its own
# build-fuzz/), a minute from the seeds in tests/fuzz/corpus/.
tests/fuzz/fuzz.sh 60 || status=$?
scripts/test-web.sh || status=$?
exit "$status"
