#pragma once
#include "GENEW/reporting/impresos/RegistroImpreso.h"

#include <functional>
#include <optional>

namespace plat {
class TableDataSet;
}

// The print engine's `Impreso` table (IMPRESO, keyed by `Codigo`) as the layout reads it.

// Positions the open table on the code and answers its record; none when there is no such
// layout (the table then stays where it was).
std::optional<RegistroImpreso> LeerRegistroImpreso(plat::TableDataSet &impreso, const QString &codigo);

// The look-up that DisenoImpreso takes, over that table (which must outlive it).
std::function<std::optional<RegistroImpreso>(const QString &)> BuscadorDeImpresos(plat::TableDataSet &impreso);
