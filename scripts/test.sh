#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the formatting check, the default
# build's suite (warnings are errors in every build), the same suite under the sanitizers,
# and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests

fuzz_seconds="${MURMELIX_FUZZ_SECONDS:-20}"
passed=0
failed=0
record() {
    if [ "$1" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# The sound tests play into and record from a private PulseAudio server with a null sink;
# they fail rather than skip when it should be there and is not. Only a desktop whose sound
# runs on PipeWire goes without it (deps.sh says so), and then they are skipped.
echo "== sound server"
if command -v pulseaudio >/dev/null; then
    scripts/sound-server.sh start
    eval "$(scripts/sound-server.sh env)"
    export MURMELIX_REQUIRE_SOUND=1
    trap 'scripts/sound-server.sh stop >/dev/null 2>&1 || true' EXIT
else
    echo "no PulseAudio server program here: the tests that need real sound are skipped"
fi

echo "== format"
set +e
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
record $?
set -e

echo "== build (default)"
scripts/build.sh default
echo "== tests (default)"
set +e
(cd build/default && ctest --output-on-failure -j "$(nproc)")
record $?
set -e

echo "== tests (address and undefined-behaviour sanitizers)"
scripts/build.sh asan
set +e
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$(nproc)")
record $?
set -e

echo "== fuzz smoke runs (${fuzz_seconds}s each)"
scripts/build.sh fuzz
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="fuzz/corpus/${name#fuzz_}"
    work=$(mktemp -d)
    cp -r "$corpus"/. "$work"/ 2>/dev/null || true
    dict=()
    [ -f "fuzz/${name#fuzz_}.dict" ] && dict=(-dict="fuzz/${name#fuzz_}.dict")
    if "$target" "${dict[@]}" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 \
        -print_final_stats=1 "$work" >"$work.log" 2>&1; then
        echo "$name: $(grep -E 'stat::number_of_executed_units' "$work.log" | awk '{print $2}') runs, no crash"
        record 0
    else
        echo "$name: FAILED"
        tail -n 40 "$work.log"
        record 1
    fi
    rm -rf "$work" "$work.log"
done

echo "test stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
