#include "GENEW/runtime/AperturaTablasFormulario.h"

#include "GENEW/runtime/AvisoServidorAusente.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Components.h"
#include "platform/ui/data/DataSetComponents.h"

namespace {

bool esParametrosGenerales(const QString &tabla)
{
    return tabla.section(u'.', -1).compare(QLatin1String("PARAGENE"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool AbrirTablasFormulario(plat::ComponentOwner &formulario)
{
    TfGENEINIC &inicio = *fGENEINIC;
    const QString propietario = formulario.ownerObject()->objectName();
    plat::WaitCursor cursor;
    bool todasCreadas = true;
    const QList<QObject *> componentes = formulario.components();
    for (QObject *componente : componentes) {
        auto *tablaComponente = qobject_cast<plat::TableComponent *>(componente);
        if (!tablaComponente || tablaComponente->tableName().isEmpty())
            continue;
        plat::TableDataSet *tabla = &tablaComponente->table();
        const QString nombre = tabla->tableName();
        if (esParametrosGenerales(nombre) && inicio.Conexiones().EmpresaActual == 0)
            continue;
        tabla->close();
        plat::Connection &conexion = EsTablaGeneral(nombre) ? inicio.DatabaseGeneral() : inicio.Database();
        tabla->setDatabaseName(conexion.databaseName());
        tabla->setConnection(&conexion);
        DataSetAbribleDe<plat::TableDataSet> abrible(*tabla, propietario);
        gp::Fallo fallo = gp::capturarFallo([&] { tabla->open(); });
        if (!fallo)
            continue;
        if (fallo.tipo == gp::DatabaseErrorKind::MissingTable) {
            bool creada = false;
            try {
                creada = inicio.CrearTablaDataSet(abrible);
            } catch (const gp::Abort &) {
                creada = false;   // the creation has said why
            }
            // Creation answers false for a table that exists: another program opening the same
            // window may have made it since the opening above. Opening again tells.
            fallo = gp::capturarFallo([&] { tabla->open(); });
            if (!fallo)
                continue;
            if (!creada) {
                todasCreadas = false;   // the creation has said why
                continue;
            }
        }
        // A server away is no fault of the table: told once, and the program goes on.
        if (fallo.tipo == gp::DatabaseErrorKind::ConnectionLost) {
            AvisoServidorAusente::delPrograma().avisar(fallo.mensaje);
            continue;
        }
        inicio.MostrarMensaje(QStringLiteral("E"), QStringLiteral("TRADUCIR: ") + fallo.mensaje + QStringLiteral(" Tabla: ") + nombre
                                                       + u'(' + tablaComponente->objectName() + u')' + QStringLiteral(" DataBase: ")
                                                       + tabla->databaseName());
        inicio.RepararTablas(&abrible, fallo.mensaje, nullptr);
    }
    if (inicio.Conexiones().esSQLServer() && !inicio.Database().inTransaction()) {
        inicio.Database().startTransaction();
        inicio.Database().commit();
    }
    return todasCreadas;
}
