#include "engine/BotInfoNames.h"

#include "core/TextCase.h"

#include <optional>

namespace twl {

namespace {

// The engine's COM_Parse, without the line counting.
class InfoTokens
{
public:
    explicit InfoTokens(const std::string& text)
        : m_text(text)
    {}

    // The next token; nothing at the end. Without `acrossLines`, an empty
    // token when the line ends first (the rest stays for the next call).
    std::optional<std::string> Next(bool acrossLines = true)
    {
        bool newLine = SkipBlanksAndComments();
        if (newLine && !acrossLines) {
            return std::string();
        }
        if (m_at >= m_text.size()) {
            return std::nullopt;
        }
        std::string token;
        if (m_text[m_at] == '"') {
            ++m_at;
            while (m_at < m_text.size() && m_text[m_at] != '"') {
                token += m_text[m_at++];
            }
            ++m_at;
            return token;
        }
        while (m_at < m_text.size() && static_cast<unsigned char>(m_text[m_at]) > ' ') {
            token += m_text[m_at++];
        }
        return token;
    }

private:
    // True when a line ended on the way.
    bool SkipBlanksAndComments()
    {
        bool newLine = false;
        while (m_at < m_text.size()) {
            if (static_cast<unsigned char>(m_text[m_at]) <= ' ') {
                newLine = newLine || m_text[m_at] == '\n';
                ++m_at;
            } else if (m_text.compare(m_at, 2, "//") == 0) {
                std::size_t end = m_text.find('\n', m_at);
                m_at = end == std::string::npos ? m_text.size() : end;
            } else if (m_text.compare(m_at, 2, "/*") == 0) {
                std::size_t end = m_text.find("*/", m_at + 2);
                m_at = end == std::string::npos ? m_text.size() : end + 2;
            } else {
                return newLine;
            }
        }
        return newLine;
    }

    const std::string& m_text;
    std::size_t m_at = 0;
};

} // namespace

std::vector<std::string> BotInfoNames(const std::string& text)
{
    std::vector<std::string> names;
    InfoTokens tokens(text);
    while (std::optional<std::string> token = tokens.Next()) {
        // "Missing { in info file": the rest of the file is not read.
        if (*token != "{") {
            break;
        }
        // Info_SetValueForKey: a later value replaces an earlier one, one
        // holding "\\", ";" or a double quote is refused.
        std::string name;
        while (std::optional<std::string> key = tokens.Next()) {
            if (key->empty() || *key == "}") {
                break;
            }
            // The value lies on the key's line.
            std::string value = tokens.Next(false).value_or(std::string());
            if (value.empty()) {
                value = "<NULL>";
            }
            if (LowerCase(*key) == "name" && value.find_first_of("\\;\"") == std::string::npos) {
                name = value;
            }
        }
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace twl
