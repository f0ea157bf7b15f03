#!/usr/bin/env bash
# Rebuilds every picture and sound of the program into resources/ (or into the folder given).
#
#   tools/generate-media.sh [--sheet SHEET.png] [OUTDIR]
#
# Builds the two generators (tools/artgen, tools/soundgen) in their own build folder, paints
# the pictures, speaks the few spoken words with espeak-ng, tidies them with sox, synthesises
# the sounds around them, then checks what came out. Safe to run again: the same tools give
# the same files. See tools/README.md.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${NBR_MEDIA_BUILD_DIR:-$ROOT/build-media}"
SHEET=""
OUT="$ROOT/resources"

while (($#)); do
    case "$1" in
        --sheet) SHEET="${2:?--sheet needs a file name}"; shift 2 ;;
        -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
        -*) echo "unknown option: $1" >&2; exit 2 ;;
        *) OUT="$1"; shift ;;
    esac
done

for tool in cmake espeak-ng sox soxi; do
    if ! command -v "$tool" >/dev/null; then
        echo "generate-media: '$tool' is missing (Debian: cmake espeak-ng sox)" >&2
        exit 1
    fi
done
GENERATOR=()
command -v ninja >/dev/null && GENERATOR=(-G Ninja)

for tool in artgen soundgen; do
    if [ ! -f "$BUILD/$tool/CMakeCache.txt" ]; then
        cmake -S "$ROOT/tools/$tool" -B "$BUILD/$tool" "${GENERATOR[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$BUILD/$tool" >/dev/null
done
ARTGEN="$BUILD/artgen/artgen"
SOUNDGEN="$BUILD/soundgen/soundgen"

mkdir -p "$OUT"

# Pictures. The offscreen platform needs no display.
QT_QPA_PLATFORM=offscreen "$ARTGEN" "$OUT"

# Spoken words: soundgen names them, espeak-ng says them in a bright voice, sox makes them
# 22050 Hz mono 16-bit, trims the silence around them and evens their level. -R and -D keep
# sox from adding random dither, so a re-run gives identical files.
SPEECH="$(mktemp -d)"
trap 'rm -rf "$SPEECH"' EXIT
while IFS=$'\t' read -r name words; do
    espeak-ng -v en-us+f3 -p 70 -s 150 -w "$SPEECH/raw-$name.wav" "$words"
    sox -R -D "$SPEECH/raw-$name.wav" -r 22050 -c 1 -b 16 "$SPEECH/$name.wav" \
        silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse gain -n -1
done < <("$SOUNDGEN" --words)

# Sounds.
"$SOUNDGEN" "$OUT" "$SPEECH"

# Check what came out: every picture present at its size, every sound short, audible and
# unclipped.
problems=0
QT_QPA_PLATFORM=offscreen "$ARTGEN" --check "$OUT" || problems=$((problems + 1))
count=0
for wav in "$OUT"/*.wav; do
    count=$((count + 1))
    rate=$(soxi -r "$wav"); chans=$(soxi -c "$wav"); bits=$(soxi -b "$wav"); dur=$(soxi -D "$wav")
    stats=$(sox "$wav" -n stat 2>&1)
    maxamp=$(awk '/Maximum amplitude/ {print $3}' <<<"$stats")
    minamp=$(awk '/Minimum amplitude/ {print $3}' <<<"$stats")
    rms=$(awk '/RMS +amplitude/ {print $3}' <<<"$stats")
    if [ "$rate" != 22050 ] || [ "$chans" != 1 ] || [ "$bits" != 16 ]; then
        echo "$(basename "$wav"): ${rate} Hz, ${chans} channel(s), ${bits} bit" >&2; problems=$((problems + 1))
    fi
    if ! awk -v d="$dur" -v hi="$maxamp" -v lo="$minamp" -v r="$rms" \
        'BEGIN { exit !(d >= 0.2 && d <= 1.5 && hi < 0.99 && lo > -0.99 && r > 0.01) }'; then
        echo "$(basename "$wav"): length ${dur} s, peaks ${minamp}/${maxamp}, rms ${rms}" >&2
        problems=$((problems + 1))
    fi
done
if [ "$count" -ne 25 ]; then
    echo "expected 25 sounds, found $count" >&2; problems=$((problems + 1))
fi

if [ -n "$SHEET" ]; then
    QT_QPA_PLATFORM=offscreen "$ARTGEN" --sheet "$SHEET" "$OUT"
fi

if [ "$problems" -ne 0 ]; then
    echo "generate-media: $problems problem(s)" >&2
    exit 1
fi
echo "generate-media: pictures and sounds are in $OUT ($(du -sh "$OUT" | cut -f1))"
