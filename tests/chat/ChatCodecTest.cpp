// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatCodec.h"

#include "support/ParamNames.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace twl {
namespace {

using test::FreshCatalogues;

const ChatCatalogue& Chat()
{
    return FreshCatalogues().Chat;
}

std::string Encode(const std::string& text, std::size_t type = 0)
{
    return EncodeChatLine(text, type, Chat());
}

std::string Decode(const std::string& line, std::size_t type = 0)
{
    return DecodeChatLine(line, type, Chat());
}

struct CodecCase
{
    std::string Editor;
    std::string File;
};

void PrintTo(const CodecCase& codecCase, std::ostream* out)
{
    *out << '"' << codecCase.Editor << "\" <-> " << codecCase.File;
}

std::string CodecCaseName(const ::testing::TestParamInfo<CodecCase>& info)
{
    return test::ReadableName(info.param.Editor, info.index);
}

class ChatCodecExamples : public ::testing::TestWithParam<CodecCase>
{};

TEST_P(ChatCodecExamples, EncodeAndDecodeForGameEntry)
{
    EXPECT_EQ(Encode(GetParam().Editor), GetParam().File);
    EXPECT_EQ(Decode(GetParam().File), GetParam().Editor);
}

INSTANTIATE_TEST_SUITE_P(
    Table,
    ChatCodecExamples,
    ::testing::Values(CodecCase{"Hi {RANDOMOPP}!", "\"Hi \", 1, \"!\";"},
                      CodecCase{"Bye {RANDOMOPP}", "\"Bye \", 1;"},
                      CodecCase{"{RANDOMOPP} rocks", " 1, \" rocks\";"},
                      CodecCase{"{RANDOMOPP}", "1;"},
                      CodecCase{"You {LOSER}!", "\"You \", looser, \"!\";"},
                      CodecCase{"{LOSER}", "looser;"},
                      CodecCase{"{{GAMEENTER0}}", "HELLO;"},
                      CodecCase{"{{GAMEENTER3}}", "HELLO3;"},
                      CodecCase{"{{DEATHLAVA0}}", "DEATH_LAVA0;"},
                      CodecCase{"{ATTACKER} hi", "\"{ATTACKER} hi\";"},
                      CodecCase{"", "\"\";"},
                      CodecCase{"{LOSER} and {NERD}", "looser, \" and \", nerd;"},
                      CodecCase{"Go {LEVELTITLE}, {ANYBOTNAME}!", "\"Go \", 4, \", \", 0, \"!\";"}),
    CodecCaseName);

TEST(ChatCodec, ListsWithSimilarNames)
{
    EXPECT_EQ(Encode("{{TAUNTFEM3}}", 26), "TAUNT_FEM3;");
    EXPECT_EQ(Decode("TAUNT_FEM3;", 26), "{{TAUNTFEM3}}");
    EXPECT_EQ(Encode("{{TAUNT3}}", 26), "TAUNT3;");
    EXPECT_EQ(Decode("TAUNT3;", 26), "{{TAUNT3}}");
    EXPECT_EQ(Encode("{{LEVELENDVICTORY2}}", 4), "LEVEL_END_VICTORY2;");
    EXPECT_EQ(Decode("LEVEL_END_VICTORY2;", 4), "{{LEVELENDVICTORY2}}");
    EXPECT_EQ(Encode("{{LEVELENDLOSE1}}", 5), "LEVEL_END_LOSE1;");
    EXPECT_EQ(Encode("{{LEVELEND2}}", 3), "LEVEL_END2;");
    EXPECT_EQ(Decode("LEVEL_END2;", 3), "{{LEVELEND2}}");
    EXPECT_EQ(Encode("{{KILLTELEFRAG5}}", 22), "TELEFRAGGED5;");
    EXPECT_EQ(Decode("TELEFRAGGED5;", 22), "{{KILLTELEFRAG5}}");
    EXPECT_EQ(Decode("DEATH_TELEFRAGGED2;", 9), "{{DEATHTELEFRAG2}}");
    EXPECT_EQ(Decode("D_PRAISE4;", 19), "{{DEATHPRAISE4}}");
    EXPECT_EQ(Decode("PRAISE4;", 25), "{{KILLPRAISE4}}");
}

TEST(ChatCodec, EveryListReferenceRoundTrips)
{
    for (const ChatEntry& list : Chat().ChatLists) {
        for (int member : {0, 1, static_cast<int>(list.MaxIndex)}) {
            std::string reference = list.Token + std::to_string(member) + "}}";
            std::string file = Encode(reference, 27);
            std::string expected = member == 0 && list.BareZero
                                       ? list.FileName + ";"
                                       : list.FileName + std::to_string(member) + ";";
            EXPECT_EQ(file, expected) << reference;
            EXPECT_EQ(Decode(file, 27), reference) << file;
        }
    }
    EXPECT_EQ(Encode("{{gameenter2}}"), "HELLO2;") << "the token is found in any case";
    EXPECT_EQ(Decode("HELLO;"), "{{GAMEENTER0}}");
}

TEST(ChatCodec, EveryAdmittedPointerAtStartMiddleAndEnd)
{
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        for (int p : PointerSet(type)) {
            const std::string& token = Chat().ChatPointers[static_cast<std::size_t>(p)].Token;
            for (const std::string& line : {token + " starts",
                                            "in " + token + " the middle",
                                            "ends " + token,
                                            "two " + token + " and " + token}) {
                std::string file = Encode(line, type);
                EXPECT_EQ(file.find(token), std::string::npos) << file;
                EXPECT_EQ(Decode(file, type), line) << "type " << type << ": " << file;
            }
        }
    }
}

