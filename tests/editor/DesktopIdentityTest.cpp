// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DesktopIdentity.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace twl {
namespace {

TEST(DesktopIdentity, WindowsShowTheBuiltInIconAtEverySize)
{
    ApplyDesktopIdentity();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("io.github.tarnwell.Tarnwell"));
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Tarnwell"));
    QIcon icon = QApplication::windowIcon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        // A drawing, not an empty square: the corners are clear, the middle is not.
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 128) << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}

} // namespace
} // namespace twl
