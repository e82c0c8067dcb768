#pragma once

#include "session/BotCheck.h"
#include "session/Catalogues.h"

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

// Checks every bot of `path`: a characteristic file (NAME_c.c) with the
// files beside it, a folder holding bot sets (flat, or in the game's layout
// botfiles/bots and scripts), or a .pk3 archive, whose entries are checked
// too. Loose files are looked up as the game does on Linux, with regard to
// case; entries of an archive without.
PathCheck CheckPath(const std::filesystem::path& path, const Catalogues& catalogues);

} // namespace twl
