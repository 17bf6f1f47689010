#!/usr/bin/env bash
# Runs a test program on a fresh virtual X server with the openbox window
# manager. Exits 77 (skipped) when xvfb-run or openbox is missing.
set -euo pipefail
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v openbox >/dev/null 2>&1; then
  echo "xvfb-run or openbox is not installed: skipped"
  exit 77
fi
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME="$config" XDG_CACHE_HOME="$config" HOME="$config"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'openbox >/dev/null 2>&1 & sleep 1; exec "$@"' test-with-wm "$@"
