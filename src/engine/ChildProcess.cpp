// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace twl {

void ChildInput::SendAt(SteadyTime when, std::string text)
{
    m_pending.emplace_back(when, std::move(text));
}

std::vector<std::string> ChildInput::TakeDue(SteadyTime now)
{
    std::vector<std::string> due;
    auto kept = m_pending.begin();
    for (auto& [when, text] : m_pending) {
        if (when <= now) {
            due.push_back(std::move(text));
        } else {
            *kept++ = {when, std::move(text)};
        }
    }
    m_pending.erase(kept, m_pending.end());
    return due;
}

std::optional<SteadyTime> ChildInput::NextDue() const
{
    std::optional<SteadyTime> next;
    for (const auto& pending : m_pending) {
        if (!next || pending.first < *next) {
            next = pending.first;
        }
    }
    return next;
}

namespace {

// The children alive, by the process id that is also their group's, for the
// signal handler: a slot is free while it holds 0.
constexpr int ChildSlots = 8;
volatile std::sig_atomic_t ChildGroups[ChildSlots] = {};
constexpr int GuardedSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
constexpr std::size_t GuardedCount = sizeof GuardedSignals / sizeof GuardedSignals[0];
struct sigaction PreviousActions[GuardedCount];
bool Installed[GuardedCount] = {};
std::mutex GuardMutex;
int GuardUsers = 0;

void KillChildrenOnSignal(int signalNumber)
{
    for (volatile std::sig_atomic_t& slot : ChildGroups) {
        pid_t pid = slot;
        if (pid > 0) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            slot = 0;
        }
    }
    // Then what the signal did before: it comes again once this handler
    // has returned (the signal is held while its handler runs).
    for (std::size_t i = 0; i < GuardedCount; ++i) {
        if (GuardedSignals[i] == signalNumber) {
            ::sigaction(signalNumber, &PreviousActions[i], nullptr);
        }
    }
    ::raise(signalNumber);
}

// Keeps a child's group in the signal handler's table while it lives.
class ChildGuard
{
public:
    explicit ChildGuard(pid_t pid)
    {
        std::lock_guard<std::mutex> lock(GuardMutex);
        for (int slot = 0; slot < ChildSlots; ++slot) {
            if (ChildGroups[slot] == 0) {
                ChildGroups[slot] = pid;
                m_slot = slot;
                break;
            }
        }
        if (GuardUsers++ == 0) {
            for (std::size_t i = 0; i < GuardedCount; ++i) {
                struct sigaction action = {};
                action.sa_handler = KillChildrenOnSignal;
                sigemptyset(&action.sa_mask);
                Installed[i] = ::sigaction(GuardedSignals[i], nullptr, &PreviousActions[i]) == 0 &&
                               PreviousActions[i].sa_handler != SIG_IGN &&
                               ::sigaction(GuardedSignals[i], &action, nullptr) == 0;
            }
        }
    }

    ChildGuard(const ChildGuard&) = delete;
    ChildGuard& operator=(const ChildGuard&) = delete;

    ~ChildGuard()
    {
        std::lock_guard<std::mutex> lock(GuardMutex);
        if (m_slot >= 0) {
            ChildGroups[m_slot] = 0;
        }
        if (--GuardUsers == 0) {
            for (std::size_t i = 0; i < GuardedCount; ++i) {
                if (Installed[i]) {
                    ::sigaction(GuardedSignals[i], &PreviousActions[i], nullptr);
                    Installed[i] = false;
                }
            }
        }
    }

private:
    int m_slot = -1;
};

// The ending signals held while the child is started and entered in the
// table, so that none falls in between.
class HeldSignals
{
public:
    HeldSignals()
    {
        sigset_t held;
        sigemptyset(&held);
        for (int signalNumber : GuardedSignals) {
            sigaddset(&held, signalNumber);
        }
        ::pthread_sigmask(SIG_BLOCK, &held, &m_old);
    }

    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

    ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

private:
    sigset_t m_old;
};

class FileDescriptor
{
public:
    FileDescriptor() = default;

    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {}

    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    ~FileDescriptor() { Close(); }

    int Get() const { return m_fd; }

