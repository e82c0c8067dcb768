// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/PageTables.h"

namespace twl {

namespace {

constexpr Linking Free = Linking::Independent;
constexpr Linking Rising = Linking::NeverFalls;
constexpr Linking Falling = Linking::NeverRises;

// Page numbers in tab order.
enum PageNumber
{
    General = 0,
    Behaviour,
    WeaponSkills,
    WeaponUsage,
    WeaponPickup,
    ItemPickup,
    Chat
};

std::vector<ThreeSliderLayout> MakeThreeSliders()
{
    // Index, name, max, linking, zero shown as "No", page, frame, row, column.
    return {
        {2, "Attack skill", 1, Rising, false, {General, 0, 0, 0}},
        {3, "Aim skill", 1, Rising, false, {General, 0, 1, 0}},
        {4, "Aim accuracy", 1, Rising, false, {General, 0, 2, 0}},
        {5, "View factor", 1, Rising, false, {General, 0, 0, 1}},
        {6, "Max view change angle \xC2\xB0/s", 360, Rising, false, {General, 0, 1, 1}},
        {7, "Reaction time s", 5, Falling, false, {General, 0, 2, 1}},
        {8, "Croucher", 1, Free, false, {Behaviour, 0, 0, 0}},
        {9, "Jumper", 1, Free, false, {Behaviour, 0, 1, 0}},
        {10, "Weapon jumper", 1, Free, false, {Behaviour, 0, 2, 0}},
        {11, "Grapple user", 1, Free, false, {Behaviour, 0, 3, 0}},
        {12, "Aggression", 1, Free, false, {Behaviour, 0, 0, 1}},
        {13, "Selfpreservation", 1, Free, false, {Behaviour, 0, 1, 1}},
        {14, "Vengefulness", 1, Free, false, {Behaviour, 0, 3, 1}},
        {15, "Camper", 1, Free, false, {Behaviour, 0, 2, 1}},
        {16, "Frags easy targets", 1, Free, false, {Behaviour, 0, 0, 2}},
        {17, "Alertness", 1, Rising, false, {General, 0, 3, 1}},
        {18, "Machinegun", 1, Rising, true, {WeaponSkills, 0, 0, 0}},
        {19, "Shotgun", 1, Rising, true, {WeaponSkills, 0, 1, 0}},
        {20, "Rocket launcher", 1, Rising, true, {WeaponSkills, 0, 2, 0}},
        {21, "Grenade launcher", 1, Rising, true, {WeaponSkills, 0, 3, 0}},
        {22, "Lightning gun", 1, Rising, true, {WeaponSkills, 0, 0, 1}},
        {23, "Plasma gun", 1, Rising, true, {WeaponSkills, 0, 1, 1}},
        {24, "Railgun", 1, Rising, true, {WeaponSkills, 0, 2, 1}},
        {25, "BFG10K", 1, Rising, true, {WeaponSkills, 0, 3, 1}},
        {26, "Rocket launcher", 1, Rising, true, {WeaponSkills, 1, 0, 0}},
        {27, "Grenade launcher", 1, Rising, true, {WeaponSkills, 1, 1, 0}},
        {28, "Plasma gun", 1, Rising, true, {WeaponSkills, 1, 2, 0}},
        {29, "BFG10K", 1, Rising, true, {WeaponSkills, 1, 3, 0}},
        {30, "Firing speed", 1, Rising, true, {General, 0, 3, 0}},
    };
}

std::vector<OneSliderLayout> MakeOneSliders()
{
    // Index, name, max, scale selector, page, frame, row, column.
    return {
        {31, "Typing speed cpm", 1000, -1, {Chat, 0, 0, 0}},
        {32, "Insult", 1, -1, {Chat, 0, 3, 2}},
        {33, "Misc", 1, -1, {Chat, 0, 4, 2}},
        {34, "Start and end of level", 1, -1, {Chat, 0, 1, 0}},
        {35, "Enters or exits level", 1, -1, {Chat, 0, 2, 0}},
        {36, "Kills", 1, -1, {Chat, 0, 3, 0}},
        {37, "Dies", 1, -1, {Chat, 0, 4, 0}},
        {38, "Enemy suicide", 1, -1, {Chat, 0, 4, 1}},
        {39, "Hit while talking", 1, -1, {Chat, 0, 1, 1}},
        {40, "Hit, not dead", 1, -1, {Chat, 0, 2, 1}},
        {41, "Hit, no kill", 1, -1, {Chat, 0, 3, 1}},
        {42, "Random", 1, -1, {Chat, 0, 1, 2}},
        {43, "Reply", 1, -1, {Chat, 0, 2, 2}},
        {44, "Gauntlet", 400, 0, {WeaponUsage, 0, 0, 0}},
        {45, "Shotgun", 400, 0, {WeaponUsage, 0, 1, 0}},
        {46, "Machinegun", 400, 0, {WeaponUsage, 0, 2, 0}},
        {47, "Grenade launcher", 400, 0, {WeaponUsage, 0, 3, 0}},
        {48, "Rocket launcher", 400, 0, {WeaponUsage, 0, 4, 0}},
        {49, "Railgun", 400, 0, {WeaponUsage, 0, 0, 1}},
        {50, "BFG10K", 400, 0, {WeaponUsage, 0, 1, 1}},
        {51, "Lightning gun", 400, 0, {WeaponUsage, 0, 2, 1}},
        {52, "Plasma gun", 400, 0, {WeaponUsage, 0, 3, 1}},
        {53, "Grapple", 400, 0, {WeaponUsage, 0, 4, 1}},
        {54, "Health", 4, -1, {ItemPickup, 0, 0, 0}},
        {55, "Armor", 4, -1, {ItemPickup, 0, 0, 1}},
        {56, "Shotgun", 400, 1, {WeaponPickup, 0, 0, 1}},
        {57, "Machinegun", 400, 1, {WeaponPickup, 0, 0, 0}},
        {58, "Grenade launcher", 400, 1, {WeaponPickup, 0, 0, 2}},
        {59, "Rocket launcher", 400, 1, {WeaponPickup, 0, 2, 0}},
        {60, "Railgun", 400, 1, {WeaponPickup, 0, 4, 0}},
        {61, "BFG10K", 400, 1, {WeaponPickup, 0, 4, 1}},
        {62, "Lightning gun", 400, 1, {WeaponPickup, 0, 2, 2}},
        {63, "Plasma gun", 400, 1, {WeaponPickup, 0, 2, 1}},
        {64, "", 400, 1, {WeaponPickup, 0, 1, 1}},
        {65, "", 400, 1, {WeaponPickup, 0, 1, 0}},
        {66, "", 400, 1, {WeaponPickup, 0, 1, 2}},
        {67, "", 400, 1, {WeaponPickup, 0, 3, 0}},
        {68, "", 400, 1, {WeaponPickup, 0, 5, 0}},
        {69, "", 400, 1, {WeaponPickup, 0, 5, 1}},
        {70, "", 400, 1, {WeaponPickup, 0, 3, 2}},
        {71, "", 400, 1, {WeaponPickup, 0, 3, 1}},
        {72, "Teleporter", 400, 2, {ItemPickup, 0, 1, 0}},
        {73, "Medkit", 400, 2, {ItemPickup, 0, 2, 0}},
        {74, "Quad damage", 400, 2, {ItemPickup, 0, 3, 0}},
        {75, "Battle suit", 400, 2, {ItemPickup, 0, 4, 0}},
        {76, "Haste", 400, 2, {ItemPickup, 0, 5, 0}},
        {77, "Invisibility", 400, 2, {ItemPickup, 0, 1, 1}},
        {78, "Regeneration", 400, 2, {ItemPickup, 0, 2, 1}},
        {79, "Flight", 400, 2, {ItemPickup, 0, 3, 1}},
        {80, "CTF Flag", 400, 2, {ItemPickup, 0, 5, 1}},
    };
}

std::array<PageLayout, PageCount> MakePages()
{
    const std::vector<std::string> pickupRows = {
        "Without", "With", "Without", "With", "Without", "With"};
    const std::string without = "Without the weapon: how much the bot wants to pick up a weapon "
                                "it does not have yet";
    const std::string with = "With the weapon: how much the bot wants to pick up a weapon it "
                             "already has, for its ammunition";
    const std::vector<std::string> pickupTips = {without, with, without, with, without, with};
    const std::string pickupLegend = "Each weapon has two sliders. Without: the bot does not have "
                                     "the weapon yet. With: the bot has it already and picks it "
                                     "up for its ammunition.";
    return {{
        {"General characteristics", {"General characteristics"}, {}, -1, {}, {}},
        {"Behavioural characteristics", {"Behavioural characteristics"}, {}, -1, {}, {}},
        {"Weapon skills", {"Weapon aim accuracy", "Weapon aim skill"}, {}, -1, {}, {}},
        {"Weapon usage", {"Weapon usage weights"}, {}, 0, {}, {}},
        {"Weapon pickup", {"Weapon pickup weights"}, pickupRows, 1, pickupTips, pickupLegend},
        {"Item pickup", {"Item weights"}, {}, 2, {}, {}},
        {"Chat characteristics", {"Chat characteristics"}, {}, -1, {}, {}},
        {"Chat texts", {"Chat texts"}, {}, -1, {}, {}},
    }};
}

} // namespace

const std::array<PageLayout, PageCount>& Pages()
{
    static const std::array<PageLayout, PageCount> pages = MakePages();
    return pages;
}

const std::vector<ThreeSliderLayout>& ThreeSliders()
{
    static const std::vector<ThreeSliderLayout> sliders = MakeThreeSliders();
    return sliders;
}

const std::vector<OneSliderLayout>& OneSliders()
{
    static const std::vector<OneSliderLayout> sliders = MakeOneSliders();
    return sliders;
}

std::string SliderCaption(const std::string& name, int max)
{
    if (name.empty()) {
        return {};
    }
    return name + " (0-" + std::to_string(max) + ")";
}

std::string SliderTip(const OneSliderLayout& slider)
{
    if (!slider.Name.empty()) {
        return {};
    }
    // The lower slider of a pickup pair stands under the captioned one of
    // its weapon, one row-pair up: parameter 64 + w under 56 + w.
    for (const OneSliderLayout& upper : OneSliders()) {
        if (upper.Place.Page == slider.Place.Page && upper.Place.Column == slider.Place.Column &&
            upper.Place.Row + 1 == slider.Place.Row && !upper.Name.empty()) {
            return upper.Name + ", with the weapon: how much the bot wants it when it has it "
                                "already, for its ammunition";
        }
    }
    return {};
}

std::vector<int> ScaleGroupMembers(int group)
{
    std::vector<int> members;
    for (const OneSliderLayout& slider : OneSliders()) {
        if (slider.ScaleGroup == group) {
            members.push_back(slider.Index);
        }
    }
    return members;
}

} // namespace twl
