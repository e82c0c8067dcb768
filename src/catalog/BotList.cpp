// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/BotList.h"

#include "catalog/Models.h"
#include "catalog/StableOrder.h"
#include "core/Cp1252.h"
#include "core/ListFile.h"
#include "core/TextCase.h"

#include <algorithm>

namespace twl {

namespace {

const char* const GameBots[] = {
    "Anarki", "Angel",  "Biker",  "Bitterman", "Bones",   "Cadavre", "Crash", "Daemia",
    "Doom",   "Gorre",  "Grunt",  "Hunter",    "Hossman", "Keel",    "Klesk", "Lucy",
    "Major",  "Mynx",   "Orbb",   "Patriot",   "Phobos",  "Ranger",  "Razor", "Sarge",
    "Slash",  "Sorlag", "Stripe", "TankJr",    "Uriel",   "Visor",   "Wrack", "Xaero",
};

constexpr const char* UserBotsTitle = "[Tarnwell additional bots list]";
constexpr std::size_t UserBotFields = 3;

} // namespace

void LoadGameBots(BotList& bots)
{
    bots.clear();
    for (const char* name : GameBots) {
        BotListEntry entry;
        entry.Name = name;
        entry.PK3File = GameArchive;
        entry.IsOriginal = true;
        bots.push_back(std::move(entry));
    }
}

void LoadBotList(BotList& bots, const std::filesystem::path& folder, Messages& messages)
{
    LoadGameBots(bots);
    LoadUserBots(bots, folder, messages);
}

void AddBotEntry(BotList& bots,
                 const std::string& name,
                 const std::string& pk3File,
                 bool hasBotFile,
                 NameIndex* index)
{
    std::string capitalised = CapitaliseName(name);
    std::string lower = LowerCase(capitalised);
    BotListEntry entry;
    entry.Name = capitalised;
    entry.PK3File = pk3File;
    entry.HasBotFile = hasBotFile;
    std::optional<std::size_t> position = FindByLowerName(bots, lower, index);
    if (position) {
        bots[*position] = std::move(entry);
        return;
    }
    bots.push_back(std::move(entry));
    if (index != nullptr) {
        index->Add(lower, bots.size() - 1);
    }
}

void SortBotList(BotList& bots)
{
    StableSortFrom(
        bots,
        0,
        [](const BotListEntry& a, const BotListEntry& b) { return a.Name < b.Name; },
        nullptr);
}

void RemoveArchiveBots(BotList& bots)
{
    bots.erase(std::remove_if(bots.begin(),
                              bots.end(),
                              [](const BotListEntry& entry) { return !entry.IsOriginal; }),
               bots.end());
}

namespace {

// Takes in the lines of the file whose bot `keep(index, lowerName)` wants;
// every other line is only checked, straight on the file's bytes, without
// building its entry. True when the file is damaged, judged as the whole
// read judges it.
template <typename Keep>
bool LoadChosenBotLines(BotList& bots, const std::filesystem::path& path, Keep keep)
{
    Result<std::string> read = ReadFileBytes(path);
    bool damaged = !read.Ok();
    const std::string text = std::move(read).ValueOr({});
    NameIndex index(bots);
    std::vector<ListFieldView> fields;
    fields.reserve(UserBotFields + 1);
    std::size_t lines = 0;
    ForEachRawLine(text, [&](std::string_view line) {
        if (lines++ == 0) {
            return; // the title
        }
        SplitListFieldViews(line, fields);
        if (fields.empty()) {
            return;
        }
        std::optional<bool> hasBotFile;
        if (fields.size() == UserBotFields) {
            hasBotFile =
                ParseBooleanField(ListField{std::string(fields[2].Text), fields[2].Quoted});
        }
        if (!hasBotFile) {
            damaged = true;
            return;
        }
        std::string name = DecodeCp1252(std::string(fields[0].Text));
        if (keep(index, LowerCase(CapitaliseName(name)))) {
            AddBotEntry(bots, name, DecodeCp1252(std::string(fields[1].Text)), *hasBotFile, &index);
        }
    });
    return damaged || lines == 0;
}

// Nothing is written when the list is read: a copy of a damaged list is
// kept when the list is saved (SaveUserBots).
void ReportDamagedBotList(Messages& messages)
{
    messages.Warn("Errors occured when trying to load botlist file. Please use "
                  "Tools/CheckBaseq3 to correct the bot list.",
                  "Load error");
}

} // namespace

void LoadUserBots(BotList& bots,
                  const std::filesystem::path& folder,
                  Messages& messages,
                  ListEntries which)
{
    std::filesystem::path path = folder / UserBotsFileName;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    if (which == ListEntries::KeptByFolderCheck) {
        // A game bot's name takes the game bot over (and the check then
        // drops it, as every bot from the list).
        if (LoadChosenBotLines(bots, path, [](const NameIndex& index, const std::string& name) {
                return index.Find(name).has_value();
            })) {
            ReportDamagedBotList(messages);
        }
        SortBotList(bots);
        return;
    }
    Result<std::vector<std::string>> read = ReadTextFile(path);
    bool damaged = !read.Ok() || read.Value().empty();
    const std::vector<std::string> lines = std::move(read).ValueOr({});
    NameIndex index(bots);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<ListField> fields = SplitListFields(lines[i]);
        if (fields.empty()) {
            continue;
        }
        std::optional<bool> hasBotFile;
        if (fields.size() == UserBotFields) {
            hasBotFile = ParseBooleanField(fields[2]);
        }
        if (!hasBotFile) {
            damaged = true;
            continue;
        }
        AddBotEntry(bots, fields[0].Text, fields[1].Text, *hasBotFile, &index);
    }
    if (damaged) {
        ReportDamagedBotList(messages);
    }
    SortBotList(bots);
}

