// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every fuzz target shares: messages that go nowhere, the catalogues,
// and a private folder for the readers that take a path.

#include "core/Messages.h"
#include "services/Catalogues.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace twl::fuzz {

class SilentMessages : public Messages
{
public:
    void Inform(const std::string&, const std::string&) override {}

    void Warn(const std::string&, const std::string&) override {}

    bool Ask(const std::string&, const std::string&) override { return false; }

    void Note(const std::string&) override {}

    std::optional<std::string> AskText(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
};

// The catalogues of a first start (no user lists), made once.
const Catalogues& FreshCatalogues();

// A folder of this process's own, made once.
const std::filesystem::path& ScratchFolder();

inline std::string Bytes(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Writes the bytes to ScratchFolder()/name.
void WriteScratch(const std::string& name, const std::string& bytes);

} // namespace twl::fuzz
