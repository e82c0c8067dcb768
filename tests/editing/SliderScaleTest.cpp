// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/SliderScale.h"

#include "editing/PageTables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace twl {
namespace {

constexpr SliderKind One = SliderKind::OneValue;
constexpr SliderKind Three = SliderKind::ThreeLevels;

TEST(SliderRange, EveryMaximumOfTheTable)
{
    struct Row
    {
        SliderKind Kind;
        int Max;
        SliderRange Expected;
    };

    const Row rows[] = {
        {One, 1, {20, 0.05, 1, 2, 2, true}},
        {Three, 1, {20, 0.05, 1, 2, 2, true}},
        {One, 5, {20, 0.25, 1, 1, 4, true}},
        {Three, 5, {20, 0.25, 1, 1, 4, true}},
        {One, 4, {4, 1, 1, 1, 1, false}},
        {One, 360, {360, 1, 5, 10, 10, false}},
        {Three, 360, {72, 5, 1, 4, 18, false}},
        {One, 400, {80, 5, 1, 2, 4, false}},
        {Three, 400, {80, 5, 1, 2, 5, false}},
        {One, 600, {120, 5, 1, 2, 4, false}},
        {One, 1000, {200, 5, 1, 5, 10, false}},
        {Three, 1000, {100, 10, 1, 5, 10, false}},
    };
    for (const Row& row : rows) {
        std::optional<SliderRange> range = RangeFor(row.Kind, row.Max);
        ASSERT_TRUE(range) << row.Max;
        EXPECT_EQ(range->Positions, row.Expected.Positions) << row.Max;
        EXPECT_DOUBLE_EQ(range->Step, row.Expected.Step) << row.Max;
        EXPECT_EQ(range->SmallChange, row.Expected.SmallChange) << row.Max;
        EXPECT_EQ(range->LargeChange, row.Expected.LargeChange) << row.Max;
        EXPECT_EQ(range->TickEvery, row.Expected.TickEvery) << row.Max;
        EXPECT_EQ(range->TwoDecimals, row.Expected.TwoDecimals) << row.Max;
    }
    // What a kind does not offer leaves the control as it was.
    EXPECT_FALSE(RangeFor(Three, 4));
    EXPECT_FALSE(RangeFor(Three, 600));
    EXPECT_FALSE(RangeFor(One, 2));
    EXPECT_FALSE(RangeFor(Three, 0));
}

TEST(SliderRange, PositionOfAValueRoundsHalvesToEven)
{
    struct Case
    {
        SliderKind Kind;
        int Max;
        double Value;
        int Position;
    };

    const Case cases[] = {
        {One, 1, 0.37, 7},
        {One, 1, 0.35, 7},
        {One, 1, 1.0, 20},
        {Three, 5, 1.25, 5},
        {Three, 5, 0.125, 0},
        {Three, 5, 0.375, 2},
        {Three, 5, 0.625, 2},
        {One, 400, 12.5, 2},
        {One, 400, 17.5, 4},
        {One, 400, 700, 80},
        {One, 400, -3, 0},
        {Three, 360, 180, 36},
        {One, 360, 181, 181},
        {One, 1000, 200, 40},
        {Three, 1000, 205, 20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PositionOf(c.Value, *RangeFor(c.Kind, c.Max)), c.Position)
            << c.Max << " " << c.Value;
    }
}

TEST(SliderRange, LabelsShowTheValueInTheirFormat)
{
    struct Case
    {
        double Value;
        bool TwoDecimals;
        const char* Shown;
    };

    const Case cases[] = {
        {0.0, true, "0.0"},
        {0.35, true, "0.35"},
        {1.0, true, "1.0"},
        {1.25, true, "1.25"},
        {0.37, true, "0.37"},
        {0.5, true, "0.5"},
        {2.0, true, "2.0"},
        {15, false, "15"},
        {360, false, "360"},
        {700, false, "700"},
        {0.5, false, "0.5"},
        {0, false, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayText(c.Value, c.TwoDecimals), c.Shown) << c.Value;
    }
    // A position reports what its label shows, not the sum of its steps.
    EXPECT_EQ(PositionValue(7, *RangeFor(One, 1)), 0.35);
    EXPECT_EQ(PositionValue(5, *RangeFor(Three, 5)), 1.25);
    EXPECT_EQ(PositionValue(36, *RangeFor(Three, 360)), 180.0);
    EXPECT_EQ(PositionValue(3, *RangeFor(One, 1)), 0.15);
}

TEST(SliderLinking, MovesCarryAcrossAllThreeLevels)
{
    struct Case
    {
        Linking Link;
        std::array<int, 3> Before;
        int Moved;
        int To;
        std::array<int, 3> After;
        std::vector<int> Changed;
    };

    const Case cases[] = {
        // Never falls: level 5 dragged below 4 pulls 4, and 4 pulls 1.
        {Linking::NeverFalls, {10, 10, 10}, 2, 4, {4, 4, 4}, {1, 0}},
        // Level 1 pushed up pushes 4 and then 5.
        {Linking::NeverFalls, {5, 10, 12}, 0, 15, {15, 15, 15}, {1, 2}},
        {Linking::NeverFalls, {5, 10, 12}, 0, 8, {8, 10, 12}, {}},
        {Linking::NeverFalls, {5, 10, 12}, 1, 3, {3, 3, 12}, {0}},
        {Linking::NeverFalls, {5, 10, 12}, 1, 14, {5, 14, 14}, {2}},
        {Linking::NeverFalls, {5, 10, 12}, 2, 11, {5, 10, 11}, {}},
        // Never rises: level 1 dragged below 4 pulls 4, and 4 pulls 5.
        {Linking::NeverRises, {10, 8, 5}, 0, 3, {3, 3, 3}, {1, 2}},
        {Linking::NeverRises, {10, 8, 5}, 2, 12, {12, 12, 12}, {1, 0}},
        {Linking::NeverRises, {10, 8, 5}, 1, 11, {11, 11, 5}, {0}},
        {Linking::NeverRises, {10, 8, 5}, 1, 2, {10, 2, 2}, {2}},
        {Linking::Independent, {10, 8, 5}, 2, 20, {10, 8, 20}, {}},
    };
    for (const Case& c : cases) {
        std::array<int, 3> positions = c.Before;
        positions[static_cast<std::size_t>(c.Moved)] = c.To;
        std::vector<int> changed;
        EXPECT_EQ(LinkLevels(positions, c.Moved, c.Link, &changed), c.After)
            << static_cast<int>(c.Link) << " moved " << c.Moved << " to " << c.To;
        EXPECT_EQ(changed, c.Changed) << static_cast<int>(c.Link) << " moved " << c.Moved;
    }
}

TEST(PageTables, EverySliderHasItsOwnPlaceAndARange)
{
    std::set<std::tuple<int, int, int, int>> places;
    for (const ThreeSliderLayout& slider : ThreeSliders()) {
        EXPECT_TRUE(RangeFor(SliderKind::ThreeLevels, slider.Max)) << slider.Index;
        EXPECT_TRUE(
            places
                .insert(
                    {slider.Place.Page, slider.Place.Frame, slider.Place.Row, slider.Place.Column})
                .second)
            << slider.Index;
    }
    for (const OneSliderLayout& slider : OneSliders()) {
        EXPECT_TRUE(RangeFor(SliderKind::OneValue, slider.Max)) << slider.Index;
        EXPECT_TRUE(
            places
                .insert(
                    {slider.Place.Page, slider.Place.Frame, slider.Place.Row, slider.Place.Column})
                .second)
            << slider.Index;
    }
    EXPECT_EQ(ThreeSliders().size(), 29u);
    EXPECT_EQ(OneSliders().size(), 50u);
    EXPECT_EQ(SliderCaption(ThreeSliders()[4].Name, 360),
              "Max view change angle \xC2\xB0/s (0-360)");
    EXPECT_EQ(SliderCaption("Gauntlet", 1000), "Gauntlet (0-1000)");
    EXPECT_EQ(SliderCaption("", 400), "");
    EXPECT_EQ(ScaleGroupMembers(0).size(), 10u);
    EXPECT_EQ(ScaleGroupMembers(1).size(), 16u);
    EXPECT_EQ(ScaleGroupMembers(2).size(), 9u);
}

TEST(PageTables, EachWeaponPickupPairSaysWhatItsSlidersWeigh)
{
    // The uncaptioned lower slider of each pair names the weapon above it.
    const std::map<int, std::string> lower = {{64, "Shotgun"},
                                              {65, "Machinegun"},
                                              {66, "Grenade launcher"},
                                              {67, "Rocket launcher"},
                                              {68, "Railgun"},
                                              {69, "BFG10K"},
                                              {70, "Lightning gun"},
                                              {71, "Plasma gun"}};
    for (const OneSliderLayout& slider : OneSliders()) {
        auto weapon = lower.find(slider.Index);
        if (weapon == lower.end()) {
            EXPECT_EQ(SliderTip(slider), "") << slider.Index;
            continue;
        }
        EXPECT_EQ(SliderTip(slider),
                  weapon->second + ", with the weapon: how much the bot wants it when it has it "
                                   "already, for its ammunition");
    }
    // The row labels keep their words and each says what it stands for.
    const PageLayout& pickup = Pages()[4];
    ASSERT_EQ(pickup.RowLabels.size(), pickup.RowTips.size());
    for (std::size_t row = 0; row < pickup.RowLabels.size(); ++row) {
        EXPECT_EQ(pickup.RowLabels[row], row % 2 == 0 ? "Without" : "With");
        EXPECT_EQ(pickup.RowTips[row].rfind(pickup.RowLabels[row] + " the weapon: ", 0), 0u)
            << pickup.RowTips[row];
    }
    EXPECT_FALSE(pickup.Legend.empty());
}

} // namespace
} // namespace twl
