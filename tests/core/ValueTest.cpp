// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace twl {
namespace {

TEST(Value, KeepsTheKindItWasSetWith)
{
    EXPECT_EQ(Value().GetKind(), Value::Kind::Empty);
    EXPECT_EQ(Value(std::int16_t{2}).GetKind(), Value::Kind::Int16);
    EXPECT_EQ(Value(0.5f).GetKind(), Value::Kind::Single);
    EXPECT_EQ(Value(0.5).GetKind(), Value::Kind::Double);
    EXPECT_EQ(Value("0.5").GetKind(), Value::Kind::Text);
    // The same number in two kinds is two different values.
    EXPECT_NE(Value(std::int16_t{2}), Value(2.0));
}

TEST(Value, NumericTextsReadAsNumbersWithBlanksAround)
{
    EXPECT_EQ(Value(" 12 ").ToNumber(), 12.0);
    EXPECT_EQ(Value("-0.25").ToNumber(), -0.25);
    EXPECT_EQ(Value("1e3").ToNumber(), 1000.0);
    EXPECT_EQ(Value().ToNumber(), 0.0);
    EXPECT_FALSE(Value("").ToNumber());
    EXPECT_FALSE(Value("Sarge").ToNumber());
    EXPECT_FALSE(Value("1,5").ToNumber());
    EXPECT_FALSE(Value("1.2.3").ToNumber());
    EXPECT_FALSE(Value(".").ToNumber());
    EXPECT_FALSE(Value("1e").ToNumber());
}

TEST(Value, PlainTextOfNumbers)
{
    EXPECT_EQ(Value(std::int16_t{-7}).ToText(), "-7");
    EXPECT_EQ(Value(0.1f).ToText(), "0.1");
    EXPECT_EQ(Value(0.1).ToText(), "0.1");
    EXPECT_EQ(Value(180.0).ToText(), "180");
    EXPECT_EQ(Value().ToText(), "");
}

TEST(Value, DecimalTextNeverUsesAnExponent)
{
    EXPECT_EQ(NumberToDecimalText(0.00001, 15), "0.00001");
    EXPECT_EQ(NumberToDecimalText(1e20, 15), "100000000000000000000");
    EXPECT_EQ(NumberToDecimalText(123456789.0, 7), "123456800");
    EXPECT_EQ(NumberToDecimalText(-1.5, 15), "-1.5");
}

TEST(Value, ToInt16RoundsHalfToEvenAndChecksTheRange)
{
    EXPECT_EQ(ToInt16(Value(2.5)), std::int16_t{2});
    EXPECT_EQ(ToInt16(Value(3.5)), std::int16_t{4});
    EXPECT_EQ(ToInt16(Value("1")), std::int16_t{1});
    EXPECT_FALSE(ToInt16(Value(40000.0)));
    EXPECT_FALSE(ToInt16(Value("x")));
    // Rounded as nearbyint rounds, over halves, near-halves and both signs.
    for (double x : {-32768.5,
                     -3.5,
                     -2.5,
                     -1.5,
                     -0.5,
                     -0.49999999999999994,
                     -0.3,
                     -0.0,
                     0.0,
                     0.3,
                     0.49999999999999994,
                     0.5,
                     0.75,
                     1.5,
                     2.4999999999999996,
                     2.5,
                     4.5,
                     32767.4,
                     32767.5,
                     1e300,
                     -1e300}) {
        double rounded = std::nearbyint(x);
        bool fits = rounded >= -32768.0 && rounded <= 32767.0;
        EXPECT_EQ(ToInt16(Value(x)),
                  fits ? std::optional<std::int16_t>(static_cast<std::int16_t>(rounded))
                       : std::nullopt)
            << x;
    }
}

} // namespace
} // namespace twl
