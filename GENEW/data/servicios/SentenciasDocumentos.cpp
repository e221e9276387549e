#include "GENEW/data/servicios/SentenciasDocumentos.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

namespace sentenciasDocumentos {

namespace {

QString documento(const QString &tabla, const QString &clave)
{
    return QStringLiteral("WHERE NombreTabla = ") + Entrecomillar(tabla) + QStringLiteral("    AND ClaveTabla = ")
        + Entrecomillar(clave);
}

QString documento(const QString &tabla, const QString &clave, const QString &nombre)
{
    return documento(tabla, clave) + QStringLiteral("    AND Nombre = ") + Entrecomillar(nombre);
}

// The texts a new row writes, by column, in the order of the insert.
QList<QPair<QString, QString>> columnasNuevas(const QString &tabla, const QString &clave, const QString &nombre,
                                              const QString &ubicacion)
{
    return {{QStringLiteral("NombreTabla"), tabla},
            {QStringLiteral("ClaveTabla"), clave},
            {QStringLiteral("Nombre"), nombre},
            {QStringLiteral("Ubicacion"), ubicacion}};
}

QString nombreDeColumna(const QString &columna)
{
    if (columna == QLatin1String("NombreTabla"))
        return QStringLiteral("el nombre de la tabla");
    if (columna == QLatin1String("ClaveTabla"))
        return QStringLiteral("la clave del registro");
    if (columna == QLatin1String("Nombre"))
        return QStringLiteral("el nombre");
    return QStringLiteral("la ubicación");
}

} // namespace

QString Documentos(const QString &tabla, const QString &clave)
{
    return QStringLiteral("SELECT Nombre, Ubicacion, Descripcion FROM DOCUTRON   ") + documento(tabla, clave);
}

QString Descripcion(const QString &tabla, const QString &clave, const QString &nombre)
{
    return QStringLiteral("SELECT Descripcion FROM DOCUTRON   ") + documento(tabla, clave, nombre);
}

QString Eliminar(const QString &tabla, const QString &clave, const QString &nombre)
{
    return QStringLiteral("DELETE DOCUTRON   ") + documento(tabla, clave, nombre);
}

QString ActualizarDescripcion(const QString &tabla, const QString &clave, const QString &nombre,
                              const QString &descripcion)
{
    return QStringLiteral("UPDATE DOCUTRON   SET Descripcion = ") + Entrecomillar(descripcion) + QStringLiteral("  ")
        + documento(tabla, clave, nombre);
}

QString Navegar(Movimiento movimiento, const QString &tabla, const QString &clave)
{
    QString sql = QStringLiteral("SELECT TOP 1 ClaveTabla FROM DOCUTRON   WHERE NombreTabla = ") + Entrecomillar(tabla);
    switch (movimiento) {
    case Movimiento::Primero:
        return sql + QStringLiteral("  ORDER BY NombreTabla, ClaveTabla");
    case Movimiento::Ultimo:
        return sql + QStringLiteral("  ORDER BY NombreTabla, ClaveTabla DESC");
    case Movimiento::Siguiente:
        return sql + QStringLiteral("    AND ClaveTabla > ") + Entrecomillar(clave)
            + QStringLiteral("  ORDER BY NombreTabla, ClaveTabla");
    case Movimiento::Anterior:
        return sql + QStringLiteral("    AND ClaveTabla < ") + Entrecomillar(clave)
            + QStringLiteral("  ORDER BY NombreTabla, ClaveTabla DESC");
    }
    return sql;
}

QString DireccionCorreo(const QString &tabla, qint64 codigo)
{
    return QStringLiteral("SELECT DirecCorreoElectronico FROM ") + tabla + QStringLiteral("  WHERE Codigo = ")
        + QString::number(codigo);
}

QString MotivoNoCabe(const QString &tabla, const QString &clave, const QString &nombre, const QString &ubicacion,
                     const QHash<QString, int> &anchos)
{
    for (const auto &[columna, valor] : columnasNuevas(tabla, clave, nombre, ubicacion)) {
        const int ancho = anchos.value(columna.toLower());
        // The engines count characters, not the UTF-16 units of a QString.
        const qsizetype caracteres = valor.toUcs4().size();
        if (ancho > 0 && caracteres > ancho)
            return QStringLiteral("%1 tiene %2 caracteres y el campo admite %3")
                .arg(nombreDeColumna(columna))
                .arg(caracteres)
                .arg(ancho);
    }
    return QString();
}

QString Insertar(const QString &tabla, const QString &clave, const QString &nombre, const QString &ubicacion,
                 const QString &descripcion)
{
    QString texto = descripcion;
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("·")).replace(u'\n', u'·').replace(u'\r', u'·');
    texto.replace(QStringLiteral("·"), QStringLiteral("\r\n"));
    QList<QPair<QString, QString>> columnas = columnasNuevas(tabla, clave, nombre, ubicacion);
    columnas.append({QStringLiteral("Descripcion"), texto});
    QStringList nombres, valores;
    for (const auto &[columna, valor] : columnas) {
        if (valor.isEmpty())
            continue;
        nombres << columna;
        valores << Entrecomillar(valor);
    }
    return QStringLiteral("INSERT INTO DOCUTRON (") + nombres.join(QStringLiteral(", ")) + QStringLiteral(")  VALUES (")
        + valores.join(QStringLiteral(", ")) + u')';
}

} // namespace sentenciasDocumentos
