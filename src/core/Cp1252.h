// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <string>

namespace twl {

// Windows-1252 on disk, UTF-8 in the program. Every one of the 256 bytes has
// a character: the five that Windows-1252 leaves undefined (81, 8D, 8F, 90,
// 9D) stand for U+0081, U+008D, U+008F, U+0090 and U+009D, so any file reads
// and writes back byte for byte.
std::string DecodeCp1252(const std::string& bytes);

// The text's bytes in Windows-1252; a failure when it holds a character
// that Windows-1252 cannot hold (or is not valid UTF-8).
Result<std::string> EncodeCp1252(const std::string& utf8);

} // namespace twl
