// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/TgaImage.h"

#include "support/TgaBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace twl {
namespace {

using test::MakeTga;
using test::PatternImage;
using test::TgaOptions;

// A header of 18 bytes: image type, bits a pixel, sides, and the colour map
// type at byte 1.
std::string Header(int imageType, int bitsPerPixel, int width, int height, int colourMap = 0)
{
    std::string header(18, '\0');
    header[1] = static_cast<char>(colourMap);
    header[2] = static_cast<char>(imageType);
    test::SetHeaderWord(header, 12, static_cast<std::uint16_t>(width));
    test::SetHeaderWord(header, 14, static_cast<std::uint16_t>(height));
    header[16] = static_cast<char>(bitsPerPixel);
    return header;
}

const std::string Pixel = "\x0a\x14\x1e\x28"; // B G R A

TEST(DecodeTga, GivesExactlyThePixelsOfEveryKindTheGameShips)
{
    for (int bits : {32, 24, 8}) {
        for (bool runLength : {false, true}) {
            for (bool top : {false, true}) {
                // 130 pixels a row: runs longer than a packet, across rows.
                for (auto [width, height] : {std::pair{7, 5}, std::pair{130, 9}}) {
                    TgaOptions options;
                    options.BitsPerPixel = bits;
                    options.RunLength = runLength;
                    options.TopOrigin = top;
                    const RgbaImage image = PatternImage(width, height, bits != 32, bits == 8);
                    SCOPED_TRACE(testing::Message()
                                 << bits << " bits, run length " << runLength << ", top " << top
                                 << ", " << width << "x" << height);
                    std::optional<RgbaImage> decoded = DecodeTga(MakeTga(image, options));
                    ASSERT_TRUE(decoded);
                    EXPECT_TRUE(*decoded == image);
                }
            }
        }
    }
}

TEST(DecodeTga, TakesTheFieldsAroundThePixelsAndTheLargestSides)
{
    TgaOptions extras;
    extras.RunLength = true;
    extras.Id = "made by a test";
    extras.Trailer = std::string(8, '\0') + "TRUEVISION-XFILE." + std::string(1, '\0');
    TgaOptions grey;
    grey.BitsPerPixel = 8;
    grey.RunLength = true;
    const std::vector<std::pair<RgbaImage, TgaOptions>> cases = {
        {PatternImage(12, 6, false, false), extras},
        {PatternImage(1, 1, false, false), TgaOptions{}},
        {PatternImage(MaxTgaSide, 2, true, true), grey},
        {PatternImage(2, MaxTgaSide, true, true), grey}};
    for (const auto& [image, options] : cases) {
        SCOPED_TRACE(testing::Message() << image.Width << "x" << image.Height);
        std::optional<RgbaImage> decoded = DecodeTga(MakeTga(image, options));
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(*decoded == image);
    }
}

// The last packet may hold more pixels than the picture has left, as the
// game's reader allows; the rest are not used.
TEST(DecodeTga, UsesALastPacketOnlyUpToThePicturesEnd)
{
    const std::vector<std::uint8_t> rgba = {0x1e, 0x14, 0x0a, 0x28};
    const std::vector<std::pair<std::string, RgbaImage>> cases = {
        {Header(10, 32, 3, 1) + "\x84" + Pixel, {3, 1, {}}},
        {Header(10, 32, 2, 1) + "\x03" + Pixel + Pixel + std::string(8, '\x7f'), {2, 1, {}}}};
    for (auto [bytes, expected] : cases) {
        for (int i = 0; i < expected.Width * expected.Height; ++i) {
            expected.Pixels.insert(expected.Pixels.end(), rgba.begin(), rgba.end());
        }
        EXPECT_EQ(DecodeTga(bytes), expected) << expected.Width;
    }
}

TEST(DecodeTga, GivesNothingForDamagedFilesAndOtherKinds)
{
    const RgbaImage picture = PatternImage(7, 5, false, false);
    const std::string plain = MakeTga(picture, TgaOptions{});
    TgaOptions runLength;
    runLength.RunLength = true;
    const std::string packed = MakeTga(picture, runLength);
    auto changed = [](std::string bytes, std::size_t at, std::uint16_t word) {
        test::SetHeaderWord(bytes, at, word);
        return bytes;
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"header cut short", plain.substr(0, 17)},
        {"header alone", plain.substr(0, 18)},
        {"uncompressed without its last byte", plain.substr(0, plain.size() - 1)},
        {"run length without its last byte", packed.substr(0, packed.size() - 1)},
        {"width 65535", changed(plain, 12, 65535)},
        {"height 65535", changed(plain, 14, 65535)},
        {"width above the limit", changed(plain, 12, MaxTgaSide + 1)},
        {"width 0", changed(plain, 12, 0)},
        {"repeat packet without its whole pixel", Header(10, 32, 4, 1) + "\x83" + Pixel.substr(2)},
        {"raw packet past the end", Header(10, 32, 4, 1) + "\x03" + Pixel + Pixel + Pixel},
        {"raw packet past picture and file", Header(10, 32, 2, 1) + "\x03" + Pixel + Pixel},
        {"packets end before the picture", Header(10, 32, 4, 1) + "\x81" + Pixel},
        {"ID field past the end", std::string(1, '\xc8') + plain.substr(1, 40)},
        {"colour mapped", Header(1, 8, 2, 1, 1) + std::string(5, '\0')},
        {"colour map with true colour", Header(2, 32, 1, 1, 1) + Pixel},
        {"16-bit colour", Header(2, 16, 2, 1) + Pixel},
        {"grey with alpha", Header(3, 16, 2, 1) + Pixel},
        {"grey with 24 bits", Header(3, 24, 1, 1) + Pixel},
        {"colour with 8 bits", Header(2, 8, 4, 1) + Pixel},
        {"no image data", Header(0, 32, 1, 1) + Pixel},
        {"not a picture", std::string(40, 'x')},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_FALSE(DecodeTga(bytes)) << name;
    }
}

} // namespace
} // namespace twl
