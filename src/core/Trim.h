// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace twl {

// The text without the blanks and TABs at its start and end.
std::string TrimBlanks(const std::string& text);

// The text without the blanks and TABs at its start.
std::string TrimLeadingBlanks(const std::string& text);

} // namespace twl
