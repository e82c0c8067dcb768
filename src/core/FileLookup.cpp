// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileLookup.h"

#include "core/TextCase.h"

namespace twl {

std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& folder,
                                           const std::string& name)
{
    std::filesystem::path exact = folder / name;
    std::error_code error;
    if (std::filesystem::exists(exact, error)) {
        return exact;
    }
    std::string lower = LowerCase(name);
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator();
         it.increment(error)) {
        if (LowerCase(it->path().filename().string()) == lower) {
            return it->path();
        }
    }
    return exact;
}

std::string StemBeforeEnding(const std::string& fileName, const std::string& ending)
{
    std::size_t at = LowerCase(fileName).find(LowerCase(ending));
    return at == std::string::npos ? fileName : fileName.substr(0, at);
}

} // namespace twl