    void Reset(int fd)
    {
        Close();
        m_fd = fd;
    }

    void Close()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd = -1;
};

std::vector<std::string> ChildEnvironment(const ChildRequest& request)
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string text = *entry;
        std::string key = text.substr(0, text.find('='));
        bool replaced = std::any_of(request.Environment.begin(),
                                    request.Environment.end(),
                                    [&key](const auto& pair) { return pair.first == key; });
        if (!replaced) {
            entries.push_back(std::move(text));
        }
    }
    for (const auto& [key, value] : request.Environment) {
        entries.push_back(key + "=" + value);
    }
    return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// A started child: killed (its whole group) and reaped when the object goes
// before it was reaped otherwise.
class RunningChild
{
public:
    explicit RunningChild(pid_t pid)
        : m_pid(pid)
        , m_guard(pid)
    {}

    RunningChild(const RunningChild&) = delete;
    RunningChild& operator=(const RunningChild&) = delete;

    ~RunningChild() { KillAndReap(); }

    // The exit status once it has ended; does not wait.
    std::optional<int> Poll()
    {
        if (m_status) {
            return m_status;
        }
        int status = 0;
        pid_t got = ::waitpid(m_pid, &status, WNOHANG);
        if (got == m_pid) {
            m_status = status;
            // What the child left of its group goes with it.
            ::kill(-m_pid, SIGKILL);
        }
        return m_status;
    }

    int KillAndReap()
    {
        if (!m_status) {
            ::kill(-m_pid, SIGKILL);
            int status = 0;
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
            m_status = status;
        }
        return *m_status;
    }

private:
    pid_t m_pid;
    ChildGuard m_guard;
    std::optional<int> m_status;
};

// Splits the bytes read into lines, each at most `maxBytes` long.
class LineSplitter
{
public:
    explicit LineSplitter(std::size_t maxBytes)
        : m_maxBytes(maxBytes)
    {}

    template <typename Handler> void Feed(const char* data, std::size_t size, Handler&& handler)
    {
        while (size > 0) {
            const void* found = std::memchr(data, '\n', size);
            std::size_t take =
                found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data)
                                 : size;
            Append(data, take);
            if (found == nullptr) {
                return;
            }
            EndLine(handler);
            data += take + 1;
            size -= take + 1;
        }
    }

    template <typename Handler> void Finish(Handler&& handler)
    {
        if (!m_line.empty() || m_cutting) {
            EndLine(handler);
        }
    }

    std::uint64_t LinesCut() const { return m_linesCut; }

private:
    void Append(const char* data, std::size_t size)
    {
        std::size_t room = m_maxBytes > m_line.size() ? m_maxBytes - m_line.size() : 0;
        if (size > room) {
            m_cutting = true;
            size = room;
        }
        m_line.append(data, size);
    }

    template <typename Handler> void EndLine(Handler&& handler)
    {
        if (!m_line.empty() && m_line.back() == '\r') {
            m_line.pop_back();
        }
        if (m_cutting) {
            ++m_linesCut;
        }
        handler(std::string_view(m_line));
        m_line.clear();
        m_cutting = false;
    }

    std::size_t m_maxBytes;
    std::string m_line;
    bool m_cutting = false;
    std::uint64_t m_linesCut = 0;
};

int MillisecondsUntil(SteadyTime when, SteadyTime now)
{
    if (when <= now) {
        return 0;
    }
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return static_cast<int>(std::min<long long>(wait, 1000 * 1000));
}

} // namespace

