// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace twl {

// The about box: the program's title and version, what it is, a disclaimer
// and the credits of the components it is built on.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
};

} // namespace twl
