#!/usr/bin/env bash
# Brings a fresh Debian 12 machine to the point where the program builds, then builds it.
# Both quick-start commands source this script; it is safe to run again and again. The caller may set
# BUILD_TARGET to build one target (with what it depends on) instead of everything.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${NBR_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
    qt6-multimedia-dev qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin
    libsqlite3-dev libbenchmark-dev desktop-file-utils appstream groff-base poppler-utils
    sqlite3
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing missing packages: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# Ninja counts its steps ([12/340]) on the terminal, so a long first build shows how far it has got.
BUILD_TARGET="${BUILD_TARGET:-all}"
if [ "$BUILD_TARGET" = all ]; then
    echo "Building everything (the program, its tests and benchmarks) in $BUILD_DIR"
else
    echo "Building $BUILD_TARGET in $BUILD_DIR"
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target "$BUILD_TARGET"
