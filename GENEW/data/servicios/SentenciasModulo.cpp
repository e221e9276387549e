#include "GENEW/data/servicios/SentenciasModulo.h"

#include "GENEW/runtime/RespuestaSQL.h"

#include "GENEW/runtime/comun/Rutinas.h"
#include "GENEW/runtime/comun/RutinasSQL.h"

#include <QDateTime>

namespace {

const QChar PuntoMedio(0x00B7);

bool esFecha(TFieldType tipo)
{
    return tipo == ftDate || tipo == ftDateTime;
}

} // namespace

RegistroTexto LeerRegistroTexto(const QString &texto)
{
    RegistroTexto registro;
    const QStringList lineas = DividirLineas(texto);
    if (lineas.isEmpty())
        return registro;
    registro.tabla = lineas.first().trimmed();
    for (qsizetype i = 1; i < lineas.size(); ++i) {
        const QString &linea = lineas.at(i);
        const qsizetype igual = linea.indexOf(u'=');
        if (igual <= 0)
            continue;
        QString valor = linea.mid(igual + 1);
        if (valor.isEmpty())
            continue;
        valor.replace(PuntoMedio, QStringLiteral("\r\n"));
        registro.campos.append({linea.left(igual), valor});
    }
    return registro;
}

QString SentenciaInsertarRegistro(const QString &texto)
{
    const RegistroTexto registro = LeerRegistroTexto(texto);
    QStringList nombres;
    QStringList valores;
    for (const auto &[nombre, valor] : registro.campos) {
        nombres.append(nombre);
        valores.append(Entrecomillar(valor));
    }
    return QStringLiteral("INSERT INTO ") + registro.tabla + QStringLiteral(" (") + nombres.join(QStringLiteral(", "))
        + QStringLiteral(") ") + QStringLiteral(" VALUES (") + valores.join(QStringLiteral(", ")) + QStringLiteral(") ");
}

QString SentenciaGrabarMemos(const QString &tabla, const QList<CampoSentencia> &memos,
                             const QList<CampoSentencia> &claves)
{
    if (memos.isEmpty() || claves.isEmpty())
        return QString();
    QStringList asignaciones;
    for (const CampoSentencia &memo : memos)
        asignaciones.append(memo.nombre + QStringLiteral(" = ") + Entrecomillar(TextoValorSQL(memo.valor, memo.tipo)));
    // An empty memo is written as NULL.
    const QString set = SustituirFueraDeLiterales(asignaciones.join(QStringLiteral(", ")), QStringLiteral(" = ''"),
                                                  QStringLiteral(" = NULL"));
    QStringList condiciones;
    for (const CampoSentencia &clave : claves) {
        const QString valor = esFecha(clave.tipo) ? ValorASQL(QVariant(clave.valor.toDateTime()))
                                                  : Entrecomillar(TextoValorSQL(clave.valor, clave.tipo));
        condiciones.append(clave.nombre + QStringLiteral(" = ") + valor);
    }
    return QStringLiteral("UPDATE ") + tabla + QStringLiteral("  SET ") + set + QStringLiteral("  WHERE ")
        + condiciones.join(QStringLiteral(" AND "));
}

QString ColumnasTablaTemporalConsulta(const QList<CampoSentencia> &campos)
{
    QString columnas;
    for (const CampoSentencia &campo : campos) {
        columnas += campo.nombre;
        switch (campo.tipo) {
        case ftString:
            columnas += QStringLiteral(" VARCHAR(") + QString::number(campo.tamano) + QStringLiteral(") DEFAULT ''");
            break;
        case ftSmallint:
            columnas += QStringLiteral(" SMALLINT DEFAULT 0");
            break;
        case ftInteger:
        case ftWord:
            columnas += QStringLiteral(" INTEGER DEFAULT 0");
            break;
        case ftAutoInc:
            columnas += QStringLiteral(" INTEGER IDENTITY(1,1)");
            break;
        case ftDate:
        case ftTime:
        case ftDateTime:
            columnas += QStringLiteral(" DATETIME DEFAULT '") + ajustesComunes().FechaCeroSQL + u'\'';
            break;
        case ftFloat:
        case ftCurrency:
        case ftBCD:
            if (campo.nombre == QLatin1String("Cambio") || campo.nombre.contains(QStringLiteral("Factor")))
                columnas += QStringLiteral(" DECIMAL(28,12) DEFAULT 0");
            else
                columnas += QStringLiteral(" DECIMAL(28,8) DEFAULT 0");
            break;
        case ftMemo:
        case ftFmtMemo:
            columnas += QStringLiteral(" TEXT");
            break;
        case ftGraphic:
        case ftBlob:
        case ftBytes:
        case ftVarBytes:
        case ftTypedBinary:
            columnas += QStringLiteral(" IMAGE");
            break;
        default:
            break;
        }
        columnas += campo.requerido ? QStringLiteral(", ") : QStringLiteral(" NULL, ");
    }
    return columnas;
}

SentenciasTablaTemporal SentenciasTablaTemporalConsulta(const QString &nombre, const QString &baseDatosGeneral,
                                                         const QList<CampoSentencia> &campos,
                                                         const QString &textoConsulta)
{
    const QString tablaGeneral = baseDatosGeneral + QStringLiteral(".dbo.") + nombre;
    SentenciasTablaTemporal sentencias;
    sentencias.borrar = QStringLiteral("DROP TABLE ") + nombre;
    sentencias.crear = QStringLiteral("CREATE TABLE ") + nombre + QStringLiteral(" (")
        + ColumnasTablaTemporalConsulta(campos) + u')';
    sentencias.insertar = QStringLiteral("INSERT INTO ") + tablaGeneral + u' ' + textoConsulta;
    sentencias.consultar = QStringLiteral("SELECT * FROM ") + tablaGeneral;
    return sentencias;
}
