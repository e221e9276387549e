#include "GENEW/data/modulo/CopiaClasificada.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/TextosListado.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"

#include <QScopeGuard>

namespace {

QVector<CampoListado> camposDe(const plat::DataSet &origen)
{
    QVector<CampoListado> campos;
    for (int i = 0; i < origen.fieldCount(); ++i) {
        const plat::Field &campo = origen.field(i);
        campos.append({campo.fieldName(), NombreTipoCampo(campo.dataType()), campo.size()});
    }
    return campos;
}

// A server's primary key takes no null: an empty key column gets its type's empty value
// (a zero date, which listings show blank; 0; false; ''), sorting before the others.
void vaciarClavesNulas(const QList<plat::Field *> &claves)
{
    for (plat::Field *campo : claves) {
        if (!campo->isNull())
            continue;
        if (campo->isDateTime())
            campo->setAsDateTime(FechaCero());
        else if (campo->dataType() == ftBoolean)
            campo->setAsBoolean(false);
        else if (campo->isNumeric())
            campo->setAsInteger(0);
        else
            campo->setAsString(QString());
    }
}

// Every row of the dataset, numbered from 1, in one transaction: all of them or none.
void llenar(plat::DataSet &origen, plat::TableDataSet &copia)
{
    plat::Connection *conexion = copia.connection();
    fGENEINIC->MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Clasificación de Registros"),
                               QStringLiteral("Clasificando..."));
    const auto cerrarProgreso = qScopeGuard([] { fGENEINIC->MostrarProgreso(QStringLiteral("OFF"), {}, {}); });
    bool abierta = fGENEINIC->IniciarTransaccion(conexion);
    try {
        plat::Field &contador = copia.fieldByName(QLatin1String(kContadorCopia));
        QList<plat::Field *> claves;
        for (const QString &nombre : copia.primaryKeyFields())
            claves << &copia.fieldByName(nombre);
        int numero = 0;
        for (origen.first(); !origen.eof(); origen.next()) {
            copia.append();
            ModuloDatos->CopiarCampos(origen, copia, QString());
            contador.setAsInteger(++numero);
            vaciarClavesNulas(claves);
            copia.post();
        }
    } catch (...) {
        if (copia.state() != plat::DataSetState::Browse)
            copia.cancel();
        if (abierta)
            fGENEINIC->CancelarTransaccion(conexion);
        throw;
    }
    if (abierta && !fGENEINIC->ConfirmarTransaccion(conexion))
        throw gp::Abort();   // the runtime has told why
}

} // namespace

bool CrearCopiaClasificada(plat::DataSet &origen, plat::TableDataSet &copia, const QString &propietario)
{
    BorrarCopiaClasificada(copia);
    if (!fGENEINIC || !ModuloDatos)
        return false;
    DataSetAbribleDe<plat::TableDataSet> abrible(copia, propietario);
    try {
        if (!fGENEINIC->CrearTabla(abrible, DefinicionCopiaClasificada(camposDe(origen)),
                                   fGENEINIC->Conexiones().EmpresaActual)) {
            BorrarCopiaClasificada(copia);
            return false;
        }
        if (!copia.active())
            copia.open();
        for (int i = 0; i < copia.fieldCount(); ++i) {
            plat::Field &campo = copia.field(i);
            // Keyed only to sort: an empty text or date is a value here.
            campo.required = false;
            if (const plat::Field *fuente = origen.findField(campo.fieldName()))
                campo.displayWidth = fuente->displayWidth;
        }
        copia.disableControls();
        const auto reactivar = qScopeGuard([&] { copia.enableControls(); });
        llenar(origen, copia);
        copia.first();
        return true;
    } catch (const gp::Abort &) {
    } catch (const gp::Error &e) {
        fGENEINIC->GestionExcepciones(nullptr, e);
    }
    BorrarCopiaClasificada(copia);
    return false;
}

void BorrarCopiaClasificada(plat::TableDataSet &copia)
{
    try {
        copia.close();
        if (!copia.tableName().isEmpty())
            copia.deleteTable();
    } catch (const gp::Error &) {
        // A temporary table that cannot be dropped now is left behind, not lost data.
    }
}
