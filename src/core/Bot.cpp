// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Bot.h"

#include "core/BotError.h"
#include "core/TextCase.h"

#include <algorithm>

namespace twl {

namespace {

[[noreturn]] void ThrowOutOfRange(const std::string& what)
{
    throw BotError(BotError::Kind::OutOfRange, what);
}

std::string ParaName(int index)
{
    return "parameter " + std::to_string(index);
}

// Versions are kept as numbers: a numeric text becomes its number, as the
// editor's version boxes hand their text over.
Value AsVersionNumber(const Value& value)
{
    switch (value.GetKind()) {
    case Value::Kind::Empty:
        return Value(std::int16_t{0});
    case Value::Kind::Text: {
        std::optional<double> number = ParseNumericText(value.AsText());
        if (!number) {
            throw BotError(BotError::Kind::TypeMismatch,
                           "version \"" + value.AsText() + "\" is not a number");
        }
        return Value(*number);
    }
    default:
        return value;
    }
}

} // namespace

Bot::Bot()
{
    for (std::size_t i = 0; i < SkillLevels.size(); ++i) {
        m_skills[i].Level = SkillLevels[i];
    }
    m_name = "Bot";
    DeriveFileNames();
    m_railColor = Value("None");
    m_gender = "male";
    m_model = "Sarge";
    m_skin = "Default";
    m_versionMinor = Value(std::int16_t{0});
    m_versionMajor = Value(std::int16_t{0});
    for (auto& group : m_chats) {
        group.assign(1, std::string());
    }
}

void Bot::DeriveFileNames()
{
    m_keptFileNames.clear();
    m_lowerName = LowerCase(m_name);
    m_charFile = m_lowerName + "_c.c";
    m_chatFile = m_lowerName + "_t.c";
    m_itemFile = m_lowerName + "_i.c";
    m_weaponFile = m_lowerName + "_w.c";
    m_scriptFile = m_lowerName + ".bot";
}

std::pair<std::size_t, int> Bot::SkillSlot(int index) const
{
    int level = index / 100;
    int position = index - 100 * level;
    for (std::size_t i = 0; i < SkillLevels.size(); ++i) {
        if (SkillLevels[i] == level) {
            if (position > Skill::PositionCount - 1) {
                ThrowOutOfRange(ParaName(index));
            }
            return {i, position};
        }
    }
    throw BotError(BotError::Kind::InvalidKey,
                   "skill level " + std::to_string(level) + " does not exist");
}

Value Bot::BotPara(int index) const
{
    switch (index) {
    case Para::Name:
        return Value(m_name);
    case Para::Gender:
        return Value(m_gender);
    case Para::FunName:
        return Value(m_funName);
    case Para::RailColor:
        return m_railColor;
    case Para::Model:
        return Value(m_model);
    case Para::Skin:
        return Value(m_skin);
    case Para::VersionMajor:
        return m_versionMajor;
    case Para::VersionMinor:
        return m_versionMinor;
    case Para::Comment:
        return Value(m_comment);
    case Para::ArenaLord:
        return Value(m_arenaLord);
    case Para::ChatFile:
        return Value(m_chatFile);
    case Para::WeaponFile:
        return Value(m_weaponFile);
    case Para::ItemFile:
        return Value(m_itemFile);
    case Para::CharFile:
        return Value(m_charFile);
    case Para::LowerName:
        return Value(m_lowerName);
    case Para::ScriptFile:
        return Value(m_scriptFile);
    default:
        break;
    }
    if (index >= Para::FirstBotValue && index <= Para::LastBotValue) {
        return m_values[static_cast<std::size_t>(index - Para::FirstBotValue)];
    }
    if (index > 100) {
        auto [slot, position] = SkillSlot(index);
        return m_skills[slot].SkillPara(position);
    }
    ThrowOutOfRange(ParaName(index));
}

void Bot::SetBotPara(int index, const Value& value)
{
    switch (index) {
    case Para::Name:
        m_name = value.ToText();
        DeriveFileNames();
        return;
    case Para::Gender:
        m_gender = value.ToText();
        return;
    case Para::FunName:
        m_funName = value.ToText();
        return;
    case Para::RailColor:
        m_railColor = value;
        return;
    case Para::Model:
        m_model = value.ToText();
        return;
    case Para::Skin:
        m_skin = value.ToText();
        return;
    case Para::VersionMajor:
        m_versionMajor = AsVersionNumber(value);
        return;
    case Para::VersionMinor:
        m_versionMinor = AsVersionNumber(value);
        return;
    case Para::Comment:
        m_comment = value.ToText();
        return;
    case Para::ChatFile:
    case Para::WeaponFile:
    case Para::ItemFile:
    case Para::LowerName:
        KeepFileName(index, value.ToText());
        return;
    case Para::ArenaLord: {
        std::optional<std::int16_t> flag = ToInt16(value);
        if (!flag) {
            throw BotError(value.IsText() ? BotError::Kind::TypeMismatch
                                          : BotError::Kind::OutOfRange,
                           "arena lord flag \"" + value.ToText() + "\" is not a 16-bit number");
        }
        m_arenaLord = *flag;
        return;
    }
    default:
        break;
    }
    if (index >= Para::FirstBotValue && index <= Para::LastBotValue) {
        m_values[static_cast<std::size_t>(index - Para::FirstBotValue)] = value;
        return;
    }
    if (index > 100) {
        auto [slot, position] = SkillSlot(index);
        m_skills[slot].SetSkillPara(position, value);
        return;
    }
    ThrowOutOfRange(ParaName(index) + " cannot be set");
}

Skill& Bot::Skills(const std::string& key)
{
    return const_cast<Skill&>(static_cast<const Bot&>(*this).Skills(key));
}

const Skill& Bot::Skills(const std::string& key) const
{
    for (std::size_t i = 0; i < SkillLevels.size(); ++i) {
        if (key == "S" + std::to_string(SkillLevels[i])) {
            return m_skills[i];
        }
    }
    throw BotError(BotError::Kind::InvalidKey, "no skill level under key \"" + key + "\"");
}

const std::vector<std::string>& Bot::ChatGroup(int group) const
{
    if (group < 0 || group >= ChatGroupCount) {
        ThrowOutOfRange("chat group " + std::to_string(group));
    }
    return m_chats[static_cast<std::size_t>(group)];
}

std::vector<std::string>& Bot::ChatGroup(int group)
{
    return const_cast<std::vector<std::string>&>(static_cast<const Bot&>(*this).ChatGroup(group));
}

const std::string& Bot::BotChat(int group, int line) const
{
    const std::vector<std::string>& lines = ChatGroup(group);
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size()) {
        ThrowOutOfRange("chat line " + std::to_string(line) + " of group " + std::to_string(group));
    }
    return lines[static_cast<std::size_t>(line)];
}

