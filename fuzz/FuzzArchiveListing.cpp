// SPDX-License-Identifier: GPL-3.0-or-later
// Listing an archive from its central directory, then classifying its
// entries as the scan does.
#include "FuzzSupport.h"
#include "pk3/ArchiveScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    fuzz::SilentMessages messages;
    fuzz::WriteScratch("listing.pk3", fuzz::Bytes(data, size));
    if (auto listing = ListArchive(fuzz::ScratchFolder() / "listing.pk3", messages)) {
        ModelCatalogue models;
        BotList bots;
        ClassifyArchiveEntries(listing->Names, "listing.pk3", models, bots, messages);
    }
    return 0;
}
