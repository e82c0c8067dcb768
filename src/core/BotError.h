// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace twl {

// Raised by Bot and Skill when a caller addresses something that does not
// exist. The program never does so in normal use: these mark programming
// faults, so they are exceptions rather than results.
class BotError : public std::runtime_error
{
public:
    enum class Kind
    {
        OutOfRange,   // a parameter, skill position, chat group or chat line that does not exist
        TypeMismatch, // a text where a number is needed
        InvalidKey    // a skill level other than 1, 4 or 5
    };

    BotError(Kind kind, const std::string& what)
        : std::runtime_error(what)
        , m_kind(kind)
    {}

    Kind GetKind() const { return m_kind; }

private:
    Kind m_kind;
};

} // namespace twl
