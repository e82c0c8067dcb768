// SPDX-License-Identifier: GPL-3.0-or-later
// main of the GUI tests: one QApplication for the whole run.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char* argv[])
{
    // No display is needed: the widgets draw on Qt's offscreen platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
