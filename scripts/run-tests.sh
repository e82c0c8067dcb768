#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tarnwell and every test in build/ (installing what it needs, the
# game's engine among it), checks the formatting and runs all tests. Under
# CI (CI set) warnings are errors.
#
# --sanitize: instead builds everything in build-sanitize/ with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole suite
# there (any finding fails the test that met it).
# --no-game: leaves out the tests that run the game's engine (tests/game,
# the ctest label "game") and does not install it (openarena-server).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/same-owner.sh
refuse_root_in_foreign_folder

build=build
sanitize=OFF
game=yes
for argument in "$@"; do
    case "$argument" in
        --sanitize)
            build=build-sanitize
            sanitize=ON
            ;;
        --no-game)
            game=no
            ;;
        *)
            echo "run-tests.sh: unknown option '$argument' (--sanitize, --no-game)" >&2
            exit 2
            ;;
    esac
done

if [ "$game" = yes ]; then
    # The engine tests run OpenArena's dedicated server on the bots.
    scripts/install-deps.sh clang-format openarena-server
else
    scripts/install-deps.sh clang-format
fi

werror=OFF
if [ -n "${CI:-}" ]; then
    werror=ON
fi

echo "== Formatting"
find src tests -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror

echo "== Build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWELL_WERROR="$werror" \
    -DTARNWELL_SANITIZE="$sanitize"
cmake --build "$build" -j"$(nproc)"

echo "== Tests"
cd "$build"
# Qt's own libraries are not built with the sanitizers: the leaks they keep
# until exit are theirs.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
leave_out=()
if [ "$game" = no ]; then
    echo "The tests that run the game's engine (tests/game) are left out (--no-game)."
    leave_out=(-LE game)
fi
status=0
mkdir -p Testing
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "${leave_out[@]}" |
    tee Testing/run-tests.log || status=$?
# The test output stays readable: a test's name is its case's own name.
widest="$(awk '{ if (length > max) max = length } END { print max + 0 }' Testing/run-tests.log)"
if [ "$widest" -gt 160 ]; then
    echo "run-tests.sh: a line of the test output is $widest characters wide (at most 160)" >&2
    status=1
fi
exit "$status"
