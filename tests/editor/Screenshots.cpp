// Writes a picture of every page of the editor's window, for a person to
// look at: tarnwell_screenshots OUTDIR. Runs on Qt's offscreen platform.
#include "editor/ParameterPages.h"
#include "editor/frmMain.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>

#include <cstdio>
#include <cstdlib>

namespace {

bool Save(QWidget& widget, const QString& folder, const QString& name)
{
    QApplication::processEvents();
    QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", path.toUtf8().constData());
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwell_screenshots OUTDIR\n");
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    twl::test::TempFolder settings;
    twl::test::ScriptedMessages messages;
    twl::frmMain window(settings.Path(), messages, std::mt19937(1));
    window.resize(window.sizeHint());
    window.show();
    std::printf("window %dx%d\n", window.width(), window.height());
    std::printf(
        "tabs %d pages %d general %d\n",
        window.findChild<QTabWidget*>(QStringLiteral("tbsBotPara"))->tabBar()->sizeHint().width(),
        window.findChild<QTabWidget*>(QStringLiteral("tbsBotPara"))->sizeHint().width(),
        window.findChild<QWidget*>(QStringLiteral("fraGeneral"))->sizeHint().width());
    bool ok = true;
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("tbsBotPara"));
    window.CreateAverageBot();
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        ok = Save(window, folder, QStringLiteral("page-%1").arg(page)) && ok;
    }
    pages->setCurrentIndex(0);
    auto* funName = window.findChild<QLineEdit*>(QStringLiteral("txtBotPara_2"));
    funName->setText(QStringLiteral("^0Bl^1Re^2Gr^3Ye^4Bl^5Cy^6Ma^7Wh"));
    ok = Save(window, folder, QStringLiteral("funname-colours")) && ok;
    messages.Clear();
    window.Editor().IsChanged = false;
    return ok ? 0 : 1;
}
