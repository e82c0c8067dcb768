// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include <cstdio>
#include <cstdlib>
#include <ext/stdio_sync_filebuf.h>
#include <malloc.h>
#include <ostream>

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // --help and --version print a fixed text, here through stdio: the C++
    // streams and their locale, which cost more to set up than the rest of
    // the start together, are only made for a command that does some work.
    // (<iostream> is not included, so std::cout and std::cerr are never made.)
    if (std::optional<std::string> text = twl::FixedAnswer(arguments)) {
        bool written = std::fwrite(text->data(), 1, text->size(), stdout) == text->size();
        return std::fflush(stdout) == 0 && written ? twl::ExitSuccess : twl::ExitFailure;
    }
    // A command runs once and ends: memory given back to the system while it
    // runs (a freed block above the trim threshold, a large block mapped on
    // its own) is taken back at the next step, a page fault a page. Kept in
    // the heap, it is reused instead.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    // What std::cout and std::cerr would be: straight into stdio's streams,
    // standard output flushed before anything goes to standard error.
    __gnu_cxx::stdio_sync_filebuf<char> outBuffer(stdout);
    __gnu_cxx::stdio_sync_filebuf<char> errBuffer(stderr);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    err.tie(&out);
    return twl::RunCli(arguments, out, err);
}
