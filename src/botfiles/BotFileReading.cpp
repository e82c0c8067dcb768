// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/BotFileReading.h"

#include "core/FileLookup.h"
#include "core/ShownText.h"
#include "core/TextFile.h"
#include "core/ValueFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace twl {

void ReportMissingBotFile(Messages& messages, const std::string& what, const std::string& name)
{
    messages.Inform("Unable to find " + what + " file for " + name + ".", "Error during load");
}

BotFileBytes ReadBotFileBytes(const std::filesystem::path& folder,
                              const std::string& fileName,
                              const std::string& what,
                              const std::string& name,
                              Messages& messages)
{
    BotFileBytes file;
    file.Path = FindFileIgnoringCase(folder, fileName);
    // A link must not carry a file from elsewhere (another user's or the
    // system's) into the bot's set, and from there into an archive meant
    // for sharing, without a word.
    std::error_code error;
    if (std::filesystem::is_symlink(file.Path, error)) {
        std::filesystem::path target = std::filesystem::weakly_canonical(file.Path, error);
        std::filesystem::path home = std::filesystem::weakly_canonical(folder, error);
        auto [end, inside] = std::mismatch(home.begin(), home.end(), target.begin(), target.end());
        static_cast<void>(inside);
        if (!error && end != home.end() &&
            !messages.Ask(ShownText(file.Path.string()) + " is a link to " +
                              ShownText(target.string()) +
                              ", outside the bot's folder. Read the bot's file from there?",
                          LinkOutsideTitle)) {
            file.Outcome = Failure{file.Path, "the link was not followed"};
            return file;
        }
    }
    Result<std::string> read = ReadFileBytes(file.Path);
    if (read.Ok()) {
        file.Bytes = std::move(read).Value();
        return file;
    }
    if (read.Missing()) {
        file.Outcome = Failure{file.Path, read.Error().Reason, 0, true};
        ReportMissingBotFile(messages, what, name);
        return file;
    }
    file.Outcome = Failure{file.Path, read.Error().Reason};
    ReportUnreadableBotFile(messages, file.Path.string(), read.Error().Reason);
    return file;
}

void ReportUnreadableBotFile(Messages& messages, const std::string& path, const std::string& reason)
{
    messages.Warn("Couldn't read " + ShownText(path) + ": " + reason, "Read failed!");
}

bool IsSkippedBotFileLine(const std::string& line)
{
    return line.empty() || line.rfind("//", 0) == 0 || line.rfind("#i", 0) == 0 || line[0] == '}' ||
           line[0] == '{';
}

std::string WithoutTrailingComment(const std::string& text)
{
    bool quoted = false;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && text[i] == '/' && text[i + 1] == '/') {
            std::size_t last = text.find_last_not_of(" \t", i == 0 ? 0 : i - 1);
            return i == 0 || last == std::string::npos ? std::string() : text.substr(0, last + 1);
        }
    }
    return text;
}

namespace {

// The value of "0x1F" (a sign before it allowed); nothing for another text.
std::optional<double> HexadecimalValue(const std::string& text)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    if (text.size() < at + 3 || text[at] != '0' || (text[at + 1] != 'x' && text[at + 1] != 'X')) {
        return std::nullopt;
    }
    double value = 0;
    for (std::size_t i = at + 2; i < text.size(); ++i) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return negative ? -value : value;
}

// The number the game's script reader makes of a number that a plain
// reading gets wrong: one with two points ("0..30": each digit after the
// first point counts, the second point as the digit -2, so -0.17), or a
// whole number with a leading 0, which it reads as octal ("010" is 8).
// Nothing for any other text, which reads alike either way.
struct OddNumber
{
    double Number = 0;
    bool Whole = false; // read as a whole number (octal), not as a float
};

std::optional<OddNumber> OddNumberValue(const std::string& text)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    std::string number = text.substr(at);
    if (number.empty() || number.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    std::size_t points = static_cast<std::size_t>(std::count(number.begin(), number.end(), '.'));
    if (points >= 2) {
        // As the game computes it, in single precision, digit by digit.
        float value = 0.0f;
        unsigned long place = 0;
        for (std::size_t i = 0; i < number.size(); ++i) {
            if (number[i] == '.') {
                if (place != 0) {
                    break;
                }
                place = 10;
                if (++i >= number.size()) {
                    break;
                }
            }
            float digit = static_cast<float>(number[i] - '0');
            if (place != 0) {
                value += digit / static_cast<float>(place);
                place *= 10;
            } else {
                value = value * 10.0f + digit;
            }
        }
        return OddNumber{static_cast<double>(negative ? -value : value), false};
    }
    if (points == 0 && number.size() > 1 && number[0] == '0' &&
        number.find_first_of("89") == std::string::npos && number.size() <= 7) {
        long octal = std::stol(number, nullptr, 8);
        return OddNumber{static_cast<double>(negative ? -octal : octal), true};
    }
    return std::nullopt;
}

} // namespace

Value ParseNumberValue(const std::string& text)
{
    if (std::optional<double> hexadecimal = HexadecimalValue(text)) {
        return Value(*hexadecimal);
    }
    if (std::optional<OddNumber> odd = OddNumberValue(text)) {
        if (odd->Whole && odd->Number >= -32768 && odd->Number <= 32767) {
            return WholeNumber(static_cast<int>(odd->Number));
        }
        // A float as the game computed it, in single precision.
        return odd->Whole ? Value(odd->Number) : Value(static_cast<float>(odd->Number));
    }
    return ParseValue(text);
}

bool IsOddNumberText(const std::string& text)
{
    return OddNumberValue(text).has_value();
}

std::optional<std::string> ChangedValueText(const std::string& text)
{
    if (text.empty() || text.front() == '"') {
        return std::nullopt;
    }
    if (HexadecimalValue(text)) {
        return std::nullopt; // kept as the number the game reads
    }
    if (OddNumberValue(text)) {
        return std::nullopt; // the number the game reads stays the number it reads
    }
    std::string written = FormatValue(ParseValue(text));
    std::optional<double> read = ParseNumericText(text.front() == '.' ? "0" + text : text);
    std::optional<double> back = ParseNumericText(written);
    if (!read || !back || !std::isfinite(*read)) {
        return written;
    }
    // A single keeps about 7 digits: what it rounds away is no change.
    double tolerance = std::max(std::fabs(*read), 1.0) * 1e-6;
    if (std::fabs(*read - *back) > tolerance) {
        return written;
    }
    return std::nullopt;
}

void ReportChangedValues(Messages& messages,
                         const std::string& file,
                         const std::vector<std::string>& changes)
{
    if (changes.empty()) {
        return;
    }
    std::string list;
    for (const std::string& change : changes) {
        list += (list.empty() ? "" : ", ") + change;
    }
    messages.Warn("These values of " + file + " cannot be kept as they are written: " + list + ".",
                  "Values changed");
}

bool ContinuesName(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

} // namespace twl
