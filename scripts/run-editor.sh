#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tarnwell in build/ (installing what it needs) and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/same-owner.sh
refuse_root_in_foreign_folder

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarnwell tarnwell-cli
exec build/src/tarnwell "$@"
