// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace twl {

// Reads one code point of UTF-8 at `pos` and moves `pos` past it. Nothing
// (and `pos` unchanged) when the bytes there are not well-formed UTF-8.
std::optional<char32_t> DecodeUtf8(const std::string& text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t c);

} // namespace twl
