#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its benchmarks need,
# only those that are missing, and generates the ru_RU.UTF-8 locale the tests
# need for a decimal comma. Runs as root (or through sudo); running it again
# changes nothing.
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
    # locale sources: the tests read numbers under ru_RU.UTF-8 (decimal comma)
    locales
)

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a spells it ru_RU.utf8.
installed_locales=$(locale -a 2>/dev/null || true)
if ! grep -qix 'ru_RU\.utf-\?8' <<<"$installed_locales"; then
    echo "Generating the ru_RU.UTF-8 locale"
    $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
