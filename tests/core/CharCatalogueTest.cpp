// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CharCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace twl {
namespace {

class CharCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override { InitCharCatalogue(m_names); }

    const CharCatalogue& Names() const { return m_names; }

    CharCatalogue m_names;
};

std::size_t CountTabs(const std::string& entry)
{
    return static_cast<std::size_t>(std::count(entry.begin(), entry.end(), '\t'));
}

// The column that the entry's TABs reach, with TAB stops every four columns.
std::size_t EndColumn(const std::string& entry)
{
    std::size_t column = 0;
    for (char c : entry) {
        column = c == '\t' ? (column / 4 + 1) * 4 : column + 1;
    }
    return column;
}

TEST_F(CharCatalogueTest, EveryEntryIsAnIdentifierFollowedByTabsOnly)
{
    for (std::size_t i = 0; i < Names().size(); ++i) {
        const std::string& entry = Names()[i];
        std::string identifier = CharIdentifier(entry);
        EXPECT_EQ(entry.substr(identifier.size()), std::string(CountTabs(entry), '\t')) << i;
        if (i != 84) {
            EXPECT_FALSE(identifier.empty()) << i;
        }
    }
}

TEST_F(CharCatalogueTest, TabsAlignValuesToTheirColumn)
{
    for (std::size_t i = 0; i < Names().size(); ++i) {
        const std::string& entry = Names()[i];
        if (i == 84) {
            continue;
        }
        std::size_t target = entry.rfind("#define ", 0) == 0 ? 32 : 44;
        EXPECT_EQ(EndColumn(entry), target) << i << " " << entry;
        // No TAB more than needed: one fewer would fall short of the column.
        std::string oneFewer = entry.substr(0, entry.size() - 1);
        EXPECT_LT(EndColumn(oneFewer), target) << i << " " << entry;
    }
}

TEST_F(CharCatalogueTest, KnownEntries)
{
    EXPECT_EQ(Names()[0], "CHARACTERISTIC_NAME" + std::string(7, '\t'));
    EXPECT_EQ(CountTabs(Names()[20]), 1u);
    EXPECT_EQ(Names()[74], "#define W_QUAD" + std::string(5, '\t'));
    EXPECT_EQ(Names()[84], "");
    EXPECT_EQ(Names()[45], Names()[56]);
    EXPECT_EQ(CharIdentifier(Names()[85]), "CHARACTERISTIC_CHAT_NAME");
    EXPECT_EQ(CharIdentifier(Names()[44]), "#define W_GAUNTLET");
}

TEST_F(CharCatalogueTest, OnlyTheDefineKeywordHasABlank)
{
    for (std::size_t i = 0; i < Names().size(); ++i) {
        std::string identifier = CharIdentifier(Names()[i]);
        std::size_t blanks =
            static_cast<std::size_t>(std::count(identifier.begin(), identifier.end(), ' '));
        bool isDefine = identifier.rfind("#define ", 0) == 0;
        EXPECT_EQ(blanks, isDefine ? 1u : 0u) << i;
        EXPECT_EQ(isDefine, i >= 44 && i <= 80) << i;
    }
}

TEST_F(CharCatalogueTest, ScopesFollowTheNumbering)
{
    for (std::size_t i = 2; i <= 43; ++i) {
        EXPECT_EQ(Names()[i].rfind("CHARACTERISTIC_", 0), 0u) << i;
    }
    for (std::size_t i = 32; i <= 43; ++i) {
        EXPECT_EQ(Names()[i].rfind("CHARACTERISTIC_CHAT_", 0), 0u) << i;
    }
    // The item file repeats the weapon file's weapon names with its own numbers.
    for (std::size_t i = 45; i <= 52; ++i) {
        EXPECT_EQ(Names()[i], Names()[i + 11]) << i;
    }
}

} // namespace
} // namespace twl
