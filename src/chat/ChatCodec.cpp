// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatCodec.h"

#include "core/TextCase.h"
#include "core/Trim.h"
#include "core/ValueFormat.h"

#include <algorithm>
#include <cctype>

namespace twl {

namespace {

constexpr int LevelEndList = 3;
constexpr int TauntList = 25;

bool AllDigits(const std::string& text)
{
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The member number of a line that is exactly a reference to `list`
// ({{TOKEN<digits>}}, the token in any case).
std::optional<std::string> ReferenceMember(const std::string& text, const ChatEntry& list)
{
    std::string lower = LowerCase(text);
    std::string token = LowerCase(list.Token);
    if (!StartsWith(lower, token) || !EndsWith(lower, "}}")) {
        return std::nullopt;
    }
    std::string digits = text.substr(token.size(), text.size() - token.size() - 2);
    if (!AllDigits(digits)) {
        return std::nullopt;
    }
    return digits;
}

std::optional<std::string> EncodeListReference(const std::string& text, const ChatCatalogue& chat)
{
    // Every list's token opens with "{{": a line without one names no list.
    if (text.find("{{") == std::string::npos) {
        return std::nullopt;
    }
    std::string lower = LowerCase(text);
    for (std::size_t k = 0; k < ChatListCount; ++k) {
        const ChatEntry& list = chat.ChatLists[k];
        if (lower.find(LowerCase(list.Token)) == std::string::npos) {
            continue;
        }
        if (k == LevelEndList && (lower.find("{levelendv") != std::string::npos ||
                                  lower.find("{levelendl") != std::string::npos)) {
            continue;
        }
        if (k == TauntList && lower.find("{{tauntfem") != std::string::npos) {
            continue;
        }
        // A token typed into other text is no reference: the line stays text.
        std::optional<std::string> member = ReferenceMember(text, list);
        if (!member) {
            return std::nullopt;
        }
        std::string number =
            member->substr(std::min(member->find_first_not_of('0'), member->size() - 1));
        if (number == "0" && list.BareZero) {
            return list.FileName + ";";
        }
        return list.FileName + number + ";";
    }
    return std::nullopt;
}

std::string EscapeText(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '"') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::optional<std::string> DecodeListReference(const std::string& s, const ChatCatalogue& chat)
{
    for (std::size_t k = 0; k < ChatListCount; ++k) {
        const ChatEntry& list = chat.ChatLists[k];
        // Only the bare name with its member number is a reference; a longer
        // name that starts alike ("LEVEL_END_VICTORY2") is another list's.
        if (!StartsWith(s, list.FileName)) {
            continue;
        }
        std::string member = s.substr(list.FileName.size());
        if (member.empty()) {
            return list.Token + "0}}";
        }
        if (AllDigits(member)) {
            return list.Token + member + "}}";
        }
    }
    return std::nullopt;
}

bool IsNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNamePart(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// One item of a chat line in the file: a quoted text, a bare name (a word
// list, a chat list, or any other random list of the game or a mod) or a
// number (a variable of the message).
struct FileItem
{
    enum class Kind
    {
        Text,
        Name,
        Number
    };

    Kind ItemKind;
    std::string Content; // a text without its quotes and escapes
};

// The items of a line as the game's script reader splits it: items joined
// by commas, closed by ";" (which may be missing), blanks anywhere between,
// a "//" comment after the end. Nothing when the line is not of that form.
std::optional<std::vector<FileItem>> SplitFileItems(const std::string& line)
{
    std::vector<FileItem> items;
    std::size_t i = 0;
    const std::size_t size = line.size();
    auto skipBlanks = [&] {
        while (i < size && IsBlank(line[i])) {
            ++i;
        }
    };
    while (true) {
        skipBlanks();
        if (i >= size) {
            return std::nullopt;
        }
        FileItem item{FileItem::Kind::Text, {}};
        char c = line[i];
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < size) {
                char d = line[i];
                if (d == '\\' && i + 1 < size && (line[i + 1] == '\\' || line[i + 1] == '"')) {
                    item.Content += line[i + 1];
                    i += 2;
                } else if (d == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    item.Content += d;
                    ++i;
                }
            }
            if (!closed) {
                return std::nullopt;
            }
        } else if (c >= '0' && c <= '9') {
            item.ItemKind = FileItem::Kind::Number;
            while (i < size && line[i] >= '0' && line[i] <= '9') {
                item.Content += line[i++];
            }
        } else if (IsNameStart(c)) {
            item.ItemKind = FileItem::Kind::Name;
            while (i < size && IsNamePart(line[i])) {
                item.Content += line[i++];
            }
        } else {
            return std::nullopt;
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (i >= size) {
            return items;
        }
        if (line[i] == ',') {
            ++i;
            continue;
        }
        if (line[i] != ';') {
            return std::nullopt;
        }
        ++i;
        skipBlanks();
        if (i == size || line.compare(i, 2, "//") == 0) {
            return items;
        }
        return std::nullopt;
    }
}

// A line that is no sequence of items stays text: without its first quote,
// its closing ";" and its last quote, escapes read.
std::string LineAsText(const std::string& line)
{
    std::string s = line;
    if (StartsWith(s, "\"")) {
        s.erase(0, 1);
    }
    if (EndsWith(s, ";")) {
        s.pop_back();
    }
    if (EndsWith(s, "\"")) {
        std::size_t backslashes = 0;
        while (backslashes + 1 < s.size() && s[s.size() - 2 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            s.pop_back();
        }
    }
    std::string text;
    text.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            ++i;
        }
        text += s[i];
    }
    return text;
}

// The editor's token of a bare name that is no list the editor knows:
// "{name}", written back as the same bare name.
std::string UnknownNameToken(const std::string& name)
{
    return "{" + name + "}";
}

bool IsKnownToken(const std::string& token, const ChatCatalogue& chat)
{
    for (const ChatEntry& word : chat.WordLists) {
        if (word.Token == token) {
            return true;
        }
    }
    for (const ChatEntry& pointer : chat.ChatPointers) {
        if (pointer.Token == token) {
            return true;
        }
    }
    return false;
}

// The length of an unknown-name token "{name}" at `at`, 0 when there is
// none: a "{" not after another, a name of the game's syntax, a "}" not
// before another, and no token the editor knows ("{ATTACKER}" in a line
// whose type has no attacker stays text).
std::size_t UnknownNameTokenAt(const std::string& text, std::size_t at, const ChatCatalogue& chat)
{
    if (text[at] != '{' || (at > 0 && text[at - 1] == '{') || at + 1 >= text.size() ||
        !IsNameStart(text[at + 1])) {
        return 0;
    }
    std::size_t end = at + 1;
    while (end < text.size() && IsNamePart(text[end])) {
        ++end;
    }
    if (end >= text.size() || text[end] != '}' || (end + 1 < text.size() && text[end + 1] == '}')) {
        return 0;
    }
    std::size_t length = end + 1 - at;
    if (IsKnownToken(text.substr(at, length), chat)) {
        return 0;
    }
    return length;
}

// The length of a variable token "{5}" at `at`: a variable of the message
// that the chat type has no button for (the game fills it all the same).
// 0 when there is none.
std::size_t VariableTokenAt(const std::string& text, std::size_t at)
{
    if (text[at] != '{' || (at > 0 && text[at - 1] == '{')) {
        return 0;
    }
    std::size_t end = at + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    if (end == at + 1 || end - at > 21 || end >= text.size() || text[end] != '}' ||
        (end + 1 < text.size() && text[end + 1] == '}')) {
        return 0;
    }
    return end + 1 - at;
}

// One item of an editor line as it is written: a word list, an admitted
// pointer, a variable or an unknown bare name.
struct EditorItem
{
    std::size_t At;
    std::size_t Length;
    const ChatEntry* Pointer; // set for a pointer
    std::string Name;         // the bare name otherwise
};

} // namespace

std::string EncodeChatLine(const std::string& text, std::size_t chatType, const ChatCatalogue& chat)
{
    if (std::optional<std::string> reference = EncodeListReference(text, chat)) {
        return *reference;
    }
    for (const ChatEntry& word : chat.WordLists) {
        if (text == word.Token) {
            return word.FileName + ";";
        }
    }
    // A pointer alone is its number alone, as the game's own lines have it.
    for (int p : PointerSet(chatType)) {
        const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
        if (text == pointer.Token) {
            return pointer.FileName.substr(3, pointer.FileName.size() - 6) + ";"; // ", 1, "
        }
    }
    if (!text.empty() && (UnknownNameTokenAt(text, 0, chat) == text.size() ||
                          VariableTokenAt(text, 0) == text.size())) {
        return text.substr(1, text.size() - 2) + ";";
    }

    // One pass: every token is found where it stands.
    const std::vector<int>& pointers = PointerSet(chatType);
    std::vector<EditorItem> items;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        if (text[at] == '{' || text[at] == 'P') {
            for (const ChatEntry& word : chat.WordLists) {
                if (text.compare(at, word.Token.size(), word.Token) == 0) {
                    items.push_back(EditorItem{at, word.Token.size(), nullptr, word.FileName});
                    length = word.Token.size();
                    break;
                }
            }
        }
        if (length == 0 && text[at] == '{') {
            for (int p : pointers) {
                const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
                if (text.compare(at, pointer.Token.size(), pointer.Token) == 0) {
                    items.push_back(EditorItem{at, pointer.Token.size(), &pointer, {}});
                    length = pointer.Token.size();
                    break;
                }
            }
            if (length == 0) {
                length = UnknownNameTokenAt(text, at, chat);
                if (length == 0) {
                    length = VariableTokenAt(text, at);
                }
                if (length != 0) {
                    items.push_back(
                        EditorItem{at, length, nullptr, text.substr(at + 1, length - 2)});
                }
            }
        }
        at += length == 0 ? 1 : length;
    }

