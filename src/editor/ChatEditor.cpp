// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ChatEditor.h"

#include "chat/ChatLength.h"
#include "editing/ChatPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace twl {

namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QComboBox* DropDown(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

ChatEditor::ChatEditor(BotEditor& editor, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_groups(new QListWidget(this))
    , m_lines(new QListWidget(this))
    , m_line(new QLineEdit(this))
    , m_length(new QLabel(this))
    , m_missing(new QLabel(this))
    , m_chatLists(DropDown("cmbPreDefChats", this))
    , m_members(DropDown("cmbPreDefChatsIndex", this))
    , m_wordLists(DropDown("cmbPreDefWords", this))
    , m_addList(Button("cmdAddCGroup", QStringLiteral("Add selected list"), this))
    , m_randomList(Button("cmdRandomChatGroup", QStringLiteral("Add random list"), this))
    , m_addWord(Button("cmdAddCWord", QStringLiteral("Add word"), this))
    , m_newLine(Button("cmdAddChat", QStringLiteral("New line"), this))
    , m_removeLine(Button("cmdRemoveChat", QStringLiteral("Remove line"), this))
    , m_autoSynonyms(new QCheckBox(QStringLiteral("Autocheck synonyms"), this))
    , m_checkSynonyms(Button("cmdSyns", QStringLiteral("Check synonyms"), this))
{
    setObjectName(QStringLiteral("fraChatTexts"));
    m_groups->setObjectName(QStringLiteral("lstChatGroups"));
    m_lines->setObjectName(QStringLiteral("lstChat"));
    m_line->setObjectName(QStringLiteral("txtChat"));
    m_length->setObjectName(QStringLiteral("lblChatLength"));
    m_length->setToolTip(QStringLiteral("The line's length as the game counts it: a longer line "
                                        "makes the game refuse the whole chat file"));
    m_autoSynonyms->setObjectName(QStringLiteral("chkSynonyms"));
    m_line->installEventFilter(this);
    // Chat files hold lines of any length; the box must not cut them.
    m_line->setMaxLength(1 << 24);

    const ChatCatalogue& chat = editor.CurrentCatalogues().Chat;
    for (const ChatEntry& type : chat.ChatTypes) {
        m_groups->addItem(Text(type.Caption));
    }
    m_missing->setObjectName(QStringLiteral("lblChatMissing"));
    m_missing->setWordWrap(true);
    m_missing->hide();
    FillGameLists();
    m_groups->setMaximumWidth(
        m_groups->fontMetrics().horizontalAdvance(QStringLiteral("Someone kills him/her/itself")) +
        40);

    // The lines and the line box in the middle, the lists and variables at
    // the right.
    auto* middle = new QVBoxLayout();
    middle->addWidget(m_lines, 1);
    auto* lineRow = new QHBoxLayout();
    lineRow->addWidget(m_line, 1);
    lineRow->addWidget(m_length);
    middle->addLayout(lineRow);
    middle->addWidget(m_missing);
    auto* lineButtons = new QHBoxLayout();
    lineButtons->addWidget(m_newLine);
    lineButtons->addWidget(m_removeLine);
    lineButtons->addStretch(1);
    lineButtons->addWidget(m_autoSynonyms);
    lineButtons->addWidget(m_checkSynonyms);
    middle->addLayout(lineButtons);

    auto* right = new QVBoxLayout();
    right->addWidget(new QLabel(QStringLiteral("Pre-def chat lists:"), this));
    auto* listRow = new QHBoxLayout();
    listRow->addWidget(m_chatLists, 1);
    listRow->addWidget(m_members);
    right->addLayout(listRow);
    auto* listButtons = new QHBoxLayout();
    listButtons->addWidget(m_addList);
    listButtons->addWidget(m_randomList);
    right->addLayout(listButtons);
    right->addSpacing(8);
    right->addWidget(new QLabel(QStringLiteral("Pre-def word lists:"), this));
    auto* wordRow = new QHBoxLayout();
    wordRow->addWidget(m_wordLists, 1);
    wordRow->addWidget(m_addWord);
    right->addLayout(wordRow);
    right->addSpacing(8);
    auto* pointers = new QGridLayout();
    for (std::size_t p = 0; p < m_pointers.size(); ++p) {
        const ChatEntry& pointer = chat.ChatPointers[p];
        m_pointers[p] = new QPushButton(Text(pointer.Caption), this);
        m_pointers[p]->setObjectName(QStringLiteral("cmdPointer_") + QString::number(p));
        m_pointers[p]->setToolTip(Text(pointer.Token));
        pointers->addWidget(m_pointers[p], static_cast<int>(p) / 2, static_cast<int>(p) % 2);
        std::string token = pointer.Token;
        connect(m_pointers[p], &QPushButton::clicked, this, [this, token] { InsertToken(token); });
    }
    right->addLayout(pointers);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_groups);
    layout->addLayout(middle, 2);
    layout->addLayout(right, 1);

    connect(m_groups, &QListWidget::currentRowChanged, this, [this] { RebuildView(); });
    connect(m_lines, &QListWidget::currentRowChanged, this, &ChatEditor::ShowLine);
    connect(m_line, &QLineEdit::textEdited, this, &ChatEditor::LineEdited);
    connect(m_chatLists, &QComboBox::currentIndexChanged, this, [this] {
        ChatListChosen(m_chatLists->currentData().toInt());
    });
    connect(m_addWord, &QPushButton::clicked, this, [this] {
        if (m_wordLists->currentIndex() >= 0) {
            InsertToken(m_wordLists->currentData().toString().toStdString());
        }
    });
    connect(m_addList, &QPushButton::clicked, this, [this] {
        if (Group() < 0 || m_chatLists->currentIndex() < 0) {
            return;
        }
        int selected = Line();
        twl::AddSelectedList(m_editor,
                             Group(),
                             selected,
                             m_chatLists->currentData().toInt(),
                             m_members->currentText().toStdString());
        // The view follows the bot; the selection stays where it was.
        ChatGroupView view = ViewOfChatGroup(m_editor, Group());
        m_showingLine = true;
        m_lines->clear();
        for (const std::string& line : view.Lines) {
            m_lines->addItem(Text(line));
        }
        m_lines->setCurrentRow(std::max(selected, 0));
        m_showingLine = false;
    });
    connect(m_randomList, &QPushButton::clicked, this, [this] {
        if (Group() >= 0) {
            twl::AddRandomList(m_editor, Group());
        }
        RebuildView();
    });
    connect(m_newLine, &QPushButton::clicked, this, [this] {
        if (Group() < 0) {
            return;
        }
        int line = NewChatLine(m_editor, Group());
        if (line >= m_lines->count()) {
            m_lines->addItem(QString());
        }
        m_lines->setCurrentRow(line);
        m_line->setFocus();
    });
    connect(m_removeLine, &QPushButton::clicked, this, [this] {
        if (Group() < 0) {
            return;
        }
        RemoveChatLine(m_editor, Group(), Line());
        RebuildView();
    });
    connect(m_checkSynonyms, &QPushButton::clicked, this, &ChatEditor::CheckSynonymsOfLine);

    m_groups->setCurrentRow(0);
}

void ChatEditor::FillGameLists()
{
    const ChatCatalogue& chat = m_editor.CurrentCatalogues().Chat;
    QSignalBlocker blockLists(m_chatLists);
    m_chatLists->clear();
    for (const OfferedList& list : OfferedChatLists(chat)) {
        m_chatLists->addItem(Text(list.Caption), list.List);
    }
    m_wordLists->clear();
    for (const OfferedWords& words : OfferedWordLists(chat)) {
        m_wordLists->addItem(Text(words.Caption), Text(words.Token));
    }
    m_chatLists->setCurrentIndex(0);
    ChatListChosen(m_chatLists->currentData().toInt());
    QString tip =
        chat.GameName.empty()
            ? QStringLiteral("Quake III Arena's lists")
            : QStringLiteral("The lists of %1, read from its rnd.c").arg(Text(chat.GameName));
    m_chatLists->setToolTip(tip);
    m_wordLists->setToolTip(tip);
}

void ChatEditor::ShowGameLists()
{
    FillGameLists();
    RebuildView();
}

int ChatEditor::Group() const
{
    return m_groups->currentRow();
}

int ChatEditor::Line() const
{
    return m_lines->currentRow();
}

void ChatEditor::ShowBot()
{
    if (Group() != 0) {
        m_groups->setCurrentRow(0); // rebuilds the view
    } else {
        RebuildView();
    }
}

void ChatEditor::RebuildView()
{
    int group = Group();
    m_lines->clear();
    if (group < 0) {
        return;
    }
    ChatGroupView view = ViewOfChatGroup(m_editor, group);
    for (const std::string& line : view.Lines) {
        m_lines->addItem(Text(line));
        MarkLacking(m_lines->count() - 1);
    }
    for (QPushButton* pointer : m_pointers) {
        pointer->hide();
    }
    for (int pointer : view.Pointers) {
        m_pointers[static_cast<std::size_t>(pointer)]->show();
    }
    m_lines->setCurrentRow(0);
    ShowLine(0);
}

void ChatEditor::ShowLine(int line)
{
    if (line < 0 || line >= m_lines->count()) {
        return;
    }
    QString text = m_lines->item(line)->text();
    m_showingLine = true;
    m_line->setText(text);
    m_showingLine = false;
    ShowLength(text);
    ShowLacking(text);
    // A reference to a chat list is replaced or removed, never edited.
    bool editable = !IsChatListReference(text.toStdString());
    m_line->setEnabled(editable);
    m_addWord->setEnabled(editable);
    m_checkSynonyms->setEnabled(editable);
    for (QPushButton* pointer : m_pointers) {
        pointer->setEnabled(editable);
    }
}

void ChatEditor::LineEdited(const QString& text)
{
    int group = Group();
    int line = Line();
    if (group < 0 || line < 0) {
        return;
    }
    ChatLineEdited(m_editor, group, line, text.toStdString(), m_showingLine);
    m_lines->item(line)->setText(text);
    MarkLacking(line);
    ShowLength(text);
    ShowLacking(text);
}

void ChatEditor::MarkLacking(int row)
{
    QListWidgetItem* item = m_lines->item(row);
    std::vector<std::string> lacking = ListsTheGameLacks(
        item->text().toStdString(), std::max(Group(), 0), m_editor.CurrentCatalogues().Chat);
    item->setForeground(lacking.empty() ? m_lines->palette().text() : QBrush(QColor(200, 0, 0)));
    item->setToolTip(lacking.empty() ? QString() : LackingText(lacking));
}

QString ChatEditor::LackingText(const std::vector<std::string>& lacking) const
{
    QStringList names;
    for (const std::string& name : lacking) {
        names << Text(name);
    }
    return QStringLiteral("%1 has no list %2: the game will not say this line.")
        .arg(Text(m_editor.CurrentCatalogues().Chat.GameName), names.join(QStringLiteral(", ")));
}

void ChatEditor::ShowLacking(const QString& text)
{
    std::vector<std::string> lacking = ListsTheGameLacks(
        text.toStdString(), std::max(Group(), 0), m_editor.CurrentCatalogues().Chat);
    m_missing->setVisible(!lacking.empty());
    if (!lacking.empty()) {
        m_missing->setText(LackingText(lacking));
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, QColor(200, 0, 0));
        m_missing->setPalette(colours);
    }
}

