// SPDX-License-Identifier: GPL-3.0-or-later
// The characteristic file reader, then the writer on what it read.
#include "FuzzSupport.h"
#include "botfiles/CharFile.h"
#include "core/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    fuzz::SilentMessages messages;
    Bot bot;
    ReadCharLines(bot,
                  SplitTextLines(fuzz::Bytes(data, size)),
                  fuzz::FreshCatalogues().CharNames,
                  true,
                  messages);
    (void)EncodeTextLines(CharFileLines(bot, fuzz::FreshCatalogues().CharNames, Settings()));
    return 0;
}
