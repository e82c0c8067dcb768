// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/BotLibraryReaders.h"

#include <gtest/gtest.h>

#include <map>

namespace twl {
namespace {

using Files = std::map<std::string, std::string>;

PrecompiledScript Read(const Files& files)
{
    return PrecompileScript(
        "main.c", [&files](const std::string& path) -> std::optional<std::string_view> {
            auto found = files.find(path);
            return found == files.end() ? std::nullopt
                                        : std::optional<std::string_view>(found->second);
        });
}

std::string Printed(const PrecompiledScript& script, const std::vector<ScriptMessage>& messages)
{
    std::string text;
    for (const ScriptMessage& message : messages) {
        text += EngineMessageText(script, message) + "\n";
    }
    return text;
}

const std::string Blocks = "#define AIM 16\n"
                           "skill 1\n{\n  AIM 0.5\n  1 \"male\"\n}\n"
                           "skill 3\n{\n  { nested }\n}\n"
                           "skill 4\n{\n  AIM 1\n}\n"
                           "skill 5\n{\n  AIM 0.9\n";

// A characteristic file, the skill asked for, and what the game makes of
// it: whether the block counts, the value of characteristic 16 and how it
// is kept, and what the game prints (its last line is the one it gives up at).
struct SkillCase
{
    const char* Name;
    std::string File;
    int Skill;
    bool Found;
    std::string Value16; // "" for none
    std::string Printed;
};

class CharacterSkill : public testing::TestWithParam<SkillCase>
{};

std::string ValueText(const CharacteristicRead& value)
{
    switch (value.Type) {
    case CharacteristicRead::Kind::Integer:
        return "int " + std::to_string(value.Integer);
    case CharacteristicRead::Kind::Float:
        return "float " + std::to_string(value.Float);
    case CharacteristicRead::Kind::Text:
        return "text " + value.Text;
    }
    return {};
}

TEST_P(CharacterSkill, IsReadAsTheGameReadsIt)
{
    const SkillCase& test = GetParam();
    PrecompiledScript script = Read({{"main.c", test.File}});
    CharacterSkillRead read = ReadCharacterSkill(script, test.Skill);
    EXPECT_EQ(read.Found, test.Found);
    auto value = read.Values.find(16);
    EXPECT_EQ(value == read.Values.end() ? std::string() : ValueText(value->second), test.Value16);
    EXPECT_EQ(Printed(script, read.Printed), test.Printed);
    EXPECT_EQ(read.Failure.has_value(), !test.Found && !test.Printed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files,
    CharacterSkill,
    testing::Values(SkillCase{"FirstBlock", Blocks, 1, true, "float 0.500000", ""},
                    SkillCase{"EarlierBlocksArePassedByTheirBraces", Blocks, 4, true, "int 1", ""},
                    SkillCase{"ABlockToTheEndOfTheFileCounts",
                              Blocks,
                              5,
                              true,
                              "float 0.900000",
                              "file main.c, line 18: couldn't read expected token\n"},
                    SkillCase{"NoBlockOfTheSkill", "skill 1\n{\n 16 1\n}\n", 3, false, "", ""},
                    SkillCase{"GivenTwice",
                              "skill 1\n{\n 16 0.1\n 16 0.2\n}\n",
                              1,
                              false,
                              "",
                              "file main.c, line 4: characteristic 16 already initialized\n"},
                    SkillCase{
                        "AnUnknownName",
                        "skill 1\n{\n 16 0.1\n CHARACTERISTIC_X 1\n}\n",
                        1,
                        false,
                        "",
                        "file main.c, line 4: expected integer index, found CHARACTERISTIC_X\n"},
                    SkillCase{"EightyIsTheLastIndex",
                              "skill 1\n{\n 80 1\n 81 1\n}\n",
                              1,
                              false,
                              "",
                              "file main.c, line 4: characteristic index out of range [0, 80]\n"},
                    SkillCase{"AMinusIsNoValue",
                              "skill 1\n{\n 16 -0.5\n}\n",
                              1,
                              false,
                              "",
                              "file main.c, line 3: expected integer, float or string, found -\n"},
                    SkillCase{"SomethingOutsideABlock",
                              "junk\nskill 1\n{\n}\n",
                              1,
                              false,
                              "",
                              "file main.c, line 1: unknown definition junk\n"},
                    SkillCase{"AnErrorAfterTheBlockIsNeverSeen",
                              "skill 1\n{\n 16 2\n}\nskill 4\n{\n 16 16 1\n}\n",
                              1,
                              true,
                              "int 2",
                              ""}),
    [](const testing::TestParamInfo<SkillCase>& param) { return std::string(param.param.Name); });

const std::string Weights =
    "#define HIGH 200\n"
    "weight \"Gun\"\n{\n"
    "  switch(3)\n  {\n"
    "    case 1: return 0;\n"
    "    case 11: return 10;\n"
    "    default: { switch(4) { case 5: return balance(2, 1, 3); default: return HIGH; } }\n"
    "  }\n}\n"
    "weight \"Flat\" return -7;\n";

TEST(WeightConfig, IsReadAndWeighsAsTheGameWeighs)
{
    PrecompiledScript script = Read({{"main.c", Weights}});
    WeightConfigRead config = ReadWeightConfig(script);
    ASSERT_TRUE(config.Loaded) << Printed(script, config.Printed);
    ASSERT_EQ(config.Weights.size(), 2u);
    EXPECT_EQ(config.Weights[0].Name, "Gun");
    EXPECT_EQ(config.NegativeValues.size(), 1u);
    EXPECT_EQ(Printed(script, config.Printed),
              "file main.c, line 11: negative value set to zero\n");
    // inventory item 3, item 4, the weight of "Gun"
    const std::vector<std::array<int, 3>> inventories = {
        {0, 0, 0},    // below case 1
        {6, 0, 5},    // between case 1 and case 11: blended, 0 to 10
        {11, 0, 2},   // the switch below default, case 5
        {11, 9, 200}, // its default
        // At the default's own amount its own weight counts: 0 for a switch.
        {999999, 9, 0},
    };
    for (const auto& [three, four, weight] : inventories) {
        auto inventory = [three = three, four = four](int index) {
            return index == 3 ? three : index == 4 ? four : 0;
        };
        EXPECT_FLOAT_EQ(FuzzyWeightOf(config, config.Weights[0], inventory),
                        static_cast<float>(weight))
            << three << " " << four;
    }
    EXPECT_FLOAT_EQ(FuzzyWeightOf(config, config.Weights[1], [](int) { return 0; }), 7.0F)
        << "the minus is dropped";
}

TEST(WeightConfig, WhatTheGameCannotReadEndsTheFile)
{
    const std::vector<std::pair<std::string, std::string>> broken = {
        {"weight \"A\" return W_UNDEFINED;",
         "file main.c, line 1: invalid return value W_UNDEFINED\n"},
        {"weight \"A\" { switch(1) { case 1: return 1; } }",
         "file main.c, line 1: switch without default\n"},
        {"weight \"A\" { switch(1) { case 1.5: return 1; } }",
         "file main.c, line 1: expected  integer, found 1.5\n"},
        {"weight A return 1;", "file main.c, line 1: expected a string, found A\n"},
        {"fuzzy \"A\" return 1;", "file main.c, line 1: invalid name fuzzy\n"},
    };
    for (const auto& [file, printed] : broken) {
        PrecompiledScript script = Read({{"main.c", file}});
        WeightConfigRead config = ReadWeightConfig(script);
        EXPECT_EQ(Printed(script, config.Printed), printed) << file;
        // A switch without default is only a warning: the game adds a zero one.
        EXPECT_EQ(config.Loaded, printed.find("without default") != std::string::npos) << file;
    }
}

const std::string Chats = "chat \"other\"\n{\n type \"x\" { broken; }\n}\n"
                          "chat \"Bot\"\n{\n"
                          "  type \"game_enter\"\n  {\n    \"Hi \", 0, \"!\";\n    HELLO;\n  }\n"
                          "  type \"game_exit\"\n  {\n  }\n"
                          "}\n";

TEST(InitialChat, IsReadWithItsVariablesAndListsAsTheGameStoresThem)
{
    PrecompiledScript script = Read({{"main.c", Chats}});
    InitialChatRead chat = ReadInitialChat(script, "bot");
    ASSERT_TRUE(chat.Loaded) << Printed(script, chat.Printed);
    ASSERT_EQ(chat.Types.size(), 2u);
    EXPECT_EQ(chat.Types[0].Name, "game_enter");
    ASSERT_EQ(chat.Types[0].Messages.size(), 2u);
    EXPECT_EQ(chat.Types[0].Messages[0].Stored, "Hi \x01v0\x01!");
    EXPECT_EQ(chat.Types[0].Messages[1].Stored, "\x01rHELLO\x01");
    EXPECT_TRUE(chat.Types[1].Messages.empty());
    std::vector<ChatPart> parts = ChatParts(chat.Types[0].Messages[0].Stored);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].Type, ChatPart::Kind::Variable);
    EXPECT_EQ(parts[1].Number, 0u);
    EXPECT_EQ(ChatParts("\x01rHELLO2\x01")[0].Type, ChatPart::Kind::List);
}

TEST(InitialChat, WhatTheGameCannotReadFailsTheWholeChat)
{
    const std::vector<std::pair<std::string, std::string>> broken = {
        {"chat \"nobody\" { }", "couldn't find chat bot in main.c\n"},
        {"chat \"bot\" { type \"a\" { \"x\", 1.5; } }",
         "file main.c, line 1: unknown message component 1.5\n"},
        {"chat \"bot\" { type \"a\" { \"" + std::string(256, 'x') + "\"; } }",
         "file main.c, line 1: chat message too long\n"},
        {"chat \"bot\" { type \"a\" { \"" + std::string(250, 'x') + "\", 1; } }",
         "file main.c, line 1: chat message too long\n"},
        {"chat \"bot\" { kind \"a\" { } }", "file main.c, line 1: expected type found kind\n"},
        {"chat \"bot\" { type \"a\" { \"x\" \"y\" } }",
         "file main.c, line 1: expected ,, found }\n"},
    };
    for (const auto& [file, printed] : broken) {
        PrecompiledScript script = Read({{"main.c", file}});
        InitialChatRead chat = ReadInitialChat(script, "bot");
        EXPECT_FALSE(chat.Loaded) << file;
        EXPECT_EQ(Printed(script, chat.Printed), printed) << file;
    }
    PrecompiledScript fits =
        Read({{"main.c", "chat \"bot\" { type \"a\" { \"" + std::string(249, 'x') + "\", 1; } }"}});
    EXPECT_TRUE(ReadInitialChat(fits, "BOT").Loaded) << "a variable may follow 249 characters";
}

} // namespace
} // namespace twl
