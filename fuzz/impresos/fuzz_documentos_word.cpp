// The Word documents a layout lists come from its text and from the documents' own field
// names and values: any of them must give a sound job list. The input is the option's text,
// the document's code and "name=value" fields, separated by NUL bytes.
#include "GENEW/reporting/impresos/DocumentosWord.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> piezas =
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    const QString opcion = QString::fromUtf8(piezas.value(0));
    const QString codigo = QString::fromUtf8(piezas.value(1));
    QMap<QString, QString> campos;
    for (qsizetype i = 2; i < piezas.size(); ++i) {
        const QString campo = QString::fromUtf8(piezas.at(i));
        campos.insert(campo.section(QLatin1Char('='), 0, 0), campo.section(QLatin1Char('='), 1));
    }
    qsizetype valores = 0;
    for (const QString &valor : std::as_const(campos))
        valores += valor.size();

    const QList<TrabajoWord> trabajos =
        TrabajosDocumentoWord(opcion, codigo, [&campos](const QString &nombre) -> std::optional<QString> {
            const auto it = campos.constFind(nombre);
            return it == campos.cend() ? std::nullopt : std::optional<QString>(*it);
        });
    // At most one job an entry, every one for this document, no file longer than its entry
    // with the longest value in it.
    if (trabajos.size() > opcion.count(QLatin1Char(',')) + 1)
        __builtin_trap();
    for (const TrabajoWord &t : trabajos)
        if (t.codigo != codigo || t.fichero.size() > opcion.size() + valores + 1)
            __builtin_trap();
    return 0;
}
