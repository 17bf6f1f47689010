#!/usr/bin/env bash
# Runs a test program on a fresh virtual X server with the xcompmgr
# compositing manager. Exits 77 (skipped) when xvfb-run or xcompmgr is missing.
set -euo pipefail
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v xcompmgr >/dev/null 2>&1; then
  echo "xvfb-run or xcompmgr is not installed: skipped"
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 +extension Composite" \
  bash -c 'xcompmgr >/dev/null 2>&1 & sleep 1; exec "$@"' test-with-compositor "$@"
