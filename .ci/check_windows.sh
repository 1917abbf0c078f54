#!/usr/bin/env bash
# The released Windows tool, run under Wine, against the released Linux tool:
# the same game and answers must give the same pictures and page byte for
# byte, and the same console transcript but for Windows line ends (CR LF).
# Then the names only Windows refuses, a missing input file, game names
# beyond ASCII, and a name typed in a console window. Needs build/windows and
# build/package from the package workflows, wine on the PATH and python3.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build/wine-check
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
cmake -E tar xf "$root"/build/windows/*.zip && cmake -E tar xf "$root"/build/package/*.tar.gz || exit 1
windows_dir=$(echo "$work"/*-windows-x64) linux_dir=$(echo "$work"/*-linux-x86_64)

# Headless, quiet, and a prefix of our own that is removed with the build;
# no menu entries in the home folder, no offer to install browser or .NET parts.
# Wine names Unix files, and reads and shows a terminal, in the locale's
# character set: UTF-8, whatever the caller's locale.
export LC_ALL=C.UTF-8
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree=;mshtml='
unset DISPLAY WAYLAND_DISPLAY
started=$(date +%s)
wineboot --init </dev/null >/dev/null 2>&1
wineserver --wait
echo "Wine prefix ready in $(($(date +%s) - started)) s"

passed=0 failed=0
check() { # check DESCRIPTION COMMAND...: counts one check
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)) && echo "FAIL: $1"; fi
}

# convert SYSTEM FOLDER GAME ANSWER...: runs the released tool of SYSTEM
# (linux or windows) in a fresh FOLDER holding its data files and GAME, with
# the answers and the final ENTER typed as that system's console sends them.
# Leaves FOLDER.out (transcript) and FOLDER.status.
convert() {
  local system=$1 folder=$2 game=$3
  shift 3
  local data=$linux_dir/share/grottoprint tool=("$linux_dir/bin/grottoprint") end='\n'
  [ "$system" = windows ] && data=$windows_dir tool=(wine "$windows_dir/grottoprint.exe") end='\r\n'
  rm -rf "$folder" && mkdir -p "$folder"
  cp "$data"/graphics_*.txt "$data"/html_structure.txt ${game:+"$game"} "$folder"/
  printf "%s$end" "$@" '' >"$folder.in"
  ls -A "$folder" >"$folder.before"
  (cd "$folder" && "${tool[@]}" <"$folder.in" >"$folder.out" 2>&1)
  echo $? >"$folder.status"
}

status_is() { [ "$(cat "$1.status")" = "$2" ]; }
nothing_written() { ls -A "$1" | cmp -s - "$1.before"; }
says() { grep -qF -- "$2" "$1.out"; }
# Every line of the Windows transcript ends in CR LF, and without the CRs it
# is the Linux transcript.
same_transcript() {
  [ "$(grep -c $'\r$' "$2.out")" = "$(wc -l <"$2.out")" ] &&
    sed 's/\r$//' "$2.out" | cmp -s - "$1.out"
}
# Every picture the page links to is a file of the folder: each address with
# its %XX escapes read back as bytes.
links_found() {
  local link found=0
  while IFS= read -r link; do
    link=$(printf '%b' "${link//%/\\x}")
    [ -f "$1/$link" ] || return 1
    found=$((found + 1))
  done < <(grep -o 'src="[^"]*"' "$1"/*.html | sed 's/^src="//; s/"$//')
  [ "$found" -gt 0 ]
}
compare() { # compare LABEL GAME ANSWER...: both tools, same results
  local label=$1
  convert linux "$work/$label-linux" "${@:2}"
  convert windows "$work/$label-windows" "${@:2}"
  check "$label: Linux tool ends with 0" status_is "$work/$label-linux" 0
  check "$label: Windows tool ends with 0" status_is "$work/$label-windows" 0
  check "$label: same files, byte for byte" diff -r "$work/$label-linux" "$work/$label-windows"
  check "$label: same transcript but for CR LF" same_transcript "$work/$label-linux" \
    "$work/$label-windows"
}

game=$linux_dir/share/grottoprint/sample_caves.bd
extensions=(b g p)
for set in 1 2 3 4 5 6 7; do
  compare "set$set" "$game" sample_caves.bd "$set" "${extensions[set % 3]}"
done

named_game() { # named_game NAME FILE: the sample game under another name
  LC_ALL=C sed "s/^Name=Sample Grottoes\$/Name=$1/" "$game" >"$2"
}

# Names that Windows cannot give a file of this folder end the run before a
# byte is written; on Linux they stay ordinary names.
refused=('CON' 'nul.txt' 'Aux' 'prn.html' 'com1' 'LPT9.a.b' 'nul ' 'com¹' 'a<b' 'a>b' 'a:b'
  'a"b' 'a|b' 'a?b' 'a*b' $'a\x01b' $'a\x1fb'
  'Caf'$'\xe9' $'a\x80b' $'a\xc0\xafb' $'a\xed\xa0\x80b' $'a\xf4\x90\x80\x80b' $'a\xe2\x82')
for index in "${!refused[@]}"; do
  name=${refused[index]}
  named_game "$name" "$work/refused.bd"
  folder=$work/refused$index
  convert windows "$folder" "$work/refused.bd" refused.bd 1 b
  check "name '$name': Windows tool ends with 1" status_is "$folder" 1
  check "name '$name': error 24" says "$folder" "Error: Creation of HTML file failed!"
  check "name '$name': no file written" nothing_written "$folder"
  convert linux "$folder-linux" "$work/refused.bd" refused.bd 1 b
  check "name '$name': Linux tool still writes it" status_is "$folder-linux" 0
  check "name '$name': Linux page named as the game" test -f "$folder-linux/$name.html"
done

named_label() { printf 'named-%s' "$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')"; }
# Names Windows takes: a device name inside a longer name, UTF-8, and the
# bytes that the page's addresses escape.
for name in 'Console' 'Caf'$'\xc3\xa9' 'Grotte Été 洞窟 🪨' 'x.con' 'Caves #1 50% off'; do
  named_game "$name" "$work/named.bd"
  label=$(named_label "$name")
  compare "$label" "$work/named.bd" named.bd 1 b
  check "name '$name': the page's links name its pictures" links_found "$work/$label-windows"
  check "name '$name': the page is named as the game" test -f "$work/$label-windows/$name.html"
done
check "name 'Caves #1 50% off': the page's address of a picture" grep -qF \
  'src="Caves %231 50%25 off_Cave_01.bmp"' \
  "$work/$(named_label 'Caves #1 50% off')-windows/Caves #1 50% off.html"

# Typed in a console window, which Wine makes of a pseudo-terminal: a game
# file named beyond ASCII is found and the game's name shows as written, and
# the files are those of the Linux tool. With only standard input a console,
# the output keeps its UTF-8 bytes.
named_game 'Grotte Été' "$work/Höhle.bd"
convert linux "$work/console-linux" "$work/Höhle.bd" 'Höhle.bd' 1 b
for mode in window input-only; do
  folder=$work/console-$mode
  rm -rf "$folder" && mkdir -p "$folder"
  cp "$linux_dir"/share/grottoprint/*.txt "$work/Höhle.bd" "$folder"/
  flag=()
  [ "$mode" = input-only ] && flag=(--input-only)
  "$root/.ci/console_run.py" "${flag[@]}" "$folder" "$folder.out" 'Höhle.bd' 1 b '' -- \
    wine "$windows_dir/grottoprint.exe"
  echo $? >"$folder.status"
  check "console ($mode): ends with 0" status_is "$folder" 0
  check "console ($mode): the game's name shows as written" says "$folder" \
    "Name of BD game: Grotte Été."
  check "console ($mode): same files as the Linux tool" diff -r "$work/console-linux" "$folder"
done

# A Windows too old for the manifest's UTF-8 code page (it is stripped here)
# refuses a name beyond ASCII rather than write it as other characters.
cp -r "$windows_dir" "$work/old-windows"
x86_64-w64-mingw32-objcopy --remove-section .rsrc "$windows_dir/grottoprint.exe" \
  "$work/old-windows/grottoprint.exe"
named_game 'Caf'$'\xc3\xa9' "$work/named.bd"
windows_dir=$work/old-windows convert windows "$work/old" "$work/named.bd" named.bd 1 b
check "no UTF-8 code page: ends with 1" status_is "$work/old" 1
check "no UTF-8 code page: error 24" says "$work/old" "Error: Creation of HTML file failed!"
check "no UTF-8 code page: no file written" nothing_written "$work/old"

# A second run in the same folder replaces the first run's files whole, as
# the Linux tool does: the pictures and the page are renamed over the old ones.
folder=$work/rerun
convert windows "$folder" "$game" sample_caves.bd 1 b
(cd "$folder" && wine "$windows_dir/grottoprint.exe" <"$work/set2-windows.in" >"$folder.out" 2>&1)
echo $? >"$folder.status"
check "a second run: ends with 0" status_is "$folder" 0
check "a second run: the files of a first run with its answers" diff -r "$work/set2-linux" "$folder"

# Three games converted at once in one folder, beside a leftover of a killed
# run: each run ends with 0 and the folder holds what the Linux tool writes
# converting them one after the other, the leftover gone. A run that took
# another's unfinished file, held open while it is written, would end with 1.
folder=$work/at-once
rm -rf "$folder" "$folder-linux" && mkdir -p "$folder" "$folder-linux"
cp "$windows_dir"/graphics_*.txt "$windows_dir"/html_structure.txt "$folder"/
cp "$linux_dir"/share/grottoprint/graphics_*.txt "$linux_dir"/share/grottoprint/html_structure.txt \
  "$folder-linux"/
for name in one two three; do
  named_game "Game $name" "$folder/$name.bd" && cp "$folder/$name.bd" "$folder-linux"/
  printf '%s\n' "$name.bd" 1 b '' | (cd "$folder-linux" && "$linux_dir/bin/grottoprint" >/dev/null)
  printf '%s\r\n' "$name.bd" 1 b '' >"$folder-$name.in"
done
echo stale >"$folder/grottoprint-unfinished-0123abcd.tmp"
for name in one two three; do
  (cd "$folder" && wine "$windows_dir/grottoprint.exe" <"$folder-$name.in" >"$folder-$name.out" 2>&1
    echo $? >"$folder-$name.status") &
done
wait
for name in one two three; do
  check "at once ($name): ends with 0" status_is "$folder-$name" 0
done
check "at once: the files of runs one after the other, the leftover gone" \
  diff -r "$folder-linux" "$folder"

# A game file that the page or a picture would replace, by a name in another
# case, ends the run before anything is written.
for name in 'sample grottoes.HTML' 'SAMPLE GROTTOES_cave_02.BMP'; do
  cp "$game" "$work/$name"
  folder="$work/input-$name"
  convert windows "$folder" "$work/$name" "$name" 1 b
  check "game file '$name': ends with 1" status_is "$folder" 1
  check "game file '$name': error" says "$folder" \
    "Error: Output would overwrite input, graphics or HTML structure file!"
  check "game file '$name': no file written" nothing_written "$folder"
done

convert windows "$work/missing" "" no_such_game.bd 1 b
check "missing input file: ends with 1" status_is "$work/missing" 1
check "missing input file: error" says "$work/missing" "Error: Input file not found!"

wineserver --kill
echo "Windows checks under Wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
