#include "projects/EjecutorIntercambioSQL.h"

#include "platform/base/Errores.h"
#include "platform/data/engine/Connection.h"

using intercambio::AccionPaso;
using intercambio::PasoIntercambio;

namespace {

QString Condicion(const PasoIntercambio &paso)
{
    QString texto = paso.columna + QStringLiteral(" = :valor");
    if (!paso.condicion.isEmpty())
        texto += QStringLiteral(" AND ") + paso.condicion;
    return texto;
}

bool Numerico(TFieldType tipo)
{
    switch (tipo) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return true;
    default:
        return false;
    }
}

} // namespace

void EjecutorIntercambioSQL::iniciar() { db_.startTransaction(); }

void EjecutorIntercambioSQL::confirmar() { db_.commit(); }

void EjecutorIntercambioSQL::cancelar() { db_.rollback(); }

bool EjecutorIntercambioSQL::existeOperario(qint64 codigo)
{
    return db_.scalar(QStringLiteral("SELECT Codigo FROM OPERARIO WHERE Codigo = :codigo"),
                      {{QStringLiteral("codigo"), codigo}})
        .isValid();
}

bool EjecutorIntercambioSQL::ejecutar(const PasoIntercambio &paso, QStringList &incidencias)
{
    if (AlProcesar)
        AlProcesar(QStringLiteral("Procesando %1 %2 tabla %3").arg(paso.columna, paso.valor, paso.tabla));
    return paso.accion == AccionPaso::Eliminar ? eliminar(paso, incidencias) : reemplazar(paso, incidencias);
}

QVariant EjecutorIntercambioSQL::valorColumna(const QString &tabla, const QString &columna, const QString &codigo)
{
    for (const plat::FieldDef &campo : db_.columns(tabla))
        if (campo.name.compare(columna, Qt::CaseInsensitive) == 0)
            return Numerico(campo.type) ? QVariant(codigo.toLongLong()) : QVariant(codigo);
    throw gp::DatabaseError(QStringLiteral("Field '%1' not found").arg(columna));
}

bool EjecutorIntercambioSQL::reemplazar(const PasoIntercambio &paso, QStringList &incidencias)
{
    // A listed table this company does not have holds no operator.
    if (!db_.tableExists(paso.tabla))
        return true;
    QStringList claves;
    QList<QVariantList> filas;
    QVariant nuevo;
    try {
        const QVariant valor = valorColumna(paso.tabla, paso.columna, paso.valor);
        nuevo = valorColumna(paso.tabla, paso.columna, paso.nuevoValor);
        claves = db_.keyFields(paso.tabla);
        const QVariantMap parametros{{QStringLiteral("valor"), valor}};
        if (claves.isEmpty()) {
            // No key to name each row: the matching rows are rewritten together.
            const QString sql = QStringLiteral("UPDATE %1 SET %2 = :nuevo WHERE %3")
                                    .arg(paso.tabla, paso.columna, Condicion(paso));
            try {
                db_.exec(sql, {{QStringLiteral("valor"), valor}, {QStringLiteral("nuevo"), nuevo}});
            } catch (const gp::DatabaseError &) {
                incidencias.append(QStringLiteral("¡Error grabando el dato %1 en la tabla %2!").arg(paso.valor, paso.tabla));
                return false;
            }
            return true;
        }
        const auto respuesta = db_.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                             .arg(claves.join(QStringLiteral(", ")), paso.tabla, Condicion(paso)),
                                         parametros);
        filas = respuesta.rows;
    } catch (const gp::Error &e) {
        incidencias.append(QStringLiteral("La tabla %1 no se puede procesar. Motivo: %2").arg(paso.tabla, e.mensaje()));
        return false;
    }
    QStringList porClave, nombres;
    for (int i = 0; i < claves.size(); ++i) {
        nombres.append(QStringLiteral("k%1").arg(i));
        porClave.append(claves[i] + QStringLiteral(" = :") + nombres.last());
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 = :nuevo WHERE %3")
                            .arg(paso.tabla, paso.columna, porClave.join(QStringLiteral(" AND ")));
    // One parameter map for every row: only the key values change.
    QVariantMap parametros{{QStringLiteral("nuevo"), nuevo}};
    for (const QVariantList &fila : filas) {
        for (int i = 0; i < claves.size(); ++i)
            parametros.insert(nombres[i], fila.value(i));
        try {
            db_.exec(sql, parametros);
        } catch (const gp::DatabaseError &) {
            incidencias.append(QStringLiteral("¡Error grabando el dato %1 en la tabla %2!").arg(paso.valor, paso.tabla));
            return false;
        }
    }
    return true;
}

bool EjecutorIntercambioSQL::eliminar(const PasoIntercambio &paso, QStringList &incidencias)
{
    try {
        db_.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(paso.tabla, Condicion(paso)),
                 {{QStringLiteral("valor"), valorColumna(paso.tabla, paso.columna, paso.valor)}});
        return true;
    } catch (const gp::Error &) {
        incidencias.append(QStringLiteral("¡Error eliminando el dato %1 en la tabla %2!").arg(paso.valor, paso.tabla));
        return false;
    }
}
