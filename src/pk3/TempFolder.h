// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace twl {

// The program's own temporary folder: made once with mode 0700 under the
// system's temporary folder, never under a name another user could guess
// or take first, and removed with everything in it when the object goes,
// and also when SIGTERM, SIGINT, SIGHUP, SIGQUIT or an abort ends the
// program (up to eight folders alive at once are watched so, each with its
// subfolders up to sixteen levels deep).
class PrivateTempFolder
{
public:
    PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
    ~PrivateTempFolder();

    // Empty when the folder could not be made.
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    int m_watchSlot = -1;
};

} // namespace twl
