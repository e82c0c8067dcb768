// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/TgaImage.h"
#include "core/Messages.h"
#include "editing/BotEditor.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace twl {

// What the icon box shows for a skin.
struct IconChoice
{
    enum class Kind
    {
        Empty,    // nothing: icons cannot be shown
        Skin,     // the skin's own icon, in Image
        NotInUse, // the skin names neither an icon nor an archive
        UserSkin, // a skin the user typed in
        NotFound  // the icon could not be read or decoded
    };

    Kind Shows = Kind::Empty;
    RgbaImage Image; // the icon's pixels when Shows is Skin
};

// The name of the fixed image a choice shows ("notinuse", "userdef",
// "notfound"); empty for Empty and Skin.
std::string FixedImageName(IconChoice::Kind kind);

class ZipReader;

// Reads the skins' icons for the icon box. It keeps the archive of the last
// icon open, so that going through the skins of one archive opens it (and
// reads its list of names) once; an archive whose file has changed since,
// or another archive, is opened anew.
class SkinIconReader
{
public:
    SkinIconReader();
    SkinIconReader(const SkinIconReader&) = delete;
    SkinIconReader& operator=(const SkinIconReader&) = delete;
    ~SkinIconReader();

    // The icon of a skin with the catalogue's `iconFile` (a path inside the
    // archive, "\" or "/") and `pk3File`, when `canShowIcons`: NotInUse when
    // both are empty, UserSkin for the archive "UserDef", else the icon read
    // from the archive in the game's folders and decoded. An archive that is
    // missing or cannot be opened is reported ("Couldn't load <icon> from
    // <pk3>. Check that the pk3-file still exists.", "Load failed") and gives
    // NotFound; an icon the archive lacks, one that is damaged or of a kind
    // that cannot be decoded gives NotFound without a message.
    IconChoice Choose(const std::string& iconFile,
                      const std::string& pk3File,
                      bool canShowIcons,
                      const std::vector<std::filesystem::path>& archiveFolders,
                      Messages& messages);

    // The same for skin `selection` of the editor's catalogue, with the
    // archives of its game folder and its CanShowIcons; Empty for a position
    // the catalogue does not have.
    IconChoice Choose(const BotEditor& editor, const ModelSelection& selection, Messages& messages);

private:
    // The archive at `path`, opened now or kept from before; nothing (after
    // the message) when it cannot be opened.
    ZipReader* Archive(const std::filesystem::path& path,
                       const std::string& pk3File,
                       const std::string& iconFile,
                       const std::vector<std::filesystem::path>& archiveFolders,
                       Messages& messages);

    std::unique_ptr<ZipReader> m_archive;
    // What the kept archive's file was when it was opened.
    std::filesystem::path m_path;
    std::uintmax_t m_size = 0;
    std::filesystem::file_time_type m_time;
};

} // namespace twl
