#pragma once

#include "core/CharCatalogue.h"

namespace twl {

// The fixed vocabulary and the lists that the running program keeps. The
// program owns one and hands it on by reference; a test builds its own.
struct Catalogues
{
    CharCatalogue CharNames;
};

// Builds every catalogue at start-up.
void InitCatalogues(Catalogues& catalogues);

} // namespace twl
