// The custom-report designer's texts: an "INFORME.TXT" export read back, and list items put
// through the designer's edits. The file's values never keep a "·" (each is a line break);
// a typed constant list is empty or a parenthesised list; the auto-fit of any widths fills
// its target exactly when the last column is visible and has room, never hiding a column;
// a title never breaks the item it names.
// Input: the file text, a NUL byte, items split at "|", a NUL byte, widths as bytes.
#include "fuzz/SupresionFugasQt.h"
#include "GENEW/reporting/EdicionInforme.h"

#include <cstdint>
#include <cstdlib>

using namespace edicionInforme;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> partes = bytes.split('\0');
    const InformeExportado informe = leerInformeExportado(QString::fromUtf8(partes.value(0)));
    for (const QString *valor : {&informe.descripcion, &informe.filtro, &informe.instrucciones})
        if (valor->contains(QStringLiteral("·")))
            std::abort();

    const QStringList items = QString::fromUtf8(partes.value(1)).split(u'|');
    QStringList columnas = items, restricciones = items, ordenacion = items, vinculos = items, grupos = items,
                sumatorios = items;
    for (const QString &item : items) {
        const QString lista = valorListaConstantes(item);
        if (!lista.isEmpty() && (!lista.startsWith(u'(') || !lista.endsWith(u')')))
            std::abort();
        const QString titulado = columnaConTitulo(item, item);
        if (!titulado.startsWith(item.left(1)))
            std::abort();
        propagarTitulo(item, titulado, {columnas, restricciones, ordenacion, vinculos, grupos, sumatorios});
        tituloColumna(titulado);
        referenciaColumna(titulado);
    }
    if (!items.isEmpty())
        quitarReferenciasTabla(items.first(), {columnas, restricciones, ordenacion, vinculos, grupos, sumatorios});

    QList<int> anchos;
    for (char c : partes.value(2))
        anchos << (static_cast<signed char>(c) < 0 ? -1 : int(c) * 4);
    const int objetivo = 190 * 3;
    const QList<int> ajustados = autoajustar(anchos, objetivo);
    qint64 total = -1;
    qint64 visibles = 0;
    for (int i = 0; i < ajustados.size(); ++i) {
        if ((ajustados[i] < 0) != (anchos[i] < 0) || (anchos[i] >= 0 && ajustados[i] < 1))
            std::abort();
        if (ajustados[i] >= 0) {
            total += ajustados[i] + 1;
            ++visibles;
        }
    }
    qint64 antes = -1;
    for (int a : anchos)
        if (a >= 0)
            antes += a + 1;
    // Exact unless the last column had to keep its one pixel (the gaps alone overrun the target).
    if (visibles && antes > 0 && !anchos.isEmpty() && anchos.last() >= 0
        && (total < objetivo || (total > objetivo && ajustados.last() != 1)))
        std::abort();
    return 0;
}
