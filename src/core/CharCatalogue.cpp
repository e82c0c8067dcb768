// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CharCatalogue.h"

#include <cstddef>

namespace twl {

namespace {

// The names are held in the rows, not pointed to: the table then needs no
// relocating when the program is loaded.
struct CharRow
{
    char Identifier[48];
    std::size_t Tabs;
};

// Rows by parameter number, 0 to 85.
constexpr CharRow CharRows[CharCatalogueSize] = {
    {"CHARACTERISTIC_NAME", 7},
    {"CHARACTERISTIC_GENDER", 6},
    {"CHARACTERISTIC_ATTACK_SKILL", 5},
    {"CHARACTERISTIC_AIM_SKILL", 5},
    {"CHARACTERISTIC_AIM_ACCURACY", 5},
    {"CHARACTERISTIC_VIEW_FACTOR", 5},
    {"CHARACTERISTIC_VIEW_MAXCHANGE", 4},
    {"CHARACTERISTIC_REACTIONTIME", 5},
    {"CHARACTERISTIC_CROUCHER", 6},
    {"CHARACTERISTIC_JUMPER", 6},
    {"CHARACTERISTIC_WEAPONJUMPING", 4},
    {"CHARACTERISTIC_GRAPPLE_USER", 5},
    {"CHARACTERISTIC_AGGRESSION", 5},
    {"CHARACTERISTIC_SELFPRESERVATION", 4},
    {"CHARACTERISTIC_VENGEFULNESS", 5},
    {"CHARACTERISTIC_CAMPER", 6},
    {"CHARACTERISTIC_EASY_FRAGGER", 5},
    {"CHARACTERISTIC_ALERTNESS", 5},
    {"CHARACTERISTIC_AIM_ACCURACY_MACHINEGUN", 2},
    {"CHARACTERISTIC_AIM_ACCURACY_SHOTGUN", 3},
    {"CHARACTERISTIC_AIM_ACCURACY_ROCKETLAUNCHER", 1},
    {"CHARACTERISTIC_AIM_ACCURACY_GRENADELAUNCHER", 1},
    {"CHARACTERISTIC_AIM_ACCURACY_LIGHTNING", 2},
    {"CHARACTERISTIC_AIM_ACCURACY_PLASMAGUN", 2},
    {"CHARACTERISTIC_AIM_ACCURACY_RAILGUN", 3},
    {"CHARACTERISTIC_AIM_ACCURACY_BFG10K", 3},
    {"CHARACTERISTIC_AIM_SKILL_ROCKETLAUNCHER", 2},
    {"CHARACTERISTIC_AIM_SKILL_GRENADELAUNCHER", 1},
    {"CHARACTERISTIC_AIM_SKILL_PLASMAGUN", 3},
    {"CHARACTERISTIC_AIM_SKILL_BFG10K", 4},
    {"CHARACTERISTIC_FIRETHROTTLE", 5},
    {"CHARACTERISTIC_CHAT_CPM", 6},
    {"CHARACTERISTIC_CHAT_INSULT", 5},
    {"CHARACTERISTIC_CHAT_MISC", 5},
    {"CHARACTERISTIC_CHAT_STARTENDLEVEL", 3},
    {"CHARACTERISTIC_CHAT_ENTEREXITGAME", 3},
    {"CHARACTERISTIC_CHAT_KILL", 5},
    {"CHARACTERISTIC_CHAT_DEATH", 5},
    {"CHARACTERISTIC_CHAT_ENEMYSUICIDE", 3},
    {"CHARACTERISTIC_CHAT_HITTALKING", 4},
    {"CHARACTERISTIC_CHAT_HITNODEATH", 4},
    {"CHARACTERISTIC_CHAT_HITNOKILL", 4},
    {"CHARACTERISTIC_CHAT_RANDOM", 5},
    {"CHARACTERISTIC_CHAT_REPLY", 5},
    {"#define W_GAUNTLET", 4},
    {"#define W_SHOTGUN", 4},
    {"#define W_MACHINEGUN", 3},
    {"#define W_GRENADELAUNCHER", 2},
    {"#define W_ROCKETLAUNCHER", 2},
    {"#define W_RAILGUN", 4},
    {"#define W_BFG10K", 4},
    {"#define W_LIGHTNING", 4},
    {"#define W_PLASMAGUN", 4},
    {"#define W_GRAPPLE", 4},
    {"#define FS_HEALTH", 4},
    {"#define FS_ARMOR", 4},
    {"#define W_SHOTGUN", 4},
    {"#define W_MACHINEGUN", 3},
    {"#define W_GRENADELAUNCHER", 2},
    {"#define W_ROCKETLAUNCHER", 2},
    {"#define W_RAILGUN", 4},
    {"#define W_BFG10K", 4},
    {"#define W_LIGHTNING", 4},
    {"#define W_PLASMAGUN", 4},
    {"#define GWW_SHOTGUN", 4},
    {"#define GWW_MACHINEGUN", 3},
    {"#define GWW_GRENADELAUNCHER", 2},
    {"#define GWW_ROCKETLAUNCHER", 2},
    {"#define GWW_RAILGUN", 4},
    {"#define GWW_BFG10K", 4},
    {"#define GWW_LIGHTNING", 3},
    {"#define GWW_PLASMAGUN", 3},
    {"#define W_TELEPORTER", 3},
    {"#define W_MEDKIT", 4},
    {"#define W_QUAD", 5},
    {"#define W_ENVIRO", 4},
    {"#define W_HASTE", 5},
    {"#define W_INVISIBILITY", 3},
    {"#define W_REGEN", 5},
    {"#define W_FLIGHT", 4},
    {"#define FLAG_WEIGHT", 4},
    {"CHARACTERISTIC_CHAT_FILE", 5},
    {"CHARACTERISTIC_WEAPONWEIGHTS", 4},
    {"CHARACTERISTIC_ITEMWEIGHTS", 5},
    {"", 0},
    {"CHARACTERISTIC_CHAT_NAME", 5},
};

} // namespace

void InitCharCatalogue(CharCatalogue& charNames)
{
    for (std::size_t i = 0; i < charNames.size(); ++i) {
        charNames[i] = std::string(CharRows[i].Identifier) + std::string(CharRows[i].Tabs, '\t');
    }
}

std::string CharIdentifier(const std::string& entry)
{
    return entry.substr(0, entry.find('\t'));
}

} // namespace twl
