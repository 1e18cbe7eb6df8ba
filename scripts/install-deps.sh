#!/usr/bin/env bash
# Installs, with apt-get, whichever of the Debian packages Tervanel builds and tests with are
# missing. Asks nothing; does nothing when all are present.
set -euo pipefail

packages=(
    cmake g++ make pkg-config # the toolchain
    libgtest-dev              # the tests
    qt6-base-dev              # the window (Qt 6 Widgets, with the platform plugins)
    fonts-dejavu-core         # the platform's default font, also for offscreen tests
    fonts-dejavu-extra        # its condensed face, which fits the fixed layout at a larger size
)

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
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
