// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Cp1252.h"

#include "core/Utf8.h"

#include <array>
#include <cstdio>
#include <unordered_map>

namespace twl {

namespace {

// Code points of the bytes 80 to 9F; the rest of the table is Latin-1.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePointOfByte(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) {
        return HighControls[byte - 0x80u];
    }
    return byte;
}

const std::unordered_map<char32_t, char>& ByteOfCodePoint()
{
    static const std::unordered_map<char32_t, char> table = [] {
        std::unordered_map<char32_t, char> result;
        for (unsigned byte = 0x80; byte <= 0x9F; ++byte) {
            result.emplace(HighControls[byte - 0x80u], static_cast<char>(byte));
        }
        return result;
    }();
    return table;
}

std::string CodePointName(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

} // namespace

std::string DecodeCp1252(const std::string& bytes)
{
    std::string result;
    result.reserve(bytes.size());
    // The runs of ASCII, which read the same, are copied whole.
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = at;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80) {
            ++end;
        }
        result.append(bytes, at, end - at);
        if (end < bytes.size()) {
            AppendUtf8(result, CodePointOfByte(static_cast<unsigned char>(bytes[end])));
            ++end;
        }
        at = end;
    }
    return result;
}

Result<std::string> EncodeCp1252(const std::string& utf8)
{
    std::string bytes;
    std::size_t pos = 0;
    while (pos < utf8.size() && static_cast<unsigned char>(utf8[pos]) < 0x80) {
        ++pos;
    }
    bytes.assign(utf8, 0, pos);
    while (pos < utf8.size()) {
        std::optional<char32_t> c = DecodeUtf8(utf8, pos);
        if (!c) {
            return Failure{{}, "the text is not valid UTF-8"};
        }
        if (*c < 0x80 || (*c >= 0xA0 && *c <= 0xFF)) {
            bytes += static_cast<char>(*c);
            continue;
        }
        auto found = ByteOfCodePoint().find(*c);
        if (found == ByteOfCodePoint().end()) {
            std::string character;
            AppendUtf8(character, *c);
            return Failure{{},
                           "the character " + character + " (" + CodePointName(*c) +
                               ") cannot be stored in a Windows-1252 file"};
        }
        bytes += found->second;
    }
    return bytes;
}

} // namespace twl
