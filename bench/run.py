#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times tarnwell-cli against unzip doing the same job, on the same files.

For each game folder (see CASES) it builds a synthetic folder with
make_game_folder.py, flushes it to disk once, and then runs both sides of
each comparison in the same rounds, one right after the other (the order
alternating from round to round), so that both meet the same load and the
same caches. Each round gives one ratio (Tarnwell / unzip) of the clock
time and one of the processor time (user + system of the processes); the
ratios are reported as median, minimum and maximum over the rounds.

  scan:    tarnwell-cli scan GAMEDIR
             vs one process  unzip -Z1 'baseq3/*.pk3'   (main line)
             vs one unzip -Z1 ARCHIVE per archive         (extra line)
  extract: tarnwell-cli extract GAMEDIR benchbot OUT   (five entries, five files)
             vs one process  unzip -qq -o -j ARCHIVE e1 ... e5 -d OUT   (main line)
             vs five unzip -p ARCHIVE e > OUT/file calls  (extra line)
  check:   tarnwell-cli check of every archive (every bot in them)
             vs tarnwell-cli scan of the same folder
  bots:    tarnwell-cli check of one archive of 200,000 tiny bots
             vs tarnwell-cli scan of the same folder
  floor:   libzip_floor (bench/libzip_floor.c), the least a program reading
           the archives through libzip does (open, names or the five entries
           read into memory, nothing written), vs the same unzip processes
  start:   tarnwell-cli --version, 50 times a round
             vs an empty C++ program linked as tarnwell-cli is (main line)
             vs a C++ program printing a line through std::cout (extra line)
  try:     tarnwell-cli try of one bot at six skills (OpenArena's engine)
             vs the bare engine doing the same on a private home

Both sides write their outputs into the same folder of a tmpfs (/dev/shm
unless --outdir says otherwise): Tarnwell's flushes to disk cost nothing
there, just as unzip's unflushed writes. With --outdir on a disk, the unzip
side of the extract flushes its five files (fsync) inside its time, so that
both sides are equally durable. Standard output goes to /dev/null on both
sides.

With --instructions it also counts the instructions each side executes
(valgrind's callgrind), which repeat exactly from run to run, unlike the
times, which move with the disk and the machine's load.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# name, archives, entries, where the bot lies in archive 0
CASES = {
    "folder": (40, 50000, "start"),
    "big": (40, 200000, "start"),
    "one": (1, 100000, "end"),
}
CASE_TITLES = {
    "folder": "40 archives, 50,000 entries",
    "big": "40 archives, 200,000 entries",
    "one": "1 archive, 100,000 entries",
    "openarena": "OpenArena's own archives",
}
# A game's real data, as installed (Debian's openarena-data): the folder,
# its base folder, a bot of its list, the archive of the bot's files and
# the entries that extract reads (its bot list comes from the game folder's
# check that scan keeps).
REAL_CASES = {
    "openarena": ("/usr/share/games/openarena", "baseoa", "angelyss", "pak6-misc.pk3",
                  ["botfiles/bots/angelyss_%s.c" % kind for kind in "cwit"]),
}

BOT = "benchbot"
BOT_ENTRIES = ["botfiles/bots/%s_c.c" % BOT, "botfiles/bots/%s_w.c" % BOT, "botfiles/bots/%s_i.c" % BOT,
               "botfiles/bots/%s_t.c" % BOT, "scripts/%s.bot" % BOT]


def flush_tree(folder):
    """Every file and folder under `folder` flushed to disk, so that the
    writes of building it do not land in the middle of a timed run."""
    for root, dirs, files in os.walk(folder):
        for name in files + dirs + ["."]:
            fd = os.open(os.path.join(root, name), os.O_RDONLY)
            try:
                os.fsync(fd)
            finally:
                os.close(fd)


def on_tmpfs(folder):
    """Whether the folder lies on a tmpfs (the longest mount point above it)."""
    folder = os.path.realpath(folder)
    best, kind = "", ""
    with open("/proc/mounts") as mounts:
        for line in mounts:
            fields = line.split()
            point = fields[1]
            if (folder == point or folder.startswith(point.rstrip("/") + "/")) and len(point) > len(best):
                best, kind = point, fields[2]
    return kind == "tmpfs"


def run_timed(commands):
    """Runs the commands one after another; (clock seconds, processor
    seconds of the processes). A command is (argv, stdout path or None,
    cwd or None); a callable is run in between and counts on the clock."""
    cpu = 0.0
    start = time.perf_counter()
    for command in commands:
        if callable(command):
            command()
            cpu += getattr(command, "cpu", 0.0)
            continue
        argv, stdout, cwd = command
        with open(stdout or os.devnull, "wb") as out:
            process = subprocess.Popen(argv, stdout=out, stderr=subprocess.DEVNULL, cwd=cwd)
            _, status, usage = os.wait4(process.pid, 0)
        code = os.waitstatus_to_exitcode(status)
        if code not in (0, 1):  # check ends with 1 when it finds errors
            raise RuntimeError("%s ended with %d" % (" ".join(argv), code))
        cpu += usage.ru_utime + usage.ru_stime
    return time.perf_counter() - start, cpu


class Pair:
    """Two sides timed round by round, their ratios kept per round."""

    def __init__(self, label, ours, theirs, note):
        self.label, self.ours, self.theirs, self.note = label, ours, theirs, note
        self.samples = []  # (our wall, our cpu, their wall, their cpu)

    def round(self, number):
        sides = [self.ours, self.theirs]
        if number % 2:
            sides.reverse()
        results = [run_timed(side()) for side in sides]
        if number % 2:
            results.reverse()
        self.samples.append(results[0] + results[1])

    def report(self):
        def spread(values, unit=""):
            return "%.3g%s [%.3g..%.3g]" % (statistics.median(values), unit, min(values), max(values))

        ours_wall = [s[0] * 1000 for s in self.samples]
        ours_cpu = [s[1] * 1000 for s in self.samples]
        theirs_wall = [s[2] * 1000 for s in self.samples]
        theirs_cpu = [s[3] * 1000 for s in self.samples]
        wall_ratio = [s[0] / s[2] for s in self.samples]
        cpu_ratio = [s[1] / s[3] if s[3] > 0 else float("inf") for s in self.samples]
        print("  %s" % self.label)
        print("      clock:     %s ms vs %s ms; ratio %s" % (spread(ours_wall), spread(theirs_wall), spread(wall_ratio)))
        print("      processor: %s ms vs %s ms; ratio %s   %s"
              % (spread(ours_cpu), spread(theirs_cpu), spread(cpu_ratio), self.note))


def run_rounds(pairs, rounds):
    """One warm-up run of each side, then the rounds, every pair in each."""
    for pair in pairs:
        run_timed(pair.ours())
        run_timed(pair.theirs())
    for number in range(rounds):
        for pair in pairs:
            pair.round(number)


def count_instructions(commands, work):
    total = 0
    log = os.path.join(work, "callgrind.log")
    for argv, stdout, cwd in commands:
        with open(stdout or os.devnull, "wb") as out:
            subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                            "--log-file=" + log] + argv, stdout=out, stderr=subprocess.DEVNULL, cwd=cwd)
        with open(log) as text:
            for line in text:
                if "Collected" in line:
                    total += int(line.split()[-1].replace(",", ""))
    return total


