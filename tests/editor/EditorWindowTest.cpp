// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FunNamePreview.h"
#include "editor/Sliders.h"
#include "editor/frmMain.h"
#include "support/FindChild.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QtTest/qtestcase.h>

#include <gtest/gtest.h>

#include <map>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Message = ScriptedMessages::Message;
using Kind = ScriptedMessages::Kind;

using test::Find;

QString Label(QObject& slider, const QString& name)
{
    return Find<QLabel>(slider, name)->text();
}

class EditorWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<frmMain>(m_folder.Path(), m_messages, std::mt19937(3));
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    void TearDown() override
    {
        m_window->Editor().MarkSaved();
        m_window.reset();
    }

    BotEditor& Editor() { return m_window->Editor(); }

    const Bot& ThisBot() { return m_window->Editor().ThisBot(); }

    // A key pressed on the slider, as the user would.
    void Press(QObject& control, const QString& slider, Qt::Key key)
    {
        QSlider* handle = Find<QSlider>(control, slider);
        QTabWidget* pages = Find<QTabWidget>(*m_window, QStringLiteral("tbsBotPara"));
        for (int page = 0; page < pages->count(); ++page) {
            if (pages->widget(page)->isAncestorOf(handle)) {
                pages->setCurrentIndex(page);
            }
        }
        handle->setFocus();
        QTest::keyClick(handle, key);
    }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    std::unique_ptr<frmMain> m_window;
};

TEST_F(EditorWindowTest, UserMovesWriteTheBotAndCarryTheLinkedLevels)
{
    m_window->CreateAverageBot();
    auto* weight = Find<OneSlider>(*m_window, QStringLiteral("osBotPara_44"));
    Press(*weight, QStringLiteral("sliValue"), Qt::Key_Right);
    EXPECT_EQ(ThisBot().BotPara(44), Value(55.0));
    EXPECT_EQ(Label(*weight, QStringLiteral("lblValue")), QStringLiteral("55"));
    EXPECT_TRUE(Editor().IsChanged());

    // Attack skill never falls as the skill rises: level 1 up pushes 4 and 5.
    auto* attack = Find<ThreeSlider>(*m_window, QStringLiteral("tsBotPara_2"));
    Press(*attack, QStringLiteral("sliValue_1"), Qt::Key_Right);
    for (int level : {1, 4, 5}) {
        EXPECT_EQ(ThisBot().BotPara(Para::OfSkill(level, 2)), Value(0.55)) << level;
        EXPECT_EQ(Label(*attack, QStringLiteral("lblValue_%1").arg(level)), QStringLiteral("0.55"));
    }
    // Reaction time never rises: level 5 up pulls 4 and then 1 up with it.
    auto* reaction = Find<ThreeSlider>(*m_window, QStringLiteral("tsBotPara_7"));
    Press(*reaction, QStringLiteral("sliValue_5"), Qt::Key_PageUp);
    for (int level : {1, 4, 5}) {
        EXPECT_EQ(ThisBot().BotPara(Para::OfSkill(level, 7)), Value(2.25)) << level;
    }
    // Independent levels move alone.
    auto* croucher = Find<ThreeSlider>(*m_window, QStringLiteral("tsBotPara_8"));
    Press(*croucher, QStringLiteral("sliValue_4"), Qt::Key_Left);
    EXPECT_EQ(ThisBot().BotPara(408), Value(0.45));
    EXPECT_EQ(ThisBot().BotPara(108), Value(0.5));
    EXPECT_EQ(ThisBot().BotPara(508), Value(0.5));
    // A zero shows as "No" where the characteristic has no zero.
    auto* machinegun = Find<ThreeSlider>(*m_window, QStringLiteral("tsBotPara_18"));
    Press(*machinegun, QStringLiteral("sliValue_1"), Qt::Key_Home);
    EXPECT_EQ(Label(*machinegun, QStringLiteral("lblValue_1")), QStringLiteral("No"));
    EXPECT_EQ(ThisBot().BotPara(118), Value(0.0));
}

