// The project master's tools: cut, copy and paste of chapter lines, renumbering and
// reordering, and the project's documents, duplication and copies.
#include "projects/proyectos/PROYPROY.h"

#include "GENEW/data/servicios/ClaveTexto.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/ListadoGrafico.h"
#include "projects/proyectos/PROYLPRO.h"
#include "projects/proyectos/Proymodu.h"

#include <QMap>
#include <QScopeGuard>

namespace {

const QString kCodigo = QStringLiteral("Codigo");
const QString kCodigoProyecto = QStringLiteral("CodigoProyecto");
const QString kLineaOcupada = QStringLiteral("¡La línea está siendo utilizada por otro usuario!");

// The names of the stored fields of a data set, in field order.
QStringList camposGuardados(const plat::DataSet &dataSet)
{
    QStringList nombres;
    for (int i = 0; i < dataSet.fieldCount(); ++i)
        if (!dataSet.field(i).isCalculated())
            nombres << dataSet.field(i).fieldName();
    return nombres;
}

// A line as the reorder holds it in memory: every stored value, typed, by field name.
using RegistroLinea = QMap<QString, QVariant>;

// The side tables that keep rows of a record under its "|" key, and the columns holding the
// table's name and the key.
struct ClaveLateralTabla
{
    const char *tabla;
    const char *columnaNombre;
    const char *columnaClave;
};
constexpr ClaveLateralTabla kLaterales[] = {
    {"RESPDOC", "NombreTabla", "ClaveTabla"},   {"DOCUTRON", "NombreTabla", "ClaveTabla"},
    {"BLOBTAB", "NombreTabla", "ClaveTabla"},   {"GRANTAB", "NombreTabla", "ClaveTabla"},
    {"CONTACTO", "NombreTabla", "CodigoTabla"}, {"RELACION", "NombreTablaA", "ClaveTablaA"},
    {"RELACION", "NombreTablaB", "ClaveTablaB"},
};

// Moves the side rows of each line from its old key to its new one, in the side tables the
// company has. Every row goes first to a key no line can have, so that a line taking a
// number another one leaves never meets that line's rows.
void moverLaterales(plat::Connection &conexion, const QString &tabla, const QList<std::pair<QString, QString>> &cambios)
{
    if (cambios.isEmpty())
        return;
    QList<const ClaveLateralTabla *> presentes;
    for (const ClaveLateralTabla &l : kLaterales)
        if (conexion.tableExists(ModuloDatos->NombreTablaSQL(QString::fromLatin1(l.tabla))))
            presentes << &l;
    const auto mover = [&](const QString &desde, const QString &hasta) {
        for (const ClaveLateralTabla *lateral : std::as_const(presentes)) {
            const ClaveLateralTabla &l = *lateral;
            const QString columna = QString::fromLatin1(l.columnaClave);
            const QString sentencia =
                QStringLiteral("UPDATE %1 SET %2 = :hasta WHERE %3 = :tabla AND %2 = :desde")
                    .arg(ModuloDatos->NombreTablaSQL(QString::fromLatin1(l.tabla)), columna, QString::fromLatin1(l.columnaNombre));
            conexion.exec(sentencia, {{QStringLiteral("hasta"), hasta}, {QStringLiteral("tabla"), tabla},
                                      {QStringLiteral("desde"), desde}});
            // The responsibility rows may carry the key with a closing "|".
            if (QLatin1String(l.tabla) == QLatin1String("RESPDOC"))
                conexion.exec(sentencia, {{QStringLiteral("hasta"), hasta + u'|'}, {QStringLiteral("tabla"), tabla},
                                          {QStringLiteral("desde"), desde + u'|'}});
        }
    };
    const QString apartado = QStringLiteral("\x01reorden\x01");
    for (const auto &[vieja, nueva] : cambios)
        mover(vieja, apartado + nueva);
    for (const auto &[vieja, nueva] : cambios)
        mover(apartado + nueva, nueva);
}

} // namespace

// ---- cut, copy and paste ---------------------------------------------------------------------

