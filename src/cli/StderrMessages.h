// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/TextOut.h"
#include "core/Messages.h"

#include <string>
#include <vector>

namespace twl {

// Messages of the command-line tool: one line each, "title: text", on the
// given text output (standard error). Nobody is there to answer, so every
// question is answered No and every prompt is cancelled.
class StderrMessages : public Messages
{
public:
    explicit StderrMessages(TextOut& err)
        : m_err(err)
    {}

    void Inform(const std::string& text, const std::string& title) override;
    void Warn(const std::string& text, const std::string& title) override;
    bool Ask(const std::string& text, const std::string& title) override;
    void Note(const std::string& text) override;
    std::optional<std::string> AskText(const std::string& prompt,
                                       const std::string& title) override;

    // Questions of this title are answered Yes from now on (an option of the
    // command line said so).
    void AnswerYes(const std::string& title) { m_yes.push_back(title); }

private:
    void Print(const std::string& text, const std::string& title);

    TextOut& m_err;
    std::vector<std::string> m_yes;
};

} // namespace twl
