#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent: when everything is present
# it only asks dpkg and returns.
#
#   scripts/deps.sh           what building and running the program needs
#   scripts/deps.sh --tests   that, and the tools the tests use: the sanitizer and fuzzing
#                             compiler, a private PulseAudio server, a virtual X server
#                             with a window manager
#
# The PulseAudio server package is never installed over a desktop's PipeWire sound server
# (installing it would replace pipewire-pulse and take the desktop's sound away).
set -euo pipefail

packages=(
    build-essential g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev fonts-symbola xdg-utils
    portaudio19-dev libsamplerate0-dev libsndfile1-dev libasound2-dev libjack-jackd2-dev
    libasound2-plugins alsa-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev libpng-dev
    libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us
    espeak-ng sox dpkg-dev
)
if [ "${1:-}" = "--tests" ]; then
    packages+=(
        clang clang-format libclang-rt-dev
        pulseaudio-utils xvfb xauth x11-apps x11-utils openbox xdotool imagemagick
        desktop-file-utils libxml2-utils appstream bash-completion man-db python3
    )
    if dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q "install ok installed"; then
        echo "deps.sh: PipeWire serves sound here; not installing pulseaudio over it." >&2
        echo "         The tests that play through a private PulseAudio server will not run." >&2
    else
        packages+=(pulseaudio)
    fi
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
