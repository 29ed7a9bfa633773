#!/usr/bin/env bash
# Spoken words with known borders for the speech tests: each word spoken by espeak-ng,
# its silence trimmed, joined by murmelix-cli (every part becomes a cue region labelled
# with its file name), once with 300 ms of silence ("gap") between the words and once
# without, at 8000 and 22050 Hz mono and 44100 Hz stereo. Real recordings never start on the
# first word: "lead03-22050" and "lead1-44100" put 0.3 s and 1 s of silence before it,
# "noise-22050" a second of quiet white noise (all of these parts are "gap" regions too).
# A read sentence by a person is made into another recording too: "real48-0880" is ls-0880 at
# 48 kHz after 0.32 s of quiet noise (its own room tone follows).
# sox runs with -R: its dither and noise are then the same on every run, and so is the corpus.
#   make_corpus.sh OUT_FOLDER MURMELIX_CLI REAL_SPEECH_FOLDER
set -euo pipefail
out=$1
cli=$2
real=$3
words=(hello world seven apple green morning river paper yellow number
       window garden little summer table orange happy music doctor monday)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
for rate in 8000 22050 44100; do
    channels=1
    [ "$rate" = 44100 ] && channels=2
    mkdir -p "$work/$rate"
    parts=()
    tight=()
    for word in "${words[@]}"; do
        espeak-ng -w "$work/raw.wav" -s 150 "$word"
        sox -R "$work/raw.wav" -b 16 -c "$channels" "$work/$rate/$word.wav" \
            silence 1 0.005 -50d reverse silence 1 0.005 -50d reverse rate "$rate"
        parts+=("$work/$rate/$word.wav" "$work/$rate/gap.wav")
        tight+=("$work/$rate/$word.wav")
    done
    sox -R -n -r "$rate" -c "$channels" -b 16 "$work/$rate/gap.wav" trim 0 0.3
    "$cli" join -o "$out/gaps-$rate.wav" "${parts[@]}"
    "$cli" join -o "$out/tight-$rate.wav" "${tight[@]}"
    lead() {  # NAME SECONDS SOX_EFFECT WORDS...
        local name=$1 seconds=$2 effect=$3
        shift 3
        mkdir -p "$work/$rate/$name"
        # shellcheck disable=SC2086
        sox -R -n -r "$rate" -c "$channels" -b 16 "$work/$rate/$name/gap.wav" $effect trim 0 "$seconds"
        "$cli" join -o "$out/$name-$rate.wav" "$work/$rate/$name/gap.wav" "$@"
    }
    case $rate in
    22050)
        lead lead03 0.3 "" "${tight[@]}"
        lead noise 1 "synth whitenoise vol 0.01" "${tight[@]}"
        ;;
    44100) lead lead1 1 "" "${parts[@]}" ;;
    esac
done
sox -R -n -r 48000 -c 1 -b 16 "$work/lead48.wav" synth 0.32 whitenoise vol 0.003
sox -R "$real/ls-0880.wav" -r 48000 "$work/up48.wav"
sox -R "$work/lead48.wav" "$work/up48.wav" "$out/real48-0880.wav"
printf '%s\n' "${words[*]}" >"$out/transcript.txt"
