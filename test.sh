#!/usr/bin/env bash
# Sets the machine up if needed, builds everything (benchmarks included) and runs every test.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD_TARGET=all
source "$ROOT/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 600 -j "$(nproc)"
