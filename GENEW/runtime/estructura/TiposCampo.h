#pragma once
#include "GENEW/runtime/comun/TipoCampo.h"

#include <QString>

namespace estructura {

// The field type a definition line names in its piece 4 (exact case; "ftSmallInt" too);
// ftUnknown for any other text.
TFieldType TipoDeCampo(const QString &nombre);

} // namespace estructura
