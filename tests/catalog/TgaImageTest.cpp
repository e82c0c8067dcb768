#include "catalog/TgaImage.h"

#include "support/ParamNames.h"
#include "support/TgaBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace twl {
namespace {

using test::MakeTga;
using test::PatternImage;
using test::TgaOptions;

// A header of 18 bytes as the file format lays it out.
std::string Header(int imageType,
                   int bitsPerPixel,
                   int width,
                   int height,
                   int descriptor = 0,
                   int idLength = 0,
                   int colourMapType = 0)
{
    std::string header(18, '\0');
    header[0] = static_cast<char>(idLength);
    header[1] = static_cast<char>(colourMapType);
    header[2] = static_cast<char>(imageType);
    test::SetHeaderWord(header, 12, static_cast<std::uint16_t>(width));
    test::SetHeaderWord(header, 14, static_cast<std::uint16_t>(height));
    header[16] = static_cast<char>(bitsPerPixel);
    header[17] = static_cast<char>(descriptor);
    return header;
}

std::string Bgra(int blue, int green, int red, int alpha)
{
    return {static_cast<char>(blue),
            static_cast<char>(green),
            static_cast<char>(red),
            static_cast<char>(alpha)};
}

RgbaImage Filled(int width, int height, std::vector<std::uint8_t> rgba)
{
    RgbaImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        image.Pixels.insert(image.Pixels.end(), rgba.begin(), rgba.end());
    }
    return image;
}

// Cases are named and printed by their names: their bytes say little.
template <typename Case> std::string CaseName(const ::testing::TestParamInfo<Case>& info)
{
    return test::ReadableName(info.param.Name, info.index);
}

// --- Every kind of icon the game ships decodes to the pixels written.

struct GoodCase
{
    std::string Name;
    RgbaImage Image;
    TgaOptions Options;
};

void PrintTo(const GoodCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::vector<GoodCase> GoodCases()
{
    std::vector<GoodCase> cases;
    for (int bits : {32, 24, 8}) {
        for (bool runLength : {false, true}) {
            for (bool top : {false, true}) {
                for (auto [width, height] : {std::pair{7, 5}, std::pair{130, 9}}) {
                    std::string name = "Bits" + std::to_string(bits) +
                                       (runLength ? " run length" : " uncompressed") +
                                       (top ? " from top " : " from bottom ") +
                                       std::to_string(width) + "x" + std::to_string(height);
                    TgaOptions options;
                    options.BitsPerPixel = bits;
                    options.RunLength = runLength;
                    options.TopOrigin = top;
                    cases.push_back(
                        {name, PatternImage(width, height, bits != 32, bits == 8), options});
                }
            }
        }
    }
    TgaOptions extras;
    extras.RunLength = true;
    extras.Id = "made by a test";
    extras.Trailer = std::string(8, '\0') + "TRUEVISION-XFILE." + std::string(1, '\0');
    cases.push_back({"With an ID field and a footer", PatternImage(12, 6, false, false), extras});
    cases.push_back({"One pixel", PatternImage(1, 1, false, false), TgaOptions{}});
    TgaOptions greyRunLength;
    greyRunLength.BitsPerPixel = 8;
    greyRunLength.RunLength = true;
    cases.push_back({"Largest side", PatternImage(MaxTgaSide, 3, true, true), greyRunLength});
    cases.push_back(
        {"Largest square", PatternImage(MaxTgaSide, MaxTgaSide, true, true), greyRunLength});
    return cases;
}

class DecodeTgaGood : public ::testing::TestWithParam<GoodCase>
{};

TEST_P(DecodeTgaGood, GivesExactlyThePixelsWritten)
{
    const GoodCase& good = GetParam();
    std::optional<RgbaImage> decoded = DecodeTga(MakeTga(good.Image, good.Options));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Width, good.Image.Width);
    EXPECT_EQ(decoded->Height, good.Image.Height);
    EXPECT_TRUE(decoded->Pixels == good.Image.Pixels);
}

INSTANTIATE_TEST_SUITE_P(Kinds,
                         DecodeTgaGood,
                         ::testing::ValuesIn(GoodCases()),
                         CaseName<GoodCase>);

// --- The last packet may hold more pixels than the picture has left, as the
// game's own writer and reader allow: the rest is not used.

struct OverrunCase
{
    std::string Name;
    std::string Bytes;
    RgbaImage Expected;
};

void PrintTo(const OverrunCase& value, std::ostream* out)
{
    *out << value.Name;
}

class DecodeTgaOverrun : public ::testing::TestWithParam<OverrunCase>
{};

