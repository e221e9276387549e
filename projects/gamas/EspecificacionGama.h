#pragma once
#include <QString>

// A characteristic's `Especificacion` value is a range "desde...hasta" (either part may be empty);
// a value without "..." is taken as its lower part alone.
struct PartesEspecificacion
{
    QString desde;
    QString hasta;
};

// The lower part is the text before the first "...", the upper part the text after it, so
// decimal points inside the parts ("1.5...2.5") stay where they are.
PartesEspecificacion PartirEspecificacion(const QString &valor);
QString UnirEspecificacion(const QString &desde, const QString &hasta);
