// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/SliderScale.h"

#include <array>
#include <string>
#include <vector>

namespace twl {

// Where a slider stands: its page (0 to 7, in tab order), the frame on the
// page (the weapon-skills page has two side by side), and its row and column
// in that frame.
struct SliderPlace
{
    int Page = 0;
    int Frame = 0;
    int Row = 0;
    int Column = 0;
};

// A three-level slider: characteristic `Index` (2 to 30) at skill levels 1,
// 4 and 5, bot parameters 100, 400 and 500 + Index.
struct ThreeSliderLayout
{
    int Index = 0;
    std::string Name; // the caption before its range, "Attack skill"
    int Max = 1;
    Linking Link = Linking::Independent;
    bool ZeroIsNo = false; // a zero shows as "No"
    SliderPlace Place;
};

// A one-value slider: bot parameter `Index` (31 to 80).
struct OneSliderLayout
{
    int Index = 0;
    std::string Name; // empty for the lower row of the weapon-pickup pairs
    int Max = 1;
    int ScaleGroup = -1; // the scale selector it follows (0 to 2), or none
    SliderPlace Place;
};

// One tab of the parameter pages.
struct PageLayout
{
    std::string TabCaption;
    std::vector<std::string> FrameCaptions;
    // Labels at the left of the rows ("Without", "With"); empty when the
    // page has none.
    std::vector<std::string> RowLabels;
    int ScaleGroup = -1; // the scale selector below the rows, or none
    // What the row labels mean, one per label (a tooltip), and a line that
    // says it under the rows; empty when the labels say it themselves.
    std::vector<std::string> RowTips;
    std::string Legend;
};

// What a slider sets, for its tooltip: the uncaptioned lower slider of a
// weapon-pickup pair names its weapon ("Shotgun, when the bot has it").
std::string SliderTip(const OneSliderLayout& slider);

inline constexpr int PageCount = 8;
inline constexpr int ChatTextsPage = 7;
inline constexpr int ScaleGroupCount = 3;

const std::array<PageLayout, PageCount>& Pages();
// In characteristic order: 2 to 30, and 31 to 80.
const std::vector<ThreeSliderLayout>& ThreeSliders();
const std::vector<OneSliderLayout>& OneSliders();

// A slider's caption: its name with the range, "Gauntlet (0-400)"; an
// unnamed slider has none.
std::string SliderCaption(const std::string& name, int max);

// The one-value sliders that a scale selector governs.
std::vector<int> ScaleGroupMembers(int group);

// The scales a selector offers, and the one the pages start with.
inline constexpr std::array<int, 3> Scales = {400, 600, 1000};

} // namespace twl
