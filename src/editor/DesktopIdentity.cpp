// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DesktopIdentity.h"

#include "core/ProgramInfo.h"

#include <QApplication>

namespace twl {

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1x%1/%2.png")
                         .arg(size)
                         .arg(QString::fromLatin1(ProgramDesktopId)),
                     QSize(size, size));
    }
    return icon;
}

void ApplyDesktopIdentity()
{
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QApplication::setOrganizationName(QString());
    QApplication::setDesktopFileName(QString::fromLatin1(ProgramDesktopId));
    QApplication::setWindowIcon(ApplicationIcon());
}

} // namespace twl
