#pragma once

#include <string>

namespace twl {

// Case conversion of UTF-8 text for the letters that Windows-1252 holds
// (ASCII, the Latin-1 letters, Š Œ Ž Ÿ); other characters stay as they are.
std::string LowerCase(const std::string& text);
std::string UpperCase(const std::string& text);

} // namespace twl
