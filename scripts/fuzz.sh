#!/bin/sh
# Builds the libFuzzer targets with clang (ASan and UBSan) and runs each for FUZZ_SECONDS seconds,
# starting from fuzz/seeds/<target>/. A crash, a leak or a sanitizer report fails the run.
set -e
cd "$(dirname "$0")/.."
SECONDS_EACH=${FUZZ_SECONDS:-15}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORVIKA_FUZZ=ON -DZORVIKA_TESTS=OFF -DZORVIKA_BENCH=OFF >/dev/null
cmake --build build-fuzz
export QT_QPA_PLATFORM=offscreen
for target in build-fuzz/fuzz_*; do
    # The targets land in the build folder's top (the runtime output folder); only files count.
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    seeds=fuzz/seeds/${name#fuzz_}
    echo "== $name ($SECONDS_EACH s)"
    log=build-fuzz/corpus/$name.log
    set -- "$corpus"
    [ -d "$seeds" ] && set -- "$corpus" "$seeds"
    if ! "$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$@" >"$log" 2>&1; then
        tail -60 "$log"
        echo "FAILED: $name"
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -2
done
