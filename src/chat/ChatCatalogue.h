// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace twl {

// One entry of the chat vocabulary. Chat types use FileName and Caption;
// chat lists all five fields; word lists and pointers FileName, Caption
// and Token.
struct ChatEntry
{
    std::string FileName;      // what the chat file holds
    std::string Caption;       // what the editor shows
    std::string Token;         // how a reference stands in a line in the editor
    std::int16_t MaxIndex = 0; // chat lists: members are numbered 0 to MaxIndex
    bool BareZero = false;     // chat lists: member 0 is named by the list name alone
    // Chat lists: the member numbers the game has, ascending (for Quake III
    // 0 to MaxIndex, but Guytalk's 1); empty when the game lacks the list.
    std::vector<std::int16_t> Members;
};

inline constexpr std::size_t ChatTypeCount = 28;
inline constexpr std::size_t ChatListCount = 29;
inline constexpr std::size_t WordListCount = 39;
inline constexpr std::size_t ChatPointerCount = 11;

// The fixed chat vocabulary of the game: chat type i is chat group i of a bot.
struct ChatCatalogue
{
    std::array<ChatEntry, ChatTypeCount> ChatTypes;
    std::array<ChatEntry, ChatListCount> ChatLists;
    std::array<ChatEntry, WordListCount> WordLists;
    std::array<ChatEntry, ChatPointerCount> ChatPointers;

    // Set when the lists are those read from the game's own rnd.c (not the
    // built-in ones of Quake III): the game's name ("OpenArena"), every
    // random list name it has, sorted, and the lists it has that the tables
    // above lack, chat lists (upper case, Members as read) and word lists
    // (Token "{name}", written back as the bare name).
    std::string GameName;
    std::vector<std::string> GameListNames;
    std::vector<ChatEntry> GameOnlyChatLists;
    std::vector<ChatEntry> GameOnlyWordLists;

    // Whether the game has the random list `name` (always without game lists).
    bool HasList(const std::string& name) const;
    // The file name of member `member` of chat list `list` as the game names it.
    std::string MemberName(const ChatEntry& list, int member) const;
};

void InitChatCatalogue(ChatCatalogue& catalogue);

// The pointers (indexes into ChatPointers) that a line of the chat type may
// use, in the order the chat file reader tries them. Every digit of the
// pointers' file texts occurs once in a set.
const std::vector<int>& PointerSet(std::size_t chatType);

// The chat list from which a chat type draws its random lines.
std::size_t RandomListOfChatType(std::size_t chatType);

} // namespace twl
