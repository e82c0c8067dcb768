// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmCheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace twl {

frmCheck::frmCheck(const QStringList& findings,
                   QWidget* parent,
                   const QString& title,
                   const QString& heading)
    : QDialog(parent)
    , m_findings(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Check bot") : title);
    setModal(true);
    m_findings->setObjectName(QStringLiteral("lstFindings"));
    m_findings->addItems(findings);
    m_findings->setWordWrap(true);
    auto* summary = new QLabel(
        !heading.isEmpty()   ? heading
        : findings.isEmpty() ? QStringLiteral("The game will load this bot as it is.")
                             : QStringLiteral("What the game will do with this bot (double-click a "
                                              "line to see what it concerns):"),
        this);
    summary->setObjectName(QStringLiteral("lblSummary"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(m_findings, 1);
    layout->addLayout(buttons);
    resize(720, 360);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_findings, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        int row = m_findings->row(item);
        accept();
        emit GoTo(row);
    });
}

} // namespace twl
