#include "core/BotName.h"

namespace twl {

std::optional<Complaint> CheckBotName(const std::string& name)
{
    if (name.empty()) {
        return Complaint{"Bot must have a name!", "Selfawareness error!"};
    }
    if (name.find(' ') != std::string::npos) {
        return Complaint{"Bot name can't have any spaces. Use funname if you want to use spaces.",
                         "Space error!"};
    }
    bool unsafe = name == "." || name == "..";
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string("/\\:*?\"<>|").find(c) != std::string::npos) {
            unsafe = true;
        }
    }
    if (unsafe) {
        return Complaint{"Bot name can't contain any of / \\ : * ? \" < > | or control characters.",
                         "Name error!"};
    }
    return std::nullopt;
}

std::string StoredFunName(const std::string& funName)
{
    bool quoted = funName.size() >= 2 && funName.front() == '"' && funName.back() == '"';
    if (funName.find(' ') == std::string::npos || quoted) {
        return funName;
    }
    return "\"" + funName + "\"";
}

} // namespace twl
