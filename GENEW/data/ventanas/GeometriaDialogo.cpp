#include "GENEW/data/ventanas/GeometriaDialogo.h"

#include <QStringList>
#include <array>

void GeometriaDialogo::leerFormato(const QString &formato)
{
    const QStringList piezas = formato.split(QLatin1Char(','));
    const std::array<int *, 4> destinos{&left, &top, &width, &height};
    for (qsizetype i = 0; i < piezas.size() && i < qsizetype(destinos.size()); ++i) {
        bool ok = false;
        const int valor = piezas[i].trimmed().toInt(&ok);
        if (ok)
            *destinos[i] = valor;
    }
}

void GeometriaDialogo::aplicar(plat::Form &form, plat::Position centrado) const
{
    if (width != 0)
        form.setWidth(width);
    if (height != 0)
        form.setHeight(height);
    if (left != 0 || top != 0) {
        form.setPosition(plat::poDesigned);
        form.setLeft(left);
        form.setTop(top);
    } else {
        form.setPosition(centrado);
    }
}

void GeometriaDialogo::guardar(const plat::Form &form)
{
    left = form.left();
    top = form.top();
    width = form.width();
    height = form.height();
}
