#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its benchmarks need,
# only those that are missing. Runs as root (or through sudo).
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang-14 libclang-rt-14-dev pkg-config
    qt6-base-dev libgl-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev hyperfine
    # fonts: Cyrillic everywhere, metric faces for "Courier New" and "Arial"
    fonts-dejavu-core fonts-liberation2
    # end-to-end tests in a real X server, screenshots and PDF checks
    xvfb xauth xdotool x11-utils imagemagick poppler-utils python3 xclip
    # the cutting optimiser's linear programs
    libglpk-dev
)

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
