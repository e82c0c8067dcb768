// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartOptions.h"
#include "core/Version.h"
#include "editor/DesktopIdentity.h"
#include "editor/MessageBoxes.h"
#include "editor/SettingsFolder.h"
#include "editor/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

QtMessageHandler QtDefaultHandler = nullptr;
// What Qt's platform layer first complained about ("could not connect to
// display :0", "Could not find the Qt platform plugin ...").
QString FirstPlatformWarning;

// Qt ends the program when no platform plugin starts (no display, a missing
// plugin) with advice to reinstall it; say instead what is missing.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg &&
        message.contains(QLatin1String("no Qt platform plugin could be initialized"))) {
        std::string reason = "the Qt platform plugin could not start";
        if (!FirstPlatformWarning.isEmpty()) {
            reason += ": " + FirstPlatformWarning.toStdString();
        }
        std::fputs(twl::NoGraphicalSessionText(reason).c_str(), stderr);
        std::_Exit(1);
    }
    if (FirstPlatformWarning.isEmpty() && context.category != nullptr &&
        std::strncmp(context.category, "qt.qpa", 6) == 0) {
        FirstPlatformWarning = message.section(QLatin1Char('\n'), 0, 0).trimmed();
    }
    if (QtDefaultHandler != nullptr) {
        QtDefaultHandler(type, context, message);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    twl::StartOptions options = twl::ParseStartOptions(arguments);
    switch (options.Do) {
    case twl::StartOptions::Action::PrintHelp:
        std::cout << twl::StartUsageText();
        return 0;
    case twl::StartOptions::Action::PrintVersion:
        std::cout << "tarnwell " << twl::VersionMajor << '.' << twl::VersionMinor << '.'
                  << twl::VersionRevision << '\n';
        return 0;
    case twl::StartOptions::Action::UsageError:
        std::cerr << "tarnwell: " << options.Problem << "; see tarnwell --help\n";
        return 2;
    case twl::StartOptions::Action::RunEditor:
        break;
    }
    if (!options.PlatformGiven) {
        if (std::optional<std::string> missing = twl::MissingGraphicalSession()) {
            std::cerr << twl::NoGraphicalSessionText(*missing);
            return 1;
        }
    }

    QtDefaultHandler = qInstallMessageHandler(OnQtMessage);
    QApplication application(argc, argv);
    twl::ApplyDesktopIdentity();

    twl::MessageBoxes messages;
    twl::frmMain window(twl::SettingsFolder(), messages);
    messages.SetParent(&window);
    window.show();
    window.FindGamesAtFirstStart();
    if (!options.File.empty()) {
        window.OpenAtStart(options.File);
    }
    return QApplication::exec();
}
