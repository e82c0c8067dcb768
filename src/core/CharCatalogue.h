// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace twl {

inline constexpr int CharCatalogueSize = 86;

// The line starts of the characteristic and weight files: for each parameter
// number, the identifier followed by the TABs that align its value (to
// column 44 after a CHARACTERISTIC_ name, column 32 after a #define, with
// TAB stops every four columns). Position 84 is empty: the characteristic
// file's own name is never written as a line.
using CharCatalogue = std::array<std::string, CharCatalogueSize>;

void InitCharCatalogue(CharCatalogue& charNames);

// The identifier of an entry, without its TABs.
std::string CharIdentifier(const std::string& entry);

} // namespace twl
