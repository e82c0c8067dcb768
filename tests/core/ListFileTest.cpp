// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ListFile.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

std::vector<std::string> Texts(const std::string& line)
{
    std::vector<std::string> texts;
    for (const ListField& field : SplitListFields(line)) {
        texts.push_back(field.Text);
    }
    return texts;
}

TEST(SplitListFields, QuotedFieldsMayHoldCommas)
{
    EXPECT_EQ(Texts("\"Sarge\",\"Black, ops\",\"my.pk3\",\"\""),
              (std::vector<std::string>{"Sarge", "Black, ops", "my.pk3", ""}));
}

TEST(SplitListFields, UnquotedFieldsAreTrimmed)
{
    EXPECT_EQ(Texts(" a , b,c "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Texts("\"Johnny\",\"bot-Johnny.pk3\",#TRUE#"),
              (std::vector<std::string>{"Johnny", "bot-Johnny.pk3", "#TRUE#"}));
    EXPECT_EQ(Texts("a,"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(Texts("").empty());
    EXPECT_TRUE(Texts("  \t").empty());
}

TEST(SplitListFields, AnUnclosedQuoteRunsToTheLineEnd)
{
    std::vector<ListField> fields = SplitListFields("\"cut short");
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].Text, "cut short");
    EXPECT_TRUE(fields[0].Quoted);
}

TEST(ListFields, Booleans)
{
    EXPECT_EQ(ParseBooleanField({"#TRUE#", false}), true);
    EXPECT_EQ(ParseBooleanField({"#FALSE#", false}), false);
    EXPECT_EQ(ParseBooleanField({"True", true}), true);
    EXPECT_EQ(ParseBooleanField({"-1", false}), true);
    EXPECT_EQ(ParseBooleanField({"0", false}), false);
    EXPECT_FALSE(ParseBooleanField({"yes", false}));
    EXPECT_EQ(BooleanField(true), "#TRUE#");
    EXPECT_EQ(BooleanField(false), "#FALSE#");
}

TEST(ListFields, TextsThatCannotBeStored)
{
    EXPECT_TRUE(CanStoreInListField("Black, ops"));
    EXPECT_FALSE(CanStoreInListField("say \"hi\""));
    EXPECT_FALSE(CanStoreInListField("two\nlines"));
}

} // namespace
} // namespace twl