TEST_F(EditorWindowTest, ShowingABotWritesNothingBack)
{
    Bot bot = Editor().ThisBot();
    bot.SetBotPara(102, Value(0.37));
    bot.SetBotPara(402, Value(0.2));
    bot.SetBotPara(507, Value(4.0)); // reaction time rising: against its linking
    bot.SetBotPara(44, WholeNumber(700));
    bot.SetBotPara(72, Value(333.0));
    Editor().Replace("Load bot", bot); // shown at once
    EXPECT_FALSE(Editor().IsChanged());
    EXPECT_EQ(ThisBot(), bot);
    auto* attack = Find<ThreeSlider>(*m_window, QStringLiteral("tsBotPara_2"));
    auto* weight = Find<OneSlider>(*m_window, QStringLiteral("osBotPara_44"));
    EXPECT_EQ(Label(*attack, QStringLiteral("lblValue_1")), QStringLiteral("0.37"));
    EXPECT_EQ(Label(*weight, QStringLiteral("lblValue")), QStringLiteral("700"));
    EXPECT_EQ(Find<QSlider>(*weight, QStringLiteral("sliValue"))->value(), 80);
    // A value beyond the scale says why its knob stands at the end.
    auto* past = Find<QLabel>(*weight, QStringLiteral("lblValue"));
    EXPECT_TRUE(past->font().italic());
    EXPECT_TRUE(past->toolTip().startsWith(
        QStringLiteral("700 lies beyond this slider's scale of 0 to 400, so the knob stands at "
                       "its upper end.")))
        << past->toolTip().toStdString();
    EXPECT_TRUE(past->toolTip().contains(QStringLiteral("\"Max. value\"")));
    EXPECT_EQ(Find<QSlider>(*weight, QStringLiteral("sliValue"))->toolTip(), past->toolTip());
    EXPECT_FALSE(Find<QLabel>(*attack, QStringLiteral("lblValue_1"))->font().italic());
    EXPECT_TRUE(Find<QLabel>(*attack, QStringLiteral("lblValue_1"))->toolTip().isEmpty());
    // Scales change ranges, never values.
    QTabWidget* pages = Find<QTabWidget>(*m_window, QStringLiteral("tbsBotPara"));
    pages->setCurrentIndex(3);
    QTest::mouseClick(
        Find<QRadioButton>(*m_window->findChild<QWidget*>(QStringLiteral("mseSelect_0")),
                           QStringLiteral("opScale_2")),
        Qt::LeftButton);
    EXPECT_EQ(Find<QSlider>(*weight, QStringLiteral("sliValue"))->value(), 140);
    pages->setCurrentIndex(5);
    QTest::mouseClick(
        Find<QRadioButton>(*m_window->findChild<QWidget*>(QStringLiteral("mseSelect_2")),
                           QStringLiteral("opScale_0")),
        Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotPara(102), Value(0.37));
    EXPECT_EQ(ThisBot().BotPara(402), Value(0.2));
    EXPECT_EQ(ThisBot().BotPara(507), Value(4.0));
    EXPECT_EQ(ThisBot().BotPara(44), WholeNumber(700));
    EXPECT_EQ(ThisBot().BotPara(72), Value(333.0));
    EXPECT_EQ(Label(*weight, QStringLiteral("lblValue")), QStringLiteral("700"));
    EXPECT_FALSE(past->font().italic()) << "within the scale of 1000";
    EXPECT_TRUE(past->toolTip().isEmpty());
    EXPECT_FALSE(Editor().IsChanged());
    // The user's move writes the value of the position the slider stands at.
    Press(*attack, QStringLiteral("sliValue_4"), Qt::Key_Right);
    EXPECT_EQ(ThisBot().BotPara(402), Value(0.25));
    EXPECT_EQ(ThisBot().BotPara(102), Value(0.25)); // pulled down from 0.37 (position 7)
}

TEST_F(EditorWindowTest, ScaleSelectorsChangeTheirPagesRanges)
{
    struct Case
    {
        int Selector;
        int Option;
        int Slider;
        QString Caption;
        int Positions;
    };

    const Case cases[] = {
        {0, 1, 44, QStringLiteral("Gauntlet (0-600)"), 120},
        {0, 1, 53, QStringLiteral("Grapple (0-600)"), 120},
        {1, 2, 56, QStringLiteral("Shotgun (0-1000)"), 200},
        {1, 2, 64, QString(), 200},
        {2, 2, 72, QStringLiteral("Teleporter (0-1000)"), 200},
        {2, 2, 80, QStringLiteral("CTF Flag (0-1000)"), 200},
        {2, 2, 54, QStringLiteral("Health (0-4)"), 4},
        {2, 2, 55, QStringLiteral("Armor (0-4)"), 4},
        {2, 0, 79, QStringLiteral("Flight (0-400)"), 80},
    };
    QTabWidget* pages = Find<QTabWidget>(*m_window, QStringLiteral("tbsBotPara"));
    for (const Case& c : cases) {
        auto* selector =
            m_window->findChild<QWidget*>(QStringLiteral("mseSelect_%1").arg(c.Selector));
        ASSERT_NE(selector, nullptr);
        pages->setCurrentIndex(3 + c.Selector);
        QTest::mouseClick(Find<QRadioButton>(*selector, QStringLiteral("opScale_%1").arg(c.Option)),
                          Qt::LeftButton);
        auto* slider = Find<OneSlider>(*m_window, QStringLiteral("osBotPara_%1").arg(c.Slider));
        EXPECT_EQ(slider->Caption(), c.Caption) << c.Slider;
        EXPECT_EQ(Find<QSlider>(*slider, QStringLiteral("sliValue"))->maximum(), c.Positions)
            << c.Slider;
    }
    EXPECT_FALSE(Editor().IsChanged());
}

