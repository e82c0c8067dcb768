#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the made package into a fresh Debian 12 root and uses it there, as
# a new user of the package would: debootstrap --variant=minbase bookworm,
# apt-get install ./tarnwell_*.deb, tarnwell-cli new, tarnwell --version,
# tarnwell without a display, tarnwell on Qt's offscreen platform for a few
# seconds. Prints each step and fails at the first that fails. Needs root
# (debootstrap, chroot) and Debian's package mirror; takes minutes.
#
#     scripts/check-deb.sh [PACKAGE.deb]     (default: build-deb/tarnwell_*.deb)
set -euo pipefail
cd "$(dirname "$0")/.."

step() { echo; echo "== $*"; }
fail() { echo "check-deb: FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || fail "run as root (debootstrap and chroot need it)"
deb=${1:-$(ls build-deb/tarnwell_*.deb 2>/dev/null | tail -n 1 || true)}
[ -n "$deb" ] && [ -f "$deb" ] || fail "no package: make it first with scripts/make-deb.sh"
deb=$(realpath "$deb")
scripts/install-deps.sh debootstrap

mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d /var/tmp/tarnwell-check-deb.XXXXXX)
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

step "debootstrap --variant=minbase bookworm $root ($mirror)"
if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1; then
    tail -n 20 "$root.log"
    rm -f "$root.log"
    fail "debootstrap"
fi
rm -f "$root.log"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
echo "a fresh Debian $(cat "$root/etc/debian_version") root"

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -q >/dev/null || fail "apt-get update"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./tmp/$(basename "$deb")" \
    >"$root/tmp/apt.log" 2>&1 || { tail -n 20 "$root/tmp/apt.log"; fail "apt-get install"; }
grep -E '^[0-9]+ upgraded, [0-9]+ newly installed' "$root/tmp/apt.log" | sed 's/^/    /'
in_root dpkg-query -W -f='${Status}\n' tarnwell | grep -q "install ok installed" ||
    fail "the package is not installed"
echo "installed: $(in_root dpkg-query -W -f='${Package} ${Version}, depends on ${Depends}' tarnwell)"
in_root dpkg -L tarnwell | grep -E 'bin/|applications/|metainfo/|icons/.*png|icons/.*svg|man1/' |
    sed 's/^/    /'

step "tarnwell-cli new --preset average --name Checker --pk3 /tmp/out"
in_root tarnwell-cli new --preset average --name Checker --pk3 /tmp/out || fail "tarnwell-cli new"
for file in botfiles/bots/checker_c.c botfiles/bots/checker_w.c botfiles/bots/checker_i.c \
    botfiles/bots/checker_t.c scripts/checker.bot bot-Checker.pk3; do
    [ -s "$root/tmp/out/$file" ] || fail "tarnwell-cli new wrote no $file"
    echo "    $file"
done

step "tarnwell --version (no display)"
version=$(in_root tarnwell --version) || fail "tarnwell --version"
echo "    $version"
[ "$version" = "tarnwell $(dpkg-deb -f "$deb" Version)" ] || fail "unexpected version '$version'"

step "tarnwell without a display"
status=0
message=$(in_root tarnwell 2>&1) || status=$?
echo "$message" | sed 's/^/    /'
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
echo "$message" | grep -q "no graphical session found" || fail "no clear message"

step "tarnwell on the offscreen platform for 5 seconds"
status=0
in_root env QT_QPA_PLATFORM=offscreen timeout 5 tarnwell || status=$?
[ "$status" -eq 124 ] || fail "tarnwell ended after less than 5 seconds with status $status"
echo "    still running after 5 seconds (ended by timeout)"
[ -f "$root/root/.config/Tarnwell/twl.ini" ] && echo "    ~/.config/Tarnwell made"

step "the file manager offers Tarnwell for bot files only"
# GLib's gio answers as GNOME's file manager does (the shared MIME database
# with its glob weights, then the desktop entries).
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q shared-mime-info \
    libglib2.0-bin desktop-file-utils >/dev/null 2>&1 || fail "apt-get install libglib2.0-bin"
in_root update-mime-database /usr/share/mime || fail "update-mime-database"
in_root update-desktop-database /usr/share/applications || fail "update-desktop-database"
printf 'skill 1\n{\n}\n' >"$root/tmp/sarge_c.c"
printf 'int main(void) { return 0; }\n' >"$root/tmp/plain.c"
printf 'PK\005\006\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >"$root/tmp/bot-Sarge.pk3"
for file in sarge_c.c bot-Sarge.pk3 plain.c; do
    type=$(in_root gio info -a standard::content-type "/tmp/$file" | sed -n 's/.*content-type: //p')
    default=$(in_root gio mime "$type" 2>/dev/null | sed -n '1s/.*: //p')
    echo "    $file: $type, opened with ${default:-nothing}"
    case "$file" in
        plain.c) [ "$default" != io.github.tarnwell.Tarnwell.desktop ] ||
            fail "Tarnwell offered for every C source file" ;;
        *) [ "$default" = io.github.tarnwell.Tarnwell.desktop ] || fail "Tarnwell not offered for $file" ;;
    esac
done

echo
echo "check-deb: all steps passed for $(basename "$deb")"
