#include "editor/IconImages.h"

#include "support/ParamNames.h"
#include "support/TgaBytes.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using Kind = IconChoice::Kind;

// --- Decoded pixels reach the QImage unchanged, alpha included.

TEST(ToQImage, KeepsEveryPixelAndItsAlpha)
{
    const std::vector<RgbaImage> images = {test::PatternImage(7, 5, false, false),
                                           test::PatternImage(1, 1, false, false),
                                           test::PatternImage(130, 3, true, true)};
    for (const RgbaImage& image : images) {
        QImage converted = ToQImage(image);
        ASSERT_EQ(converted.width(), image.Width);
        ASSERT_EQ(converted.height(), image.Height);
        for (int y = 0; y < image.Height; ++y) {
            for (int x = 0; x < image.Width; ++x) {
                const std::uint8_t* rgba =
                    image.Pixels.data() + (static_cast<std::size_t>(y * image.Width + x)) * 4;
                EXPECT_EQ(converted.pixelColor(x, y), QColor(rgba[0], rgba[1], rgba[2], rgba[3]))
                    << image.Width << "x" << image.Height << " at " << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(ToQImage(RgbaImage()).isNull());
    EXPECT_TRUE(ToQImage(RgbaImage{2, 2, std::vector<std::uint8_t>(15, 0)}).isNull());
}

// --- The fixed images come out of the program's resources.

TEST(FixedImage, EachNameHasItsOwnPictureAndOtherNamesNone)
{
    std::vector<QImage> seen;
    for (const char* name : {"notfound", "notinuse", "userdef"}) {
        QImage image = FixedImage(name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(64, 64)) << name;
        for (const QImage& other : seen) {
            EXPECT_NE(image, other) << name;
        }
        seen.push_back(image);
    }
    EXPECT_TRUE(FixedImage("").isNull());
    EXPECT_TRUE(FixedImage("../notfound").isNull());
}

// --- What the box gets: the right picture, fitted without distortion.

struct PixmapCase
{
    std::string Name;
    IconChoice Choice;
    QSize Box;
    qreal Ratio;
    QSize Expected;    // in pixels; empty: a null pixmap
    std::string Fixed; // the fixed image it must show, scaled ("": the skin's own)
};

void PrintTo(const PixmapCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::string PixmapName(const ::testing::TestParamInfo<PixmapCase>& info)
{
    return test::ReadableName(info.param.Name, info.index);
}

IconChoice Skin(int width, int height)
{
    return {Kind::Skin, test::PatternImage(width, height, true, false)};
}

class IconPixmapCases : public ::testing::TestWithParam<PixmapCase>
{};

TEST_P(IconPixmapCases, FitsThePictureIntoTheBox)
{
    const PixmapCase& shown = GetParam();
    QPixmap pixmap = IconPixmap(shown.Choice, shown.Box, shown.Ratio);
    if (shown.Expected.isEmpty()) {
        EXPECT_TRUE(pixmap.isNull());
        return;
    }
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), shown.Expected);
    EXPECT_EQ(pixmap.devicePixelRatio(), shown.Ratio);
    QImage source = shown.Fixed.empty() ? ToQImage(shown.Choice.Image) : FixedImage(shown.Fixed);
    // The same picture scaled on its own, through a pixmap as well (which
    // may keep it premultiplied).
    QImage expected =
        QPixmap::fromImage(
            source.scaled(shown.Expected, Qt::KeepAspectRatio, Qt::SmoothTransformation))
            .toImage()
            .convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes,
    IconPixmapCases,
    ::testing::Values(
        PixmapCase{"Square icon into a smaller box", Skin(128, 128), {64, 64}, 1.0, {64, 64}, ""},
        PixmapCase{"Wide icon keeps its proportions", Skin(128, 64), {64, 64}, 1.0, {64, 32}, ""},
        PixmapCase{"Tall icon keeps its proportions", Skin(32, 64), {64, 64}, 1.0, {32, 64}, ""},
        PixmapCase{"Small icon grows to the box", Skin(16, 16), {62, 62}, 1.0, {62, 62}, ""},
        PixmapCase{"Wide box", Skin(128, 128), {100, 50}, 1.0, {50, 50}, ""},
        PixmapCase{
            "Twice the pixels on a dense screen", Skin(128, 128), {64, 64}, 2.0, {128, 128}, ""},
        PixmapCase{"Not found", {Kind::NotFound, {}}, {62, 62}, 1.0, {62, 62}, "notfound"},
        PixmapCase{"Not in use", {Kind::NotInUse, {}}, {64, 64}, 1.0, {64, 64}, "notinuse"},
        PixmapCase{"User skin", {Kind::UserSkin, {}}, {48, 48}, 1.0, {48, 48}, "userdef"},
        PixmapCase{"Empty clears the box", {Kind::Empty, {}}, {64, 64}, 1.0, {}, ""},
        PixmapCase{"Box of no size", Skin(16, 16), {0, 0}, 1.0, {}, ""}),
    PixmapName);

} // namespace
} // namespace twl
