#!/usr/bin/env bash
# Builds the libFuzzer target over the command line and the gear pair's model
# (tests/fuzz/options_pair_fuzz.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, apart from the gcc test build,
# and runs it for SECONDS (default 60) from a copy of tests/fuzz/corpus/.
# The source tree is not written: the corpus grows in a temporary folder and
# a finding is saved there and printed. Exits non-zero on any finding.
#   tests/fuzz/fuzz.sh [SECONDS] [more libFuzzer flags]
# INVOLUTE_FUZZ_CXXFLAGS adds compiler flags, e.g.
# -DINVOLUTE_FUZZ_NEGATIVE_ZERO=1 to treat a printed "-0.00000" as a finding.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
shift || true
build="$root/build-fuzz"
mkdir -p "$build"

# Compiled here rather than through CMake: only the option reader and the
# pair's model go in, none of the window code.
sources=(src/app/options.cpp src/pair/*.cpp src/pair/*/*.cpp tests/fuzz/options_pair_fuzz.cpp)
# The package's version, as CMake gives it to the program (--version).
version=$(sed -n 's/^project(involute-gears VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
flags=(-std=c++17 -g -O1 -Wall -Wextra -Wpedantic -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root/src"
       "-DINVOLUTE_VERSION=\"$version\""
       ${INVOLUTE_FUZZ_CXXFLAGS:-})
# Other flags than last time: every object is compiled again.
if [[ "$(cat "$build/flags" 2>/dev/null)" != "${flags[*]}" ]]; then
  rm -f "$build"/*.o
  echo "${flags[*]}" >"$build/flags"
fi
newest_header=$(find "$root/src/base" "$root/src/pair" "$root/src/app/options.h" -name '*.h' -printf '%T@\n' | sort -n | tail -1)
objects=()
for s in "${sources[@]}"; do
  o="$build/$(echo "$s" | tr / _).o"
  objects+=("$o")
  if [[ ! -f $o || $root/$s -nt $o ]] || awk -v h="$newest_header" -v o="$(stat -c %Y "$o")" 'BEGIN{exit !(h > o)}'; then
    clang++ "${flags[@]}" -c "$root/$s" -o "$o"
  fi
done
clang++ "${flags[@]}" "${objects[@]}" -o "$build/options_pair_fuzz"

work="$(mktemp -d "${TMPDIR:-/tmp}/involute-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/findings"
cp "$root"/tests/fuzz/corpus/* "$work/corpus/"
# LeakSanitizer needs ptrace, which some containers refuse: leaks are looked
# for where it runs.
leaks=1
ASAN_OPTIONS=detect_leaks=1 "$build/options_pair_fuzz" -runs=0 -artifact_prefix="$work/" >"$work/log" 2>&1 || leaks=0
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=$leaks"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
# One job: the machine's cores are shared. -timeout: a single input running
# longer than that is a hang.
"$build/options_pair_fuzz" -max_total_time="$seconds" -timeout=30 -max_len=512 \
  -dict="$root/tests/fuzz/options.dict" -artifact_prefix="$work/findings/" \
  -print_final_stats=1 "$@" "$work/corpus" 2>"$work/log" || status=$?
if [[ $status -ne 0 ]]; then
  tail -n 60 "$work/log" >&2
  for f in "$work"/findings/*; do
    [[ -e $f ]] || continue
    echo "fuzz: finding $(basename "$f"); the arguments, one a line:" >&2
    cat -v "$f" >&2
    echo >&2
  done
  echo "fuzz: FAILED (exit $status)" >&2
  exit 1
fi
grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units)' "$work/log" || true
echo "fuzz: passed, $seconds s"
