#!/usr/bin/env bash
# Installs what is missing, builds, and opens Murmelix on the bundled demo recording. Without
# a display it makes a 15-second OQT of the demo with the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh default
demo=$(scripts/make-demo.sh build/default)
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/default/src/gui/murmelix "$demo"
fi
out="$PWD/build/default/demo/oqt"
mkdir -p "$out"
wav="$out/demo-oqt.wav"
session="$out/demo-oqt.oqt"
# Each run makes a fresh session rather than adding to the last one.
rm -f "$session"
build/default/src/cli/murmelix-cli render "$demo" -o "$wav" --seconds 15 --cues \
    --session "$session" --question "What does the demo recording say?" >/dev/null
echo "No display found, so instead of opening the window Murmelix made a 15-second OQT"
echo "of the demo recording ($demo):"
echo "  sound:   $wav"
echo "  session: $session"
echo "Listen with: play '$wav'   Look inside with: build/default/src/cli/murmelix-cli session show '$session'"
