#!/usr/bin/env bash
# Start-up time of the program's window against a bare Qt main window on the same X server:
# the fastest of RUNS starts each (default 15), from the start of the process until its
# first window is mapped, and the ratio of the two (target at most 1.5).
# Usage: bench/startup.sh [RUNS]   (needs scripts/build.sh default; uses Xvfb and openbox;
# MURMELIX_BENCH_PROGRAM names another build of the program to measure)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-15}"
build="${MURMELIX_BUILD:-build/default}"
for program in src/gui/murmelix bench/bare_window bench/window_clock; do
    [ -x "$build/$program" ] || { echo "missing $build/$program: build it first" >&2; exit 1; }
done

# Measured on a private virtual X server with a window manager, as the window tests run.
if [ -z "${MURMELIX_STARTUP_ON_DISPLAY:-}" ]; then
    MURMELIX_STARTUP_ON_DISPLAY=1 exec tests/gui/with_window_manager.sh "$0" "$@"
fi
scripts/sound-server.sh start >/dev/null
eval "$(scripts/sound-server.sh env)"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# A fresh settings folder, so that no stored position or window of the user's counts: the
# program runs from a folder of its own, where it keeps its settings file.
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home"
cp "${MURMELIX_BENCH_PROGRAM:-$build/src/gui/murmelix}" "$home/murmelix"
# The two programs take turns, and each one's fastest start counts: other work on the
# machine only ever adds time. Besides the time until the window appears, the processor
# time used by then, which other work on the machine disturbs less.
results=$(mktemp)
"$build/bench/window_clock" "$home/murmelix" >/dev/null  # warms the caches
for _ in $(seq "$runs"); do
    echo "bare $("$build/bench/window_clock" "$build/bench/bare_window")" >>"$results"
    echo "program $("$build/bench/window_clock" "$home/murmelix")" >>"$results"
done
fastest() { awk -v who="$1" -v column="$2" '$1 == who && (best == "" || $column < best) {
    best = $column } END { print best }' "$results"; }
awk -v p="$(fastest program 2)" -v b="$(fastest bare 2)" \
    -v pc="$(fastest program 3)" -v bc="$(fastest bare 3)" 'BEGIN {
    printf "window shown after %.3f s (bare QMainWindow %.3f s): %.2fx\n", p, b, p / b
    printf "processor time by then %.3f s (bare QMainWindow %.3f s): %.2fx\n", pc, bc, pc / bc }'
rm -f "$results"
