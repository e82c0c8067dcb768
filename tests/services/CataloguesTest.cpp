// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/Catalogues.h"

#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

TEST(Catalogues, StartUpBuildsEveryCatalogueAndExitWritesTheLists)
{
    test::TempFolder folder;
    test::ScriptedMessages messages;
    test::WriteBytes(folder / "twl_synonyms", "[Tarnwell synonym list]\r\n\"hello\"\r\n");
    Catalogues catalogues;
    InitCatalogues(catalogues, folder.Path(), messages);
    EXPECT_EQ(CharIdentifier(catalogues.CharNames[0]), "CHARACTERISTIC_NAME");
    EXPECT_EQ(catalogues.Chat.ChatTypes[0].FileName, "game_enter");
    EXPECT_EQ(catalogues.Models.size(), 23u);
    EXPECT_EQ(catalogues.Bots.size(), 32u);
    EXPECT_EQ(catalogues.Synonyms, SynonymList{"hello"});

    AddModelSkin(catalogues.Models, "Sarge", "Mine", "UserDef", "");
    AddBotEntry(catalogues.Bots, "Johnny", "bot-Johnny.pk3", true);
    catalogues.Synonyms.push_back("world");
    EXPECT_TRUE(SaveUserLists(catalogues, folder.Path(), messages));

    Catalogues again;
    InitCatalogues(again, folder.Path(), messages);
    EXPECT_EQ(again.Models.size(), 23u);
    EXPECT_EQ(again.Bots.size(), 33u);
    EXPECT_EQ(again.Synonyms, (SynonymList{"hello", "world"}));
    EXPECT_TRUE(messages.Received().empty());
}

TEST(Catalogues, ListsThatCannotBeWrittenAreEachReported)
{
    test::TempFolder folder;
    test::ScriptedMessages messages;
    Catalogues catalogues;
    InitCatalogues(catalogues, folder.Path(), messages);
    AddModelSkin(catalogues.Models, "Sarge", "Mine", "UserDef", "");
    AddBotEntry(catalogues.Bots, "Johnny", "bot-Johnny.pk3", true);
    catalogues.Synonyms = {"hello"};
    std::filesystem::path missing = folder / "gone";
    EXPECT_FALSE(SaveUserLists(catalogues, missing, messages));
    ASSERT_EQ(messages.Received().size(), 3u);
    EXPECT_EQ(messages.Received()[0].Text,
              "Couldn't write " + (missing / "twl_models").string() +
                  ": No such file or directory");
    EXPECT_EQ(messages.Received()[1].Title, "Write failed!");
    EXPECT_EQ(messages.Received()[2].Text,
              "Couldn't write " + (missing / "twl_synonyms").string() +
                  ": No such file or directory");
}

} // namespace
} // namespace twl
