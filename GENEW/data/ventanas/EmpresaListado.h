#pragma once

// While the user chooses the company a listing works on (TfGENEINIC::SeleccionEmpresaActiva),
// asks for it in the search of EMPRESA and connects its database; the code chosen, or 0
// when none is, stays in TfGENEINIC::CodigoEmpresaListado.
void ConectarEmpresaListado();
