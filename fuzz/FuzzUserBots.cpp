// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of twl_bots (from a file, as the program reads it), then its writer.
#include "FuzzSupport.h"
#include "catalog/BotList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    fuzz::SilentMessages messages;
    std::filesystem::path folder = fuzz::ScratchFolder() / "bots";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(folder.string() + "-out");
    fuzz::WriteScratch("bots/twl_bots", fuzz::Bytes(data, size));
    BotList bots;
    LoadBotList(bots, folder, messages);
    SaveUserBots(bots, fuzz::ScratchFolder() / "bots-out", messages);
    return 0;
}
