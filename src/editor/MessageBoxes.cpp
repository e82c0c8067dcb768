// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/MessageBoxes.h"

#include "core/ShownText.h"
#include "dialogs/TitleRoom.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

namespace twl {

namespace {

// A message may hold names from outside: control characters are shown
// escaped, and the text is never read as markup.
QString ToQString(const std::string& text)
{
    return QString::fromStdString(ShownLines(text));
}

// A message box as wide as its title needs: a short text ("Error!!") would
// otherwise make the box so narrow that the title bar cuts its title.
QMessageBox::StandardButton ShowBox(QWidget* parent,
                                    QMessageBox::Icon icon,
                                    const std::string& title,
                                    const std::string& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, ToQString(title), ToQString(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    // The box sizes itself to its layout when shown: a strut in the layout
    // is the way to a minimum width.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(
            new QSpacerItem(
                TitleRoom(box, box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(),
            0,
            1,
            grid->columnCount());
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxes::Inform(const std::string& text, const std::string& title)
{
    ShowBox(m_parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxes::Warn(const std::string& text, const std::string& title)
{
    ShowBox(m_parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxes::Ask(const std::string& text, const std::string& title)
{
    return ShowBox(m_parent,
                   QMessageBox::Question,
                   title,
                   text,
                   QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxes::Note(const std::string& text)
{
    ShowBox(m_parent, QMessageBox::NoIcon, std::string(), text, QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<std::string> MessageBoxes::AskText(const std::string& prompt,
                                                 const std::string& title)
{
    bool accepted = false;
    QString answer = QInputDialog::getText(
        m_parent, ToQString(title), ToQString(prompt), QLineEdit::Normal, QString(), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return answer.toStdString();
}

} // namespace twl
