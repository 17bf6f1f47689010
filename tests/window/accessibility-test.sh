#!/usr/bin/env bash
# Runs accessibility-check.py against the built program on a fresh virtual X
# server inside a D-Bus session of its own, where the accessibility bus is
# started on demand. Every folder the desktop services write to is a
# temporary one. Exits 77 (skipped) when that bus cannot be started here.
#     accessibility-test.sh <dates-converter>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "accessibility test skipped: $*"; exit 77; }
command -v xvfb-run >/dev/null 2>&1 || skip "xvfb-run is not installed"
command -v dbus-run-session >/dev/null 2>&1 || skip "no D-Bus session (dbus-run-session, package dbus)"
[[ -x /usr/libexec/at-spi-bus-launcher ]] || skip "no accessibility bus (at-spi2-core)"
command -v xdotool >/dev/null 2>&1 || skip "xdotool is not installed"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache XDG_DATA_HOME=$tmp/data
export XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  dbus-run-session -- /usr/bin/python3 "$here/accessibility-check.py" "$1"
