// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/BotEditor.h"

#include "chat/ChatOperations.h"
#include "core/BotName.h"
#include "core/TextCase.h"
#include "core/ValueFormat.h"
#include "editing/PageTables.h"
#include "editing/SliderScale.h"
#include "pk3/GameArchives.h"
#include "services/GameVocabulary.h"
#include "services/Presets.h"

#include <algorithm>

namespace twl {

namespace {

const char* const Genders[] = {"male", "female", "it"};

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// A random whole number from 0 to `last`, drawn as every random index of the
// program is: Int(r x (last + 1)) for r in [0, 1).
int RandomIndex(std::mt19937& random, int last)
{
    int index = static_cast<int>(UniformSingle(random) * static_cast<float>(last + 1));
    return std::clamp(index, 0, last);
}

// The value of a slider position as a preset keeps it: whole numbers as
// 16-bit integers, fractions as doubles.
Value StepValue(int position, const SliderRange& range)
{
    double value = PositionValue(position, range);
    if (value == static_cast<double>(static_cast<std::int16_t>(value))) {
        return WholeNumber(static_cast<int>(value));
    }
    return Value(value);
}

// The caption of the slider of a characteristic or weight, for the name of
// an edit ("Move Aim skill").
std::string SliderName(int index)
{
    for (const ThreeSliderLayout& slider : ThreeSliders()) {
        if (slider.Index == index) {
            return slider.Name;
        }
    }
    for (const OneSliderLayout& slider : OneSliders()) {
        if (slider.Index == index) {
            return slider.Name;
        }
    }
    return "value";
}

// The fun name may not hold what ends a value in the game's script reader.
bool IsStorableFunName(const std::string& text)
{
    return text.find_first_of("\"\\;") == std::string::npos;
}

} // namespace

const std::vector<std::string>& RailColours()
{
    static const std::vector<std::string> colours = {
        "None", "White", "Blue", "Green", "Cyan", "Red", "Magenta", "Yellow", "White"};
    return colours;
}

BotEditor::BotEditor(std::filesystem::path settingsFolder, Messages& messages, std::mt19937 random)
    : Random(random)
    , m_settingsFolder(std::move(settingsFolder))
    , m_messages(messages)
{}

void BotEditor::Start()
{
    m_filling = true;
    std::error_code error;
    m_firstStart = !std::filesystem::exists(m_settingsFolder / SettingsFileName, error);
    // What cannot be read is reported; the defaults stand in for it.
    (void)LoadIniFile(m_settingsFolder, m_settings, m_messages);
    InitByValues();
    m_listsPending = HasLargeUserLists(m_settingsFolder);
    InitCatalogues(m_catalogues, m_settingsFolder, m_messages, !m_listsPending);
    LoadGameVocabulary(
        m_catalogues, m_settingsFolder, m_settings.Text(Settings::Q3Baseq3), m_messages);
    Bot first;
    ApplyZeroPreset(first);
    m_history = {Step{std::move(first), "All zeros", {}, true}};
    m_position = 0;
    m_typing = false;
}

bool BotEditor::IsChanged() const
{
    if (m_typing) {
        return true;
    }
    const Bot& bot = ThisBot();
    return std::none_of(m_history.begin(), m_history.end(), [&bot](const Step& step) {
        return step.Clean && step.State == bot;
    });
}

void BotEditor::Notify(ShowAgain show)
{
    if (OnChange) {
        OnChange(show);
    }
}

void BotEditor::Edit(const std::string& name,
                     const std::function<void(Bot&)>& change,
                     ShowAgain show,
                     const std::string& mergeKey)
{
    Bot next = ThisBot();
    change(next);
    if (next == ThisBot()) {
        return;
    }
    m_history.erase(m_history.begin() + static_cast<std::ptrdiff_t>(m_position) + 1,
                    m_history.end());
    Step& last = m_history.back();
    if (!mergeKey.empty() && m_position > 0 && last.MergeKey == mergeKey && !last.Clean) {
        last.State = std::move(next);
    } else {
        m_history.push_back(Step{std::move(next), name, mergeKey, false});
        if (m_history.size() > HistorySteps) {
            m_history.erase(m_history.begin());
        }
        m_position = m_history.size() - 1;
    }
    Notify(show);
}

void BotEditor::Replace(const std::string& name, Bot bot, ShowAgain show)
{
    m_history.erase(m_history.begin() + static_cast<std::ptrdiff_t>(m_position) + 1,
                    m_history.end());
    m_history.push_back(Step{std::move(bot), name, {}, true});
    if (m_history.size() > HistorySteps) {
        m_history.erase(m_history.begin());
    }
    m_position = m_history.size() - 1;
    m_typing = false;
    Notify(show);
}

void BotEditor::Adjust(const std::function<void(Bot&)>& change)
{
    bool changed = IsChanged();
    change(m_history[m_position].State);
    if (!changed) {
        m_history[m_position].Clean = true;
    }
}

void BotEditor::MarkSaved()
{
    for (Step& step : m_history) {
        step.Clean = false;
    }
    m_history[m_position].Clean = true;
    m_typing = false;
    Notify(ShowAgain::Nothing);
}

std::string BotEditor::UndoName() const
{
    return CanUndo() ? m_history[m_position].Name : std::string();
}

std::string BotEditor::RedoName() const
{
    return CanRedo() ? m_history[m_position + 1].Name : std::string();
}

void BotEditor::Undo()
{
    if (CanUndo()) {
        --m_position;
        m_typing = false;
        Notify(ShowAgain::Everything);
    }
}

void BotEditor::Redo()
{
    if (CanRedo()) {
        ++m_position;
        m_typing = false;
        Notify(ShowAgain::Everything);
    }
}

bool BotEditor::LoadPendingLists()
{
    if (!m_listsPending) {
        return false;
    }
    m_listsPending = false;
    LoadUserLists(m_catalogues, m_settingsFolder, m_messages);
    return true;
}

bool BotEditor::TakeFoundGames(const std::vector<FoundGame>& games)
{
    if (games.empty() || !m_settings.Text(Settings::Q3Baseq3).empty()) {
        return false;
    }
    if (games.size() > 1) {
        StatusNote = std::to_string(games.size()) +
                     " games found: choose yours in Program/Options (Find games).";
        return false;
    }
    const FoundGame& game = games.front();
    m_settings.Text(Settings::Q3Baseq3) = AbsoluteGameFolder(game.Where.Folder).string();
    InitByValues();
    UseGameVocabulary();
    StatusNote = "Found " + game.Where.Game->Name + " in " + game.Where.Folder.string() +
                 ": it is the game folder now (Program/Options).";
    return true;
}

void BotEditor::UseGameVocabulary()
{
    LoadPendingLists();
    m_catalogues.Game = GameDefinitions();
    InitChatCatalogue(m_catalogues.Chat);
    LoadGameBots(m_catalogues.Bots);
    LoadUserBots(m_catalogues.Bots, m_settingsFolder, m_messages);
    LoadGameVocabulary(
        m_catalogues, m_settingsFolder, m_settings.Text(Settings::Q3Baseq3), m_messages);
}

void BotEditor::InitByValues()
{
    std::string& game = m_settings.Text(Settings::Q3Baseq3);
    if (!game.empty() && !IsGameFolder(game)) {
        m_messages.Warn("Quake3.exe not found in '" + game + "'\n" + WhatAGameFolderHolds(),
                        "Tarnwell: Quake3.exe missing");
        game.clear();
    }
    std::string& work = m_settings.Text(Settings::WorkDir);
    if (!work.empty() && !IsFolder(work)) {
        m_messages.Warn("Given working directory not found in '" + work +
                            "'. Using application directory.",
                        "Tarnwell: Work directory missing");
        work = m_settingsFolder.string();
    }
    if (work.empty()) {
        work = m_settingsFolder.string();
    }
    CanShowIcons = !game.empty();
    if (m_settings.BotsMade.IsEmpty()) {
        m_settings.BotsMade = WholeNumber(0);
    }
    RememberedFolder = work;
}

bool BotEditor::MayStartNewBot()
{
    return !IsChanged() || m_messages.Ask("The current bot has changed. Do you want to create a "
                                          "new bot and lose unsaved work on this one?",
                                          "Tarnwell");
}

bool BotEditor::CreateZeroBot()
{
    if (!MayStartNewBot()) {
        return false;
    }
    Bot bot;
    ApplyZeroPreset(bot);
    Replace("All zeros", std::move(bot));
    return true;
}

bool BotEditor::CreateAverageBot()
{
    if (!MayStartNewBot()) {
        return false;
    }
    Bot bot;
    StatusNote =
        LeftOutChatsNote(ApplyAveragePreset(bot, m_catalogues.Chat, Random), m_catalogues.Chat);
    Replace("Average bot", std::move(bot));
    return true;
}

bool BotEditor::CreateRandomBot()
{
    if (!MayStartNewBot()) {
        return false;
    }
    Bot bot;
    for (const ThreeSliderLayout& slider : ThreeSliders()) {
        SliderRange range = *RangeFor(SliderKind::ThreeLevels, slider.Max);
        std::array<int, 3> positions{};
        for (int& position : positions) {
            position = RandomIndex(Random, range.Positions);
        }
        if (slider.Link == Linking::NeverFalls) {
            std::sort(positions.begin(), positions.end());
        } else if (slider.Link == Linking::NeverRises) {
            std::sort(positions.rbegin(), positions.rend());
        }
        for (std::size_t level = 0; level < SliderLevels.size(); ++level) {
            bot.SetBotPara(Para::OfSkill(SliderLevels[level], slider.Index),
                           StepValue(positions[level], range));
        }
    }
    for (const OneSliderLayout& slider : OneSliders()) {
        // Weights on the pages' starting scale, whatever a page shows now.
        int max = slider.ScaleGroup >= 0 ? Scales[0] : slider.Max;
        SliderRange range = *RangeFor(SliderKind::OneValue, max);
        bot.SetBotPara(slider.Index, StepValue(RandomIndex(Random, range.Positions), range));
    }
    bot.SetBotPara(Para::Gender, Value(Genders[RandomIndex(Random, 2)]));
    int colour = RandomIndex(Random, static_cast<int>(RailColours().size()) - 1);
    bot.SetBotPara(Para::RailColor, colour == 0 ? Value("None") : WholeNumber(colour - 1));
    const ModelCatalogue& models = m_catalogues.Models;
    if (!models.empty()) {
        const ModelEntry& model = models[static_cast<std::size_t>(
            RandomIndex(Random, static_cast<int>(models.size()) - 1))];
        const SkinEntry& skin = model.Skins[static_cast<std::size_t>(
            RandomIndex(Random, static_cast<int>(model.Skins.size()) - 1))];
        bot.SetBotPara(Para::Model, Value(model.Name));
        bot.SetBotPara(Para::Skin, Value(skin.Name));
    }
    StatusNote = LeftOutChatsNote(AddExtraChats(bot, m_catalogues.Chat, Random), m_catalogues.Chat);
    Replace("Random bot", std::move(bot));
    return true;
}

void BotEditor::SetGender(int option)
{
    if (option < 0 || option > 2) {
        return;
    }
    Edit("Choose gender",
         [option](Bot& bot) { bot.SetBotPara(Para::Gender, Value(Genders[option])); });
}

void BotEditor::SetRailColour(int listIndex)
{
    if (listIndex < 0 || listIndex >= static_cast<int>(RailColours().size())) {
        return;
    }
    Edit("Choose railgun colour", [listIndex](Bot& bot) {
        bot.SetBotPara(Para::RailColor,
                       listIndex == 0 ? Value("None") : WholeNumber(listIndex - 1));
    });
}

void BotEditor::SetArenaLord(bool arenaLord)
{
    Edit("Set arena lord", [arenaLord](Bot& bot) {
        bot.SetBotPara(Para::ArenaLord, WholeNumber(arenaLord ? 1 : 0));
    });
}

void BotEditor::SetOneValue(int index, double value)
{
    Edit(
        "Move " + SliderName(index),
        [index, value](Bot& bot) {
            bot.SetBotPara(index, Value(value));
            // One value for every level now.
            bot.ForgetLevelValues(index);
        },
        ShowAgain::Nothing,
        "slider " + std::to_string(index));
}

void BotEditor::SetSkillValue(int level, int index, double value)
{
    Edit(
        "Move " + SliderName(index),
        [level, index, value](Bot& bot) {
            bot.SetBotPara(Para::OfSkill(level, index), Value(value));
        },
        ShowAgain::Nothing,
        // The linked levels of a slider move with it: one step.
        "slider " + std::to_string(index));
}

void BotEditor::TextEdited()
{
    if (!m_filling) {
        m_typing = true;
    }
}

int BotEditor::GenderOption() const
{
    std::string gender = ThisBot().BotPara(Para::Gender).ToText();
    for (int option = 0; option < 3; ++option) {
        if (gender == Genders[option]) {
            return option;
        }
    }
    return -1;
}

int BotEditor::RailColourIndex() const
{
    Value colour = ThisBot().BotPara(Para::RailColor);
    if (colour.IsText() && colour.AsText() == "None") {
        return 0;
    }
    std::optional<std::int16_t> number = ToInt16(colour);
    if (!number || *number < 0 || *number > 7) {
        return 0;
    }
    return *number + 1;
}

bool BotEditor::ArenaLord() const
{
    return ThisBot().BotPara(Para::ArenaLord) == WholeNumber(1);
}

std::string BotEditor::BoxText(int index) const
{
    if (index == Para::FunName) {
        return ParseValue(ThisBot().BotPara(Para::FunName).ToText()).ToText();
    }
    return ThisBot().BotPara(index).ToText();
}

Value BotEditor::SliderValue(int index, int level) const
{
    return ThisBot().BotPara(level == 0 ? index : Para::OfSkill(level, index));
}

bool BotEditor::ValidateBox(int index, const std::string& text)
{
    bool stored = StoreBox(index, text);
    if (stored) {
        m_typing = false;
    }
    return stored;
}

bool BotEditor::StoreBox(int index, const std::string& text)
{
    auto store = [this, index](const char* name, Value value) {
        Edit(
            name,
            [index, &value](Bot& bot) { bot.SetBotPara(index, value); },
            ShowAgain::Nothing,
            "box " + std::to_string(index));
        return true;
    };
    switch (index) {
    case Para::Name:
        if (std::optional<BotNameComplaint> complaint = CheckBotName(text)) {
            m_messages.Warn(complaint->Text, complaint->Title);
            return false;
        }
        return store("Type name", Value(text));
    case Para::FunName:
        if (!IsStorableFunName(text)) {
            m_messages.Warn("Funname can't contain \" \\ or ;", "Funname error!");
            return false;
        }
        return store("Type fun name", Value(StoredFunName(text)));
    case Para::VersionMajor:
    case Para::VersionMinor:
        // Read as the bot files read numbers: "." is the decimal point.
        if (!IsNumericText(text)) {
            m_messages.Warn("Value must be a number!", "Error!");
            return false;
        }
        return store("Type version", Value(text));
    case Para::Comment:
        return store("Type comment", Value(text));
    default:
        return true;
    }
}

std::optional<int> BotEditor::CheckAllIn(const std::function<std::string(int)>& boxText)
{
    for (int index : TextBoxes) {
        if (!ValidateBox(index, boxText(index))) {
            m_messages.Warn("Errors in bot! Correct before saving!", "Error-or-or!");
            return index;
        }
    }
    return std::nullopt;
}

bool BotEditor::MayClose()
{
    return !IsChanged() ||
           m_messages.Ask("The current bot has changed. Do you still want to exit without saving?",
                          "Tarnwell");
}

void BotEditor::SaveOnExit()
{
    // Lists never read would be written back without the user's entries.
    LoadPendingLists();
    SaveUserLists(m_catalogues, m_settingsFolder, m_messages);
    ReportWriteFailure(SaveIniFile(m_settingsFolder, m_settings), m_messages);
}

ModelSelection BotEditor::ResolveModelAndSkin()
{
    ModelCatalogue& models = m_catalogues.Models;
    std::string model = ThisBot().BotPara(Para::Model).ToText();
    std::string skin = ThisBot().BotPara(Para::Skin).ToText();
    auto findModel = [&]() -> std::optional<std::size_t> {
        for (std::size_t m = 0; m < models.size(); ++m) {
            if (LowerCase(models[m].Name) == LowerCase(model)) {
                return m;
            }
        }
        return std::nullopt;
    };
    std::optional<std::size_t> found = findModel();
    if (!found) {
        if (m_messages.Ask("Model " + model +
                               " doesn't exist in Tarnwell's model/skin list. Do you want to add "
                               "it there?",
                           "Model not found!")) {
            AddModelSkin(models, model, skin, UserDefined, "");
            std::size_t added = *findModel();
            return {static_cast<std::int16_t>(added),
                    static_cast<std::int16_t>(models[added].Skins.size() - 1)};
        }
        return {0, 0};
    }
    const ModelEntry& entry = models[*found];
    for (std::size_t s = 0; s < entry.Skins.size(); ++s) {
        if (LowerCase(entry.Skins[s].Name) == LowerCase(skin)) {
            return {static_cast<std::int16_t>(*found), static_cast<std::int16_t>(s)};
        }
    }
    if (m_messages.Ask("Skin " + skin + " for model " + model +
                           " doesn't exist in Tarnwell's model/skin list. Do you want to add it "
                           "there?",
                       "Skin not found!")) {
        AddModelSkin(models, entry.Name, skin, UserDefined, "");
        return {static_cast<std::int16_t>(*found),
                static_cast<std::int16_t>(models[*found].Skins.size() - 1)};
    }
    return {static_cast<std::int16_t>(*found), 0};
}

void BotEditor::TakeShownModelAndSkin(const ModelSelection& selection)
{
    const ModelCatalogue& models = m_catalogues.Models;
    if (selection.Model < 0 || static_cast<std::size_t>(selection.Model) >= models.size()) {
        return;
    }
    const ModelEntry& model = models[static_cast<std::size_t>(selection.Model)];
    Adjust([&model, &selection](Bot& bot) {
        bot.SetBotPara(Para::Model, Value(model.Name));
        if (selection.Skin >= 0 && static_cast<std::size_t>(selection.Skin) < model.Skins.size()) {
            bot.SetBotPara(Para::Skin,
                           Value(model.Skins[static_cast<std::size_t>(selection.Skin)].Name));
        }
    });
}

void BotEditor::ModelChosen(std::int16_t model)
{
    const ModelCatalogue& models = m_catalogues.Models;
    if (model < 0 || static_cast<std::size_t>(model) >= models.size()) {
        return;
    }
    const ModelEntry& entry = models[static_cast<std::size_t>(model)];
    if (m_filling) {
        Adjust([&entry](Bot& bot) { bot.SetBotPara(Para::Model, Value(entry.Name)); });
        return;
    }
    Edit("Choose model", [&entry](Bot& bot) {
        bot.SetBotPara(Para::Model, Value(entry.Name));
        bot.SetBotPara(Para::Skin, Value(entry.Skins.front().Name));
    });
}

void BotEditor::SkinChosen(std::int16_t model, std::int16_t skin)
{
    const ModelCatalogue& models = m_catalogues.Models;
    if (m_filling || model < 0 || static_cast<std::size_t>(model) >= models.size()) {
        return;
    }
    const ModelEntry& entry = models[static_cast<std::size_t>(model)];
    if (skin < 0 || static_cast<std::size_t>(skin) >= entry.Skins.size()) {
        return;
    }
    std::string name = entry.Skins[static_cast<std::size_t>(skin)].Name;
    Edit("Choose skin", [&name](Bot& bot) { bot.SetBotPara(Para::Skin, Value(name)); });
}

} // namespace twl
