// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/IconImages.h"

#include "support/TgaBytes.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using Kind = IconChoice::Kind;

TEST(ToQImage, KeepsEveryPixelAndItsAlpha)
{
    for (const RgbaImage& image :
         {test::PatternImage(7, 5, false, false), test::PatternImage(130, 3, true, true)}) {
        QImage converted = ToQImage(image);
        ASSERT_EQ(converted.size(), QSize(image.Width, image.Height));
        for (int y = 0; y < image.Height; ++y) {
            for (int x = 0; x < image.Width; ++x) {
                const std::uint8_t* rgba =
                    image.Pixels.data() + static_cast<std::size_t>(y * image.Width + x) * 4;
                EXPECT_EQ(converted.pixelColor(x, y), QColor(rgba[0], rgba[1], rgba[2], rgba[3]))
                    << image.Width << " wide, at " << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(ToQImage(RgbaImage()).isNull());
    EXPECT_TRUE(ToQImage(RgbaImage{2, 2, std::vector<std::uint8_t>(15, 0)}).isNull());
}

TEST(FixedImage, EachNameHasItsOwnPictureAndOtherNamesNone)
{
    std::vector<QImage> seen;
    for (const char* name : {"notfound", "notinuse", "userdef"}) {
        QImage image = FixedImage(name);
        EXPECT_EQ(image.size(), QSize(64, 64)) << name;
        for (const QImage& other : seen) {
            EXPECT_NE(image, other) << name;
        }
        seen.push_back(image);
    }
    EXPECT_TRUE(FixedImage("").isNull());
    EXPECT_TRUE(FixedImage("../notfound").isNull());
}

TEST(IconPixmap, FitsThePictureIntoTheBoxWithoutDistortion)
{
    auto skin = [](int width, int height) {
        return IconChoice{Kind::Skin, test::PatternImage(width, height, true, false)};
    };

    struct Case
    {
        const char* Name;
        IconChoice Choice;
        QSize Box;
        qreal Ratio;
        QSize Expected;    // in pixels; empty: a null pixmap
        const char* Fixed; // the fixed image shown ("": the skin's own)
    };

    const std::vector<Case> cases = {
        {"square icon", skin(128, 128), {64, 64}, 1.0, {64, 64}, ""},
        {"wide icon", skin(128, 64), {64, 64}, 1.0, {64, 32}, ""},
        {"tall icon", skin(32, 64), {64, 64}, 1.0, {32, 64}, ""},
        {"small icon", skin(16, 16), {62, 62}, 1.0, {62, 62}, ""},
        {"wide box", skin(128, 128), {100, 50}, 1.0, {50, 50}, ""},
        {"dense screen", skin(128, 128), {64, 64}, 2.0, {128, 128}, ""},
        {"not found", {Kind::NotFound, {}}, {62, 62}, 1.0, {62, 62}, "notfound"},
        {"not in use", {Kind::NotInUse, {}}, {64, 64}, 1.0, {64, 64}, "notinuse"},
        {"user skin", {Kind::UserSkin, {}}, {48, 48}, 1.0, {48, 48}, "userdef"},
        {"empty", {Kind::Empty, {}}, {64, 64}, 1.0, {}, ""},
        {"box of no size", skin(16, 16), {0, 0}, 1.0, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QPixmap pixmap = IconPixmap(c.Choice, c.Box, c.Ratio);
        if (c.Expected.isEmpty()) {
            EXPECT_TRUE(pixmap.isNull());
            continue;
        }
        ASSERT_EQ(pixmap.size(), c.Expected);
        EXPECT_EQ(pixmap.devicePixelRatio(), c.Ratio);
        // The same picture scaled on its own, through a pixmap as well (which
        // may keep it premultiplied).
        QImage source = *c.Fixed == '\0' ? ToQImage(c.Choice.Image) : FixedImage(c.Fixed);
        QImage expected =
            QPixmap::fromImage(
                source.scaled(c.Expected, Qt::KeepAspectRatio, Qt::SmoothTransformation))
                .toImage();
        EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32),
                  expected.convertToFormat(QImage::Format_ARGB32));
    }
}

} // namespace
} // namespace twl
