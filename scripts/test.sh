#!/usr/bin/env bash
# Sets everything up and runs all tests (widget tests run on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
ZEP_SETUP_TESTS=1 bash scripts/setup.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
