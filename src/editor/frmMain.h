// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/BotCheck.h"
#include "core/Messages.h"
#include "editing/BotEditor.h"
#include "editing/FileCommands.h"
#include "editing/SkinIcon.h"

#include <QMainWindow>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <random>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QRadioButton;

namespace twl {

class ChatEditor;
class FunNamePreview;
class ParameterPages;

// The main window: it shows the bot being edited (general properties at the
// left, the parameter pages at the right) and hands every action of the user
// to the editor state, which decides what happens.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // `settingsFolder` holds twl.ini and the user lists; every message goes
    // through `messages`; `random` is the program's one generator.
    frmMain(std::filesystem::path settingsFolder,
            Messages& messages,
            std::mt19937 random = std::mt19937(),
            QWidget* parent = nullptr);

    BotEditor& Editor() { return m_editor; }

    // Shows the bot on the whole window; leaves it unchanged.
    void FillBotDataToForm();
    // Refills the model and skin lists and selects the given positions.
    void FillModelAndSkin(std::int16_t model, std::int16_t skin);
    void FillSkinCombo(std::int16_t model);
    void DrawFunName(const QString& funName);
    // Shows the icon of the selected skin (or the picture that stands for
    // it) in the icon box; the box stays empty while icons cannot be shown.
    void ShowImage();

    void CreateZeroBot();
    void CreateAverageBot();
    void CreateRandomBot();
    // Shows what the editor left for the status line, once.
    void ShowStatusNote();
    // What the editor reports after a change of the bot: shows it again as
    // far as needed, and names the steps of the Edit menu.
    void ShowChange(ShowAgain show);
    void UpdateEditMenu();
    // At the program's first start: the games installed are looked for, and
    // one found becomes the game folder (checked at once); several are
    // named in the status line.
    void FindGamesAtFirstStart();

    // Every text box checked as if left; the index of the first that failed.
    std::optional<int> CheckAllIn();
    // Opens the load and save dialog for load type `sType`.
    void ShowOpenSaveForm(LoadType purpose);
    void LoadBot();
    // Loads the characteristic file named when the program started.
    void OpenAtStart(const std::filesystem::path& file);
    void MakeBotFiles();
    // "Check bot": the findings, and a way to what each concerns.
    void CheckBot();
    void ShowFindings(const std::vector<Finding>& findings,
                      const QString& title = QString(),
                      const QString& heading = QString());
    // "Try in game": the bot's files, made in memory, go to the game's engine,
    // which loads the bot at every skill (with `match`, then lets it play a
    // match of TryMatchSeconds); what the engine said is listed as "Check
    // bot" lists its findings.
    void TryInGame(bool match);
    static constexpr int TryMatchSeconds = 30;
    // Shows the page and control a finding concerns.
    void GoToFinding(const Finding& finding);
    void ShowOptions();
    // "Check baseq3", with its wait window.
    void CheckBaseq3();

    static QString Caption();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption);
    QMenu* AddSubmenu(QMenu* parent, const char* name, const QString& caption);
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption, bool enabled);
    void BuildMenus();
    QWidget* BuildGeneralProperties();
    QLineEdit* AddTextBox(int index);
    void ShowAbout();
    // Reads the large user lists once the window has been painted.
    void LoadPendingLists();
    // Shows the icon that ShowImage left for after the first paint.
    void ShowWaitingImage();
    ModelSelection Selection() const;
    void mnuModelAdd_Click();
    void cmbModel_Click(int index);
    void cmbSkin_Click(int index);
    void FunColourClicked(int code);
    void frmOpenBot_GiveDirAndFile(const QString& currentDir,
                                   const QString& currentFile,
                                   LoadType loType,
                                   bool dirStruct,
                                   bool pk3Bot);
    void frmOpenBot_GiveBot(const QString& botId, LoadType loType);
    void ApplyOutcome(const CommandOutcome& outcome);
    // Leaving text box `index`: its rules, and the focus kept there on failure.
    void ValidateOnLeaving(QLineEdit* box, int index);

    BotEditor m_editor;
    std::map<int, QLineEdit*> m_textBoxes;
    QButtonGroup* m_gender = nullptr;
    QComboBox* m_models = nullptr;
    QComboBox* m_skins = nullptr;
    QGroupBox* m_modelFrame = nullptr;
    QGroupBox* m_skinFrame = nullptr;
    QComboBox* m_rail = nullptr;
    QCheckBox* m_arenaLord = nullptr;
    QLabel* m_icon = nullptr;
    FunNamePreview* m_funName = nullptr;
    ParameterPages* m_pages = nullptr;
    ChatEditor* m_chatPage = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    // Keeps the archive of the last icon open for the next one.
    SkinIconReader m_icons;
    // While the focus is put back into a box that failed its rules, leaving
    // the box it went to is no validation.
    QLineEdit* m_returningTo = nullptr;
    // The first paint does not wait for an icon's archive: until it has
    // happened, ShowImage only notes that an icon is waiting (unless the
    // window is not going to be painted: built but never shown).
    bool m_built = false;
    bool m_painted = false;
    bool m_imageWaiting = false;
};

} // namespace twl
