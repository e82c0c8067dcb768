// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/ChatPage.h"

#include "chat/ChatLength.h"
#include "chat/ChatOperations.h"
#include "chat/Synonyms.h"
#include "services/Presets.h"

#include <algorithm>

namespace twl {

namespace {

// The list of an id of the page: the table's chat lists first, then those
// only the game has.
const ChatEntry* ChatListOfId(const ChatCatalogue& chat, int list)
{
    if (list < 0) {
        return nullptr;
    }
    auto index = static_cast<std::size_t>(list);
    if (index < ChatListCount) {
        return &chat.ChatLists[index];
    }
    index -= ChatListCount;
    return index < chat.GameOnlyChatLists.size() ? &chat.GameOnlyChatLists[index] : nullptr;
}

} // namespace

std::vector<OfferedList> OfferedChatLists(const ChatCatalogue& chat)
{
    std::vector<OfferedList> offered;
    for (std::size_t k = 0; k < ChatListCount; ++k) {
        if (!chat.ChatLists[k].Members.empty()) {
            offered.push_back(OfferedList{chat.ChatLists[k].Caption, static_cast<int>(k)});
        }
    }
    for (std::size_t k = 0; k < chat.GameOnlyChatLists.size(); ++k) {
        offered.push_back(
            OfferedList{chat.GameOnlyChatLists[k].Caption, static_cast<int>(ChatListCount + k)});
    }
    return offered;
}

std::vector<OfferedWords> OfferedWordLists(const ChatCatalogue& chat)
{
    std::vector<OfferedWords> offered;
    for (const ChatEntry& words : chat.WordLists) {
        if (chat.HasList(words.FileName)) {
            offered.push_back(OfferedWords{words.Caption, words.Token});
        }
    }
    for (const ChatEntry& words : chat.GameOnlyWordLists) {
        offered.push_back(OfferedWords{words.Caption, words.Token});
    }
    return offered;
}

std::vector<std::string>
ListsTheGameLacks(const std::string& line, int group, const ChatCatalogue& chat)
{
    std::vector<std::string> lacking;
    if (chat.GameName.empty() || group < 0) {
        return lacking;
    }
    for (const std::string& name :
         GameChatLength(line, static_cast<std::size_t>(group), chat).ListNames) {
        if (!chat.HasList(name) &&
            std::find(lacking.begin(), lacking.end(), name) == lacking.end()) {
            lacking.push_back(name);
        }
    }
    return lacking;
}

ChatGroupView ViewOfChatGroup(const BotEditor& editor, int group)
{
    ChatGroupView view;
    const Bot& bot = editor.ThisBot();
    for (int line = 0; line <= bot.ChatGroupUBound(group); ++line) {
        view.Lines.push_back(bot.BotChat(group, line));
    }
    view.Pointers = PointerSet(static_cast<std::size_t>(group));
    return view;
}

bool IsChatListReference(const std::string& line)
{
    return line.size() > 2 && line.compare(0, 2, "{{") == 0;
}

void ChatLineEdited(BotEditor& editor, int group, int line, const std::string& text, bool showing)
{
    if (editor.IsFilling() || showing) {
        return;
    }
    editor.Edit(
        "Type chat line",
        [group, line, &text](Bot& bot) { bot.SetBotChat(group, line, text); },
        ShowAgain::Nothing,
        "chat " + std::to_string(group) + " " + std::to_string(line));
}

TextAndCursor InsertChatToken(const std::string& text, std::size_t caret, const std::string& token)
{
    // At the very start too the token goes in before the text: the line the
    // user wrote is never replaced by it.
    caret = std::min(caret, text.size());
    return {text.substr(0, caret) + token + text.substr(caret), caret};
}

std::vector<std::string> ChatListMembers(const ChatCatalogue& chat, int list)
{
    std::vector<std::string> members;
    if (const ChatEntry* entry = ChatListOfId(chat, list)) {
        for (std::int16_t member : entry->Members) {
            members.push_back(std::to_string(member));
        }
    }
    return members;
}

int AddSelectedList(
    BotEditor& editor, int group, int selectedLine, int list, const std::string& member)
{
    const ChatCatalogue& chat = editor.CurrentCatalogues().Chat;
    const ChatEntry* entry = ChatListOfId(chat, list);
    if (entry == nullptr) {
        return selectedLine;
    }
    // A list only the game has stands in the line by its name, as any list
    // of the game that the tables do not know.
    std::string reference = !entry->Token.empty() ? entry->Token + member + "}}"
                            : member == "0" && entry->BareZero
                                ? "{" + entry->FileName + "}"
                                : "{" + entry->FileName + member + "}";
    const Bot& current = editor.ThisBot();
    int line = selectedLine;
    if (!(selectedLine >= 0 && selectedLine <= current.ChatGroupUBound(group) &&
          current.BotChat(group, selectedLine).empty())) {
        if (current.ChatGroupUBound(group) >= LastChatLine) {
            return selectedLine; // the group is full
        }
        line = current.ChatGroupUBound(group) + 1;
    }
    editor.Edit("Add chat list",
                [group, line, &reference](Bot& bot) { bot.SetBotChat(group, line, reference); });
    return line;
}

void AddRandomList(BotEditor& editor, int group)
{
    if (editor.ThisBot().ChatGroupUBound(group) >= LastChatLine) {
        return;
    }
    const ChatEntry& list =
        editor.CurrentCatalogues()
            .Chat.ChatLists[RandomListOfChatType(static_cast<std::size_t>(group))];
    std::string line = RandomListLine(list, editor.Random);
    if (line.empty()) {
        editor.StatusNote = LeftOutChatsNote(1, editor.CurrentCatalogues().Chat);
        return;
    }
    editor.Edit("Add random list", [group, &line](Bot& bot) {
        bot.SetBotChat(group, NextChatIndex(bot, group), line);
    });
}

int NewChatLine(BotEditor& editor, int group)
{
    int last = editor.ThisBot().ChatGroupUBound(group);
    if (last >= LastChatLine) {
        return last;
    }
    editor.Edit("Add chat line",
                [group, last](Bot& bot) { bot.SetBotChat(group, last + 1, std::string()); });
    return last + 1;
}

void RemoveChatLine(BotEditor& editor, int group, int line)
{
    editor.Edit("Remove chat line", [group, line](Bot& bot) {
        if (bot.ChatGroupUBound(group) < 1) {
            bot.SetBotChat(group, 0, std::string());
        } else if (line >= 0 && line <= bot.ChatGroupUBound(group)) {
            bot.DeleteChat(group, line);
        }
    });
}

void ClearAllChats(BotEditor& editor)
{
    editor.Edit(
        "Delete all chats", [](Bot& bot) { ClearBotChats(bot); }, ShowAgain::Chats);
}

void AddExtraChatsToBot(BotEditor& editor)
{
    int leftOut = 0;
    editor.Edit(
        "Add extra chats",
        [&editor, &leftOut](Bot& bot) {
            leftOut = AddExtraChats(bot, editor.CurrentCatalogues().Chat, editor.Random);
        },
        ShowAgain::Chats);
    editor.StatusNote = LeftOutChatsNote(leftOut, editor.CurrentCatalogues().Chat);
}

std::string CheckLineSynonyms(BotEditor& editor, const std::string& text)
{
    return CheckSynonyms(editor.CurrentCatalogues().Synonyms, text, editor.UserMessages());
}

void AddSynonymToList(BotEditor& editor)
{
    AddSynonym(editor.CurrentCatalogues().Synonyms, editor.UserMessages());
}

} // namespace twl
