// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

#include <ostream>

namespace twl::test {

ScriptedMessages::~ScriptedMessages()
{
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answer(s) never asked for";
    EXPECT_TRUE(m_textAnswers.empty())
        << m_textAnswers.size() << " scripted text answer(s) never asked for";
}

void ScriptedMessages::Inform(const std::string& text, const std::string& title)
{
    m_received.push_back({Kind::Inform, title, text});
}

void ScriptedMessages::Warn(const std::string& text, const std::string& title)
{
    m_received.push_back({Kind::Warn, title, text});
}

bool ScriptedMessages::Ask(const std::string& text, const std::string& title)
{
    m_received.push_back({Kind::Ask, title, text});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << title << ": " << text;
        return false;
    }
    bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedMessages::Note(const std::string& text)
{
    m_received.push_back({Kind::Note, std::string(), text});
}

std::optional<std::string> ScriptedMessages::AskText(const std::string& prompt,
                                                     const std::string& title)
{
    m_received.push_back({Kind::AskText, title, prompt});
    if (m_textAnswers.empty()) {
        ADD_FAILURE() << "unexpected text question: " << title << ": " << prompt;
        return std::nullopt;
    }
    std::optional<std::string> answer = m_textAnswers.front();
    m_textAnswers.pop_front();
    return answer;
}

std::ostream& operator<<(std::ostream& out, const ScriptedMessages::Message& message)
{
    static const char* const KindNames[] = {"Inform", "Warn", "Ask", "Note", "AskText"};
    return out << KindNames[static_cast<int>(message.MessageKind)] << " [" << message.Title << "] "
               << message.Text;
}

} // namespace twl::test
