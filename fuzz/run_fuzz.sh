#!/usr/bin/env bash
# Builds the fuzz targets with the "fuzz" preset, replays each target's kept
# corpus once, then fuzzes it for a bounded time with the dictionary. Any
# finding (a crash, a sanitizer report, a leak, a hang or runaway memory) stops
# the run with a non-zero status and leaves the input that caused it under
# build/fuzz/findings/.
#
#   fuzz/run_fuzz.sh [seconds per target] [target ...]
#   fuzz/run_fuzz.sh --grow [seconds per target] [target ...]
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
# --grow fuzzes as above and then re-minimises: the kept corpus and everything
# under build/fuzz/corpus/<target>/ are merged into a fresh folder that
# replaces fuzz/corpus/<target>/. Grow the kept corpus with a long run, e.g.
#
#   fuzz/run_fuzz.sh --grow 1800
#
# and commit what changed under fuzz/corpus/. With 0 seconds nothing is fuzzed:
# a plain run only replays, --grow only merges (inputs from elsewhere can be
# put in build/fuzz/corpus/<target>/ first).
set -euo pipefail
cd "$(dirname "$0")/.."

grow=false
if [ "${1:-}" = --grow ]; then
  grow=true
  shift
fi
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(game graphics structure)
case $seconds in
'' | *[!0-9]*) echo "seconds per target must be a whole number, not: $seconds" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Absolute paths: each target works in a temporary folder of its own.
build=$PWD/build/fuzz
# Every run writes its pictures; a folder in memory keeps that quick.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The limits that make a hang or runaway memory a finding.
limits=(-timeout=10 -rss_limit_mb=2048)

count_files() { find "$1" -type f | wc -l; }
count_bytes() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }'; }

for target in "${targets[@]}"; do
  case $target in
  game | graphics | structure) ;;
  *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
  esac
done

# Every kept input once, before any fuzzing: with no runs asked for, the fuzzer
# executes the inputs of the folder and stops.
for target in "${targets[@]}"; do
  kept=$PWD/fuzz/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$findings"
  if [ ! -d "$kept" ]; then
    echo "== no kept corpus for the $target file"
    continue
  fi
  echo "== replaying the $(count_files "$kept") kept inputs of the $target file"
  started=$SECONDS
  "$build/fuzz/fuzz_$target" "$kept" -runs=0 "${limits[@]}" -artifact_prefix="$findings/"
  echo "replaying the $target corpus took $((SECONDS - started)) s"
done

for target in "${targets[@]}"; do
  kept=$PWD/fuzz/corpus/$target
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  fuzzer=$build/fuzz/fuzz_$target
  mkdir -p "$corpus"
  # Seeds: the shipped files of the kind under test, small hand-made inputs and
  # what earlier runs kept.
  case $target in
  game) cp examples/*.bd "$corpus"/ ;;
  graphics) cp data/graphics_*.txt "$corpus"/ ;;
  structure) cp data/html_structure.txt "$corpus"/ ;;
  esac
  cp fuzz/seeds/"$target"/* "$corpus"/
  if [ -d "$kept" ]; then cp -r "$kept"/. "$corpus"/; fi

  if [ "$seconds" -gt 0 ]; then
    echo "== fuzzing the $target file for ${seconds} s"
    "$fuzzer" "$corpus" \
      -dict="$PWD/fuzz/conversion.dict" \
      -max_total_time="$seconds" \
      "${limits[@]}" \
      -artifact_prefix="$findings/" \
      -print_final_stats=1
  fi

  if $grow; then
    echo "== minimising the $target corpus into fuzz/corpus/$target"
    merged=$build/merged/$target
    rm -rf "$merged"
    mkdir -p "$merged"
    # The set-cover merge keeps every feature the inputs reach in about half the
    # files and bytes of the plain merge.
    "$fuzzer" -set_cover_merge=1 "$merged" "$corpus" "${limits[@]}" -artifact_prefix="$findings/"
    # A merge whose runs all fail still ends well, with nothing chosen.
    if [ "$(count_files "$merged")" -eq 0 ]; then
      echo "the merge chose no input; fuzz/corpus/$target is left as it was" >&2
      exit 1
    fi
    rm -rf "$kept"
    mkdir -p "$(dirname "$kept")"
    mv "$merged" "$kept"
    echo "fuzz/corpus/$target: $(count_files "$kept") files, $(count_bytes "$kept") bytes"
  fi
done
