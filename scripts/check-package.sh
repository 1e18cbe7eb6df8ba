#!/usr/bin/env bash
# Desktop integration and the Debian package: installs the program into a staging folder and
# validates its launcher and metainfo, builds the .deb, installs it with apt into a clean
# Debian root made by debootstrap, and starts the installed program there under Xvfb until
# its window is mapped. Where no clean root can be made, checks the .deb with lintian instead.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/package
work=$(mktemp -d)
root="$work/root"
cleanup() {
    mountpoint -q "$root/proc" 2>/dev/null && umount "$root/proc"
    rm -rf "$work"
}
trap cleanup EXIT

rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTERVANEL_BUILD_TESTS=OFF -DTERVANEL_WERROR=ON
cmake --build "$build" -j2
cmake --install "$build" --prefix "$work/stage/usr"
desktop-file-validate "$work"/stage/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/stage/usr/share/metainfo/*.metainfo.xml

(cd "$build" && cpack)
deb=$(ls "$build"/tervanel_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb" >"$work/contents"
grep -q './usr/bin/tervanel$' "$work/contents"

mirror=http://deb.debian.org/debian
if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
    tail -5 "$work/debootstrap.log"
    echo "no clean root could be made here; checking the package with lintian instead"
    lintian --fail-on error "$deb"
    exit 0
fi
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
chroot "$root" apt-get update -q
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "/tmp/$(basename "$deb")" xvfb xauth x11-utils

cat >"$root/tmp/window-mapped.sh" <<'PROBE'
# Starts the installed program and waits up to ten seconds for its window to be viewable.
tervanel &
program=$!
for _ in $(seq 50); do
    window=$(xwininfo -root -tree | awk '/"Tervanel V1.2/ { print $1; exit }')
    if [ -n "$window" ] && xwininfo -id "$window" | grep -q 'IsViewable'; then
        echo "the installed program's window is mapped"
        kill "$program"
        exit 0
    fi
    sleep 0.2
done
kill "$program"
echo "the installed program's window never appeared" >&2
exit 1
PROBE
chroot "$root" xvfb-run -a sh /tmp/window-mapped.sh
