// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Trim.h"

namespace twl {

std::string TrimBlanks(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string TrimLeadingBlanks(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace twl
