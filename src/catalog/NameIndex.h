// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/TextCase.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace twl {

// Positions of the entries of a list by lower-cased name (the first entry of
// a name), for adding many entries in a row (an archive scan, a user list)
// without a walk over the whole list for each. It stays valid while entries
// are only appended or overwritten under the same name.
class NameIndex
{
public:
    template <typename Entry> explicit NameIndex(const std::vector<Entry>& entries)
    {
        m_positions.reserve(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            m_positions.emplace(LowerCase(entries[i].Name), i);
        }
    }

    std::optional<std::size_t> Find(const std::string& lowerName) const
    {
        auto found = m_positions.find(lowerName);
        if (found == m_positions.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    void Add(const std::string& lowerName, std::size_t position)
    {
        m_positions.emplace(lowerName, position);
    }

private:
    std::unordered_map<std::string, std::size_t> m_positions;
};

// The position of the first entry whose lower-cased name is `lowerName`:
// through the index when there is one, else by walking the list.
template <typename Entry>
std::optional<std::size_t> FindByLowerName(const std::vector<Entry>& entries,
                                           const std::string& lowerName,
                                           const NameIndex* index)
{
    if (index != nullptr) {
        return index->Find(lowerName);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (LowerCase(entries[i].Name) == lowerName) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace twl
