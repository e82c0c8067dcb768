// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ValueFormat.h"

#include "core/Trim.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace twl {

namespace {

// 10 to the power `n` as the maths library's pow(10, n) gives it, made here
// so that the program needs no maths library (loading it costs a start more
// than everything the program does for --version). Up to 10^22 every power
// is exact; above, strtod gives the nearest double, as pow does but for two
// powers that it rounds to the other neighbour, taken here as it gives them.
double PowerOfTen(std::size_t n)
{
    if (n <= 22) {
        double power = 1.0;
        for (std::size_t k = 0; k < n; ++k) {
            power *= 10.0;
        }
        return power;
    }
    if (n == 23) {
        return 0x1.52d02c7e14af7p+76;
    }
    if (n == 210) {
        return 0x1.8557f31326bbcp+697;
    }
    if (n > 308) {
        return std::numeric_limits<double>::infinity();
    }
    return std::strtod(("1e" + std::to_string(n)).c_str(), nullptr);
}

int SignificantDigits(const Value& value)
{
    return value.GetKind() == Value::Kind::Single ? 7 : 15;
}

std::string RemoveCharacter(const std::string& text, char unwanted)
{
    std::string result = text;
    result.erase(std::remove(result.begin(), result.end(), unwanted), result.end());
    return result;
}

bool AllDigits(const std::string& text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number with a decimal point, read without the locale: the integer part
// as a single, plus the fraction's digits divided by 10 to the power of
// their count, rounded to single precision once at the end.
Value ParseSinglePrecision(const std::string& number)
{
    std::size_t point = number.find('.');
    std::string integerText = TrimBlanks(number.substr(0, point));
    std::string fractionText = TrimBlanks(number.substr(point + 1));
    bool negative = !integerText.empty() && integerText[0] == '-';

    if (!fractionText.empty() && !AllDigits(fractionText)) {
        // An exponent after the point ("1.5e2"): the whole text is one number.
        std::optional<double> whole = ParseNumericText(number);
        return Value(static_cast<float>(whole.value_or(0.0)));
    }
    std::optional<double> integerPart =
        integerText.empty() || integerText == "-" || integerText == "+"
            ? std::optional<double>(0.0)
            : ParseNumericText(integerText);
    double sum = static_cast<double>(static_cast<float>(integerPart.value_or(0.0)));
    if (!fractionText.empty()) {
        double fraction =
            ParseNumericText(fractionText).value_or(0.0) / PowerOfTen(fractionText.size());
        sum += negative ? -fraction : fraction;
    }
    return Value(static_cast<float>(sum));
}

} // namespace

std::string FormatValue(const Value& value)
{
    std::optional<double> number = value.ToNumber();
    if (!number) {
        return "\"" + value.ToText() + "\"";
    }
    std::string magnitude = NumberToDecimalText(std::fabs(*number), SignificantDigits(value));
    if (magnitude == "0") {
        return "0.0";
    }
    if (magnitude == "1") {
        magnitude = "1.0";
    }
    return *number < 0 ? "-" + magnitude : magnitude;
}

Value ParseValue(const std::string& text)
{
    std::string number = text;
    if (number.size() > 1 && number[0] == '.' && IsNumericText(number.substr(1))) {
        number = "0" + number;
    }
    if (!IsNumericText(number)) {
        std::string result = number;
        if (!result.empty() && result.front() == '"') {
            result.erase(0, 1);
        }
        if (!result.empty() && result.back() == ';') {
            result.pop_back();
        }
        if (!result.empty() && result.back() == '"') {
            result.pop_back();
        }
        return Value(result);
    }
    if (number.find('.') != std::string::npos) {
        return ParseSinglePrecision(number);
    }
    return Value(ParseNumericText(number).value_or(0.0));
}

std::string StripTabs(const std::string& text)
{
    return RemoveCharacter(text, '\t');
}

std::string RemoveSpaces(const std::string& text)
{
    return RemoveCharacter(text, ' ');
}

} // namespace twl
