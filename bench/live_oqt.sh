#!/usr/bin/env bash
# Live OQT through the real sound path (PortAudio -> PulseAudio null sink):
#  1. CPU time of a live OQT of the demo recording as a share of one core (target < 5 %);
#  2. underflows during an OQT of 20 ms segments while both cores are busy with another
#     process (target 0);
#  3. the time from Stop to silence and from a speed change to the changed sound, as the
#     monitor hears them (target under 100 ms each; bench_live_latency).
# Usage: bench/live_oqt.sh [SECONDS]   (default 60; needs scripts/build.sh default)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${MURMELIX_BUILD:-build/default}"
cli="$build/src/cli/murmelix-cli"
demo=$(scripts/make-demo.sh "$build")
scripts/sound-server.sh start >/dev/null
eval "$(scripts/sound-server.sh env)"

measure() {
    local out
    out=$( { /usr/bin/time -f "cpu %U %S %e" "$cli" play --oqt "$demo" --seconds "$seconds" "$@"; } 2>&1 )
    local times underflows
    times=$(echo "$out" | grep '^cpu ')
    underflows=$(echo "$out" | sed -n 's/.* \([0-9]*\) underflows$/\1/p')
    echo "$times" | awk -v u="$underflows" '{ printf "%.2f %% of one core over %.1f s, %s underflows\n", 100 * ($2 + $3) / $4, $4, u }'
}

echo "how quickly the sound follows Stop and the speed slider:"
"$build/bench/bench_live_latency"
echo "live OQT, default segments (80 ms):"
measure
echo "live OQT, 20 ms segments, both cores busy:"
load=()
for _ in $(seq "$(nproc)"); do
    ( while :; do :; done ) &
    load+=($!)
done
trap 'kill "${load[@]}" 2>/dev/null || true' EXIT
measure --from 20
