// The form framework's preparation of a form or data module: opening its tables, formats,
// per-user restrictions, hooks, the currency switch, refreshing and closing.
#include "GENEW/runtime/AperturaTablasFormulario.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "GENEW/runtime/formularios/ComponentesFormulario.h"
#include "GENEW/runtime/formularios/DibujarElementoTraducido.h"
#include "GENEW/runtime/formularios/GanchosFormulario.h"
#include "GENEW/runtime/formularios/ReglasFormulario.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/data/engine/Connection.h"
#include "platform/report/ReportComponents.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Published.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"


namespace {

bool esDateTime(const plat::Field &campo) { return campo.dataType() == ftDateTime; }

// The name a component's format is chosen by: a report control's field or expression.
QString nombreFormato(QObject *componente)
{
    for (const char *propiedad : {"Expression", "DataField"}) {
        const QVariant v = componente->property(propiedad);
        if (v.isValid())
            return v.toString();
    }
    return componente->objectName();
}

QList<plat::Field *> camposDe(plat::DataSet &ds)
{
    QList<plat::Field *> campos;
    for (int i = 0; i < ds.fieldCount(); ++i)
        campos << &ds.field(i);
    return campos;
}

} // namespace

// ---- opening --------------------------------------------------------------------------

bool TfGENEINIC::AbrirTablasFormulario(plat::ComponentOwner &formulario)
{
    QObject *propietario = formulario.ownerObject();
    PrepararFormulario(propietario);
    bool creadas = false;
    {
        plat::WaitCursor cursor;
        creadas = ::AbrirTablasFormulario(formulario);
        prepararCamposAbiertos(propietario);
    }
    TraducirFormulario(propietario);
    if (!creadas) {
        if (auto *form = qobject_cast<plat::Form *>(propietario))
            form->Close();
    }
    return creadas;
}

// The fields exist once their dataset is open: formats, alignment and the hidden fields and
// grid columns are settled then.
void TfGENEINIC::prepararCamposAbiertos(QObject *formulario)
{
    for (plat::DataSet *ds : dataSetsDe(formulario)) {
        for (plat::Field *campo : camposDe(*ds)) {
            asignarFormatoCampo(*campo);
            if (campo->fieldName() == QLatin1String("Cambio"))
                campo->alignment = Qt::AlignLeft;
        }
        // The controls showed the record as it opened, before its fields' hooks: a zero
        // date shows empty from the first paint.
        if (ds->active() && ds->state() == plat::DataSetState::Browse)
            ds->redisplay();
    }
    AsignarBotonEuro(formulario, QStringLiteral("Asignar"));
    OcultarCamposNoVisibles(formulario);
    if (!Configuracion.parametros.ModoAdministradorActivado && Configuracion.parametros.ModoControlesNoVisiblesActivado)
        AplicarControlesNoVisibles(formulario);
}

