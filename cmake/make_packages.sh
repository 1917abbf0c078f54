#!/usr/bin/env bash
# make_packages.sh BUILD NAME VERSION: installs the build into a staging folder and
# writes the release packages beside the build's files, with a .sha256 file
# beside each: for Linux NAME.tar.gz and the .deb, for Windows NAME.zip. Run by
# the "packages" target, from the source folder.
#
# The same commit gives the same bytes in any folder, at any time and for any
# user: every entry carries the time of SOURCE_DATE_EPOCH (the commit's time
# when it is not set), owner root, the modes 644 and 755, and the entries stand
# in name order; gzip headers carry no time and no name.
set -euo pipefail
build=$1 name=$2 version=$3
maintainer="Grottoprint developers <grottoprint@example.org>"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)} TZ=UTC0 LC_ALL=C
[[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] || { echo "outside a git clone, set SOURCE_DATE_EPOCH" >&2 && exit 1; }
work=$build/staging
rm -rf "$work" "$build"/*.{deb,tar.gz,zip,sha256} && mkdir -p "$work"
settle() { # settle FOLDER: the modes and the one time stamp, whatever the umask
  chmod -R u=rwX,go=rX "$1"
  find "$1" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
}
packed=()
# CHANGELOG.md in Debian's format: "## <version> (<YYYY-MM-DD>)" heads an
# entry, "- " starts an item and two blanks continue it.
debian_changelog() {
  local line date=""
  while IFS= read -r line; do
    if [[ $line =~ ^##\ ([^ ]+)\ \((.+)\)$ ]]; then
      [ -z "$date" ] || printf '\n -- %s  %s\n\n' "$maintainer" "$date"
      date=$(date -R -d "${BASH_REMATCH[2]}")
      printf 'grottoprint (%s) unstable; urgency=medium\n\n' "${BASH_REMATCH[1]}"
    elif [ -n "$date" ] && [ -n "$line" ]; then
      printf '  %s\n' "${line/#- /* }"
    fi
  done <CHANGELOG.md
  printf '\n -- %s  %s\n' "$maintainer" "$date"
}

if [[ $name == *windows* ]]; then # the Windows tool is stripped as it is linked
  cmake --install "$build" --prefix "$work/$name" >/dev/null
  settle "$work"
  # Info-ZIP without its extra fields (owner, Unix times): only the DOS time remains.
  (cd "$work" && find "$name" -type f | sort | zip -X -D -9 -q "$build/$name.zip" -@)
  packed+=("$build/$name.zip")
else
  cmake --install "$build" --prefix "$work/$name" --strip >/dev/null
  docs=$work/$name/share/doc/grottoprint
  mkdir -p "$docs"
  cp LICENSE "$docs/copyright"
  debian_changelog | gzip -9n >"$docs/changelog.gz"
  gzip -9n "$work/$name/share/man/man1/grottoprint.1"

  # The .deb: the tool as Debian links it, with the libraries it needs as Depends.
  root=$work/deb
  mkdir -p "$root/DEBIAN" "$work/debian" && cp -r "$work/$name" "$root/usr"
  settle "$root"
  (cd "$root" && find usr -type f | sort | xargs md5sum) >"$root/DEBIAN/md5sums"
  touch "$work/debian/control"
  depends=$(cd "$work" && dpkg-shlibdeps --ignore-missing-info -O deb/usr/bin/grottoprint)
  architecture=$(dpkg --print-architecture)
  cat >"$root/DEBIAN/control" <<END
Package: grottoprint
Version: $version
Architecture: $architecture
Maintainer: $maintainer
Installed-Size: $(cd "$root" && find usr -printf '%y %s\n' | awk '{s += $1 == "d" ? 1 : int(($2 + 1023) / 1024)} END {print s}')
Depends: ${depends#shlibs:Depends=}
Section: graphics
Priority: optional
Description: pictures and a web page of the caves of a BDCFF game
 Grottoprint reads a game file in BDCFF, the plain-text format that describes
 the caves of a BD game, and writes one 648x360 24-bit BMP picture per cave
 and one HTML page that shows the game's properties and a card per cave.
 .
 It asks three questions on the console: the game file, one of seven graphics
 sets (or a graphics file of your own) and the picture extension the page
 uses. The graphics sets, the page template and a sample game are installed
 in /usr/share/grottoprint.
END
  settle "$root"
  dpkg-deb --root-owner-group -Zgzip -z9 --build "$root" "$build/grottoprint_${version}_$architecture.deb" >/dev/null
  packed+=("$build/grottoprint_${version}_$architecture.deb")

  # The tar.gz's tool carries its C++ runtime, for Linux systems whose own is older.
  strip -o "$work/$name/bin/grottoprint" "$build/grottoprint_portable"
  settle "$work/$name"
  tar --create --format=gnu --sort=name --owner=0 --group=0 --numeric-owner \
    --mtime="@$SOURCE_DATE_EPOCH" --directory "$work" "$name" | gzip -9n >"$build/$name.tar.gz"
  packed+=("$build/$name.tar.gz")
fi
for package in "${packed[@]}"; do
  (cd "$build" && sha256sum "$(basename "$package")" >"$package.sha256")
  echo "written: $package"
done
