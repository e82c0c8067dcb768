// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ValueFormat.h"

#include "support/ParamNames.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>

namespace twl {
namespace {

struct FormatCase
{
    Value Input;
    std::string Expected;
};

void PrintTo(const FormatCase& formatCase, std::ostream* out)
{
    *out << "kind " << static_cast<int>(formatCase.Input.GetKind()) << " value \""
         << formatCase.Input.ToText() << "\" -> " << formatCase.Expected;
}

// The kind of the value and the text it gives: "Double_05_0" for 0.5.
std::string CaseName(const ::testing::TestParamInfo<FormatCase>& info)
{
    static const char* const Kinds[] = {"Empty", "Int16", "Single", "Double", "Text"};
    return std::string(Kinds[static_cast<int>(info.param.Input.GetKind())]) + "_" +
           test::ReadableName(info.param.Expected, info.index);
}

class FormatValueCases : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(FormatValueCases, WritesTheGameText)
{
    EXPECT_EQ(FormatValue(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers,
    FormatValueCases,
    ::testing::Values(FormatCase{Value(0.5), "0.5"},
                      FormatCase{Value(0.25), "0.25"},
                      FormatCase{Value(std::int16_t{2}), "2"},
                      FormatCase{Value(std::int16_t{180}), "180"},
                      FormatCase{Value(1.5), "1.5"},
                      FormatCase{Value(std::int16_t{0}), "0.0"},
                      FormatCase{Value(0.0f), "0.0"},
                      FormatCase{Value(std::int16_t{1}), "1.0"},
                      FormatCase{Value(1.0), "1.0"},
                      FormatCase{Value(), "0.0"},
                      FormatCase{Value(std::int16_t{200}), "200"},
                      FormatCase{Value(std::int16_t{50}), "50"},
                      // A single shows its own 7 digits, not the double expansion.
                      FormatCase{Value(0.1f), "0.1"},
                      FormatCase{Value(0.3f), "0.3"},
                      FormatCase{Value(1.0f / 3.0f), "0.3333333"},
                      FormatCase{Value(1.0 / 3.0), "0.333333333333333"},
                      FormatCase{Value(2.0 / 3.0), "0.666666666666667"},
                      FormatCase{Value(0.001), "0.001"},
                      FormatCase{Value(12345.678f), "12345.68"},
                      // Negative numbers keep their sign and the same form.
                      FormatCase{Value(-0.5), "-0.5"},
                      FormatCase{Value(std::int16_t{-1}), "-1.0"},
                      FormatCase{Value(std::int16_t{-2}), "-2"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Texts,
                         FormatValueCases,
                         ::testing::Values(FormatCase{Value("Sarge"), "\"Sarge\""},
                                           FormatCase{Value("bots/bot_w.c"), "\"bots/bot_w.c\""},
                                           FormatCase{Value(""), "\"\""},
                                           // A text that reads as a number is a number.
                                           FormatCase{Value("7"), "7"},
                                           FormatCase{Value(" 0.5 "), "0.5"},
                                           FormatCase{Value("1"), "1.0"}),
                         CaseName);

TEST(ParseValue, DecimalsGiveSinglePrecisionNumbers)
{
    EXPECT_EQ(ParseValue("0.5"), Value(0.5f));
    EXPECT_EQ(ParseValue("0.25"), Value(0.25f));
    EXPECT_EQ(ParseValue(".75"), Value(0.75f));
    EXPECT_EQ(ParseValue("2.00"), Value(2.0f));
    EXPECT_EQ(ParseValue("0.250"), Value(0.25f));
    EXPECT_EQ(ParseValue("1.5"), Value(1.5f));
    EXPECT_EQ(ParseValue("180.0"), Value(180.0f));
    EXPECT_EQ(ParseValue("0.1"), Value(0.1f));
    EXPECT_EQ(ParseValue("0.001"), Value(0.001f));
}

TEST(ParseValue, LongFractionsAreKept)
{
    // More than three decimals still read as their value, not as 0.
    EXPECT_EQ(ParseValue("0.12345"), Value(0.12345f));
    EXPECT_EQ(ParseValue("0.3333333"), Value(0.3333333f));
}

TEST(ParseValue, FractionsOfAnyLengthAreDividedAsByPow)
{
    // The fraction's digits over 10 to the power of their count, that power
    // as the maths library's pow gives it, for every count up to past the
    // largest double.
    std::string digits;
    for (std::size_t count = 1; count <= 320; ++count) {
        digits += static_cast<char>('0' + (count * 7 + 3) % 10);
        double fraction = *ParseNumericText(digits) / std::pow(10.0, static_cast<double>(count));
        EXPECT_EQ(ParseValue("0." + digits), Value(static_cast<float>(fraction))) << count;
    }
}

TEST(ParseValue, SignAppliesToTheFraction)
{
    EXPECT_EQ(ParseValue("-0.5"), Value(-0.5f));
    EXPECT_EQ(ParseValue("-1.25"), Value(-1.25f));
}

TEST(ParseValue, BlanksAroundANumberAreNotDigits)
{
    EXPECT_EQ(ParseValue(" 0.5"), Value(0.5f));
    EXPECT_EQ(ParseValue("0.5 "), Value(0.5f));
}

TEST(ParseValue, WholeNumbersGiveDoubles)
{
    EXPECT_EQ(ParseValue("2"), Value(2.0));
    EXPECT_EQ(ParseValue("180"), Value(180.0));
    EXPECT_EQ(ParseValue(" 7"), Value(7.0));
}

TEST(ParseValue, TextsLoseOneQuoteAndSemicolon)
{
    EXPECT_EQ(ParseValue("\"Sarge\";"), Value("Sarge"));
    EXPECT_EQ(ParseValue("\"Sarge\""), Value("Sarge"));
    EXPECT_EQ(ParseValue("Sarge"), Value("Sarge"));
    EXPECT_EQ(ParseValue("\"\"x\"\";"), Value("\"x\""));
    EXPECT_EQ(ParseValue(""), Value(""));
    EXPECT_EQ(ParseValue("."), Value("."));
}

TEST(ParseValue, FormatThenParseKeepsTheNumber)
{
    for (float number : {0.0f, 0.5f, 0.25f, 0.1f, 0.333f, 1.0f, 1.5f, 2.0f, 0.05f, 0.999f}) {
        Value read = ParseValue(FormatValue(Value(number)));
        ASSERT_TRUE(read.ToNumber()) << number;
        EXPECT_FLOAT_EQ(static_cast<float>(*read.ToNumber()), number);
    }
    EXPECT_EQ(FormatValue(ParseValue(FormatValue(Value(std::int16_t{180})))), "180");
}

// A locale whose decimal point is a comma, as in German.
class CommaDecimal : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
};

TEST(ValueFormat, IgnoresTheLocalesDecimalComma)
{
    std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const char* cLocaleBefore = std::setlocale(LC_NUMERIC, nullptr);
    std::string savedC = cLocaleBefore ? cLocaleBefore : "C";
    bool haveGerman = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;

    EXPECT_EQ(FormatValue(Value(0.5)), "0.5");
    EXPECT_EQ(FormatValue(Value(1.5f)), "1.5");
    EXPECT_EQ(ParseValue("0.25"), Value(0.25f));
    EXPECT_EQ(ParseValue("1,5"), Value("1,5"));

    std::setlocale(LC_NUMERIC, savedC.c_str());
    std::locale::global(before);
    if (!haveGerman) {
        std::cout << "de_DE.UTF-8 is not installed; checked with the C++ locale only\n";
    }
}

TEST(ValueFormat, StripTabsAndRemoveSpaces)
{
    EXPECT_EQ(StripTabs("\tCHARACTERISTIC_NAME\t\t\t\"Bot\""), "CHARACTERISTIC_NAME\"Bot\"");
    EXPECT_EQ(StripTabs("a b"), "a b");
    EXPECT_EQ(RemoveSpaces(" \"Big Bad\" "), "\"BigBad\"");
    EXPECT_EQ(RemoveSpaces("a\tb"), "a\tb");
}

} // namespace
} // namespace twl
