// SPDX-License-Identifier: GPL-3.0-or-later
// The bot script reader, then the writer on what it read.
#include "FuzzSupport.h"
#include "botfiles/ScriptFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    Bot bot;
    ReadScriptLines(bot, SplitTextLines(fuzz::Bytes(data, size)));
    (void)EncodeTextLines(ScriptFileLines(bot, Settings()));
    return 0;
}
