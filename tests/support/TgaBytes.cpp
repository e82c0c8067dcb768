// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TgaBytes.h"

#include <cstddef>
#include <vector>

namespace twl::test {

namespace {

void PutWord(std::string& bytes, std::size_t value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

// One pixel as the file keeps it.
std::string FilePixel(const RgbaImage& image, std::size_t x, std::size_t y, int bitsPerPixel)
{
    std::size_t at = (y * static_cast<std::size_t>(image.Width) + x) * 4;
    const std::uint8_t* rgba = image.Pixels.data() + at;
    std::string pixel;
    if (bitsPerPixel == 8) {
        pixel += static_cast<char>(rgba[0]);
        return pixel;
    }
    pixel += static_cast<char>(rgba[2]);
    pixel += static_cast<char>(rgba[1]);
    pixel += static_cast<char>(rgba[0]);
    if (bitsPerPixel == 32) {
        pixel += static_cast<char>(rgba[3]);
    }
    return pixel;
}

// Repeat packets for runs of two or more equal pixels, raw packets for the
// rest, at most 128 pixels a packet, running on over the row ends.
std::string RunLengthPackets(const std::vector<std::string>& pixels)
{
    std::string packets;
    std::size_t i = 0;
    const std::size_t count = pixels.size();
    while (i < count) {
        std::size_t run = 1;
        while (i + run < count && run < 128 && pixels[i + run] == pixels[i]) {
            ++run;
        }
        if (run >= 2) {
            packets += static_cast<char>(0x80 | (run - 1));
            packets += pixels[i];
            i += run;
            continue;
        }
        std::size_t end = i;
        while (end < count && end - i < 128 &&
               !(end + 1 < count && pixels[end] == pixels[end + 1])) {
            ++end;
        }
        packets += static_cast<char>(end - i - 1);
        for (std::size_t k = i; k < end; ++k) {
            packets += pixels[k];
        }
        i = end;
    }
    return packets;
}

} // namespace

std::string MakeTga(const RgbaImage& image, const TgaOptions& options)
{
    const bool grey = options.BitsPerPixel == 8;
    std::string tga;
    tga += static_cast<char>(options.Id.size());
    tga += '\0'; // no colour map
    tga += static_cast<char>((grey ? 3 : 2) + (options.RunLength ? 8 : 0));
    tga += std::string(5, '\0'); // colour map fields: none
    PutWord(tga, 0);             // x origin
    PutWord(tga, 0);             // y origin
    PutWord(tga, static_cast<std::size_t>(image.Width));
    PutWord(tga, static_cast<std::size_t>(image.Height));
    tga += static_cast<char>(options.BitsPerPixel);
    const int alphaBits = options.BitsPerPixel == 32 ? 8 : 0;
    tga += static_cast<char>(alphaBits | (options.TopOrigin ? 0x20 : 0));
    tga += options.Id;

    std::vector<std::string> pixels;
    const std::size_t width = static_cast<std::size_t>(image.Width);
    const std::size_t height = static_cast<std::size_t>(image.Height);
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t y = options.TopOrigin ? row : height - 1 - row;
        for (std::size_t x = 0; x < width; ++x) {
            pixels.push_back(FilePixel(image, x, y, options.BitsPerPixel));
        }
    }
    if (options.RunLength) {
        tga += RunLengthPackets(pixels);
    } else {
        for (const std::string& pixel : pixels) {
            tga += pixel;
        }
    }
    return tga + options.Trailer;
}

RgbaImage PatternImage(int width, int height, bool opaque, bool grey)
{
    RgbaImage image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Rows 1 and 2 of every four are one colour: a run that crosses
            // a row end and, in wide pictures, is longer than one packet.
            const bool solid = y % 4 == 1 || y % 4 == 2;
            int red = solid ? 200 : (x * 37 + y * 11) & 0xFF;
            int green = solid ? 40 : (x * 5 + y * 71 + 13) & 0xFF;
            int blue = solid ? 90 : (x * x + y) & 0xFF;
            int alpha = opaque ? 255 : (x * 19 + y * 7 + 1) & 0xFF;
            if (grey) {
                green = red;
                blue = red;
            }
            for (int value : {red, green, blue, alpha}) {
                image.Pixels.push_back(static_cast<std::uint8_t>(value));
            }
        }
    }
    return image;
}

void SetHeaderWord(std::string& tga, std::size_t at, std::uint16_t value)
{
    tga[at] = static_cast<char>(value & 0xFF);
    tga[at + 1] = static_cast<char>(value >> 8);
}

} // namespace twl::test
