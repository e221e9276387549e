#pragma once
#include "platform/base/Gancho.h"

#include <QString>

class ModuloGraficos;

// The chart module (ModuloGraficos.h), loaded from the running program's folder the first time
// it is asked for and kept for the rest of the run. nullptr when it cannot be loaded, with the
// reason, in Spanish, in error: a missing file, a file that does not load, or a module of
// another build.
ModuloGraficos *CargarModuloGraficos(QString &error);

// The folder the module is looked for in; empty (the default) for the running program's own.
// Tests point it elsewhere.
Gancho<QString> &ganchoDirectorioModuloGraficos();
