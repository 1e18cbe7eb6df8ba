#!/usr/bin/env bash
# Every test again, built at -O0 with AddressSanitizer and UndefinedBehaviorSanitizer. The
# results digest among them checks that this build computes the same bits as the -O2 one.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/sanitize
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTERVANEL_SANITIZE=ON -DTERVANEL_WERROR=ON
cmake --build "$build" -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build" --output-on-failure -j2
