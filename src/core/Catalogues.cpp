#include "core/Catalogues.h"

namespace twl {

void InitCatalogues(Catalogues& catalogues)
{
    InitCharCatalogue(catalogues.CharNames);
}

} // namespace twl
