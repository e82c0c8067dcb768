// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cctype>
#include <cstddef>
#include <string>

namespace twl::test {

// A test name made of the letters and digits of `text` (words capitalised),
// with the case's index after it so that equal texts still differ:
// "Hi {RANDOMOPP}!" as case 0 gives "HiRANDOMOPP_0", the empty text "Empty_3".
inline std::string ReadableName(const std::string& text, std::size_t index)
{
    std::string name;
    bool wordStart = true;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 && u < 128) {
            name += wordStart ? static_cast<char>(std::toupper(u)) : c;
            wordStart = false;
        } else {
            wordStart = true;
        }
    }
    if (name.empty()) {
        name = "Empty";
    }
    return name + "_" + std::to_string(index);
}

} // namespace twl::test
