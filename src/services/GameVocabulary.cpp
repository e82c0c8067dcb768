// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/GameVocabulary.h"

#include "chat/RandomLists.h"
#include "core/ShownText.h"
#include "core/TextCase.h"
#include "pk3/Games.h"

#include <set>

namespace twl {

namespace {

constexpr const char* BotListFile = "scripts/bots.txt";
constexpr const char* RandomListFile = "botfiles/rnd.c";

std::string Where(const std::string& path, const GameFile& file)
{
    return path + (IsLooseSource(file.Source) ? " in " : " of ") + file.Source;
}

// The path of an aifile as the game opens it: below botfiles/, "\" as "/".
std::string AiFilePath(const std::string& aiFile)
{
    std::string path = LowerCase(aiFile);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return "botfiles/" + path;
}

} // namespace

bool HasGameVocabulary(const GameDefinitions& definitions)
{
    return HasGameBotList(definitions) ||
           (!definitions.GameName.empty() && definitions.File(RandomListFile) != nullptr);
}

bool HasGameBotList(const GameDefinitions& definitions)
{
    // Every game keeps its bots in scripts/bots.txt; a folder without it is
    // a folder of a few archives (the game's own are elsewhere), whose bots
    // are found by their files.
    return !definitions.GameName.empty() && definitions.File(BotListFile) != nullptr;
}

BotList GameBotList(const GameDefinitions& definitions, std::vector<std::string>& problems)
{
    std::vector<std::string> files;
    if (definitions.File(BotListFile) != nullptr) {
        files.push_back(BotListFile);
    }
    for (const std::string& script : definitions.ScriptPaths()) {
        files.push_back(script);
    }
    BotList bots;
    std::set<std::string> names;
    for (const std::string& path : files) {
        const GameFile& file = *definitions.File(path);
        BotInfoFile read = ParseBotInfos(file.Bytes);
        for (const std::string& problem : read.Problems) {
            problems.push_back(Where(path, file) + ", " + problem);
        }
        for (BotInfo& info : read.Infos) {
            std::string name = info.Value("name");
            if (name.empty() || !names.insert(LowerCase(name)).second) {
                continue; // the game finds the first of a name only
            }
            BotListEntry entry;
            entry.Name = name;
            entry.FromGameList = true;
            entry.HasBotFile = true;
            entry.AiFile = info.Value("aifile");
            if (entry.AiFile.empty()) {
                problems.push_back(Where(path, file) + ", line " + std::to_string(info.Line) +
                                   ": the bot " + name + " has no aifile: the game cannot add it");
            } else {
                auto source = definitions.BotFileSources.find(AiFilePath(entry.AiFile));
                if (source != definitions.BotFileSources.end()) {
                    entry.PK3File = source->second;
                }
            }
            entry.Info = std::move(info);
            bots.push_back(std::move(entry));
        }
    }
    return bots;
}

void ApplyGameVocabulary(Catalogues& catalogues, Messages& messages)
{
    InitChatCatalogue(catalogues.Chat);
    const GameDefinitions& game = catalogues.Game;
    if (!HasGameVocabulary(game)) {
        return;
    }
    if (game.BaseFolder != KnownGames().front().BaseFolder) {
        RemoveBuiltInModels(catalogues.Models);
    }
    std::vector<std::string> problems;
    if (HasGameBotList(game)) {
        catalogues.Bots = GameBotList(game, problems);
        SortBotList(catalogues.Bots);
    }
    if (const GameFile* rnd = game.File(RandomListFile)) {
        RandomListsRead lists = ReadRandomLists(rnd->Bytes);
        if (lists.Problem) {
            problems.push_back(Where(RandomListFile, *rnd) + ", " + *lists.Problem +
                               ": the game reads none of its lists; the built-in ones are "
                               "offered");
        } else {
            ApplyGameRandomLists(catalogues.Chat, game.GameName, lists.Lists);
        }
    }
    if (!problems.empty()) {
        std::string text = game.GameName + " cannot read all of its bot files:";
        std::size_t shown = 0;
        for (const std::string& problem : problems) {
            if (++shown > 10) {
                text += "\n... and " + std::to_string(problems.size() - 10) + " more.";
                break;
            }
            text += "\n" + ShownText(problem);
        }
        messages.Warn(text, "Game files");
    }
}

void LoadGameVocabulary(Catalogues& catalogues,
                        const std::filesystem::path& settingsFolder,
                        const std::string& gameFolder,
                        Messages& messages,
                        KeptFiles which)
{
    if (gameFolder.empty()) {
        return;
    }
    GameDefinitions kept = LoadGameDefinitions(settingsFolder, messages, which);
    if (kept.GameName.empty() || kept.GameFolder != gameFolder) {
        return;
    }
    catalogues.Game = std::move(kept);
    ApplyGameVocabulary(catalogues, messages);
}

} // namespace twl