void TfGENEINIC::PrepararFormulario(QObject *formulario)
{
    if (!formulario)
        return;
    const ParametrosKorvel &p = Configuracion.parametros;
    ServiciosFormulario *servicios = serviciosFormulario();
    auto *form = qobject_cast<plat::Form *>(formulario);
    const QList<QObject *> componentes = componentesDe(formulario);

    if (conexiones_.esSQLServer()) {
        if (!Database().inTransaction()) {
            Database().startTransaction();
            Database().commit();
        }
        for (QObject *c : componentes) {
            auto *tabla = qobject_cast<plat::TableComponent *>(c);
            if (tabla && !tabla->tableName().isEmpty() && servicios)
                tabla->setTableName(servicios->NombreTablaSQL(tabla->tableName()));
        }
    }
    {
        plat::WaitCursor cursor;
        for (QObject *c : componentes)
            AsignarFormatosCampos(c);
    }
    if (p.ModoAdministradorActivado) {
        plat::application().OnHint = [] {
            if (plat::Form *principal = plat::application().mainForm())
                principal->setCaption(plat::application().hint());
        };
        for (QObject *c : componentes) {
            if (plat::hasProperty(c, QStringLiteral("Hint")))
                plat::writeProperty(c, QStringLiteral("Hint"), claveControl(c));
        }
        if (ControlesNoVisiblesRecogidos.isEmpty() && servicios) {
            const QString lista = servicios->LeerConfiguracionUsuario(UsuarioActual, QStringLiteral("ControlesNoVisibles"), QString());
            for (const QString &clave : lista.split(u',', Qt::SkipEmptyParts))
                anotarControlNoVisible(clave.trimmed());
        }
    }
    if (FormularioSoloLectura(formulario))
        DatosSoloLectura(formulario);

    for (QObject *c : componentes) {
        auto *tabla = qobject_cast<plat::TableComponent *>(c);
        if (tabla && !tabla->tableName().isEmpty())
            instalarGanchosTabla(*this, tabla->table());
    }
    if (form)
        instalarGanchosFormulario(*this, *form);

    OcultarCamposNoVisibles(formulario);
    AsignarBotonEuro(formulario, QStringLiteral("Asignar"));
    if (servicios)
        DesactivarPuntoPorComaDecimal =
            servicios->LeerConfiguracionUsuario(UsuarioActual, QStringLiteral("DesactivarPuntoPorComaDecimal"), QString())
            == QLatin1String("SI");
    auto *propietario = dynamic_cast<plat::ComponentOwner *>(formulario);
    if (propietario) {
        if (auto *item = propietario->findComponent<plat::MenuItem>(QStringLiteral("VisualizacionPrevia")))
            item->setChecked(p.VisualizacionPreviaActivada);

        auto *tabla1 = propietario->findComponent<plat::TableComponent>(QStringLiteral("Table1"));
        if (tabla1 && propietario->findComponent(QStringLiteral("DocumentacionElectronica1"))) {
            if (!plat::hasMethod(formulario, QStringLiteral("Table1AfterScroll")))
                tabla1->table().AfterScroll = [this](plat::DataSet &ds) { TablaAfterScroll(ds); };
            if (!plat::hasMethod(formulario, QStringLiteral("Table1BeforeDelete")))
                tabla1->table().BeforeDelete = [this](plat::DataSet &ds) { TablaBeforeDelete(ds); };
        }
    }
    if (!CodigoIdioma.isEmpty())
        instalarDelegadosTraducidos(componentes);
    for (QObject *c : componentes) {
        auto *edit = dynamic_cast<plat::Edit *>(c);
        if (edit && !dynamic_cast<plat::DataBound *>(c) && !edit->OnDblClick.assigned())
            edit->OnDblClick = [this](QObject *Sender) { BuscarTablaAsociadaEdit(Sender); };
    }
    AplicarAspecto(formulario);
    if (!p.ModoAdministradorActivado) {
        if (p.ModoControlesNoVisiblesActivado)
            AplicarControlesNoVisibles(formulario);
        TraducirFormulario(formulario);
    }
}

void TfGENEINIC::anotarControlNoVisible(const QString &clave)
{
    if (clave.isEmpty())
        return;
    const auto i = std::lower_bound(ControlesNoVisiblesRecogidos.begin(), ControlesNoVisiblesRecogidos.end(), clave);
    if (i == ControlesNoVisiblesRecogidos.end() || *i != clave)
        ControlesNoVisiblesRecogidos.insert(i, clave);
}

// ---- formats ----------------------------------------------------------------------------

QString TfGENEINIC::ObtenerFormatoNumerico(const QString &campo) const
{
    ServiciosFormulario *servicios = serviciosFormulario();
    return FormatoNumericoDeNombre(campo, servicios ? servicios->Plantillas() : PlantillasVisualizacion{});
}

void TfGENEINIC::asignarFormatoCampo(plat::Field &campo)
{
    if (campo.displayFormat == QLatin1String("#,###.##"))
        campo.displayFormat = ObtenerFormatoNumerico(campo.fieldName());
    if (campo.editMask == QLatin1String("#,###.##"))
        campo.editMask = ObtenerFormatoNumerico(campo.fieldName());
    if (!esDateTime(campo))
        return;
    ServiciosFormulario *servicios = serviciosFormulario();
    if (campo.fieldName().contains(QLatin1String("hora"), Qt::CaseInsensitive)) {
        campo.displayFormat = QStringLiteral("HH:MM:SS");
        campo.editMask.clear();
        if (servicios)
            servicios->InstalarTextoHora(campo);
    } else if (servicios) {
        servicios->InstalarTextoFecha(campo);
    }
}

