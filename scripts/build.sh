#!/usr/bin/env bash
# Configures and builds one preset (default when none is given).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
fi
cmake --build --preset "$preset" -j "$(nproc)"
