// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatLength.h"

#include "chat/ChatCodec.h"

#include <algorithm>
#include <cctype>

namespace twl {

namespace {

bool IsNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameCharacter(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The characters of UTF-8 text: the file holds one byte for each.
int CharacterCount(const std::string& text, std::size_t from, std::size_t to)
{
    int count = 0;
    for (std::size_t i = from; i < to; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// Reads the game's way through one line: quoted texts, numbers, names,
// separated by "," and closed by ";".
class LineCounter
{
public:
    explicit LineCounter(const std::string& line)
        : m_line(line)
    {}

    ChatMessageLength Count()
    {
        while (true) {
            SkipBlanks();
            if (m_at >= m_line.size()) {
                return Fail("the line ends before its \";\"");
            }
            char c = m_line[m_at];
            if (c == '"') {
                if (!ReadText()) {
                    return m_result;
                }
            } else if (IsDigit(c)) {
                if (!ReadVariable()) {
                    return m_result;
                }
            } else if (IsNameStart(c)) {
                std::size_t start = m_at;
                while (m_at < m_line.size() && IsNameCharacter(m_line[m_at])) {
                    ++m_at;
                }
                m_result.ListNames.push_back(m_line.substr(start, m_at - start));
                AddItem(3 + static_cast<int>(m_at - start));
            } else {
                return Fail(std::string("the game cannot read '") + c + "' here");
            }
            SkipBlanks();
            if (m_at < m_line.size() && m_line[m_at] == ';') {
                ++m_at;
                SkipBlanks();
                if (m_at < m_line.size() && m_line.compare(m_at, 2, "//") != 0) {
                    return Fail("more follows the \";\" that ends the message");
                }
                return m_result;
            }
            if (m_at >= m_line.size() || m_line[m_at] != ',') {
                return Fail(
                    "the pieces of a message are separated by \",\" and it ends with \";\"");
            }
            ++m_at;
        }
    }

private:
    void SkipBlanks()
    {
        while (m_at < m_line.size() && IsBlank(m_line[m_at])) {
            ++m_at;
        }
    }

    ChatMessageLength Fail(std::string problem)
    {
        if (!m_result.Problem) {
            m_result.Problem = std::move(problem);
        }
        return m_result;
    }

    void AddText(int length)
    {
        if (m_result.Fits && m_result.Length + length > MaxChatMessageLength) {
            m_result.Fits = false;
            m_result.BreaksAt = m_result.Length;
        }
        m_result.Length += length;
    }

    // A variable or list name: refused when the message already holds more
    // than LastItemStart characters; one that runs past the buffer's end
    // does not fit either.
    void AddItem(int length)
    {
        if (m_result.Fits && m_result.Length > LastItemStart) {
            m_result.Fits = false;
            m_result.BreaksAt = m_result.Length;
        }
        AddText(length);
    }

    // A quoted text; texts with only blanks between them are one text.
    bool ReadText()
    {
        int length = 0;
        bool cut = false;
        ++m_at;
        while (true) {
            if (m_at >= m_line.size()) {
                Fail("a text has no closing '\"'");
                return false;
            }
            char c = m_line[m_at];
            if (c == '"') {
                ++m_at;
                std::size_t afterQuote = m_at;
                SkipBlanks();
                if (m_at < m_line.size() && m_line[m_at] == '"') {
                    ++m_at;
                    continue;
                }
                m_at = afterQuote;
                break;
            }
            if (c == '\\') {
                std::size_t escapeStart = m_at;
                std::optional<unsigned> value = ReadEscape();
                if (!cut && (!value || *value == 0)) {
                    // The game stores a zero byte for an escape it does not
                    // know: the text ends there.
                    Fail("the escape '" + m_line.substr(escapeStart, m_at - escapeStart) +
                         "' in a text makes the game cut the text there");
                    cut = true;
                }
                if (!cut) {
                    ++length;
                }
                continue;
            }
            std::size_t start = m_at;
            ++m_at;
            while (m_at < m_line.size() &&
                   (static_cast<unsigned char>(m_line[m_at]) & 0xC0) == 0x80) {
                ++m_at;
            }
            if (!cut) {
                length += CharacterCount(m_line, start, m_at);
            }
        }
        AddText(length);
        return true;
    }

    // One escape after a backslash: the byte the game stores for it, nothing for
    // one it does not know.
    std::optional<unsigned> ReadEscape()
    {
        ++m_at;
        if (m_at >= m_line.size()) {
            return std::nullopt;
        }
        char c = m_line[m_at];
        const std::string simple = "\\nrtvbfa'\"?";
        if (simple.find(c) != std::string::npos) {
            ++m_at;
            return static_cast<unsigned>(static_cast<unsigned char>(c));
        }
        bool hex = c == 'x';
        if (!hex && !IsDigit(c)) {
            return std::nullopt;
        }
        m_at += hex ? 1 : 0;
        unsigned value = 0;
        while (m_at < m_line.size()) {
            char digit = m_line[m_at];
            unsigned next = 0;
            if (IsDigit(digit)) {
                next = static_cast<unsigned>(digit - '0');
            } else if (hex && std::isalpha(static_cast<unsigned char>(digit)) != 0) {
                next = static_cast<unsigned>(std::tolower(static_cast<unsigned char>(digit)) - 'a' +
                                             10);
            } else {
                break;
            }
            value = std::min(value * (hex ? 16u : 10u) + next, 0xFFu);
            ++m_at;
        }
        return value;
    }

    // A whole number is a variable, stored with its value's digits.
    bool ReadVariable()
    {
        std::size_t start = m_at;
        while (m_at < m_line.size() && (IsDigit(m_line[m_at]) || m_line[m_at] == '.')) {
            ++m_at;
        }
        std::string number = m_line.substr(start, m_at - start);
        if (number.find('.') != std::string::npos) {
            Fail("a number with a point is no variable");
            return false;
        }
        // The game reads a leading 0 as octal (unless an 8 or 9 follows) and
        // writes the value in decimal.
        bool octal = number.size() > 1 && number[0] == '0' &&
                     number.find_first_of("89") == std::string::npos;
        unsigned long long value = 0;
        for (char digit : number) {
            value = std::min(value * (octal ? 8u : 10u) + static_cast<unsigned>(digit - '0'),
                             999999999999ULL);
        }
        m_result.Variables.push_back(value);
        AddItem(3 + static_cast<int>(std::to_string(value).size()));
        return true;
    }

    const std::string& m_line;
    std::size_t m_at = 0;
    ChatMessageLength m_result;
};

} // namespace

ChatMessageLength GameChatLengthOfFileLine(const std::string& fileLine)
{
    return LineCounter(fileLine).Count();
}

ChatMessageLength
GameChatLength(const std::string& editorLine, std::size_t chatType, const ChatCatalogue& chat)
{
    return GameChatLengthOfFileLine(EncodeChatLine(editorLine, chatType, chat));
}

} // namespace twl
