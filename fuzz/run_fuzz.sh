#!/usr/bin/env bash
# Builds the fuzz targets with the "fuzz" preset, replays each target's kept
# corpus once, then fuzzes each for a bounded time with the dictionary. Any
# finding (a crash, a sanitizer report, a leak, a hang or runaway memory) stops
# the run with a non-zero status and leaves the input that caused it under
# build/fuzz/findings/.
#
#   fuzz/run_fuzz.sh [--grow] [seconds per target] [target ...]
#
# The targets are game, graphics and structure; all three by default.
#
# fuzz/corpus/<target>/ is the kept corpus: inputs these targets found from the
# project's own seeds, minimised so that each one reaches something the others
# do not. Every run first executes each of them once, so a change that breaks
# on an input reached before fails at once. The fuzzing itself starts from a
# copy of the kept corpus and the seeds in build/fuzz/corpus/<target>/, which
# grows from one run to the next and leaves the repository clean.
#
# --grow then merges the kept corpus and all of build/fuzz/corpus/<target>/
# into a fresh minimal set that replaces fuzz/corpus/<target>/. Grow the kept
# corpus with a long run, `fuzz/run_fuzz.sh --grow 1800`, and commit what
# changed under fuzz/corpus/. With 0 seconds nothing is fuzzed: a plain run
# only replays, --grow only merges.
set -euo pipefail
cd "$(dirname "$0")/.."

grow=false
[ "${1:-}" != --grow ] || { grow=true && shift; }
seconds=${1:-20}
shift || true
targets=("$@")
[ $# -gt 0 ] || targets=(game graphics structure)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Absolute paths: each target works in a temporary folder of its own.
build=$PWD/build/fuzz
# Every run writes its pictures; a folder in memory keeps that quick.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# fuzz TARGET ARGUMENTS: the target with the limits that make a hang or
# runaway memory a finding.
fuzz() {
  mkdir -p "$build/findings/$1"
  "$build/fuzz/fuzz_$1" "${@:2}" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/findings/$1/"
}

# With no runs asked for, the fuzzer executes the inputs of the folder and stops.
for target in "${targets[@]}"; do
  [ -x "$build/fuzz/fuzz_$target" ] || { echo "unknown fuzz target: $target" >&2; exit 2; }
  echo "== replaying the kept inputs of the $target file"
  fuzz "$target" "$PWD/fuzz/corpus/$target" -runs=0
done

for target in "${targets[@]}"; do
  kept=$PWD/fuzz/corpus/$target
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  # Seeds: the shipped files of the kind under test, small hand-made inputs and
  # what earlier runs kept.
  case $target in
  game) cp examples/*.bd "$corpus"/ ;;
  graphics) cp data/graphics_*.txt "$corpus"/ ;;
  structure) cp data/html_structure.txt "$corpus"/ ;;
  esac
  cp fuzz/seeds/"$target"/* "$kept"/* "$corpus"/
  if [ "$seconds" -gt 0 ]; then
    echo "== fuzzing the $target file for ${seconds} s"
    fuzz "$target" "$corpus" -dict="$PWD/fuzz/conversion.dict" -max_total_time="$seconds" \
      -print_final_stats=1
  fi
  if $grow; then
    # The set-cover merge keeps every feature the inputs reach in about half
    # the files and bytes of the plain merge.
    merged=$build/merged/$target
    rm -rf "$merged" && mkdir -p "$merged"
    fuzz "$target" -set_cover_merge=1 "$merged" "$corpus"
    # A merge whose runs all fail still ends well, with nothing chosen.
    [ -n "$(ls -A "$merged")" ] || { echo "the merge chose no input; fuzz/corpus/$target is left as it was" >&2; exit 1; }
    rm -rf "$kept" && mv "$merged" "$kept"
    echo "fuzz/corpus/$target: $(ls "$kept" | wc -l) files, $(cat "$kept"/* | wc -c) bytes"
  fi
done
