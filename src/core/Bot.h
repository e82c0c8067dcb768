#pragma once

#include "core/Skill.h"
#include "core/Value.h"

#include <array>
#include <cstdint>
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

    Value BotPara(int index) const;
    void SetBotPara(int index, const Value& value);

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

private:
    void DeriveFileNames();
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

    std::array<Skill, SkillLevels.size()> m_skills;
    std::array<std::vector<std::string>, ChatGroupCount> m_chats;
};

} // namespace twl
