// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/Models.h"

#include "catalog/StableOrder.h"
#include "core/Cp1252.h"
#include "core/ListFile.h"
#include "core/TextCase.h"
#include "core/Utf8.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_set>

namespace twl {

namespace {

// A fixed table, made by the compiler: nothing of it is built at start, and
// as it holds its texts (no pointers) nothing of it is relocated either.
struct GameModel
{
    char Name[12];
    char ExtraSkins[4][12]; // up to the first empty one
};

constexpr GameModel GameModels[] = {
    {"Anarki", {}},
    {"Biker", {"Cadavre", "Hossman", "Slammer", "Stroggo"}},
    {"Bitterman", {}},
    {"Bones", {"Bones"}},
    {"Crash", {}},
    {"Doom", {"Phobos"}},
    {"Grunt", {"Stripe"}},
    {"Hunter", {"Harpy"}},
    {"Keel", {}},
    {"Klesk", {"Flisk"}},
    {"Lucy", {"Angel"}},
    {"Major", {"Daemia"}},
    {"Mynx", {}},
    {"Orbb", {}},
    {"Ranger", {"Wrack"}},
    {"Razor", {"Patriot", "Id"}},
    {"Sarge", {"Krusade", "Roderic"}},
    {"Slash", {"Grrl", "Yuriko"}},
    {"Sorlag", {}},
    {"TankJr", {}},
    {"Uriel", {"Zael"}},
    {"Visor", {"Gorre"}},
    {"Xaero", {}},
};

constexpr const char* UserModelsTitle = "[Tarnwell additional models & skins list]";
constexpr std::size_t UserModelFields = 4;

bool HasCapitalAfterFirst(const std::string& text)
{
    std::size_t pos = 0;
    if (!DecodeUtf8(text, pos)) {
        pos = text.empty() ? 0 : 1;
    }
    for (; pos < text.size(); ++pos) {
        if (text[pos] >= 'A' && text[pos] <= 'Z') {
            return true;
        }
    }
    return false;
}

std::string IconPath(const std::string& model, const std::string& skin)
{
    return "models\\players\\" + LowerCase(model) + "\\icon_" + LowerCase(skin) + ".tga";
}

SkinEntry MakeSkin(const std::string& name,
                   bool isOriginal,
                   const std::string& pk3File,
                   const std::string& iconFile)
{
    return SkinEntry{name, isOriginal, pk3File, iconFile};
}

bool IsArchiveSkin(const SkinEntry& skin)
{
    return skin.PK3File != UserDefined && !skin.IsOriginal;
}

// Whether LowerCase(name) is `lowerAscii`, a plain ASCII name, without
// making the lowered copy: a letter beyond ASCII never lowers to ASCII.
bool IsNamedLower(const std::string& name, std::string_view lowerAscii)
{
    if (name.size() != lowerAscii.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (LowerAscii(name[i]) != lowerAscii[i]) {
            return false;
        }
    }
    return true;
}

void MoveFirstNamed(ModelEntry& model,
                    const char* lowerName,
                    std::size_t& next,
                    std::int16_t* skinIndex)
{
    for (std::size_t i = next; i < model.Skins.size(); ++i) {
        if (IsNamedLower(model.Skins[i].Name, lowerName)) {
            ExchangeTracking(model.Skins, i, next, skinIndex);
            ++next;
            return;
        }
    }
}

} // namespace

std::string CapitaliseName(const std::string& text)
{
    if (text.empty() || HasCapitalAfterFirst(text)) {
        return text;
    }
    auto first = static_cast<unsigned char>(text[0]);
    if (first < 0x80) {
        std::string result = text;
        if (first >= 'a' && first <= 'z') {
            result[0] = static_cast<char>(first - 'a' + 'A');
        }
        return result;
    }
    std::size_t pos = 0;
    if (!DecodeUtf8(text, pos)) {
        pos = 1;
    }
    return UpperCase(text.substr(0, pos)) + text.substr(pos);
}

std::string LowerCaseName(const std::string& text)
{
    return HasCapitalAfterFirst(text) ? text : LowerCase(text);
}

ModelEntry MakeModelEntry(const std::string& name,
                          bool isOriginal,
                          bool createRedBlue,
                          const std::string& pk3File)
{
    ModelEntry model{name, pk3File, isOriginal, {}};
    std::vector<const char*> skins = {"Default"};
    if (createRedBlue) {
        skins.push_back("Red");
        skins.push_back("Blue");
    }
    for (const char* skin : skins) {
        std::string icon = pk3File == UserDefined ? std::string() : IconPath(name, skin);
        model.Skins.push_back(MakeSkin(skin, isOriginal, pk3File, icon));
    }
    return model;
}

void RemoveBuiltInModels(ModelCatalogue& models)
{
    for (ModelEntry& model : models) {
        model.Skins.erase(std::remove_if(model.Skins.begin(),
                                         model.Skins.end(),
                                         [](const SkinEntry& skin) { return skin.IsOriginal; }),
                          model.Skins.end());
        if (model.IsOriginal) {
            model.IsOriginal = false;
            model.PK3File.clear();
        }
    }
    models.erase(std::remove_if(models.begin(),
                                models.end(),
                                [](const ModelEntry& model) { return model.Skins.empty(); }),
                 models.end());
}

void AddModelSkin(ModelCatalogue& models,
                  const std::string& model,
                  const std::string& skin,
                  const std::string& pk3File,
                  std::string iconFile,
                  NameIndex* index)
{
    // Capitalising changes no letter but the first, into its capital, so
    // the lowered model name is that of the name as given.
    std::string lowerModel = LowerCase(model);
    SkinEntry newSkin{CapitaliseName(skin), false, pk3File, std::move(iconFile)};
    std::optional<std::size_t> position = FindByLowerName(models, lowerModel, index);
    if (position) {
        models[*position].Skins.push_back(std::move(newSkin));
        return;
    }
    ModelEntry& added = models.emplace_back();
    added.Name = CapitaliseName(model);
    // A model nearly always comes with a few skins ("Default", "Red", "Blue").
    added.Skins.reserve(3);
    added.Skins.push_back(std::move(newSkin));
    if (index != nullptr) {
        index->Add(lowerModel, models.size() - 1);
    }
}

void SortSkins(ModelEntry& model, std::int16_t* skinIndex)
{
    if (model.Skins.size() <= 1) {
        return;
    }
    std::size_t next = 0;
    MoveFirstNamed(model, "default", next, skinIndex);
    MoveFirstNamed(model, "red", next, skinIndex);
    MoveFirstNamed(model, "blue", next, skinIndex);
    StableSortFrom(
        model.Skins,
        next,
        [](const SkinEntry& a, const SkinEntry& b) { return a.Name < b.Name; },
        skinIndex);
}

void SortModels(ModelCatalogue& models, std::int16_t* modelIndex, std::int16_t* skinIndex)
{
    StableSortFrom(
        models,
        0,
        [](const ModelEntry& a, const ModelEntry& b) { return a.Name < b.Name; },
        modelIndex);
    for (std::size_t b = 0; b < models.size(); ++b) {
        bool selected = skinIndex != nullptr && modelIndex != nullptr &&
                        *modelIndex == static_cast<std::int16_t>(b);
        SortSkins(models[b], selected ? skinIndex : nullptr);
    }
}

void LoadGameModels(ModelCatalogue& models)
{
    models.clear();
    for (const GameModel& game : GameModels) {
        ModelEntry model = MakeModelEntry(game.Name, true, true, GameArchive);
        for (const char* skin : game.ExtraSkins) {
            if (*skin == '\0') {
                break;
            }
            model.Skins.push_back(MakeSkin(skin, true, GameArchive, IconPath(game.Name, skin)));
        }
        models.push_back(std::move(model));
    }
}

void LoadModelCatalogue(ModelCatalogue& models,
                        const std::filesystem::path& folder,
                        Messages& messages)
{
    LoadGameModels(models);
    LoadUserModels(models, folder, messages);
}

namespace {

std::string FieldText(const ListFieldView& field)
{
    return DecodeCp1252(std::string(field.Text));
}

// The skins of the file that a check of the game folder keeps: the user's
// own (UserDef). The skins from archives are read only where they share a
// model with one of those, since the file's first line of a model names it
// and orders its skins; every other line is only checked, straight on the
// file's bytes, nothing decoded or copied. True when the file is damaged,
// judged as the whole read judges it.
bool LoadUserDefinedSkins(ModelCatalogue& models, const std::filesystem::path& path)
{
    Result<std::string> read = ReadFileBytes(path);
    bool damaged = !read.Ok();
    const std::string text = std::move(read).ValueOr({});
    std::vector<ListFieldView> fields;
    fields.reserve(UserModelFields + 1);
    std::unordered_set<std::string> userModels; // lower-cased, as AddModelSkin matches them
    std::size_t lines = 0;
    ForEachRawLine(text, [&](std::string_view line) {
        if (lines++ == 0) {
            return; // the title
        }
        SplitListFieldViews(line, fields);
        if (fields.empty()) {
            return;
        }
        if (fields.size() != UserModelFields) {
            damaged = true;
            return;
        }
        if (fields[2].Text == UserDefined) {
            userModels.insert(LowerCase(CapitaliseName(FieldText(fields[0]))));
        }
    });
    if (!userModels.empty()) {
        NameIndex index(models);
        lines = 0;
        ForEachRawLine(text, [&](std::string_view line) {
            if (lines++ == 0) {
                return;
            }
            SplitListFieldViews(line, fields);
            if (fields.size() != UserModelFields) {
                return;
            }
            std::string model = FieldText(fields[0]);
            if (userModels.count(LowerCase(CapitaliseName(model))) == 0) {
                return;
            }
            AddModelSkin(models,
                         model,
                         FieldText(fields[1]),
                         FieldText(fields[2]),
                         FieldText(fields[3]),
                         &index);
        });
    }
    return damaged || lines == 0;
}

} // namespace

void LoadUserModels(ModelCatalogue& models,
                    const std::filesystem::path& folder,
                    Messages& messages,
                    ListEntries which)
{
    std::filesystem::path path = folder / UserModelsFileName;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    if (which == ListEntries::KeptByFolderCheck) {
        if (LoadUserDefinedSkins(models, path)) {
            messages.Warn(
                "Errors occured when trying to load model file. Please use Tools/CheckBaseq3.",
                "Load error");
        }
        SortModels(models);
        return;
    }
    Result<std::vector<std::string>> read = ReadTextFile(path);
    // No title line at all counts as a damaged file, as does any line that
    // is not one whole record; every good line is still taken.
    bool damaged = !read.Ok() || read.Value().empty();
    const std::vector<std::string> lines = std::move(read).ValueOr({});
    NameIndex index(models);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<ListField> fields = SplitListFields(lines[i]);
        if (fields.empty()) {
            continue;
        }
        if (fields.size() != UserModelFields) {
            damaged = true;
            continue;
        }
        AddModelSkin(
            models, fields[0].Text, fields[1].Text, fields[2].Text, fields[3].Text, &index);
    }
    if (damaged) {
        messages.Warn(
            "Errors occured when trying to load model file. Please use Tools/CheckBaseq3.",
            "Load error");
    }
    SortModels(models);
}