TEST_F(EditorWindowTest, TabsShowOnePageAndCtrlTabGoesRound)
{
    QTabWidget* pages = Find<QTabWidget>(*m_window, QStringLiteral("tbsBotPara"));
    ASSERT_EQ(pages->count(), 8);
    EXPECT_EQ(pages->tabText(7), QStringLiteral("Chat texts"));
    pages->setCurrentIndex(7);
    for (int page = 0; page < 8; ++page) {
        EXPECT_EQ(
            Find<QWidget>(*m_window, QStringLiteral("picParameters_%1").arg(page))->isEnabled(),
            page == 7);
    }
    Find<QLineEdit>(*m_window, QStringLiteral("txtBotPara_9"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("General characteristics"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_TRUE(Find<QWidget>(*m_window, QStringLiteral("picParameters_1"))->isEnabled());
    EXPECT_FALSE(Find<QWidget>(*m_window, QStringLiteral("picParameters_0"))->isEnabled());
}

TEST_F(EditorWindowTest, TheWindowFitsA1024By768ScreenAndUsesALargerOne)
{
    // Room for the title bar, and a panel of the desktop.
    QSize smallest = m_window->minimumSizeHint();
    EXPECT_LE(smallest.width(), 1024);
    EXPECT_LE(smallest.height(), 768 - 80);
    QTabWidget* pages = Find<QTabWidget>(*m_window, QStringLiteral("tbsBotPara"));
    const char* const sliders[] = {"tsBotPara_2",
                                   "tsBotPara_26",
                                   "osBotPara_31",
                                   "osBotPara_44",
                                   "osBotPara_64",
                                   "osBotPara_80"};
    std::map<std::string, QRect> small;
    for (QSize size : {QSize(1024, 688), QSize(1920, 1040)}) {
        m_window->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(m_window->size(), size);
        for (const char* name : sliders) {
            auto* control = Find<QWidget>(*m_window, name);
            for (int page = 0; page < pages->count(); ++page) {
                if (pages->widget(page)->isAncestorOf(control)) {
                    pages->setCurrentIndex(page);
                }
            }
            QApplication::processEvents();
            QRect shown = control->findChild<QSlider*>()->geometry();
            if (size.width() == 1024) {
                small[name] = shown;
                EXPECT_GE(shown.width(), 100) << name;
            } else {
                // The sliders take the room: no dead half of the window.
                EXPECT_GT(shown.width(), small[name].width() * 3 / 2) << name;
            }
        }
    }
}

TEST_F(EditorWindowTest, AFailedCheckKeepsTheFocusAndTheBot)
{
    auto* name = Find<QLineEdit>(*m_window, QStringLiteral("txtBotPara_0"));
    auto* comment = Find<QLineEdit>(*m_window, QStringLiteral("txtBotPara_9"));
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Bad Name"));
    EXPECT_TRUE(Editor().IsChanged());
    comment->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), name);
    EXPECT_EQ(ThisBot().BotPara(Para::Name), Value("Bot"));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Space error!");
    EXPECT_EQ(name->text(), QStringLiteral("Bad Name"));

    name->setText(QStringLiteral("Johnny"));
    comment->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), comment);
    EXPECT_EQ(ThisBot().BotPara(Para::Name), Value("Johnny"));
    EXPECT_EQ(ThisBot().BotPara(Para::CharFile), Value("johnny_c.c"));
    EXPECT_EQ(m_messages.Received().size(), 1u);
}