void TfPROYPROY::CopiarLnea1Click(QObject *)
{
    plat::DataSet &l = lineas();
    LineaPortapapeles = QVariant();
    if (l.active() && !ModuloDatos->EstaVacio(l) && l.state() != plat::DataSetState::Insert) {
        const QString clave = l.fieldByName(kCodigoProyecto).asString() + u';' + l.fieldByName(CampoLinea).asString();
        QVariant leido;
        LineaPortapapeles =
            ModuloDatos->LeerRegistroPorClave(Table2->table(), clave, leido, camposGuardados(l).join(u';') + u';');
    }
    PegarLinea1->setEnabled(!LineaPortapapeles.isNull());
}

void TfPROYPROY::CortarLinea1Click(QObject *Sender)
{
    CopiarLnea1Click(Sender);
    if (!PegarLinea1->enabled())
        return;
    if (gp::capturarFallo([&] { lineas().remove(); }))
        MensajeAviso(QStringLiteral("¡No ha sido posible eliminar la línea!"));
}

// The pasted line lands before the current one under its number and belongs to the project
// shown, whatever project it was copied from.
void TfPROYPROY::PegarLinea1Click(QObject *)
{
    if (LineaPortapapeles.isNull() || !cabecera().active() || ModuloDatos->EstaVacio(cabecera()))
        return;
    plat::DataSet &l = lineas();
    if (editandoLineas())
        l.cancel();
    marcarHuecoLinea();
    const QStringList valores = LineaPortapapeles.toStringList();
    const QStringList campos = camposGuardados(l);
    try {
        l.insert();
        for (int i = 0; i < campos.size() && i < valores.size(); ++i) {
            plat::Field &campo = l.fieldByName(campos.at(i));
            if (campo.fieldName() != CampoLinea)
                campo.setValue(claveTexto::ValorDeTexto(campo, valores.at(i)));
        }
        l.fieldByName(kCodigoProyecto).setValue(cabecera().fieldByName(kCodigo).value());
        if (gp::capturarFallo([&] { l.post(); })) {
            MensajeAviso(QStringLiteral("¡ La línea no ha sido grabada !"));
            l.cancel();
        }
    } catch (const gp::Abort &) {
        // refused by the validation, which said why
        if (editandoLineas())
            l.cancel();
    }
}

// ---- renumbering and reordering ---------------------------------------------------------------

bool TfPROYPROY::prepararHerramientaLineas()
{
    if (editandoLineas())
        lineas().cancel();
    return !editando() || grabarRegistro(comportamiento.fallaGrabarEdicion, comportamiento.fallaGrabarAlta);
}

// The numbers are taken in the order shown before any line changes: editing a chapter moves
// the line in an order by chapter, so each line is then found by its number.
void TfPROYPROY::RenumerarCapitulosClick(QObject *)
{
    if (MensajeConfirmacion(QStringLiteral("¿Está seguro de querer Renumerar los Capítulos?")) == QLatin1String("NO"))
        return;
    plat::DataSet &l = lineas();
    if (!l.active() || !prepararHerramientaLineas() || ModuloDatos->EstaVacio(l))
        return;
    plat::BusyCursor reloj;
    const qint64 actual = l.fieldByName(CampoLinea).asInteger();
    l.disableControls();
    const auto fin = qScopeGuard([&] {
        l.locate(CampoLinea, actual);
        l.enableControls();
    });
    QList<qint64> orden;
    for (l.first(); !l.eof(); l.next())
        orden << l.fieldByName(CampoLinea).asInteger();
    int contador = 1;
    for (const qint64 linea : orden) {
        bool grabada = false;
        try {
            grabada = l.locate(CampoLinea, linea) && !gp::capturarFallo([&] {
                l.edit();
                l.fieldByName(QStringLiteral("Capitulo")).setAsString(QString::asprintf("%4.4d", contador));
                l.post();
            });
        } catch (const gp::Abort &) {
            grabada = false;
        }
        if (grabada) {
            ++contador;
            continue;
        }
        if (editandoLineas())
            l.cancel();
        MensajeAviso(kLineaOcupada);
    }
}

void TfPROYPROY::ReordenarporFechadeInicio1Click(QObject *)
{
    if (MensajeConfirmacion(QStringLiteral("¿Está seguro de querer Reordenar por la Fecha de Inicio?"))
        == QLatin1String("NO"))
        return;
    plat::DataSet &l = lineas();
    if (!l.active() || !prepararHerramientaLineas() || ModuloDatos->EstaVacio(cabecera()))
        return;
    plat::BusyCursor reloj;
    l.disableControls();
    const auto fin = qScopeGuard([&] {
        l.refresh();
        l.first();
        l.enableControls();
    });
    reentrarLineasEnOrden(cabecera().fieldByName(kCodigo).asString());
}

