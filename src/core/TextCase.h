// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace twl {

// Case conversion of UTF-8 text for the letters that Windows-1252 holds
// (ASCII, the Latin-1 letters, Š Œ Ž Ÿ); other characters stay as they are.
std::string LowerCase(const std::string& text);
std::string UpperCase(const std::string& text);

// An ASCII capital lowered; every other byte as it is.
inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// LowerCase(text) into `lower`, reusing its storage: for lowering many names
// in a row (plain ASCII, nearly all of them, is lowered eight bytes at once).
void LowerCaseInto(std::string_view text, std::string& lower);

} // namespace twl
