#include "GENEW/reporting/impresos/DocumentosWord.h"

namespace {
const QString kMarcaCampo = QStringLiteral("Camp=");
}

QList<TrabajoWord> TrabajosDocumentoWord(const QString &documentosAdjuntos, const QString &codigo,
                                         const ValorCampoDocumento &valorCampo)
{
    QList<TrabajoWord> trabajos;
    for (const QString &entrada : documentosAdjuntos.split(QLatin1Char(','))) {
        const qsizetype marca = entrada.indexOf(kMarcaCampo);
        if (marca < 0) {
            trabajos.append({codigo, entrada});
            continue;
        }
        const QString resto = entrada.mid(marca + kMarcaCampo.size());
        const qsizetype punto = resto.indexOf(QLatin1Char('.'));
        const QString campo = punto < 0 ? resto : resto.left(punto);
        const QString extension = punto < 0 ? QString() : resto.mid(punto + 1);
        const std::optional<QString> valor = valorCampo ? valorCampo(campo) : std::nullopt;
        if (valor)
            trabajos.append({codigo, entrada.left(marca) + *valor + QLatin1Char('.') + extension});
    }
    return trabajos;
}

