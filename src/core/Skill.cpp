// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Skill.h"

#include "core/BotError.h"

namespace twl {

std::size_t Skill::CheckedPosition(int index)
{
    if (index < 0 || index >= PositionCount) {
        throw BotError(BotError::Kind::OutOfRange,
                       "skill position " + std::to_string(index) + " does not exist");
    }
    return static_cast<std::size_t>(index);
}

const Value& Skill::SkillPara(int index) const
{
    return m_values[CheckedPosition(index)];
}

void Skill::SetSkillPara(int index, Value value)
{
    m_values[CheckedPosition(index)] = std::move(value);
}

bool Skill::operator==(const Skill& other) const
{
    return Level == other.Level && UnknownLines == other.UnknownLines &&
           OwnValues == other.OwnValues && KeptTexts == other.KeptTexts &&
           m_values == other.m_values;
}

} // namespace twl
