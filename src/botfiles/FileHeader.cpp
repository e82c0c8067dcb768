// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/FileHeader.h"

#include "core/ProgramInfo.h"

#include <string_view>

namespace twl {

namespace {

// "//" and 75 "=".
constexpr std::string_view RuleLine =
    "//===========================================================================";

// A version part that is not a number reads as 0.
Value VersionPart(const std::string& text)
{
    std::optional<std::int16_t> number = ToInt16(Value(text));
    return Value(number.value_or(std::int16_t{0}));
}

} // namespace

std::vector<std::string> FileHeaderLines(const Bot& bot, const Settings& settings, BotFileKind file)
{
    std::vector<std::string> lines;
    lines.emplace_back(RuleLine);
    lines.push_back("//\t" + bot.BotPara(Para::Name).ToText() + "\tversion " +
                    bot.BotPara(Para::VersionMajor).ToText() + "." +
                    bot.BotPara(Para::VersionMinor).ToText());

    const std::string& user = settings.Text(Settings::UserName);
    std::string author = "//";
    if (!user.empty()) {
        author += "\tBy: " + user;
        if (!settings.Text(Settings::Email).empty()) {
            author += ", " + settings.Text(Settings::Email);
        }
        if (!settings.Text(Settings::Http).empty()) {
            author += ", " + settings.Text(Settings::Http);
        }
    }
    lines.push_back(author);

    std::string comment = bot.BotPara(Para::Comment).ToText();
    lines.push_back(comment.empty() ? std::string("//") : "//\t" + comment);
    lines.push_back("//\tMade with Vantry's Tarnwell v. " + ShortVersionText());
    lines.push_back(std::string("//\t") + ProgramWebAddress + "  e-mail: " + ProgramContactEmail);
    lines.emplace_back(RuleLine);
    const std::vector<std::string>& comments = bot.LeadingComments(file);
    if (!comments.empty()) {
        lines.push_back("");
        lines.insert(lines.end(), comments.begin(), comments.end());
    }
    return lines;
}

std::pair<std::size_t, std::size_t> LeadingCommentRange(const std::vector<std::string>& lines)
{
    constexpr std::size_t HeaderLines = 7;
    std::size_t first = 0;
    if (lines.size() >= HeaderLines && lines[0] == RuleLine && lines[HeaderLines - 1] == RuleLine &&
        lines[4].find("Made with Vantry's Tarnwell") != std::string::npos) {
        first = HeaderLines;
    }
    auto blank = [](const std::string& line) {
        return line.find_first_not_of(" \t") == std::string::npos;
    };
    std::size_t end = first;
    bool inBlock = false;
    for (; end < lines.size(); ++end) {
        const std::string& line = lines[end];
        std::size_t start = line.find_first_not_of(" \t");
        if (inBlock) {
            inBlock = line.find("*/") == std::string::npos;
            continue;
        }
        if (blank(line) || line.compare(start, 2, "//") == 0) {
            continue;
        }
        if (line.compare(start, 2, "/*") == 0) {
            std::size_t close = line.find("*/", start + 2);
            if (close == std::string::npos) {
                inBlock = true;
                continue;
            }
            if (blank(line.substr(close + 2))) {
                continue;
            }
        }
        break;
    }
    while (first < end && blank(lines[first])) {
        ++first;
    }
    std::size_t after = end;
    while (end > first && blank(lines[end - 1])) {
        --end;
    }
    return {first, end > first ? end : after};
}

std::vector<std::string> LeadingCommentLines(const std::vector<std::string>& lines)
{
    auto [first, end] = LeadingCommentRange(lines);
    if (end <= first) {
        return {};
    }
    return {lines.begin() + static_cast<std::ptrdiff_t>(first),
            lines.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::size_t ReadFileHeader(Bot& bot, const std::vector<std::string>& lines)
{
    bot.SetBotPara(Para::Comment, Value(""));
    bot.SetBotPara(Para::VersionMajor, Value(std::int16_t{0}));
    bot.SetBotPara(Para::VersionMinor, Value(std::int16_t{0}));
    // Only comment lines belong to the header: a file that starts with its
    // data gives up none of it.
    auto isComment = [&lines](std::size_t i) {
        return i < lines.size() && lines[i].rfind("//", 0) == 0;
    };
    if (!isComment(0)) {
        return 0;
    }
    if (!isComment(1)) {
        return 1;
    }
    const std::string versionKey = "version ";
    std::size_t at = lines[1].find(versionKey);
    if (at == std::string::npos) {
        return 2;
    }
    std::string version = lines[1].substr(at + versionKey.size());
    std::size_t point = version.find('.');
    bot.SetBotPara(Para::VersionMajor, VersionPart(version.substr(0, point)));
    if (point != std::string::npos) {
        bot.SetBotPara(Para::VersionMinor, VersionPart(version.substr(point + 1)));
    }
    if (!isComment(2)) {
        return 2;
    }
    if (!isComment(3)) {
        return 3;
    }
    const std::string& commentLine = lines[3];
    if (commentLine.size() >= 3) {
        bot.SetBotPara(Para::Comment, Value(commentLine.substr(3)));
    }
    return 4;
}

} // namespace twl
