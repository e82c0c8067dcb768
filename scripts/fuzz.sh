#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets of fuzz/ with clang's libFuzzer (and AddressSanitizer
# and UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS
# seconds (default 60), two at a time, on a seed corpus made from the test
# fixtures. A target's findings are kept in build-fuzz/findings/<target>/;
# the figures of each run are printed at the end. CI does not run this.
# FUZZ_TARGETS="ChatLine Settings" runs only those; FUZZ_JOBS sets how many
# run at once.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
# The targets write their inputs to files: on a tmpfs where there is one.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
jobs="${FUZZ_JOBS:-2}"
scripts/install-deps.sh clang libclang-rt-14-dev

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DTARNWELL_BUILD_FUZZ=ON -DTARNWELL_BUILD_GUI=OFF \
    -DTARNWELL_BUILD_TESTS=OFF >/dev/null
nice -n 5 cmake --build build-fuzz -j"$(nproc)"

fixtures=tests/fixtures
corpus=build-fuzz/corpus
rm -rf "$corpus"
seed() { # seed TARGET FILE...
    local target="$1"
    shift
    mkdir -p "$corpus/$target"
    cp "$@" "$corpus/$target/"
}
seed CharFile $(find "$fixtures" -name '*_c.c')
seed BotCheck $(find "$fixtures" -name '*_c.c' -o -name '*_w.c' -o -name '*_t.c' | head -60)
seed WeightFiles $(find "$fixtures" -name '*_w.c' -o -name '*_i.c')
seed ScriptFile $(find "$fixtures" -name '*.bot')
seed ChatFile $(find "$fixtures" -name '*_t.c')
mkdir -p "$corpus/ChatLine"
grep -h -v '^\s*\(//\|type\|{\|}\|chat\|#\)' $(find "$fixtures" -name '*_t.c') | tr -d '\t\r' |
    sort -u | head -200 | while IFS= read -r line; do
        printf '\022%s' "$line" >"$corpus/ChatLine/$(printf '%s' "$line" | md5sum | cut -c1-16)"
    done
mkdir -p "$corpus/Settings" "$corpus/UserModels" "$corpus/UserBots" "$corpus/UserSynonyms"
printf '[Tarnwell settings]\r\nQ3Baseq3 = /games/quake3\r\nWorkDir = /home/me\r\nWinZipDir = \r\n\r\nUserName = Vantry\r\nEmail = v@example.org\r\nHttp = \r\nBots = 3\r\n\r\nBaseQ3Check = True\r\n' >"$corpus/Settings/ini"
printf '[Tarnwell additional models & skins list]\r\n"Tank","Red","tank.pk3","models\\players\\tank\\icon_red.tga"\r\n' >"$corpus/UserModels/models"
printf '[Tarnwell additional bots list]\r\n"Kit","kit.pk3",#TRUE#\r\n"Fox","fox.pk3",#FALSE#\r\n' >"$corpus/UserBots/bots"
printf '[Tarnwell synonyms list]\r\n"fast","quick"\r\n' >"$corpus/UserSynonyms/synonyms"
mkdir -p "$corpus/ArchiveListing"
python3 - "$corpus/ArchiveListing" <<'PY'
import io, sys, zipfile
for name, entries in {"bot": ["botfiles/bots/kit_c.c", "scripts/kit.bot"],
                      "skin": ["models/players/kit/icon_red.tga", "bots.txt"]}.items():
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w") as archive:
        for entry in entries:
            archive.writestr(entry, "skill 1\n")
    open(f"{sys.argv[1]}/{name}.pk3", "wb").write(data.getvalue())
