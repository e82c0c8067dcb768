#pragma once

#include "core/Value.h"

#include <array>
#include <cstdint>
#include <string>
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

    // Position 0 to 30; any other throws BotError (OutOfRange).
    const Value& SkillPara(int index) const;
    void SetSkillPara(int index, Value value);

private:
    static std::size_t CheckedPosition(int index);

    std::array<Value, PositionCount> m_values;
};

} // namespace twl