void TfGENEINIC::AsignarFormatosCampos(QObject *componente)
{
    if (!componente)
        return;
    if (auto *ds = qobject_cast<plat::DataSetComponent *>(componente)) {
        for (plat::Field *campo : camposDe(ds->dataSet()))
            asignarFormatoCampo(*campo);
        return;
    }
    for (const QString &propiedad : {QStringLiteral("DisplayFormat"), QStringLiteral("Mask")}) {
        if (plat::hasProperty(componente, propiedad)
            && plat::readProperty(componente, propiedad).toString() == QLatin1String("#,###.##"))
            plat::writeProperty(componente, propiedad, ObtenerFormatoNumerico(nombreFormato(componente)));
    }
}

// ---- per-user restrictions --------------------------------------------------------------

bool TfGENEINIC::FormularioSoloLectura(QObject *formulario)
{
    return qobject_cast<plat::Form *>(formulario) && SoloLectura(formulario);
}

void TfGENEINIC::TablasSoloLectura(QObject *formulario)
{
    for (QObject *c : componentesDe(formulario)) {
        if (auto *tabla = qobject_cast<plat::TableComponent *>(c))
            tabla->setReadOnly(true);
    }
}

void TfGENEINIC::DatosSoloLectura(QObject *formulario)
{
    // Queries too: a live one writes its rows back. Client datasets stay writable, as they
    // hold the form's own work in memory.
    for (QObject *c : componentesDe(formulario)) {
        if (auto *tabla = qobject_cast<plat::TableComponent *>(c))
            tabla->setReadOnly(true);
        else if (auto *consulta = qobject_cast<plat::QueryComponent *>(c))
            consulta->setReadOnly(true);
        else if (auto *rejilla = dynamic_cast<plat::DBGrid *>(c))
            rejilla->setReadOnly(true);
    }
}

void TfGENEINIC::OcultarCamposNoVisibles(QObject *formulario)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    if (!servicios || !servicios->HayCamposNoVisibles())
        return;
    for (QObject *c : componentesDe(formulario)) {
        if (auto *rejilla = dynamic_cast<plat::DBGrid *>(c)) {
            if (plat::DataSet *ds = rejilla->dataSet()) {
                for (plat::Field *campo : camposDe(*ds)) {
                    if (servicios->EsCampoNoVisible(campo->fieldName()))
                        ocultarColumna(*rejilla, *campo);
                }
            }
            continue;
        }
        if (auto *control = dynamic_cast<plat::ReportTextControl *>(c)) {
            // Every printed text is a label of the class library (data texts and expressions too).
            if (servicios->EsCampoNoVisible(control->dataField()) || servicios->EsCampoNoVisible(control->expression())
                || servicios->EsCampoNoVisible(c->objectName()))
                control->setEnabled(false);
            continue;
        }
        auto *widget = qobject_cast<QWidget *>(c);
        if (widget && plat::hasProperty(c, QStringLiteral("DataField"))
            && servicios->EsCampoNoVisible(plat::readProperty(c, QStringLiteral("DataField")).toString()))
            widget->setVisible(false);
    }
}

void TfGENEINIC::ocultarColumna(plat::DBGrid &rejilla, plat::Field &campo)
{
    if (!rejilla.customColumns()) {
        // Rebuilding the default columns again would lose the settings given to the others.
        if (!campo.visible)
            return;
        campo.visible = false;
        rejilla.clearColumns();
        return;
    }
    for (int i = 0; i < rejilla.columnCount(); ++i) {
        if (rejilla.column(i)->FieldName.compare(campo.fieldName(), Qt::CaseInsensitive) == 0)
            rejilla.column(i)->Visible = false;
    }
    rejilla.updateColumns();
}

