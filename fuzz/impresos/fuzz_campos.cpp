// The field commands' texts come from layouts: the expression reader, the join reader, the
// field-name options and the float formats must take any text. The input is an expression
// and a format, separated by a NUL byte.
#include "GENEW/reporting/impresos/TextosCampo.h"
#include "platform/data/ValueText.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> piezas =
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    const QString texto = QString::fromUtf8(piezas.value(0));
    const QString formato = QString::fromUtf8(piezas.value(1));

    const double valor = EvaluarExpresion(texto, [](const QString &termino) { return double(termino.size()); });
    const QString unido = ConcatenarElementos(texto, [](const QString &nombre) { return nombre; });
    if (unido.size() > texto.size())
        __builtin_trap();   // a field stands for itself here, so nothing is added
    const NombreCampoImpreso nombre = LeerNombreCampo(texto);
    if (nombre.campo.size() > texto.size() || nombre.pieza < 0)
        __builtin_trap();
    PiezaTexto(texto, nombre.pieza);
    const QString seccion = FormatoReal(formato, texto.left(8), formato.left(8), QStringLiteral("#,##0.00"));
    for (const double v : {std::isfinite(valor) ? valor : 0.0, -1234.5, 0.0, 0.5})
        plat::formatFloat(seccion, v);
    LlenarParrafo(texto, int(formato.size()), [](const QString &linea) { return int(linea.size()); });
    return 0;
}
