// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/BotCheck.h"
#include "services/Catalogues.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// What checking one path found.
struct PathCheck
{
    std::vector<Finding> Findings;
    std::size_t Bots = 0;
    // Why the path could not be checked at all (missing, not a bot file,
    // an archive that cannot be opened).
    std::optional<std::string> Problem;
};

// Where the bots of a path are: the characteristic files (NAME_c.c) of
// loose bots, or the path itself when it is a .pk3 archive. `Problem` says
// why the path holds no bot (missing, not a bot file, a folder without
// one).
struct BotSources
{
    std::vector<std::filesystem::path> CharFiles;
    std::optional<std::filesystem::path> Archive;
    std::optional<std::string> Problem;
};

// The bots of `path` as CheckPath finds them: a characteristic file, the
// characteristic files of a folder and of its botfiles/bots (sorted by
// name), or a .pk3 (not opened here).
BotSources FindBotSources(const std::filesystem::path& path);

// The script of a loose bot: STEM.bot (found without regard to case) in the
// scripts folder beside botfiles/bots when the characteristic file lies in
// botfiles/bots, else beside the characteristic file; nothing when there is
// none.
std::optional<std::filesystem::path> LooseScriptOf(const std::filesystem::path& charFile);

// At most this many bytes are read out of the archives of one path, and
// at most MaxArchiveEntrySize of one entry: entries that claim more (or
// many names for the same data) end the check of the archive there, with
// an error saying so.
inline constexpr std::uint64_t MaxCheckedArchiveBytes = 256ULL * 1024 * 1024;

// Checks every bot of `path`: a characteristic file (NAME_c.c) with its
// script and the files it names, a folder holding bot sets (flat, or in
// the game's layout botfiles/bots and scripts: every script there and
// every characteristic file), a .pk3 archive (its scripts, bots.txt among
// them, and characteristic files, and entries the game cannot read), or a
// game's base folder of archives (each archive, with the definitions of
// all of them as the game reads them). Loose files are looked up as the
// game does on Linux, with regard to case; entries of an archive without.
// The work grows with the number of entries, each file read once.
// `budget`: the bytes that may be read out of each archive.
PathCheck CheckPath(const std::filesystem::path& path,
                    const Catalogues& catalogues,
                    std::uint64_t budget = MaxCheckedArchiveBytes);

} // namespace twl
