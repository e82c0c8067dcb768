// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/ChatFile.h"

#include "botfiles/BotFileReading.h"
#include "botfiles/CharFile.h"
#include "botfiles/FileHeader.h"
#include "chat/ChatCodec.h"
#include "core/Trim.h"
#include "core/ValueFormat.h"

namespace twl {

namespace {

constexpr std::size_t LevelEndType = 3;
constexpr std::size_t EnemySuicideType = 23;
constexpr std::size_t NoChatType = ChatTypeCount;

// A type header starts, after blanks and TABs, with "type"; the type is the
// first whose name the line holds.
std::optional<std::size_t> TypeOfHeader(const std::string& raw, const ChatCatalogue& chat)
{
    if (IsSkippedBotFileLine(raw) || TrimLeadingBlanks(raw).rfind("type", 0) != 0) {
        return std::nullopt;
    }
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        if (type == LevelEndType && raw.find("level_end_") != std::string::npos) {
            continue;
        }
        if (raw.find(chat.ChatTypes[type].FileName) != std::string::npos) {
            return type;
        }
    }
    // Files written before the game's name for it was known call it so; the
    // game asks for enemy_suicide, so the lines go there.
    if (raw.find("kill_suicide") != std::string::npos) {
        return EnemySuicideType;
    }
    return NoChatType;
}

} // namespace

std::vector<std::string>
ChatFileLines(const Bot& bot, const ChatCatalogue& chat, const Settings& settings)
{
    std::vector<std::string> lines = FileHeaderLines(bot, settings, BotFileKind::Chat);
    lines.push_back("");
    lines.push_back("");
    lines.push_back("chat " + FormatText(bot.BotPara(Para::LowerName)));
    lines.push_back("{");
    lines.push_back("\t#include \"teamplay.h\"");
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        int group = static_cast<int>(type);
        lines.push_back("");
        lines.push_back("\ttype " + FormatValue(Value(chat.ChatTypes[type].FileName)));
        lines.push_back("\t{");
        for (int line = 0; line <= bot.ChatGroupUBound(group); ++line) {
            lines.push_back("\t\t" + EncodeChatLine(bot.BotChat(group, line), type, chat));
        }
        lines.push_back("\t}");
    }
    lines.push_back("}");
    return lines;
}

std::size_t
ReadChatLines(Bot& bot, const std::vector<std::string>& lines, const ChatCatalogue& chat)
{
    bot.LeadingComments(BotFileKind::Chat) = LeadingCommentLines(lines);
    std::size_t leftOut = 0;
    std::size_t i = 0;
    while (i < lines.size()) {
        std::optional<std::size_t> type = TypeOfHeader(lines[i], chat);
        ++i;
        if (!type) {
            continue;
        }
        int next = 0;
        for (; i < lines.size(); ++i) {
            std::string line = TrimBlanks(StripTabs(lines[i]));
            if (line.rfind("}", 0) == 0) {
                ++i;
                break;
            }
            if (line.empty() || line.rfind("{", 0) == 0 || line.rfind("//", 0) == 0) {
                continue;
            }
            // A group holds at most 32768 lines; the rest of a longer block is read past.
            if (*type != NoChatType && next <= LastChatLine) {
                bot.SetBotChat(static_cast<int>(*type), next++, DecodeChatLine(line, *type, chat));
            } else if (*type != NoChatType) {
                ++leftOut;
            }
        }
    }
    return leftOut;
}

Result<> ReadChatFile(Bot& bot,
                      const std::filesystem::path& folder,
                      const std::string& name,
                      const ChatCatalogue& chat,
                      Messages& messages)
{
    BotFileBytes file = ReadBotFileBytes(folder, name + "_t.c", "chat", name, messages);
    if (file.Outcome) {
        if (std::size_t leftOut = ReadChatLines(bot, SplitTextLines(file.Bytes), chat)) {
            messages.Warn(file.Path.string() +
                              " holds more chat lines of one type than a bot can keep (32768): " +
                              std::to_string(leftOut) + " lines were left out.",
                          "Chat lines left out");
        }
    }
    return file.Outcome;
}

} // namespace twl
