#include "editor/frmMain.h"

#include "core/TextFile.h"
#include "core/Version.h"
#include "dialogs/frmAbout.h"
#include "session/Presets.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

namespace twl {

frmMain::frmMain(std::filesystem::path settingsFolder, Messages& messages, QWidget* parent)
    : QMainWindow(parent)
    , m_settingsFolder(std::move(settingsFolder))
    , m_messages(messages)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Caption());

    IsFilling = true;
    LoadIniFile(m_settingsFolder, m_settings, m_messages);
    InitCatalogues(m_catalogues, m_settingsFolder, m_messages);
    BuildMenus();
    ThisBot = Bot();
    ApplyZeroPreset(ThisBot);
    IsChanged = false;
    IsFilling = false;
}

QString frmMain::Caption()
{
    // The caption shows the version as the program always has: "0.97".
    return QStringLiteral("Tarnwell %1.%2%3 BETA")
        .arg(VersionMajor)
        .arg(VersionMinor)
        .arg(VersionRevision);
}

QMenu* frmMain::AddMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* frmMain::AddSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* frmMain::AddAction(QMenu* menu, const char* name, const QString& caption, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

void frmMain::BuildMenus()
{
    // Commands whose work is not in the program yet stay visible but disabled.
    constexpr bool NotYet = false;
    QMenuBar* bar = menuBar();

    QMenu* program = AddMenu(bar, "mTarnwell", QStringLiteral("Program"));
    AddAction(program, "mnuOptions", QStringLiteral("Options"), NotYet);
    QAction* about = AddAction(program, "mnuAbout", QStringLiteral("About Tarnwell"), true);
    program->addSeparator()->setObjectName(QStringLiteral("mnuSeparator1"));
    QAction* exitAction = AddAction(program, "mnuExit", QStringLiteral("Exit"), true);
    connect(about, &QAction::triggered, this, &frmMain::ShowAbout);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* bots = AddMenu(bar, "mnuBot", QStringLiteral("Bots"));
    QMenu* newBot = AddSubmenu(bots, "mnuNew", QStringLiteral("New bot"));
    AddAction(newBot, "mnuNewZero", QStringLiteral("All zeros"), NotYet);
    AddAction(newBot, "mnuNewAverage", QStringLiteral("Average"), NotYet);
    AddAction(newBot, "mnuNewRandom", QStringLiteral("Random"), NotYet);
    AddAction(bots, "mnuLoad", QStringLiteral("Load bot"), NotYet);
    AddAction(bots, "mnuMake", QStringLiteral("Make bot files"), NotYet);

    QMenu* files = AddMenu(bar, "mnuFile", QStringLiteral("Files"));
    AddAction(files, "mnuCharFile", QStringLiteral("Load char file"), NotYet);
    AddAction(files, "mnuWeaponFile", QStringLiteral("Load weapon file"), NotYet);
    AddAction(files, "mnuitemFile", QStringLiteral("Load item file"), NotYet);
    AddAction(files, "mnuChatFile", QStringLiteral("Load chat file"), NotYet);

    QMenu* tools = AddMenu(bar, "mnTool", QStringLiteral("Tools"));
    AddAction(tools, "mnuCheck", QStringLiteral("Check baseq3"), NotYet);
    QMenu* list = AddSubmenu(tools, "mnuList", QStringLiteral("Model/skin list"));
    AddAction(list, "mnuModelAdd", QStringLiteral("Add model"), NotYet);
    AddAction(list, "mnuSkinAdd", QStringLiteral("Add skin"), NotYet);
    AddAction(list, "mnuModelRemove", QStringLiteral("Remove model"), NotYet);
    AddAction(list, "mnuSkinRemove", QStringLiteral("Remove skin"), NotYet);
    QMenu* chatTools = AddSubmenu(tools, "mnuChatTools", QStringLiteral("Chat tools"));
    AddAction(chatTools, "mnuExtraChat", QStringLiteral("Add extra chats"), NotYet);
    AddAction(chatTools, "mnuDeleteChats", QStringLiteral("Delete all chats"), NotYet);
    AddAction(chatTools, "mnuSyn", QStringLiteral("Add synonym"), NotYet);
}

void frmMain::ShowAbout()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (IsChanged &&
        !m_messages.Ask("The current bot has changed. Do you still want to exit without saving?",
                        "Tarnwell")) {
        event->ignore();
        return;
    }
    SaveUserLists(m_catalogues, m_settingsFolder, m_messages);
    ReportWriteFailure(SaveIniFile(m_settingsFolder, m_settings), m_messages);
    event->accept();
}

} // namespace twl
