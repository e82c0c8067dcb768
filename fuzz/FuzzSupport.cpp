// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzSupport.h"

#include <fstream>
#include <unistd.h>

namespace twl::fuzz {

const Catalogues& FreshCatalogues()
{
    static const Catalogues catalogues = [] {
        Catalogues made;
        SilentMessages messages;
        InitCatalogues(made, ScratchFolder() / "no-settings", messages);
        return made;
    }();
    return catalogues;
}

const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        // In memory where the system has such a folder: the readers that take
        // a path then run at the speed of the code, not of the disk's flushes.
        std::error_code error;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::filesystem::path made = base / ("tarnwell-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return folder;
}

void WriteScratch(const std::string& name, const std::string& bytes)
{
    std::ofstream out(ScratchFolder() / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace twl::fuzz
