#include "session/ChatPage.h"

#include "chat/ChatOperations.h"
#include "chat/Synonyms.h"

#include <algorithm>

namespace twl {

namespace {

// "Guytalk": its member 1 is not offered.
constexpr int GuytalkList = 28;

} // namespace

ChatGroupView ViewOfChatGroup(const BotEditor& editor, int group)
{
    ChatGroupView view;
    const Bot& bot = editor.ThisBot;
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
    if (editor.IsFilling) {
        return;
    }
    if (!showing) {
        editor.IsChanged = true;
    }
    editor.ThisBot.SetBotChat(group, line, text);
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
    if (list < 0 || list >= static_cast<int>(ChatListCount)) {
        return members;
    }
    for (int member = 0; member <= chat.ChatLists[static_cast<std::size_t>(list)].MaxIndex;
         ++member) {
        if (list != GuytalkList || member != 1) {
            members.push_back(std::to_string(member));
        }
    }
    return members;
}

int AddSelectedList(
    BotEditor& editor, int group, int selectedLine, int list, const std::string& member)
{
    const ChatEntry& entry =
        editor.CurrentCatalogues().Chat.ChatLists[static_cast<std::size_t>(list)];
    std::string reference = entry.Token + member + "}}";
    Bot& bot = editor.ThisBot;
    editor.IsChanged = true;
    if (selectedLine >= 0 && selectedLine <= bot.ChatGroupUBound(group) &&
        bot.BotChat(group, selectedLine).empty()) {
        bot.SetBotChat(group, selectedLine, reference);
        return selectedLine;
    }
    if (bot.ChatGroupUBound(group) >= LastChatLine) {
        return selectedLine; // the group is full
    }
    int line = bot.ChatGroupUBound(group) + 1;
    bot.SetBotChat(group, line, reference);
    return line;
}

void AddRandomList(BotEditor& editor, int group)
{
    Bot& bot = editor.ThisBot;
    editor.IsChanged = true;
    if (bot.ChatGroupUBound(group) >= LastChatLine) {
        return;
    }
    const ChatEntry& list =
        editor.CurrentCatalogues()
            .Chat.ChatLists[RandomListOfChatType(static_cast<std::size_t>(group))];
    bot.SetBotChat(group, NextChatIndex(bot, group), RandomListLine(list, editor.Random));
}

int NewChatLine(BotEditor& editor, int group)
{
    Bot& bot = editor.ThisBot;
    editor.IsChanged = true;
    if (bot.ChatGroupUBound(group) >= LastChatLine) {
        return bot.ChatGroupUBound(group);
    }
    int line = bot.ChatGroupUBound(group) + 1;
    bot.SetBotChat(group, line, std::string());
    return line;
}

void RemoveChatLine(BotEditor& editor, int group, int line)
{
    Bot& bot = editor.ThisBot;
    editor.IsChanged = true;
    if (bot.ChatGroupUBound(group) < 1) {
        bot.SetBotChat(group, 0, std::string());
        return;
    }
    if (line >= 0 && line <= bot.ChatGroupUBound(group)) {
        bot.DeleteChat(group, line);
    }
}

void DeleteAllChats(BotEditor& editor)
{
    ClearBotChats(editor.ThisBot);
    editor.IsChanged = true;
}

void AddExtraChatsToBot(BotEditor& editor)
{
    AddExtraChats(editor.ThisBot, editor.CurrentCatalogues().Chat, editor.Random);
    // The lines are the bot's now: closing asks before they are lost.
    editor.IsChanged = true;
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
