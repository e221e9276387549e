#pragma once
#include "platform/ui/Form.h"

#include <QString>

// The place and size a shared dialog keeps from one opening to the next in this run. A
// non-zero left or top places the window there (otherwise it is centred); a non-zero width
// or height sizes it.
struct GeometriaDialogo
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    // "left,top,width,height": each piece that reads as a whole number replaces its value;
    // the others leave it as it was.
    void leerFormato(const QString &formato);
    void aplicar(plat::Form &form, plat::Position centrado) const;
    void guardar(const plat::Form &form);
};