TEST_F(EditorWindowTest, ColourButtonsInsertAtTheCursorAndThePreviewFollows)
{
    auto* funName = Find<QLineEdit>(*m_window, QStringLiteral("txtBotPara_2"));
    auto* red = Find<QPushButton>(*m_window, QStringLiteral("cmdFunColor_1"));
    QTest::mouseClick(red, Qt::LeftButton);
    EXPECT_EQ(funName->text(), QString()); // nothing to colour yet
    EXPECT_FALSE(Editor().IsChanged());
    funName->setText(QStringLiteral("Zo\u00EBBot"));
    funName->setCursorPosition(3);
    QTest::mouseClick(Find<QPushButton>(*m_window, QStringLiteral("cmdFunColor_4")),
                      Qt::LeftButton);
    EXPECT_EQ(funName->text(), QStringLiteral("Zo\u00EB^4Bot"));
    EXPECT_EQ(funName->cursorPosition(), 5);
    EXPECT_EQ(QApplication::focusWidget(), funName);
    EXPECT_TRUE(Editor().IsChanged());
    funName->setCursorPosition(0);
    QTest::mouseClick(red, Qt::LeftButton);
    EXPECT_EQ(funName->text(), QStringLiteral("^1Zo\u00EB^4Bot"));
    auto* preview = m_window->findChild<FunNamePreview*>(QStringLiteral("picFunName"));
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->Runs().size(), 2u);
    EXPECT_EQ(preview->Runs()[0], (ColouredRun{"Zo\xC3\xAB", 1}));
    EXPECT_EQ(preview->Runs()[1], (ColouredRun{"Bot", 4}));
    EXPECT_FALSE(preview->IsCut());
    EXPECT_TRUE(preview->toolTip().isEmpty());
    // A name longer than the preview is cut with "…" and shown whole as a tip.
    QString longName = QStringLiteral("^2") + QString(80, QLatin1Char('W'));
    funName->setText(longName);
    EXPECT_TRUE(preview->IsCut());
    EXPECT_EQ(preview->toolTip(), QString(80, QLatin1Char('W')));
    funName->setText(QStringLiteral("^2Short"));
    EXPECT_FALSE(preview->IsCut());
    EXPECT_TRUE(preview->toolTip().isEmpty());
}

TEST_F(EditorWindowTest, GeneralPropertiesGoIntoTheBot)
{
    QTest::mouseClick(Find<QRadioButton>(*m_window, QStringLiteral("opGender_1")), Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotPara(Para::Gender), Value("female"));
    auto* rail = Find<QComboBox>(*m_window, QStringLiteral("cmbRail"));
    ASSERT_EQ(rail->count(), 9);
    rail->setFocus();
    QTest::keyClick(rail, Qt::Key_Down);
    EXPECT_EQ(ThisBot().BotPara(Para::RailColor), WholeNumber(0));
    QTest::mouseClick(Find<QCheckBox>(*m_window, QStringLiteral("chkArenalord")), Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotPara(Para::ArenaLord), WholeNumber(1));
    auto* models = Find<QComboBox>(*m_window, QStringLiteral("cmbModel"));
    auto* skins = Find<QComboBox>(*m_window, QStringLiteral("cmbSkin"));
    EXPECT_EQ(models->currentText(), QStringLiteral("Sarge"));
    models->setFocus();
    QTest::keyClick(models, Qt::Key_Down); // Slash
    EXPECT_EQ(ThisBot().BotPara(Para::Model), Value("Slash"));
    EXPECT_EQ(ThisBot().BotPara(Para::Skin), Value("Default"));
    EXPECT_EQ(Find<QGroupBox>(*m_window, QStringLiteral("fraSkin"))->title(),
              QStringLiteral("Skin name (5 skins)"));
    skins->setFocus();
    QTest::keyClick(skins, Qt::Key_End);
    EXPECT_EQ(ThisBot().BotPara(Para::Skin), Value("Yuriko"));
    EXPECT_TRUE(Editor().IsChanged());

    // Shown again: the controls follow the bot, and it stays as changed as it was.
    m_window->FillBotDataToForm();
    EXPECT_TRUE(Editor().IsChanged());
    EXPECT_TRUE(Find<QRadioButton>(*m_window, QStringLiteral("opGender_1"))->isChecked());
    EXPECT_EQ(rail->currentIndex(), 1);
    EXPECT_EQ(skins->currentText(), QStringLiteral("Yuriko"));
}

