// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twl {

using SteadyTime = std::chrono::steady_clock::time_point;

// Text for the child's standard input, each at its time: given from the
// line callback of RunChild (to answer what the child printed).
class ChildInput
{
public:
    // `text` goes to the child's standard input at `when`, at once when that
    // has passed. What the child no longer reads is dropped.
    void SendAt(SteadyTime when, std::string text);

    // The texts due at `now`, taken out, in the order they were given.
    std::vector<std::string> TakeDue(SteadyTime now);
    // The time of the next text to send, if any.
    std::optional<SteadyTime> NextDue() const;

private:
    std::vector<std::pair<SteadyTime, std::string>> m_pending;
};

// A program to run as a child, with its limits.
struct ChildRequest
{
    std::filesystem::path Program;
    std::vector<std::string> Arguments; // after the program's name
    // Set for the child over this process's own environment.
    std::vector<std::pair<std::string, std::string>> Environment;
    std::filesystem::path WorkingFolder; // empty: this process's
    SteadyTime Deadline;
    // Asked every 50 ms at least; true ends the child.
    std::function<bool()> Cancelled;
    // A longer line is cut there and the rest of it dropped.
    std::size_t MaxLineBytes = 4096;
};

// How a child's run ended.
struct ChildEnd
{
    enum class Kind
    {
        Exited,    // `Code` is its exit status
        Signalled, // `Code` is the signal that ended it
        TimedOut,  // killed at the deadline
        Cancelled, // killed when Cancelled said so
        NotStarted // `Reason` says why
    };
    Kind How = Kind::NotStarted;
    int Code = 0;
    std::string Reason;
    std::uint64_t BytesRead = 0;
    std::uint64_t LinesCut = 0;
};

using ChildLineHandler = std::function<void(std::string_view line, ChildInput& input)>;

// Runs the program in a process group of its own: its standard output and
// standard error go into one pipe that is read here line by line (a line
// ends at "\n", a "\r" before that is dropped, the last line counts without
// its "\n"); its standard input is a socket that only ChildInput writes.
// Memory stays bounded whatever the child prints: each line is handed to
// `onLine` and forgotten. At the deadline, or when Cancelled says so, the
// whole group is killed (SIGKILL) and reaped, so the call returns a few
// milliseconds after the deadline at most; when the child ends by itself
// what is left of its group is killed too. While the child runs, a SIGTERM,
// SIGINT, SIGHUP or SIGQUIT that ends this program kills the group first and
// then does what it did before (the private temporary folders go). Exceptions
// thrown by `onLine` end the child and pass on.
ChildEnd RunChild(const ChildRequest& request, const ChildLineHandler& onLine);

} // namespace twl
