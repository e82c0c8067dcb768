#!/usr/bin/env bash
# Builds Tarnwell and every test in build/ (installing what it needs), checks
# the formatting and runs all tests. Under CI (CI set) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/same-owner.sh
refuse_root_in_foreign_folder

scripts/install-deps.sh clang-format

werror=OFF
if [ -n "${CI:-}" ]; then
    werror=ON
fi

echo "== Formatting"
find src tests -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror

echo "== Build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWELL_WERROR="$werror"
cmake --build build -j"$(nproc)"

echo "== Tests"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
