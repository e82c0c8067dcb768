// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/SliderScale.h"

#include "core/Value.h"

#include <cmath>
#include <cstdio>

namespace twl {

std::optional<SliderRange> RangeFor(SliderKind kind, int max)
{
    bool one = kind == SliderKind::OneValue;
    switch (max) {
    case 1:
        return SliderRange{20, 0.05, 1, 2, 2, true};
    case 5:
        return SliderRange{20, 0.25, 1, 1, 4, true};
    case 4:
        if (one) {
            return SliderRange{4, 1.0, 1, 1, 1, false};
        }
        break;
    case 360:
        return one ? SliderRange{360, 1.0, 5, 10, 10, false}
                   : SliderRange{72, 5.0, 1, 4, 18, false};
    case 400:
        return one ? SliderRange{80, 5.0, 1, 2, 4, false} : SliderRange{80, 5.0, 1, 2, 5, false};
    case 600:
        if (one) {
            return SliderRange{120, 5.0, 1, 2, 4, false};
        }
        break;
    case 1000:
        return one ? SliderRange{200, 5.0, 1, 5, 10, false}
                   : SliderRange{100, 10.0, 1, 5, 10, false};
    default:
        break;
    }
    return std::nullopt;
}

int PositionOf(double value, const SliderRange& range)
{
    if (!(range.Step > 0.0) || !std::isfinite(value)) {
        return 0;
    }
    // nearbyint rounds a half to the even neighbour in the default mode.
    double position = std::nearbyint(value / range.Step);
    if (position < 0.0) {
        return 0;
    }
    if (position > range.Positions) {
        return range.Positions;
    }
    return static_cast<int>(position);
}

std::string DisplayText(double value, bool twoDecimals)
{
    if (!twoDecimals) {
        return NumberToDecimalText(value, 15);
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text = buffer;
    // "%.2f" speaks the C locale's "." unless a program changed LC_NUMERIC.
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    if (text.size() > 1 && text.back() == '0') {
        text.pop_back();
    }
    if (text == "-0.0") {
        text = "0.0";
    }
    return text;
}

double PositionValue(int position, const SliderRange& range)
{
    std::string shown = DisplayText(position * range.Step, range.TwoDecimals);
    return ParseNumericText(shown).value_or(0.0);
}

namespace {

// Carries a move of level `from` on to its neighbours.
void Carry(std::array<int, 3>& positions,
           std::size_t from,
           Linking linking,
           std::vector<int>* changed);

// Moves level `to` onto level `from` when the pair is out of order, and
// carries that move on in turn.
void Follow(std::array<int, 3>& positions,
            std::size_t from,
            std::size_t to,
            Linking linking,
            std::vector<int>* changed)
{
    // The pair in skill order: `low` is the lower of the two skill levels.
    std::size_t low = from < to ? from : to;
    std::size_t high = from < to ? to : from;
    bool outOfOrder = linking == Linking::NeverFalls ? positions[high] < positions[low]
                                                     : positions[low] < positions[high];
    if (!outOfOrder) {
        return;
    }
    positions[to] = positions[from];
    if (changed != nullptr) {
        changed->push_back(static_cast<int>(to));
    }
    Carry(positions, to, linking, changed);
}

void Carry(std::array<int, 3>& positions,
           std::size_t from,
           Linking linking,
           std::vector<int>* changed)
{
    if (linking == Linking::Independent) {
        return;
    }
    switch (from) {
    case 0:
        Follow(positions, 0, 1, linking, changed);
        break;
    case 1:
        Follow(positions, 1, 0, linking, changed);
        Follow(positions, 1, 2, linking, changed);
        break;
    case 2:
        Follow(positions, 2, 1, linking, changed);
        break;
    default:
        break;
    }
}

} // namespace

std::array<int, 3>
LinkLevels(std::array<int, 3> positions, int moved, Linking linking, std::vector<int>* changed)
{
    if (moved >= 0 && moved < 3) {
        Carry(positions, static_cast<std::size_t>(moved), linking, changed);
    }
    return positions;
}

} // namespace twl
