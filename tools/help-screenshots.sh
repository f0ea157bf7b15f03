#!/usr/bin/env bash
# Remakes the screenshots of the help pages (help/NBQ_Help/shot_*.png) from the running windows.
#
#   tools/help-screenshots.sh [BUILD_DIR]      (default: build)
#
# Builds the two look tests that save their windows as pictures, runs them on a virtual display
# (Xvfb) with the program's own pictures and help pages, and scales the chosen pictures to 560
# pixels wide into the help folder (tools/shotscale). The pictures are the windows as a user sees
# them: the sign-in window wired as the program wires it, the help window at the size it opens at.
# Safe to run again. Needs: xvfb-run (Debian: xvfb) and a configured build folder.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
HELP="$ROOT/help/NBQ_Help"

for tool in xvfb-run cmake; do
    if ! command -v "$tool" >/dev/null; then
        echo "help-screenshots: '$tool' is missing (Debian: xvfb cmake)" >&2
        exit 1
    fi
done

cmake --build "$BUILD" --target signin_tst_namescrn_look help_tst_helpscrn2_look shotscale

SHOTS="$(mktemp -d)"
HOMES="$(mktemp -d)"
trap 'rm -rf "$SHOTS" "$HOMES"' EXIT

run() {
    NBR_SHOTS_DIR="$SHOTS" NBR_TEST_HOME_BASE="$HOMES" QT_QPA_PLATFORM=xcb \
        NBR_RESOURCES_DIR="$ROOT/resources" NBR_HELP_DIR="$HELP" \
        xvfb-run -a -s "-screen 0 1400x1000x24" "$BUILD/tests/$1" >/dev/null
}
run signin_tst_namescrn_look
run help_tst_helpscrn2_look

# picture saved by a look test -> picture of the help folder
shoot() {
    [[ -f "$SHOTS/$1" ]] || { echo "help-screenshots: $1 was not made" >&2; exit 1; }
    "$BUILD/tools/shotscale/shotscale" "$SHOTS/$1" "$HELP/$2" 560
    echo "$HELP/$2"
}
shoot signin-800x676.png shot_signin.png
shoot help-800x580.png shot_help.png
