#include "GENEW/runtime/formularios/GanchosFormulario.h"

#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/ComponentesFormulario.h"
#include "GENEW/runtime/formularios/RegistrosSinConfirmar.h"
#include "GENEW/runtime/formularios/ReglasFormulario.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/data/DataSet.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/report/ReportComponents.h"
#include "platform/ui/Form.h"
#include "platform/ui/Published.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QTimer>
#include "GENEW/runtime/comun/RutinasFechas.h"

void instalarGanchosTabla(TfGENEINIC &inicio, plat::DataSet &tabla)
{
    if (!tabla.AfterPost)
        tabla.AfterPost = [&inicio](plat::DataSet &ds) { inicio.TablaAfterPost(ds); };
    if (!tabla.BeforeDelete)
        tabla.BeforeDelete = [&inicio](plat::DataSet &ds) { inicio.TablaBeforeDelete(ds); };
    if (tabla.notifier()->property("gpBorradoEnTransaccion").toBool())
        return;
    tabla.notifier()->setProperty("gpBorradoEnTransaccion", true);
    tabla.AfterDelete = [&inicio, propio = tabla.AfterDelete](plat::DataSet &ds) {
        inicio.terminarBorrado(ds, true);
        if (propio)
            propio(ds);
    };
    tabla.OnDeleteError = [&inicio, propio = tabla.OnDeleteError](plat::DataSet &ds, const gp::Error &e,
                                                                  plat::DataAction &accion) {
        inicio.terminarBorrado(ds, false);
        if (propio)
            propio(ds, e, accion);
    };
}

void instalarGanchosFormulario(TfGENEINIC &inicio, plat::Form &formulario)
{
    if (!formulario.OnCloseQuery.assigned())
        formulario.OnCloseQuery = [&inicio](QObject *Sender, bool &CanClose) { inicio.FormCloseQueryComun(Sender, CanClose); };
    if (!formulario.OnMouseMove.assigned())
        formulario.OnMouseMove = [&inicio](QObject *, plat::ShiftState, int, int) { inicio.RegistrarActividad(); };
    if (!formulario.OnKeyUp.assigned())
        formulario.OnKeyUp = [&inicio](QObject *, int &, plat::ShiftState) { inicio.RegistrarActividad(); };
}

void TfGENEINIC::RegistrarActividad() { UltimaActividad = Reloj ? Reloj() : Ahora(); }

namespace {

// The table a dataset writes: a table's name, a query's first table, else none.
QString tablaDe(const plat::DataSet &ds)
{
    if (auto *tabla = dynamic_cast<const plat::TableDataSet *>(&ds))
        return tabla->tableName();
    if (auto *consulta = dynamic_cast<const plat::QueryDataSet *>(&ds))
        return ObtenerTablaDeSQL(consulta->sql());
    return QString();
}

plat::Connection *conexionDe(const plat::DataSet &ds)
{
    auto *tabla = dynamic_cast<const plat::TableDataSet *>(&ds);
    return tabla ? tabla->connection() : nullptr;
}

} // namespace

// The data layer commits every post durably, so there is nothing to force to disk here.
void TfGENEINIC::TablaAfterPost(plat::DataSet &DataSet)
{
    RegistrarActividad();
    const QString tabla = tablaDe(DataSet);
    if (tabla.isEmpty() || EsTablaGeneral(tabla))
        return;
    ServiciosFormulario *servicios = serviciosFormulario();
    if (servicios && servicios->SolicitarCamposUsuario() && PuntosEntrada.MostrarCamposUsuario)
        PuntosEntrada.MostrarCamposUsuario(DataSet);
    if (!Configuracion.parametros.ResponsabilidadDocumentalActivada || !servicios
        || !dynamic_cast<plat::TableDataSet *>(&DataSet))
        return;
    // A row written with a final "|" counts as the record's too.
    const QString clave = servicios->ClaveLateralRegistro(DataSet);
    const QString sql = QStringLiteral("SELECT NombreTabla FROM RESPDOC   WHERE NombreTabla= ")
        + Entrecomillar(servicios->QuitarPropietarioTabla(tabla)) + QStringLiteral("    AND ((ClaveTabla = ")
        + Entrecomillar(clave + u'|') + QStringLiteral(") ") + QStringLiteral("      OR (ClaveTabla = ")
        + Entrecomillar(clave) + QStringLiteral(")) ");
    if (servicios->EjecutarSQL(sql, QStringLiteral("Database"), QString()).isEmpty() && PuntosEntrada.MostrarResponsabilidad)
        PuntosEntrada.MostrarResponsabilidad(DataSet);
}

