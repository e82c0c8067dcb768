#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building Tarnwell needs, when missing.
# Root installs as is; anyone else goes through sudo.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev zlib1g-dev libstb-dev libgtest-dev fonts-dejavu-core
    desktop-file-utils appstream "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

cannot_install() {
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root ($1). Ask your administrator, or as root run:" >&2
    echo "    apt-get install ${missing[*]}" >&2
    echo "then run this command again." >&2
    exit 1
}

# Said before any password is asked for: what is missing and why.
echo "Tarnwell needs these Debian packages to build, test and run, and they are missing:"
echo "    ${missing[*]}"
echo "(compilers and build tools, Qt 6, zlib, stb_image, GoogleTest, the desktop"
echo "file checkers, and the game's dedicated server for the engine tests)"

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif ! command -v sudo >/dev/null 2>&1; then
    cannot_install "sudo is not installed"
elif ! echo "Installing them with apt-get through sudo." || ! sudo -v; then
    cannot_install "sudo did not let you in"
else
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
