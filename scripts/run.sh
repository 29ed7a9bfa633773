#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on the bundled demo recording.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh default
demo=$(scripts/make-demo.sh build/default)
build/default/src/cli/murmelix-cli info "$demo"
