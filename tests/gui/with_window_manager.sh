#!/usr/bin/env bash
# Runs a command on a private virtual X server with the openbox window manager, for the
# window tests whose results depend on window frames and placement.
# Usage: with_window_manager.sh COMMAND [ARGUMENT...]
set -euo pipefail
for tool in Xvfb openbox; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh --tests)" >&2; exit 1; }
done
work=$(mktemp -d)
wm=""
# Xvfb picks a free display number and writes it to the pipe once it takes clients.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r number <&3
trap 'kill $wm "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
HOME="$work" openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager has taken over once it owns the screen's manager selection.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.05
done
"$@"
