#include "projects/comun/PeticionImpreso.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/data/DataSetComponents.h"

Gancho<ImprimirPeticionFn> &ganchoImprimirPeticion()
{
    static Gancho<ImprimirPeticionFn> gancho([](const PeticionImpreso &peticion) {
        TablasPeticion tablas(peticion);
        rellenarPeticion(peticion, tablas.documentos(), tablas.lineas());
    });
    return gancho;
}

void crearTablaPeticion(plat::TableComponent &tabla, const QString &definicion, const QString &propietario)
{
    DataSetAbribleDe<plat::TableDataSet> abrible(tabla.table(), propietario);
    if (!fGENEINIC->CrearTabla(abrible, definicion, 1) || !tabla.table().active())
        throw gp::Error(QStringLiteral("No se pudo crear la tabla temporal del impreso"));
}

void enlazarLineas(const PeticionImpreso &peticion, plat::TableDataSet &documentos, plat::TableDataSet &lineas)
{
    lineas.setIndexFieldNames(peticion.indiceLineas);
    lineas.setMasterSource(&documentos, peticion.campoMaestroLineas);
}

namespace {

void borrarTabla(plat::TableComponent *componente)
{
    if (!componente)
        return;
    try {
        plat::TableDataSet &t = componente->table();
        const bool creada = t.active();
        t.close();
        if (creada && t.connection() && !t.tableName().isEmpty())
            t.connection()->dropTable(t.tableName());
    } catch (const std::exception &) {
        // The tables are the run's own; one that cannot be removed is left behind.
    }
}

} // namespace

TablasPeticion::TablasPeticion(const PeticionImpreso &peticion)
    : documentos_(std::make_unique<plat::TableComponent>()), lineas_(std::make_unique<plat::TableComponent>())
{
    try {
        crearTablaPeticion(*documentos_, peticion.definicionDocumentos);
        crearTablaPeticion(*lineas_, peticion.definicionLineas);
        enlazarLineas(peticion, documentos(), lineas());
    } catch (...) {
        borrarTabla(lineas_.get());
        borrarTabla(documentos_.get());
        throw;
    }
}

TablasPeticion::~TablasPeticion()
{
    lineas().setMasterSource(nullptr, QString());
    borrarTabla(lineas_.get());
    borrarTabla(documentos_.get());
}

plat::TableDataSet &TablasPeticion::documentos() const { return documentos_->table(); }
plat::TableDataSet &TablasPeticion::lineas() const { return lineas_->table(); }

void rellenarPeticion(const PeticionImpreso &peticion, plat::TableDataSet &documentos, plat::TableDataSet &lineas)
{
    plat::Connection *conexion = documentos.connection();
    if (!conexion)
        throw gp::Error(QStringLiteral("La tabla temporal del impreso no está abierta"));
    conexion->startTransaction();
    try {
        peticion.rellenar(documentos, lineas);
        conexion->commit();
    } catch (...) {
        try {
            conexion->rollback();
        } catch (const std::exception &) {
            // The fill's own failure is the one to report.
        }
        throw;
    }
}

void copiarCamposPorNombre(const plat::TableDataSet &origen, plat::TableDataSet &destino)
{
    for (int i = 0; i < origen.fieldCount(); ++i) {
        const plat::Field &campo = origen.field(i);
        plat::Field *columna = destino.findField(campo.fieldName());
        if (!columna)
            continue;
        if (campo.isNull() || (campo.isDateTime() && !campo.asDateTime().isValid())) {
            columna->clear();
            continue;
        }
        if (columna->dataType() == ftString || columna->dataType() == ftMemo) {
            QString texto = campo.asString();
            if (columna->dataType() == ftString && columna->size() > 0)
                texto.truncate(columna->size());
            columna->setAsString(texto);
        } else if (campo.asString().isEmpty()) {
            columna->clear();
        } else {
            columna->setValue(campo.value());
        }
    }
}

void abrirImpresosDelTipo(plat::TableComponent &impreso, const QString &tipoDocumento)
{
    plat::TableDataSet &tabla = impreso.table();
    tabla.setIndexName(ModuloDatos->NombreIndice(tabla, QStringLiteral("Clave2")));
    tabla.setRange({tipoDocumento}, {tipoDocumento});
    tabla.first();
}

ListadoEnCurso::ListadoEnCurso(bool &ocupado, QObject *barraEstado) : ocupado_(ocupado), barraEstado_(barraEstado)
{
    ocupado_ = true;
    fGENEINIC->ConfigurarBarraEstado(barraEstado_, QStringLiteral("Creando informe..."));
    plat::application().processMessages();
}

ListadoEnCurso::~ListadoEnCurso()
{
    fGENEINIC->ConfigurarBarraEstado(barraEstado_, QString());
    ocupado_ = false;
}

void lanzarListado(QObject *ventana, bool &ocupado, QObject *barraEstado, const QString &codigoImpreso,
                   const std::function<void()> &generar)
{
    if (ocupado)
        return;
    if (codigoImpreso.isEmpty()) {
        MensajeAviso(QStringLiteral("¡Debe definir el Formato del Impreso"));
        return;
    }
    ListadoEnCurso enCurso(ocupado, barraEstado);
    plat::application().guard(ventana, generar);
}