TEST_P(DecodeTgaOverrun, UsesThePicturesPixelsOnly)
{
    std::optional<RgbaImage> decoded = DecodeTga(GetParam().Bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Packets,
    DecodeTgaOverrun,
    ::testing::Values(OverrunCase{"Repeat packet of five for three pixels",
                                  Header(10, 32, 3, 1) + "\x84" + Bgra(1, 2, 3, 4),
                                  Filled(3, 1, {3, 2, 1, 4})},
                      OverrunCase{"Raw packet of four for two pixels",
                                  Header(10, 32, 2, 1) + "\x03" + Bgra(1, 2, 3, 4) +
                                      Bgra(1, 2, 3, 4) + Bgra(9, 9, 9, 9) + Bgra(9, 9, 9, 9),
                                  Filled(2, 1, {3, 2, 1, 4})},
                      OverrunCase{"Grey repeat packet across both rows",
                                  Header(11, 8, 2, 2) + "\x83\x7f",
                                  Filled(2, 2, {127, 127, 127, 255})}),
    CaseName<OverrunCase>);

// --- Damaged files and kinds the game does not load give nothing.

struct BadCase
{
    std::string Name;
    std::string Bytes;
};

void PrintTo(const BadCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::vector<BadCase> BadCases()
{
    const RgbaImage picture = PatternImage(7, 5, false, false);
    const std::string plain = MakeTga(picture, TgaOptions{});
    TgaOptions runLength;
    runLength.RunLength = true;
    const std::string packed = MakeTga(picture, runLength);
    auto withWord = [](std::string bytes, std::size_t at, std::uint16_t value) {
        test::SetHeaderWord(bytes, at, value);
        return bytes;
    };
    auto withByte = [](std::string bytes, std::size_t at, int value) {
        bytes[at] = static_cast<char>(value);
        return bytes;
    };
    const std::string pixel = Bgra(10, 20, 30, 40);
    return {
        {"Empty", ""},
        {"Header cut short", plain.substr(0, 17)},
        {"Header alone", plain.substr(0, 18)},
        {"Uncompressed without its last byte", plain.substr(0, plain.size() - 1)},
        {"Uncompressed cut in half", plain.substr(0, plain.size() / 2)},
        {"Run length without its last byte", packed.substr(0, packed.size() - 1)},
        {"Run length cut in half", packed.substr(0, packed.size() / 2)},
        {"Width 65535", withWord(plain, 12, 65535)},
        {"Height 65535", withWord(plain, 14, 65535)},
        {"Both sides 65535 run length", withWord(withWord(packed, 12, 65535), 14, 65535)},
        {"Width one above the limit", withWord(plain, 12, MaxTgaSide + 1)},
        {"Width 0", withWord(plain, 12, 0)},
        {"Height 0", withWord(plain, 14, 0)},
        {"Repeat packet without its whole pixel",
         Header(10, 32, 4, 1) + "\x83" + pixel.substr(0, 2)},
        {"Repeat packet without its pixel", Header(10, 32, 4, 1) + "\x83"},
        {"Raw packet past the end", Header(10, 32, 4, 1) + "\x03" + pixel + pixel + pixel},
        {"Raw packet longer than picture and file", Header(10, 32, 2, 1) + "\x03" + pixel + pixel},
        {"Packets end before the picture", Header(10, 32, 4, 1) + "\x81" + pixel},
        {"Grey packets end before the picture", Header(11, 8, 4, 4) + "\x8e\x01"},
        {"ID field past the end", withByte(plain.substr(0, 40), 0, 200)},
        {"Colour mapped", Header(1, 8, 2, 1, 0, 0, 1) + std::string(5, '\0')},
        {"Colour mapped run length", Header(9, 8, 2, 1, 0, 0, 1) + std::string(5, '\0')},
        {"Colour map with true colour", withByte(plain, 1, 1)},
        {"Sixteen bit colour", Header(2, 16, 2, 1) + std::string(4, '\x7f')},
        {"Fifteen bit colour", Header(2, 15, 2, 1) + std::string(4, '\x7f')},
        {"Grey with alpha", Header(3, 16, 2, 1) + std::string(4, '\x7f')},
        {"Grey with 24 bits", Header(3, 24, 2, 1) + std::string(6, '\x7f')},
        {"True colour with 8 bits", Header(2, 8, 2, 1) + std::string(2, '\x7f')},
        {"No image data type", Header(0, 32, 2, 1) + pixel + pixel},
        {"Huffman compressed type", Header(32, 32, 2, 1) + pixel + pixel},
        {"Not a picture", std::string(40, 'x')},
        {"PNG signature", "\x89PNG\r\n\x1a\n" + std::string(40, '\0')},
    };
}

class DecodeTgaBad : public ::testing::TestWithParam<BadCase>
{};

TEST_P(DecodeTgaBad, GivesNothing)
{
    EXPECT_FALSE(DecodeTga(GetParam().Bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeTgaBad, ::testing::ValuesIn(BadCases()), CaseName<BadCase>);

} // namespace
} // namespace twl
