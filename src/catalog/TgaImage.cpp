// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/TgaImage.h"

#include <climits>
#include <cstddef>

// stb_image is compiled into this file alone, with its TGA reader only: no
// other format's code is there to be reached by a file that merely claims to
// be an icon. Its functions stay private to this file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 1024
#include <stb/stb_image.h>

static_assert(STBI_MAX_DIMENSIONS == twl::MaxTgaSide, "stb_image refuses what DecodeTga does");

namespace twl {

namespace {

constexpr std::size_t HeaderSize = 18;

// The image types of the header.
constexpr std::uint8_t TrueColour = 2;
constexpr std::uint8_t Grey = 3;
constexpr std::uint8_t RunLength = 8; // added to the type

struct TgaLayout
{
    std::size_t Width = 0;
    std::size_t Height = 0;
    std::size_t BytesPerPixel = 0;
    bool IsRunLength = false;
    std::size_t DataStart = 0;
};

std::size_t Word(std::string_view bytes, std::size_t at)
{
    return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint8_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

// The header of a kind the game loads, or nothing.
std::optional<TgaLayout> ReadHeader(std::string_view bytes)
{
    if (bytes.size() < HeaderSize) {
        return std::nullopt;
    }
    const std::uint8_t idLength = Byte(bytes, 0);
    const std::uint8_t colourMapType = Byte(bytes, 1);
    const std::uint8_t imageType = Byte(bytes, 2);
    const std::uint8_t bitsPerPixel = Byte(bytes, 16);
    if (colourMapType != 0) {
        return std::nullopt;
    }
    TgaLayout layout;
    layout.IsRunLength = (imageType & RunLength) != 0;
    const std::uint8_t kind = static_cast<std::uint8_t>(imageType & ~RunLength);
    const bool colour = kind == TrueColour && (bitsPerPixel == 24 || bitsPerPixel == 32);
    const bool grey = kind == Grey && bitsPerPixel == 8;
    if (!colour && !grey) {
        return std::nullopt;
    }
    layout.BytesPerPixel = bitsPerPixel / 8u;
    layout.Width = Word(bytes, 12);
    layout.Height = Word(bytes, 14);
    const std::size_t maxSide = MaxTgaSide;
    if (layout.Width == 0 || layout.Height == 0 || layout.Width > maxSide ||
        layout.Height > maxSide) {
        return std::nullopt;
    }
    layout.DataStart = HeaderSize + idLength;
    if (layout.DataStart > bytes.size()) {
        return std::nullopt;
    }
    return layout;
}

// Whether the pixel data is all there. The decoder below reads a byte past
// the end as 0 and goes on, so a short file would come out as a picture with
// a black (or uninitialised) tail; this walk refuses it first. A run-length
// packet must lie whole inside the file, as the game requires; its pixels
// after the last one of the picture are not used.
bool PixelDataComplete(std::string_view bytes, const TgaLayout& layout)
{
    const std::size_t available = bytes.size() - layout.DataStart;
    std::size_t remaining = layout.Width * layout.Height;
    if (!layout.IsRunLength) {
        return available / layout.BytesPerPixel >= remaining;
    }
    std::size_t at = layout.DataStart;
    while (remaining > 0) {
        if (at >= bytes.size()) {
            return false;
        }
        const std::uint8_t packet = Byte(bytes, at++);
        const std::size_t count = (packet & 0x7Fu) + 1u;
        const std::size_t dataSize =
            (packet & 0x80u) != 0 ? layout.BytesPerPixel : count * layout.BytesPerPixel;
        if (bytes.size() - at < dataSize) {
            return false;
        }
        at += dataSize;
        remaining -= count < remaining ? count : remaining;
    }
    return true;
}

} // namespace

std::optional<RgbaImage> DecodeTga(std::string_view bytes)
{
    std::optional<TgaLayout> layout = ReadHeader(bytes);
    if (!layout || bytes.size() > static_cast<std::size_t>(INT_MAX) ||
        !PixelDataComplete(bytes, *layout)) {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                            static_cast<int>(bytes.size()),
                                            &width,
                                            &height,
                                            &channels,
                                            STBI_rgb_alpha);
    if (pixels == nullptr) {
        return std::nullopt;
    }
    std::optional<RgbaImage> image;
    if (static_cast<std::size_t>(width) == layout->Width &&
        static_cast<std::size_t>(height) == layout->Height) {
        const std::size_t size = layout->Width * layout->Height * 4;
        image = RgbaImage{width, height, std::vector<std::uint8_t>(pixels, pixels + size)};
    }
    stbi_image_free(pixels);
    return image;
}

} // namespace twl
