// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "core/TextFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

inline constexpr const char* SynonymsFileName = "twl_synonyms";

// The user's synonym words. It always holds at least one element; it counts
// as empty when it holds one empty element. Entries compare without regard
// to case; empty ones are ignored.
using SynonymList = std::vector<std::string>;

bool IsSynonymListEmpty(const SynonymList& synonyms);

// Reads folder/twl_synonyms: every field after the first (the title),
// whatever line it stands on. No file gives an empty list.
void LoadSynonyms(SynonymList& synonyms, const std::filesystem::path& folder);

// Writes the title and every non-empty entry that can be stored; an empty
// list leaves the file untouched. An entry holding a double quote is left
// out and the user is told.
Result<>
SaveSynonyms(const SynonymList& synonyms, const std::filesystem::path& folder, Messages& messages);

// Puts "~" before every word of the text that is in the list. Runs of
// blanks become one blank and leading blanks go. An empty list is reported
// ("Synonym list is missing") and the text comes back unchanged.
std::string CheckSynonyms(const SynonymList& synonyms, const std::string& text, Messages& messages);

// Asks for a new synonym ("Give the new synonym") and appends it unless it
// is empty, cancelled or already listed ("Synonym not added"). True when
// one was added.
bool AddSynonym(SynonymList& synonyms, Messages& messages);

} // namespace twl