namespace {

// Printable ASCII without a double quote: stored as it stands, nothing to
// check or encode (what nearly every name of a model, skin or archive is).
bool IsPlainField(const std::string& text)
{
    for (char c : text) {
        if (c < 0x20 || c > 0x7E || c == '"') {
            return false;
        }
    }
    return true;
}

} // namespace

Result<> SaveUserModels(const ModelCatalogue& models,
                        const std::filesystem::path& folder,
                        Messages& messages)
{
    // The file's bytes are made in one buffer as the lines go, each field
    // encoded on its own: the same bytes as WriteTextFiles of the lines.
    std::filesystem::path path = folder / UserModelsFileName;
    std::string bytes = std::string(UserModelsTitle) + "\r\n";
    // Room for all of it at once: a big game folder makes megabytes, and
    // every doubling of the room touches fresh memory. An encoded field is
    // never longer than the field.
    std::size_t room = bytes.size();
    for (const ModelEntry& model : models) {
        for (const SkinEntry& skin : model.Skins) {
            if (!skin.IsOriginal) {
                room += 13 + model.Name.size() + skin.Name.size() + skin.PK3File.size() +
                        skin.IconFile.size();
            }
        }
    }
    bytes.reserve(room);
    bool anyUserSkin = false;
    NotStoredList notStored("skin", "skins");
    for (const ModelEntry& model : models) {
        for (const SkinEntry& skin : model.Skins) {
            if (skin.IsOriginal) {
                continue;
            }
            anyUserSkin = true;
            const std::string* fields[] = {&model.Name, &skin.Name, &skin.PK3File, &skin.IconFile};
            // What goes into the file: the field itself when it is plain,
            // else its encoded copy.
            std::string encoded[4];
            const std::string* texts[4];
            bool storable = true;
            for (std::size_t i = 0; i < 4; ++i) {
                texts[i] = fields[i];
                if (IsPlainField(*fields[i])) {
                    continue;
                }
                storable = storable && notStored.Check(model.Name + "/" + skin.Name, *fields[i]);
                if (Result<std::string> field = EncodeCp1252(*fields[i])) {
                    encoded[i] = std::move(field).Value();
                }
                texts[i] = &encoded[i];
            }
            if (!storable) {
                continue;
            }
            // "model","skin","archive","icon" CR LF, copied straight in.
            std::size_t at = bytes.size();
            bytes.resize(at + 13 + texts[0]->size() + texts[1]->size() + texts[2]->size() +
                         texts[3]->size());
            char* out = bytes.data() + at;
            for (std::size_t i = 0; i < 4; ++i) {
                if (i != 0) {
                    *out++ = ',';
                }
                *out++ = '"';
                std::memcpy(out, texts[i]->data(), texts[i]->size());
                out += texts[i]->size();
                *out++ = '"';
            }
            *out++ = '\r';
            *out = '\n';
        }
    }
    notStored.Report(path, messages);
    if (!anyUserSkin) {
        return {};
    }
    return ReplaceKeepingDamaged(path, bytes, [](const std::string& old) {
        return IsListFileDamaged(old, [](const std::vector<ListFieldView>& fields) {
            return fields.size() == UserModelFields;
        });
    });
}

void RemoveArchiveModels(ModelCatalogue& models)
{
    // One pass over each list, keeping the order of what stays.
    for (ModelEntry& model : models) {
        std::vector<SkinEntry>& skins = model.Skins;
        std::size_t kept = 0;
        for (std::size_t s = 0; s < skins.size(); ++s) {
            // A skin from an archive goes unless it is the only one left.
            bool onlyOneLeft = kept + (skins.size() - s) == 1;
            if (!IsArchiveSkin(skins[s]) || onlyOneLeft) {
                if (kept != s) {
                    skins[kept] = std::move(skins[s]);
                }
                ++kept;
            }
        }
        skins.resize(kept);
    }
    models.erase(std::remove_if(models.begin(),
                                models.end(),
                                [](const ModelEntry& model) {
                                    return model.Skins.size() == 1 && IsArchiveSkin(model.Skins[0]);
                                }),
                 models.end());
}

} // namespace twl
