#!/usr/bin/env bash
# Sets the machine up if needed, builds the program (with its pictures, sounds and help pages, but not
# the tests and benchmarks, which ./test.sh builds), and starts Numbrook Riza.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD_TARGET=numbrook-riza
source "$ROOT/scripts/setup.sh"
exec "$BUILD_DIR/numbrook-riza" "$@"
