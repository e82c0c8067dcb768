// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/CheckCommands.h"

#include "core/ShownText.h"
#include "core/TextCase.h"
#include "session/PageTables.h"

#include <cstdlib>

namespace twl {

FindingTarget TargetOf(const CheckPlace& place)
{
    FindingTarget target;
    if (place.ChatGroup >= 0) {
        target.Page = ChatTextsPage;
        target.Control = place.ChatLine >= 0 ? "txtChat" : "lstChatGroups";
        target.ChatGroup = place.ChatGroup;
        target.ChatLine = place.ChatLine;
        return target;
    }
    int parameter = place.Parameter;
    if (parameter < 0) {
        return target;
    }
    if (parameter > 100) {
        int characteristic = parameter % 100;
        for (const ThreeSliderLayout& slider : ThreeSliders()) {
            if (slider.Index == characteristic) {
                target.Page = slider.Place.Page;
                target.Control = "tsBotPara_" + std::to_string(characteristic);
            }
        }
        return target;
    }
    for (const OneSliderLayout& slider : OneSliders()) {
        if (slider.Index == parameter) {
            target.Page = slider.Place.Page;
            target.Control = "osBotPara_" + std::to_string(parameter);
            return target;
        }
    }
    // The general properties stand beside the pages.
    switch (parameter) {
    case Para::Name:
    case Para::FunName:
    case Para::VersionMajor:
    case Para::VersionMinor:
    case Para::Comment:
        target.Control = "txtBotPara_" + std::to_string(parameter);
        break;
    case Para::Gender:
        target.Control = "opGender_0";
        break;
    case Para::RailColor:
        target.Control = "cmbRail";
        break;
    case Para::Model:
        target.Control = "cmbModel";
        break;
    case Para::Skin:
        target.Control = "cmbSkin";
        break;
    case Para::ArenaLord:
        target.Control = "chkArenalord";
        break;
    default:
        // The file names follow the name.
        target.Control = "txtBotPara_0";
        break;
    }
    return target;
}

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

std::vector<Finding> CheckThisBot(const BotEditor& editor)
{
    return CheckBot(editor.ThisBot(), editor.CurrentCatalogues(), editor.CurrentSettings());
}

bool MayMakeWithFindings(BotEditor& editor, const std::vector<Finding>& findings)
{
    std::size_t errors = CountFindings(findings, Severity::Error);
    if (errors == 0) {
        return true;
    }
    return editor.UserMessages().Ask(
        "The game will not load this bot as it is: " + std::to_string(errors) +
            " problems. Make the files anyway?",
        "Check bot");
}

} // namespace twl