// The lines are held in memory whole (typed, memo included) under their work-table key; the
// work table only decides the order. Deletions skip the side-row clean-up: those rows follow
// their line to its new number in the same transaction.
bool TfPROYPROY::reentrarLineasEnOrden(const QString &codigo)
{
    plat::Connection *c = conexion();
    plat::TableDataSet &temporal = Temporal->table();
    if (!c || !abrirTablaTrabajo())
        return false;
    plat::TableDataSet obra;
    obra.setConnection(c);
    obra.setTableName(Table2->table().tableName());
    QMap<QString, RegistroLinea> registros;
    QString clave;
    const gp::Fallo lectura = gp::capturarFallo([&] {
        obra.open();
        obra.setRange({codigo}, {codigo});
        temporal.emptyTable();
        for (obra.first(); !obra.eof(); obra.next()) {
            const plat::Field &inicio = obra.fieldByName(QStringLiteral("FechaInicio"));
            const QDate dia = inicio.isNull() ? QDate(1899, 12, 30) : inicio.asDateTime().date();
            clave = dia.toString(QStringLiteral("yyyy/MM/dd")) + u'@' + obra.fieldByName(CampoLinea).asString();
            RegistroLinea registro;
            QString datos;
            for (int i = 0; i < obra.fieldCount(); ++i) {
                registro.insert(obra.field(i).fieldName(), obra.field(i).value());
                datos += obra.field(i).asString() + u'@';
            }
            registros.insert(clave, registro);
            temporal.append();
            temporal.fieldByName(QStringLiteral("CampoClave")).setAsString(clave);
            temporal.fieldByName(QStringLiteral("Datos")).setAsString(datos.left(200));
            temporal.post();
        }
    });
    if (lectura) {
        if (temporal.state() != plat::DataSetState::Browse)
            temporal.cancel();
        temporal.emptyTable();
        MensajeAviso(lectura.mensaje);
        return false;
    }
    if (!fGENEINIC->IniciarTransaccion(c)) {
        MensajeAviso(QStringLiteral("¡No se puede iniciar la transacción!"));
        return false;
    }
    const QString tablaLateral = ModuloDatos->QuitarPropietarioTabla(Table2->table().tableName());
    const gp::Fallo fallo = gp::capturarFallo([&] {
        for (const RegistroLinea &registro : std::as_const(registros)) {
            if (!obra.findKey({codigo, registro.value(CampoLinea)}))
                throw gp::DatabaseError(kLineaOcupada);
            obra.remove();
        }
        QList<std::pair<QString, QString>> cambios;
        qint64 numero = 0;
        for (temporal.first(); !temporal.eof(); temporal.next()) {
            const RegistroLinea registro = registros.value(temporal.fieldByName(QStringLiteral("CampoClave")).asString());
            ++numero;
            obra.insert();
            for (auto campo = registro.cbegin(); campo != registro.cend(); ++campo)
                obra.fieldByName(campo.key()).setValue(campo.key() == CampoLinea ? QVariant(numero) : campo.value());
            obra.post();
            const qint64 anterior = registro.value(CampoLinea).toLongLong();
            if (anterior != numero)
                cambios.append({codigo + u'|' + QString::number(anterior), codigo + u'|' + QString::number(numero)});
        }
        moverLaterales(*c, tablaLateral, cambios);
    });
    if (fallo) {
        if (obra.state() != plat::DataSetState::Browse)
            obra.cancel();
        fGENEINIC->CancelarTransaccion(c);
        (void)gp::capturarFallo([&] { temporal.emptyTable(); });
        MensajeAviso(fallo.mensaje);
        return false;
    }
    return fGENEINIC->ConfirmarTransaccion(c);
}

// ---- the project's documents and copies ----------------------------------------------------

