// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace twl {

// The findings of "Check bot", one a line. A double-click on a line closes
// the list and reports which line it was, so that the window can show what
// the finding concerns.
class frmCheck : public QDialog
{
    Q_OBJECT

public:
    // `title` and `heading`: those of "Check bot" unless given ("Try in game").
    frmCheck(const QStringList& findings,
             QWidget* parent = nullptr,
             const QString& title = QString(),
             const QString& heading = QString());

signals:
    void GoTo(int finding);

private:
    QListWidget* m_findings;
};

} // namespace twl
