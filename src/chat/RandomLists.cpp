// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/RandomLists.h"

#include <algorithm>
#include <map>
#include <set>

namespace twl {

namespace {

// The game keeps a message in 256 bytes.
constexpr std::size_t MessageBytes = 256;

enum class TokenKind
{
    End,
    Name,
    Text,
    Whole,  // a whole number
    Number, // a number with a point or an exponent
    Punctuation,
    Bad,
};

struct Token
{
    TokenKind Kind = TokenKind::End;
    std::string Text;
    int Line = 1;
};

// The bot library's script reader, as far as rnd.c needs it.
class ScriptTokens
{
public:
    explicit ScriptTokens(std::string_view text)
        : m_text(text)
    {}

    // The next token into `token`, whose text's room is used again (a
    // message's text is longer than a string holds without its own).
    void Next(Token& token)
    {
        SkipBlanksAndComments();
        token.Kind = TokenKind::End;
        token.Text.clear();
        token.Line = m_line;
        if (m_at >= m_text.size()) {
            return;
        }
        char c = m_text[m_at];
        if (c == '"') {
            token.Kind = ReadText(token.Text) ? TokenKind::Text : TokenKind::Bad;
            // Texts that follow each other are one text, as the game's
            // precompiler joins them.
            while (token.Kind == TokenKind::Text) {
                std::size_t at = m_at;
                int line = m_line;
                SkipBlanksAndComments();
                if (m_at >= m_text.size() || m_text[m_at] != '"') {
                    m_at = at;
                    m_line = line;
                    break;
                }
                token.Kind = ReadText(token.Text) ? TokenKind::Text : TokenKind::Bad;
            }
        } else if (IsNameStart(c)) {
            token.Kind = TokenKind::Name;
            std::size_t start = m_at;
            while (m_at < m_text.size() && IsNamePart(m_text[m_at])) {
                ++m_at;
            }
            token.Text.assign(m_text.substr(start, m_at - start));
        } else if (IsDigit(c) ||
                   (c == '.' && m_at + 1 < m_text.size() && IsDigit(m_text[m_at + 1]))) {
            token.Kind = TokenKind::Whole;
            std::size_t start = m_at;
            while (m_at < m_text.size() && (IsNamePart(m_text[m_at]) || m_text[m_at] == '.')) {
                if (m_text[m_at] == '.' || m_text[m_at] == 'e' || m_text[m_at] == 'E') {
                    token.Kind = TokenKind::Number;
                }
                ++m_at;
            }
            token.Text.assign(m_text.substr(start, m_at - start));
            if (token.Text.size() > 2 && (token.Text[1] == 'x' || token.Text[1] == 'X')) {
                token.Kind = TokenKind::Whole;
            }
        } else {
            token.Kind = TokenKind::Punctuation;
            token.Text.assign(1, c);
            ++m_at;
        }
    }

