#!/usr/bin/env bash
# The release packages hold exactly what a user needs, no more and no less,
# each has a checksum file beside it, the .deb satisfies lintian, and the
# tools are built hardened. Needs the packages of the two package workflows.
set -uo pipefail
cd "$(dirname "$0")/.."
failed=0
fail() { echo "FAIL: $*" && failed=1; }
tarball=$(echo build/package/*.tar.gz) deb=$(echo build/package/*.deb) zip=$(echo build/windows/*.zip)
data=$(git ls-files data examples | xargs -n1 basename) # every data file ships

holds() { # holds PACKAGE EXPECTED FOUND: the two lists of files, sorted, are equal
  if diff -u <(sort <<<"$2") <(grep -v '/$' <<<"$3" | sort); then echo "ok: $1 holds exactly its files"; else
    fail "$1 does not hold exactly its files (- expected, + found)"
  fi
}
linux_files() { # linux_files TOP: the Linux layout under TOP
  printf "$1%s\n" bin/grottoprint share/man/man1/grottoprint.1.gz share/doc/grottoprint/copyright \
    share/doc/grottoprint/changelog.gz $(printf 'share/grottoprint/%s ' $data)
}
holds "$tarball" "$(linux_files "$(basename "$tarball" .tar.gz)/")" "$(tar tzf "$tarball")"
holds "$deb" "$(linux_files ./usr/)" "$(dpkg-deb --fsys-tarfile "$deb" | tar t)"
holds "$zip" "$(printf "$(basename "$zip" .zip)/%s\n" grottoprint.exe README.txt LICENSE.txt CHANGELOG.txt $data)" \
  "$(cmake -E tar tf "$zip")"

for package in "$tarball" "$deb" "$zip"; do
  (cd "$(dirname "$package")" && sha256sum --check --quiet "$(basename "$package").sha256") &&
    echo "ok: $package.sha256 matches" || fail "$package.sha256 is missing or does not match"
done

# Debian's package checker: no error and no warning (its notes are shown).
lintian_output=$(lintian --display-info "$deb" 2>&1) || fail "lintian ends with status $?"
grep -v '^running with root privileges' <<<"$lintian_output"
! grep -q '^[EW]: ' <<<"$lintian_output" && echo "ok: lintian reports no error and no warning" ||
  fail "lintian rejects $deb"

# Linux, the .deb's and the tar.gz's tools: the hardening of Debian's build
# flags, which add no control flow protection. The tool makes no call that
# the compiler fortifies, so that line is informative.
for tool in build/package/grottoprint build/package/grottoprint_portable; do
  hardening-check "$tool"
  hardening-check --quiet --nofortify --nocfprotection "$tool" >/dev/null &&
    echo "ok: $tool is PIE, stack-protected, full RELRO, immediate binding" || fail "$tool lacks hardening"
done

# Windows: ASLR and DEP, the UTF-8 manifest, and no DLL beyond Windows' own.
headers=$(x86_64-w64-mingw32-objdump -p build/windows/grottoprint.exe)
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
  grep -q "^[[:space:]]*$flag\$" <<<"$headers" || fail "grottoprint.exe lacks $flag"
done
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | sort | tr '\n' ' ')
[ "$dlls" = "KERNEL32.dll msvcrt.dll " ] && echo "ok: grottoprint.exe needs only $dlls" ||
  fail "grottoprint.exe needs $dlls"
grep -q '<activeCodePage[^>]*>UTF-8<' build/windows/grottoprint.exe ||
  fail "grottoprint.exe carries no UTF-8 code page manifest"
exit "$failed"
