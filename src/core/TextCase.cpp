// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextCase.h"

#include "core/Utf8.h"

#include <cstdint>
#include <cstring>

namespace twl {

namespace {

char32_t LowerCodePoint(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
    case 0x160: // Š
    case 0x152: // Œ
    case 0x17D: // Ž
        return c + 1;
    case 0x178: // Ÿ
        return 0xFF;
    default:
        return c;
    }
}

char32_t UpperCodePoint(char32_t c)
{
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    switch (c) {
    case 0x161: // š
    case 0x153: // œ
    case 0x17E: // ž
        return c - 1;
    case 0xFF: // ÿ
        return 0x178;
    default:
        return c;
    }
}

bool IsAscii(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

template <typename Convert> std::string MapCodePoints(const std::string& text, Convert convert)
{
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t start = pos;
        std::optional<char32_t> c = DecodeUtf8(text, pos);
        if (!c) {
            // Not valid UTF-8: keep the byte as it is.
            result += text[start];
            pos = start + 1;
            continue;
        }
        AppendUtf8(result, convert(*c));
    }
    return result;
}

// Shifts the ASCII letters from `first` to `last` by `shift`.
std::string MapAscii(const std::string& text, char first, char last, int shift)
{
    std::string result = text;
    for (char& c : result) {
        if (c >= first && c <= last) {
            c = static_cast<char>(c + shift);
        }
    }
    return result;
}

// Eight ASCII bytes lowered at once: a byte from 'A' to 'Z' gains 0x20.
// Each byte is below 0x80, so no sum carries into the next byte.
std::uint64_t LowerAsciiWord(std::uint64_t word)
{
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    std::uint64_t atLeastA = word + Ones * (0x80 - 'A');
    std::uint64_t aboveZ = word + Ones * (0x80 - 'Z' - 1);
    std::uint64_t capitals = atLeastA & ~aboveZ & (Ones * 0x80);
    return word | (capitals >> 2);
}

} // namespace

void LowerCaseInto(std::string_view text, std::string& lower)
{
    constexpr std::uint64_t HighBits = 0x8080808080808080u;
    lower.resize(text.size());
    char* out = lower.data();
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        if ((word & HighBits) != 0) {
            lower = LowerCase(std::string(text));
            return;
        }
        word = LowerAsciiWord(word);
        std::memcpy(out + at, &word, 8);
    }
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (static_cast<unsigned char>(c) >= 0x80) {
            lower = LowerCase(std::string(text));
            return;
        }
        out[at] = LowerAscii(c);
    }
}

std::string LowerCase(const std::string& text)
{
    // Plain ASCII, by far the most common text here, needs no decoding.
    return IsAscii(text) ? MapAscii(text, 'A', 'Z', 'a' - 'A')
                         : MapCodePoints(text, LowerCodePoint);
}

std::string UpperCase(const std::string& text)
{
    return IsAscii(text) ? MapAscii(text, 'a', 'z', 'A' - 'a')
                         : MapCodePoints(text, UpperCodePoint);
}

} // namespace twl