void TfGENEINIC::AplicarControlesNoVisibles(QObject *formulario)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    if (!servicios)
        return;
    const QString valor = servicios->LeerConfiguracionUsuario(UsuarioActual, QStringLiteral("ControlesNoVisibles"), QString());
    if (valor.isEmpty())
        return;
    QStringList claves = valor.split(u',');
    for (QString &clave : claves)
        clave = clave.trimmed();
    for (QObject *c : componentesDe(formulario)) {
        auto *rejilla = dynamic_cast<plat::DBGrid *>(c);
        if (claves.contains(claveControl(c))) {
            if (auto *hoja = qobject_cast<plat::TabSheet *>(c))
                hoja->setTabVisible(false);
            else if (plat::hasProperty(c, QStringLiteral("Visible")))
                plat::writeProperty(c, QStringLiteral("Visible"), false);
            else if (auto *widget = qobject_cast<QWidget *>(c))
                widget->setVisible(false);
        }
        if (rejilla && rejilla->dataSet()) {
            for (plat::Field *campo : camposDe(*rejilla->dataSet())) {
                if (claves.contains(claveCampoRejilla(*rejilla, *campo)))
                    ocultarColumna(*rejilla, *campo);
            }
        }
    }
}

// ---- currency switch ----------------------------------------------------------------------

void TfGENEINIC::AsignarBotonEuro(QObject *formulario, const QString &modo)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    const bool asignar = modo == QLatin1String("Asignar");
    for (QObject *c : componentesDe(formulario)) {
        if (auto *control = dynamic_cast<plat::ReportTextControl *>(c)) {
            const auto tipo = control->reportKind();
            const bool importe = tipo == plat::ReportTextControl::Label || tipo == plat::ReportTextControl::Expression
                || tipo == plat::ReportTextControl::DataText || tipo == plat::ReportTextControl::Calculation;
            if (importe && control->tag() >= 1000 && (!asignar || !control->printHandlerAssigned()))
                control->setPrintsAmount(asignar);
            continue;
        }
        if (auto *ds = qobject_cast<plat::DataSetComponent *>(c)) {
            if (!servicios)
                continue;
            for (plat::Field *campo : camposDe(ds->dataSet())) {
                if (campo->dataType() == ftFloat && campo->tag >= 1000)
                    servicios->InstalarTextoImporte(*campo, asignar);
            }
            continue;
        }
        auto *boton = dynamic_cast<plat::SpeedButton *>(c);
        if (asignar && boton && c->objectName().compare(QLatin1String("pbEuro"), Qt::CaseInsensitive) == 0 && servicios) {
            const QString imagen = servicios->MonedaBaseDistintaEuro() ? QStringLiteral("PTSEURO") : QStringLiteral("EUROPTS");
            boton->setIcon(QIcon(Imagenes.value(imagen)));
        }
    }
}

TfGENEINIC::EstadoBotonEuro TfGENEINIC::BotonEuroActivo() const
{
    plat::Form *activo = plat::application().activeForm();
    if (activo && activo->formStyle() == plat::fsMDIForm && activo->activeMdiChild())
        activo = activo->activeMdiChild();
    auto *boton = activo ? activo->findComponent<plat::SpeedButton>(QStringLiteral("pbEuro")) : nullptr;
    return boton ? EstadoBotonEuro{true, boton->downState()} : EstadoBotonEuro{};
}

// ---- refreshing -----------------------------------------------------------------------------

void TfGENEINIC::RefrescarDatos(QObject *formulario, const QString &)
{
    plat::WaitCursor cursor;
    for (plat::DataSet *ds : dataSetsDe(formulario)) {
        if (!ds->active())
            continue;
        // A dataset that cannot be read again keeps what it shows.
        (void)gp::capturarFallo([&] { ds->refresh(); });
    }
}

void TfGENEINIC::RefrescarFormularioActivo()
{
    const QList<plat::Form *> formularios = plat::application().forms();
    for (auto i = formularios.size() - 1; i >= 0; --i)
        RefrescarDatos(formularios[i]);
}

// ---- closing --------------------------------------------------------------------------------

