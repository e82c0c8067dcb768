// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

// Writes the pieces to standard output with as few system calls as it
// takes (one, unless the output takes less at a time); false on a failure.
bool WriteFixedText(const twl::FixedText& text)
{
    iovec pieces[std::tuple_size_v<decltype(text.Pieces)>] = {};
    int count = 0;
    for (std::string_view piece : text.Pieces) {
        if (!piece.empty()) {
            pieces[count++] = iovec{const_cast<char*>(piece.data()), piece.size()};
        }
    }
    iovec* next = pieces;
    while (count > 0) {
        ssize_t written = ::writev(STDOUT_FILENO, next, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return false;
        }
        auto left = static_cast<std::size_t>(written);
        while (count > 0 && left >= next->iov_len) {
            left -= next->iov_len;
            ++next;
            --count;
        }
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + left;
            next->iov_len -= left;
        }
    }
    return true;
}

// --help and --version print a fixed text, first of all: straight to the
// file, without the C++ streams and their locale (which cost more to set up
// than the rest of the start together), stdio's buffer, or any memory.
// (<iostream> is not included, so std::cout and std::cerr are never made.)
// Nothing was set up that the exit handlers would have to undo: the program
// ends at once.
void AnswerFixedQuestion(int argc, char** argv)
{
    if (argc > 1) {
        if (std::optional<twl::FixedText> text = twl::FixedAnswerText(argv[1])) {
            ::_exit(WriteFixedText(*text) ? twl::ExitSuccess : twl::ExitFailure);
        }
    }
}

// Called by the dynamic loader before any static constructor runs, the C++
// runtime's own among them: its pool for exceptions, taken from the heap,
// costs about 7% of the start, and the answer needs none of it. It uses
// constant texts and system calls only. A sanitizer's own start comes first
// in this list.
void AnswerBeforeConstructors(int argc, char** argv, char** /*environment*/)
{
    AnswerFixedQuestion(argc, argv);
}

[[gnu::used, gnu::section(".preinit_array")]] void (*const AnswerFirst)(int, char**, char**) =
    AnswerBeforeConstructors;

} // namespace

int main(int argc, char* argv[])
{
    // Where the loader does not call the list above, the answer comes here.
    AnswerFixedQuestion(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // A command runs once and ends: memory given back to the system while it
    // runs (a freed block above the trim threshold, a large block mapped on
    // its own) is taken back at the next step, a page fault a page. Kept in
    // the heap, it is reused instead.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    // Standard output is buffered and goes out before anything is written
    // to standard error, which goes out line by line.
    twl::TextOut out(STDOUT_FILENO, twl::TextOut::Buffering::Full);
    twl::TextOut err(STDERR_FILENO, twl::TextOut::Buffering::Immediate);
    err.Tie(out);
    int status = twl::RunCli(arguments, out, err);
    // What could not be printed (a full disk behind a redirection) is a
    // failure, said on standard error.
    if (!out.Flush()) {
        err << "tarnwell-cli: the output could not be written: " << std::strerror(out.ErrorNumber())
            << '\n';
        status = status == twl::ExitSuccess ? twl::ExitFailure : status;
    }
    return status;
}