    int Line() const { return m_line; }

private:
    static bool IsNameStart(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    static bool IsNamePart(char c) { return IsNameStart(c) || IsDigit(c); }

    // Whether the two characters stand at `at`.
    bool Follows(std::size_t at, char first, char second) const
    {
        return at + 1 < m_text.size() && m_text[at] == first && m_text[at + 1] == second;
    }

    void SkipBlanksAndComments()
    {
        bool lineStart = m_at == 0;
        while (m_at < m_text.size()) {
            char c = m_text[m_at];
            if (c == '\n') {
                ++m_line;
                ++m_at;
                lineStart = true;
            } else if (static_cast<unsigned char>(c) <= ' ') {
                ++m_at;
            } else if (Follows(m_at, '/', '/') || (c == '#' && lineStart)) {
                // A directive of the game's precompiler: the lists of rnd.c need none.
                std::size_t end = m_text.find('\n', m_at);
                m_at = end == std::string_view::npos ? m_text.size() : end;
            } else if (Follows(m_at, '/', '*')) {
                m_at += 2;
                while (m_at < m_text.size() && !Follows(m_at, '*', '/')) {
                    m_line += m_text[m_at] == '\n' ? 1 : 0;
                    ++m_at;
                }
                m_at = std::min(m_at + 2, m_text.size());
            } else {
                return;
            }
        }
    }

    // A quoted text with the escapes the game knows; false on an unknown
    // escape, a line end or the end of the file inside it.
    bool ReadText(std::string& text)
    {
        ++m_at;
        while (m_at < m_text.size()) {
            // The plain characters up to the next quote, line end or escape
            // are taken at once.
            std::size_t start = m_at;
            while (m_at < m_text.size() && m_text[m_at] != '"' && m_text[m_at] != '\n' &&
                   m_text[m_at] != '\\') {
                ++m_at;
            }
            text.append(m_text.substr(start, m_at - start));
            if (m_at >= m_text.size()) {
                return false;
            }
            char c = m_text[m_at++];
            if (c == '"') {
                return true;
            }
            if (c == '\n') {
                return false;
            }
            if (m_at >= m_text.size()) {
                return false;
            }
            char e = m_text[m_at++];
            constexpr std::string_view known = "\\nrtvbfa'\"?x0123456789";
            if (known.find(e) == std::string_view::npos) {
                return false;
            }
            text += e;
        }
        return false;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
};

} // namespace

RandomListsRead ReadRandomLists(std::string_view text)
{
    RandomListsRead read;
    std::set<std::string> names;
    ScriptTokens tokens(text);
    auto fail = [&read](int line, const std::string& what) {
        read.Problem = "line " + std::to_string(line) + ": " + what;
        return read;
    };
    Token name;
    Token equals;
    Token open;
    Token token;
    Token after;
    while (true) {
        tokens.Next(name);
        if (name.Kind == TokenKind::End) {
            return read;
        }
        if (name.Kind != TokenKind::Name) {
            return fail(name.Line, "unknown random " + name.Text);
        }
        tokens.Next(equals);
        tokens.Next(open);
        if (equals.Text != "=" || open.Text != "{") {
            return fail(equals.Line, "expected = { after " + name.Text);
        }
        RandomList list{name.Text, 0};
        while (true) {
            tokens.Next(token);
            if (token.Kind == TokenKind::Punctuation && token.Text == "}") {
                break;
            }
            // One message: its pieces up to the ";".
            std::size_t length = 0;
            while (true) {
                switch (token.Kind) {
                case TokenKind::Text:
                    length += token.Text.size();
                    break;
                case TokenKind::Whole:
                case TokenKind::Name:
                    length += 6;
                    break;
                case TokenKind::End:
                    return fail(token.Line, "the file ends inside " + name.Text);
                default:
                    return fail(token.Line, "unknown message component " + token.Text);
                }
                if (length + 1 > MessageBytes) {
                    return fail(token.Line, "chat message too long");
                }
                tokens.Next(after);
                if (after.Text == ";") {
                    break;
                }
                if (after.Text != ",") {
                    return fail(after.Line, "expected , or ; in " + name.Text);
                }
                tokens.Next(token);
            }
            ++list.Messages;
        }
        if (names.insert(list.Name).second) {
            read.Lists.push_back(std::move(list));
        }
    }
}

namespace {

// The member number of `name` as a member of the list `base`: the bare
// name is member 0, else the digits after it (no leading zero) are.
std::optional<std::int16_t> MemberOf(const std::string& name, const std::string& base)
{
    if (name.compare(0, base.size(), base) != 0) {
        return std::nullopt;
    }
    std::string rest = name.substr(base.size());
    if (rest.empty()) {
        return std::int16_t{0};
    }
    if (rest.size() > 4 || (rest.size() > 1 && rest[0] == '0') ||
        rest.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(std::stoi(rest));
}

bool HasLowerCase(const std::string& name)
{
    return std::any_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

} // namespace

void ApplyGameRandomLists(ChatCatalogue& chat,
                          const std::string& gameName,
                          const std::vector<RandomList>& lists)
{
    std::set<std::string> present;
    for (const RandomList& list : lists) {
        if (list.Messages > 0) {
            present.insert(list.Name);
        }
    }
    std::set<std::string> claimed;
    for (ChatEntry& list : chat.ChatLists) {
        list.Members.clear();
        list.BareZero = present.count(list.FileName) != 0;
        // Only the names that start with the list's name can be its members:
        // in the sorted set they stand together, from that name on.
        for (auto it = present.lower_bound(list.FileName);
             it != present.end() && it->compare(0, list.FileName.size(), list.FileName) == 0;
             ++it) {
            const std::string& name = *it;
            if (std::optional<std::int16_t> member = MemberOf(name, list.FileName)) {
                list.Members.push_back(*member);
                claimed.insert(name);
            }
        }
        std::sort(list.Members.begin(), list.Members.end());
        list.Members.erase(std::unique(list.Members.begin(), list.Members.end()),
                           list.Members.end());
        list.MaxIndex = list.Members.empty() ? std::int16_t{0} : list.Members.back();
    }
    for (const ChatEntry& words : chat.WordLists) {
        claimed.insert(words.FileName);
    }
    chat.GameOnlyChatLists.clear();
    chat.GameOnlyWordLists.clear();
    std::map<std::string, ChatEntry> others;
    for (const std::string& name : present) {
        if (claimed.count(name) != 0) {
            continue;
        }
        if (HasLowerCase(name)) {
            chat.GameOnlyWordLists.push_back(ChatEntry{name, name, "{" + name + "}", 0, false, {}});
            continue;
        }
        std::size_t end = name.find_last_not_of("0123456789") + 1;
        std::string base = name.substr(0, end);
        std::optional<std::int16_t> member = MemberOf(name, base);
        if (!member) {
            base = name; // a number with a leading zero is part of the name
            member = std::int16_t{0};
        }
        ChatEntry& list = others[base];
        list.FileName = base;
        list.Caption = base;
        list.Members.push_back(*member);
        list.BareZero = list.BareZero || name == base;
    }
    for (auto& [base, list] : others) {
        std::sort(list.Members.begin(), list.Members.end());
        list.MaxIndex = list.Members.back();
        chat.GameOnlyChatLists.push_back(std::move(list));
    }
    chat.GameName = gameName;
    chat.GameListNames.assign(present.begin(), present.end());
}

} // namespace twl
