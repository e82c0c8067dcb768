#!/usr/bin/env bash
# Installs the Debian packages that building Tarnwell needs, when missing.
# Root installs as is; anyone else goes through sudo.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libzip-dev libstb-dev libgtest-dev fonts-dejavu-core "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
else
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
