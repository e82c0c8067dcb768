#include "session/BotEditor.h"

#include "chat/ChatOperations.h"
#include "core/BotName.h"
#include "core/TextCase.h"
#include "core/ValueFormat.h"
#include "pk3/GameArchives.h"
#include "session/GameVocabulary.h"
#include "session/PageTables.h"
#include "session/Presets.h"
#include "session/SliderScale.h"

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
    IsFilling = true;
    std::error_code error;
    m_firstStart = !std::filesystem::exists(m_settingsFolder / SettingsFileName, error);
    LoadIniFile(m_settingsFolder, m_settings, m_messages);
    InitByValues();
    m_listsPending = HasLargeUserLists(m_settingsFolder);
    InitCatalogues(m_catalogues, m_settingsFolder, m_messages, !m_listsPending);
    LoadGameVocabulary(
        m_catalogues, m_settingsFolder, m_settings.Text(Settings::Q3Baseq3), m_messages);
    m_tempFolder = std::make_unique<PrivateTempFolder>();
    ThisBot = Bot();
    ApplyZeroPreset(ThisBot);
    IsChanged = false;
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

std::filesystem::path BotEditor::TempDir() const
{
    return m_tempFolder ? m_tempFolder->Path() : std::filesystem::path();
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
    // The archives are read in-process: no outside extractor to look for.
    CanLoadPk3 = true;
    CanShowIcons = !game.empty();
    if (m_settings.BotsMade.IsEmpty()) {
        m_settings.BotsMade = WholeNumber(0);
    }
    RememberedFolder = work;
}

bool BotEditor::StartNewBot()
{
    if (IsChanged && !m_messages.Ask("The current bot has changed. Do you want to create a new "
                                     "bot and lose unsaved work on this one?",
                                     "Tarnwell")) {
        return false;
    }
    ThisBot = Bot();
    return true;
}

bool BotEditor::CreateZeroBot()
{
    if (!StartNewBot()) {
        return false;
    }
    ApplyZeroPreset(ThisBot);
    return true;
}

bool BotEditor::CreateAverageBot()
{
    if (!StartNewBot()) {
        return false;
    }
    StatusNote =
        LeftOutChatsNote(ApplyAveragePreset(ThisBot, m_catalogues.Chat, Random), m_catalogues.Chat);
    return true;
}

bool BotEditor::CreateRandomBot()
{
    if (!StartNewBot()) {
        return false;
    }
    for (const ThreeSliderSpec& slider : ThreeSliders()) {
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
            ThisBot.SetBotPara(Para::OfSkill(SliderLevels[level], slider.Index),
                               StepValue(positions[level], range));
        }
    }
    for (const OneSliderSpec& slider : OneSliders()) {
        // Weights on the pages' starting scale, whatever a page shows now.
        int max = slider.ScaleGroup >= 0 ? Scales[0] : slider.Max;
        SliderRange range = *RangeFor(SliderKind::OneValue, max);
        ThisBot.SetBotPara(slider.Index, StepValue(RandomIndex(Random, range.Positions), range));
    }
    ThisBot.SetBotPara(Para::Gender, Value(Genders[RandomIndex(Random, 2)]));
    int colour = RandomIndex(Random, static_cast<int>(RailColours().size()) - 1);
    ThisBot.SetBotPara(Para::RailColor, colour == 0 ? Value("None") : WholeNumber(colour - 1));
    const ModelCatalogue& models = m_catalogues.Models;
    if (!models.empty()) {
        const ModelEntry& model = models[static_cast<std::size_t>(
            RandomIndex(Random, static_cast<int>(models.size()) - 1))];
        const SkinEntry& skin = model.Skins[static_cast<std::size_t>(
            RandomIndex(Random, static_cast<int>(model.Skins.size()) - 1))];
        ThisBot.SetBotPara(Para::Model, Value(model.Name));
        ThisBot.SetBotPara(Para::Skin, Value(skin.Name));
    }
    StatusNote =
        LeftOutChatsNote(AddExtraChats(ThisBot, m_catalogues.Chat, Random), m_catalogues.Chat);
    return true;
}

void BotEditor::SetGender(int option)
{
    if (option < 0 || option > 2) {
        return;
    }
    ThisBot.SetBotPara(Para::Gender, Value(Genders[option]));
    IsChanged = true;
}

void BotEditor::SetRailColour(int listIndex)
{
    if (listIndex < 0 || listIndex >= static_cast<int>(RailColours().size())) {
        return;
    }
    ThisBot.SetBotPara(Para::RailColor,
                       listIndex == 0 ? Value("None") : WholeNumber(listIndex - 1));
    IsChanged = true;
}

