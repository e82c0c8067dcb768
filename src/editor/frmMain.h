#pragma once

#include "core/Bot.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "session/Catalogues.h"

#include <QMainWindow>

#include <filesystem>
#include <random>

class QAction;
class QMenu;

namespace twl {

// The main window: owner of the one bot being edited, its menus, and the
// settings, which it reads at start and writes back when it closes.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // `settingsFolder` holds twl.ini; every message goes through `messages`.
    frmMain(std::filesystem::path settingsFolder, Messages& messages, QWidget* parent = nullptr);

    Bot ThisBot;
    bool IsChanged = false;
    bool IsFilling = false;
    // The program's one random generator (default-seeded), for random chat lines.
    std::mt19937 Random;

    const Settings& CurrentSettings() const { return m_settings; }

    const Catalogues& CurrentCatalogues() const { return m_catalogues; }

    static QString Caption();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption);
    QMenu* AddSubmenu(QMenu* parent, const char* name, const QString& caption);
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption, bool enabled);
    void BuildMenus();
    void ShowAbout();

    std::filesystem::path m_settingsFolder;
    Messages& m_messages;
    Settings m_settings;
    Catalogues m_catalogues;
};

} // namespace twl
