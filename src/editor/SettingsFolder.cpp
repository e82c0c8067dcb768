// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SettingsFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace twl {

std::filesystem::path SettingsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return std::filesystem::path(folder.toStdString());
}

} // namespace twl
