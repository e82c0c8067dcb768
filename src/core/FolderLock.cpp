// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FolderLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace twl {

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        m_problem = std::strerror(errno);
        return;
    }
    auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_descriptor = fd;
            return;
        }
        int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            m_busy = error == EWOULDBLOCK;
            m_problem = error == EWOULDBLOCK
                            ? "another copy of Tarnwell has been writing there for " +
                                  std::to_string((wait.count() + 999) / 1000) +
                                  " seconds; try again once it is done"
                            : std::string(std::strerror(error));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

FolderLock::~FolderLock()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor); // lets go of the lock
    }
}

} // namespace twl
