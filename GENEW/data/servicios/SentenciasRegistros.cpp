#include "GENEW/data/servicios/SentenciasRegistros.h"

#include "GENEW/data/servicios/ClaveTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/engine/Dialect.h"

namespace sentenciasRegistros {

QString ExisteClave(const QString &tabla, const QStringList &camposClave, const QString &clave)
{
    QString sql = QStringLiteral("SELECT ") + camposClave.value(0) + QStringLiteral(" FROM ") + tabla
        + QStringLiteral("  WHERE 1=1 ");
    for (int i = 0; i < camposClave.size(); ++i)
        sql += QStringLiteral("  AND ") + camposClave.at(i) + QStringLiteral(" = ")
            + Entrecomillar(claveTexto::Pieza(clave, i));
    return sql;
}

QString LeerCampos(const QString &tabla, const QString &campos, const QStringList &camposClave, const QString &clave)
{
    QStringList condiciones;
    for (int i = 0; i < camposClave.size(); ++i) {
        const QString &campo = camposClave.at(i);
        const QString pieza = claveTexto::PiezaFechaSQL(claveTexto::Pieza(clave, i));
        condiciones << (pieza.isEmpty() ? QStringLiteral("(") + campo + QStringLiteral(" = ''") + QStringLiteral(" OR ")
                                              + campo + QStringLiteral(" IS NULL)")
                                        : QStringLiteral("(") + campo + QStringLiteral(" = ") + Entrecomillar(pieza)
                                              + QStringLiteral(")"));
    }
    QString sql = QStringLiteral("SELECT ") + QString(campos).replace(u';', QStringLiteral(", ")) + QStringLiteral(" FROM ")
        + tabla;
    if (!condiciones.isEmpty())
        sql += QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" AND "));
    return sql;
}

QString SiguienteCodigo(const plat::Dialect &dialecto, const QString &tabla, const QString &campoCodigo,
                        bool codigoTexto, int inferior, int superior, const QList<CondicionCodigo> &otrosCampos)
{
    QStringList condiciones;
    if (codigoTexto)
        condiciones << dialecto.isNumeric(campoCodigo) + QStringLiteral(" = 1");
    // A text code is compared as the number it holds: text against number is an error on
    // some engines and a comparison of texts on others.
    const QString valor = codigoTexto ? dialecto.castInteger(campoCodigo) : campoCodigo;
    if (inferior != -1)
        condiciones << valor + QStringLiteral(" >= ") + QString::number(inferior);
    if (superior != -1)
        condiciones << valor + QStringLiteral(" <= ") + QString::number(superior);
    for (const CondicionCodigo &otro : otrosCampos)
        condiciones << otro.campo + QStringLiteral("=") + otro.valorSQL;
    QString donde;
    if (!condiciones.isEmpty()) {
        for (QString &c : condiciones)
            c = QStringLiteral(" (") + c + QStringLiteral(") ");
        donde = QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" AND "));
    }
    const QString maximo = codigoTexto ? QStringLiteral("MAX(") + dialecto.castInteger(campoCodigo) + QStringLiteral(") ")
                                       : QStringLiteral("MAX(") + campoCodigo + QStringLiteral(") ");
    return QStringLiteral("SELECT ") + maximo + QStringLiteral(" FROM ") + tabla + dialecto.lockHint() + donde;
}

QString DocumentacionElectronica(const QString &tabla, const QString &clave)
{
    return QStringLiteral("SELECT NombreTabla FROM DOCUTRON   WHERE NombreTabla = ") + Entrecomillar(tabla)
        + QStringLiteral("    AND ClaveTabla = ") + Entrecomillar(clave);
}

QString CodigoOperarioPresencia(int codigo)
{
    return QStringLiteral("SELECT CodigoOperarioPresencia FROM PERSONAL   WHERE CodigoOperario = ")
        + QString::number(codigo);
}

QList<BorradoAsociado> BorrarAsociados(const QString &tabla, const QString &clave)
{
    const QString t = Entrecomillar(tabla);
    const QString k = Entrecomillar(clave);
    const QString kBarra = Entrecomillar(clave + u'|');
    const auto simple = [&](const char *lateral, const char *campoClave) {
        return QStringLiteral("DELETE FROM ") + QLatin1String(lateral) + QStringLiteral("   WHERE NombreTabla=") + t
            + QStringLiteral("  AND ") + QLatin1String(campoClave) + QStringLiteral("=") + k;
    };
    return {
        {QStringLiteral("DELETE FROM RESPDOC   WHERE NombreTabla=") + t + QStringLiteral("    AND ((ClaveTabla = ") + k
             + QStringLiteral(") ") + QStringLiteral("      OR (ClaveTabla = ") + kBarra + QStringLiteral(")) "),
         QStringLiteral("¡El registro de Responsabilidad Documental asociado no ha sido eliminado! Motivo: ")},
        {simple("DOCUTRON", "ClaveTabla"),
         QStringLiteral("¡El registro de Documentación Electrónica asociado no ha sido eliminado! Motivo: ")},
        {simple("BLOBTAB", "ClaveTabla"), QStringLiteral("¡El registro de BLOB asociado no ha sido eliminado! Motivo: ")},
        {simple("GRANTAB", "ClaveTabla"),
         QStringLiteral("¡El registro de G.A. de Tablas asociado no ha sido eliminado! Motivo: ")},
        {simple("CONTACTO", "CodigoTabla"),
         QStringLiteral("¡El registro de Contactos asociado no ha sido eliminado! Motivo: ")},
        {QStringLiteral("DELETE FROM RELACION   WHERE (NombreTablaA=") + t + QStringLiteral("  AND ClaveTablaA=") + k
             + QStringLiteral(") OR ") + QStringLiteral("      (NombreTablaB=") + t
             + QStringLiteral("       AND ClaveTablaB=") + k + QStringLiteral(")"),
         QStringLiteral("¡El registro de Relación asociado no ha sido eliminado! Motivo: ")},
    };
}

} // namespace sentenciasRegistros
