// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/BotEditor.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace twl {

// The chat page: the chat types, the lines of the selected one, the line
// box, and the buttons that put word lists, variables and the game's chat
// lists into a line. Every change goes straight into the bot.
class ChatEditor : public QWidget
{
    Q_OBJECT

public:
    ChatEditor(BotEditor& editor, QWidget* parent = nullptr);

    // Shows the bot's chat: the first chat type and its first line.
    void ShowBot();
    // Shows the selected chat type again, its first line selected.
    void RebuildView();

    // Selects chat type `group` and its line `line` (the first when -1).
    void ShowLineOf(int group, int line);

    void AddExtraChats();
    void DeleteAllChats();
    // The game's lists were read (or given up): the lists offered follow.
    void ShowGameLists();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Group() const;
    int Line() const;
    void ShowLine(int line);
    void LineEdited(const QString& text);
    void InsertToken(const std::string& token);
    void ChatListChosen(int list);
    void CheckSynonymsOfLine();
    void ShowLength(const QString& text);
    void FillGameLists();
    // Lines that name lists the game lacks are marked, and the line box
    // says which.
    void MarkLacking(int row);
    void ShowLacking(const QString& text);
    QString LackingText(const std::vector<std::string>& lacking) const;

    BotEditor& m_editor;
    QListWidget* m_groups;
    QListWidget* m_lines;
    QLineEdit* m_line;
    QLabel* m_length;
    QLabel* m_missing;
    QComboBox* m_chatLists;
    QComboBox* m_members;
    QComboBox* m_wordLists;
    QPushButton* m_addList;
    QPushButton* m_randomList;
    QPushButton* m_addWord;
    QPushButton* m_newLine;
    QPushButton* m_removeLine;
    QCheckBox* m_autoSynonyms;
    QPushButton* m_checkSynonyms;
    std::array<QPushButton*, 11> m_pointers{};
    // Set while a selected line is copied into the line box.
    bool m_showingLine = false;
};

} // namespace twl
