// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/BotInfo.h"

#include "core/TextCase.h"

#include <algorithm>

namespace twl {

namespace {

// The game's token reader of info files: blanks are every byte up to the
// space and, as the game reads bytes as signed characters, every byte over
// 127 too, so that such a byte ends a word.
class InfoTokens
{
public:
    explicit InfoTokens(std::string_view text)
        : m_text(text)
    {}

    // The next token; empty at the end, and, without `acrossLines`, when the
    // next token stands on a later line.
    std::string Next(bool acrossLines)
    {
        bool newLine = false;
        while (true) {
            while (m_at < m_text.size() && IsBlank(m_text[m_at])) {
                if (m_text[m_at] == '\n') {
                    newLine = true;
                    ++m_line;
                }
                ++m_at;
            }
            if (m_at >= m_text.size() || m_text[m_at] == '\0') {
                m_at = m_text.size();
                return {};
            }
            if (newLine && !acrossLines) {
                return {};
            }
            if (m_text.compare(m_at, 2, "//") == 0) {
                while (m_at < m_text.size() && m_text[m_at] != '\n' && m_text[m_at] != '\0') {
                    ++m_at;
                }
            } else if (m_text.compare(m_at, 2, "/*") == 0) {
                m_at += 2;
                while (m_at < m_text.size() && m_text[m_at] != '\0' &&
                       m_text.compare(m_at, 2, "*/") != 0) {
                    m_line += m_text[m_at] == '\n' ? 1 : 0;
                    ++m_at;
                }
                m_at = m_at < m_text.size() && m_text[m_at] != '\0' ? m_at + 2 : m_text.size();
            } else {
                break;
            }
        }
        m_tokenLine = m_line;
        std::string token;
        if (m_text[m_at] == '"') {
            ++m_at;
            while (m_at < m_text.size() && m_text[m_at] != '"' && m_text[m_at] != '\0') {
                m_line += m_text[m_at] == '\n' ? 1 : 0;
                Append(token, m_text[m_at++]);
            }
            if (m_at < m_text.size() && m_text[m_at] == '"') {
                ++m_at;
            }
            return token;
        }
        while (m_at < m_text.size() && !IsBlank(m_text[m_at]) && m_text[m_at] != '\0') {
            Append(token, m_text[m_at++]);
        }
        return token;
    }

    int TokenLine() const { return m_tokenLine; }

private:
    static bool IsBlank(char c)
    {
        auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte > 127;
    }

    // The game keeps a token of up to 1023 bytes and drops the rest.
    static void Append(std::string& token, char c)
    {
        if (token.size() < 1023) {
            token += c;
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
    int m_tokenLine = 1;
};

void SetPair(BotInfo& info, const std::string& key, const std::string& value)
{
    std::string lower = LowerCase(key);
    for (auto it = info.Pairs.begin(); it != info.Pairs.end(); ++it) {
        if (LowerCase(it->first) == lower) {
            info.Pairs.erase(it);
            break;
        }
    }
    info.Pairs.emplace_back(key, value);
}

} // namespace

std::string BotInfo::Value(const std::string& key) const
{
    std::string lower = LowerCase(key);
    for (const auto& pair : Pairs) {
        if (LowerCase(pair.first) == lower) {
            return pair.second;
        }
    }
    return {};
}

namespace {

// Whether the text holds \, ; or a double quote, which the game refuses in
// a key or value (a plain loop: find_first_of looks each character up in
// the set with a call of its own).
bool HasRefusedCharacter(const std::string& text)
{
    return std::any_of(
        text.begin(), text.end(), [](char c) { return c == '\\' || c == ';' || c == '"'; });
}

} // namespace

BotInfoFile ParseBotInfos(std::string_view text)
{
    BotInfoFile file;
    auto problem = [&file](int line, const std::string& what) {
        file.Problems.push_back("line " + std::to_string(line) + ": " + what);
    };
    if (text.size() >= MaxBotListBytes) {
        problem(1,
                "the file is " + std::to_string(text.size()) + " bytes, the game reads at most " +
                    std::to_string(MaxBotListBytes - 1) + ": it skips the whole file");
        return file;
    }
    InfoTokens tokens(text);
    while (true) {
        std::string token = tokens.Next(true);
        if (token.empty()) {
            break;
        }
        if (token != "{") {
            problem(tokens.TokenLine(), "Missing { in info file: the game reads no further");
            break;
        }
        if (file.Infos.size() == MaxBotInfos) {
            problem(tokens.TokenLine(), "Max infos exceeded");
            break;
        }
        BotInfo info;
        info.Line = tokens.TokenLine();
        while (true) {
            std::string key = tokens.Next(true);
            if (key.empty()) {
                problem(tokens.TokenLine(), "Unexpected end of info file");
                break;
            }
            if (key == "}") {
                break;
            }
            int keyLine = tokens.TokenLine();
            std::string value = tokens.Next(false);
            if (value.empty()) {
                value = "<NULL>";
            }
            if (HasRefusedCharacter(key) || HasRefusedCharacter(value)) {
                problem(keyLine,
                        "the game refuses a key or value with \\, ; or a double quote: " + key);
                continue;
            }
            SetPair(info, key, value);
        }
        file.Infos.push_back(std::move(info));
    }
    return file;
}

std::pair<std::string, std::string> ModelAndSkin(const std::string& model)
{
    std::size_t slash = model.find('/');
    if (slash == std::string::npos) {
        return {model, "default"};
    }
    return {model.substr(0, slash), model.substr(slash + 1)};
}

} // namespace twl
