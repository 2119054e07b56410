#!/usr/bin/env bash
# Installs the Debian package on a clean Debian root and proves it there, where nothing the build
# machine happens to have can stand in for a missing dependency: keldovar-cli runs a regime,
# keldovar-pdf prints it on the offscreen platform, the desktop program starts offscreen and
# loads the SVG icon engine, and on an X server its toolbar icons are drawn; without libqt6svg6
# the same toolbar is blank, which shows that the check sees the difference.
#   tools/check-package-root.sh [BUILD_DIR]   (as root; fetches packages from Debian's mirrors)
# KELDOVAR_SUITE (default bookworm) and KELDOVAR_MIRROR choose the Debian to install on.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
deb=$(ls "$build"/keldovar_*.deb | tail -n 1)
suite=${KELDOVAR_SUITE:-bookworm}
mirror=${KELDOVAR_MIRROR:-http://deb.debian.org/debian}
example=examples/plantation-thin-harvest.kdr
[ "$(id -u)" -eq 0 ] || { echo "run as root: debootstrap and chroot need it" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "debootstrap is missing (tools/install-deps.sh)" >&2; exit 2; }

root=$(mktemp -d /var/tmp/keldovar-root.XXXXXX)
cleanup() {
  for m in dev/pts dev proc sys; do umount -l "$root/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
started=$SECONDS

echo "== a clean $suite root in $root"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
  { tail -n 20 "$root.log"; exit 1; }
rm -f "$root.log"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp "$deb" "$example" "$root/tmp/"

echo "== apt-get install ./$(basename "$deb") (its dependencies only)"
install() {
  in_root apt-get install -y -q --no-install-recommends -o APT::Sandbox::User=root "$@" \
    >"$root/tmp/apt.log" 2>&1 || { tail -n 20 "$root/tmp/apt.log"; exit 1; }
}
install "/tmp/$(basename "$deb")"
echo "   $(in_root dpkg-query -W -f='${Package} ${Version}' keldovar) installed"
# The X server and a screenshot tool for the last check; neither brings any part of Qt.
install xvfb xauth x11-apps

status=0
fail() { echo "FAILED: $*"; status=1; }

echo "== keldovar-cli and keldovar-pdf (offscreen)"
in_root keldovar-cli run "/tmp/$(basename "$example")" --out /tmp/stand.kdv --pdf /tmp/stand.pdf \
  >/dev/null || fail "keldovar-cli run --pdf"
[ "$(head -c 5 "$root/tmp/stand.pdf" 2>/dev/null)" = "%PDF-" ] || fail "no PDF written"

echo "== keldovar offscreen"
set +e
in_root env QT_QPA_PLATFORM=offscreen QT_DEBUG_PLUGINS=1 timeout 8 keldovar \
  >"$root/tmp/offscreen.log" 2>&1
code=$?
set -e
[ $code -eq 124 ] || fail "keldovar ended with status $code offscreen: $(tail -n 3 "$root/tmp/offscreen.log")"
grep -q 'iconengines/libqsvgicon.so" loaded library' "$root/tmp/offscreen.log" ||
  fail "the SVG icon engine was not loaded offscreen"

# The toolbar on an X server: the icons' coloured pixels (the rest of the window is grey, white
# and black) counted in a screenshot of the whole screen.
screenshot() {  # -> the number of coloured pixels; the screenshot as $build/$1.png
  in_root xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
    'keldovar & sleep 6; xwd -root -silent > /tmp/screen.xwd; kill $!' >/dev/null 2>&1 || true
  /usr/bin/python3 - "$root/tmp/screen.xwd" "$build/$1.png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
head = struct.unpack(">25I", data[:100])
size, width, height, order, line = head[0], head[4], head[5], head[7], head[12]
masks, ncolors = head[14:17], head[19]
pixels, step = data[size + 12 * ncolors:], head[11] // 8
shifts = [(m & -m).bit_length() - 1 for m in masks]
rows, coloured = [], 0
for y in range(height):
    row = bytearray(b"\0")
    for x in range(width):
        at = y * line + step * x
        value = int.from_bytes(pixels[at:at + step], "little" if order == 0 else "big")
        r, g, b = ((value & m) >> s for m, s in zip(masks, shifts))
        coloured += max(r, g, b) - min(r, g, b) > 60
        row += bytes((r, g, b))
    rows.append(bytes(row))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
print(coloured)
PY
}

echo "== keldovar on X: the toolbar's icons"
drawn=$(screenshot package-root-screen)
echo "   $drawn coloured pixels ($build/package-root-screen.png)"
[ "$drawn" -ge 500 ] || fail "the toolbar's icons were not drawn"
in_root dpkg --remove --force-depends libqt6svg6 >/dev/null 2>&1
blank=$(screenshot package-root-no-svg)
echo "   without libqt6svg6: $blank coloured pixels ($build/package-root-no-svg.png)"
[ "$blank" -lt "$drawn" ] || fail "the check cannot tell a drawn toolbar from a blank one"

echo "== $((SECONDS - started)) s"
[ $status -eq 0 ] && echo "package ok on a clean $suite root: $(basename "$deb")"
exit $status
