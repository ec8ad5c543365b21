#pragma once

#include "books/book_settings.h"
#include "books/lx53.h"
#include "books/lx55.h"

namespace livrax::books {

// The saved settings and the options of the Registro de Entradas ("PAR_LX53"):
// "Imprimir IPI" (line 7, --no-ipi) and "Imprimir ICM" (line 8, --no-icm).
const LineBookSettings<LX53Options>& LX53Settings();

// The saved settings and the options of the Registro de Saídas ("PAR_LX55"):
// "Imprimir IPI" (line 7, --no-ipi), "Imprimir Empresa" (line 8, checked only
// when saved so, --company), "Imprimir ICM" (line 9, --no-icm) and
// "Imprimir Subst.Tribut." (line 10, --no-st).
const LineBookSettings<LX55Options>& LX55Settings();

} // namespace livrax::books
