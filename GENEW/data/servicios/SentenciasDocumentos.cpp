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

QString Insertar(const QString &tabla, const QString &clave, const QString &nombre, const QString &ubicacion,
                 const QString &descripcion)
{
    QString texto = descripcion;
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("·")).replace(u'\n', u'·').replace(u'\r', u'·');
    texto.replace(QStringLiteral("·"), QStringLiteral("\r\n"));
    const QList<QPair<QString, QString>> columnas = {{QStringLiteral("NombreTabla"), tabla},
                                                     {QStringLiteral("ClaveTabla"), clave},
                                                     {QStringLiteral("Nombre"), nombre},
                                                     {QStringLiteral("Ubicacion"), ubicacion},
                                                     {QStringLiteral("Descripcion"), texto}};
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
