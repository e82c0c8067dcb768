// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Value.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace twl {

// The values of one skill level of a bot. Positions 2 to 30 hold the
// per-skill characteristics; 0 and 1 exist but are never used.
class Skill
{
public:
    static constexpr int PositionCount = 31;

    std::int16_t Level = 0;

    // Lines of this level's block in the characteristic file that name no
    // characteristic the catalogue knows (the game's own that the editor
    // does not show, or a mod's), kept as they were read and written back
    // after the known lines of the block.
    std::vector<std::string> UnknownLines;
    // The bot-wide characteristics (31 to 43) as this level's block of the
    // characteristic file gave them, kept when the levels' blocks differ
    // (the bot's one value is then that of the last block read). An empty
    // value: the block does not give it, and the game takes the default
    // bot's. Written back in this level's block as they were.
    std::map<int, Value> OwnValues;
    // Values this level's block gave in a form the game reads as a number
    // no plain text can give it ("0..30", which it reads as -0.17: it reads
    // no "-"): by characteristic (2 to 43), the number read and the text,
    // written back as it stood while the value is still that number.
    std::map<int, std::pair<Value, std::string>> KeptTexts;

    // Position 0 to 30; any other throws BotError (OutOfRange).
    const Value& SkillPara(int index) const;
    void SetSkillPara(int index, Value value);

    // Every value and every kept line alike.
    bool operator==(const Skill& other) const;

    bool operator!=(const Skill& other) const { return !(*this == other); }

private:
    static std::size_t CheckedPosition(int index);

    std::array<Value, PositionCount> m_values;
};

} // namespace twl
