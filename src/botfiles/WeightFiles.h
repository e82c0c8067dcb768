#pragma once

#include "core/Bot.h"
#include "core/CharCatalogue.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/TextFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// The weapon weight file (weights 44 to 53) and the item weight file
// (weights 54 to 80): header, include, one #define line a weight.
std::vector<std::string>
WeaponFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings);
std::vector<std::string>
ItemFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings);

FileResult WriteWeaponFile(const Bot& bot,
                           const std::filesystem::path& folder,
                           const CharCatalogue& charNames,
                           const Settings& settings);
FileResult WriteItemFile(const Bot& bot,
                         const std::filesystem::path& folder,
                         const CharCatalogue& charNames,
                         const Settings& settings);

// Reads weight lines into parameters first..last: a line takes the first
// number of the range whose identifier it holds; other lines are ignored.
void ReadWeightLines(Bot& bot,
                     const std::vector<std::string>& lines,
                     const CharCatalogue& charNames,
                     int first,
                     int last);

// Read folder/<name>_w.c and folder/<name>_i.c; a missing file is reported
// ("Unable to find weapon weight file for <name>.", "... item weight ...")
// and the bot stays as it was. True when the file was read.
bool ReadWeaponFile(Bot& bot,
                    const std::filesystem::path& folder,
                    const std::string& name,
                    const CharCatalogue& charNames,
                    Messages& messages);
bool ReadItemFile(Bot& bot,
                  const std::filesystem::path& folder,
                  const std::string& name,
                  const CharCatalogue& charNames,
                  Messages& messages);

} // namespace twl
