// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TitleRoom.h"

#include <QFontMetrics>
#include <QWidget>

namespace twl {

int TitleRoom(const QWidget& window, const QString& title)
{
    // Title bars draw in bold, often a little larger than the window's font.
    QFont font = window.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.1);
    // The icon at the left, and close (and often two more) buttons at the right.
    const int besideTitle = 160;
    return QFontMetrics(font).horizontalAdvance(title) + besideTitle;
}

} // namespace twl
