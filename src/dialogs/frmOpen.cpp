// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmOpen.h"

#include "dialogs/DirView.h"
#include "dialogs/TabPages.h"
#include "pk3/GameArchives.h"
#include "services/BotFileSet.h"

#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace twl {

namespace {

struct LoadTypeShape
{
    const char* Caption;
    const char* Pattern;
    bool WholeNames;
    bool FilesEnabled;
};

const LoadTypeShape Shapes[] = {
    {"Load bot", "*_c.c", false, true},
    {"Load bot characteristic files", "*_c.c", true, true},
    {"Load bot chat files", "*_t.c", true, true},
    {"Load bot weapon and item weights files", "*_i.c", true, true},
    {"Load bot weapon usage files", "*_w.c", true, true},
    {"Make botfiles for ", "*_c.c", false, false},
    {"", "*.exe", true, false},
    {"", "*.exe", true, false},
    {"", "*.exe", true, false},
};

QCheckBox* CheckBox(const char* name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

frmOpen::frmOpen(Messages& messages, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
    , m_tabs(new TabPages(this))
    , m_dirs(new DirView(messages))
    , m_bots(new QListWidget())
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
    , m_gameFolder(new QPushButton(QStringLiteral("Into the game"), this))
{
    setObjectName(QStringLiteral("frmOpen"));
    setModal(true);
    m_tabs->setObjectName(QStringLiteral("tbsOptions"));
    m_dirs->setObjectName(QStringLiteral("dvDirs"));
    m_bots->setObjectName(QStringLiteral("lstBots"));
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* directoryPage = new QWidget();
    directoryPage->setObjectName(QStringLiteral("picOptions_0"));
    auto* directoryLayout = new QVBoxLayout(directoryPage);
    directoryLayout->addWidget(m_dirs, 1);
    m_dirStruc = CheckBox("chkDirStruc",
                          QStringLiteral("Use directory structure for *.bot -file loading"),
                          directoryPage);
    m_botFile = CheckBox("chkBotfileFF", QStringLiteral("Load *.bot-file"), directoryPage);
    m_useDir = CheckBox(
        "chkUseDir", QStringLiteral("Save using the correct directory structure"), directoryPage);
    m_savePk3 = CheckBox("chkSavePK3", QStringLiteral("Make *.pk3-file"), directoryPage);
    for (QCheckBox* box : {m_dirStruc, m_botFile, m_useDir, m_savePk3}) {
        directoryLayout->addWidget(box);
    }
    m_botFile->setChecked(true);
    m_savePk3->setEnabled(false);
    connect(m_useDir, &QCheckBox::clicked, this, [this](bool ticked) {
        // The tick of the archive stays as it was.
        m_savePk3->setEnabled(ticked);
    });

    auto* listPage = new QWidget();
    listPage->setObjectName(QStringLiteral("picOptions_1"));
    auto* listLayout = new QVBoxLayout(listPage);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    m_bots->setFont(fixed);
    // The column labels stand above their columns: 15, 20 and 7 characters.
    QString heading = QStringLiteral("Bot").leftJustified(15) +
                      QStringLiteral("Pk3-file").leftJustified(20) + QStringLiteral("Botfile");
    auto* columns = new QLabel(heading, listPage);
    columns->setObjectName(QStringLiteral("lblColumns"));
    columns->setFont(fixed);
    columns->setIndent(m_bots->frameWidth() + 2);
    listLayout->addWidget(columns);
    listLayout->addWidget(m_bots, 1);
    m_bots->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(46, QLatin1Char('M'))));

    m_tabs->addTab(directoryPage, QStringLiteral("Load from directory"));
    m_tabs->addTab(listPage, QStringLiteral("Load from baseq3 bot list"));

    m_gameFolder->setObjectName(QStringLiteral("cmdGameFolder"));
    m_gameFolder->hide();
    connect(m_gameFolder, &QPushButton::clicked, this, &frmOpen::cmdGameFolder_Click);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_gameFolder);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    connect(m_dirs, &DirView::FolderChanged, this, [this](const QString& folder) {
        m_currentDir = folder;
    });
    connect(m_dirs, &DirView::FileSelected, this, [this](const QString& file) {
        m_currentFile = file;
    });
    connect(m_dirs, &DirView::FileActivated, this, [this](const QString& file) {
        m_currentFile = file;
        cmdOK_Click();
    });
    connect(m_bots, &QListWidget::itemActivated, this, &frmOpen::cmdOK_Click);
    connect(m_ok, &QPushButton::clicked, this, &frmOpen::cmdOK_Click);
    connect(m_cancel, &QPushButton::clicked, this, &frmOpen::cmdCancel_Click);
    m_ok->setDefault(true);
    LType(LoadType::WholeBot);
}