TEST_F(EditorWindowTest, AModelOrSkinTheListLacksIsOffered)
{
    auto* models = Find<QComboBox>(*m_window, QStringLiteral("cmbModel"));
    auto* skins = Find<QComboBox>(*m_window, QStringLiteral("cmbSkin"));
    Bot bot = Editor().ThisBot();

    bot.SetBotPara(Para::Model, Value("Robocop"));
    bot.SetBotPara(Para::Skin, Value("Chrome"));
    m_messages.ExpectQuestion(false);
    Editor().Replace("Load bot", bot); // shown at once
    EXPECT_EQ(models->currentIndex(), 0);
    EXPECT_EQ(ThisBot().BotPara(Para::Model), Value("Anarki"));
    EXPECT_EQ(ThisBot().BotPara(Para::Skin), Value("Default"));

    m_messages.ExpectQuestion(true);
    Editor().Replace("Load bot", bot);
    EXPECT_EQ(models->currentText(), QStringLiteral("Robocop"));
    EXPECT_EQ(skins->currentText(), QStringLiteral("Chrome"));
    EXPECT_EQ(Find<QGroupBox>(*m_window, QStringLiteral("fraModel"))->title(),
              QStringLiteral("Model name (24 models)"));

    bot.SetBotPara(Para::Model, Value("sarge"));
    bot.SetBotPara(Para::Skin, Value("Camo"));
    m_messages.ExpectQuestion(false);
    Editor().Replace("Load bot", bot);
    EXPECT_EQ(models->currentText(), QStringLiteral("Sarge"));
    EXPECT_EQ(skins->currentIndex(), 0);
    EXPECT_EQ(ThisBot().BotPara(Para::Skin), Value("Default"));

    bot.SetBotPara(Para::Model, Value("Sarge"));
    m_messages.ExpectQuestion(true);
    Editor().Replace("Load bot", bot);
    EXPECT_EQ(skins->currentText(), QStringLiteral("Camo"));
    EXPECT_EQ(skins->count(), 6);
    EXPECT_FALSE(Editor().IsChanged());
    ASSERT_EQ(m_messages.Received().size(), 4u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Model not found!");
    EXPECT_EQ(m_messages.Received()[3],
              (Message{Kind::Ask,
                       "Skin not found!",
                       "Skin Camo for model Sarge doesn't exist in Tarnwell's model/skin list. Do "
                       "you want to add it there?"}));
}

TEST_F(EditorWindowTest, NewBotCommandsAskAboutUnsavedWork)
{
    auto* weight = Find<OneSlider>(*m_window, QStringLiteral("osBotPara_45"));
    Press(*weight, QStringLiteral("sliValue"), Qt::Key_End);
    ASSERT_TRUE(Editor().IsChanged());
    m_messages.ExpectQuestion(false);
    Find<QAction>(*m_window, QStringLiteral("mnuNewAverage"))->trigger();
    EXPECT_EQ(ThisBot().BotPara(45), Value(400.0));
    m_messages.ExpectQuestion(true);
    Find<QAction>(*m_window, QStringLiteral("mnuNewAverage"))->trigger();
    EXPECT_EQ(ThisBot().BotPara(45), WholeNumber(50));
    EXPECT_EQ(Label(*weight, QStringLiteral("lblValue")), QStringLiteral("50"));
    EXPECT_FALSE(Editor().IsChanged());
    Find<QAction>(*m_window, QStringLiteral("mnuNewRandom"))->trigger();
    EXPECT_FALSE(Editor().IsChanged());
    EXPECT_EQ(Find<QComboBox>(*m_window, QStringLiteral("cmbModel"))->currentText().toStdString(),
              ThisBot().BotPara(Para::Model).ToText());
    EXPECT_EQ(m_messages.Received().size(), 2u);
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST_F(EditorWindowTest, ModelAndSkinCommandsKeepTheListsAndTheBotInStep)
{
    auto* models = Find<QComboBox>(*m_window, QStringLiteral("cmbModel"));
    auto* skins = Find<QComboBox>(*m_window, QStringLiteral("cmbSkin"));
    // The model dialog refuses an empty name and stays open.
    bool refusedAndStayed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add model"));
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("OKButton"));
        ok->click();
        refusedAndStayed = dialog->isVisible();
        dialog->findChild<QLineEdit*>(QStringLiteral("txtName"))
            ->setText(QStringLiteral("Robocop"));
        dialog->findChild<QCheckBox*>(QStringLiteral("chkRedBlue"))->setChecked(true);
        ok->click();
    });
    Find<QAction>(*m_window, QStringLiteral("mnuModelAdd"))->trigger();
    EXPECT_TRUE(refusedAndStayed);
    EXPECT_EQ(m_messages.Received(),
              std::vector<Message>({{Kind::Warn, "Error", "No name is bad name"}}));
    ASSERT_EQ(models->count(), 24);
    EXPECT_EQ(models->itemText(23), QStringLiteral("Robocop"));
    EXPECT_EQ(models->currentText(), QStringLiteral("Sarge")); // the selection stays
    EXPECT_EQ(Find<QGroupBox>(*m_window, QStringLiteral("fraModel"))->title(),
              QStringLiteral("Model name (24 models)"));

    models->setCurrentIndex(23);
    emit models->activated(23);
    EXPECT_EQ(skins->count(), 3);
    m_messages.ExpectTextQuestion(std::string("chrome"));
    Find<QAction>(*m_window, QStringLiteral("mnuSkinAdd"))->trigger();
    EXPECT_EQ(skins->count(), 4);
    EXPECT_EQ(skins->itemText(3), QStringLiteral("Chrome"));

    Editor().MarkSaved();
    m_messages.ExpectQuestion(true);
    Find<QAction>(*m_window, QStringLiteral("mnuModelRemove"))->trigger();
    EXPECT_EQ(models->count(), 23);
    EXPECT_EQ(models->currentIndex(), 0);
    EXPECT_EQ(ThisBot().BotPara(Para::Model), Value("Anarki"));
    EXPECT_EQ(ThisBot().BotPara(Para::Skin), Value("Default"));
    EXPECT_TRUE(Editor().IsChanged());
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST(EditorWindowLists, ALargeModelListIsReadOnceTheWindowIsPainted)
{
    TempFolder folder;
    ScriptedMessages messages;
    std::string text = "[Tarnwell additional models & skins list]\r\n";
    for (std::size_t model = 0; model <= LargeListLines; ++model) {
        text += "\"Extra" + std::to_string(model) + "\", \"Default\", \"many.pk3\", \"\"\r\n";
    }
    test::WriteBytes(folder / "twl_models", text);
    frmMain window(folder.Path(), messages);
    auto* models = window.findChild<QComboBox*>(QStringLiteral("cmbModel"));
    EXPECT_EQ(models->count(), 23); // the game's own, at first
    window.show();
    QTRY_COMPARE(models->count(), 23 + static_cast<int>(LargeListLines) + 1);
    EXPECT_EQ(models->currentText(), QStringLiteral("Sarge"));
    EXPECT_FALSE(window.Editor().IsChanged());
    EXPECT_TRUE(messages.Received().empty());
}