// The side rows and the record go together: the cleanup runs inside a transaction of the
// record's connection that the deletion's outcome commits or rolls back, so a failed
// deletion never leaves the record without its responsibility, documents or relations.
void TfGENEINIC::TablaBeforeDelete(plat::DataSet &DataSet)
{
    RegistrarActividad();
    const QString tabla = tablaDe(DataSet);
    if (tabla.isEmpty() || EsTablaGeneral(tabla) || !PuntosEntrada.BorrarRegistrosAsociados)
        return;
    plat::Connection *conexion = conexionDe(DataSet);
    if (conexion) {
        conexion->startTransaction();
        borradosEnCurso_.insert(&DataSet, conexion);
    }
    bool borrados = false;
    try {
        borrados = PuntosEntrada.BorrarRegistrosAsociados(DataSet);
    } catch (const gp::Error &) {
        borrados = false;
    }
    if (!borrados) {
        terminarBorrado(DataSet, false);
        throw gp::Abort();
    }
}

void TfGENEINIC::terminarBorrado(plat::DataSet &DataSet, bool confirmar)
{
    plat::Connection *conexion = borradosEnCurso_.take(&DataSet);
    if (!conexion)
        return;
    if (confirmar)
        conexion->commit();
    else
        conexion->rollback();
}

void TfGENEINIC::TablaAfterScroll(plat::DataSet &DataSet)
{
    if (!plat::application().findForm(QStringLiteral("fGENEDOCE")))
        return;
    QObject *componente = plat::DataSetComponent::of(&DataSet);
    QObject *formulario = componente ? componente->parent() : nullptr;
    auto *propietario = dynamic_cast<plat::ComponentOwner *>(formulario);
    if (!propietario)
        return;
    QObject *documentacion = propietario->findComponent(QStringLiteral("DocumentacionElectronica1"));
    (void)gp::capturarFallo([&] { plat::invokeMethod(formulario, QStringLiteral("DocumentacionElectronica1Click"), documentacion); });
}

void TfGENEINIC::FormCloseQueryComun(QObject *Sender, bool &CanClose)
{
    auto *form = qobject_cast<plat::Form *>(Sender);
    const QString caption = form ? form->caption() : QString();
    RegistrosSinConfirmar registros(form, caption, dataSetsDe(Sender));
    registros.descartarSinTeclear();
    const QList<plat::DataSet *> &pendientes = registros.pendientes();
    if (pendientes.isEmpty())
        return;
    const QString respuesta = MostrarMensaje(QStringLiteral("C"), QStringLiteral("Hay registros de ") + caption + QStringLiteral(" (")
                                                                    + registros.nombres() + QStringLiteral(") ")
                                                                    + QStringLiteral(" cuya grabación no ha sido confirmada. "
                                                                                     "¿Desea cancelar la grabación?"));
    for (plat::DataSet *ds : pendientes) {
        if (respuesta == QLatin1String("SI") || ds->fieldCount() == 0 || ds->field(0).isNull()
            || ds->field(0).asString().isEmpty()) {
            ds->cancel();
            continue;
        }
        try {
            ds->post();
        } catch (const gp::Abort &) {
            CanClose = false;
        } catch (const std::exception &e) {
            // The edit stays on screen with the reason; closing would lose it.
            GestionExcepciones(Sender, e);
            CanClose = false;
        }
    }
}

void TfGENEINIC::TimerAplicacionTimer(QObject *)
{
    const int minutos = MinutosInactividad(Configuracion.parametros.TiempoForzarTerminacionAplicacion);
    if (minutos <= 0)
        return;
    const QDateTime ahora = Reloj ? Reloj() : Ahora();
    if (UltimaActividad.secsTo(ahora) > qint64(minutos) * 60) {
        TimerAplicacion->stop();
        plat::application().terminate();
    }
}

void TfGENEINIC::AjustarCabeceraListado(plat::ReportBand &Band, bool &)
{
    CabeceraListado &c = CabeceraListadoActual;
    plat::ReportTextControl *memo = c.restricciones;
    const QString prefijo = QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO: ");
    QString texto = memo ? memo->text() : QString();
    if (memo && !texto.isEmpty() && !texto.contains(prefijo)) {
        texto = prefijo + texto;
        memo->setText(texto);
    }
    int alto = 15 * (int(texto.size()) / (Band.landscape() ? 160 : 100) + 1);
    if (alto < 16)
        alto = 30;
    const QString topes = c.topesEtiquetas;
    const auto topeGuardado = [&topes](const QString &nombre, int actual) {
        const QString valor = LeerValorDeLista(nombre, topes);
        bool ok = false;
        const int tope = valor.toInt(&ok);
        return ok ? tope : actual;
    };
    const bool conTexto = c.primeraPagina && memo && !texto.isEmpty();
    if (memo) {
        memo->setHeight(alto);
        memo->setVisible(conTexto);
    }
    Band.setHeight(conTexto ? alto + c.alturaBase : c.alturaBase);
    for (plat::ReportControl *control : Band.reportControls()) {
        auto *etiqueta = dynamic_cast<plat::ReportTextControl *>(control);
        if (!etiqueta || etiqueta->reportKind() != plat::ReportTextControl::Label)
            continue;
        const QString nombre = control->object()->objectName();
        const int tope = topeGuardado(nombre, control->top());
        control->setTop(conTexto && nombre != QLatin1String("TituloNombreEmpresa") ? tope + alto : tope);
    }
    c.primeraPagina = false;
}
