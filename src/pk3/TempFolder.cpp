#include "pk3/TempFolder.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace twl {

namespace {

// The folder to remove when a signal ends the program, as a plain buffer:
// a signal handler may use only what is safe there.
char SignalledFolder[4096] = {};
constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGABRT};

// Removes the files of the folder (it holds files only) and the folder,
// with system calls alone.
void RemoveFolderFromHandler(const char* folder)
{
    int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        alignas(8) char buffer[4096];
        while (true) {
            long got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            for (long at = 0; at < got;) {
                auto* entry = reinterpret_cast<struct dirent64*>(buffer + at);
                const char* name = entry->d_name;
                bool dots = name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
                if (!dots) {
                    ::unlinkat(fd, name, 0);
                }
                at += entry->d_reclen;
            }
        }
        ::close(fd);
    }
    ::rmdir(folder);
}

void RemoveOnSignal(int signalNumber)
{
    if (SignalledFolder[0] != 0) {
        RemoveFolderFromHandler(SignalledFolder);
        SignalledFolder[0] = 0;
    }
    // Then the signal does what it would have done.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void WatchSignals(const std::string& folder)
{
    if (folder.size() >= sizeof SignalledFolder) {
        return;
    }
    std::memcpy(SignalledFolder, folder.c_str(), folder.size() + 1);
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
        if (SignalledFolder[0] == 0) {
            WatchSignals(pattern);
            m_watched = true;
        }
    }
}

PrivateTempFolder::~PrivateTempFolder()
{
    if (m_watched) {
        SignalledFolder[0] = 0;
    }
    if (!m_path.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
}

} // namespace twl
