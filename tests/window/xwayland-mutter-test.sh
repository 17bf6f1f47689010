#!/usr/bin/env bash
# Runs a test program as an X client of XWayland under GNOME's compositor,
# headless with one virtual monitor of 1024x768, on a D-Bus session of its own.
# Exits 77 (skipped) when mutter, Xwayland or dbus-run-session is missing.
set -euo pipefail
for tool in mutter Xwayland dbus-run-session; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed: skipped"
    exit 77
  fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
export XDG_RUNTIME_DIR="$scratch" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config"
unset DISPLAY WAYLAND_DISPLAY
# mutter runs the command once its Wayland socket is up (XWayland may still
# be starting: the command waits until the X display answers) and quits when
# it ends, without passing on its status: the status and the test's output go
# by file.
status="$scratch/status"
output="$scratch/output"
inside='out=$1; shift
for _ in $(seq 1 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.2; done
"$@" >"$out" 2>&1; echo $? >"$0"'
timeout 300 dbus-run-session -- mutter --wayland --headless --virtual-monitor 1024x768 -- \
  bash -c "$inside" "$status" "$output" "$@" >"$scratch/mutter.log" 2>&1 || true
[[ -f "$output" ]] && cat "$output"
if [[ ! -s "$status" ]]; then
  echo "mutter did not run the test headless; its log:" >&2
  tail -n 30 "$scratch/mutter.log" >&2
  exit 1
fi
exit "$(cat "$status")"
