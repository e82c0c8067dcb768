#pragma once

#include <optional>
#include <string>

namespace twl {

// A message for the user: its text and its title (shown with the warning icon).
struct Complaint
{
    std::string Text;
    std::string Title;
};

// The rules a bot name must pass before it is used: not empty, no blanks,
// and nothing that would make its file names leave their folder or fail (no
// / \ : * ? " < > |, no control character, not "." or "..").
std::optional<Complaint> CheckBotName(const std::string& name);

// The fun name as the editor stores it: one with a blank is enclosed in
// double quotes (once), so the game reads it as one value.
std::string StoredFunName(const std::string& funName);

} // namespace twl