void ChatEditor::ShowLength(const QString& text)
{
    // Counted as the chat file will hold the line; a line that is too long
    // is still kept as typed, only the count turns to the warning colour.
    ChatMessageLength length = GameChatLength(text.toStdString(),
                                              static_cast<std::size_t>(std::max(Group(), 0)),
                                              m_editor.CurrentCatalogues().Chat);
    m_length->setText(QStringLiteral("%1/%2").arg(length.Length).arg(MaxChatMessageLength));
    QPalette colours = palette();
    if (!length.Fits) {
        colours.setColor(QPalette::WindowText, QColor(200, 0, 0));
    }
    m_length->setPalette(colours);
    QFont font = this->font();
    font.setBold(!length.Fits);
    m_length->setFont(font);
}

void ChatEditor::InsertToken(const std::string& token)
{
    QString text = m_line->text();
    std::size_t caret =
        static_cast<std::size_t>(text.left(m_line->cursorPosition()).toUtf8().size());
    TextAndCursor inserted = InsertChatToken(text.toStdString(), caret, token);
    QString newText = Text(inserted.Text);
    m_line->setText(newText);
    LineEdited(newText);
    m_line->setFocus();
    m_line->setCursorPosition(static_cast<int>(
        QString::fromUtf8(inserted.Text.data(), static_cast<qsizetype>(inserted.Cursor)).size()));
}

