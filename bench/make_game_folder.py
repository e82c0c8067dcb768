#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds a synthetic game folder for the archive benchmarks.

GAMEDIR/baseq3 gets ARCHIVES .pk3 archives with ENTRIES entries in all:
model icons and meshes, textures, sounds, some large incompressible files,
and bot files with their scripts. Archive 0 holds the bot "benchbot" whose
five files the extract benchmark takes out; archive n holds a real 128 x 128
icon models/players/bench<nn>/icon_default.tga for the icon benchmark (the
other icons are filler). With --bot-at end benchbot's files come last but
one in archive 0, so that a walk over the names meets them last. With
--tiny-bots N the folder holds only zz-bots.pk3, N tiny bots sharing their
weight and chat files. Deterministic for one seed.
"""

import argparse
import os
import random
import zipfile


def bot_files(name):
    chars = "\r\n".join(
        ["//" + "=" * 75, "//\t" + name + "\tversion 1.0", "//", "//", "//", "//", "//" + "=" * 75, "",
         '#include "chars.h"']
        + sum(
            [
                ["", "skill %d" % level, "{", '\tCHARACTERISTIC_NAME\t\t\t\t\t\t\t"%s"' % name,
                 '\tCHARACTERISTIC_GENDER\t\t\t\t\t\t"male"', "\tCHARACTERISTIC_ATTACK_SKILL\t\t\t\t\t0.5",
                 '\tCHARACTERISTIC_CHAT_FILE\t\t\t\t\t"bots/%s_t.c"' % name, "}"]
                for level in (1, 4, 5)
            ],
            [],
        )
    ) + "\r\n"
    weights = "#include \"inv.h\"\r\n#define W_RAILGUN\t\t\t\t300\r\n#include \"fw_weap.c\"\r\n"
    items = "#include \"inv.h\"\r\n#define FS_HEALTH\t\t\t\t1.0\r\n#include \"fw_items.c\"\r\n"
    chat = 'chat "%s"\r\n{\r\n\ttype "game_enter"\r\n\t{\r\n\t\tHELLO;\r\n\t}\r\n}\r\n' % name
    script = "{\r\nname\t\t%s\r\nmodel\t\tsarge\r\naifile\tbots/%s_c.c\r\n}\r\n" % (name, name)
    return {
        "botfiles/bots/%s_c.c" % name: chars,
        "botfiles/bots/%s_w.c" % name: weights,
        "botfiles/bots/%s_i.c" % name: items,
        "botfiles/bots/%s_t.c" % name: chat,
        "scripts/%s.bot" % name: script,
    }


def tiny_bot_files(name):
    """A bot as small as a bot pack makes them: its characteristic file and
    script; the weights and chat are the pack's, shared by every bot."""
    chars = '#include "chars.h"\r\n' + "".join(
        "skill %d\r\n{\r\n\tCHARACTERISTIC_NAME \"%s\"\r\n\tCHARACTERISTIC_ATTACK_SKILL 0.5\r\n"
        "\tCHARACTERISTIC_WEAPONWEIGHTS \"bots/tiny_w.c\"\r\n\tCHARACTERISTIC_ITEMWEIGHTS \"bots/tiny_i.c\"\r\n"
        "\tCHARACTERISTIC_CHAT_FILE \"bots/tiny_t.c\"\r\n\tCHARACTERISTIC_CHAT_NAME \"tiny\"\r\n}\r\n"
        % (level, name) for level in (1, 4, 5))
    script = "{\r\nname %s\r\nmodel sarge\r\naifile bots/%s_c.c\r\n}\r\n" % (name, name)
    return {"botfiles/bots/%s_c.c" % name: chars, "scripts/%s.bot" % name: script}


def write_tiny_bots(baseq3, count):
    """One archive, zz-bots.pk3, of `count` tiny bots and their shared files."""
    shared = {name: text for name, text in bot_files("tiny").items() if not name.endswith(("_c.c", ".bot"))}
    with zipfile.ZipFile(os.path.join(baseq3, "zz-bots.pk3"), "w", zipfile.ZIP_DEFLATED) as archive:
        for entry, text in shared.items():
            archive.writestr(entry, text)
        for number in range(count):
            for entry, text in tiny_bot_files("t%06d" % number).items():
                archive.writestr(entry, text)


def icon_tga(seed):
    """A 128 x 128 icon as the game ships them: 32-bit, uncompressed, origin at the bottom."""
    header = bytes([0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 128, 0, 128, 0, 32, 8])
    pixels = bytearray()
    for y in range(128):
        for x in range(128):
            pixels += bytes([(x * 2 + seed) & 255, (y * 2) & 255, (x + y) & 255, 255])
    return header + bytes(pixels)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("gamedir")
    parser.add_argument("--archives", type=int, default=40)
    parser.add_argument("--entries", type=int, default=50000)
    parser.add_argument("--large-mib", type=int, default=2, help="size of each large file")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--tiny-bots", type=int, default=0,
                        help="instead of the archives above, one archive of this many tiny bots")
    parser.add_argument("--bot-at", choices=["start", "end"], default="start",
                        help="where benchbot's five files lie in archive 0: its first or its last entries"
                             " (before the real icon), so that a walk over the names finds them last")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    baseq3 = os.path.join(args.gamedir, "baseq3")
    os.makedirs(baseq3, exist_ok=True)
    open(os.path.join(args.gamedir, "ioquake3.x86_64"), "w").close()
    if args.tiny_bots:
        write_tiny_bots(baseq3, args.tiny_bots)
        return

    per_archive = args.entries // args.archives
    for a in range(args.archives):
        path = os.path.join(baseq3, "pak%02d-extra.pk3" % (a + 1))
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
            written = 0
            if a == 0 and args.bot_at == "start":
                for entry, text in bot_files("benchbot").items():
                    archive.writestr(entry, text)
                    written += 1
            if a % 4 == 0:
                # Large incompressible data, as real archives carry in maps and sounds.
                archive.writestr("maps/big%02d.bsp" % a, rng.randbytes(args.large_mib * 1024 * 1024))
                written += 1
            bot = "bot%02d" % a
            for entry, text in bot_files(bot).items():
                archive.writestr(entry, text)
                written += 1
            model = 0
            reserved = 1 + (5 if a == 0 and args.bot_at == "end" else 0)
            while written < per_archive - reserved:
                kind = written % 5
                name = "m%02d_%04d" % (a, model)
                if kind == 0:
                    entry = "models/players/%s/icon_default.tga" % name
                elif kind == 1:
                    entry = "models/players/%s/lower.md3" % name
                elif kind == 2:
                    entry = "textures/%s/wall%d.jpg" % (name, written)
                elif kind == 3:
                    entry = "sound/%s/step%d.wav" % (name, written)
                else:
                    entry = "models/players/%s/icon_red.tga" % name
                    model += 1
                archive.writestr(entry, "x" * (16 + written % 64))
                written += 1
            if a == 0 and args.bot_at == "end":
                for entry, text in bot_files("benchbot").items():
                    archive.writestr(entry, text)
                    written += 1
            # A real icon (the others are filler) for the icon benchmark, last,
            # where a walk over the names finds it latest.
            archive.writestr("models/players/bench%02d/icon_default.tga" % a, icon_tga(a))


if __name__ == "__main__":
    main()
