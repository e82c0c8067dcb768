// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace twl {

// A decoded picture: `Height` rows of `Width` pixels, the top row first,
// each pixel four bytes R, G, B, A (A 255 where the file has no alpha).
struct RgbaImage
{
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels; // Width * Height * 4 bytes

    bool operator==(const RgbaImage& other) const
    {
        return Width == other.Width && Height == other.Height && Pixels == other.Pixels;
    }
};

// The game's skin icons are 128 x 128 or smaller; a side above this is taken
// for a damaged header and refused before anything is allocated.
inline constexpr int MaxTgaSide = 1024;

// Decodes a .tga file of the kinds the game loads: true colour with 24 or 32
// bits a pixel and 8-bit grey, each uncompressed or run-length encoded, with
// the origin at the bottom or at the top. Nothing for anything else: another
// kind (colour-mapped, 15/16-bit), a side of 0 or above MaxTgaSide, pixel
// data or a run-length packet that runs past the end of `bytes`. Never a
// partial picture.
std::optional<RgbaImage> DecodeTga(std::string_view bytes);

} // namespace twl
