// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace twl {

// A piece of a fun name drawn in one colour: the game's colour code 0 to 7
// (^0 black ... ^7 white), or -1 for the window's text colour.
struct ColouredRun
{
    std::string Text;
    int Colour = -1;

    bool operator==(const ColouredRun& other) const
    {
        return Text == other.Text && Colour == other.Colour;
    }
};

// The red, green and blue of colour code 0 to 7.
struct Rgb
{
    int Red;
    int Green;
    int Blue;
};

Rgb ColourOfCode(int code);

// The fun name as the game shows it: a caret and a digit 0 to 7 switch the
// colour of what follows and are not shown; any other caret is shown as it
// is. Neighbouring characters of one colour form one run.
std::vector<ColouredRun> FunNameRuns(const std::string& funName);

// A text after colour button `code` was pressed with the cursor at byte
// `cursor`: "^" and the digit go in there, and the cursor stands after
// them. An empty text takes no code.
struct TextAndCursor
{
    std::string Text;
    std::size_t Cursor = 0;
};

std::optional<TextAndCursor>
InsertColourCode(const std::string& text, std::size_t cursor, int code);

} // namespace twl
