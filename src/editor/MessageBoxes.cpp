#include "editor/MessageBoxes.h"

#include "core/ShownText.h"

#include <QInputDialog>
#include <QMessageBox>

namespace twl {

namespace {

// A message may hold names from outside: control characters are shown
// escaped, and the text is never read as markup.
QString ToQString(const std::string& text)
{
    return QString::fromStdString(ShownLines(text));
}

QMessageBox::StandardButton Show(QWidget* parent,
                                 QMessageBox::Icon icon,
                                 const std::string& title,
                                 const std::string& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton chosen)
{
    QMessageBox box(icon, ToQString(title), ToQString(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(chosen);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxes::Inform(const std::string& text, const std::string& title)
{
    Show(m_parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxes::Warn(const std::string& text, const std::string& title)
{
    Show(m_parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxes::Ask(const std::string& text, const std::string& title)
{
    return Show(m_parent,
                QMessageBox::Question,
                title,
                text,
                QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxes::Note(const std::string& text)
{
    Show(m_parent, QMessageBox::NoIcon, std::string(), text, QMessageBox::Ok, QMessageBox::Ok);
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
