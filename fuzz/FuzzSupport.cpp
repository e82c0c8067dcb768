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
        std::filesystem::path made = std::filesystem::temp_directory_path() /
                                     ("tarnwell-fuzz-" + std::to_string(::getpid()));
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
