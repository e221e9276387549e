#include "GENEW/reporting/impresos/CodigoBarrasImpreso.h"

#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "platform/ui/Canvas.h"

void PintorPrintBarcode::pintar(QImage &imagen, const Peticion &peticion)
{
    componente_.setAutoPosition(false);
    componente_.setAutoSizing(peticion.ajusteAutomatico);
    componente_.setBarCodeTypeNumber(peticion.tipo);
    componente_.setText(peticion.texto);
    if (peticion.aumento > 0)
        componente_.setMagnification(peticion.aumento);
    // The component's sizes are the picture's pixels.
    componente_.setPixelesPorPulgadaPantalla(peticion.resolucion);
    componente_.setGeometry(QRect(QPoint(0, 0), imagen.size()));
    plat::Canvas lienzo(&imagen);
    componente_.DrawBarcode(lienzo, peticion.resolucion);
}
