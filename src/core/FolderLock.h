// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace twl {

// An advisory lock on a folder, held by every copy of the program that
// reads, changes and writes back what the folder holds (the settings and
// lists, a bot's set of files), so that two of them at once neither lose
// each other's changes nor mix their files. The lock is the folder's own
// (no lock file is left behind) and goes with the object, or with the
// process however it ends.
class FolderLock
{
public:
    // How long a program waits for another that holds the lock.
    static constexpr std::chrono::milliseconds DefaultWait{15000};

    // Takes the lock, waiting at most `wait` for another holder to let go.
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds wait = DefaultWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return m_descriptor >= 0; }

    // Another program held it all the time waited.
    bool Busy() const { return m_busy; }

    // Why the lock is not held ("another copy of Tarnwell has been writing
    // there for 15 seconds"); empty when it is.
    const std::string& Problem() const { return m_problem; }

private:
    int m_descriptor = -1;
    std::string m_problem;
    bool m_busy = false;
};

} // namespace twl
