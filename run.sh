#!/usr/bin/env bash
# Sets the machine up if needed, builds, and starts Numbrook Riza.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$ROOT/scripts/setup.sh"
exec "$BUILD_DIR/numbrook-riza" "$@"
