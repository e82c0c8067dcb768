// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "pk3/Games.h"
#include "services/Catalogues.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace twl {

// Text boxes of the window, by the parameter they edit.
inline constexpr std::array<int, 5> TextBoxes = {
    Para::Name, Para::FunName, Para::VersionMajor, Para::VersionMinor, Para::Comment};

// The entries of the railgun colour list: "None", then colours 0 to 7.
const std::vector<std::string>& RailColours();

// A model of the catalogue and one of its skins, by position.
struct ModelSelection
{
    std::int16_t Model = 0;
    std::int16_t Skin = 0;
};

// What the window shows again after the bot changed: nothing (the control
// that made the change shows it), the chat page, or the whole bot.
enum class ShowAgain
{
    Nothing,
    Chats,
    Everything
};

// What the editor window holds and decides, without any widget: the one bot
// being edited, whether it has unsaved changes, the settings and lists, and
// what every command does to them. The window shows this state and hands
// the user's actions to it; every message goes through `messages`.
class BotEditor
{
public:
    // `settingsFolder` holds twl.ini and the user lists. `random` is the
    // program's one generator (tests give a seeded one).
    BotEditor(std::filesystem::path settingsFolder,
              Messages& messages,
              std::mt19937 random = std::mt19937());

    // Start-up, in this order: the settings are read and applied, the
    // catalogues and lists built, and the
    // first bot made as "All zeros" (not asked about, and not yet shown).
    // Leaves the window filling: it stops once it has shown the bot.
    // Large user lists (LargeListLines) wait for LoadPendingLists.
    void Start();

    // Reads the user lists that Start left for later; true when it did.
    // Everything that needs the lists whole (the lists' file writing, the
    // game-folder check, the bot list of the load dialog) reads them first.
    bool LoadPendingLists();

    bool ListsPending() const { return m_listsPending; }

    // Whether twl.ini was missing at Start: the program runs for the first time.
    bool FirstStart() const { return m_firstStart; }

    // At the first start, with no game folder set: one game found becomes
    // the game folder (true: the window then checks it), several are
    // named in the status line for the options to choose from.
    bool TakeFoundGames(const std::vector<FoundGame>& games);

    // The game folder changed: the bot list and the chat lists become those
    // kept for the new folder, or the built-in ones until it is checked.
    void UseGameVocabulary();

    // The bot being edited. It changes only through Edit and Replace below.
    const Bot& ThisBot() const { return m_history[m_position].State; }

    // Whether the bot differs from every bot it stood as when it was last
    // saved or freshly shown (a new or loaded bot), or a text box holds typed
    // text that has not reached it yet.
    bool IsChanged() const;

    // While the window fills its controls, what they report is the program's
    // own doing and changes nothing.
    bool IsFilling() const { return m_filling; }

    void SetFilling(bool filling) { m_filling = filling; }

    // The one door for a change of the bot: `change` is applied to a copy
    // of it, which takes its place as a new step of the undo history named
    // `name` ("Move Aim skill"); a change that leaves the bot as it was
    // makes no step. Steps of one `mergeKey` in a row (moves of one slider,
    // typing in one box) are one step. OnChange is told, with `show`.
    void Edit(const std::string& name,
              const std::function<void(Bot&)>& change,
              ShowAgain show = ShowAgain::Nothing,
              const std::string& mergeKey = {});
    // A new or loaded bot in place of the one shown: a step too, after which
    // the bot counts as unchanged.
    void Replace(const std::string& name, Bot bot, ShowAgain show = ShowAgain::Everything);
    // A change the window makes to show the bot (the catalogue's spelling of
    // its model): the bot stays as changed or unchanged as it was, and no
    // step is made.
    void Adjust(const std::function<void(Bot&)>& change);
    // The bot as it stands was written: it counts as unchanged, and no other
    // state of the history does.
    void MarkSaved();

    // Undo and redo of the steps, named for the menu; both show the bot anew.
    bool CanUndo() const { return m_position > 0; }

    bool CanRedo() const { return m_position + 1 < m_history.size(); }

    std::string UndoName() const;
    std::string RedoName() const;
    void Undo();
    void Redo();

    // Told after every change of the bot: what the window shows again.
    std::function<void(ShowAgain)> OnChange;

    // Skin icons can be shown: the game folder is set.
    bool CanShowIcons = false;
    std::mt19937 Random;
    // What the status line should say after the last command, when anything
    // (chat lines a new bot left out, a game found at start); the window
    // shows it and clears it.
    std::string StatusNote;

