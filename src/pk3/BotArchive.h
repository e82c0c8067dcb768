// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "pk3/ZipArchive.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace twl {

// The archive of a bot's set: folder/bot-<Name>.pk3 holding the five files
// (the bytes about to be written) under botfiles/bots/ and scripts/, or why
// it could not be made (its Path the archive's). `five`: the characteristic,
// weapon, item and chat files, then the script.
Result<FileContent> MakeBotArchive(const std::filesystem::path& folder,
                                   const Bot& bot,
                                   const std::vector<FileContent>& five);

// "<number> Form1::cmdZip_Click <description>", and on a second line the
// archive's path and the reason.
void ReportArchiveFailure(const Failure& failure, Messages& messages);

// "<path> created succesfully".
void ReportArchiveMade(const FileContent& archive, Messages& messages);

} // namespace twl
