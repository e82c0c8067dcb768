// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/BotEditor.h"
#include "editing/FunName.h"

#include <string>
#include <vector>

namespace twl {

// What the chat page shows for a chat type: its lines, and the variables
// (pointer buttons) its lines may hold.
struct ChatGroupView
{
    std::vector<std::string> Lines;
    std::vector<int> Pointers;
};

ChatGroupView ViewOfChatGroup(const BotEditor& editor, int group);

// A line that names a member of one of the game's chat lists ({{HELLO3}})
// is replaced or removed, never edited.
bool IsChatListReference(const std::string& line);

// The line box changed: the text is line `line` of group `group`, and the
// bot has changed unless the program was only showing the line.
void ChatLineEdited(BotEditor& editor, int group, int line, const std::string& text, bool showing);

// A word-list or variable token put into the line at byte `caret`; the
// caret stays before it.
TextAndCursor InsertChatToken(const std::string& text, std::size_t caret, const std::string& token);

// A chat list the page offers: its caption and its id (below
// ChatListCount the table's list of that index, from there on the lists
// only the game has, in their order).
struct OfferedList
{
    std::string Caption;
    int List;
};

// The chat lists the game has (without the game's own lists, all of the
// table's), then those only the game has.
std::vector<OfferedList> OfferedChatLists(const ChatCatalogue& chat);

// A word list the page offers: its caption and the token put into a line.
struct OfferedWords
{
    std::string Caption;
    std::string Token;
};

std::vector<OfferedWords> OfferedWordLists(const ChatCatalogue& chat);

// The random lists that a line of the group names and the game lacks (it
// will not say the line); none without the game's own lists.
std::vector<std::string>
ListsTheGameLacks(const std::string& line, int group, const ChatCatalogue& chat);

// The member numbers the page offers for chat list `list` (an id of
// OfferedChatLists): those the game has ("Guytalk" has no member 1).
std::vector<std::string> ChatListMembers(const ChatCatalogue& chat, int list);

// "Add selected list": the reference to member `member` of chat list
// `list` (an id of OfferedChatLists) replaces the selected line when that is empty, else goes after
// the group's last line. The line it went to.
int AddSelectedList(
    BotEditor& editor, int group, int selectedLine, int list, const std::string& member);
// "Add random list": a random member of the group's own list, in place of
// an only empty line or after the last.
void AddRandomList(BotEditor& editor, int group);
// "New line": an empty line after the last; its index.
int NewChatLine(BotEditor& editor, int group);
// "Remove line": the line goes; a group's only line is emptied instead.
void RemoveChatLine(BotEditor& editor, int group, int line);
// "Delete all chats": every group keeps one empty line.
void ClearAllChats(BotEditor& editor);
// "Add extra chats": one random line of its own list added to every group.
void AddExtraChatsToBot(BotEditor& editor);

// The line with its synonyms marked ("Check synonyms", and leaving the line
// box with "Autocheck synonyms" ticked).
std::string CheckLineSynonyms(BotEditor& editor, const std::string& text);
// "Add synonym": asks for the word and adds it to the list.
void AddSynonymToList(BotEditor& editor);

} // namespace twl
