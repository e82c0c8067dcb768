#!/usr/bin/env python3
"""Times tarnwell-cli against unzip on the same synthetic game folder.

With --instructions it also counts the instructions each side executes
(valgrind's callgrind), which repeat exactly from run to run, unlike the
times, which move with the disk and the machine's load.

  scan:    tarnwell-cli scan           vs  unzip -Z1 over every archive
  extract: tarnwell-cli extract (one bot, five files)
                                       vs  five unzip -p calls, one per file
  check:   tarnwell-cli check of every archive (every bot in them)
                                       vs  tarnwell-cli scan of the same folder

Each command runs RUNS times after one warm-up run; the medians are
compared. Prints the figures and the ratios (Tarnwell / unzip).
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


def timed(command_runs, runs):
    command_runs()
    samples = []
    for _ in range(runs):
        start = time.perf_counter()
        command_runs()
        samples.append(time.perf_counter() - start)
    return statistics.median(samples)


def run(command, stdout=subprocess.DEVNULL):
    subprocess.run(command, check=True, stdout=stdout, stderr=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default=os.path.join(HERE, "..", "build", "src", "tarnwell-cli"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--archives", type=int, default=40)
    parser.add_argument("--entries", type=int, default=50000)
    parser.add_argument("--instructions", action="store_true",
                        help="also count instructions with valgrind (slow, but repeatable)")
    parser.add_argument("--workdir", default=None,
                        help="where the game folder and the outputs go (default: the system's temporary folder)")
    args = parser.parse_args()

    if shutil.which("unzip") is None:
        sys.exit("unzip is needed: apt-get install unzip")
    work = tempfile.mkdtemp(prefix="tarnwell-bench-", dir=args.workdir)
    try:
        game = os.path.join(work, "game")
        settings = os.path.join(work, "settings")
        out = os.path.join(work, "out")
        subprocess.run([sys.executable, os.path.join(HERE, "make_game_folder.py"), game,
                        "--archives", str(args.archives), "--entries", str(args.entries)], check=True)
        baseq3 = os.path.join(game, "baseq3")
        archives = sorted(os.path.join(baseq3, name) for name in os.listdir(baseq3) if name.endswith(".pk3"))
        entries = sum(len(subprocess.run(["unzip", "-Z1", a], check=True, capture_output=True).stdout.splitlines())
                      for a in archives)
        env_home = {"HOME": work}
        os.environ.update(env_home)

        scan_tarnwell = timed(lambda: run([args.cli, "scan", "--settings", settings, game]), args.runs)
        scan_unzip = timed(lambda: [run(["unzip", "-Z1", a]) for a in archives], args.runs)

        bot_archive = archives[0]
        files = ["botfiles/bots/benchbot_c.c", "botfiles/bots/benchbot_w.c", "botfiles/bots/benchbot_i.c",
                 "botfiles/bots/benchbot_t.c", "scripts/benchbot.bot"]

        def unzip_five():
            folder = "%s-unzip-%d" % (out, next(counter))
            os.makedirs(folder)
            for entry in files:
                with open(os.path.join(folder, os.path.basename(entry)), "wb") as target:
                    run(["unzip", "-p", bot_archive, entry], stdout=target)

        # Every run writes into a folder of its own, so that each really writes
        # its five files (unchanged files are not written again).
        counter = iter(range(1000000))
        extract_tarnwell = timed(
            lambda: run([args.cli, "extract", "--settings", settings, game, "benchbot", "%s-%d" % (out, next(counter))]),
            args.runs)
        extract_unzip = timed(unzip_five, args.runs)

        # check exits 1 when it finds errors; its time counts all the same.
        def check_all():
            subprocess.run([args.cli, "check", "--settings", settings] + archives,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        check_tarnwell = timed(check_all, args.runs)
        checked = subprocess.run([args.cli, "check", "--settings", settings] + archives,
                                 capture_output=True, text=True).stdout.strip().splitlines()[-1]

        if args.instructions:
            def instructions(commands):
                total = 0
                for command, target in commands:
                    log = os.path.join(work, "callgrind.log")
                    with open(target or os.devnull, "wb") as out:
                        subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                                        "--log-file=" + log] + command, check=True, stdout=out,
                                       stderr=subprocess.DEVNULL)
                    with open(log) as text:
                        for line in text:
                            if "Collected" in line:
                                total += int(line.split()[-1].replace(",", ""))
                return total

            scan_i = instructions([([args.cli, "scan", "--settings", settings, game], None)])
            unzip_list_i = instructions([(["unzip", "-Z1", a], None) for a in archives])
            extract_i = instructions([([args.cli, "extract", "--settings", settings, game, "benchbot",
                                        out + "-counted"], None)])
            unzip_five_i = instructions([(["unzip", "-p", bot_archive, entry],
                                          os.path.join(work, os.path.basename(entry))) for entry in files])
            print("instructions: scan %d vs %d (ratio %.2f); extract %d vs %d (ratio %.2f)"
                  % (scan_i, unzip_list_i, scan_i / unzip_list_i, extract_i, unzip_five_i, extract_i / unzip_five_i))

        print("game folder: %d archives, %d entries, %.1f MiB"
              % (len(archives), entries, sum(os.path.getsize(a) for a in archives) / 1048576))
        print("scan:    tarnwell-cli %.4f s   unzip -Z1 x%d %.4f s   ratio %.2f (target <= 1.0)"
              % (scan_tarnwell, len(archives), scan_unzip, scan_tarnwell / scan_unzip))
        print("extract: tarnwell-cli %.4f s   unzip -p x5  %.4f s   ratio %.2f (target <= 0.5)"
              % (extract_tarnwell, extract_unzip, extract_tarnwell / extract_unzip))
        print("check:   tarnwell-cli check %.4f s   tarnwell-cli scan %.4f s   ratio %.2f (target <= 2.0; %s)"
              % (check_tarnwell, scan_tarnwell, check_tarnwell / scan_tarnwell, checked))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