void frmOpen::LType(twl::LoadType purpose)
{
    const auto index = static_cast<std::size_t>(purpose);
    if (index >= std::size(Shapes)) {
        return;
    }
    m_loadType = purpose;
    const LoadTypeShape& shape = Shapes[index];
    if (purpose != LoadType::MakeBotFiles) {
        setWindowTitle(QString::fromLatin1(shape.Caption));
    }
    QStringList patterns = {QString::fromLatin1(shape.Pattern)};
    if (purpose == LoadType::GameFolder) {
        // The game folder is known by its program: Windows' or a Linux engine.
        patterns.clear();
        for (const std::string& program : GameProgramNames()) {
            patterns << QString::fromStdString(program);
        }
    }
    m_dirs->SetWildFile(patterns);
    m_dirs->SetShowWholeName(shape.WholeNames);
    m_dirs->SetEnableFiles(shape.FilesEnabled);
    m_dirStruc->setVisible(purpose == LoadType::WholeBot);
    m_botFile->setVisible(purpose == LoadType::WholeBot);
    m_useDir->setVisible(purpose == LoadType::MakeBotFiles);
    m_savePk3->setVisible(purpose == LoadType::MakeBotFiles);
    // Saving and folders for the options use the directory page alone.
    bool folderOnly = !IsLoad(purpose);
    m_tabs->tabBar()->setVisible(!folderOnly);
    m_tabs->setTabVisible(1, !folderOnly);
    m_tabs->setTabEnabled(1, !folderOnly);
    if (folderOnly) {
        m_tabs->setCurrentIndex(0);
    }
}

void frmOpen::AddBotName(const QString& line)
{
    m_bots->addItem(line);
    m_bots->setCurrentRow(0);
}

void frmOpen::SetFolder(const QString& folder)
{
    // A remembered folder that has gone since: the home folder instead.
    if (!m_dirs->SetFolder(folder, true)) {
        m_dirs->SetFolder(QDir::homePath(), true);
    }
}

void frmOpen::SetPlayerFolder(const QString& folder)
{
    m_playerFolder = folder;
    m_gameFolder->setToolTip(
        QStringLiteral("Make the bot where the game finds it: %1, packed into its .pk3")
            .arg(folder));
    m_gameFolder->setVisible(Is(LoadType::MakeBotFiles) && !folder.isEmpty());
}

void frmOpen::cmdGameFolder_Click()
{
    if (m_playerFolder.isEmpty() || !QDir().mkpath(m_playerFolder)) {
        m_messages.Warn("Could not make the folder " + m_playerFolder.toStdString(),
                        "Make bot files");
        return;
    }
    SetFolder(m_playerFolder);
    m_useDir->setChecked(true);
    m_savePk3->setEnabled(true);
    m_savePk3->setChecked(true);
}

void frmOpen::SetGameFolder(const QString& folder)
{
    m_dirs->SetGameFolder(folder);
}

void frmOpen::cmdOK_Click()
{
    if (m_tabs->currentIndex() == 0) {
        bool folderIsTheAnswer =
            Is(LoadType::MakeBotFiles) || Is(LoadType::WorkingFolder) ||
            (Is(LoadType::GameFolder) && IsGameFolder(m_currentDir.toStdString()));
        if (m_currentFile.isEmpty() && !folderIsTheAnswer) {
            std::string text =
                "You haven't chosen anything. Press 'Cancel' if you want to exit, dummy!";
            if (Is(LoadType::GameFolder)) {
                text += "\n" + WhatAGameFolderHolds();
            }
            m_messages.Inform(text, "Error!!");
            return;
        }
        bool saving = Is(LoadType::MakeBotFiles);
        emit GiveDirAndFile(m_currentDir,
                            m_currentFile,
                            m_loadType,
                            saving ? m_useDir->isChecked() : m_dirStruc->isChecked(),
                            saving ? m_savePk3->isChecked() : m_botFile->isChecked());
    } else if (m_bots->currentRow() >= 0 && m_bots->currentItem()->isSelected()) {
        emit GiveBot(QString::number(m_bots->currentRow()), m_loadType);
    }
    emit Delete();
    accept();
}

void frmOpen::cmdCancel_Click()
{
    emit Delete();
    reject();
}

void frmOpen::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+Tab: the next tab, from the last back to the first.
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        if (m_tabs->tabBar()->isVisible()) {
            m_tabs->setCurrentIndex((m_tabs->currentIndex() + 1) % m_tabs->count());
        }
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace twl
