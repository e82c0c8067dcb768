// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Version.h"

#include <string>

namespace twl {

// Where the program lives and how its authors are reached, written into the
// header of every bot file.
inline constexpr const char* ProgramWebAddress = "https://github.com/tarnwell/tarnwell";
inline constexpr const char* ProgramContactEmail = "tarnwell@users.noreply.github.com";
// The application id that the desktop entry, the AppStream metainfo and the
// icon are named by (the project page, reversed).
inline constexpr const char* ProgramDesktopId = "io.github.tarnwell.Tarnwell";

// The version as the bot files and the window caption show it: major, ".",
// then minor and revision without a separator ("0.97").
inline std::string ShortVersionText()
{
    return std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) +
           std::to_string(VersionRevision);
}

} // namespace twl