// The Edit menu steps back and forth through the user's edits by its keys,
// each named for what it was.
TEST_F(EditorWindowTest, UndoAndRedoStepThroughTheEditsByTheirKeys)
{
    QTabWidget* pages = Find<QTabWidget>(*m_window, QStringLiteral("tbsBotPara"));
    QAction* undo = m_window->findChild<QAction*>(QStringLiteral("mnuUndo"));
    QAction* redo = m_window->findChild<QAction*>(QStringLiteral("mnuRedo"));
    const Bot first = ThisBot();
    EXPECT_FALSE(undo->isEnabled());

    Press(*Find<ThreeSlider>(*m_window, QStringLiteral("tsBotPara_2")),
          QStringLiteral("sliValue_1"),
          Qt::Key_Right);
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Move Attack skill"));
    auto* name = Find<QLineEdit>(*m_window, QStringLiteral("txtBotPara_0"));
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Undone"));
    pages->setFocus(); // leaving the box stores the name
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Type name"));
    pages->setCurrentIndex(7);
    QTest::mouseClick(Find<QPushButton>(*m_window, QStringLiteral("cmdAddChat")), Qt::LeftButton);
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Add chat line"));
    m_messages.ExpectQuestion(true); // the changed bot is given up
    m_window->findChild<QAction*>(QStringLiteral("mnuNewAverage"))->trigger();
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Average bot"));
    const Bot fourth = ThisBot();

    pages->setFocus();
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(ThisBot(), first);
    EXPECT_FALSE(Editor().IsChanged());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo Move Attack skill"));
    EXPECT_EQ(Find<QLineEdit>(*m_window, QStringLiteral("txtBotPara_0"))->text(),
              QStringLiteral("Bot"));
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    EXPECT_EQ(ThisBot(), fourth);
    EXPECT_FALSE(Editor().IsChanged());
    EXPECT_FALSE(redo->isEnabled());
    // Ctrl+Y redoes too.
    QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(m_window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ThisBot(), fourth);
}

} // namespace
} // namespace twl
