// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Value.h"

#include <string>

namespace twl {

// The text a value gets in a bot file. Numbers (and empty values, and texts
// that read as numbers) are written with "." and the digits of their kind:
// 0 as "0.0", 1 as "1.0", others in their shortest form ("0.5", "2", "180",
// "1.5"). Negative numbers carry a "-" before that form. Any other text is
// written in double quotes.
std::string FormatValue(const Value& value);

// The value of a text read from a bot file. ".5" reads as 0.5; a number with
// a "." is a single-precision number (integer part plus fraction, the sign
// applied to both); a number without one is a double; anything else is a
// text with one leading '"', one trailing ';' and one trailing '"' removed.
Value ParseValue(const std::string& text);

std::string StripTabs(const std::string& text);
std::string RemoveSpaces(const std::string& text);

} // namespace twl
