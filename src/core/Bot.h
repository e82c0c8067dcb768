// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Skill.h"
#include "core/Value.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace twl {

// Parameter numbers of the values a bot holds. Per-skill characteristic c
// (2 to 30) of level L (1, 4 or 5) is 100 * L + c.
namespace Para {
inline constexpr int Name = 0;
inline constexpr int Gender = 1;
inline constexpr int FunName = 2;
inline constexpr int RailColor = 3;
inline constexpr int Model = 5;
inline constexpr int Skin = 6;
inline constexpr int VersionMajor = 7;
inline constexpr int VersionMinor = 8;
inline constexpr int Comment = 9;
inline constexpr int ArenaLord = 10;
inline constexpr int FirstSkillChar = 2; // per-skill characteristics 2 to 30
inline constexpr int LastSkillChar = 30;
inline constexpr int FirstBotValue = 31; // bot-wide characteristics and weights 31 to 80
inline constexpr int LastBotValue = 80;
inline constexpr int ChatFile = 81;
inline constexpr int WeaponFile = 82;
inline constexpr int ItemFile = 83;
inline constexpr int CharFile = 84;
inline constexpr int LowerName = 85;
inline constexpr int ScriptFile = 86;

// The number of per-skill characteristic c of skill level L.
inline constexpr int OfSkill(int level, int characteristic)
{
    return 100 * level + characteristic;
}
} // namespace Para

inline constexpr std::array<std::int16_t, 3> SkillLevels = {1, 4, 5};
inline constexpr int ChatGroupCount = 28;
// Line indexes are 16-bit: a chat group holds lines 0 to 32767.
inline constexpr int LastChatLine = 32767;

// The two weight files of a bot.
enum class WeightFileKind
{
    Weapon, // <name>_w.c, weights 44 to 53
    Item    // <name>_i.c, weights 54 to 80
};

// The files of a bot that open with the program's header.
enum class BotFileKind
{
    Char,
    Weapon,
    Item,
    Chat,
    Script
};
inline constexpr std::size_t BotFileKindCount = 5;

// What a weight file held beyond the weights the editor edits.
struct KeptWeightFile
{
    // The whole file, byte for byte, when it is laid out as another template
    // has it (another template included, or only macros that no weight of the
    // catalogue uses). The editor then does not edit these weights and writes
    // the file back unchanged under the bot's file name.
    std::optional<std::string> ForeignBytes;
    // Lines of a file in the editor's own layout that no weight uses (other
    // #defines, comments), written back after the weights.
    std::vector<std::string> ExtraLines;

    bool operator==(const KeptWeightFile& other) const
    {
        return ForeignBytes == other.ForeignBytes && ExtraLines == other.ExtraLines;
    }
};

// The bot being edited. Every value is reached by its parameter number;
// the derived file names (81 to 86) follow the name and cannot be set.
//
// Addressing a number that names nothing, setting 81 to 86, giving a text
// that is not a number to 7, 8 or 10, or a level other than 1, 4 and 5
// throws BotError and leaves the bot as it was.
class Bot
{
public:
    Bot();

    // Every value, chat line and kept line alike: the same bot to the game
    // and to the editor.
    bool operator==(const Bot& other) const;

    bool operator!=(const Bot& other) const { return !(*this == other); }

    Value BotPara(int index) const;
    // The name sets the names of the bot's files and its chat name (81 to
    // 86); the chat file, weight files and chat name (81, 82, 83, 85) can
    // then be set to what a loaded characteristic file names instead (the
    // load reads those files, as the game does), and are kept so until the
    // name is set again.
    void SetBotPara(int index, const Value& value);
    // Whether that file name or chat name is one a characteristic file gave.
    bool KeepsFileName(int index) const;

    // The skill levels under their keys "S1", "S4" and "S5".
    Skill& Skills(const std::string& key);
    const Skill& Skills(const std::string& key) const;

    // Chat group 0 to 27; each group has at least one line.
    const std::string& BotChat(int group, int line) const;
    // Grows the group with empty lines when `line` lies past its end.
    void SetBotChat(int group, int line, std::string text);
    // Removes the line; later lines move down. The only line of a group is
    // emptied instead, so a group always keeps one line.
    void DeleteChat(int group, int line);
    std::int16_t ChatGroupUBound(int group) const;

    // What the bot's weight files held beyond the edited weights.
    KeptWeightFile& KeptWeights(WeightFileKind file);
    const KeptWeightFile& KeptWeights(WeightFileKind file) const;
    // True when that weight file is kept whole: its weights cannot be edited
    // (the weight pages show so and disable their sliders).
    bool HasForeignWeights(WeightFileKind file) const;
    // Forgets every kept line and kept weight file: a preset or a load of a
    // whole bot starts from the editor's own files.
    void ForgetKeptLines();
    // Whether the skill levels hold values of their own for bot-wide
    // characteristic `index` (Skill::OwnValues), and forgetting them: the
    // one value then stands for every level.
    bool DiffersPerSkill(int index) const;
    void ForgetLevelValues(int index);

    // The comment block that opened a file of the bot when it was loaded (an
    // author's licence and credits), written back below the program's
    // header; empty for a file the program wrote or that had none.
    std::vector<std::string>& LeadingComments(BotFileKind file);
    const std::vector<std::string>& LeadingComments(BotFileKind file) const;

private:
    void DeriveFileNames();
    void KeepFileName(int index, const std::string& name);
    std::vector<std::string>& ChatGroup(int group);
    const std::vector<std::string>& ChatGroup(int group) const;
    std::pair<std::size_t, int> SkillSlot(int index) const;

    std::string m_name;
    std::string m_gender;
    std::string m_funName;
    Value m_railColor;
    std::string m_model;
    std::string m_skin;
    Value m_versionMajor;
    Value m_versionMinor;
    std::string m_comment;
    std::int16_t m_arenaLord = 0;
    std::array<Value, Para::LastBotValue - Para::FirstBotValue + 1> m_values;

    std::string m_chatFile;
    std::string m_weaponFile;
    std::string m_itemFile;
    std::string m_charFile;
    std::string m_lowerName;
    std::string m_scriptFile;
    std::vector<int> m_keptFileNames;

    std::array<Skill, SkillLevels.size()> m_skills;
    std::array<std::vector<std::string>, ChatGroupCount> m_chats;
    std::array<KeptWeightFile, 2> m_keptWeights;
    std::array<std::vector<std::string>, BotFileKindCount> m_leadingComments;
};

} // namespace twl
