#!/usr/bin/env bash
# The same bits from every compiler and on every platform. Every test, the window's included,
# built with g++ and with clang++ at -O0 (Debug) and -O3 (Release); then the core's tests,
# results digest included, cross-built for 64-bit Arm (run under qemu-user), 32-bit x86 (run
# natively, or under qemu-user where the kernel runs no 32-bit programs) and Windows x86-64
# (mingw-w64, run under wine). Each build goes to build/platforms/<name>; arguments pick some
# of them (default: all of them, in this order):
#   gcc-release gcc-debug clang-release clang-debug aarch64 i686 windows
set -euo pipefail
cd "$(dirname "$0")/.."

root=build/platforms
all=(gcc-release gcc-debug clang-release clang-debug aarch64 i686 windows)
work=$(mktemp -d)
cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Builds from scratch into build/platforms/<name> with the given CMake arguments, runs CTest.
build_and_test() {
    local dir=$root/$1
    shift
    rm -rf "$dir"
    cmake -S . -B "$dir" -DTERVANEL_WERROR=ON "$@"
    cmake --build "$dir" -j2
    ctest --test-dir "$dir" --output-on-failure -j2
}

native() {
    build_and_test "$1" -DCMAKE_CXX_COMPILER="$2" -DCMAKE_BUILD_TYPE="$3"
}

cross() {
    build_and_test "$1" --toolchain "$PWD/cmake/toolchains/$2.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DTERVANEL_BUILD_WINDOW=OFF "${@:3}"
}

# Some kernels are built or booted without 32-bit x86 programs; those need an emulator.
i686_emulator() {
    echo 'int main(void) { return 0; }' | i686-linux-gnu-gcc -static -x c - -o "$work/probe"
    if ! "$work/probe" 2>/dev/null; then
        echo "-DCMAKE_CROSSCOMPILING_EMULATOR=qemu-i386"
    fi
}

# Wine's first start in a new prefix prints to the program's output, which would break the
# discovery of the tests; so the prefix is made first, and thrown away at the end. Its server is
# kept running, with the services that start with the prefix: a server shutting down as the
# next test starts resets that test's connection, and services started by a test hold its
# output open past the discovery's time limit.
make_wine_prefix() {
    export PATH="/usr/lib/wine:$PATH" WINEPREFIX="$work/wine" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX"
    wineserver -p
    wine64 wineboot --init >"$work/wineboot.log" 2>&1 || {
        cat "$work/wineboot.log"
        return 1
    }
}

for name in "${@:-${all[@]}}"; do
    echo "=== $name"
    case $name in
    gcc-release) native "$name" g++ Release ;;
    gcc-debug) native "$name" g++ Debug ;;
    clang-release) native "$name" clang++ Release ;;
    clang-debug) native "$name" clang++ Debug ;;
    aarch64) cross "$name" aarch64-linux-gnu ;;
    i686)
        emulator=$(i686_emulator)
        cross "$name" i686-linux-gnu ${emulator:+"$emulator"}
        ;;
    windows)
        make_wine_prefix
        cross "$name" x86_64-w64-mingw32
        ;;
    *)
        echo "unknown build '$name'; the builds are: ${all[*]}" >&2
        exit 2
        ;;
    esac
done