void TfGENEINIC::CerrarFormularioComun(QObject *, plat::CloseAction &)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    if (servicios) {
        const QList<plat::Form *> formularios = plat::application().forms();
        for (auto i = formularios.size() - 1; i >= 0; --i) {
            if (!formularios[i]->objectName().startsWith(QLatin1String("fGE")))
                servicios->RegistrarAccesoFormulario(formularios[i], QStringLiteral("Close"));
        }
    }
    if (!Configuracion.parametros.ModoAdministradorActivado || ControlesNoVisiblesRecogidos.isEmpty())
        return;
    const QString lista = ControlesNoVisiblesRecogidos.join(QStringLiteral("\r\n"));
    if (MostrarMensaje(QStringLiteral("C"), QStringLiteral("¿Desea ver la Lista de Controles No Visibles?"))
            == QLatin1String("SI")
        && PuntosEntrada.MostrarDetalle)
        PuntosEntrada.MostrarDetalle(QStringLiteral("Controles No Visibles"), lista);
    const QString usuarios = MostrarMensaje(
        QStringLiteral("P"), QStringLiteral("Introduzca los Códigos de Usuario (separados por coma) a los que desea "
                                            "asignar la lista de Controles No Visibles: "));
    if (!servicios)
        return;
    const QString anadido = ControlesNoVisiblesRecogidos.join(u',');
    for (const QString &pieza : usuarios.split(u',')) {
        const QString usuario = pieza.trimmed();
        if (usuario.isEmpty())
            break;
        QString valor = servicios->LeerConfiguracionUsuario(usuario, QStringLiteral("ControlesNoVisibles"), QString());
        if (!valor.isEmpty() && !valor.endsWith(u','))
            valor += u',';
        servicios->GrabarConfiguracionUsuario(usuario, QStringLiteral("ControlesNoVisibles"), valor + anadido);
    }
}

// ---- small services -------------------------------------------------------------------------

double TfGENEINIC::MostrarCalculadora(double valor)
{
    if (!PuntosEntrada.Calculadora)
        return valor;
    return PuntosEntrada.Calculadora(plat::formatFloat(QStringLiteral("0.##"), valor), valor);
}

void TfGENEINIC::BuscarTablaAsociadaEdit(QObject *Sender)
{
    auto *edit = qobject_cast<plat::Edit *>(Sender);
    if (!edit)
        return;
    const QString nombre = edit->objectName();
    QString tabla = PuntosEntrada.LeerValorBusqueda ? PuntosEntrada.LeerValorBusqueda(nombre) : QString();
    if (tabla.isEmpty()) {
        if (MostrarMensaje(QStringLiteral("C"), QStringLiteral("No existe una Tabla de Búsqueda asociada al control ")
                                                     + Entrecomillar(nombre) + QStringLiteral(". ")
                                                     + QStringLiteral("¿Desea localizar una tabla adecuada ahora?"))
            != QLatin1String("SI"))
            return;
        const QString tablas = PuntosEntrada.ListarTablasDefinidas ? PuntosEntrada.ListarTablasDefinidas() : QString();
        tabla = PuntosEntrada.SeleccionarDeLista
            ? PuntosEntrada.SeleccionarDeLista(tablas, QStringLiteral("Titulo=Selección de Tabla\r\nFormato=0,0,300,0\r\n"
                                                                      "Opciones=Ordenada"))
            : QString();
        if (tabla.isEmpty())
            return;
        if (MostrarMensaje(QStringLiteral("C"), QStringLiteral("¿Desea asociar el control ") + Entrecomillar(nombre)
                                                     + QStringLiteral(" con la tabla ") + tabla
                                                     + QStringLiteral(" de forma permanente?"))
                == QLatin1String("SI")
            && PuntosEntrada.GrabarValorBusqueda)
            PuntosEntrada.GrabarValorBusqueda(nombre, tabla);
    }
    if (!PuntosEntrada.BuscarRegistro)
        return;
    const QString clave = PuntosEntrada.BuscarRegistro(tabla, QString());
    if (!clave.isEmpty())
        edit->setText(clave.section(u';', 0, 0));
}
