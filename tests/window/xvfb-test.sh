#!/usr/bin/env bash
# Runs a test program on a fresh virtual X server. Exits 77 (skipped) only when
# there is no xvfb-run on this machine.
set -euo pipefail
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is not installed: skipped"
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
