// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/TgaImage.h"

#include <cstdint>
#include <string>

namespace twl::test {

// How a test .tga is written.
struct TgaOptions
{
    int BitsPerPixel = 32;  // 32 (BGRA), 24 (BGR) or 8 (grey)
    bool RunLength = false; // run-length packets (runs may cross rows)
    bool TopOrigin = false; // rows from the top; the default is from the bottom
    std::string Id;         // the image ID field after the header
    std::string Trailer;    // bytes after the pixel data (a footer, say)
};

// The bytes of a .tga holding `image` (top row first, RGBA). 24 bits drop
// the alpha, 8-bit grey keeps the red byte.
std::string MakeTga(const RgbaImage& image, const TgaOptions& options);

// A `width` x `height` picture whose pixels follow from their position, with
// runs of equal pixels in some rows (for the run-length packets) and, when
// `opaque`, alpha 255; grey pictures have R = G = B.
RgbaImage PatternImage(int width, int height, bool opaque, bool grey);

// Changes the 16-bit little-endian field of a header at byte `at`.
void SetHeaderWord(std::string& tga, std::size_t at, std::uint16_t value);

} // namespace twl::test
