#!/usr/bin/env bash
# Builds everything and runs every test: a normal build (windows, end-to-end and CLI tests
# included), then a clang build under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer with the windows, the end-to-end scripts and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

jobs=$(nproc)

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOSTREL_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVOSTREL_SANITIZE=ON -DVOSTREL_WERROR=ON -DVOSTREL_GUI=ON -DVOSTREL_BENCH=OFF -DVOSTREL_FUZZ=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
