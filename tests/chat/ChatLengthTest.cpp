// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatLength.h"

#include "support/ParamNames.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

std::string Text(std::size_t length)
{
    return std::string(length, 'a');
}

std::string Quoted(std::size_t length)
{
    return "\"" + Text(length) + "\"";
}

struct LengthCase
{
    std::string Name;
    std::string Line;
    int Length;
    bool Fits;
    int BreaksAt;
    bool Problem;
};

class ChatFileLineLength : public ::testing::TestWithParam<LengthCase>
{};

TEST_P(ChatFileLineLength, CountsAsTheGamesLoader)
{
    ChatMessageLength counted = GameChatLengthOfFileLine(GetParam().Line);
    EXPECT_EQ(counted.Length, GetParam().Length) << GetParam().Line;
    EXPECT_EQ(counted.Fits, GetParam().Fits);
    EXPECT_EQ(counted.BreaksAt, GetParam().BreaksAt);
    EXPECT_EQ(counted.Problem.has_value(), GetParam().Problem) << counted.Problem.value_or("");
}

INSTANTIATE_TEST_SUITE_P(
    Table,
    ChatFileLineLength,
    ::testing::Values(
        LengthCase{"TextVariableText", "\"Hi \", 1, \"!\";", 8, true, -1, false},
        LengthCase{"WordList", "looser;", 9, true, -1, false},
        LengthCase{"ChatListMember", "HELLO3;", 9, true, -1, false},
        LengthCase{"Empty", "\"\";", 0, true, -1, false},
        LengthCase{"EscapesCountOnce", "\"say \\\"hi\\\" \\\\o/\";", 12, true, -1, false},
        LengthCase{"HexAndDecimalEscapes", "\"a\\x41\\66b\";", 4, true, -1, false},
        LengthCase{"AdjacentTextsAreOne", "\"ab\"  \"cd\";", 4, true, -1, false},
        LengthCase{"TwoDigitVariable", "\"x\", 12;", 6, true, -1, false},
        LengthCase{"OctalVariableWrittenInDecimal", "\"x\", 010;", 5, true, -1, false},
        LengthCase{"OneCharacterPerLetter", "\"\xC3\xA9t\xC3\xA9\";", 3, true, -1, false},
        LengthCase{"CommentAfterTheEnd", "\"Hi\"; // greeting", 2, true, -1, false},
        LengthCase{"FullBuffer", Quoted(255) + ";", 255, true, -1, false},
        LengthCase{"OneTooMany", Quoted(256) + ";", 256, false, 0, false},
        LengthCase{
            "SecondTextOverflows", Quoted(200) + ", " + Quoted(56) + ";", 256, false, 200, false},
        LengthCase{"VariableAtTheLastStart", Quoted(249) + ", 1;", 253, true, -1, false},
        LengthCase{"VariableStartsTooLate", Quoted(250) + ", 1;", 254, false, 250, false},
        LengthCase{"ListNameStartsTooLate", Quoted(250) + ", looser;", 259, false, 250, false},
        LengthCase{"ListNameRunsPastTheEnd", Quoted(249) + ", looser;", 258, false, 249, false},
        LengthCase{"UnknownEscapeCutsTheText", "\"ab\\gcd\";", 2, true, -1, true},
        LengthCase{"ZeroEscapeCutsTheText", "\"ab\\0cd\";", 2, true, -1, true},
        LengthCase{"NumberWithAPoint", "\"Hi \", 1.5;", 3, true, -1, true},
        LengthCase{"NegativeNumber", "\"Hi \", -1;", 3, true, -1, true},
        LengthCase{"NoSemicolon", "\"Hi\"", 2, true, -1, true},
        LengthCase{"NoComma", "\"Hi\" 1;", 2, true, -1, true},
        LengthCase{"UnclosedText", "\"Hi;", 0, true, -1, true},
        LengthCase{"MoreAfterTheEnd", "\"Hi\"; \"there\";", 2, true, -1, true}),
    [](const ::testing::TestParamInfo<LengthCase>& param) { return param.param.Name; });

struct EditorLengthCase
{
    std::string Line;
    std::size_t ChatType;
    int Length;
    bool Fits;
};

class EditorChatLineLength : public ::testing::TestWithParam<EditorLengthCase>
{};

TEST_P(EditorChatLineLength, CountsTheLineAsItWillBeWritten)
{
    ChatMessageLength counted =
        GameChatLength(GetParam().Line, GetParam().ChatType, test::FreshCatalogues().Chat);
    EXPECT_EQ(counted.Length, GetParam().Length);
    EXPECT_EQ(counted.Fits, GetParam().Fits);
    EXPECT_FALSE(counted.Problem) << *counted.Problem;
}

INSTANTIATE_TEST_SUITE_P(Table,
                         EditorChatLineLength,
                         ::testing::Values(EditorLengthCase{"Hi {RANDOMOPP}!", 0, 8, true},
                                           EditorLengthCase{"{RANDOMOPP} rocks", 0, 10, true},
                                           EditorLengthCase{"Say \"hi\" \\o/", 0, 12, true},
                                           EditorLengthCase{"{{GAMEENTER3}}", 0, 9, true},
                                           EditorLengthCase{"{{GAMEENTER0}}", 0, 8, true},
                                           EditorLengthCase{"{LOSER}", 0, 9, true},
                                           EditorLengthCase{"You {LOSER}!", 0, 14, true},
                                           // Not a pointer of game_enter: written as text.
                                           EditorLengthCase{"{ATTACKER} hi", 0, 13, true},
                                           EditorLengthCase{"{ATTACKER} hi", 15, 7, true},
                                           EditorLengthCase{"", 0, 0, true},
                                           EditorLengthCase{Text(255), 27, 255, true},
                                           EditorLengthCase{Text(254) + "\"", 27, 255, true},
                                           EditorLengthCase{Text(256), 27, 256, false},
                                           EditorLengthCase{
                                               Text(250) + "{RANDOMOPP2}", 26, 254, false}),
                         [](const ::testing::TestParamInfo<EditorLengthCase>& param) {
                             return test::ReadableName(param.param.Line.substr(0, 20), param.index);
                         });

} // namespace
} // namespace twl
