#include "botfiles/FileHeader.h"

#include "core/ProgramInfo.h"

namespace twl {

namespace {

const std::string RuleLine = "//" + std::string(75, '=');

// A version part that is not a number reads as 0.
Value VersionPart(const std::string& text)
{
    std::optional<std::int16_t> number = ToInt16(Value(text));
    return Value(number.value_or(std::int16_t{0}));
}

} // namespace

std::vector<std::string> FileHeaderLines(const Bot& bot, const Settings& settings)
{
    std::vector<std::string> lines;
    lines.push_back(RuleLine);
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
    lines.push_back(RuleLine);
    return lines;
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
