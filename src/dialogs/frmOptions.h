// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "pk3/Games.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace twl {

// The program's settings: the game folder and the working folder (each with
// a "Search" through the load and save dialog), the author data of the file
// headers, and how many bots were packed. It reads and writes no file: the
// owner hands it the values and takes them back on SaveValues.
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    frmOptions(Messages& messages, QWidget* parent = nullptr);

    // 0 game folder, 1 working folder, 2 extractor folder, 3 user name,
    // 4 e-mail, 5 web page: the text boxes; 6 the bots made (shown only).
    QString IniPara(int index) const;
    void SetIniPara(int index, const QString& value);

    // Opens the folder dialog of search button `index` (0 game folder,
    // 1 working folder); what it reports goes into the text box.
    void cmdSearch_Click(int index);

    // "Find games": the games found in the usual places are listed; picking
    // one puts its folder into the game folder's box. Tests give their own
    // search.
    void cmdFindGames_Click();
    void SetGameSearch(std::function<std::vector<FoundGame>()> search);
    // Lists games already found (at the first start).
    void ShowFoundGames(const std::vector<FoundGame>& games);

signals:
    void SaveValues();
    void Delete();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Messages& m_messages;
    QTabWidget* m_tabs;
    std::array<QLineEdit*, 6> m_texts{};
    QLabel* m_botCount;
    QListWidget* m_games;
    std::vector<FoundGame> m_found;
    std::function<std::vector<FoundGame>()> m_search;
};

} // namespace twl
