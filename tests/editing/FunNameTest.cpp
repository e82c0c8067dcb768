// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/FunName.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

TEST(FunNameRuns, CodesColourWhatFollows)
{
    struct Case
    {
        const char* FunName;
        std::vector<ColouredRun> Runs;
    };

    const Case cases[] = {
        {"^1Red^7White", {{"Red", 1}, {"White", 7}}},
        {"a^9b", {{"a^9b", -1}}},
        {"end^", {{"end^", -1}}},
        {"^^1x", {{"^", -1}, {"x", 1}}},
        {"^1^2x", {{"x", 2}}},
        {"^0dark^8", {{"dark^8", 0}}},
        {"plain", {{"plain", -1}}},
        {"^3", {}},
        {"", {}},
        {"Zo\xC3\xAB^4!", {{"Zo\xC3\xAB", -1}, {"!", 4}}},
    };
    for (const Case& c : cases) {
        std::vector<ColouredRun> runs = FunNameRuns(c.FunName);
        ASSERT_EQ(runs.size(), c.Runs.size()) << c.FunName;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            EXPECT_EQ(runs[r].Text, c.Runs[r].Text) << c.FunName;
            EXPECT_EQ(runs[r].Colour, c.Runs[r].Colour) << c.FunName;
        }
    }
    EXPECT_EQ(ColourOfCode(3).Red, 255);
    EXPECT_EQ(ColourOfCode(3).Green, 255);
    EXPECT_EQ(ColourOfCode(3).Blue, 0);
}

TEST(FunNameRuns, ColourButtonsInsertAtTheCursor)
{
    std::optional<TextAndCursor> atStart = InsertColourCode("Bot", 0, 1);
    ASSERT_TRUE(atStart);
    EXPECT_EQ(atStart->Text, "^1Bot");
    EXPECT_EQ(atStart->Cursor, 2u);
    std::optional<TextAndCursor> inside = InsertColourCode("Bot", 1, 7);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->Text, "B^7ot");
    EXPECT_EQ(inside->Cursor, 3u);
    std::optional<TextAndCursor> pastEnd = InsertColourCode("Bot", 9, 4);
    ASSERT_TRUE(pastEnd);
    EXPECT_EQ(pastEnd->Text, "Bot^4");
    EXPECT_FALSE(InsertColourCode("", 0, 1));
}

} // namespace
} // namespace twl
