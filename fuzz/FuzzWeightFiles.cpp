// SPDX-License-Identifier: GPL-3.0-or-later
// Both weight file readers, then the writers on what they read.
#include "FuzzSupport.h"
#include "botfiles/WeightFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    const CharCatalogue& names = fuzz::FreshCatalogues().CharNames;
    std::string input = fuzz::Bytes(data, size);
    for (WeightFileKind kind : {WeightFileKind::Weapon, WeightFileKind::Item}) {
        Bot bot;
        bool foreign = ReadWeightFileBytes(bot, kind, input, names);
        std::string bytes;
        if (!WeightFileBytes(bot, kind, names, Settings(), bytes) && foreign && bytes != input) {
            __builtin_trap(); // a foreign file must go back byte for byte
        }
    }
    return 0;
}
