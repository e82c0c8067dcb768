// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace twl {

// The program's icon, built in at 16 to 256 pixels (the same drawing as the
// installed hicolor icon).
QIcon ApplicationIcon();

// Gives the application its name, its icon (every window shows it) and the
// name of its desktop entry, so that the desktop matches the window to the
// entry and its icon. Called once the QApplication exists.
void ApplyDesktopIdentity();

} // namespace twl
