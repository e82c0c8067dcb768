// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "services/BotFileSet.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace twl {

class DirView;

// The one dialog for choosing what to load and where to save. Its load type
// (LType) says what for: 0 a bot, 1 to 4 one of its files, 5 the target of
// "Make bot files", 6 to 8 a folder for the options. It loads and saves
// nothing itself: it reports the choice through its signals.
class frmOpen : public QDialog
{
    Q_OBJECT

public:
    frmOpen(Messages& messages, QWidget* parent = nullptr);

    // Sets what the dialog is for and shapes it for that.
    void LType(twl::LoadType loadType);

    twl::LoadType Purpose() const { return m_loadType; }

    // A line of the game's bot list; the first line is selected.
    void AddBotName(const QString& line);
    // Where the browser starts (the home folder when `folder` cannot be
    // read), and the game folder among its places.
    void SetFolder(const QString& folder);
    void SetGameFolder(const QString& folder);
    // "Make bot files": the player's own folder of the game, offered as the
    // place where the game finds the bot (with the archive ticked).
    void SetPlayerFolder(const QString& folder);
    // Goes to that folder, made when missing, and ticks the layout and the
    // archive.
    void cmdGameFolder_Click();

    QString CurrentDir() const { return m_currentDir; }

    QString CurrentFile() const { return m_currentFile; }

    DirView* Browser() const { return m_dirs; }

signals:
    void GiveDirAndFile(const QString& CurrentDir,
                        const QString& CurrentFile,
                        twl::LoadType LoType,
                        bool DirStruct,
                        bool PK3Bot);
    void GiveBot(const QString& BotID, twl::LoadType LoType);
    void Delete();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    Messages& m_messages;
    QTabWidget* m_tabs;
    DirView* m_dirs;
    QCheckBox* m_dirStruc;
    QCheckBox* m_botFile;
    QCheckBox* m_useDir;
    QCheckBox* m_savePk3;
    QListWidget* m_bots;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_gameFolder;
    QString m_playerFolder;

    bool Is(twl::LoadType loadType) const { return m_loadType == loadType; }

    twl::LoadType m_loadType = twl::LoadType::WholeBot;
    QString m_currentDir;
    QString m_currentFile;
};

} // namespace twl