def run_case(case, args, work, out_root):
    if case in REAL_CASES:
        game, base, bot, bot_archive_name, bot_entries = REAL_CASES[case]
        if not os.path.isdir(os.path.join(game, base)):
            sys.exit("%s is missing: apt-get install openarena-server" % os.path.join(game, base))
    else:
        archives_count, entries_count, bot_at = CASES[case]
        game = os.path.join(args.games or work, "game-" + case)
        if not os.path.isdir(game):
            subprocess.run([sys.executable, os.path.join(HERE, "make_game_folder.py"), game,
                            "--archives", str(archives_count), "--entries", str(entries_count),
                            "--bot-at", bot_at], check=True)
        flush_tree(game)
        base, bot, bot_archive_name, bot_entries = "baseq3", BOT, None, BOT_ENTRIES
    base_folder = os.path.join(game, base)
    archives = sorted(os.path.join(base_folder, name) for name in os.listdir(base_folder)
                      if name.endswith(".pk3"))
    entries = sum(len(subprocess.run(["unzip", "-Z1", a], check=True, capture_output=True).stdout.splitlines())
                  for a in archives)
    bot_archive = os.path.join(base_folder, bot_archive_name) if bot_archive_name else archives[0]
    out = tempfile.mkdtemp(prefix="out-" + case + "-", dir=out_root)
    settings = os.path.join(out, "settings")
    durable = not on_tmpfs(out_root)
    counter = iter(range(10 ** 9))

    def fresh(prefix):
        # Every run writes into a folder of its own, so that each really
        # writes its five files (Tarnwell leaves a file that already holds
        # the bytes alone).
        folder = os.path.join(out, "%s-%d" % (prefix, next(counter)))
        os.makedirs(folder)
        return folder

    def fsync_five(folder):
        def flush():
            for entry in bot_entries:
                fd = os.open(os.path.join(folder, os.path.basename(entry)), os.O_RDONLY)
                os.fsync(fd)
                os.close(fd)
        return flush

    cli = args.cli
    scan = lambda: [([cli, "scan", "--settings", settings, game], None, None)]
    unzip_list_one = lambda: [(["unzip", "-Z1", base + "/*.pk3"], None, game)]
    unzip_list_each = lambda: [(["unzip", "-Z1", a], None, None) for a in archives]

    def extract():
        return [([cli, "extract", "--settings", settings, game, bot, fresh("tarnwell")], None, None)]

    def unzip_extract_one():
        folder = fresh("unzip")
        steps = [(["unzip", "-qq", "-o", "-j", bot_archive] + bot_entries + ["-d", folder], None, None)]
        return steps + ([fsync_five(folder)] if durable else [])

    def unzip_extract_each():
        folder = fresh("unzip-p")
        steps = [(["unzip", "-p", bot_archive, e], os.path.join(folder, os.path.basename(e)), None)
                 for e in bot_entries]
        return steps + ([fsync_five(folder)] if durable else [])

    check = lambda: [([cli, "check", "--settings", settings] + archives, None, None)]
    floor_list = lambda: [([args.floor, "list"] + archives, None, None)]
    floor_read = lambda: [([args.floor, "read", bot_archive] + bot_entries, None, None)]

    pairs = [
        Pair("scan vs one unzip -Z1 '%s/*.pk3'" % base, scan, unzip_list_one, "(target <= 0.35)"),
        Pair("extract vs one unzip -qq -o -j ARCHIVE e1..e%d -d OUT" % len(bot_entries), extract,
             unzip_extract_one, "(target <= 1.0)"),
        Pair("scan vs unzip -Z1 ARCHIVE x%d (per archive)" % len(archives), scan, unzip_list_each, ""),
        Pair("extract vs unzip -p ARCHIVE e > file x%d (per entry)" % len(bot_entries), extract,
             unzip_extract_each, ""),
        # The target of a check against a scan is set on the folder of tiny
        # bots (--case bots), where reading bots is all there is to do; here
        # a few real bots are read whole against a scan of many entries.
        Pair("check of every archive vs scan", check, scan, ""),
    ]
    if args.floor:
        pairs += [
            Pair("floor: libzip open + names of every archive vs one unzip -Z1", floor_list, unzip_list_one, ""),
            Pair("floor: libzip open + the bot's entries read vs one unzip -j", floor_read, unzip_extract_one, ""),
        ]
    # The warm-up's first scan also makes the bot list the extract reads.
    run_rounds(pairs, args.rounds)
    checked = subprocess.run([cli, "check", "--settings", settings] + archives,
                             capture_output=True, text=True).stdout.strip().splitlines()[-1]

    print("%s (%d archives, %d entries, %.1f MiB); outputs in %s%s; %d rounds"
          % (CASE_TITLES[case], len(archives), entries, sum(os.path.getsize(a) for a in archives) / 1048576,
             out_root, " (unzip's files flushed too)" if durable else "", args.rounds))
    print("  Tarnwell vs the other side: median [minimum..maximum]")
    for pair in pairs:
        pair.report()
    print("  check found: %s" % checked)

    if args.instructions:
        counted = os.path.join(out, "counted")
        os.makedirs(counted)
        scan_i = count_instructions(scan(), work)
        list_i = count_instructions(unzip_list_one(), work)
        list_each_i = count_instructions(unzip_list_each(), work)
        extract_i = count_instructions([([cli, "extract", "--settings", settings, game, bot,
                                          fresh("counted")], None, None)], work)
        unzip_i = count_instructions([(["unzip", "-qq", "-o", "-j", bot_archive] + bot_entries
                                       + ["-d", fresh("counted")], None, None)], work)
        print("  instructions: scan %d vs one unzip -Z1 %d (ratio %.2f; per archive %d, ratio %.2f)"
              % (scan_i, list_i, scan_i / list_i, list_each_i, scan_i / list_each_i))
        print("  instructions: extract %d vs one unzip -j %d (ratio %.2f)"
              % (extract_i, unzip_i, extract_i / unzip_i))
    sys.stdout.flush()


