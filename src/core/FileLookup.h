// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace twl {

// The file `name` in `folder`; when no file has exactly that name, the first
// one whose name differs only in case (bot files come from a system that
// ignores case). The exact path when neither exists.
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& folder,
                                           const std::string& name);

// The part of a file name before the first occurrence of `ending`, compared
// without regard to case ("SARGE_C.C" with "_c.c" gives "SARGE"); the whole
// name when the ending does not occur.
std::string StemBeforeEnding(const std::string& fileName, const std::string& ending);

} // namespace twl
