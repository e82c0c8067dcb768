// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/Synonyms.h"

#include "support/ParamNames.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

struct CheckCase
{
    std::string Input;
    std::string Expected;
};

void PrintTo(const CheckCase& checkCase, std::ostream* out)
{
    *out << '"' << checkCase.Input << "\" -> \"" << checkCase.Expected << '"';
}

std::string CheckCaseName(const ::testing::TestParamInfo<CheckCase>& info)
{
    return test::ReadableName(info.param.Input, info.index);
}

class CheckSynonymsCases : public ::testing::TestWithParam<CheckCase>
{};

TEST_P(CheckSynonymsCases, MarksListedWords)
{
    ScriptedMessages messages;
    SynonymList synonyms = {"hello", "", "Bot"};
    EXPECT_EQ(CheckSynonyms(synonyms, GetParam().Input, messages), GetParam().Expected);
    EXPECT_TRUE(messages.Received().empty());
}

INSTANTIATE_TEST_SUITE_P(Examples,
                         CheckSynonymsCases,
                         ::testing::Values(CheckCase{"Hello world", "~Hello world"},
                                           CheckCase{"say hello", "say ~hello"},
                                           CheckCase{"hello!", "hello!"},
                                           CheckCase{"hello ", "hello "},
                                           CheckCase{"a  b", "a b"},
                                           CheckCase{" a", "a"},
                                           CheckCase{"   a   b  c", "a b c"},
                                           CheckCase{"hello", "~hello"},
                                           CheckCase{"~hello", "~hello"},
                                           CheckCase{"x", "x"},
                                           CheckCase{"", ""},
                                           CheckCase{"hello bot HELLO", "~hello ~bot ~HELLO"}),
                         CheckCaseName);

TEST(CheckSynonyms, CheckingTwiceMarksOnce)
{
    ScriptedMessages messages;
    SynonymList synonyms = {"hello"};
    std::string once = CheckSynonyms(synonyms, "hello there hello", messages);
    EXPECT_EQ(CheckSynonyms(synonyms, once, messages), "~hello there ~hello");
}

TEST(CheckSynonyms, EmptyListIsReportedAndTheTextKept)
{
    ScriptedMessages messages;
    SynonymList synonyms = {""};
    EXPECT_EQ(CheckSynonyms(synonyms, "  hello  world", messages), "  hello  world");
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0],
              (ScriptedMessages::Message{
                  ScriptedMessages::Kind::Inform,
                  "Synonym list is missing",
                  "Synonym list is empty. Check that file 'twl_synonyms' exists in Tarnwell "
                  "folder. You can create a new 'twl_synonyms' by adding synomyns from the "
                  "Tools-menu"}));
}

TEST(AddSynonym, AsksAndAppends)
{
    ScriptedMessages messages;
    SynonymList synonyms = {""};
    messages.ExpectTextQuestion(std::string("hello"));
    EXPECT_TRUE(AddSynonym(synonyms, messages));
    EXPECT_EQ(synonyms, (SynonymList{"", "hello"}));
    EXPECT_EQ(messages.Received()[0],
              (ScriptedMessages::Message{
                  ScriptedMessages::Kind::AskText, "Add synonym", "Give the new synonym"}));
    EXPECT_FALSE(IsSynonymListEmpty(synonyms));
    EXPECT_EQ(CheckSynonyms(synonyms, "hello", messages), "~hello");
}

TEST(AddSynonym, ListedWordIsRefusedWithoutRegardToCase)
{
    ScriptedMessages messages;
    SynonymList synonyms = {"hello"};
    messages.ExpectTextQuestion(std::string("Hello"));
    EXPECT_FALSE(AddSynonym(synonyms, messages));
    EXPECT_EQ(synonyms, SynonymList{"hello"});
    ASSERT_EQ(messages.Received().size(), 2u);
    EXPECT_EQ(messages.Received()[1],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Inform,
                                         "Synonym not added",
                                         "Synonym 'Hello' exists in the list already."}));
}

TEST(AddSynonym, EmptyAnswerOrCancelDoesNothing)
{
    ScriptedMessages messages;
    SynonymList synonyms = {"hello"};
    messages.ExpectTextQuestion(std::string());
    messages.ExpectTextQuestion(std::nullopt);
    EXPECT_FALSE(AddSynonym(synonyms, messages));
    EXPECT_FALSE(AddSynonym(synonyms, messages));
    EXPECT_EQ(synonyms, SynonymList{"hello"});
    EXPECT_EQ(messages.Received().size(), 2u);
}

TEST(SynonymFile, RoundTripAndLayout)
{
    TempFolder folder;
    ScriptedMessages messages;
    SynonymList written = {"", "hello", "", "good, day"};
    ASSERT_TRUE(SaveSynonyms(written, folder.Path(), messages).Ok());
    EXPECT_EQ(test::ReadBytes(folder / "twl_synonyms"),
              "[Tarnwell synonym list]\r\n\"hello\"\r\n\"good, day\"\r\n");
    SynonymList read;
    LoadSynonyms(read, folder.Path());
    EXPECT_EQ(read, (SynonymList{"hello", "good, day"}));
}

TEST(SynonymFile, EmptyListLeavesTheFileAlone)
{
    TempFolder folder;
    ScriptedMessages messages;
    test::WriteBytes(folder / "twl_synonyms", "old");
    ASSERT_TRUE(SaveSynonyms(SynonymList{""}, folder.Path(), messages).Ok());
    EXPECT_EQ(test::ReadBytes(folder / "twl_synonyms"), "old");
}

TEST(SynonymFile, OtherHeaderAndUnquotedWordsReadAllTheSame)
{
    TempFolder folder;
    test::WriteBytes(folder / "twl_synonyms", "[Something else]\nfoo, bar,baz\n\"qux\"");
    SynonymList read;
    LoadSynonyms(read, folder.Path());
    EXPECT_EQ(read, (SynonymList{"foo", "bar", "baz", "qux"}));
}

TEST(SynonymFile, MissingFileGivesAnEmptyList)
{
    TempFolder folder;
    SynonymList read = {"stale"};
    LoadSynonyms(read, folder.Path());
    EXPECT_TRUE(IsSynonymListEmpty(read));
}

TEST(SynonymFile, WordWithADoubleQuoteIsNotStored)
{
    TempFolder folder;
    ScriptedMessages messages;
    ASSERT_TRUE(SaveSynonyms(SynonymList{"fine", "say \"hi\""}, folder.Path(), messages).Ok());
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Title, "Not stored");
    EXPECT_NE(messages.Received()[0].Text.find("say \"hi\""), std::string::npos);
    SynonymList read;
    LoadSynonyms(read, folder.Path());
    EXPECT_EQ(read, SynonymList{"fine"});
}

} // namespace
} // namespace twl
