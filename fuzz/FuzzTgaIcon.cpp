// SPDX-License-Identifier: GPL-3.0-or-later
// The skin icon decoder on any bytes: never a partial picture, never a
// read past the end.
#include "FuzzSupport.h"
#include "catalog/TgaImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    std::string bytes = fuzz::Bytes(data, size);
    if (std::optional<RgbaImage> image = DecodeTga(bytes)) {
        if (image->Pixels.size() !=
            static_cast<std::size_t>(image->Width) * static_cast<std::size_t>(image->Height) * 4) {
            __builtin_trap();
        }
    }
    return 0;
}
