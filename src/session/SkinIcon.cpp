#include "session/SkinIcon.h"

#include "catalog/Models.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/GameArchives.h"

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

IconChoice ChooseSkinIcon(const std::string& iconFile,
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
    // Only a missing archive is worth a message ("Check that the pk3-file
    // still exists"). An icon that the archive lacks or that is damaged is
    // the archive's own fault, and would otherwise bring up a box at every
    // choice of that skin; the notfound picture says enough.
    std::optional<std::string> bytes =
        ReadArchiveEntry(pk3File, iconFile, archiveFolders, messages);
    std::optional<RgbaImage> image = bytes ? DecodeTga(*bytes) : std::nullopt;
    if (!image) {
        return {IconChoice::Kind::NotFound, {}};
    }
    return {IconChoice::Kind::Skin, std::move(*image)};
}

IconChoice
ChooseSkinIcon(const BotEditor& editor, const ModelSelection& selection, Messages& messages)
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
    return ChooseSkinIcon(skin.IconFile,
                          skin.PK3File,
                          editor.CanShowIcons,
                          gameFolder.empty() ? std::vector<std::filesystem::path>()
                                             : GameArchiveFolders(gameFolder),
                          messages);
}

} // namespace twl
