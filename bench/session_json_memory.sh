#!/usr/bin/env bash
# Peak memory of `session show --json` for a session of one million entries, as a ratio
# to `session show` (the text listing, which prints as it goes) on the same file. The JSON
# is streamed entry by entry, so the ratio should stay near 1 (target at most 1.2).
# Usage: bench/session_json_memory.sh   (needs scripts/build.sh default and /usr/bin/time)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${MURMELIX_BUILD:-build/default}"
cli="$build/src/cli/murmelix-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk 'BEGIN {
    printf "# Murmelix 2.0 session file - do not edit unless you know exactly what you do!\r\n/w.wav\r\n"
    for (s = 0; s < 10; s++) {
        printf "[NextSequence]\r\n2024 03 05 14 07 09\r\nquestion\r\nanswer\r\n"
        for (i = 0; i < 100000; i++) printf "%d 200 %d %d label%d\r\n", i * 10, i + 1, i % 50, i % 7
    }
}' > "$work/big.oqt"

peak() { /usr/bin/time -f "%M" "$cli" session show "$@" "$work/big.oqt" 2>&1 >/dev/null | tail -1; }
text=$(peak)
json=$(peak --json)
awk -v t="$text" -v j="$json" 'BEGIN {
    printf "session show: %d KB, session show --json: %d KB, ratio %.2f\n", t, j, j / t }'
