#!/usr/bin/env bash
# Builds and runs the benchmarks. Start-up is measured on the display in DISPLAY, or else on a
# private Xvfb when there is one, or else on Qt's offscreen platform; QT_QPA_PLATFORM, when
# set, chooses. Extra arguments go to Google Benchmark. With valgrind, the instructions from
# exec to the first paint are also counted, against the floor window.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTERVANEL_BUILD_BENCH=ON \
    -DTERVANEL_BUILD_TESTS=OFF -DTERVANEL_WERROR=ON
cmake --build "$build" -j2
"$build/bench/core_bench" "$@"

if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    if command -v Xvfb >/dev/null; then
        displayfd=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfd" 2>/dev/null &
        xvfb=$!
        trap 'kill "$xvfb"; rm -f "$displayfd"' EXIT
        until [ -s "$displayfd" ]; do
            kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
            sleep 0.1
        done
        export DISPLAY=":$(cat "$displayfd")"
    else
        export QT_QPA_PLATFORM=offscreen
    fi
fi
echo "Start-up measured on ${QT_QPA_PLATFORM:-the display $DISPLAY}"
"$build/bench/startup_bench" --benchmark_counters_tabular=true "$@"

# Instructions are repeatable to a fraction of a per cent, so a few alternating runs suffice.
if ! command -v valgrind >/dev/null; then
    echo "valgrind not found: instructions to the first paint not counted"
    exit 0
fi
instructions() {
    local out
    out=$(mktemp)
    valgrind --tool=callgrind --callgrind-out-file="$out" "$build/bench/startup_probe" "$1" \
        >/dev/null 2>&1
    awk '/^(summary|totals):/ { print $2; exit }' "$out"
    rm -f "$out"
}
runs=${TERVANEL_CALLGRIND_RUNS:-3}
floor=()
form=()
for ((i = 0; i < runs; ++i)); do
    floor+=("$(instructions floor)")
    form+=("$(instructions form)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
awk -v floor="$(median "${floor[@]}")" -v form="$(median "${form[@]}")" -v runs="$runs" 'BEGIN {
    printf "Instructions from exec to the first paint (callgrind, median of %d alternating runs):\n", runs
    printf "  floor window %.2f M, Tervanel %.2f M, ratio %.3f\n", floor / 1e6, form / 1e6, form / floor
}'
