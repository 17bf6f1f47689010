#!/usr/bin/env bash
# Runs a test program as an X client of XWayland under Weston, headless
# (1024x768, pixman renderer). Exits 77 (skipped) when weston or Xwayland is
# missing; fails with Weston's log when it does not come up.
set -euo pipefail
for tool in weston Xwayland; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed: skipped"
    exit 77
  fi
done
scratch=$(mktemp -d)
chmod 700 "$scratch"
export XDG_RUNTIME_DIR="$scratch" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config"
unset DISPLAY WAYLAND_DISPLAY
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --xwayland \
  --socket=wayland-test --idle-time=0 >"$scratch/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$scratch"' EXIT
# Weston names the X display it listens on once its XWayland is ready for clients.
display=""
for _ in $(seq 1 150); do
  display=$(grep -o 'xserver listening on display :[0-9]*' "$scratch/weston.log" | grep -o ':[0-9]*' || true)
  [[ -n "$display" ]] && break
  kill -0 "$weston" 2>/dev/null || break
  sleep 0.2
done
if [[ -z "$display" ]]; then
  echo "weston did not start headless with XWayland; its log:" >&2
  tail -n 30 "$scratch/weston.log" >&2
  exit 1
fi
export DISPLAY="$display" WAYLAND_DISPLAY=wayland-test
"$@"
