#pragma once
// All the common routines in one include.
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/LiteralFechaSQL.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "GENEW/runtime/comun/TipoCampo.h"
