#!/usr/bin/env bash
# Installs the Debian packages that are missing, as root (or through sudo).
#   install-deps.sh          what building and running the program need
#   install-deps.sh --tests  that, and everything the tests, the sanitised
#                            build, the fuzzers, the package and the
#                            benchmarks need, with the ru_RU.UTF-8 locale the
#                            tests read numbers under (a decimal comma)
# Running it again changes nothing.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev
    # the cutting optimiser's linear programs
    libglpk-dev
    # the bar store between orders
    libsqlite3-dev
    # spreadsheets: Excel workbooks
    libxlsxwriter-dev
    # fonts: Cyrillic everywhere, metric faces for "Courier New" and "Arial"
    fonts-dejavu-core fonts-liberation2
)
tests=false
if [ "${1:-}" = "--tests" ]; then
    tests=true
    packages+=(
        # sanitised build and fuzzers
        clang-14 libclang-rt-14-dev
        # tests and benchmarks
        libgtest-dev libgmock-dev libbenchmark-dev hyperfine
        # end-to-end tests in a real X server, screenshots and PDF checks
        xvfb xauth xdotool x11-utils imagemagick poppler-utils python3 xclip
        # reading spreadsheets back as a spreadsheet program would
        python3-openpyxl
        # the Debian package's dependencies
        dpkg-dev
        # locale sources for the decimal-comma tests
        locales
    )
fi

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a spells it ru_RU.utf8.
locales=$(locale -a 2>/dev/null || true)
if $tests && ! grep -qix 'ru_RU\.utf-\?8' <<<"$locales"; then
    echo "Generating the ru_RU.UTF-8 locale"
    $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
