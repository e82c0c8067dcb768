// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>

namespace twl {

// What the command-line tool prints: to a file descriptor through a buffer
// of its own, or into a C++ stream (the tests' string streams). The program
// itself makes no C++ stream: setting up the first one builds the C++
// locale, which costs a small command more page faults than its own work.
//
// A descriptor's text goes out when the buffer is full, at Flush, and at
// the end; a terminal's, and standard error's (Immediate), at every line
// end, as stdio does.
class TextOut
{
public:
    enum class Buffering
    {
        Full,     // a file or pipe; line by line on a terminal
        Immediate // standard error: every complete line at once
    };

    TextOut(int descriptor, Buffering buffering);
    explicit TextOut(std::ostream& stream);
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;
    ~TextOut();

    TextOut& operator<<(std::string_view text);

    TextOut& operator<<(const char* text) { return *this << std::string_view(text); }

    TextOut& operator<<(const std::string& text) { return *this << std::string_view(text); }

    TextOut& operator<<(char c) { return *this << std::string_view(&c, 1); }

    template <typename Number,
              std::enable_if_t<std::is_integral_v<Number> && !std::is_same_v<Number, char> &&
                                   !std::is_same_v<Number, bool>,
                               int> = 0>
    TextOut& operator<<(Number number)
    {
        char digits[24];
        std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, number);
        return *this << std::string_view(digits, static_cast<std::size_t>(end.ptr - digits));
    }

    // Before any of this goes out, `first` goes out: standard output before
    // standard error, so that they stand in order on a terminal.
    void Tie(TextOut& first) { m_tied = &first; }

    // Writes out what is buffered; false when the descriptor did not take
    // all of it (ErrorNumber says why), now or at an earlier write.
    bool Flush();

    int ErrorNumber() const { return m_error; }

private:
    void WriteOut(std::string_view text);

    int m_descriptor = -1;
    std::ostream* m_stream = nullptr;
    Buffering m_buffering = Buffering::Full;
    int m_terminal = -1; // whether the descriptor is a terminal, asked at the first line end
    std::string m_buffer;
    TextOut* m_tied = nullptr;
    int m_error = 0;
};

} // namespace twl
