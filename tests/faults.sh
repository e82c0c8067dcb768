#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Hostile input and faults, each tried from outside on the real programs and
# checked mended: raw names, links out of the bot's folder, a kill among the
# renames, files that are no characteristic file, damaged settings, two
# programs at once, and what check says of special files.
#
# faults.sh TARNWELL_CLI CORE_TESTS (the build's tarnwell-cli and core tests)
set -euo pipefail
cli="$1"
core_tests="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
pass() { echo "ok   $1"; }
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}
settings="$work/settings"

# 1. Names from outside are shown escaped: a line end in an entry's name
#    cannot forge a finding, an ESC never reaches the terminal.
"$cli" new --settings "$settings" "$work/bot" >/dev/null 2>&1
python3 - "$work/bot/bot_c.c" "$work/odd.pk3" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w") as archive:
    archive.writestr("botfiles/bots/x\nforged_c.c:1: error: \x1b[2Jx_c.c", open(sys.argv[1], "rb").read())
PY
"$cli" check --settings "$settings" "$work/odd.pk3" >"$work/check.out" 2>&1 || true
if ! grep -q $'\x1b' "$work/check.out" && ! grep -q '^forged' "$work/check.out" &&
    grep -q 'x\\x0Aforged' "$work/check.out"; then
    pass "1 names are escaped"
else
    fail "1 names are escaped"
fi

# 2. A file that links out of the bot's folder is refused unless asked for.
mkdir -p "$work/linked"
cp "$work/bot/"* "$work/linked/"
echo "secret" >"$work/secret"
chmod 600 "$work/secret"
ln -sf "$work/secret" "$work/linked/bot_w.c"
if ! "$cli" copy --settings "$settings" "$work/linked" bot "$work/out2" >"$work/link.out" 2>&1 &&
    grep -q "is a link to $work/secret" "$work/link.out" && [ ! -e "$work/out2/bot_w.c" ] &&
    "$cli" copy --follow-links --settings "$settings" "$work/linked" bot "$work/out3" >/dev/null 2>&1 &&
    [ "$(stat -c %a "$work/out3/bot_w.c")" = "$(stat -c %a "$work/out3/bot_c.c")" ]; then
    pass "2 links out of the folder are refused unless asked for"
else
    fail "2 links out of the folder are refused unless asked for"
fi

# 3. A kill at each rename of a set: the next program finishes the set and
#    removes what was left (a fault injected at each rename in turn).
if "$core_tests" --gtest_filter='WriteFilesAtomic.ASetTornByAKillIsFinishedByTheNextProgram' \
    >"$work/kill.out" 2>&1; then
    pass "3 a set torn by a kill is finished"
else
    fail "3 a set torn by a kill is finished"
fi

# 4. A characteristic file that is none is refused and nothing is written.
outcome4=ok
for kind in empty zip utf16 binary; do
    mkdir -p "$work/bad-$kind"
    cp "$work/bot/"* "$work/bad-$kind/"
    case "$kind" in
        empty) : >"$work/bad-$kind/bot_c.c" ;;
        zip) cp "$work/odd.pk3" "$work/bad-$kind/bot_c.c" ;;
        utf16) printf '\xff\xfes\x00k\x00' >"$work/bad-$kind/bot_c.c" ;;
        binary) head -c 512 /bin/sh >"$work/bad-$kind/bot_c.c" ;;
    esac
    "$cli" new --preset average --settings "$settings" "$work/target-$kind" >/dev/null 2>&1
    before="$(md5sum <"$work/target-$kind/bot_c.c")"
    if "$cli" copy --settings "$settings" "$work/bad-$kind" bot "$work/target-$kind" \
        >/dev/null 2>&1 || [ "$(md5sum <"$work/target-$kind/bot_c.c")" != "$before" ]; then
        outcome4="failed on $kind"
    fi
done
if [ "$outcome4" = ok ]; then
    pass "4 a characteristic file that is none is refused"
else
    fail "4 a characteristic file that is none is refused ($outcome4)"
fi

# 5. A damaged twl.ini is copied aside before it is written again, never
#    over the user's own older copy.
mkdir -p "$work/damaged"
printf '[Tarnwell settings]\r\nQ3Baseq3 = /nowhere\r\ngarbage line\r\n' >"$work/damaged/twl.ini"
echo "my own copy" >"$work/damaged/twl.ini.bak"
"$cli" new --pk3 --settings "$work/damaged" "$work/out5" >/dev/null 2>&1 || true
if [ "$(cat "$work/damaged/twl.ini.bak")" = "my own copy" ] &&
    grep -q 'garbage line' "$work/damaged/twl.ini.bak1"; then
    pass "5 a damaged settings file is kept aside"
else
    fail "5 a damaged settings file is kept aside"
fi

# 6. Two programs at once into one folder and one settings folder: no
#    increment of the counter is lost, and each archive holds one bot.
rounds=15
mkdir -p "$work/shared"
for round in $(seq "$rounds"); do
    "$cli" new --pk3 --name Bot --settings "$work/shared" "$work/both" >/dev/null 2>&1 &
    "$cli" new --pk3 --name Bot --preset average --settings "$work/shared" "$work/both" \
        >/dev/null 2>&1 &
    wait
done
counted="$(sed -n 's/^Bots *= *//p' "$work/shared/twl.ini" | tr -d '\r')"
leftovers="$(find "$work/both" -name '.twl-*' -o -name '*.pk3.??????' | wc -l)"
if [ "$counted" = "$((2 * rounds))" ] && [ "$leftovers" = 0 ] &&
    python3 - "$work/both/bot-Bot.pk3" "$work/both/botfiles/bots/bot_c.c" <<'PY'; then
import sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
loose = open(sys.argv[2], "rb").read()
sys.exit(0 if archive.read("botfiles/bots/bot_c.c") == loose else 1)
PY
    pass "6 two programs at once lose nothing and mix nothing"
else
    fail "6 two programs at once (counter $counted of $((2 * rounds)), $leftovers left over)"
fi

# 7. check names what stands where a file should be.
mkfifo "$work/fifo_c.c"
ln -s /dev/zero "$work/zero_c.c"
"$cli" check --settings "$settings" "$work/fifo_c.c" "$work/zero_c.c" >"$work/special.out" 2>&1 || true
if grep -q 'fifo_c.c is not a regular file (a FIFO)' "$work/special.out" &&
    grep -q 'zero_c.c is not a regular file (a device)' "$work/special.out"; then
    pass "7 check names special files"
else
    fail "7 check names special files"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