TEST(ChatCodec, EveryWordListAtStartMiddleEndAndAlone)
{
    for (const ChatEntry& word : Chat().WordLists) {
        for (const std::string& line :
             {word.Token, word.Token + " first", "a " + word.Token + " b", "last " + word.Token}) {
            std::string file = Encode(line, 26);
            EXPECT_EQ(Decode(file, 26), line) << file;
        }
        EXPECT_EQ(Encode(word.Token, 26), word.FileName + ";");
    }
}

TEST(ChatCodec, PointersOutsideTheSetStayText)
{
    EXPECT_EQ(Encode("{TARGET} hit", 0), "\"{TARGET} hit\";");
    EXPECT_EQ(Decode("\"{TARGET} hit\";", 0), "{TARGET} hit");
    // Variable 5 in a game_enter line: no button of that type names it, but
    // the game fills it, so it stays a variable and comes back as one.
    EXPECT_EQ(Decode("\"a \", 5, \" b\";", 0), "a {5} b");
    EXPECT_EQ(Encode("a {5} b", 0), "\"a \", 5, \" b\";");
    EXPECT_EQ(Decode("5;", 0), "{5}");
    EXPECT_EQ(Encode("{5}", 0), "5;");
    // Telefrag deaths name the attacker with pointer 10 ("0"), not 5.
    EXPECT_EQ(Encode("by {ATTACKER}", 9), "\"by \", 0;");
    EXPECT_EQ(Encode("by {ATTACKER}", 15), "\"by \", 0;");
}

TEST(ChatCodec, BackslashesAndQuotesAreEscapedInsideTexts)
{
    EXPECT_EQ(Encode("\\o/ yay"), "\"\\\\o/ yay\";");
    EXPECT_EQ(Decode("\"\\\\o/ yay\";"), "\\o/ yay");
    EXPECT_EQ(Encode("say \"hi\" {RANDOMOPP}"), "\"say \\\"hi\\\" \", 1;");
    EXPECT_EQ(Decode("\"say \\\"hi\\\" \", 1;"), "say \"hi\" {RANDOMOPP}");
    EXPECT_EQ(Decode(Encode("ends with \\")), "ends with \\");
    EXPECT_EQ(Decode(Encode("\"")), "\"");
}

TEST(ChatCodec, QuotedTextIsNeverAReference)
{
    EXPECT_EQ(Decode("\"I said HELLO\";"), "I said HELLO");
    EXPECT_EQ(Decode("\"MISC\";"), "MISC");
    EXPECT_EQ(Decode("\"good\";"), "good");
    EXPECT_EQ(Encode("good"), "\"good\";");
    EXPECT_EQ(Decode("GOOD;"), "{GOOD}") << "a bare word list matches in any case";
    EXPECT_EQ(Decode("fighter;", 24), "{FIGHTER}");
}

TEST(ChatCodec, TokensTypedIntoTextStayText)
{
    EXPECT_EQ(Encode("see {{GAMEENTER3}} here"), "\"see {{GAMEENTER3}} here\";");
    EXPECT_EQ(Encode("{{GAMEENTERx}}"), "\"{{GAMEENTERx}}\";");
}

TEST(ChatCodec, GameStyleLines)
{
    EXPECT_EQ(Decode("\"Oh man, \", 4, \" again?!?\";", 0), "Oh man, {LEVELTITLE} again?!?");
    EXPECT_EQ(Decode("\"\", 3, \" won this one\";", 5), "{LEVELLOSER} won this one");
    EXPECT_EQ(Decode("\"Hi \", 0, \", you \", looser, \"!\";", 0), "Hi {ANYBOTNAME}, you {LOSER}!");
    EXPECT_EQ(Decode("GOODBYE1;", 1), "{{GAMEEXIT1}}");
    EXPECT_EQ(Decode("TAUNT4;", 24), "{{TAUNT4}}");
}

} // namespace
} // namespace twl

namespace twl {
namespace {

// The slower of the two directions, best of three: the time of one line.
TEST(ChatCodecLength, LongLinesComeBackWhole)
{
    // Lines that took quadratic time: escaped quotes, many tokens, ", ".
    // Each 4 MiB line goes both ways in a second or so; quadratic time would
    // not end within the test's time limit, whatever the machine.
    struct Case
    {
        std::string Unit;     // the editor's form, repeated
        std::string FileUnit; // the file's form, repeated inside quotes
    };

    const std::vector<Case> cases = {
        {"\"", "\\\""},
        {"{GOOD}", "\", good, \""},
        {"\", \"", "\\\", \\\""},
    };
    for (const Case& c : cases) {
        std::string editor;
        std::string file = "\"";
        while (editor.size() < 4 * 1024 * 1024) {
            editor += c.Unit + "x";
            file += c.FileUnit + "x";
        }
        file += "\";";
        const ChatCatalogue& chat = test::FreshCatalogues().Chat;
        // Compared whole, not printed: the lines are megabytes long.
        EXPECT_TRUE(DecodeChatLine(EncodeChatLine(editor, 0, chat), 0, chat) == editor) << c.Unit;
        EXPECT_TRUE(DecodeChatLine(file, 0, chat) == editor) << c.Unit;
    }
}

} // namespace
} // namespace twl

namespace twl {
namespace {

// The slower of the two directions, best of three: the time of one line.
} // namespace
} // namespace twl
