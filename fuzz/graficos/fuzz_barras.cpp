// A barcode of any type, text bytes, size, resolution and switches drawn on a page image: the
// plan and the painting must never crash, hang or draw from a plan that says it drew nothing.
// Input: type, flags, width (2 bytes), height, resolution (2 bytes), then the text (Latin-1).
#include "fuzz/SupresionFugasQt.h"
#include "GENEW/reporting/graficos/PintorBarras.h"
#include "GENEW/reporting/graficos/PlanBarras.h"
#include "platform/ui/Canvas.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 7)
        return 0;
    PeticionBarras p;
    p.tipo = TBarCodeType(data[0] % kNumeroTiposCodigoBarras);
    const uint8_t opciones = data[1];
    p.clearZone = opciones & 1;
    p.autoSizing = opciones & 2;
    p.autoPosition = opciones & 4;
    p.lienzoPropio = opciones & 8;
    p.magnification = 0.2 + (opciones >> 4) * 0.125;
    const int ancho = data[2] | (data[3] << 8);
    const int alto = data[4];
    const int resolucion = (data[5] | (data[6] << 8)) % 2400;
    p.limitesControl = QRect(opciones & 16 ? 13 : 0, 7, ancho, alto);
    p.resolucionX = p.resolucionY = std::max(resolucion, 5);
    p.pixelesPantalla = 96;
    p.texto = QString::fromLatin1(reinterpret_cast<const char *>(data + 7), qsizetype(size - 7));
    plat::Bitmap pagina(600, 300);
    p.derechaRecorte = pagina.width();
    const PlanBarras plan = planificarBarras(p);
    if (plan.resultado != PlanBarras::Resultado::Dibujo && !plan.elementos.empty())
        __builtin_trap();
    pintarBarras(plan, pagina.canvas(), plat::clBlack, plat::clWhite, p.lienzoPropio ? QRect(0, 0, ancho, alto) : QRect());
    return 0;
}