void ChatEditor::ChatListChosen(int list)
{
    m_members->clear();
    for (const std::string& member : ChatListMembers(m_editor.CurrentCatalogues().Chat, list)) {
        m_members->addItem(Text(member));
    }
    m_members->setCurrentIndex(0);
}

void ChatEditor::CheckSynonymsOfLine()
{
    QString checked = Text(CheckLineSynonyms(m_editor, m_line->text().toStdString()));
    if (checked != m_line->text()) {
        m_line->setText(checked);
        LineEdited(checked);
    }
}

void ChatEditor::ShowLineOf(int group, int line)
{
    if (group < 0 || group >= m_groups->count()) {
        return;
    }
    if (Group() != group) {
        m_groups->setCurrentRow(group);
    }
    if (line >= 0 && line < m_lines->count()) {
        m_lines->setCurrentRow(line);
    }
}

void ChatEditor::AddExtraChats()
{
    AddExtraChatsToBot(m_editor);
    RebuildView();
}

void ChatEditor::DeleteAllChats()
{
    twl::ClearAllChats(m_editor);
    RebuildView();
}

bool ChatEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_line && event->type() == QEvent::FocusOut && m_autoSynonyms->isChecked() &&
        m_line->isEnabled()) {
        CheckSynonymsOfLine();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace twl
