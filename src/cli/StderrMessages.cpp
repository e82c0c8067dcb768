// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StderrMessages.h"

#include "core/ShownText.h"

#include <algorithm>

namespace twl {

namespace {

// A message on one line: its own line ends become blanks, and every other
// control character (a name from outside may hold a terminal's escape) is
// shown escaped.
std::string OneLine(const std::string& text)
{
    std::string result = text;
    for (char& c : result) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return ShownText(result);
}

} // namespace

void StderrMessages::Print(const std::string& text, const std::string& title)
{
    // Made whole and written at once: standard error is not buffered, and
    // each piece would be a write of its own.
    std::string line = title.empty() ? OneLine(text) : OneLine(title) + ": " + OneLine(text);
    line += '\n';
    m_err << line;
}

void StderrMessages::Inform(const std::string& text, const std::string& title)
{
    Print(text, title);
}

void StderrMessages::Warn(const std::string& text, const std::string& title)
{
    Print(text, title);
}

bool StderrMessages::Ask(const std::string& text, const std::string& title)
{
    bool yes = std::find(m_yes.begin(), m_yes.end(), title) != m_yes.end();
    Print(text + (yes ? " (answered Yes)" : " (answered No)"), title);
    return yes;
}

void StderrMessages::Note(const std::string& text)
{
    Print(text, std::string());
}

std::optional<std::string> StderrMessages::AskText(const std::string& prompt,
                                                   const std::string& title)
{
    Print(prompt + " (cancelled)", title);
    return std::nullopt;
}

} // namespace twl
