#!/usr/bin/env bash
# The release packages are the same bytes whoever builds them, where and when:
# a second clone of the same commit, in another folder (on another file system
# where one is at hand), a little later, with another umask and time zone,
# must give packages identical to those of build/package and build/windows.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
  { echo "FAIL: the working tree has changes that are not committed" && exit 1; }
base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
other=$(mktemp -d "$base/grottoprint-again.XXXXXX")
trap 'rm -rf "$other"' EXIT
clone=$other/a/clone/in/another/folder
git clone --quiet --no-hardlinks "$root" "$clone"
echo "second build in $clone, commit $(git -C "$clone" rev-parse --short HEAD)"
(cd "$clone" && umask 077 && export TZ=Pacific/Chatham && cmake --workflow --preset package &&
  cmake --workflow --preset package-windows) >"$other/build.log" 2>&1 ||
  { tail -20 "$other/build.log" && echo "FAIL: the second build did not complete" && exit 1; }
failed=0
for first in "$root"/build/package/*.deb "$root"/build/package/*.tar.gz "$root"/build/windows/*.zip; do
  name=${first#"$root"/}
  if cmp -s "$first" "$clone/$name"; then echo "ok: $(sha256sum "$first" | cut -d' ' -f1)  $name (both builds)"; else
    echo "FAIL: $name differs between the two builds" && failed=1
  fi
done
exit "$failed"
