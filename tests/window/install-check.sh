#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR and checks what the desktop
# needs: both programs, the man page, a desktop entry that desktop-file-validate
# has nothing to say about, metainfo that appstreamcli accepts, and the icons
# the entry names.
#     install-check.sh <build dir>
set -euo pipefail
build=$1
id=org.datesconverter.DatesConverter
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root="$dest/usr"
status=0
fail() { echo "install check: $*"; status=1; }

for file in bin/dates-converter bin/dates-convert share/man/man1/dates-convert.1 \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png; do
  [[ -f "$root/$file" ]] || fail "$file is not installed"
done
[[ -x "$root/bin/dates-converter" ]] || fail "dates-converter is not executable"

# desktop-file-validate exits 0 even when it complains: its output is the verdict.
complaints=$(desktop-file-validate "$root/share/applications/$id.desktop" 2>&1) || true
[[ -z "$complaints" ]] || fail "desktop-file-validate: $complaints"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" 2>&1)"

# The entry starts the installed program and names the installed icon.
grep -qx "Exec=dates-converter" "$root/share/applications/$id.desktop" || fail "Exec is not dates-converter"
grep -qx "Icon=$id" "$root/share/applications/$id.desktop" || fail "Icon is not $id"
file "$root/share/icons/hicolor/48x48/apps/$id.png" | grep -q "PNG image data, 48 x 48" ||
  fail "the 48x48 icon is not a 48 x 48 PNG"
grep -q "<svg" "$root/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is not an SVG"

[[ $status -eq 0 ]] && echo "install check: all installed files are in place and valid"
exit $status
