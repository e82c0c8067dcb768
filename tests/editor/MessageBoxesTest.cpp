// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/MessageBoxes.h"

#include "dialogs/TitleRoom.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace twl {
namespace {

struct ShownBox
{
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QString Title;
    QString Text;
    int Buttons = 0;
    Qt::TextFormat Format = Qt::AutoText;
    int Width = 0;
    int TitleNeeds = 0; // the width its title needs
};

// Looks at the message box once it is up, then presses `button` on it.
void AnswerNextBox(ShownBox& shown, QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [&shown, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.Icon = box->icon();
        shown.Title = box->windowTitle();
        shown.Text = box->text();
        shown.Buttons = static_cast<int>(box->standardButtons());
        shown.Format = box->textFormat();
        shown.Width = box->width();
        shown.TitleNeeds = TitleRoom(*box, box->windowTitle());
        box->button(button)->click();
    });
}

TEST(MessageBoxes, WarnAndInformShowTheirIconTitleAndText)
{
    MessageBoxes messages;
    ShownBox shown;
    AnswerNextBox(shown, QMessageBox::Ok);
    messages.Warn("Errors occured when trying to load ini file.", "Load error");
    EXPECT_EQ(shown.Icon, QMessageBox::Warning);
    EXPECT_EQ(shown.Title, QStringLiteral("Load error"));
    EXPECT_EQ(shown.Text, QStringLiteral("Errors occured when trying to load ini file."));

    AnswerNextBox(shown, QMessageBox::Ok);
    messages.Inform("Unable to find chat file for sarge.", "Error during load");
    EXPECT_EQ(shown.Icon, QMessageBox::Information);
    EXPECT_EQ(shown.Title, QStringLiteral("Error during load"));
}

TEST(MessageBoxes, NamesFromOutsideAreNeitherMarkupNorControlCharacters)
{
    MessageBoxes messages;
    ShownBox shown;
    AnswerNextBox(shown, QMessageBox::Ok);
    messages.Warn("Couldn't load <b>x</b>\x1b[31m\nsecond line", "Bad \x07name");
    EXPECT_EQ(shown.Format, Qt::PlainText);
    EXPECT_EQ(shown.Text, QStringLiteral("Couldn't load <b>x</b>\\x1B[31m\nsecond line"));
    EXPECT_EQ(shown.Title, QStringLiteral("Bad \\x07name"));
}

TEST(MessageBoxes, EveryBoxIsWideEnoughForItsTitle)
{
    MessageBoxes messages;

    const struct
    {
        std::function<void()> Show;
        QMessageBox::StandardButton Answer;
    } boxes[] = {
        {[&] { messages.Inform("Bot must have a name!", "Selfawareness error!"); },
         QMessageBox::Ok},
        {[&] { messages.Warn("!", "A title far longer than the text of the box"); },
         QMessageBox::Ok},
        {[&] { messages.Ask("Sure?", "Delete all chats of the bot"); }, QMessageBox::No},
        {[&] { messages.Inform("x", "Folder not found"); }, QMessageBox::Ok},
    };

    for (const auto& box : boxes) {
        ShownBox shown;
        AnswerNextBox(shown, box.Answer);
        box.Show();
        EXPECT_GT(shown.TitleNeeds, 100) << shown.Title.toStdString();
        EXPECT_GE(shown.Width, shown.TitleNeeds) << shown.Title.toStdString();
    }
}

TEST(MessageBoxes, QuestionsAnswerYesOrNo)
{
    MessageBoxes messages;
    ShownBox shown;
    AnswerNextBox(shown, QMessageBox::Yes);
    EXPECT_TRUE(messages.Ask("Do you still want to exit without saving?", "Tarnwell"));
    EXPECT_EQ(shown.Icon, QMessageBox::Question);
    EXPECT_EQ(shown.Buttons, static_cast<int>(QMessageBox::Yes | QMessageBox::No));
    AnswerNextBox(shown, QMessageBox::No);
    EXPECT_FALSE(messages.Ask("Really?", "Tarnwell"));
}

TEST(MessageBoxes, NotesHaveNoTitleAndOnlyOk)
{
    MessageBoxes messages;
    ShownBox shown;
    AnswerNextBox(shown, QMessageBox::Ok);
    messages.Note("/bots/bot-Johnny.pk3 created succesfully");
    EXPECT_EQ(shown.Icon, QMessageBox::NoIcon);
    EXPECT_TRUE(shown.Title.isEmpty());
    EXPECT_EQ(shown.Buttons, static_cast<int>(QMessageBox::Ok));
    EXPECT_EQ(shown.Text, QStringLiteral("/bots/bot-Johnny.pk3 created succesfully"));
}

TEST(MessageBoxes, TextQuestionsGiveTheAnswerOrNothing)
{
    MessageBoxes messages;
    QString label;
    QTimer::singleShot(0, [&label] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        label = dialog->labelText();
        dialog->setTextValue(QStringLiteral("héllo"));
        dialog->accept();
    });
    EXPECT_EQ(messages.AskText("Give the new synonym", "Add synonym"), std::string("héllo"));
    EXPECT_EQ(label, QStringLiteral("Give the new synonym"));

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    EXPECT_FALSE(messages.AskText("Give the new synonym", "Add synonym"));
}

} // namespace
} // namespace twl
