// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/FunName.h"

#include <algorithm>

namespace twl {

Rgb ColourOfCode(int code)
{
    static const Rgb Colours[] = {{0, 0, 0},
                                  {255, 0, 0},
                                  {0, 255, 0},
                                  {255, 255, 0},
                                  {0, 0, 255},
                                  {0, 255, 255},
                                  {255, 0, 255},
                                  {255, 255, 255}};
    return Colours[std::clamp(code, 0, 7)];
}

std::vector<ColouredRun> FunNameRuns(const std::string& funName)
{
    std::vector<ColouredRun> runs;
    int colour = -1;
    auto draw = [&](char c) {
        if (runs.empty() || runs.back().Colour != colour) {
            runs.push_back({std::string(), colour});
        }
        runs.back().Text += c;
    };
    for (std::size_t c = 0; c < funName.size(); ++c) {
        if (funName[c] == '^' && c + 1 < funName.size() && funName[c + 1] >= '0' &&
            funName[c + 1] <= '7') {
            colour = funName[c + 1] - '0';
            ++c;
        } else {
            draw(funName[c]);
        }
    }
    return runs;
}

std::optional<TextAndCursor> InsertColourCode(const std::string& text, std::size_t cursor, int code)
{
    if (text.empty() || code < 0 || code > 7) {
        return std::nullopt;
    }
    cursor = std::min(cursor, text.size());
    std::string inserted = "^" + std::to_string(code);
    return TextAndCursor{text.substr(0, cursor) + inserted + text.substr(cursor),
                         cursor + inserted.size()};
}

} // namespace twl
