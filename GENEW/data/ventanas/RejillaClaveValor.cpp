#include "GENEW/data/ventanas/RejillaClaveValor.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int kFilasMaximas = 20;

int alturaPantalla()
{
    const QScreen *pantalla = QGuiApplication::primaryScreen();
    return pantalla ? pantalla->geometry().height() : 768;
}

} // namespace

int alturaRejillaClaveValor(int filas, int alturaFila, int controles)
{
    const int altura = filas * (alturaFila + 1) + controles;
    if (altura > alturaPantalla() - 100)
        return kFilasMaximas * (alturaFila + 1) + controles;
    return altura;
}

void ajustarRejillaClaveValor(plat::Form &ventana, plat::StringGrid &rejilla, int alturaCalculada)
{
    const int ancho = rejilla.viewport()->width();
    rejilla.setColWidth(1, std::max(0, ancho - rejilla.columnWidth(0)));
    if (ventana.isVisible() && ventana.height() > alturaCalculada)
        ventana.setHeight(alturaCalculada);
}

void pintarCeldaClaveValor(plat::StringGrid &rejilla, int col, int row, const QRect &rect, const QString &texto,
                           int color, bool negrita)
{
    plat::Canvas &lienzo = *rejilla.canvas();
    lienzo.brush().Color = row < rejilla.fixedRows() || col == 0 ? plat::clBtnFace : plat::clWindow;
    lienzo.FillRect(rect);
    QFont fuente = rejilla.font();
    fuente.setBold(negrita);
    lienzo.setFont(fuente);
    lienzo.font().Color = color;
    lienzo.brush().Style = plat::bsClear;
    lienzo.TextRect(rect, rect.left() + 2, rect.top() + 2, texto);
}
