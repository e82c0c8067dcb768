// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace twl {

// The per-user folder that holds twl.ini and the user lists
// (~/.config/Tarnwell on Linux), created when missing.
std::filesystem::path SettingsFolder();

} // namespace twl