// The Gantt listing of the project's lines over the project's span, portrait or landscape.
void TfPROYPROY::pbImprimirClick(QObject *Sender)
{
    if (!cabecera().active() || !MDProyectos || !prepararHerramientaLineas())
        return;
    const QString codigo = cabecera().fieldByName(kCodigo).asString();
    const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(codigo, QString());
    PeticionListadoGrafico peticion;
    peticion.Apaisado = Sender == pbImprimirApaisado;
    peticion.FechaInicioInforme = plan.FechaInicio;
    peticion.FechaFinalInforme = plan.FechaFinal;
    peticion.ModoInforme = QStringLiteral("Capitulos");
    peticion.DataSet = &lineas();
    peticion.Titulo = QStringLiteral("Proyecto: ") + codigo + QStringLiteral(" - ")
        + cabecera().fieldByName(QStringLiteral("Descripcion")).asString().left(40);
    ImprimirListadoGrafico(peticion);
}

void TfPROYPROY::pbImprimirDocumentoClick(QObject *)
{
    if (ModuloDatos->NivelAccesoPrograma(fGENEINIC->UsuarioActual, QStringLiteral("Listado de Documentos de Proyecto"))
        == QLatin1String("Ninguno"))
        return;
    ModuloDatos->AbrirFormularioMDI(fPROYLPRO, QStringLiteral("fPROYLPRO"), QStringLiteral("Create"));
    if (!fPROYLPRO)
        return;
    const QString codigo = cabecera().fieldByName(kCodigo).asString();
    fPROYLPRO->DesdeProyecto->setText(codigo);
    fPROYLPRO->HastaProyecto->setText(codigo);
}

void TfPROYPROY::pbDuplicarClick(QObject *)
{
    if (!cabecera().active() || ModuloDatos->EstaVacio(cabecera()) || !prepararHerramientaLineas())
        return;
    QString resultado;
    ModuloDatos->DuplicarRegistro(Table1->table(), &Table2->table(), resultado);
    const QString error = QStringLiteral("Error: ");
    if (resultado.startsWith(error))
        MensajeAviso(resultado.mid(error.size()));
}

void TfPROYPROY::pbDocumentoWordClick(QObject *)
{
    if (cabecera().active() && !ModuloDatos->EstaVacio(cabecera()))
        ModuloDatos->AbrirDocumentoWordRegistro(Table1->table(), &lineas());
}

void TfPROYPROY::pbEliminarDocumentoWordClick(QObject *)
{
    if (!cabecera().active() || ModuloDatos->EstaVacio(cabecera()))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿Desea eliminar el documento adjunto definitivamente?")) != QLatin1String("SI"))
        return;
    const QString sentencia = QStringLiteral("DELETE FROM BLOBTAB   WHERE NombreTabla = ")
        + Entrecomillar(ModuloDatos->QuitarPropietarioTabla(Table1->table().tableName()))
        + QStringLiteral("  AND ClaveTabla = ") + Entrecomillar(cabecera().fieldByName(kCodigo).asString())
        + QStringLiteral("  AND IdObjeto = ") + Entrecomillar(QStringLiteral("DocumentoWord"));
    const QString respuesta = ModuloDatos->EjecutarSQL(sentencia, QStringLiteral("Database"));
    if (!respuesta.isEmpty())
        MensajeAviso(respuesta);
}

void TfPROYPROY::pbDocumentacionElectronicaClick(QObject *Sender) { DocumentacionElectronica1Click(Sender); }

void TfPROYPROY::CopiarRegistrosaOtrasEmpresas1Click(QObject *)
{
    if (fGENECOPI)
        fGENECOPI->CopiarTablaConDetalle(Table1->table(), Table2->table());
}

void TfPROYPROY::Table1AfterScroll(plat::DataSet &DataSet)
{
    fGENEINIC->TablaAfterScroll(DataSet);
    if (DataSet.isEmpty())
        return;
    // A record not stored yet has no documents.
    const QString tabla = ModuloDatos->QuitarPropietarioTabla(Table1->table().tableName());
    const QString clave = ModuloDatos->ClaveLateralRegistro(DataSet);
    const bool tiene = DataSet.state() != plat::DataSetState::Insert
        && (MDProyectos ? MDProyectos->TieneDocumentos(tabla, clave) : ModuloDatos->TieneDocumentacionElectronica(tabla, clave));
    pbDocumentacionElectronica->setGlyph(fGENEINIC->Imagenes.value(tiene ? QStringLiteral("DOCEON") : QStringLiteral("DOCEOFF")));
}
