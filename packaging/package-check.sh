#!/usr/bin/env bash
# Builds the Debian package from a built tree, runs lintian on it (no errors
# allowed), unpacks it into a temporary root and runs the unpacked dates-convert.
# Exits 77 (skipped) when lintian is not installed.
#     package-check.sh <build dir>
set -euo pipefail
build=$1
if ! command -v lintian >/dev/null 2>&1; then
  echo "lintian is not installed: skipped (scripts/deps installs it)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/dates-converter_*_*.deb)
echo "package: $(basename "$deb")"

# lintian prints one line a finding, "E:" for errors; warnings are listed in packaging/README.md.
report=$(lintian --no-cfg "$deb" 2>&1 || true)
echo "$report"
if grep -q '^E:' <<<"$report"; then
  echo "lintian reports errors"
  exit 1
fi

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/dates-converter usr/bin/dates-convert usr/share/doc/dates-converter/copyright \
            usr/share/doc/dates-converter/changelog.Debian.gz usr/share/man/man1/dates-convert.1.gz \
            usr/share/man/man1/dates-converter.1.gz; do
  [[ -f "$work/root/$file" ]] || { echo "$file is not in the package"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "Depends lacks the Qt libraries"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libpng16' || { echo "Depends lacks libpng"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'fonts-dejavu-core' || { echo "Depends lacks the map's font"; exit 1; }
dpkg-deb -f "$deb" Recommends | grep -q 'gmt-gshhg-low' || { echo "Recommends lacks the coastlines"; exit 1; }
out=$("$work/root/usr/bin/dates-convert" to-hijri 1999-12-09)
echo "unpacked dates-convert: $out"
grep -q '1420-09-01' <<<"$out" || { echo "the unpacked dates-convert gave a wrong result"; exit 1; }
"$work/root/usr/bin/dates-convert" crescent-map 2026-02-18 --grid 10 --png "$work/map.png"
[[ "$(head -c 4 "$work/map.png" | tail -c 3)" == PNG ]] || { echo "the unpacked dates-convert drew no map"; exit 1; }
echo "unpacked dates-convert: a crescent map of $(stat -c %s "$work/map.png") bytes"
echo "package check: passed"
