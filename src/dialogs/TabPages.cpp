// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TabPages.h"

#include <QKeyEvent>

namespace twl {

bool TabPages::IsRefusedPageKey(const QKeyEvent& key)
{
    if (!(key.modifiers() & Qt::ControlModifier)) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Tab:
        return (key.modifiers() & Qt::ShiftModifier) != 0;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

void TabPages::keyPressEvent(QKeyEvent* event)
{
    if (IsRefusedPageKey(*event)) {
        event->accept();
        return;
    }
    // Ctrl+Tab is the window's: it goes on to the window.
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        event->ignore();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

} // namespace twl
