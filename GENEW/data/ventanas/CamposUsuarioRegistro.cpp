// The user-defined fields of a record (Ctrl+numpad "+"), edited in the field viewer.
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/TablaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/HeldUntilChanged.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/Grids.h"
#include "platform/ui/data/DataSetComponents.h"

#include <memory>
#include <optional>

namespace {

// The table goes to the dataset's own database: its connection, or the name that gives it.
template <class D>
void ponerBaseDatos(plat::TableDataSet &tabla, const D &origen)
{
    tabla.setDatabaseName(origen.databaseName());
    if (origen.connection())
        tabla.setConnection(origen.connection());
}

void ponerBaseDatosDe(plat::TableDataSet &tabla, plat::DataSet &dataSet)
{
    if (auto *origen = dynamic_cast<plat::TableDataSet *>(&dataSet))
        ponerBaseDatos(tabla, *origen);
    else if (auto *consulta = dynamic_cast<plat::QueryDataSet *>(&dataSet))
        ponerBaseDatos(tabla, *consulta);
}

// Positions the table on the record the dataset shows, by the table's key fields by name.
bool situarEnRegistro(plat::TableDataSet &tabla, plat::DataSet &dataSet)
{
    const QStringList clave = tabla.indexFields();
    if (clave.isEmpty())
        return false;
    QVariantList valores;
    for (const QString &campo : clave) {
        const plat::Field *origen = dataSet.findField(campo);
        if (!origen)
            return false;
        valores << origen->value();
    }
    return tabla.findKey(valores);
}

QString valorMostrado(const plat::Field &campo, const QString &tipo)
{
    if (tipo == QStringLiteral("Fecha") && campo.fieldName().contains(QStringLiteral("HORA"), Qt::CaseInsensitive))
        return FormatearFechaHora(QStringLiteral("hh:nn:ss"), campo.asDateTime());
    if (tipo == QStringLiteral("Numerico"))
        return plat::formatFloat(fGENEINIC->ObtenerFormatoNumerico(campo.fieldName()), campo.asFloat());
    return campo.asString();
}

// Writes the viewer's values into the record; false (after the warning) when the record
// could not be saved, the record then left as stored.
bool grabarCamposUsuario(plat::TableDataSet &registro, const plat::StringGrid &rejilla)
{
    try {
        registro.edit();
        for (int fila = 1; fila < rejilla.rowCount(); ++fila) {
            const QString nombre = rejilla.cell(0, fila);
            const QString valor = rejilla.cell(1, fila);
            try {
                plat::Field &campo = registro.fieldByName(nombre);
                const bool flotante = campo.dataType() == ftFloat || campo.dataType() == ftCurrency;
                campo.setAsString(flotante ? QString(valor).remove(u'.') : valor);
            } catch (const gp::Error &) {
                MensajeAviso(QStringLiteral("¡El valor ") + AbreviarNombreCampo(nombre, 1) + QStringLiteral(" = ") + valor
                             + QStringLiteral(" es incorrecto!"));
            }
        }
        registro.post();
        return true;
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!"));
        if (registro.state() == plat::DataSetState::Edit)
            registro.cancel();
        return false;
    }
}

// A row of CAMPOUSR: a user field of a table.
struct CampoUsuario
{
    QString tabla;   // as NombreTablaSQL names it
    QString nombre;
    QString tipo;
};
using CamposUsuario = std::optional<QVector<CampoUsuario>>;   // nullopt: not read

// CAMPOUSR's rows, read once and kept until the program changes the table or the general
// connection turns to another database; null when they cannot be read.
const QVector<CampoUsuario> *camposUsuarioDefinidos()
{
    static plat::HeldUntilChanged<CamposUsuario> leidos;
    plat::Connection &general = fGENEINIC->DatabaseGeneral();
    CamposUsuario &campos = leidos.current(general, {QStringLiteral("CAMPOUSR")});
    if (campos)
        return &*campos;
    plat::TableDataSet definiciones(QStringLiteral("CamposUsuario"));
    definiciones.setConnection(&general);
    definiciones.setDatabaseName(general.databaseName());
    definiciones.setTableName(QStringLiteral("CAMPOUSR"));
    try {
        if (!ModuloDatos->AbrirTabla(definiciones))
            return nullptr;
        QVector<CampoUsuario> filas;
        for (definiciones.first(); !definiciones.eof(); definiciones.next())
            filas.append({ModuloDatos->NombreTablaSQL(definiciones.fieldByName(QStringLiteral("NombreTabla")).asString()),
                          definiciones.fieldByName(QStringLiteral("NombreCampo")).asString(),
                          definiciones.fieldByName(QStringLiteral("TipoCampo")).asString()});
        campos = std::move(filas);
    } catch (const gp::Error &) {
        return nullptr;
    }
    return &*campos;
}

} // namespace

void MostrarCamposUsuario(plat::DataSet &dataSet)
{
    if (!ModuloDatos || EsDataSetDeModuloDatos(dataSet))
        return;
    const QString tabla = TablaDeDataSet(dataSet);
    if (tabla.isEmpty())
        return;
    auto registro = std::make_unique<plat::TableDataSet>(QStringLiteral("TablaCamposUsuario"));
    ponerBaseDatosDe(*registro, dataSet);
    registro->setTableName(ModuloDatos->NombreTablaSQL(tabla));
    try {
        if (!ModuloDatos->AbrirTabla(*registro) || !situarEnRegistro(*registro, dataSet))
            return;
    } catch (const gp::Error &) {
        return;
    }

    const QVector<CampoUsuario> *definiciones = camposUsuarioDefinidos();
    if (!definiciones)
        return;

    ModoVisor = VisorCamposUsuario;
    auto visor = std::make_unique<TfGENEVLIS>();
    visor->afterConstruction();
    plat::StringGrid &rejilla = *visor->StringGrid;
    rejilla.setRowCount(1);
    rejilla.setCell(0, 0, QStringLiteral("Campo"));
    rejilla.setCell(1, 0, QStringLiteral("Valor"));
    const QString nombreTabla = ModuloDatos->NombreTablaSQL(tabla);
    for (const CampoUsuario &definicion : *definiciones) {
        const QString &nombreCampo = definicion.nombre;
        if (definicion.tabla != nombreTabla || ModuloDatos->EsCampoNoVisible(nombreCampo))
            continue;
        (void)gp::capturarFallo([&] {
            const QString valor = valorMostrado(registro->fieldByName(nombreCampo), definicion.tipo);
            const int fila = rejilla.rowCount();
            rejilla.setRowCount(fila + 1);
            rejilla.setCell(0, fila, nombreCampo);
            rejilla.setCell(1, fila, valor);
        });
    }
    // The viewer is for editing: its table is written through a dataset of its own.
    if (rejilla.rowCount() == 1 || !EscrituraAutorizada(dataSet))
        return;
    rejilla.setFixedRows(1);
    // A refused save shows the viewer again with what was typed, to be accepted again or
    // cancelled.
    while (visor->ShowModal() == plat::mrOk && !grabarCamposUsuario(*registro, rejilla)) {
    }
}
