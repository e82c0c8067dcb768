// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/BotArchive.h"

#include "core/ShownText.h"

namespace twl {

BotArchive MakeBotArchive(const std::filesystem::path& folder,
                          const Bot& bot,
                          const std::vector<FileContent>& five)
{
    BotArchive archive;
    archive.File.Path = folder / ("bot-" + bot.BotPara(Para::Name).ToText() + ".pk3");
    std::vector<ZipEntry> entries;
    for (std::size_t i = 0; i < five.size(); ++i) {
        std::string inside = i + 1 < five.size() ? "botfiles/bots/" : "scripts/";
        entries.push_back(ZipEntry{inside + five[i].Path.filename().string(), five[i].Bytes});
    }
    archive.Error = MakeZipArchive(entries, archive.File.Bytes);
    return archive;
}

void ReportArchiveFailure(const BotArchive& archive, Messages& messages)
{
    const ZipError& error = archive.Error.value_or(ZipError{});
    messages.Note(std::to_string(error.Number) + " Form1::cmdZip_Click " + error.Description +
                  "\n" + ShownText(archive.File.Path.string()) + ": " + error.Description);
}

void ReportArchiveMade(const BotArchive& archive, Messages& messages)
{
    messages.Note(archive.File.Path.string() + " created succesfully");
}

} // namespace twl
