#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package build-deb/tarnwell_<version>_<arch>.deb: a build
# with Debian's own compiler and hardening flags (no tests), packed by CPack
# (`cpack -G DEB`) with what `cmake --install` installs, under /usr, then
# checked with lintian. Fails when lintian finds an error.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/same-owner.sh
refuse_root_in_foreign_folder

scripts/install-deps.sh dpkg-dev file lintian

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

echo "== Build (build-deb/)"
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=None -DTARNWELL_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build build-deb -j"$(nproc)"

echo "== Package"
rm -f build-deb/tarnwell_*.deb
(cd build-deb && cpack -G DEB)
deb=$(ls build-deb/tarnwell_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

echo "== lintian"
lintian --fail-on error --info "$deb"
echo "Made $deb"
