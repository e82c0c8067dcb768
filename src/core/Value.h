// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace twl {

// A characteristic value as the bot files know it: nothing yet, a whole
// number, a single- or double-precision real, or a text. The kind it was set
// with is kept, because the kind decides how the value is written (a single
// shows at most 7 significant digits, a double at most 15).
class Value
{
public:
    enum class Kind
    {
        Empty,
        Int16,
        Single,
        Double,
        Text
    };

    Value() = default;

    Value(std::int16_t number)
        : m_data(number)
    {}

    Value(float number)
        : m_data(number)
    {}

    Value(double number)
        : m_data(number)
    {}

    Value(std::string text)
        : m_data(std::move(text))
    {}

    Value(const char* text)
        : m_data(std::string(text))
    {}

    Kind GetKind() const { return static_cast<Kind>(m_data.index()); }

    bool IsEmpty() const { return GetKind() == Kind::Empty; }

    bool IsText() const { return GetKind() == Kind::Text; }

    // A number of any of the three numeric kinds (not a numeric text).
    bool IsNumber() const;

    // The number this value stands for: numbers as they are, empty as 0, a text
    // when it reads as a number (blanks around it allowed); nothing otherwise.
    std::optional<double> ToNumber() const;

    // The plain text of the value: a text as it is, a number in its shortest
    // decimal form with "." ("0.5", "180"), empty as "".
    std::string ToText() const;

    std::int16_t AsInt16() const { return std::get<std::int16_t>(m_data); }

    float AsSingle() const { return std::get<float>(m_data); }

    double AsDouble() const { return std::get<double>(m_data); }

    const std::string& AsText() const { return std::get<std::string>(m_data); }

    // Same kind and same content.
    bool operator==(const Value& other) const { return m_data == other.m_data; }

    bool operator!=(const Value& other) const { return !(*this == other); }

private:
    std::variant<std::monostate, std::int16_t, float, double, std::string> m_data;
};

// A whole number as the program stores counters and preset values.
inline Value WholeNumber(int number)
{
    return Value(static_cast<std::int16_t>(number));
}

// True when the text reads as a decimal number: blanks around it, an optional
// sign, digits with at most one ".", an optional exponent. "." is the decimal
// point whatever the locale; an empty text is not a number.
bool IsNumericText(const std::string& text);

// The value of a text for which IsNumericText holds.
std::optional<double> ParseNumericText(const std::string& text);

// The shortest decimal text of a number with at most `significantDigits`
// significant digits, "." as decimal point, never an exponent, a leading "0"
// before the point ("0.5", "-2", "180", "0.00001").
std::string NumberToDecimalText(double number, int significantDigits);

// Whole numbers as the program stores counters: rounded half to even, as the
// bot files' editor always did. Nothing when the value is not a number or
// lies outside -32768 to 32767.
std::optional<std::int16_t> ToInt16(const Value& value);

} // namespace twl
