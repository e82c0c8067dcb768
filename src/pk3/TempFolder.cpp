// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/TempFolder.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace twl {

namespace {

// The folders to remove when a signal ends the program, as plain buffers: a
// signal handler may use only what is safe there. A slot is free while its
// first byte is 0.
constexpr int WatchedSlots = 8;
char SignalledFolders[WatchedSlots][4096] = {};
bool HandlersInstalled = false;
constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGABRT};
// A folder made by the program is a few levels deep at most (the engine's
// home holds baseoa/botfiles/bots); deeper ones are left.
constexpr int MaxDepth = 16;

// Removes what the folder `name` (in `parent`, or a path when `parent` is
// AT_FDCWD) holds, then the folder, with system calls alone.
void RemoveTreeFromHandler(int parent, const char* name, int depth)
{
    int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        alignas(8) char buffer[4096];
        while (true) {
            long got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            for (long at = 0; at < got;) {
                auto* entry = reinterpret_cast<struct dirent64*>(buffer + at);
                const char* entryName = entry->d_name;
                bool dots = entryName[0] == '.' &&
                            (entryName[1] == 0 || (entryName[1] == '.' && entryName[2] == 0));
                if (!dots) {
                    if (entry->d_type == DT_DIR && depth < MaxDepth) {
                        RemoveTreeFromHandler(fd, entryName, depth + 1);
                    } else {
                        ::unlinkat(fd, entryName, 0);
                    }
                }
                at += entry->d_reclen;
            }
        }
        ::close(fd);
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

void RemoveOnSignal(int signalNumber)
{
    for (char* folder : SignalledFolders) {
        if (folder[0] != 0) {
            RemoveTreeFromHandler(AT_FDCWD, folder, 0);
            folder[0] = 0;
        }
    }
    // Then the signal does what it would have done.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void InstallHandlers()
{
    if (HandlersInstalled) {
        return;
    }
    HandlersInstalled = true;
    for (int signalNumber : EndingSignals) {
        struct sigaction action = {};
        struct sigaction old = {};
        action.sa_handler = RemoveOnSignal;
        sigemptyset(&action.sa_mask);
        // A signal the program was told to ignore stays ignored.
        if (::sigaction(signalNumber, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
            ::sigaction(signalNumber, &action, nullptr);
        }
    }
}

// The slot now watching `folder`; -1 when every slot is taken (the folder is
// then removed at its object's end only).
std::mutex WatchMutex;

int WatchFolder(const std::string& folder)
{
    if (folder.size() >= sizeof SignalledFolders[0]) {
        return -1;
    }
    // Folders may be made on several threads (a try runs beside the window).
    std::lock_guard<std::mutex> lock(WatchMutex);
    for (int slot = 0; slot < WatchedSlots; ++slot) {
        if (SignalledFolders[slot][0] == 0) {
            // The name goes in before its first byte: a signal in between
            // sees a free slot, never half a name.
            std::memcpy(SignalledFolders[slot] + 1, folder.c_str() + 1, folder.size());
            SignalledFolders[slot][0] = folder[0];
            InstallHandlers();
            return slot;
        }
    }
    return -1;
}

} // namespace

PrivateTempFolder::PrivateTempFolder()
{
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / "tarnwell-XXXXXX").string();
    // mkdtemp makes the folder with mode 0700 under a fresh name.
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
        m_watchSlot = WatchFolder(pattern);
    }
}

PrivateTempFolder::~PrivateTempFolder()
{
    if (m_watchSlot >= 0) {
        SignalledFolders[m_watchSlot][0] = 0;
    }
    if (!m_path.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
}

} // namespace twl