void BotEditor::SetArenaLord(bool arenaLord)
{
    IsChanged = true;
    ThisBot.SetBotPara(Para::ArenaLord, WholeNumber(arenaLord ? 1 : 0));
}

void BotEditor::SetOneValue(int index, double value)
{
    IsChanged = true;
    ThisBot.SetBotPara(index, Value(value));
    // One value for every level now.
    ThisBot.ForgetLevelValues(index);
}

void BotEditor::SetSkillValue(int level, int index, double value)
{
    IsChanged = true;
    ThisBot.SetBotPara(Para::OfSkill(level, index), Value(value));
}

void BotEditor::TextEdited()
{
    if (!IsFilling) {
        IsChanged = true;
    }
}

int BotEditor::GenderOption() const
{
    std::string gender = ThisBot.BotPara(Para::Gender).ToText();
    for (int option = 0; option < 3; ++option) {
        if (gender == Genders[option]) {
            return option;
        }
    }
    return -1;
}

int BotEditor::RailColourIndex() const
{
    Value colour = ThisBot.BotPara(Para::RailColor);
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
    return ThisBot.BotPara(Para::ArenaLord) == WholeNumber(1);
}

std::string BotEditor::BoxText(int index) const
{
    if (index == Para::FunName) {
        return ParseValue(ThisBot.BotPara(Para::FunName).ToText()).ToText();
    }
    return ThisBot.BotPara(index).ToText();
}

Value BotEditor::SliderValue(int index, int level) const
{
    return ThisBot.BotPara(level == 0 ? index : Para::OfSkill(level, index));
}

bool BotEditor::ValidateBox(int index, const std::string& text)
{
    switch (index) {
    case Para::Name:
        if (std::optional<BotNameComplaint> complaint = CheckBotName(text)) {
            m_messages.Warn(complaint->Text, complaint->Title);
            return false;
        }
        ThisBot.SetBotPara(Para::Name, Value(text));
        return true;
    case Para::FunName:
        if (!IsStorableFunName(text)) {
            m_messages.Warn("Funname can't contain \" \\ or ;", "Funname error!");
            return false;
        }
        ThisBot.SetBotPara(Para::FunName, Value(StoredFunName(text)));
        return true;
    case Para::VersionMajor:
    case Para::VersionMinor:
        // Read as the bot files read numbers: "." is the decimal point.
        if (!IsNumericText(text)) {
            m_messages.Warn("Value must be a number!", "Error!");
            return false;
        }
        ThisBot.SetBotPara(index, Value(text));
        return true;
    case Para::Comment:
        ThisBot.SetBotPara(Para::Comment, Value(text));
        return true;
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
    return !IsChanged ||
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
    std::string model = ThisBot.BotPara(Para::Model).ToText();
    std::string skin = ThisBot.BotPara(Para::Skin).ToText();
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

void BotEditor::ShowModelAndSkin(const ModelSelection& selection)
{
    const ModelCatalogue& models = m_catalogues.Models;
    if (selection.Model < 0 || static_cast<std::size_t>(selection.Model) >= models.size()) {
        return;
    }
    const ModelEntry& model = models[static_cast<std::size_t>(selection.Model)];
    ThisBot.SetBotPara(Para::Model, Value(model.Name));
    if (selection.Skin >= 0 && static_cast<std::size_t>(selection.Skin) < model.Skins.size()) {
        ThisBot.SetBotPara(Para::Skin,
                           Value(model.Skins[static_cast<std::size_t>(selection.Skin)].Name));
    }
}

void BotEditor::ModelChosen(std::int16_t model)
{
    const ModelCatalogue& models = m_catalogues.Models;
    if (model < 0 || static_cast<std::size_t>(model) >= models.size()) {
        return;
    }
    const ModelEntry& entry = models[static_cast<std::size_t>(model)];
    ThisBot.SetBotPara(Para::Model, Value(entry.Name));
    if (!IsFilling) {
        ThisBot.SetBotPara(Para::Skin, Value(entry.Skins.front().Name));
        IsChanged = true;
    }
}

void BotEditor::SkinChosen(std::int16_t model, std::int16_t skin)
{
    const ModelCatalogue& models = m_catalogues.Models;
    if (IsFilling || model < 0 || static_cast<std::size_t>(model) >= models.size()) {
        return;
    }
    const ModelEntry& entry = models[static_cast<std::size_t>(model)];
    if (skin < 0 || static_cast<std::size_t>(skin) >= entry.Skins.size()) {
        return;
    }
    ThisBot.SetBotPara(Para::Skin, Value(entry.Skins[static_cast<std::size_t>(skin)].Name));
    IsChanged = true;
}

} // namespace twl
