// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTabWidget>

namespace twl {

// A tab strip that takes one key only: Ctrl+Tab, which its window turns into
// the next page (wrapping from the last to the first). Ctrl+Shift+Tab,
// Ctrl+PageUp and Ctrl+PageDown, which a plain tab widget takes as steps
// through its pages, do nothing here.
class TabPages : public QTabWidget
{
    Q_OBJECT

public:
    using QTabWidget::QTabWidget;

    // True for the keys that step through pages and that the strip ignores.
    static bool IsRefusedPageKey(const QKeyEvent& key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace twl
