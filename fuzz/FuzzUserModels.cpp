// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of twl_models (from a file, as the program reads it), then its writer.
#include "FuzzSupport.h"
#include "catalog/Models.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    fuzz::SilentMessages messages;
    std::filesystem::path folder = fuzz::ScratchFolder() / "models";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(folder.string() + "-out");
    std::filesystem::remove(folder / "twl_models.bak");
    fuzz::WriteScratch("models/twl_models", fuzz::Bytes(data, size));
    ModelCatalogue models;
    LoadModelCatalogue(models, folder, messages);
    SaveUserModels(models, fuzz::ScratchFolder() / "models-out", messages);
    return 0;
}
