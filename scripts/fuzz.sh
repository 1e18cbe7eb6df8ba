#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (seconds, default
# 60) from a copy of its seed corpus. Any crash, sanitizer report, failed property or hang
# fails the run and leaves the input that caused it in build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=build/fuzz
rm -rf "$build"
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANEL_FUZZ=ON \
    -DTERVANEL_BUILD_WINDOW=OFF -DTERVANEL_BUILD_TESTS=OFF -DTERVANEL_WERROR=ON
cmake --build "$build" -j2
for target in read_number calculation; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    cp fuzz/corpus/"$target"/* "$corpus"/
    (cd "$build" && "./fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "corpus/$target")
done
