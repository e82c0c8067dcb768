// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace twl::test {

// A Messages fake: records every message in order and answers questions
// from a script. A question with no scripted answer, or answers left over
// when the object is destroyed, fail the running test.
class ScriptedMessages : public Messages
{
public:
    enum class Kind
    {
        Inform,
        Warn,
        Ask,
        Note,
        AskText
    };

    struct Message
    {
        Kind MessageKind;
        std::string Title;
        std::string Text;

        bool operator==(const Message& other) const
        {
            return MessageKind == other.MessageKind && Title == other.Title && Text == other.Text;
        }
    };

    ScriptedMessages() = default;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;
    ~ScriptedMessages() override;

    // The next Ask is answered with `yes`.
    void ExpectQuestion(bool yes) { m_answers.push_back(yes); }

    // The next AskText is answered with `answer` (nothing = Cancel).
    void ExpectTextQuestion(std::optional<std::string> answer)
    {
        m_textAnswers.push_back(std::move(answer));
    }

    const std::vector<Message>& Received() const { return m_received; }

    void Clear() { m_received.clear(); }

    void Inform(const std::string& text, const std::string& title) override;
    void Warn(const std::string& text, const std::string& title) override;
    bool Ask(const std::string& text, const std::string& title) override;
    void Note(const std::string& text) override;
    std::optional<std::string> AskText(const std::string& prompt,
                                       const std::string& title) override;

private:
    std::vector<Message> m_received;
    std::deque<bool> m_answers;
    std::deque<std::optional<std::string>> m_textAnswers;
};

std::ostream& operator<<(std::ostream& out, const ScriptedMessages::Message& message);

} // namespace twl::test
