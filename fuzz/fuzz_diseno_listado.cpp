// Arbitrary request texts of the run-time listing over a generated field list: the column
// widths are never negative and never pass the printable width, the card lines per column
// are at least one, and the text readers never crash.
#include "GENEW/reporting/informes/DisenoListado.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const int campos = data[0] % 64;
    const int anchos[] = {750, 1047, 1511, 0, 3};
    const int ancho = anchos[data[1] % 5];
    const int columnasFicha = int(int8_t(data[2]));
    const uint8_t ocultos = data[3];
    const QStringList textos =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 4), qsizetype(size - 4)).split(QChar(u'\0'));
    const QString formato = textos.value(0), sumatorios = textos.value(1), grupos = textos.value(2);
    const QStringList instrucciones = textos.value(3).split(u'\n');

    const QVector<double> pesos = pesosFormatoColumnas(formato, campos);
    if (pesos.size() != campos)
        std::abort();
    QVector<double> visibles;
    for (int i = 0; i < campos; ++i)
        if (!(ocultos & (1u << (i % 8))))
            visibles << pesos[i];
    const QVector<GeometriaColumna> columnas = geometriaColumnas(visibles, ancho);
    long long ocupado = 0;
    for (const GeometriaColumna &c : columnas) {
        if (c.ancho < 0 || c.izquierda < 0 || c.izquierda + c.ancho > ancho)
            std::abort();
        ocupado = c.izquierda + c.ancho + 2;
    }
    if (!columnas.isEmpty() && ocupado > ancho + 2)
        std::abort();

    const GeometriaFicha ficha = geometriaFicha(int(visibles.size()), campos - 1, columnasFicha, ancho);
    if (ficha.lineasPorColumna < 1 || ficha.columnas < 1)
        std::abort();
    for (int k = 0; k < visibles.size(); ++k)
        if (ficha.izquierda(k) < 0)
            std::abort();

    const SumatoriosListado sumas(sumatorios);
    const QStringList nombres = nombresGrupo(grupos);
    for (int i = 0; i < campos; ++i) {
        const QString campo = QStringLiteral("Campo%1").arg(i);
        (void)sumas.suma(campo);
        (void)esCampoDeGrupo(nombres, campo);
        (void)alinearDerechaPorInstruccion(instrucciones, campo);
    }
    (void)filaEnNegrita(instrucciones);
    if (altoMemoRestricciones(int(size), data[0] & 1) < 30)
        std::abort();
    return 0;
}
