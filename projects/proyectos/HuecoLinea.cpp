#include "projects/proyectos/HuecoLinea.h"

#include "platform/data/engine/Connection.h"

#include <utility>

void HuecoLinea::abrir(plat::Connection &conexion, const QString &tabla, const QString &proyecto, int linea)
{
    anular();
    conexion.startTransaction();
    conexion_ = &conexion;
    try {
        // Highest first, so that no number is held by two lines at any moment.
        const plat::QueryResult lineas =
            conexion.query(QStringLiteral("SELECT Linea FROM %1 WHERE CodigoProyecto = :proyecto AND Linea >= :desde "
                                          "ORDER BY Linea DESC")
                               .arg(tabla),
                           {{QStringLiteral("proyecto"), proyecto}, {QStringLiteral("desde"), linea}});
        for (const QVariantList &fila : lineas.rows) {
            const int numero = fila.value(0).toInt();
            conexion.exec(QStringLiteral("UPDATE %1 SET Linea = :nueva WHERE CodigoProyecto = :proyecto AND Linea = :linea")
                              .arg(tabla),
                          {{QStringLiteral("nueva"), numero + 1},
                           {QStringLiteral("proyecto"), proyecto},
                           {QStringLiteral("linea"), numero}});
        }
    } catch (...) {
        anular();
        throw;
    }
}

void HuecoLinea::confirmar()
{
    if (plat::Connection *conexion = std::exchange(conexion_, nullptr))
        conexion->commit();
}

void HuecoLinea::anular()
{
    if (plat::Connection *conexion = std::exchange(conexion_, nullptr); conexion && conexion->inTransaction())
        conexion->rollback();
}