START_RUNS = 50
# The flags tarnwell-cli is linked with (src/CMakeLists.txt), but for its
# own libraries (zlib and libm's rounding mode linked in): the reference
# programs are linked the same way.
LINK_FLAGS = ["-static-libstdc++", "-static-libgcc", "-Wl,--as-needed", "-Wl,--gc-sections", "-Wl,-O1",
              "-Wl,-z,pack-relative-relocs"]
REFERENCE_PROGRAMS = {
    "empty": "int main() { return 0; }\n",
    "prints": "#include <iostream>\nint main() { std::cout << \"tarnwell-cli 0.0.0\\n\"; return 0; }\n",
}


def run_start(args, work):
    """tarnwell-cli --version against C++ programs built here with the
    flags tarnwell-cli is linked with (-O2, the C++ runtime linked in,
    LINK_FLAGS).
    Each side is started START_RUNS times a round with posix_spawn, its
    output to /dev/null; processor time is that of the started programs."""
    programs = {}
    for name, text in REFERENCE_PROGRAMS.items():
        source = os.path.join(work, name + ".cpp")
        with open(source, "w") as out:
            out.write(text)
        programs[name] = os.path.join(work, name)
        built = subprocess.run(["g++", "-O2"] + LINK_FLAGS + [source, "-o", programs[name]])
        if built.returncode != 0:  # a linker without packed relocations
            subprocess.run(["g++", "-O2"] + LINK_FLAGS[:-1] + [source, "-o", programs[name]], check=True)
    devnull = os.open(os.devnull, os.O_WRONLY)

    def starts(argv):
        def run():
            for _ in range(START_RUNS):
                pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1)])
                _, status, usage = os.wait4(pid, 0)
                if os.waitstatus_to_exitcode(status) != 0:
                    raise RuntimeError("%s failed" % " ".join(argv))
                run.cpu += usage.ru_utime + usage.ru_stime
        run.cpu = 0.0
        return run

    pairs = [
        Pair("tarnwell-cli --version vs an empty C++ program (x%d)" % START_RUNS,
             lambda: [starts([args.cli, "--version"])], lambda: [starts([programs["empty"]])], "(target <= 1.2)"),
        Pair("tarnwell-cli --version vs a C++ program printing through std::cout (x%d)" % START_RUNS,
             lambda: [starts([args.cli, "--version"])], lambda: [starts([programs["prints"]])], ""),
    ]
    run_rounds(pairs, args.rounds)
    os.close(devnull)
    print("Start of tarnwell-cli (%d rounds, %d starts each)" % (args.rounds, START_RUNS))
    print("  Tarnwell vs the other side: median [minimum..maximum]")
    for pair in pairs:
        pair.report()
    if args.instructions:
        ours = count_instructions([([args.cli, "--version"], None, None)], work)
        empty = count_instructions([([programs["empty"]], None, None)], work)
        prints = count_instructions([([programs["prints"]], None, None)], work)
        print("  instructions: --version %d vs an empty program %d (ratio %.2f), one printing %d (ratio %.2f)"
              % (ours, empty, ours / empty, prints, ours / prints))
    sys.stdout.flush()


