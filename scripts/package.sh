#!/bin/sh
# Set-up, build and make the Debian package (programs only: no tests, benchmarks or fuzz targets):
# build-deb/zorvika_<version>_<architecture>.deb, installed with `apt-get install ./build-deb/zorvika_*.deb`.
set -e
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVIKA_TESTS=OFF -DZORVIKA_BENCH=OFF
cmake --build build-deb
cd build-deb
cpack --config CPackConfig.cmake -B .
ls "$PWD"/zorvika_*.deb
