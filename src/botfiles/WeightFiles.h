// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "botfiles/BotFileReading.h"
#include "core/Bot.h"
#include "core/CharCatalogue.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// The weapon weight file (weights 44 to 53) and the item weight file
// (weights 54 to 80): header, include, one #define line a weight, the kept
// lines that no weight uses, the template's include. A file the bot keeps
// whole (another layout) is not made from lines: see WeightFileBytes.
std::vector<std::string>
WeaponFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings);
std::vector<std::string>
ItemFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings);

// The bytes of the bot's weight file of that kind: the kept file byte for
// byte when it is of another layout, otherwise the lines above encoded; a
// failure when a line cannot be encoded.
Result<std::string> WeightFileBytes(const Bot& bot,
                                    WeightFileKind kind,
                                    const CharCatalogue& charNames,
                                    const Settings& settings);

// Reads weight lines into parameters first..last: a line takes the first
// number of the range whose identifier it holds (as a whole name); a "//"
// comment after the value is dropped; other lines are ignored.
// A value that would not be written back as it stands is added to
// `changes` ("#define W_RAILGUN 1e309 (written as 0.0)").
void ReadWeightLines(Bot& bot,
                     const std::vector<std::string>& lines,
                     const CharCatalogue& charNames,
                     int first,
                     int last,
                     std::vector<std::string>* changes = nullptr);

// True when the lines are not in the layout the editor writes for that kind
// of file: a template other than its own is included (fw_weap.c, fw_items.c;
// inv.h is shared), or there is content but no #define names a weight of
// the catalogue.
bool IsForeignWeightLayout(const std::vector<std::string>& lines,
                           WeightFileKind kind,
                           const CharCatalogue& charNames);

// Reads the bytes of a weight file into the bot: in the editor's layout the
// weights, and the lines no weight uses as kept lines; in another layout the
// whole file is kept and its weights are not read. True for another layout.
bool ReadWeightFileBytes(Bot& bot,
                         WeightFileKind kind,
                         const std::string& bytes,
                         const CharCatalogue& charNames,
                         std::vector<std::string>* changes = nullptr);

// "<file> uses a weight layout that Tarnwell does not edit; it is kept as it
// is." (title ForeignWeightsTitle, information icon).
inline constexpr char ForeignWeightsTitle[] = "Weights kept";
void ReportForeignWeights(Messages& messages, const std::string& file);

// Read folder/<name>_w.c and folder/<name>_i.c; a missing file is reported
// ("Unable to find weapon weight file for <name>.", "... item weight ...")
// and the bot stays as it was; a file of another layout is kept whole and
// reported once. Read when the file was read.
Result<> ReadWeaponFile(Bot& bot,
                        const std::filesystem::path& folder,
                        const std::string& name,
                        const CharCatalogue& charNames,
                        Messages& messages);
Result<> ReadItemFile(Bot& bot,
                      const std::filesystem::path& folder,
                      const std::string& name,
                      const CharCatalogue& charNames,
                      Messages& messages);

} // namespace twl
