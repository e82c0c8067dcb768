// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// The two slider controls of the parameter pages: one value, or one value
// for each of the skill levels 1, 4 and 5.
enum class SliderKind
{
    OneValue,
    ThreeLevels
};

// How a slider of a given maximum moves: positions 0 to Positions, the value
// of a position is position x Step.
struct SliderRange
{
    int Positions = 0;
    double Step = 0.0;
    int SmallChange = 1; // arrow keys
    int LargeChange = 1; // page keys and clicks beside the handle
    int TickEvery = 1;
    bool TwoDecimals = false; // "0.0#": one or two decimals; else the shortest plain form
};

// The range of a slider kind for the maximum 1, 4, 5, 360, 400, 600 or
// 1000; nothing for a maximum the kind does not offer (a three-level slider
// has no 4 and no 600), which leaves the control as it was.
std::optional<SliderRange> RangeFor(SliderKind kind, int max);

// The position that shows `value`: value / step rounded to the nearest
// whole number (a half to the even one), kept inside 0 to Positions.
int PositionOf(double value, const SliderRange& range);

// The value label's text: "0.0#" shows one or two decimals (0 as 0.0, 0.35,
// 1 as 1.0, 0.375 as 0.38), the plain form the shortest digits (15, 360).
// "." is the decimal point.
std::string DisplayText(double value, bool twoDecimals);

// What the slider reports for a position: the number its label shows.
double PositionValue(int position, const SliderRange& range);

// Levels of a three-level slider: index 0, 1, 2 for skill levels 1, 4, 5.
inline constexpr std::array<int, 3> SliderLevels = {1, 4, 5};

// How the three levels of a characteristic hang together.
enum class Linking
{
    Independent = 0,
    NeverFalls = 1, // level 1 <= level 4 <= level 5
    NeverRises = 2  // level 1 >= level 4 >= level 5
};

// The positions after the user moved level `moved` (0, 1 or 2) to its
// position in `positions`: the neighbours it passes are carried along, and
// they carry theirs, so a move of level 1 can push level 4 and through it
// level 5. `changed` gets the levels that moved besides `moved`, in the
// order their moves were made.
std::array<int, 3> LinkLevels(std::array<int, 3> positions,
                              int moved,
                              Linking linking,
                              std::vector<int>* changed = nullptr);

} // namespace twl