void LoadBotListFor(BotList& bots,
                    const std::filesystem::path& folder,
                    const std::string& name,
                    Messages& messages)
{
    LoadGameBots(bots);
    std::filesystem::path path = folder / UserBotsFileName;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    const std::string wanted = LowerCase(name);
    if (LoadChosenBotLines(bots, path, [&wanted](const NameIndex&, const std::string& lower) {
            return lower == wanted;
        })) {
        ReportDamagedBotList(messages);
    }
    SortBotList(bots);
}

Result<> SaveUserBots(const BotList& bots, const std::filesystem::path& folder, Messages& messages)
{
    std::filesystem::path path = folder / UserBotsFileName;
    std::vector<std::string> lines = {UserBotsTitle};
    bool anyUserBot = false;
    NotStoredList notStored("bot", "bots");
    for (const BotListEntry& entry : bots) {
        if (entry.IsOriginal) {
            continue;
        }
        anyUserBot = true;
        if (!notStored.Check(entry.Name, entry.Name) ||
            !notStored.Check(entry.Name, entry.PK3File)) {
            continue;
        }
        lines.push_back(QuotedField(entry.Name) + "," + QuotedField(entry.PK3File) + "," +
                        BooleanField(entry.HasBotFile));
    }
    notStored.Report(path, messages);
    if (!anyUserBot) {
        return {};
    }
    return ReplaceKeepingDamaged(path, lines, [](const std::string& old) {
        return IsListFileDamaged(old, [](const std::vector<ListFieldView>& fields) {
            return fields.size() == UserBotFields &&
                   ParseBooleanField(ListField{std::string(fields[2].Text), fields[2].Quoted});
        });
    });
}

std::string BotListLine(const BotListEntry& entry)
{
    auto column = [](const std::string& text, std::size_t width) {
        return text.size() > width - 1 ? text.substr(0, width - 1) + " "
                                       : text + std::string(width - text.size(), ' ');
    };
    std::string botFile = entry.HasBotFile ? "Yes" : entry.IsOriginal ? "-D-" : "No";
    if (entry.FromGameList) {
        // The game's own list says which model the bot wears.
        std::string pk3 = IsLooseFolder(entry.PK3File) ? "(folder)" : entry.PK3File;
        return column(entry.Name, 15) + column(pk3, 20) + column(botFile, 8) +
               entry.Info.Value("model");
    }
    return column(entry.Name, 15) + column(entry.PK3File, 20) + botFile;
}

} // namespace twl
