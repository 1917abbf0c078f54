#!/usr/bin/env bash
# The release packages hold exactly what a user needs, no more and no less,
# each has a checksum file beside it, the .deb satisfies lintian, and the
# tools are built hardened. Needs build/package and build/windows from the
# package workflows, and lintian and hardening-check (devscripts).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Grottoprint VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
data="graphics_ghost.txt graphics_ghost_pumpkin.txt graphics_original.txt
graphics_original_bd2.txt graphics_pumpkin.txt graphics_santa.txt graphics_space.txt
html_structure.txt sample_caves.bd"
failed=0

# same_list LABEL EXPECTED ACTUAL: the two lists of files, sorted, are equal.
same_list() {
  if diff -u <(sort <<<"$2") <(sort <<<"$3"); then echo "ok: $1 holds exactly its files"; else
    echo "FAIL: $1 does not hold exactly its files (- expected, + found)"
    failed=1
  fi
}

linux_files() { # linux_files TOP: the Linux layout under TOP
  printf '%s\n' "$1bin/grottoprint" "$1share/man/man1/grottoprint.1.gz" \
    "$1share/doc/grottoprint/copyright" "$1share/doc/grottoprint/changelog.gz"
  for file in $data; do echo "$1share/grottoprint/$file"; done
}

tarball=$root/build/package/grottoprint-$version-linux-x86_64.tar.gz
same_list "$(basename "$tarball")" "$(linux_files "grottoprint-$version-linux-x86_64/")" \
  "$(tar tzf "$tarball" | grep -v '/$')"

deb=$root/build/package/grottoprint_${version}_amd64.deb
same_list "$(basename "$deb")" "$(linux_files ./usr/)" \
  "$(dpkg-deb --fsys-tarfile "$deb" | tar t | grep -v '/$')"

zip=$root/build/windows/grottoprint-$version-windows-x64.zip
top=grottoprint-$version-windows-x64/
same_list "$(basename "$zip")" \
  "$(for file in grottoprint.exe README.txt LICENSE.txt CHANGELOG.txt $data; do echo "$top$file"; done)" \
  "$(cmake -E tar tf "$zip" | grep -v '/$')"

# Each package has a checksum file beside it that names it.
for package in "$tarball" "$deb" "$zip"; do
  if (cd "$(dirname "$package")" && sha256sum --check --quiet "$(basename "$package").sha256"); then
    echo "ok: $(basename "$package").sha256 matches"
  else
    echo "FAIL: $(basename "$package").sha256 is missing or does not match"
    failed=1
  fi
done

# Debian's package checker: no error and no warning (its notes are shown).
if lintian_output=$(lintian --display-info "$deb" 2>&1); then lintian_status=0; else lintian_status=$?; fi
lintian_output=$(grep -v '^running with root privileges' <<<"$lintian_output" || true)
[ -n "$lintian_output" ] && echo "$lintian_output"
if [ "$lintian_status" -eq 0 ] && ! grep -q '^[EW]: ' <<<"$lintian_output"; then
  echo "ok: lintian reports no error and no warning on $(basename "$deb")"
else
  echo "FAIL: lintian rejects $(basename "$deb") (status $lintian_status)"
  failed=1
fi

# Linux: the hardening of Debian's build flags, which add no control flow
# protection. Fortified calls show only where the compiler could not prove a
# size, so that line is informative. The package preset is the release one.
hardening-check "$root/build/package/grottoprint" || true
if hardening-check --quiet --nofortify --nocfprotection "$root/build/package/grottoprint"; then
  echo "ok: Linux tool is PIE, stack-protected, full RELRO, immediate binding"
else
  echo "FAIL: Linux tool lacks hardening"
  failed=1
fi

# Windows: ASLR and DEP, the UTF-8 manifest, and no DLL beyond Windows' own.
exe=$root/build/windows/grottoprint.exe
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
  grep -q "^[[:space:]]*$flag\$" <<<"$headers" || {
    echo "FAIL: grottoprint.exe lacks $flag"
    failed=1
  }
done
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | sort | tr '\n' ' ')
if [ "$dlls" = "KERNEL32.dll msvcrt.dll " ]; then echo "ok: grottoprint.exe needs only $dlls"; else
  echo "FAIL: grottoprint.exe needs $dlls"
  failed=1
fi
grep -q '<activeCodePage[^>]*>UTF-8<' "$exe" || {
  echo "FAIL: grottoprint.exe carries no UTF-8 code page manifest"
  failed=1
}
echo "grottoprint.exe: $(stat -c %s "$exe") bytes as built; in the zip: $(cmake -E tar tvf "$zip" | awk '/grottoprint.exe$/ {print $5}') bytes"
exit "$failed"