TINY_BOTS = 200000


def run_bots(args, work):
    """check of an archive of TINY_BOTS tiny bots (each its own
    characteristic file and script, the weights and chat shared) against
    scan of the folder that holds it: check reads and judges every bot,
    scan lists and files them."""
    game = os.path.join(work, "game-bots")
    subprocess.run([sys.executable, os.path.join(HERE, "make_game_folder.py"), game,
                    "--tiny-bots", str(TINY_BOTS)], check=True)
    flush_tree(game)
    archive = os.path.join(game, "baseq3", "zz-bots.pk3")
    settings = tempfile.mkdtemp(prefix="settings-", dir=work)
    check = lambda: [([args.cli, "check", "--settings", settings, archive], None, None)]
    scan = lambda: [([args.cli, "scan", "--settings", settings, game], None, None)]
    pairs = [Pair("check of an archive of %d tiny bots vs scan of its folder" % TINY_BOTS, check, scan,
                  "(target <= 2.0)")]
    run_rounds(pairs, args.rounds)
    checked = subprocess.run([args.cli, "check", "--settings", settings, archive],
                             capture_output=True, text=True).stdout.strip().splitlines()[-1]
    print("One archive of %d tiny bots (%.1f MiB); %d rounds"
          % (TINY_BOTS, os.path.getsize(archive) / 1048576, args.rounds))
    print("  Tarnwell vs the other side: median [minimum..maximum]")
    for pair in pairs:
        pair.report()
    print("  check found: %s" % checked)
    sys.stdout.flush()


