#!/usr/bin/env bash
# Builds the fuzz targets with the "fuzz" preset and runs each for a bounded
# time with the dictionary. Any finding (a crash, a sanitizer report, a leak, a
# hang or runaway memory) stops the run with a non-zero status and leaves the
# input that caused it under build/fuzz/findings/.
#
#   fuzz/run_fuzz.sh [seconds per target] [target ...]
#
# The targets are game, graphics and structure; all three by default. The
# corpus grows under build/fuzz/corpus/ from one run to the next.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(game graphics structure)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Absolute paths: each target works in a temporary folder of its own.
build=$PWD/build/fuzz
# Every run writes its pictures; a folder in memory keeps that quick.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  # Seeds: the shipped files of the kind under test and small hand-made inputs.
  case $target in
  game) cp examples/*.bd "$corpus"/ ;;
  graphics) cp data/graphics_*.txt "$corpus"/ ;;
  structure) cp data/html_structure.txt "$corpus"/ ;;
  *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
  esac
  cp fuzz/seeds/"$target"/* "$corpus"/
  echo "== fuzzing the $target file for ${seconds} s"
  "$build/fuzz/fuzz_$target" "$corpus" \
    -dict="$PWD/fuzz/conversion.dict" \
    -max_total_time="$seconds" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" \
    -print_final_stats=1
done
