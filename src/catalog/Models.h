// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/NameIndex.h"
#include "core/ListFile.h"
#include "core/Messages.h"
#include "core/TextFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace twl {

// The archive marker of a model or skin that the user typed in.
inline constexpr const char* UserDefined = "UserDef";
// The game's own archive.
inline constexpr const char* GameArchive = "pak0.pk3";
inline constexpr const char* UserModelsFileName = "twl_models";

struct SkinEntry
{
    std::string Name;
    bool IsOriginal = false; // the game's own skin: never removed
    std::string PK3File;     // archive in baseq3, or UserDefined
    std::string IconFile;    // path inside the archive, with backslashes; empty for UserDefined
};

struct ModelEntry
{
    std::string Name;
    std::string PK3File;     // GameArchive, UserDefined, or empty for a model met through a skin
    bool IsOriginal = false; // one of the game's 23 models: never removed
    std::vector<SkinEntry> Skins; // never empty
};

// The models and their skins; list positions of the editor's drop-down
// lists are positions in these vectors.
using ModelCatalogue = std::vector<ModelEntry>;

// "sarge" -> "Sarge"; a name with a capital after its first character
// ("tankJr", "SARGE") stays as it is.
std::string CapitaliseName(const std::string& text);
// "Sarge" -> "sarge"; a name with a capital after its first character stays.
std::string LowerCaseName(const std::string& text);

// A model with the skin "Default" (and "Red", "Blue" when asked), every skin
// taking the model's original flag and archive; icon paths are those of the
// game's layout unless the archive is UserDefined.
ModelEntry MakeModelEntry(const std::string& name,
                          bool isOriginal,
                          bool createRedBlue,
                          const std::string& pk3File);

// Removes Quake III's built-in models and skins (those marked original),
// for another game: a model that also has skins of its own keeps those and
// counts as found in an archive.
void RemoveBuiltInModels(ModelCatalogue& models);

// Adds a skin to the model of that name (matched without regard to case),
// or a new model holding it at the end. Names are capitalised; nothing is
// sorted and duplicates are not looked for. With `index` the model is found
// through it (and the index kept up to date).
void AddModelSkin(ModelCatalogue& models,
                  const std::string& model,
                  const std::string& skin,
                  const std::string& pk3File,
                  std::string iconFile,
                  NameIndex* index = nullptr);

// Models by name, in character-code order ("Z" before "a"); then in each
// model "default", "red", "blue" first (in that order, where present) and
// the other skins by name. The indexes, when given, keep pointing at the
// same model and (in that model) the same skin.
void SortModels(ModelCatalogue& models,
                std::int16_t* modelIndex = nullptr,
                std::int16_t* skinIndex = nullptr);
void SortSkins(ModelEntry& model, std::int16_t* skinIndex = nullptr);

// The game's 23 models alone, in their built-in order.
void LoadGameModels(ModelCatalogue& models);

// The game's 23 models, then the user's list.
void LoadModelCatalogue(ModelCatalogue& models,
                        const std::filesystem::path& folder,
                        Messages& messages);

// Reads folder/twl_models, one skin a line, and sorts the catalogue when the
// file exists. A damaged line is skipped and reported once: "Errors occured
// when trying to load model file. Please use Tools/CheckBaseq3." (title
// "Load error", warning). With ListEntries::KeptByFolderCheck only the
// user's own skins (UserDef) are taken in.
void LoadUserModels(ModelCatalogue& models,
                    const std::filesystem::path& folder,
                    Messages& messages,
                    ListEntries which = ListEntries::All);

// Writes every skin that is not the game's own to folder/twl_models; writes
// nothing when there is none. A skin whose names cannot be stored is left
// out and the user is told.
Result<> SaveUserModels(const ModelCatalogue& models,
                        const std::filesystem::path& folder,
                        Messages& messages);

// Removes what came from archives, keeping the game's own and the user's
// entries; a model keeps its last skin unless that skin came from an
// archive too, in which case the model goes.
void RemoveArchiveModels(ModelCatalogue& models);

} // namespace twl
