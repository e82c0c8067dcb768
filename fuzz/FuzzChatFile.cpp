// SPDX-License-Identifier: GPL-3.0-or-later
// The chat file reader, then the writer on what it read.
#include "FuzzSupport.h"
#include "botfiles/ChatFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    Bot bot;
    ReadChatLines(bot, SplitTextLines(fuzz::Bytes(data, size)), fuzz::FreshCatalogues().Chat);
    (void)EncodeTextLines(ChatFileLines(bot, fuzz::FreshCatalogues().Chat, Settings()));
    return 0;
}
