#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent: when everything is present
# it only asks dpkg and returns.
set -euo pipefail

packages=(
    build-essential g++ cmake ninja-build pkg-config clang clang-format libclang-rt-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev fonts-symbola
    portaudio19-dev libsamplerate0-dev libsndfile1-dev libasound2-dev libjack-jackd2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    espeak-ng sox pulseaudio pulseaudio-utils libasound2-plugins alsa-utils
    xvfb xauth x11-apps imagemagick
    dpkg-dev desktop-file-utils libxml2-utils xdg-utils
)

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
