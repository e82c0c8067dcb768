// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "core/Settings.h"
#include "pk3/ArchiveScan.h"
#include "services/Catalogues.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace twl {

// "Check baseq3": drops the archive entries of the bot list and the model
// catalogue, scans the game's archives again, sorts both lists (the model
// and skin indexes, when given, follow their entries) and marks the bot list
// checked. Without a game folder it says so ("Can't check folder") and
// changes nothing. False when nothing was checked or the scan was stopped.
bool CheckGameFolder(Settings& settings,
                     Catalogues& catalogues,
                     const std::vector<std::filesystem::path>& archiveFolders,
                     Messages& messages,
                     const ScanProgress& progress = {},
                     std::int16_t* modelIndex = nullptr,
                     std::int16_t* skinIndex = nullptr);

} // namespace twl
