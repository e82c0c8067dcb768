#pragma once

#include "core/Value.h"

#include <array>
#include <cstdint>

namespace twl {

// The values of one skill level of a bot. Positions 2 to 30 hold the
// per-skill characteristics; 0 and 1 exist but are never used.
class Skill
{
public:
    static constexpr int PositionCount = 31;

    std::int16_t Level = 0;

    // Position 0 to 30; any other throws BotError (OutOfRange).
    const Value& SkillPara(int index) const;
    void SetSkillPara(int index, Value value);

private:
    static std::size_t CheckedPosition(int index);

    std::array<Value, PositionCount> m_values;
};

} // namespace twl
