// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace twl {

// How the core speaks to the user. The editor shows message boxes, the
// command-line tool writes to standard error, tests record what was said.
// Texts and titles are passed on exactly as given.
class Messages
{
public:
    virtual ~Messages() = default;

    virtual void Inform(const std::string& text, const std::string& title) = 0; // information icon
    virtual void Warn(const std::string& text, const std::string& title) = 0;   // warning icon
    virtual bool Ask(const std::string& text, const std::string& title) = 0;    // Yes is true
    virtual void Note(const std::string& text) = 0;                             // OK only, no title
    virtual std::optional<std::string> AskText(const std::string& prompt,
                                               const std::string& title) = 0; // nothing on Cancel
};

} // namespace twl
