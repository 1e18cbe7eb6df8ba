#!/usr/bin/env bash
# Builds and runs the benchmarks. Start-up is measured on the display in DISPLAY, or on Qt's
# offscreen platform where there is none. Extra arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTERVANEL_BUILD_BENCH=ON \
    -DTERVANEL_BUILD_TESTS=OFF -DTERVANEL_WERROR=ON
cmake --build "$build" -j2
"$build/bench/core_bench" "$@"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
"$build/bench/startup_bench" --benchmark_counters_tabular=true "$@"
