// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Value.h"

#include "core/Trim.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace twl {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The whole number nearest to `x`, a half to the even one, as nearbyint
// gives it in the default rounding mode, without the maths library: below
// 2^52 adding and taking away 2^52 leaves the rounded number (the sign put
// back keeps -0.0); from there on every double is whole.
double RoundHalfToEven(double x)
{
    constexpr double TwoTo52 = 4503599627370496.0;
    if (!(std::fabs(x) < TwoTo52)) {
        return x; // whole already, infinite or not a number
    }
    double shift = std::copysign(TwoTo52, x);
    return std::copysign((x + shift) - shift, x);
}

} // namespace

bool Value::IsNumber() const
{
    Kind kind = GetKind();
    return kind == Kind::Int16 || kind == Kind::Single || kind == Kind::Double;
}

std::optional<double> Value::ToNumber() const
{
    switch (GetKind()) {
    case Kind::Empty:
        return 0.0;
    case Kind::Int16:
        return AsInt16();
    case Kind::Single:
        return static_cast<double>(AsSingle());
    case Kind::Double:
        return AsDouble();
    case Kind::Text:
        return ParseNumericText(AsText());
    }
    return std::nullopt;
}

std::string Value::ToText() const
{
    switch (GetKind()) {
    case Kind::Empty:
        return {};
    case Kind::Int16:
        return std::to_string(AsInt16());
    case Kind::Single:
        return NumberToDecimalText(static_cast<double>(AsSingle()), 7);
    case Kind::Double:
        return NumberToDecimalText(AsDouble(), 15);
    case Kind::Text:
        return AsText();
    }
    return {};
}

bool IsNumericText(const std::string& text)
{
    std::string trimmed = TrimBlanks(text);
    std::size_t pos = 0;
    if (pos < trimmed.size() && (trimmed[pos] == '+' || trimmed[pos] == '-')) {
        ++pos;
    }
    std::size_t digits = 0;
    bool seenPoint = false;
    for (; pos < trimmed.size(); ++pos) {
        char c = trimmed[pos];
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (pos < trimmed.size() && (trimmed[pos] == 'e' || trimmed[pos] == 'E')) {
        ++pos;
        if (pos < trimmed.size() && (trimmed[pos] == '+' || trimmed[pos] == '-')) {
            ++pos;
        }
        std::size_t exponentDigits = 0;
        while (pos < trimmed.size() && IsDigit(trimmed[pos])) {
            ++exponentDigits;
            ++pos;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return pos == trimmed.size();
}

std::optional<double> ParseNumericText(const std::string& text)
{
    if (!IsNumericText(text)) {
        return std::nullopt;
    }
    std::string trimmed = TrimBlanks(text);
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    // from_chars takes no leading "+".
    if (*begin == '+') {
        ++begin;
    }
    double number = 0.0;
    auto [ptr, error] = std::from_chars(begin, end, number);
    if (error == std::errc::result_out_of_range) {
        return std::nullopt;
    }
    if (error != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return number;
}

std::string NumberToDecimalText(double number, int significantDigits)
{
    if (!std::isfinite(number)) {
        return number != number ? "0" : (number > 0 ? "1" : "-1");
    }
    if (number == 0.0) {
        return "0";
    }
    // Scientific form gives the rounded significant digits and the exponent;
    // the fixed text is built from them so that no exponent ever appears.
    char buffer[64];
    auto [end, error] = std::to_chars(std::begin(buffer),
                                      std::end(buffer),
                                      std::fabs(number),
                                      std::chars_format::scientific,
                                      significantDigits - 1);
    if (error != std::errc()) {
        return "0";
    }
    std::string scientific(buffer, end);
    std::size_t ePos = scientific.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (IsDigit(scientific[i])) {
            digits += scientific[i];
        }
    }
    int exponent = std::atoi(scientific.c_str() + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string result;
    int digitCount = static_cast<int>(digits.size());
    if (exponent < 0) {
        result = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= digitCount) {
        result = digits + std::string(static_cast<std::size_t>(exponent + 1 - digitCount), '0');
    } else {
        std::size_t split = static_cast<std::size_t>(exponent + 1);
        result = digits.substr(0, split) + "." + digits.substr(split);
    }
    return number < 0 ? "-" + result : result;
}

std::optional<std::int16_t> ToInt16(const Value& value)
{
    if (value.GetKind() == Value::Kind::Int16) {
        return value.AsInt16();
    }
    std::optional<double> number = value.ToNumber();
    if (!number) {
        return std::nullopt;
    }
    double rounded = RoundHalfToEven(*number);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

} // namespace twl
