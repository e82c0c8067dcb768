// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/BotList.h"
#include "catalog/Models.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

// A check of the game folder drops every entry of the user lists that came
// from an archive. Reading only what it keeps (ListEntries::KeptByFolderCheck)
// must leave, after that drop, exactly what reading every entry leaves, with
// the same messages and the same copy of a damaged file.

std::string Describe(const ModelCatalogue& models)
{
    std::ostringstream text;
    for (const ModelEntry& model : models) {
        text << model.Name << '|' << model.PK3File << '|' << model.IsOriginal << '\n';
        for (const SkinEntry& skin : model.Skins) {
            text << "  " << skin.Name << '|' << skin.PK3File << '|' << skin.IconFile << '|'
                 << skin.IsOriginal << '\n';
        }
    }
    return text.str();
}

std::string Describe(const BotList& bots)
{
    std::ostringstream text;
    for (const BotListEntry& bot : bots) {
        text << bot.Name << '|' << bot.PK3File << '|' << bot.IsOriginal << '|' << bot.HasBotFile
             << '\n';
    }
    return text.str();
}

struct LoadedLists
{
    std::string Models;
    std::string Bots;
    std::vector<ScriptedMessages::Message> Messages;
    bool CopyKept = false;
};

LoadedLists
LoadAndDrop(const std::string& modelBytes, const std::string& botBytes, ListEntries which)
{
    TempFolder folder;
    if (!modelBytes.empty()) {
        test::WriteBytes(folder / UserModelsFileName, modelBytes);
    }
    if (!botBytes.empty()) {
        test::WriteBytes(folder / UserBotsFileName, botBytes);
    }
    ScriptedMessages messages;
    ModelCatalogue models;
    BotList bots;
    LoadGameModels(models);
    LoadUserModels(models, folder.Path(), messages, which);
    LoadGameBots(bots);
    LoadUserBots(bots, folder.Path(), messages, which);
    RemoveArchiveModels(models);
    RemoveArchiveBots(bots);
    SortModels(models);
    SortBotList(bots);
    LoadedLists loaded;
    loaded.Models = Describe(models);
    loaded.Bots = Describe(bots);
    loaded.Messages = messages.Received();
    std::filesystem::path modelCopy = folder / UserModelsFileName;
    modelCopy += ".bak";
    std::filesystem::path botCopy = folder / UserBotsFileName;
    botCopy += ".bak";
    loaded.CopyKept = std::filesystem::exists(modelCopy) || std::filesystem::exists(botCopy);
    messages.Clear();
    return loaded;
}

struct ListCase
{
    const char* Name;
    std::string Models; // empty: no file
    std::string Bots;   // empty: no file
};

class ListEntriesTest : public ::testing::TestWithParam<ListCase>
{};

TEST_P(ListEntriesTest, TheFolderCheckKeepsWhatAWholeReadKeeps)
{
    const ListCase& c = GetParam();
    LoadedLists whole = LoadAndDrop(c.Models, c.Bots, ListEntries::All);
    LoadedLists kept = LoadAndDrop(c.Models, c.Bots, ListEntries::KeptByFolderCheck);
    EXPECT_EQ(kept.Models, whole.Models);
    EXPECT_EQ(kept.Bots, whole.Bots);
    EXPECT_EQ(kept.Messages, whole.Messages);
    EXPECT_EQ(kept.CopyKept, whole.CopyKept);
}

const std::string ModelTitle = "[Tarnwell additional models & skins list]\r\n";
const std::string BotTitle = "[Tarnwell additional bots list]\r\n";

INSTANTIATE_TEST_SUITE_P(
    UserLists,
    ListEntriesTest,
    ::testing::Values(
        ListCase{"NoFiles", "", ""},
        ListCase{"OnlyArchiveEntries",
                 ModelTitle + "\"Mymodel\",\"Default\",\"a.pk3\",\"models\\players\\mymodel\\icon_"
                              "default.tga\"\r\n\"Sarge\",\"Extra\",\"a.pk3\",\"x\"\r\n",
                 BotTitle + "\"Alpha\",\"a.pk3\",#TRUE#\r\n\"Beta\",\"b.pk3\",#FALSE#\r\n"},
        ListCase{"UserSkinAfterArchiveLineOfModelNamedOtherwise",
                 ModelTitle + "\"mymodel\",\"Blue\",\"a.pk3\",\"x\"\r\n"
                              "\"myModel\",\"Own\",\"UserDef\",\"\"\r\n"
                              "\"Other\",\"Default\",\"b.pk3\",\"y\"\r\n"
                              "\"MYMODEL\",\"Zed\",\"UserDef\",\"\"\r\n",
                 ""},
        ListCase{"UserSkinsOfGameModelAmongArchiveSkins",
                 ModelTitle + "\"Sarge\",\"Camo\",\"a.pk3\",\"x\"\r\n"
                              "\"sarge\",\"Mine\",\"UserDef\",\"\"\r\n"
                              "\"Sarge\",\"Again\",\"b.pk3\",\"y\"\r\n",
                 ""},
        ListCase{"DamagedLinesAmongGoodOnes",
                 ModelTitle + "\"A\",\"B\",\"UserDef\"\r\n\"Mine\",\"Own\",\"UserDef\",\"\"\r\n"
                              "\r\n   \r\nnot,a,record,at,all\r\n",
                 BotTitle + "\"Alpha\",\"a.pk3\",maybe\r\n\"Beta\",\"b.pk3\"\r\n"},
        ListCase{"Windows1252NamesAndLineFeedsOnly",
                 ModelTitle +
                     "\"Caf\xe9\",\"R\xf6t\",\"UserDef\",\"\"\n"
                     "\"caf\xc9\",\"\x81x\",\"a.pk3\",\"m\"\n\"\xe9t\xe9\",\"Q\",\"UserDef\",\"\"",
                 BotTitle + "\"J\xfcrgen\",\"a.pk3\",#TRUE#\n\"sarge\",\"s.pk3\",1"},
        ListCase{"AGameBotTakenOverByAnArchive",
                 "",
                 BotTitle + "\"sarge\",\"s.pk3\",#TRUE#\r\n\"Visor\",\"v.pk3\",#FALSE#\r\n"
                            "\"Newbot\",\"n.pk3\",#TRUE#\r\n"},
        ListCase{"UnquotedFieldsWithBlanks",
                 ModelTitle + "  Mine ,  Own  , UserDef , \r\n\"Mine\",\"Two\",a.pk3 ,x\r\n",
                 BotTitle + " Anarki , a.pk3 , #FALSE# \r\n"},
        ListCase{"FilesWithOnlyALineEnd", "\r\n", "\n"}),
    [](const ::testing::TestParamInfo<ListCase>& param) { return std::string(param.param.Name); });

// An empty file (no title line at all) counts as damaged either way.
TEST(ListEntries, AnEmptyFileIsDamagedEitherWay)
{
    for (ListEntries which : {ListEntries::All, ListEntries::KeptByFolderCheck}) {
        TempFolder folder;
        test::WriteBytes(folder / UserModelsFileName, "");
        test::WriteBytes(folder / UserBotsFileName, "");
        ScriptedMessages messages;
        ModelCatalogue models;
        BotList bots;
        LoadGameModels(models);
        LoadUserModels(models, folder.Path(), messages, which);
        LoadGameBots(bots);
        LoadUserBots(bots, folder.Path(), messages, which);
        EXPECT_EQ(messages.Received().size(), 2u);
        messages.Clear();
    }
}

} // namespace
} // namespace twl
