#!/usr/bin/env bash
# Peak memory of `murmelix-cli effect reverse` on a WAV file of 200 MB of samples, against
# the size of its data: the document holds the samples once, so the target is at most
# 1.1 x data size + 30 MB (the reader reads into the document, never maps or copies the
# file; the writer writes from the document).
# Usage: bench/effect_memory.sh   (needs scripts/build.sh default, sox and /usr/bin/time)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${MURMELIX_BUILD:-build/default}"
cli="$build/src/cli/murmelix-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 200 MB of 16-bit stereo at 48 kHz: 1041.67 s.
sox -n -r 48000 -b 16 -c 2 "$work/in.wav" synth 1041.67 whitenoise gain -6 2>/dev/null
data_kb=$(( ($(stat -c %s "$work/in.wav") - 44) / 1024 ))
peak_kb=$(/usr/bin/time -f "%M" "$cli" effect reverse "$work/in.wav" "$work/out.wav" 2>&1 \
    >/dev/null | tail -1)
awk -v d="$data_kb" -v p="$peak_kb" 'BEGIN {
    target = 1.1 * d + 30 * 1024
    printf "data %d KB, peak %d KB, ratio %.3f to data, target %d KB: %s\n", d, p, p / d,
        target, p <= target ? "met" : "MISSED" }'
