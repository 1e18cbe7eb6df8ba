#!/usr/bin/env bash
# clang-tidy and cppcheck over Tervanel's own code, from the compile commands of the test,
# fuzz and benchmark builds (run after them). Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."

tidy() {
    local database=$1
    shift
    printf '%s\n' "$@" | xargs -P 2 -n 1 clang-tidy -p "$database" --quiet
}
tidy build/test runtime/*.cpp calc/*.cpp window/*.cpp tests/*.cpp
tidy build/fuzz fuzz/*.cpp
tidy build/bench bench/*.cpp

# Google Benchmark's functions take a mutable State by its design, which cppcheck cannot know.
cppcheck --enable=warning,style,performance,portability --std=c++20 --language=c++ \
    --error-exitcode=1 --inline-suppr --quiet --library=qt --library=googletest \
    --suppress=missingIncludeSystem --suppress='constParameterCallback:bench/*' \
    -I . -I window runtime calc window tests fuzz bench
