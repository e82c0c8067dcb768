#include "editor/MessageBoxes.h"
#include "editor/SettingsFolder.h"
#include "editor/frmMain.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    // libzip converts every entry's time stamp; without TZ the C library
    // reads the zone file again for each one.
    setenv("TZ", ":/etc/localtime", 0);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QApplication::setOrganizationName(QString());

    twl::MessageBoxes messages;
    twl::frmMain window(twl::SettingsFolder(), messages);
    messages.SetParent(&window);
    window.show();
    return QApplication::exec();
}
