#!/usr/bin/env bash
# Speed of `murmelix-cli import` against the baseline `sox IN -b 16 OUT.wav` (which also
# dithers to 16 bits) on the same 10-minute 48 kHz 24-bit stereo recording, as WAV and as
# FLAC. Prints each time (best of three) and the ratio import / sox; target at most 1.0.
# Usage: bench/import_speed.sh   (needs scripts/build.sh default, sox and /usr/bin/time)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${MURMELIX_BUILD:-build/default}"
cli="$build/src/cli/murmelix-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Speech-like material: a wandering tone under noise, so FLAC has something to compress.
sox -n -r 48000 -b 24 -c 2 "$work/in.wav" synth 600 sine 200-2000 synth 600 pinknoise mix \
    gain -6 2>/dev/null
sox "$work/in.wav" "$work/in.flac"

best() {
    local fastest=""
    for _ in 1 2 3; do
        local t
        t=$(/usr/bin/time -f "%e" "$@" 2>&1 >/dev/null | tail -1)
        if [ -z "$fastest" ] || awk -v a="$t" -v b="$fastest" 'BEGIN { exit !(a < b) }'; then
            fastest=$t
        fi
    done
    echo "$fastest"
}

for input in in.wav in.flac; do
    ours=$(best "$cli" import "$work/$input" -o "$work/ours.wav")
    sox_time=$(best sox "$work/$input" -b 16 "$work/sox.wav")
    awk -v f="$input" -v o="$ours" -v s="$sox_time" 'BEGIN {
        printf "%-8s murmelix-cli import %.2f s, sox -b 16 %.2f s, ratio %.2f\n", f, o, s, o / s }'
done
