#include "pk3/BotArchive.h"

#include "core/TextFile.h"
#include "pk3/ZipArchive.h"

#include <fstream>

namespace twl {

bool WriteBotArchive(const std::filesystem::path& folder,
                     const Bot& bot,
                     const std::filesystem::path& filesFolder,
                     const std::filesystem::path& scriptsFolder,
                     Messages& messages)
{
    std::filesystem::path archivePath =
        folder / ("bot-" + bot.BotPara(Para::Name).ToText() + ".pk3");
    auto fail = [&messages](const ZipError& error) {
        messages.Note(std::to_string(error.Number) + " Form1::cmdZip_Click " + error.Description);
        return false;
    };

    struct Part
    {
        std::filesystem::path From;
        std::string ArchiveFolder;
        int Para;
    };

    const Part parts[] = {
        {filesFolder, "botfiles/bots/", Para::CharFile},
        {filesFolder, "botfiles/bots/", Para::WeaponFile},
        {filesFolder, "botfiles/bots/", Para::ItemFile},
        {filesFolder, "botfiles/bots/", Para::ChatFile},
        {scriptsFolder, "scripts/", Para::ScriptFile},
    };
    std::vector<ZipEntry> entries;
    for (const Part& part : parts) {
        std::string fileName = bot.BotPara(part.Para).ToText();
        std::filesystem::path path = part.From / fileName;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return fail(ZipError{ZipErrorOpen, "Can't open file: " + path.string()});
        }
        entries.push_back(ZipEntry{part.ArchiveFolder + fileName, ReadStreamBytes(in)});
    }
    if (std::optional<ZipError> error = WriteZipArchive(archivePath, entries)) {
        return fail(*error);
    }
    messages.Note(archivePath.string() + " created succesfully");
    return true;
}

} // namespace twl