PY
mkdir -p "$corpus/ZipReader"
cp "$corpus"/ArchiveListing/*.pk3 "$corpus/ZipReader/"
python3 - "$corpus/ZipReader" <<'PY'
import io, struct, sys, zipfile, zlib
out = sys.argv[1]
def archive(entries, comment=b"", deflate=True, zip64=False):
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED if deflate else zipfile.ZIP_STORED) as made:
        made.comment = comment
        for name, text in entries:
            with made.open(name, "w", force_zip64=zip64) as entry:
                entry.write(text)
    return data.getvalue()
bot = [("botfiles/bots/kit_c.c", b"skill 1\n" * 40), ("scripts\\kit.bot", b"{}\n")]
open(f"{out}/comment.pk3", "wb").write(archive(bot, b"made for the fuzzer"))
open(f"{out}/prefix.pk3", "wb").write(b"#!/bin/sh\nexit 0\n" + archive(bot, deflate=False))
open(f"{out}/zip64.pk3", "wb").write(archive(bot, zip64=True))
open(f"{out}/case.pk3", "wb").write(archive([("A.txt", b"1"), ("a.TXT", b"2")]))
# A thousand directory records pointing at one deflated stream.
text = b"x" * 4096
packed = zlib.compress(text, 9)[2:-4]
local = struct.pack("<IHHHHHIIIHH", 0x04034b50, 20, 0, 8, 0, 0x21, zlib.crc32(text), len(packed),
                    len(text), 5, 0) + b"a.txt" + packed
directory = b"".join(struct.pack("<IHHHHHHIIIHHHHHII", 0x02014b50, 20, 20, 0, 8, 0, 0x21, zlib.crc32(text),
                                 len(packed), len(text), 5, 0, 0, 0, 0, 0, 0) + b"a.txt" for _ in range(1000))
end = struct.pack("<IHHHHIIH", 0x06054b50, 0, 0, 1000, 1000, len(directory), len(local), 0)
open(f"{out}/one-stream.pk3", "wb").write(local + directory + end)
PY

mkdir -p "$corpus/TgaIcon"
python3 - "$corpus/TgaIcon" <<'PY'
import struct, sys
# 2x2 true colour (type 2, 24 bits), run-length (type 10, 32 bits), grey (3)
def tga(kind, bits, pixels, w=2, h=2, top=0):
    return struct.pack("<BBBHHBHHHHBB", 0, 0, kind, 0, 0, 0, 0, 0, w, h, bits, top) + pixels
open(f"{sys.argv[1]}/rgb", "wb").write(tga(2, 24, bytes(range(12))))
open(f"{sys.argv[1]}/rle", "wb").write(tga(10, 32, bytes([0x83, 1, 2, 3, 4]), top=0x28))
open(f"{sys.argv[1]}/grey", "wb").write(tga(3, 8, bytes([0, 64, 128, 255])))
PY
if ls tests/fixtures/*/*.tga >/dev/null 2>&1; then cp tests/fixtures/*/*.tga "$corpus/TgaIcon/"; fi

targets=(CharFile WeightFiles ScriptFile ChatFile ChatLine Settings UserModels UserBots UserSynonyms
    ArchiveListing BotCheck TgaIcon ZipReader)
if [ -n "${FUZZ_TARGETS:-}" ]; then
    read -r -a targets <<<"$FUZZ_TARGETS"
fi
mkdir -p build-fuzz/logs
run_one() {
    target="$1"
    rm -rf "build-fuzz/findings/$target"
    mkdir -p "build-fuzz/findings/$target" "build-fuzz/work/$target"
    nice -n 10 "build-fuzz/fuzz/fuzz_$target" "build-fuzz/work/$target" "$corpus/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="build-fuzz/findings/$target/" -print_final_stats=1 \
        >"build-fuzz/logs/$target.log" 2>&1
}
status=0
running=0
for target in "${targets[@]}"; do
    run_one "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || status=1
        running=$((running - 1))
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n || status=1
    running=$((running - 1))
done

printf '%-16s %10s %10s %8s %8s  %s\n' target runs exec/s cov corpus result
for target in "${targets[@]}"; do
    log="build-fuzz/logs/$target.log"
    runs=$(grep -o 'stat::number_of_executed_units:[[:space:]]*[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    speed=$(grep -o 'stat::average_exec_per_sec:[[:space:]]*[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo '?')
    units=$(ls "build-fuzz/work/$target" | wc -l)
    found=$(ls "build-fuzz/findings/$target" | wc -l)
    printf '%-16s %10s %10s %8s %8s  %s\n' "$target" "$runs" "$speed" "$cov" "$units" \
        "$([ "$found" -eq 0 ] && echo clean || echo "$found finding(s)")"
done
exit "$status"
