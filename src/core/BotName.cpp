// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/BotName.h"

namespace twl {

namespace {

constexpr const char* NameErrorTitle = "Name error!";
constexpr const char* ReservedCharacters = "/\\:*?\"<>|;";

} // namespace

std::optional<BotNameComplaint> CheckBotName(const std::string& name)
{
    if (name.empty()) {
        return BotNameComplaint{
            BotNameRule::NotEmpty, "Bot must have a name!", "Selfawareness error!"};
    }
    if (name.find(' ') != std::string::npos) {
        return BotNameComplaint{
            BotNameRule::NoBlank,
            "Bot name can't have any spaces. Use funname if you want to use spaces.",
            "Space error!"};
    }
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte > 0x7E) {
            return BotNameComplaint{
                BotNameRule::PrintableAscii,
                "Bot name can only use the letters A to Z without accents, digits and the signs "
                "of the keyboard: the game reads a name only up to any other character (\"Désiré\" "
                "becomes \"D\"). Use funname for such letters.",
                NameErrorTitle};
        }
    }
    if (name.find_first_of(ReservedCharacters) != std::string::npos) {
        return BotNameComplaint{
            BotNameRule::NoReservedCharacter,
            "Bot name can't contain any of / \\ : * ? \" < > | ; because the game could not find "
            "the bot's files or would cut its script short.",
            NameErrorTitle};
    }
    if (name == "." || name == "..") {
        return BotNameComplaint{BotNameRule::NotAFolderName,
                                "Bot name can't be \".\" or \"..\": such a name stands for a "
                                "folder, not for a bot.",
                                NameErrorTitle};
    }
    if (name.size() > MaxBotNameLength) {
        return BotNameComplaint{BotNameRule::MaxLength,
                                "Bot name can have at most 45 characters: the game can't find "
                                "the files of a bot with a longer name.",
                                NameErrorTitle};
    }
    return std::nullopt;
}

std::string StoredFunName(const std::string& funName)
{
    bool quoted = funName.size() >= 2 && funName.front() == '"' && funName.back() == '"';
    bool needsQuotes = false;
    for (char c : funName) {
        unsigned char byte = static_cast<unsigned char>(c);
        needsQuotes = needsQuotes || c == ' ' || byte > 0x7F;
    }
    if (!needsQuotes || quoted) {
        return funName;
    }
    return "\"" + funName + "\"";
}

} // namespace twl
