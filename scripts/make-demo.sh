#!/usr/bin/env bash
# Speaks a dozen short words and phrases and joins them into one cue-labelled recording.
# Usage: make-demo.sh BUILD_DIR  (writes BUILD_DIR/demo/demo.wav)
set -euo pipefail
build="${1:-build/default}"
cli="$build/src/cli/murmelix-cli"
out="$build/demo"
mkdir -p "$out/words"
if [ -f "$out/demo.wav" ] && [ "$out/demo.wav" -nt "$0" ]; then
    echo "$out/demo.wav"
    exit 0
fi
phrases=(
    "hello" "good morning" "where are you" "yes" "no" "listen"
    "the answer" "tomorrow" "I see you" "thank you" "come here" "never again"
)
inputs=()
for phrase in "${phrases[@]}"; do
    raw="$out/words/$phrase.raw.wav"
    wav="$out/words/$phrase.wav"
    espeak-ng -v en -s 150 -w "$raw" "$phrase"
    # One format for all parts (22050 Hz, mono, 16 bit), with the silence around each
    # phrase cut off so that its cue region is the phrase itself.
    sox -R "$raw" -r 22050 -c 1 -b 16 "$wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
    rm -f "$raw"
    inputs+=("$wav")
done
"$cli" join -o "$out/demo.wav" "${inputs[@]}" >/dev/null
echo "$out/demo.wav"
