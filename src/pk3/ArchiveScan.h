// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/BotList.h"
#include "catalog/Models.h"
#include "core/Messages.h"
#include "pk3/ZipArchive.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twl {

// The entry names of an archive, from its central directory alone, as
// ZipReader::EntryNames gives them; the names are seen in the open archive
// (and in `Decoded` for those decoded from Windows-1252) and last as long
// as the listing.
struct ArchiveListing
{
    std::unique_ptr<ZipReader> Archive;
    std::deque<std::string> Decoded;
    std::vector<std::string_view> Names;
};

// The listing of one archive. A failure is shown ("<number>  Error in pk3
// browsing:  <description>: <path>", OK only) and gives nothing.
std::optional<ArchiveListing> ListArchive(const std::filesystem::path& path, Messages& messages);

// Files what the entries of one archive hold: skin icons
// (models/players/<model>/icon_<skin>.*) as models and skins, characteristic
// files (botfiles/bots/<name>_c.c) and scripts (scripts/<name>.bot) as bots;
// a bot has a script exactly when its own is in the archive. A bots.txt is
// reported (" has an additional 'bots.txt' file!") unless `warnOfBotList` is
// false (the game's bot lists are being read). Entries that lack the end
// of a name, or whose name would leave its folder, are skipped.
void ClassifyArchiveEntries(const std::vector<std::string_view>& entries,
                            const std::string& pk3File,
                            ModelCatalogue& models,
                            BotList& bots,
                            Messages& messages,
                            NameIndex* modelIndex = nullptr,
                            NameIndex* botIndex = nullptr,
                            bool warnOfBotList = true);

// The icon path as the catalogue keeps it: from "models/..." on, with "\".
std::string IconPathFromEntry(std::string_view entry);

// Told before each archive (k of n, from 0); false stops the scan there.
using ScanProgress = std::function<bool(std::size_t archive, std::size_t archives)>;

class GameDefinitionsReader;

// Lists and classifies every archive of the folders but the game's own
// pak0.pk3, whose models and bots are built in (unless not
// `builtInGameArchive`: another game's pak0.pk3 is classified too). With
// `definitions` every archive (pak0.pk3 too) and then the loose files of
// each folder give it the game's own files. False when stopped through
// `progress`.
bool ScanGameArchives(const std::vector<std::filesystem::path>& archiveFolders,
                      ModelCatalogue& models,
                      BotList& bots,
                      Messages& messages,
                      const ScanProgress& progress = {},
                      GameDefinitionsReader* definitions = nullptr,
                      bool builtInGameArchive = true);

} // namespace twl