    // Texts between items are always written (an empty one as ""), the
    // text before the first and after the last item unless the line starts
    // or ends with that item.
    std::string line;
    line.reserve(text.size() + 8 * items.size() + 4);
    std::size_t textStart = 0;
    bool startsWithItem = !items.empty() && items.front().At == 0;
    if (!startsWithItem) {
        line += '"';
    }
    for (std::size_t k = 0; k < items.size(); ++k) {
        const EditorItem& item = items[k];
        line += EscapeText(text.substr(textStart, item.At - textStart));
        bool atStart = item.At == 0;
        bool atEnd = !atStart && item.At + item.Length == text.size();
        if (item.Pointer != nullptr) {
            const std::string& file = item.Pointer->FileName; // ", 1, "
            line += atStart ? file.substr(2) : atEnd ? file.substr(0, file.size() - 3) : file;
        } else {
            line += atStart ? item.Name + ", \""
                    : atEnd ? "\", " + item.Name
                            : "\", " + item.Name + ", \"";
        }
        textStart = item.At + item.Length;
    }
    bool endsWithItem = !items.empty() && textStart == text.size() && items.back().At != 0;
    if (!endsWithItem) {
        line += EscapeText(text.substr(textStart));
        line += '"';
    }
    return line + ";";
}

std::string DecodeChatLine(const std::string& line, std::size_t chatType, const ChatCatalogue& chat)
{
    std::optional<std::vector<FileItem>> items = SplitFileItems(TrimBlanks(line));
    if (!items) {
        return LineAsText(TrimBlanks(line));
    }

    // A bare name alone: a chat-list reference, a word list (in any case)
    // or another list of the game's.
    if (items->size() == 1 && items->front().ItemKind == FileItem::Kind::Name) {
        const std::string& name = items->front().Content;
        // A reference reads as a list's token only when it is written back
        // as it stood: "TAUNT0" where the game calls member 0 "TAUNT", or
        // "HELLO01", stays the name it is.
        if (std::optional<std::string> reference = DecodeListReference(name, chat)) {
            if (EncodeListReference(*reference, chat) == name + ";") {
                return *reference;
            }
            return UnknownNameToken(name);
        }
        std::string lower = LowerCase(name);
        for (const ChatEntry& word : chat.WordLists) {
            if (lower == LowerCase(word.FileName)) {
                return word.Token;
            }
        }
        return UnknownNameToken(name);
    }

    const std::vector<int>& pointers = PointerSet(chatType);
    std::string text;
    for (std::size_t k = 0; k < items->size(); ++k) {
        const FileItem& item = (*items)[k];
        switch (item.ItemKind) {
        case FileItem::Kind::Text:
            text += item.Content;
            break;
        case FileItem::Kind::Name: {
            const ChatEntry* known = nullptr;
            for (const ChatEntry& word : chat.WordLists) {
                if (item.Content == word.FileName) {
                    known = &word;
                    break;
                }
            }
            text += known != nullptr ? known->Token : UnknownNameToken(item.Content);
            break;
        }
        case FileItem::Kind::Number: {
            const ChatEntry* admitted = nullptr;
            for (int p : pointers) {
                const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
                if (RemoveSpaces(pointer.FileName) == "\"," + item.Content + ",\"") {
                    admitted = &pointer;
                    break;
                }
            }
            if (admitted != nullptr) {
                text += admitted->Token;
                break;
            }
            // A variable the type has no button for stays a variable: the
            // game fills it all the same.
            text += "{" + item.Content + "}";
            break;
        }
        }
    }
    return text;
}

} // namespace twl
