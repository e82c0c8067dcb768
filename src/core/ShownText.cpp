// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ShownText.h"

#include "core/Cp1252.h"
#include "core/Utf8.h"

#include <optional>

namespace twl {

namespace {

void AppendEscaped(std::string& out, char32_t c)
{
    static const char Hex[] = "0123456789ABCDEF";
    out += "\\x";
    out += Hex[(c >> 4) & 0xF];
    out += Hex[c & 0xF];
}

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

std::string ShownText(std::string_view text)
{
    std::string in(text);
    std::string out;
    out.reserve(in.size());
    std::size_t pos = 0;
    while (pos < in.size()) {
        unsigned char byte = static_cast<unsigned char>(in[pos]);
        if (byte < 0x80) {
            if (IsControl(byte)) {
                AppendEscaped(out, byte);
            } else {
                out += in[pos];
            }
            ++pos;
            continue;
        }
        std::size_t start = pos;
        std::optional<char32_t> c = DecodeUtf8(in, pos);
        if (!c) {
            // Not UTF-8: the game's own code page.
            std::string decoded = DecodeCp1252(in.substr(pos, 1));
            std::size_t at = 0;
            c = DecodeUtf8(decoded, at);
            ++pos;
            start = std::string::npos;
            if (c && !IsControl(*c)) {
                out += decoded;
                continue;
            }
        }
        if (c && IsControl(*c)) {
            AppendEscaped(out, *c);
        } else if (start != std::string::npos) {
            out.append(in, start, pos - start);
        }
    }
    return out;
}

std::string ShownLines(std::string_view text)
{
    std::string out;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        out += ShownText(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return out;
        }
        out += '\n';
        start = end + 1;
    }
}

std::string WithoutColours(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        bool alnum = (next >= '0' && next <= '9') || (next >= 'a' && next <= 'z') ||
                     (next >= 'A' && next <= 'Z');
        if (text[i] == '^' && alnum) {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace twl
