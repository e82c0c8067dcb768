// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmModelDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace twl {

frmModelDialog::frmModelDialog(Messages& messages, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
    , m_name(new QLineEdit())
    , m_redBlue(new QCheckBox(QStringLiteral("Create also red and blue skins")))
{
    setObjectName(QStringLiteral("frmModelDialog"));
    setWindowTitle(QStringLiteral("Add model"));
    setModal(true);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_redBlue->setObjectName(QStringLiteral("chkRedBlue"));
    auto* frame = new QGroupBox(QStringLiteral("Model name"));
    frame->setObjectName(QStringLiteral("fraName"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_name);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_redBlue);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_name->text().isEmpty()) {
            m_messages.Warn("No name is bad name", "Error");
            return;
        }
        emit GiveName(m_name->text(), m_redBlue->isChecked());
        emit Delete();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        emit Delete();
        reject();
    });
}

} // namespace twl
