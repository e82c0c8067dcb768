// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmAbout.h"

#include "core/Version.h"
#include "dialogs/TitleRoom.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace twl {

namespace {

QLabel* AddLabel(QVBoxLayout* layout, const char* name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vantry's Tarnwell"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    QLabel* title = AddLabel(layout, "lblTitle", QStringLiteral("Vantry's Tarnwell"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);

    AddLabel(layout,
             "lblVersion",
             QStringLiteral("Version %1.%2.%3")
                 .arg(VersionMajor)
                 .arg(VersionMinor)
                 .arg(VersionRevision));
    AddLabel(layout,
             "lblDescription",
             QStringLiteral("An editor for the bots of Quake III Arena: their characteristics, "
                            "weights, chat lines and files."));
    AddLabel(layout,
             "lblDisclaimer",
             QStringLiteral("Quake III Arena is a trademark of id Software. Tarnwell is not made, "
                            "endorsed or supported by id Software. It comes without any warranty; "
                            "keep copies of the bot files you care about."));
    AddLabel(layout,
             "lblLicence",
             QStringLiteral("Tarnwell is free software: you may share and change it under the "
                            "terms of the GNU General Public License, version 3 or (at your "
                            "option) any later version."));
    AddLabel(layout,
             "lblCredits",
             QStringLiteral("Built with Qt (The Qt Company, LGPL 3), zlib (Jean-loup Gailly and "
                            "Mark Adler, zlib licence) and stb_image (Sean Barrett, public "
                            "domain or MIT)."));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // A plain box: as wide as its title needs (and a comfortable line of
    // text), of a fixed size, so that it offers no minimise or maximise.
    layout->addStrut(std::max(440, TitleRoom(*this, windowTitle())));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace twl
