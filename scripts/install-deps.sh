#!/usr/bin/env bash
# Installs, with apt-get, whichever of the Debian packages Tervanel needs are missing. Asks
# nothing; does nothing when all are present. `install-deps.sh` brings what building, testing
# and running need; `install-deps.sh ci` adds the tools of the continuous-integration checks.
set -euo pipefail

packages=(
    cmake g++ make pkg-config # the toolchain
    libgtest-dev              # the tests
    qt6-base-dev              # the window (Qt 6 Widgets, with the platform plugins)
    fonts-dejavu-core         # the platform's default font, also for offscreen tests
    fonts-dejavu-extra        # its condensed face, which fits the fixed layout at a larger size
    xvfb                      # the accessibility tests' private X display
    dbus                      # their private D-Bus session (dbus-daemon, dbus-send)
    at-spi2-core              # its accessibility bus (at-spi-bus-launcher, the registry)
    python3-pyatspi           # reading and driving the window through that bus
    xdotool                   # giving the window the keyboard and typing, as a user does
    orca                      # the screen reader whose speech the tests check
)
if [ "${1:-}" = ci ]; then
    packages+=(
        clang libclang-rt-14-dev                   # libFuzzer and clang's sanitizers
        clang-tidy cppcheck                        # static analysis
        libbenchmark-dev valgrind                  # the benchmarks, instructions counted
        desktop-file-utils appstream               # launcher and metainfo validation
        dpkg-dev debootstrap lintian               # the package and its clean-root install
        g++-aarch64-linux-gnu qemu-user            # the core's tests on 64-bit Arm
        g++-i686-linux-gnu                         # ... on 32-bit x86
        g++-mingw-w64-x86-64-posix wine64          # ... and on Windows
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
# Waits for a package manager that is already running instead of failing at once.
apt=(apt-get -o DPkg::Lock::Timeout=600)
"${sudo[@]}" "${apt[@]}" update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" "${apt[@]}" install -y -q --no-install-recommends \
    "${missing[@]}"
