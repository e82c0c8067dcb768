// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextCase.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

// Lowering into a buffer gives what LowerCase gives, for every ASCII byte
// at every place of the eight-byte steps, for the letters beyond ASCII
// (wherever they fall) and for bytes that are no UTF-8; the buffer's old
// text never shows through.
TEST(LowerCaseInto, GivesWhatLowerCaseGives)
{
    std::vector<std::string> texts = {"",
                                      "A",
                                      "MODELS/PLAYERS/SARGE/ICON_RED.TGA",
                                      "@AZ[`az{",
                                      "12345678ABCDEFGH",
                                      "Caf\u00C9/\u00C5SA_C.C",
                                      "abcdefg\u0160",
                                      "ABCDEFGH\xFF"};
    for (int byte = 1; byte < 0x80; ++byte) {
        for (std::size_t place = 0; place < 10; ++place) {
            std::string text(10, 'Q');
            text[place] = static_cast<char>(byte);
            texts.push_back(text);
        }
    }
    std::string lower = "left over from an earlier, longer name";
    for (const std::string& text : texts) {
        LowerCaseInto(text, lower);
        EXPECT_EQ(lower, LowerCase(text)) << text;
    }
}

} // namespace
} // namespace twl
