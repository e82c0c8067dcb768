// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmOptions.h"

#include "dialogs/TabPages.h"
#include "dialogs/frmOpen.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace twl {

namespace {

// The folder dialog's load type and caption for each search button.
struct Search
{
    twl::LoadType Purpose;
    const char* Caption;
};

const Search Searches[] = {{LoadType::GameFolder, "Set Q3 folder"},
                           {LoadType::WorkingFolder, "Set working folder"},
                           {LoadType::ExtractorFolder, "Set WinZip folder"}};

} // namespace

frmOptions::frmOptions(Messages& messages, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
    , m_tabs(new TabPages(this))
    , m_botCount(new QLabel(QStringLiteral("000")))
    , m_games(new QListWidget())
    , m_search([] { return FindGames(GameSearch::FromEnvironment()); })
{
    m_games->setObjectName(QStringLiteral("lstGames"));
    m_games->setMaximumHeight(90);
    m_games->hide();
    connect(m_games, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < m_found.size()) {
            m_texts[0]->setText(QString::fromStdString(
                m_found[static_cast<std::size_t>(row)].Where.Folder.string()));
        }
    });
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Tarnwell options"));
    setModal(true);
    m_tabs->setObjectName(QStringLiteral("tbsOptions"));
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = new QLineEdit();
        m_texts[i]->setObjectName(QStringLiteral("txtIni_") + QString::number(i));
    }

    auto* directories = new QWidget();
    directories->setObjectName(QStringLiteral("picOptions_0"));
    auto* directoryLayout = new QVBoxLayout(directories);
    const char* const frames[] = {
        "Quake III Arena directory", "Default working directory", "WinZip directory"};
    for (int i = 0; i < 3; ++i) {
        auto* frame = new QGroupBox(QString::fromLatin1(frames[i]), directories);
        auto* row = new QHBoxLayout();
        auto* search = new QPushButton(QStringLiteral("Search"), frame);
        search->setObjectName(QStringLiteral("cmdSearch_") + QString::number(i));
        row->addWidget(m_texts[static_cast<std::size_t>(i)], 1);
        row->addWidget(search);
        directoryLayout->addWidget(frame);
        if (i == 0) {
            // What a game folder is, and the games this machine has.
            auto* gameLayout = new QVBoxLayout();
            auto* what = new QLabel(QString::fromStdString(WhatAGameFolderHolds()), frame);
            what->setObjectName(QStringLiteral("lblGameFolder"));
            what->setWordWrap(true);
            gameLayout->addLayout(row);
            gameLayout->addWidget(what);
            auto* find = new QPushButton(QStringLiteral("Find games"), frame);
            find->setObjectName(QStringLiteral("cmdFindGames"));
            auto* findRow = new QHBoxLayout();
            findRow->addWidget(m_games, 1);
            findRow->addWidget(find, 0, Qt::AlignTop);
            gameLayout->addLayout(findRow);
            frame->setLayout(gameLayout);
            connect(find, &QPushButton::clicked, this, &frmOptions::cmdFindGames_Click);
        } else {
            frame->setLayout(row);
        }
        connect(search, &QPushButton::clicked, this, [this, i] { cmdSearch_Click(i); });
        // Archives are read by the program itself: there is no extractor
        // to find. Its setting is kept as it is, unseen.
        frame->setVisible(i != 2);
    }
    directoryLayout->addStretch(1);

    auto* userData = new QWidget();
    userData->setObjectName(QStringLiteral("picOptions_1"));
    auto* userLayout = new QVBoxLayout(userData);
    auto* programmer = new QGroupBox(QStringLiteral("Programmer info to the botfile headers"));
    auto* form = new QFormLayout(programmer);
    form->addRow(QStringLiteral("Name:"), m_texts[3]);
    form->addRow(QStringLiteral("Email:"), m_texts[4]);
    form->addRow(QStringLiteral("Web page:"), m_texts[5]);
    userLayout->addWidget(programmer);
    auto* other = new QGroupBox(QStringLiteral("Other info"));
    auto* otherRow = new QHBoxLayout(other);
    m_botCount->setObjectName(QStringLiteral("lblBotCount"));
    otherRow->addWidget(new QLabel(QStringLiteral("Bots created:")));
    otherRow->addWidget(m_botCount);
    otherRow->addStretch(1);
    userLayout->addWidget(other);
    userLayout->addStretch(1);

    m_tabs->addTab(directories, QStringLiteral("Directories"));
    m_tabs->addTab(userData, QStringLiteral("User data"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(600, 360);

    connect(ok, &QPushButton::clicked, this, [this] {
        emit SaveValues();
        emit Delete();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        emit Delete();
        reject();
    });
}

QString frmOptions::IniPara(int index) const
{
    if (index >= 0 && index < static_cast<int>(m_texts.size())) {
        return m_texts[static_cast<std::size_t>(index)]->text();
    }
    return index == 6 ? m_botCount->text() : QString();
}

void frmOptions::SetIniPara(int index, const QString& value)
{
    if (index >= 0 && index < static_cast<int>(m_texts.size())) {
        m_texts[static_cast<std::size_t>(index)]->setText(value);
    } else if (index == 6) {
        m_botCount->setText(value);
    }
}

void frmOptions::cmdSearch_Click(int index)
{
    if (index < 0 || index > 2) {
        return;
    }
    QLineEdit* box = m_texts[static_cast<std::size_t>(index)];
    frmOpen search(m_messages, this);
    search.LType(Searches[index].Purpose);
    search.setWindowTitle(QString::fromLatin1(Searches[index].Caption));
    if (!m_texts[0]->text().isEmpty()) {
        search.SetGameFolder(m_texts[0]->text());
    }
    QFileInfo folder(box->text());
    search.SetFolder(!box->text().isEmpty() && folder.isDir() ? box->text() : QDir::homePath());
    connect(&search,
            &frmOpen::GiveDirAndFile,
            this,
            [box](const QString& dir,
                  const QString& /*file*/,
                  LoadType loadType,
                  bool /*dirStruct*/,
                  bool /*pk3Bot*/) {
                if (loadType >= LoadType::GameFolder && loadType <= LoadType::WorkingFolder) {
                    box->setText(dir);
                }
            });
    search.exec();
}

void frmOptions::SetGameSearch(std::function<std::vector<FoundGame>()> search)
{
    m_search = std::move(search);
}

void frmOptions::cmdFindGames_Click()
{
    std::vector<FoundGame> games = m_search();
    if (games.empty()) {
        m_messages.Inform("No game was found in the usual places. Set the game folder by hand: " +
                              WhatAGameFolderHolds(),
                          "Find games");
    }
    ShowFoundGames(games);
}

void frmOptions::ShowFoundGames(const std::vector<FoundGame>& games)
{
    m_found = games;
    QSignalBlocker block(m_games);
    m_games->clear();
    for (const FoundGame& game : games) {
        m_games->addItem(QStringLiteral("%1: %2 (%3 archives)")
                             .arg(QString::fromStdString(game.Where.Game->Name),
                                  QString::fromStdString(game.Where.Folder.string()))
                             .arg(game.Where.Archives));
    }
    m_games->setVisible(!games.empty());
}

void frmOptions::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + 1) % m_tabs->count());
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace twl
