// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatCatalogue.h"

#include <algorithm>

namespace twl {

namespace {

// The rows as constant data: built into ChatEntry values only when a
// catalogue is made, not at every start of the program.
// The texts are held in the rows, not pointed to: the tables then need no
// relocating when the program is loaded.
struct ChatRow
{
    char FileName[24];
    char Caption[32];
    char Token[24];
    std::int16_t MaxIndex;
    bool BareZero;
};

constexpr ChatRow ChatTypeRows[ChatTypeCount] = {
    {"game_enter", "Game entry", "", 0, false},
    {"game_exit", "Game exit", "", 0, false},
    {"level_start", "Level starts", "", 0, false},
    {"level_end", "Level ends", "", 0, false},
    {"level_end_victory", "Level ends, bot wins", "", 0, false},
    {"level_end_lose", "Level ends, bot loses", "", 0, false},
    {"hit_talking", "Hit while talking", "", 0, false},
    {"hit_nodeath", "Hit, not dead", "", 0, false},
    {"hit_nokill", "Hit, no kill", "", 0, false},
    {"death_telefrag", "Telefragged", "", 0, false},
    {"death_cratered", "Cratered", "", 0, false},
    {"death_lava", "Death by lava", "", 0, false},
    {"death_slime", "Death by slime", "", 0, false},
    {"death_drown", "Drowned", "", 0, false},
    {"death_suicide", "Suicide", "", 0, false},
    {"death_gauntlet", "Pummeled", "", 0, false},
    {"death_rail", "Death by rail", "", 0, false},
    {"death_bfg", "Death by BFG", "", 0, false},
    {"death_insult", "Bot dies (negative)", "", 0, false},
    {"death_praise", "Bot dies (positive)", "", 0, false},
    {"kill_rail", "Kill by rail", "", 0, false},
    {"kill_gauntlet", "Pummel", "", 0, false},
    {"kill_telefrag", "Kill by telefrag", "", 0, false},
    {"enemy_suicide", "Someone kills him/her/itself", "", 0, false},
    {"kill_insult", "Bot kills (negative)", "", 0, false},
    {"kill_praise", "Bot kills (positive)", "", 0, false},
    {"random_insult", "Random insult", "", 0, false},
    {"random_misc", "Random misc", "", 0, false},
};

constexpr ChatRow ChatListRows[ChatListCount] = {
    {"HELLO", "Enters game", "{{GAMEENTER", 11, true},
    {"GOODBYE", "Exits game", "{{GAMEEXIT", 6, true},
    {"LEVEL_START", "Level starts", "{{LEVELSTART", 3, true},
    {"LEVEL_END", "Level ends", "{{LEVELEND", 4, false},
    {"LEVEL_END_VICTORY", "Bot wins level", "{{LEVELENDVICTORY", 4, false},
    {"LEVEL_END_LOSE", "Bot loses level", "{{LEVELENDLOSE", 2, false},
    {"DEATH_TALKING", "Hit while chatting", "{{HITTALKING", 0, true},
    {"HIT_NOKILL", "Hits, no kill", "{{HITNOKILL", 1, false},
    {"DEATH_TELEFRAGGED", "Dies in telefrag", "{{DEATHTELEFRAG", 3, false},
    {"DEATH_FALLING", "Cratered", "{{DEATHFALLING", 0, true},
    {"DEATH_LAVA", "Death in lava", "{{DEATHLAVA", 2, false},
    {"DEATH_SLIME", "Death in slime", "{{DEATHSLIME", 1, false},
    {"DEATH_DROWN", "Drows", "{{DEATHDROWN", 2, false},
    {"DEATH_SUICIDE", "Kills him/her/itself", "{{DEATHSUICIDE", 6, false},
    {"DEATH_GAUNTLET", "Pummeled", "{{DEATHGAUNTLET", 2, false},
    {"DEATH_RAIL", "Dies by railgun", "{{DEATHRAIL", 2, false},
    {"DEATH_BFG", "Death by BFG", "{{DEATHBFG", 3, false},
    {"DEATH_INSULT", "Dies (negative)", "{{DEATHINSULT", 6, false},
    {"DEATH_FEM_INSULT", "Dies (nagative fem)", "{{DEATHFEMINSULT", 2, true},
    {"D_PRAISE", "Dies (positive)", "{{DEATHPRAISE", 6, true},
    {"KILL_RAIL", "Kills with railgun", "{{KILLRAIL", 2, false},
    {"KILL_GAUNTLET", "Pummels", "{{KILLGAUNTLET", 2, false},
    {"TELEFRAGGED", "Telefrags someone", "{{KILLTELEFRAG", 7, false},
    {"KILL_INSULT", "Kills (negative)", "{{KILLINSULT", 39, false},
    {"PRAISE", "Kills (positive)", "{{KILLPRAISE", 5, true},
    {"TAUNT", "Taunt", "{{TAUNT", 9, true},
    {"TAUNT_FEM", "Feminine taunt", "{{TAUNTFEM", 8, true},
    {"MISC", "Misc", "{{MISC", 16, false},
    {"GUYTALK", "Guytalk", "{{GUYTALK", 2, true},
};

constexpr ChatRow WordListRows[WordListCount] = {
    {"exclamation", "exclamation", "{EXCLAMATION}", 0, false},
    {"good", "good", "{GOOD}", 0, false},
    {"looser", "loser", "{LOSER}", 0, false},
    {"nerd", "nerd", "{NERD}", 0, false},
    {"boyz", "boyz", "{BOYZ}", 0, false},
    {"language", "language", "{LANGUAGE}", 0, false},
    {"weapon", "weapon", "{WEAPON}", 0, false},
    {"ponder", "ponder", "{PONDER}", 0, false},
    {"random_counselor", "random counselor", "{RANDOMCONSELOR}", 0, false},
    {"family_member", "family member", "{FAMILYMEMBER}", 0, false},
    {"friendname", "friendname", "{FRIENDNAME}", 0, false},
    {"different", "different", "{DIFFERENT}", 0, false},
    {"fighter", "fighter", "{FIGHTER}", 0, false},
    {"femalebot", "female bot", "{FEMALEBOT}", 0, false},
    {"androbot", "male bot", "{MALEBOT}", 0, false},
    {"neuterbot", "neuter bot", "{NEUTERBOT}", 0, false},
    {"botnames", "all bots", "{BOTNAMES}", 0, false},
    {"negative", "no", "{NEGATIVE}", 0, false},
    {"affirmative", "yes", "{AFFIRMATIVE}", 0, false},
    {"ramble", "ramble", "{RAMBLE}", 0, false},
    {"item", "item", "{ITEM}", 0, false},
    {"place", "place", "{PLACE}", 0, false},
    {"class", "study class", "{CLASS}", 0, false},
    {"liquid", "liquid", "{LIQUID}", 0, false},
    {"number", "number", "{NUMBER}", 0, false},
    {"profession", "profession", "PROFESSION", 0, false},
    {"one_liners", "one liner", "{ONELINER}", 0, false},
    {"adj", "adjective", "{ADJECTIVE}", 0, false},
    {"color", "color", "{COLOR}", 0, false},
    {"whenf", "whenf", "{WHENF}", 0, false},
    {"whenp", "whenp", "{WHENP}", 0, false},
    {"time", "time", "{TIME}", 0, false},
    {"food", "food", "{FOOD}", 0, false},
    {"animal", "animal", "{ANIMAL}", 0, false},
    {"weather", "weather", "{WEATHER}", 0, false},
    {"month", "month", "{MONTH}", 0, false},
    {"level_title", "level title", "{ALLLEVELTITLE}", 0, false},
    {"curse", "curse", "{CURSE}", 0, false},
    {"playtips", "playtips", "{PLAYTIPS}", 0, false},
};

// The file text of a pointer is the variable number between two quoted texts.
constexpr ChatRow ChatPointerRows[ChatPointerCount] = {
    {"\", 1, \"", "Any opp", "{RANDOMOPP}", 0, false},
    {"\", 4, \"", "Level title", "{LEVELTITLE}", 0, false},
    {"\", 0, \"", "Any bot", "{ANYBOTNAME}", 0, false},
    {"\", 2, \"", "First opp", "{LEVELWINNER}", 0, false},
    {"\", 3, \"", "Last opp", "{LEVELLOSER}", 0, false},
    {"\", 0, \"", "Attacker", "{ATTACKER}", 0, false},
    {"\", 0, \"", "Target", "{TARGET}", 0, false},
    {"\", 1, \"", "Weapon used", "{WEAPONUSED}", 0, false},
    {"\", 1, \"", "Last victim", "{LAST VICTIM}", 0, false},
    {"\", 0, \"", "Any opp", "{RANDOMOPP2}", 0, false},
    {"\", 0, \"", "Attacker", "{ATTACKER}", 0, false},
};

// The pointer sets, and by chat type which of them it uses: 0 game, 1 level
// end, 2 attacker and weapon, 3 target and weapon, 4 telefrag, 5 death by
// the environment, 6 random.
constexpr unsigned char PointerSetOfType[ChatTypeCount] = {
    0, 0, 0,          // 0-2
    1, 1, 1,          // 3-5
    2, 2,             // 6, 7
    3,                // 8
    4,                // 9
    5, 5, 5, 5, 5,    // 10-14
    2, 2, 2, 2, 2,    // 15-19
    3, 3, 3, 3, 3, 3, // 20-25
    6, 6,             // 26, 27
};

// By chat type: the chat list that random lines are drawn from.
constexpr std::size_t RandomLists[ChatTypeCount] = {
    0,  1,  2,  3,  4,  5,  6,  25, 7,  8,  9,  10, 11, 12,
    13, 14, 15, 16, 17, 19, 15, 21, 22, 25, 23, 24, 27, 27,
};

// Quake III's "GUYTALK" list has no member 1.
constexpr std::size_t GuytalkRow = 28;

template <std::size_t Size>
void CopyRows(std::array<ChatEntry, Size>& table, const ChatRow (&rows)[Size])
{
    for (std::size_t i = 0; i < Size; ++i) {
        const ChatRow& row = rows[i];
        table[i] = ChatEntry{row.FileName, row.Caption, row.Token, row.MaxIndex, row.BareZero, {}};
    }
}

} // namespace

void InitChatCatalogue(ChatCatalogue& catalogue)
{
    CopyRows(catalogue.ChatTypes, ChatTypeRows);
    CopyRows(catalogue.ChatLists, ChatListRows);
    CopyRows(catalogue.WordLists, WordListRows);
    CopyRows(catalogue.ChatPointers, ChatPointerRows);
    for (std::size_t k = 0; k < ChatListCount; ++k) {
        ChatEntry& list = catalogue.ChatLists[k];
        for (std::int16_t member = 0; member <= list.MaxIndex; ++member) {
            if (k != GuytalkRow || member != 1) {
                list.Members.push_back(member);
            }
        }
    }
    catalogue.GameName.clear();
    catalogue.GameListNames.clear();
    catalogue.GameOnlyChatLists.clear();
    catalogue.GameOnlyWordLists.clear();
}

bool ChatCatalogue::HasList(const std::string& name) const
{
    return GameName.empty() || std::binary_search(GameListNames.begin(), GameListNames.end(), name);
}

std::string ChatCatalogue::MemberName(const ChatEntry& list, int member) const
{
    if (member == 0 && list.BareZero) {
        return list.FileName;
    }
    return list.FileName + std::to_string(member);
}

const std::vector<int>& PointerSet(std::size_t chatType)
{
    // Made at the first use, not at the program's start.
    static const std::vector<int> sets[] = {
        {0, 1, 2}, {0, 1, 2, 3, 4}, {5, 7}, {6, 7}, {10}, {9}, {9, 8}};
    return sets[PointerSetOfType[chatType]];
}

std::size_t RandomListOfChatType(std::size_t chatType)
{
    return RandomLists[chatType];
}

} // namespace twl
