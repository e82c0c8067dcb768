// SPDX-License-Identifier: GPL-3.0-or-later
// The game's precompiler and its bot library's readers, as "Check bot"
// runs them: the input is a bot's characteristic file, and also the file
// it includes, its weight and chat files.
#include "FuzzSupport.h"
#include "check/BotCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    std::string bytes = fuzz::Bytes(data, size);
    BotChecker checker(fuzz::FreshCatalogues(), [&bytes](const std::string&) {
        LookedUpFile found;
        found.File = CheckedFile{"fuzz", bytes};
        return found;
    });
    checker.CheckScript({"fuzz.bot", "{\nname Fuzz\naifile bots/fuzz_c.c\n}\n"});
    checker.TakeFindings();
    return 0;
}
