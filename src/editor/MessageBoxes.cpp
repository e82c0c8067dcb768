#include "editor/MessageBoxes.h"

#include <QInputDialog>
#include <QMessageBox>

namespace twl {

namespace {

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

void MessageBoxes::Inform(const std::string& text, const std::string& title)
{
    QMessageBox::information(m_parent, ToQString(title), ToQString(text));
}

void MessageBoxes::Warn(const std::string& text, const std::string& title)
{
    QMessageBox::warning(m_parent, ToQString(title), ToQString(text));
}

bool MessageBoxes::Ask(const std::string& text, const std::string& title)
{
    return QMessageBox::question(m_parent,
                                 ToQString(title),
                                 ToQString(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxes::Note(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), ToQString(text), QMessageBox::Ok, m_parent);
    box.exec();
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
