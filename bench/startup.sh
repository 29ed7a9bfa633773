#!/usr/bin/env bash
# Start-up time of the program's window against a bare Qt main window on the same X server:
# the median of RUNS starts each (default 15), from the start of the process until its
# first window is mapped, and the ratio of the two (target at most 1.5).
# Usage: bench/startup.sh [RUNS]   (needs scripts/build.sh default; uses Xvfb and openbox)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-15}"
build="${MURMELIX_BUILD:-build/default}"
for program in src/app/murmelix bench/bare_window bench/window_clock; do
    [ -x "$build/$program" ] || { echo "missing $build/$program: build it first" >&2; exit 1; }
done

scripts/sound-server.sh start >/dev/null
eval "$(scripts/sound-server.sh env)"
home=$(mktemp -d)
wm=""
# Xvfb picks a free display number and writes it to the pipe once it takes clients.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r number <&3
trap 'kill $wm "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
export DISPLAY=":$number"
HOME="$home" openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# A fresh settings folder, so that no stored position or window of the user's counts.
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
measure() {
    for _ in $(seq "$runs"); do "$build/bench/window_clock" "$@"; done | median
}
"$build/bench/window_clock" "$build/src/app/murmelix" >/dev/null  # warms the caches
bare=$(measure "$build/bench/bare_window")
program=$(measure "$build/src/app/murmelix")
awk -v p="$program" -v b="$bare" 'BEGIN {
    printf "window shown after %.3f s (bare QMainWindow %.3f s): %.2fx\n", p, b, p / b }'
