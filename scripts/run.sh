#!/bin/sh
# Set-up, build and start the program (it opens Shell32.dll of Wine's libraries by default).
set -e
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target zorvika
exec ./build/zorvika "$@"