ChildEnd RunChild(const ChildRequest& request, const ChildLineHandler& onLine)
{
    ChildEnd end;
    int outputEnds[2];
    if (::pipe2(outputEnds, O_CLOEXEC) != 0) {
        end.Reason = std::string("cannot make a pipe: ") + std::strerror(errno);
        return end;
    }
    FileDescriptor output(outputEnds[0]);
    FileDescriptor childOutput(outputEnds[1]);
    int inputEnds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputEnds) != 0) {
        end.Reason = std::string("cannot make a socket: ") + std::strerror(errno);
        return end;
    }
    FileDescriptor input(inputEnds[0]);
    FileDescriptor childInput(inputEnds[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childInput.Get(), 0);
    posix_spawn_file_actions_adddup2(&actions, childOutput.Get(), 1);
    posix_spawn_file_actions_adddup2(&actions, childOutput.Get(), 2);
    if (!request.WorkingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, request.WorkingFolder.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(
        &attributes,
        static_cast<short>(POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK));
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGCHLD}) {
        sigaddset(&defaults, signalNumber);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t noMask;
    sigemptyset(&noMask);
    posix_spawnattr_setsigmask(&attributes, &noMask);

    std::vector<std::string> arguments;
    arguments.push_back(request.Program.string());
    arguments.insert(arguments.end(), request.Arguments.begin(), request.Arguments.end());
    std::vector<char*> argv = PointersTo(arguments);
    std::vector<std::string> environment = ChildEnvironment(request);
    std::vector<char*> envp = PointersTo(environment);

    std::optional<RunningChild> child;
    {
        HeldSignals held;
        pid_t pid = 0;
        int failed = ::posix_spawn(
            &pid, request.Program.c_str(), &actions, &attributes, argv.data(), envp.data());
        if (failed == 0) {
            child.emplace(pid);
        } else {
            end.Reason = request.Program.string() + ": " + std::strerror(failed);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    childOutput.Close();
    childInput.Close();
    if (!child) {
        return end;
    }
    ::fcntl(output.Get(), F_SETFL, ::fcntl(output.Get(), F_GETFL) | O_NONBLOCK);

    ChildInput toChild;
    LineSplitter splitter(request.MaxLineBytes);
    auto handle = [&onLine, &toChild](std::string_view line) {
        onLine(line, toChild);
    };
    bool outputOpen = true;
    // Once the child has ended, what it wrote is read to the end, for a
    // moment at most (a process it left may hold the pipe).
    std::optional<SteadyTime> drainUntil;
    constexpr auto CancelCheck = std::chrono::milliseconds(50);
    char buffer[65536];
    while (true) {
        SteadyTime now = std::chrono::steady_clock::now();
        if (request.Cancelled && request.Cancelled()) {
            end.How = ChildEnd::Kind::Cancelled;
            child->KillAndReap();
            break;
        }
        if (now >= request.Deadline) {
            end.How = ChildEnd::Kind::TimedOut;
            child->KillAndReap();
            break;
        }
        for (std::string& text : toChild.TakeDue(now)) {
            // The child may be gone or not reading: nothing waits for it.
            ::send(input.Get(), text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        if (!drainUntil && child->Poll()) {
            drainUntil = std::min(request.Deadline, now + std::chrono::milliseconds(500));
        }
        if (!outputOpen || (drainUntil && now >= *drainUntil)) {
            if (!drainUntil) {
                // Output closed while the child runs on: wait for its end.
                ::poll(nullptr, 0, std::min(MillisecondsUntil(request.Deadline, now), 10));
                continue;
            }
            int status = child->KillAndReap();
            end.How = WIFSIGNALED(status) ? ChildEnd::Kind::Signalled : ChildEnd::Kind::Exited;
            end.Code = WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status);
            break;
        }
        SteadyTime wakeUp = std::min(request.Deadline, now + CancelCheck);
        if (drainUntil) {
            wakeUp = std::min(wakeUp, *drainUntil);
        }
        if (std::optional<SteadyTime> due = toChild.NextDue()) {
            wakeUp = std::min(wakeUp, *due);
        }
        pollfd watched = {output.Get(), POLLIN, 0};
        int ready = ::poll(&watched, 1, MillisecondsUntil(wakeUp, now));
        if (ready <= 0) {
            continue;
        }
        while (true) {
            ssize_t got = ::read(output.Get(), buffer, sizeof buffer);
            if (got > 0) {
                end.BytesRead += static_cast<std::uint64_t>(got);
                splitter.Feed(buffer, static_cast<std::size_t>(got), handle);
                if (static_cast<std::size_t>(got) < sizeof buffer) {
                    break;
                }
                continue;
            }
            if (got == 0) {
                outputOpen = false;
                splitter.Finish(handle);
            }
            break;
        }
    }
    end.LinesCut = splitter.LinesCut();
    return end;
}

} // namespace twl
