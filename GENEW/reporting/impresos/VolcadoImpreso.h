#pragma once
#include "GENEW/reporting/impresos/DisenoImpreso.h"

#include <QString>

// A layout as read, in plain lines, to compare with a parse written by hand: the paper, the
// settings after [SISTEMA], the sum slots, connections and groups, the whole-text options,
// the commands [SISTEMA] sent, and every section line split into its key and arguments
// (each argument in parentheses; the separator substitute shows as "{|}", control
// characters as "{U+XXXX}").
QString VolcarImpreso(const DisenoImpreso &diseno, const OrdenesGrabadas &ordenesSistema);

// The dump of a record read on its own: screen destination, table names as written.
QString VolcarRegistroImpreso(const RegistroImpreso &registro);
