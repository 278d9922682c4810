#!/usr/bin/env bash
# Builds the program and every test twice, plainly (g++) and with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang, with the fuzz
# targets), and runs all tests headless. The end-to-end tests start their own
# Xvfb server.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DRESHETKI_WERROR=ON >/dev/null
cmake --build build -j "$jobs"

CC=clang-14 CXX=clang++-14 cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DBUILD_TESTING=ON -DRESHETKI_SANITIZE=ON -DRESHETKI_FUZZ=ON -DRESHETKI_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Sanitized build"
(cd build-asan && ctest --output-on-failure -j "$jobs" -LE e2e)
echo "== Plain build, with the end-to-end tests"
(cd build && ctest --output-on-failure -j "$jobs")
