#!/bin/sh
# Set-up, build and run every test: the unit and real-world suites (ctest), then each fuzz target
# for a short, fixed time on its seed corpus (FUZZ_SECONDS, 15 by default).
set -e
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j2
sh scripts/fuzz.sh
