// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace twl {

// The width a window needs so that the window manager shows `title` whole
// in its title bar: the title in a bold font, plus room for the icon and
// the buttons that sit beside it.
int TitleRoom(const QWidget& window, const QString& title);

} // namespace twl
