// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/FindingPlaces.h"

#include "core/CharCatalogue.h"
#include "core/ShownText.h"
#include "core/TextCase.h"

#include <cstdlib>

namespace twl {

std::string FindingLine(const Finding& finding)
{
    // Names and texts from a bot's files are shown escaped.
    std::string where = ShownText(finding.File);
    if (finding.Line > 0) {
        where += ":" + std::to_string(finding.Line);
    }
    if (where.empty()) {
        return std::string(SeverityName(finding.Level)) + ": " + ShownText(finding.Text);
    }
    return std::string(SeverityName(finding.Level)) + ": " + where + ": " + ShownText(finding.Text);
}

namespace {

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string FirstWord(const std::string& line)
{
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return {};
    }
    std::size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The characteristic or weight of that identifier, between `first` and `last`.
int ParameterNamed(const std::string& name, const Catalogues& catalogues, int first, int last)
{
    for (int c = first; c <= last; ++c) {
        if (CharIdentifier(catalogues.CharNames[static_cast<std::size_t>(c)]) == name) {
            return c;
        }
    }
    return -1;
}

} // namespace

CheckPlace PlaceOfLine(const std::string& gamePath,
                       const std::vector<std::string>& lines,
                       int line,
                       const Catalogues& catalogues)
{
    CheckPlace place;
    if (line < 1 || static_cast<std::size_t>(line) > lines.size()) {
        return place;
    }
    const std::string path = LowerCase(gamePath);
    const std::string& text = lines[static_cast<std::size_t>(line - 1)];
    if (EndsWith(path, "_c.c")) {
        int level = 0;
        for (int i = line; i >= 1 && level == 0; --i) {
            const std::string& before = lines[static_cast<std::size_t>(i - 1)];
            if (FirstWord(before) == "skill") {
                level = std::atoi(before.c_str() + before.find("skill") + 5);
            }
        }
        int c =
            ParameterNamed(FirstWord(text), catalogues, Para::FirstSkillChar, Para::LastBotValue);
        bool perSkill = c >= Para::FirstSkillChar && c <= Para::LastSkillChar;
        bool known = level == 1 || level == 4 || level == 5;
        place.Parameter = perSkill ? (known ? Para::OfSkill(level, c) : -1) : c;
    } else if (EndsWith(path, "_w.c") || EndsWith(path, "_i.c")) {
        for (int c = Para::FirstBotValue; c <= Para::LastBotValue && place.Parameter < 0; ++c) {
            std::string name = CharIdentifier(catalogues.CharNames[static_cast<std::size_t>(c)]);
            if (!name.empty() && text.find(name) != std::string::npos) {
                place.Parameter = c;
            }
        }
    } else if (EndsWith(path, "_t.c")) {
        // The messages of a type stand one a line between its braces.
        int type = -1;
        int message = -1;
        for (int i = 1; i <= line; ++i) {
            const std::string& at = lines[static_cast<std::size_t>(i - 1)];
            std::string word = FirstWord(at);
            if (word == "type") {
                type = -1;
                message = -1;
                for (std::size_t t = 0; t < ChatTypeCount; ++t) {
                    if (at.find("\"" + catalogues.Chat.ChatTypes[t].FileName + "\"") !=
                        std::string::npos) {
                        type = static_cast<int>(t);
                    }
                }
            } else if (type >= 0 && !word.empty() && word != "{" && word != "}" &&
                       word.compare(0, 2, "//") != 0) {
                ++message;
            }
        }
        place.ChatGroup = type;
        place.ChatLine = type >= 0 && FirstWord(text) != "type" ? message : -1;
    } else if (EndsWith(path, ".bot")) {
        std::string key = LowerCase(FirstWord(text));
        place.Parameter = key == "name"      ? Para::Name
                          : key == "model"   ? Para::Model
                          : key == "funname" ? Para::FunName
                          : key == "color"   ? Para::RailColor
                                             : -1;
    }
    return place;
}

} // namespace twl
