// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatCatalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace twl {
namespace {

class ChatCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override { InitChatCatalogue(m_chat); }

    ChatCatalogue m_chat;
};

TEST_F(ChatCatalogueTest, TablesHoldTheGameNamesTyposAndAll)
{
    EXPECT_EQ(m_chat.ChatTypes[0].FileName, "game_enter");
    EXPECT_EQ(m_chat.ChatTypes[27].FileName, "random_misc");
    EXPECT_EQ(m_chat.ChatTypes[23].Caption, "Someone kills him/her/itself");
    EXPECT_EQ(m_chat.ChatLists[12].Caption, "Drows");
    EXPECT_EQ(m_chat.ChatLists[18].Caption, "Dies (nagative fem)");
    EXPECT_EQ(m_chat.WordLists[2].FileName, "looser");
    EXPECT_EQ(m_chat.WordLists[2].Caption, "loser");
    EXPECT_EQ(m_chat.WordLists[25].Token, "PROFESSION");
    EXPECT_EQ(m_chat.WordLists[8].Token, "{RANDOMCONSELOR}");
    EXPECT_EQ(m_chat.ChatPointers[8].Token, "{LAST VICTIM}");
    EXPECT_EQ(m_chat.ChatPointers[0].Caption, m_chat.ChatPointers[9].Caption);
    EXPECT_EQ(m_chat.ChatPointers[0].FileName, "\", 1, \"");
    EXPECT_EQ(m_chat.ChatPointers[9].FileName, "\", 0, \"");
}

TEST_F(ChatCatalogueTest, ChatTypesAreUniqueAndLowerCase)
{
    std::set<std::string> names;
    for (const ChatEntry& type : m_chat.ChatTypes) {
        EXPECT_TRUE(names.insert(type.FileName).second) << type.FileName;
        EXPECT_FALSE(type.Caption.empty());
        EXPECT_TRUE(type.Token.empty());
    }
}

TEST_F(ChatCatalogueTest, ChatListTokensOpenAReference)
{
    std::set<std::string> tokens;
    for (const ChatEntry& list : m_chat.ChatLists) {
        EXPECT_EQ(list.Token.rfind("{{", 0), 0u) << list.FileName;
        EXPECT_TRUE(tokens.insert(list.Token).second) << list.Token;
        EXPECT_GE(list.MaxIndex, 0);
    }
    EXPECT_EQ(m_chat.ChatLists[23].MaxIndex, 39);
    EXPECT_TRUE(m_chat.ChatLists[0].BareZero);
    EXPECT_FALSE(m_chat.ChatLists[10].BareZero);
}

TEST_F(ChatCatalogueTest, PointerTextsAreSevenCharacters)
{
    for (const ChatEntry& pointer : m_chat.ChatPointers) {
        ASSERT_EQ(pointer.FileName.size(), 7u) << pointer.Token;
        EXPECT_EQ(pointer.FileName.substr(0, 3), "\", ");
        EXPECT_TRUE(pointer.FileName[3] >= '0' && pointer.FileName[3] <= '9');
        EXPECT_EQ(pointer.FileName.substr(4), ", \"");
    }
}

TEST_F(ChatCatalogueTest, PointerSetsAdmitEachDigitOnce)
{
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        std::set<char> digits;
        ASSERT_FALSE(PointerSet(type).empty()) << type;
        for (int pointer : PointerSet(type)) {
            ASSERT_GE(pointer, 0);
            ASSERT_LT(static_cast<std::size_t>(pointer), ChatPointerCount);
            char digit = m_chat.ChatPointers[static_cast<std::size_t>(pointer)].FileName[3];
            EXPECT_TRUE(digits.insert(digit).second) << "chat type " << type << " digit " << digit;
        }
    }
}

TEST_F(ChatCatalogueTest, PointerSetsByChatType)
{
    struct Expected
    {
        const char* ChatType;
        std::vector<std::string> Tokens;
    };

    const std::vector<Expected> table = {
        {"game_enter", {"{RANDOMOPP}", "{LEVELTITLE}", "{ANYBOTNAME}"}},
        {"level_end_lose",
         {"{RANDOMOPP}", "{LEVELTITLE}", "{ANYBOTNAME}", "{LEVELWINNER}", "{LEVELLOSER}"}},
        {"hit_nodeath", {"{ATTACKER}", "{WEAPONUSED}"}},
        {"hit_nokill", {"{TARGET}", "{WEAPONUSED}"}},
        {"death_telefrag", {"{ATTACKER}"}},
        {"death_suicide", {"{RANDOMOPP2}"}},
        {"death_praise", {"{ATTACKER}", "{WEAPONUSED}"}},
        {"kill_praise", {"{TARGET}", "{WEAPONUSED}"}},
        {"random_misc", {"{RANDOMOPP2}", "{LAST VICTIM}"}},
    };
    for (const Expected& row : table) {
        std::size_t type = 0;
        while (m_chat.ChatTypes[type].FileName != row.ChatType) {
            ++type;
        }
        std::vector<std::string> tokens;
        for (int pointer : PointerSet(type)) {
            tokens.push_back(m_chat.ChatPointers[static_cast<std::size_t>(pointer)].Token);
        }
        EXPECT_EQ(tokens, row.Tokens) << row.ChatType;
    }
    // Pointer 10, not 5, is the attacker of a telefrag.
    EXPECT_EQ(PointerSet(9), std::vector<int>{10});
}

TEST_F(ChatCatalogueTest, EveryChatTypeDrawsFromItsOwnList)
{
    const std::vector<std::pair<std::string, std::string>> table = {
        {"game_enter", "HELLO"},
        {"game_exit", "GOODBYE"},
        {"level_start", "LEVEL_START"},
        {"level_end", "LEVEL_END"},
        {"level_end_victory", "LEVEL_END_VICTORY"},
        {"level_end_lose", "LEVEL_END_LOSE"},
        {"hit_talking", "DEATH_TALKING"},
        {"hit_nodeath", "TAUNT"},
        {"hit_nokill", "HIT_NOKILL"},
        {"death_telefrag", "DEATH_TELEFRAGGED"},
        {"death_cratered", "DEATH_FALLING"},
        {"death_lava", "DEATH_LAVA"},
        {"death_slime", "DEATH_SLIME"},
        {"death_drown", "DEATH_DROWN"},
        {"death_suicide", "DEATH_SUICIDE"},
        {"death_gauntlet", "DEATH_GAUNTLET"},
        {"death_rail", "DEATH_RAIL"},
        {"death_bfg", "DEATH_BFG"},
        {"death_insult", "DEATH_INSULT"},
        {"death_praise", "D_PRAISE"},
        {"kill_rail", "DEATH_RAIL"},
        {"kill_gauntlet", "KILL_GAUNTLET"},
        {"kill_telefrag", "TELEFRAGGED"},
        {"enemy_suicide", "TAUNT"},
        {"kill_insult", "KILL_INSULT"},
        {"kill_praise", "PRAISE"},
        {"random_insult", "MISC"},
        {"random_misc", "MISC"},
    };
    ASSERT_EQ(table.size(), ChatTypeCount);
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        EXPECT_EQ(m_chat.ChatTypes[type].FileName, table[type].first);
        EXPECT_EQ(m_chat.ChatLists[RandomListOfChatType(type)].FileName, table[type].second)
            << table[type].first;
    }
}

} // namespace
} // namespace twl
