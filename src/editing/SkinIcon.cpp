// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/SkinIcon.h"

#include "catalog/Models.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"

#include <optional>

namespace twl {

std::string FixedImageName(IconChoice::Kind kind)
{
    switch (kind) {
    case IconChoice::Kind::NotInUse:
        return "notinuse";
    case IconChoice::Kind::UserSkin:
        return "userdef";
    case IconChoice::Kind::NotFound:
        return "notfound";
    case IconChoice::Kind::Empty:
    case IconChoice::Kind::Skin:
        break;
    }
    return "";
}

SkinIconReader::SkinIconReader() = default;

SkinIconReader::~SkinIconReader() = default;

ZipReader* SkinIconReader::Archive(const std::filesystem::path& path,
                                   const std::string& pk3File,
                                   const std::string& iconFile,
                                   const std::vector<std::filesystem::path>& archiveFolders,
                                   Messages& messages)
{
    // Taken before the archive is opened: a change made after that is seen
    // at the next icon.
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    std::filesystem::file_time_type time;
    if (!error) {
        time = std::filesystem::last_write_time(path, error);
    }
    if (m_archive && !error && path == m_path && size == m_size && time == m_time) {
        return m_archive.get();
    }
    m_archive.reset(); // a large archive's names are not held twice
    m_archive = OpenGameArchive(pk3File, iconFile, archiveFolders, messages);
    m_path = path;
    m_size = size;
    m_time = time;
    return m_archive.get();
}

IconChoice SkinIconReader::Choose(const std::string& iconFile,
                                  const std::string& pk3File,
                                  bool canShowIcons,
                                  const std::vector<std::filesystem::path>& archiveFolders,
                                  Messages& messages)
{
    if (!canShowIcons) {
        return {};
    }
    if (iconFile.empty() && pk3File.empty()) {
        return {IconChoice::Kind::NotInUse, {}};
    }
    if (pk3File == UserDefined) {
        return {IconChoice::Kind::UserSkin, {}};
    }
    // A skin that names no archive has nowhere to look; saying that an
    // archive of no name is missing would help nobody.
    if (pk3File.empty()) {
        return {IconChoice::Kind::NotFound, {}};
    }
    std::optional<std::filesystem::path> path = ResolveGameArchive(archiveFolders, pk3File);
    if (!path) {
        m_archive.reset();
        ReportNotLoaded(messages, iconFile, pk3File);
        return {IconChoice::Kind::NotFound, {}};
    }
    ZipReader* archive = Archive(*path, pk3File, iconFile, archiveFolders, messages);
    // Only an archive that cannot be opened is worth a message ("Check that
    // the pk3-file still exists"). An icon that the archive lacks or that is
    // damaged is the archive's own fault, and would otherwise bring up a box
    // at every choice of that skin; the notfound picture says enough.
    std::optional<std::string> bytes =
        archive != nullptr ? ReadArchiveEntry(*archive, iconFile) : std::nullopt;
    std::optional<RgbaImage> image = bytes ? DecodeTga(*bytes) : std::nullopt;
    if (!image) {
        return {IconChoice::Kind::NotFound, {}};
    }
    return {IconChoice::Kind::Skin, std::move(*image)};
}

IconChoice
SkinIconReader::Choose(const BotEditor& editor, const ModelSelection& selection, Messages& messages)
{
    const ModelCatalogue& models = editor.CurrentCatalogues().Models;
    if (selection.Model < 0 || static_cast<std::size_t>(selection.Model) >= models.size()) {
        return {};
    }
    const std::vector<SkinEntry>& skins = models[static_cast<std::size_t>(selection.Model)].Skins;
    if (selection.Skin < 0 || static_cast<std::size_t>(selection.Skin) >= skins.size()) {
        return {};
    }
    const SkinEntry& skin = skins[static_cast<std::size_t>(selection.Skin)];
    const std::string& gameFolder = editor.CurrentSettings().Text(Settings::Q3Baseq3);
    return Choose(skin.IconFile,
                  skin.PK3File,
                  editor.CanShowIcons,
                  gameFolder.empty() ? std::vector<std::filesystem::path>()
                                     : GameArchiveFolders(gameFolder),
                  messages);
}

} // namespace twl
