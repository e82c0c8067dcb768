// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/BotArchive.h"

#include "core/ShownText.h"

namespace twl {

Result<FileContent> MakeBotArchive(const std::filesystem::path& folder,
                                   const Bot& bot,
                                   const std::vector<FileContent>& five)
{
    std::filesystem::path path = folder / ("bot-" + bot.BotPara(Para::Name).ToText() + ".pk3");
    std::vector<ZipEntry> entries;
    for (std::size_t i = 0; i < five.size(); ++i) {
        std::string inside = i + 1 < five.size() ? "botfiles/bots/" : "scripts/";
        entries.push_back(ZipEntry{inside + five[i].Path.filename().string(), five[i].Bytes});
    }
    Result<std::string> bytes = MakeZipArchive(entries);
    if (!bytes) {
        Failure failure = bytes.Error();
        failure.Path = path;
        return failure;
    }
    return FileContent{path, std::move(bytes).Value()};
}

void ReportArchiveFailure(const Failure& failure, Messages& messages)
{
    messages.Note(std::to_string(failure.Code) + " Form1::cmdZip_Click " + failure.Reason + "\n" +
                  ShownText(failure.Path.string()) + ": " + failure.Reason);
}

void ReportArchiveMade(const FileContent& archive, Messages& messages)
{
    messages.Note(archive.Path.string() + " created succesfully");
}

} // namespace twl
