// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace twl {

// Asks for the name of a new model and whether it gets red and blue skins.
// OK with no name is refused ("No name is bad name") and the dialog stays.
class frmModelDialog : public QDialog
{
    Q_OBJECT

public:
    frmModelDialog(Messages& messages, QWidget* parent = nullptr);

signals:
    void GiveName(const QString& Name, bool CreateRB);
    void Delete();

private:
    Messages& m_messages;
    QLineEdit* m_name;
    QCheckBox* m_redBlue;
};

} // namespace twl
