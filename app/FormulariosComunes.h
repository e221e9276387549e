#pragma once
#include <QList>

namespace plat {
class Form;
}

// The long-lived forms the program's windows share (record search, copy, filter, memo viewer,
// calculator, listing, detail viewer), each into its global variable; every form made is
// added to `creados`, for the shut-down. Forms already made are kept as they are.
void CrearFormulariosComunes(QList<plat::Form *> &creados);