TRY_SKILLS = ["1", "2", "3", "4", "4.5", "5"]
TRY_GAME = "/usr/lib/openarena-server"


def find_engine():
    for folder in [TRY_GAME] + os.environ.get("PATH", "").split(":") + ["/usr/lib/ioquake3"]:
        for name in ("ioq3ded", "ioq3ded.x86_64", "quake3e.ded", "quake3e.ded.x64"):
            path = os.path.join(folder, name)
            if folder and os.access(path, os.X_OK) and os.path.isfile(path):
                return path
    return None


def run_try(args, work):
    """tarnwell-cli try of one bot at six skills (no match) against the bare
    engine doing the same: a fresh private home holding the bot's archive
    and an empty bot list, the same command line and the same commands (the
    engine quits at the end of its config instead of being told to), its
    output to /dev/null."""
    engine = find_engine()
    if engine is None or not os.path.isdir(os.path.join(TRY_GAME, "baseoa")):
        print("try: skipped, no engine or no OpenArena (apt-get install openarena-server)")
        return
    settings = os.path.join(work, "try-settings")
    bot_folder = os.path.join(work, "try-bot")
    subprocess.run([args.cli, "new", "--preset", "average", "--name", "Benchbot", "--pk3",
                    "--settings", settings, bot_folder], check=True, capture_output=True)
    archive = os.path.join(bot_folder, "bot-Benchbot.pk3")
    devnull = os.open(os.devnull, os.O_WRONLY)
    config = ("set bot_enable 1\nset g_gametype 0\nset bot_testichat 1\nset bot_reloadcharacters 1\n"
              "set fs_debug 1\ndevmap oa_dm1\n"
              + "".join("echo m begin %d\naddbot \"Benchbot\" %s\n" % (i, s) for i, s in enumerate(TRY_SKILLS))
              + "echo m level 0\nquit\n")

    def bare():
        home = tempfile.mkdtemp(prefix="tarnwell-bare-")
        base = os.path.join(home, "baseoa")
        os.makedirs(os.path.join(base, "scripts"))
        shutil.copyfile(archive, os.path.join(base, "bot-Benchbot.pk3"))
        with open(os.path.join(base, "scripts", "bots.txt"), "w") as out:
            out.write("// none\n")
        with open(os.path.join(base, "tarnwell-try-0.cfg"), "w") as out:
            out.write(config)
        argv = [engine]
        for name, value in [("dedicated", "1"), ("net_enabled", "0"), ("sv_master1", ""),
                            ("com_basegame", "baseoa"), ("fs_basegame", "baseoa"), ("fs_basepath", TRY_GAME),
                            ("fs_homepath", home), ("fs_steampath", ""), ("fs_gogpath", ""), ("fs_apppath", ""),
                            ("fs_game", ""), ("sv_maxclients", "64"), ("com_ansiColor", "0"),
                            ("bot_developer", "1"), ("logfile", "1")]:
            argv += ["+set", name, value]
        argv += ["+exec", "tarnwell-try-0.cfg"]
        pid = os.posix_spawn(engine, argv, dict(os.environ, HOME=home), file_actions=[
            (os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)])
        _, status, usage = os.wait4(pid, 0)
        shutil.rmtree(home)
        if os.waitstatus_to_exitcode(status) != 0:
            raise RuntimeError("the bare engine failed")
        bare.cpu = usage.ru_utime + usage.ru_stime
    bare.cpu = 0.0

    skills = []
    for skill in TRY_SKILLS:
        skills += ["--skill", skill]
    ours = lambda: [([args.cli, "try", "--settings", settings] + skills + [archive], None, None)]
    pairs = [Pair("try of one bot at six skills vs the bare engine doing the same", ours, lambda: [bare],
                  "(target <= 1.2)")]
    run_rounds(pairs, args.rounds)
    os.close(devnull)
    print("Try in game (%s, OpenArena, map oa_dm1; %d rounds)" % (engine, args.rounds))
    print("  Tarnwell vs the other side: median [minimum..maximum]")
    for pair in pairs:
        pair.report()
    sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", default=os.path.join(HERE, "..", "build", "src", "tarnwell-cli"))
    parser.add_argument("--rounds", type=int, default=15)
    parser.add_argument("--case", action="append",
                        choices=sorted(CASES) + sorted(REAL_CASES) + ["bots", "start", "try"],
                        help="which game folder (repeatable; default: all)")
    parser.add_argument("--instructions", action="store_true",
                        help="also count instructions with valgrind (slow, but repeatable)")
    parser.add_argument("--workdir", default=None,
                        help="where the game folders go (default: the system's temporary folder)")
    parser.add_argument("--games", default=None,
                        help="where the synthetic game folders are kept from run to run (made when missing)")
    parser.add_argument("--outdir", default="/dev/shm",
                        help="where both sides write (default: /dev/shm, a tmpfs)")
    args = parser.parse_args()
    args.cli = os.path.abspath(args.cli)

    # libzip's floor, for comparison, where libzip-dev is installed (Tarnwell
    # itself no longer uses libzip).
    work_floor = tempfile.mkdtemp(prefix="tarnwell-floor-")
    args.floor = None
    libzip = subprocess.run(["pkg-config", "--cflags", "--libs", "libzip"], capture_output=True, text=True)
    if libzip.returncode == 0:
        args.floor = os.path.join(work_floor, "libzip_floor")
        subprocess.run(["cc", "-O2", os.path.join(HERE, "libzip_floor.c"), "-o", args.floor]
                       + libzip.stdout.split(), check=True)
    if shutil.which("unzip") is None:
        sys.exit("unzip is needed: apt-get install unzip")
    if args.instructions and shutil.which("valgrind") is None:
        sys.exit("valgrind is needed for --instructions: apt-get install valgrind")
    work = tempfile.mkdtemp(prefix="tarnwell-bench-", dir=args.workdir)
    out_root = tempfile.mkdtemp(prefix="tarnwell-bench-out-", dir=args.outdir)
    os.environ["HOME"] = work  # the scan also looks into ~/.q3a/baseq3
    try:
        for case in args.case or ["folder", "big", "one", "openarena", "bots", "start", "try"]:
            if case == "bots":
                run_bots(args, work)
            elif case == "start":
                run_start(args, work)
            elif case == "try":
                run_try(args, work)
            else:
                run_case(case, args, work, out_root)
    finally:
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(out_root, ignore_errors=True)
        shutil.rmtree(work_floor, ignore_errors=True)


if __name__ == "__main__":
    main()
