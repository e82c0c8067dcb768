// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ShownText.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

TEST(ShownText, EscapesControlCharactersAndReadsOtherBytesAsTheGamesCodePage)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain ^1text", "plain ^1text"},
        {"tab\there\x1b[31m", "tab\\x09here\\x1B[31m"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"\xC2\x85 \x81 \x7F", "\\x85 \\x81 \\x7F"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ShownText(text), shown) << text;
    }
    EXPECT_EQ(ShownLines("one\x1b\ntwo\r\n\n"), "one\\x1B\ntwo\\x0D\n\n");
    EXPECT_EQ(WithoutColours("^1Error: ^^7x^"), "Error: ^x^");
}

} // namespace
} // namespace twl
