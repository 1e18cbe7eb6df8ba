#!/usr/bin/env bash
# From nothing to the calculator on screen: installs what is missing, builds, opens the window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=build/app
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTERVANEL_BUILD_TESTS=OFF
cmake --build "$build" -j2
exec "$build/window/tervanel"