    Settings& CurrentSettings() { return m_settings; }

    const Settings& CurrentSettings() const { return m_settings; }

    Catalogues& CurrentCatalogues() { return m_catalogues; }

    const Catalogues& CurrentCatalogues() const { return m_catalogues; }

    const std::filesystem::path& SettingsFolder() const { return m_settingsFolder; }

    Messages& UserMessages() { return m_messages; }

    // Where the load and save dialog opens next.
    std::filesystem::path RememberedFolder;

    // Applies the settings: a game folder without the game is cleared
    // ("Quake3.exe not found in '...'"), a working folder that does not exist
    // becomes the settings folder ("Given working directory not found in
    // '...'. Using application directory."), an empty one too; an empty
    // counter becomes 0; icons can be shown when a game folder is set; the
    // dialog's folder becomes the working folder.
    void InitByValues();

    // The new-bot commands. With unsaved changes the user is asked first; No
    // keeps the bot and its changes. True when a new bot took the place of
    // the old one: the window then shows it.
    bool CreateZeroBot();
    bool CreateAverageBot();
    // Every characteristic drawn from its slider's positions (the linked
    // levels in their order), weights on the 0-400 grid, health and armour
    // 0 to 4, a random gender, railgun colour and model with one of its
    // skins, and one random line of its list in every chat group.
    bool CreateRandomBot();

    // Edits of the general properties; each marks the bot changed.
    void SetGender(int option);        // 0 male, 1 female, 2 it
    void SetRailColour(int listIndex); // position in RailColours()
    void SetArenaLord(bool arenaLord);
    // A slider moved by the user: one-value characteristic `index` (31 to
    // 80), or per-skill characteristic `index` (2 to 30) of `level`.
    void SetOneValue(int index, double value);
    void SetSkillValue(int level, int index, double value);

    // The user typed in a text box: the bot counts as changed, although the
    // text reaches it only when the box is left (ValidateBox).
    void TextEdited();

    // What the window shows for the bot.
    int GenderOption() const;    // -1 when the bot's gender is none of the three
    int RailColourIndex() const; // position in RailColours()
    bool ArenaLord() const;
    // The text of box `index` (a TextBoxes entry); the fun name without the
    // quotes it is stored in.
    std::string BoxText(int index) const;
    // The value a slider shows: `index` 31 to 80, or 2 to 30 with `level`.
    Value SliderValue(int index, int level = 0) const;

    // The rules of a text box, checked when the user leaves it: on failure
    // the rule's message is shown and nothing is stored (the window keeps
    // the focus in the box); otherwise the text is stored. True when stored.
    bool ValidateBox(int index, const std::string& text);

    // Every text box as if the user had left it; at the first that fails,
    // "Errors in bot! Correct before saving!" and its index; nothing when
    // all passed.
    std::optional<int> CheckAllIn(const std::function<std::string(int)>& boxText);

    // Closing: with unsaved changes the user is asked; No keeps the window.
    bool MayClose();
    // Writes the user lists and twl.ini, reporting each failure.
    void SaveOnExit();

    // The catalogue positions that show the bot's model and skin (matched
    // without regard to case). A model or skin the catalogue lacks is
    // offered to the user: Yes adds it as the user's own, No gives the bot
    // the first model and its first skin (or the model's first skin).
    ModelSelection ResolveModelAndSkin();
    // The lists show model `model` and its skin `skin`: the bot takes their
    // names (as the catalogue spells them), which is no change of the bot.
    void TakeShownModelAndSkin(const ModelSelection& selection);
    // The user chose a model: the bot takes it, and its first skin.
    void ModelChosen(std::int16_t model);
    // The user chose a skin of the selected model.
    void SkinChosen(std::int16_t model, std::int16_t skin);

private:
    // Asked about unsaved changes before a new bot; true when it may come.
    bool MayStartNewBot();
    bool StoreBox(int index, const std::string& text);
    void Notify(ShowAgain show);

    struct Step
    {
        Bot State;
        std::string Name;
        std::string MergeKey;
        bool Clean = false; // saved, or freshly shown
    };

    // At most this many steps are kept.
    static constexpr std::size_t HistorySteps = 200;
    std::vector<Step> m_history{Step{Bot(), "New bot", {}, true}};
    std::size_t m_position = 0;
    bool m_filling = false;
    bool m_typing = false;

    std::filesystem::path m_settingsFolder;
    Messages& m_messages;
    Settings m_settings;
    Catalogues m_catalogues;
    bool m_listsPending = false;
    bool m_firstStart = false;
};

} // namespace twl
