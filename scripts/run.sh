#!/usr/bin/env bash
# Sets everything up and starts the program; without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/zep
else
    exec xvfb-run -a ./build/zep
fi
