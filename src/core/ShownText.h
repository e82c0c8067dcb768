// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace twl {

// Text from outside (the engine's output, names and paths from the user's
// files) as it may be shown: well-formed UTF-8 stays, another byte is read
// as Windows-1252 (the game's own code page), and every control character
// (below U+0020, U+007F to U+009F) becomes "\xNN" with its two hex digits.
std::string ShownText(std::string_view text);

// A message of several lines as it may be shown: each line as ShownText
// shows it, the line ends kept.
std::string ShownLines(std::string_view text);

// The text without the game's colour codes: "^" and a letter or digit.
std::string WithoutColours(std::string_view text);

} // namespace twl
