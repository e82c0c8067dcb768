// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Cp1252.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte) {
        allBytes += static_cast<char>(byte);
    }
    std::string utf8 = DecodeCp1252(allBytes);
    Result<std::string> encoded = EncodeCp1252(utf8);
    ASSERT_TRUE(encoded) << encoded.Error().Reason;
    EXPECT_EQ(encoded.Value(), allBytes);
}

TEST(Cp1252, DecodesTheWindowsCharacters)
{
    EXPECT_EQ(DecodeCp1252("\x80"), "€");
    EXPECT_EQ(DecodeCp1252("\x8A\x9A"), "Šš");
    EXPECT_EQ(DecodeCp1252("\x93x\x94"), "“x”");
    EXPECT_EQ(DecodeCp1252("\xE9"), "é");
    EXPECT_EQ(DecodeCp1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(Cp1252, CharactersItCannotHoldAreReported)
{
    Result<std::string> encoded = EncodeCp1252("Bot \u0416");
    ASSERT_FALSE(encoded);
    EXPECT_NE(encoded.Error().Reason.find("U+0416"), std::string::npos);

    EXPECT_FALSE(EncodeCp1252("\x80")) << "a lone byte is not UTF-8";
    // The C1 controls that Windows-1252 maps to other characters have no byte.
    EXPECT_FALSE(EncodeCp1252("\u0080"));
}

} // namespace
} // namespace twl