void Bot::SetBotChat(int group, int line, std::string text)
{
    std::vector<std::string>& lines = ChatGroup(group);
    if (line < 0 || line > LastChatLine) {
        ThrowOutOfRange("chat line " + std::to_string(line) + " of group " + std::to_string(group));
    }
    std::size_t position = static_cast<std::size_t>(line);
    if (position >= lines.size()) {
        lines.resize(position + 1);
    }
    lines[position] = std::move(text);
}

void Bot::DeleteChat(int group, int line)
{
    std::vector<std::string>& lines = ChatGroup(group);
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size()) {
        ThrowOutOfRange("chat line " + std::to_string(line) + " of group " + std::to_string(group));
    }
    if (lines.size() == 1) {
        lines[0].clear();
        return;
    }
    lines.erase(lines.begin() + line);
}

std::int16_t Bot::ChatGroupUBound(int group) const
{
    return static_cast<std::int16_t>(ChatGroup(group).size() - 1);
}

KeptWeightFile& Bot::KeptWeights(WeightFileKind file)
{
    return m_keptWeights[file == WeightFileKind::Weapon ? 0 : 1];
}

const KeptWeightFile& Bot::KeptWeights(WeightFileKind file) const
{
    return m_keptWeights[file == WeightFileKind::Weapon ? 0 : 1];
}

bool Bot::HasForeignWeights(WeightFileKind file) const
{
    return KeptWeights(file).ForeignBytes.has_value();
}

bool Bot::operator==(const Bot& other) const
{
    return m_name == other.m_name && m_gender == other.m_gender && m_funName == other.m_funName &&
           m_railColor == other.m_railColor && m_model == other.m_model && m_skin == other.m_skin &&
           m_versionMajor == other.m_versionMajor && m_versionMinor == other.m_versionMinor &&
           m_comment == other.m_comment && m_arenaLord == other.m_arenaLord &&
           m_values == other.m_values && m_chatFile == other.m_chatFile &&
           m_weaponFile == other.m_weaponFile && m_itemFile == other.m_itemFile &&
           m_charFile == other.m_charFile && m_lowerName == other.m_lowerName &&
           m_scriptFile == other.m_scriptFile && m_keptFileNames == other.m_keptFileNames &&
           m_skills == other.m_skills && m_chats == other.m_chats &&
           m_keptWeights == other.m_keptWeights && m_leadingComments == other.m_leadingComments;
}

void Bot::KeepFileName(int index, const std::string& name)
{
    std::string& kept = index == Para::ChatFile     ? m_chatFile
                        : index == Para::WeaponFile ? m_weaponFile
                        : index == Para::ItemFile   ? m_itemFile
                                                    : m_lowerName;
    kept = name;
    if (std::find(m_keptFileNames.begin(), m_keptFileNames.end(), index) == m_keptFileNames.end()) {
        m_keptFileNames.push_back(index);
    }
}

bool Bot::KeepsFileName(int index) const
{
    return std::find(m_keptFileNames.begin(), m_keptFileNames.end(), index) !=
           m_keptFileNames.end();
}

std::vector<std::string>& Bot::LeadingComments(BotFileKind file)
{
    return m_leadingComments[static_cast<std::size_t>(file)];
}

const std::vector<std::string>& Bot::LeadingComments(BotFileKind file) const
{
    return m_leadingComments[static_cast<std::size_t>(file)];
}

bool Bot::DiffersPerSkill(int index) const
{
    for (const Skill& skill : m_skills) {
        if (skill.OwnValues.count(index) != 0) {
            return true;
        }
    }
    return false;
}

void Bot::ForgetLevelValues(int index)
{
    for (Skill& skill : m_skills) {
        skill.OwnValues.erase(index);
    }
}

void Bot::ForgetKeptLines()
{
    for (Skill& skill : m_skills) {
        skill.UnknownLines.clear();
        skill.OwnValues.clear();
        skill.KeptTexts.clear();
    }
    for (KeptWeightFile& kept : m_keptWeights) {
        kept = KeptWeightFile();
    }
    for (std::vector<std::string>& comments : m_leadingComments) {
        comments.clear();
    }
}

} // namespace twl
