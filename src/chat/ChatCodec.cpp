#include "chat/ChatCodec.h"

#include "core/TextCase.h"
#include "core/ValueFormat.h"

#include <algorithm>
#include <cctype>

namespace twl {

namespace {

// Stand-ins for an escaped backslash and double quote while a line is
// decoded: private-use characters, which no bot file can hold.
const std::string EscapedBackslash = "\xEE\x80\x80"; // U+E000
const std::string EscapedQuote = "\xEE\x80\x81";     // U+E001

const std::string CommaBlankQuote = ", \"";
const std::string QuoteComma = "\",";
const std::string CommaQuote = ",\"";

constexpr int LevelEndList = 3;
constexpr int TelefraggedList = 22;
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

void ReplaceFirst(std::string& text, std::size_t at, std::size_t length, const std::string& by)
{
    text.replace(at, length, by);
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
    for (char c : text) {
        if (c == '\\' || c == '"') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string HideEscapes(const std::string& line)
{
    std::string result;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
            result += line[i + 1] == '\\' ? EscapedBackslash : EscapedQuote;
            ++i;
        } else {
            result += line[i];
        }
    }
    return result;
}

std::string RestoreEscapes(const std::string& text)
{
    return ReplaceAll(ReplaceAll(text, EscapedBackslash, "\\"), EscapedQuote, "\"");
}

std::optional<std::string> DecodeListReference(const std::string& s, const ChatCatalogue& chat)
{
    for (std::size_t k = 0; k < ChatListCount; ++k) {
        const ChatEntry& list = chat.ChatLists[k];
        if (s.find(list.FileName) == std::string::npos) {
            continue;
        }
        if ((k == LevelEndList && s.find("LEVEL_END_") != std::string::npos) ||
            (k == TelefraggedList && s.find("_TELEFRAGGED") != std::string::npos) ||
            (k == TauntList && s.find("TAUNT_FEM") != std::string::npos)) {
            continue;
        }
        // Only a bare name with its member number is a reference; upper-case
        // words inside a text are not.
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

// Decodes one item between the quoted texts of a line; true when one was.
bool DecodeOnePass(std::string& s, const std::vector<int>& pointers, const ChatCatalogue& chat)
{
    std::size_t quoteComma = s.find(QuoteComma);

    // Middle item: from a quote-comma to the quote of the next separator.
    if (quoteComma != std::string::npos) {
        std::size_t next = s.find(CommaBlankQuote, quoteComma + 2);
        std::size_t end = next != std::string::npos ? next + 2 : std::string::npos;
        if (next == std::string::npos) {
            next = s.find(CommaQuote, quoteComma + 2);
            end = next != std::string::npos ? next + 1 : std::string::npos;
        }
        if (end != std::string::npos) {
            std::size_t length = end - quoteComma + 1;
            std::string segment = RemoveSpaces(s.substr(quoteComma, length));
            for (int p : pointers) {
                const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
                if (segment == RemoveSpaces(pointer.FileName)) {
                    ReplaceFirst(s, quoteComma, length, pointer.Token);
                    return true;
                }
            }
            if (segment.size() > 4) {
                std::string inner = segment.substr(2, segment.size() - 4);
                for (const ChatEntry& word : chat.WordLists) {
                    if (inner == word.FileName) {
                        ReplaceFirst(s, quoteComma, length, word.Token);
                        return true;
                    }
                }
            }
        }
    }

    // Leading item: from the start to the quote of the first comma-blank-quote.
    std::size_t firstCommaBlankQuote = s.find(CommaBlankQuote);
    if (firstCommaBlankQuote != std::string::npos &&
        (quoteComma == std::string::npos || quoteComma > firstCommaBlankQuote)) {
        std::size_t length = firstCommaBlankQuote + 3;
        std::string lead = RemoveSpaces(s.substr(0, length));
        for (int p : pointers) {
            const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
            if (lead == RemoveSpaces(pointer.FileName).substr(2)) {
                ReplaceFirst(s, 0, length, pointer.Token);
                return true;
            }
        }
        if (lead.size() > 2) {
            std::string name = lead.substr(0, lead.size() - 2);
            for (const ChatEntry& word : chat.WordLists) {
                if (name == word.FileName) {
                    ReplaceFirst(s, 0, length, word.Token);
                    return true;
                }
            }
        }
    }

    // Trailing item: from the last item's quote-comma to the end.
    if (quoteComma != std::string::npos &&
        s.find(CommaBlankQuote, quoteComma) == std::string::npos) {
        std::string tail = RemoveSpaces(s.substr(quoteComma));
        for (int p : pointers) {
            const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
            std::string text = RemoveSpaces(pointer.FileName);
            if (tail == text.substr(0, text.size() - 2)) {
                s = s.substr(0, quoteComma) + pointer.Token;
                return true;
            }
        }
        if (tail.size() > 2) {
            std::string name = tail.substr(2);
            for (const ChatEntry& word : chat.WordLists) {
                if (name == word.FileName) {
                    s = s.substr(0, quoteComma) + word.Token;
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace

std::string EncodeChatLine(const std::string& text, std::size_t chatType, const ChatCatalogue& chat)
{
    if (std::optional<std::string> reference = EncodeListReference(text, chat)) {
        return *reference;
    }

    std::string t = EscapeText(text);
    bool startsWithItem = false;
    bool endsWithItem = false;
    for (const ChatEntry& word : chat.WordLists) {
        for (std::size_t at = t.find(word.Token); at != std::string::npos;
             at = t.find(word.Token)) {
            if (t == word.Token) {
                return word.FileName + ";";
            }
            if (at == 0) {
                ReplaceFirst(t, at, word.Token.size(), word.FileName + ", \"");
                startsWithItem = true;
            } else if (at + word.Token.size() == t.size()) {
                ReplaceFirst(t, at, word.Token.size(), "\", " + word.FileName);
                endsWithItem = true;
            } else {
                ReplaceFirst(t, at, word.Token.size(), "\", " + word.FileName + ", \"");
            }
        }
    }
    for (int p : PointerSet(chatType)) {
        const ChatEntry& pointer = chat.ChatPointers[static_cast<std::size_t>(p)];
        for (std::size_t at = t.find(pointer.Token); at != std::string::npos;
             at = t.find(pointer.Token)) {
            if (at == 0) {
                ReplaceFirst(t, at, pointer.Token.size(), pointer.FileName.substr(2));
                startsWithItem = true;
            } else if (at + pointer.Token.size() == t.size()) {
                ReplaceFirst(t,
                             at,
                             pointer.Token.size(),
                             pointer.FileName.substr(0, pointer.FileName.size() - 3));
                endsWithItem = true;
            } else {
                ReplaceFirst(t, at, pointer.Token.size(), pointer.FileName);
            }
        }
    }
    if (!startsWithItem) {
        t = "\"" + t;
    }
    if (!endsWithItem) {
        t += "\"";
    }
    return t + ";";
}

std::string DecodeChatLine(const std::string& line, std::size_t chatType, const ChatCatalogue& chat)
{
    std::string s = HideEscapes(line);
    bool quoted = StartsWith(s, "\"");
    if (quoted) {
        s.erase(0, 1);
    }
    if (EndsWith(s, ";")) {
        s.pop_back();
    }
    if (EndsWith(s, "\"")) {
        s.pop_back();
    }

    // References and whole-line word lists are bare names; a quoted text is
    // never taken for one.
    if (!quoted) {
        if (std::optional<std::string> reference = DecodeListReference(s, chat)) {
            return *reference;
        }
        std::string lower = LowerCase(s);
        for (const ChatEntry& word : chat.WordLists) {
            if (lower == LowerCase(word.FileName)) {
                return word.Token;
            }
        }
    }

    const std::vector<int>& pointers = PointerSet(chatType);
    for (int pass = 0; pass < 19; ++pass) {
        if (s.find(CommaBlankQuote) == std::string::npos &&
            s.find(QuoteComma) == std::string::npos && s.find(CommaQuote) == std::string::npos) {
            break;
        }
        DecodeOnePass(s, pointers, chat);
    }
    return RestoreEscapes(s);
}

} // namespace twl
