// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of twl_synonyms (from a file, as the program reads it), then its writer.
#include "FuzzSupport.h"
#include "chat/Synonyms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    fuzz::SilentMessages messages;
    std::filesystem::path folder = fuzz::ScratchFolder() / "synonyms";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(folder.string() + "-out");
    fuzz::WriteScratch("synonyms/twl_synonyms", fuzz::Bytes(data, size));
    SynonymList synonyms;
    LoadSynonyms(synonyms, folder);
    SaveSynonyms(synonyms, fuzz::ScratchFolder() / "synonyms-out", messages);
    return 0;
}
