#!/usr/bin/env bash
# From nothing to every test passed: installs what is missing, builds from scratch, runs CTest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=build/test
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANEL_WERROR=ON
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
