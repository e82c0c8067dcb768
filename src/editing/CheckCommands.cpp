// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/CheckCommands.h"

#include "editing/PageTables.h"

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

std::vector<Finding> CheckThisBot(const BotEditor& editor)
{
    return CheckBotAsMade(editor.ThisBot(), editor.CurrentCatalogues(), editor.CurrentSettings());
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
