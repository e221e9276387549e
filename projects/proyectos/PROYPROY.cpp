#include "projects/proyectos/PROYPROY.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Keys.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/PintorCapitulos.h"
#include "projects/proyectos/PintoresGantt.h"
#include "projects/proyectos/Proymodu.h"

#include <QEvent>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TfPROYPROY *fPROYPROY = nullptr;

namespace {

const QString kAgregarConDuplicacion = QStringLiteral("&Agregar con Duplicación");
const QString kFormatoCifras = QStringLiteral("#,###.##");
const QString &kGrafico = kColumnaGantt;
const QString kFallaEliminar = QStringLiteral("¡ Se ha producido un error eliminando el registro !");
// The reorder's work table (key text and the packed line).
const QString kDefinicionTemporal =
    QStringLiteral("Tabla Temporal\r\n/C/1/CampoClave/ftString/40/*\r\n/C/2/Datos/ftString/200/\r\n/I/1/<Primary>/CampoClave");

bool editandoEstado(plat::DataSetState estado)
{
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert;
}

// A date as the plan answers it: its day number, 0 for none.
double Dia(const plat::Field &campo) { return campo.isNull() ? 0 : NumeroDia(campo.asDateTime()); }

// Today without its time, so that the plan figures and the Gantt count whole days.
QDateTime Hoy() { return FechaHora(Ahora().date()); }

} // namespace

TfPROYPROY::TfPROYPROY(QWidget *parent)
    : FormularioMaestro(parent, QStringLiteral("fPROYPROY"), QStringLiteral("Maestro de Proyectos")),
      instancia_(fPROYPROY, this)
{
    comportamiento.fallaGrabarEdicion =
        QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario.");
    comportamiento.fallaGrabarAlta = QStringLiteral("¡ El registro no ha sido grabado !");
    comportamiento.preguntaEliminar = QStringLiteral("¿Está seguro de querer eliminar el registro y todas sus líneas?");
    comportamiento.fallaEliminar = kFallaEliminar;
    comportamiento.refrescarSoloNavegando = true;
    setBounds(0, 0, 900, 560);
    Table1->setTableName(QStringLiteral("PROYECT"));
    Table2 = make<plat::TableComponent>(QStringLiteral("Table2"), this);
    Table2->setTableName(QStringLiteral("LPROYECT"));
    DataSource2 = make<plat::DataSource>(QStringLiteral("DataSource2"), this);
    DataSource2->setDataSet(Table2);
    Cliente = make<plat::TableComponent>(QStringLiteral("Cliente"), this);
    Cliente->setTableName(QStringLiteral("CLIENTE"));
    Operario = make<plat::TableComponent>(QStringLiteral("Operario"), this);
    Operario->setTableName(QStringLiteral("OPERARIO"));
    DSOperario = make<plat::DataSource>(QStringLiteral("DSOperario"), this);
    DSOperario->setDataSet(Operario);
    Temporal = make<plat::TableComponent>(QStringLiteral("Temporal"), this);
    CampoLinea = QStringLiteral("Linea");

    QWidget *area = areaDatos();
    auto *caja = new QVBoxLayout(area);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    construirCabecera(area);
    caja->addWidget(PanelCabecera);
    construirHerramientas(area);
    caja->addWidget(PanelHerramientas);
    construirPaginas(area);
    caja->addWidget(PageControl1, 1);
    construirMenuLineas();
    definirCampos();
    conectarEventos();
    establecerCampoClave(EditCodigoProyecto);
}

TfPROYPROY::~TfPROYPROY()
{
    // The controls lose the focus while the window is being taken apart.
    EditCodigoCliente->OnExit = nullptr;
    DBGrid1->OnEnter = nullptr;
    DBGrid2->viewport()->removeEventFilter(this);
}

// The line table's calculated fields exist before it opens; the look-up of the person in
// charge shows the operator's name in place of the code.
void TfPROYPROY::definirCampos()
{
    plat::DataSet &l = lineas();
    l.addCalculatedField(kGrafico, ftString, 400);
    l.addCalculatedField(QStringLiteral("TiempoPrevistoCapitulo"), ftFloat);
    l.addCalculatedField(QStringLiteral("FechaInicioCapitulo"), ftDateTime);
    l.addCalculatedField(QStringLiteral("FechaFinalCapitulo"), ftDateTime);
}

void TfPROYPROY::conectarEventos()
{
    using plat::handler;
    OnCreate = handler(this, &TfPROYPROY::FormCreate);
    OnClose = handler(this, &TfPROYPROY::FormClose);
    OnKeyDown = handler(this, &TfPROYPROY::FormKeyDown);
    OnResize = handler(this, &TfPROYPROY::FormResize);
    pbCancelar->OnClick = handler(this, &TfPROYPROY::pbCancelarClick);
    CancelarEdicion1->OnClick = handler(this, &TfPROYPROY::pbCancelarClick);
    pbEliminar->OnClick = handler(this, &TfPROYPROY::Eliminar1Click);
    Eliminar1->OnClick = handler(this, &TfPROYPROY::Eliminar1Click);
    DataSource2->OnStateChange = handler(this, &TfPROYPROY::DataSource2StateChange);
    EditCodigoCliente->OnExit = [this](QObject *Sender) { ValidacionWinControl(Sender); };
    EditCodigoCliente->OnDblClick = handler(this, &TfPROYPROY::BuscarDatosDBEdit);
    DBGrid1->OnEnter = handler(this, &TfPROYPROY::DBGrid1Enter);
    DBGrid1->OnKeyDown = handler(this, &TfPROYPROY::DBGrid1KeyDown);
    DBGrid1->OnColExit = handler(this, &TfPROYPROY::DBGrid1ColExit);
    DBGrid1->OnDblClick = handler(this, &TfPROYPROY::DBGrid1DblClick);
    DBGrid1->OnEditButtonClick = handler(this, &TfPROYPROY::DBGrid1EditButtonClick);
    DBGrid1->OnDrawColumnCell = handler(this, &TfPROYPROY::DBGrid1DrawColumnCell);
    DBGrid2->OnDrawColumnCell = handler(this, &TfPROYPROY::DBGrid2DrawColumnCell);
    DBGrid2->OnDrawTitle = handler(this, &TfPROYPROY::DBGrid2DrawTitle);
    Modalidad->OnChange = handler(this, &TfPROYPROY::ModalidadChange);
    VerDias->OnClick = handler(this, &TfPROYPROY::VerDiasClick);
    PageControl1->OnChange = handler(this, &TfPROYPROY::PageControl1Change);
    pbImprimir->OnClick = handler(this, &TfPROYPROY::pbImprimirClick);
    pbImprimirApaisado->OnClick = handler(this, &TfPROYPROY::pbImprimirClick);
    pbImprimirDocumento->OnClick = handler(this, &TfPROYPROY::pbImprimirDocumentoClick);
    pbDuplicar->OnClick = handler(this, &TfPROYPROY::pbDuplicarClick);
    pbDocumentoWord->OnClick = handler(this, &TfPROYPROY::pbDocumentoWordClick);
    pbEliminarDocumentoWord->OnClick = handler(this, &TfPROYPROY::pbEliminarDocumentoWordClick);
    pbDocumentacionElectronica->OnClick = handler(this, &TfPROYPROY::pbDocumentacionElectronicaClick);
    CopiarRegistrosaOtrasEmpresas1->OnClick = handler(this, &TfPROYPROY::CopiarRegistrosaOtrasEmpresas1Click);

    plat::DataSet &p = cabecera();
    p.BeforeDelete = [this](plat::DataSet &ds) { Table1BeforeDelete(ds); };
    p.AfterDelete = [this](plat::DataSet &ds) { Table1AfterDelete(ds); };
    p.OnDeleteError = [this](plat::DataSet &ds, const gp::Error &e, plat::DataAction &a) { Table1DeleteError(ds, e, a); };
    p.BeforeCancel = [this](plat::DataSet &ds) { Table1BeforeCancel(ds); };
    plat::DataSet &l = lineas();
    l.BeforeInsert = [this](plat::DataSet &ds) { Table2BeforeInsert(ds); };
    l.OnNewRecord = [this](plat::DataSet &ds) { Table2NewRecord(ds); };
    l.BeforePost = [this](plat::DataSet &ds) { Table2BeforePost(ds); };
    l.AfterPost = [this](plat::DataSet &ds) { Table2AfterPost(ds); };
    l.OnPostError = [this](plat::DataSet &ds, const gp::Error &e, plat::DataAction &a) {
        numeracionLineas_.trasFallo(ds, e, a);
        if (a != plat::DataAction::Retry)
            hueco_.anular();
    };
    l.OnCalcFields = [this](plat::DataSet &ds) { Table2CalcFields(ds); };
}

// ---- creation and closing ------------------------------------------------------------------

void TfPROYPROY::FormCreate(QObject *Sender)
{
    // Without a started program (the main window pictured on its own) nothing opens.
    if (!fGENEINIC || !ModuloDatos)
        return;
    fGENEINIC->AjustarTamanoFormulario(this, QString());
    lineas().setMasterSource(&cabecera(), QStringLiteral("Codigo"));
    FormularioMaestro::FormCreate(Sender);
    // The preparation installed the common after-scroll hook; this one runs it first.
    cabecera().AfterScroll = [this](plat::DataSet &ds) { Table1AfterScroll(ds); };
    if (cabecera().active()) {
        Table1AfterScroll(cabecera());
        // The figures' template and the dates' texts of the calculated fields.
        for (const char *campo : {"Importe", "TiempoPrevisto", "TiempoPrevistoCapitulo"})
            if (plat::Field *f = lineas().findField(QString::fromLatin1(campo)))
                f->displayFormat = kFormatoCifras;
        fGENEINIC->AsignarFormatosCampos(Table2);
        plat::Field &responsable = lineas().fieldByName(QStringLiteral("Responsable"));
        responsable.OnGetText = [this](plat::Field &campo, QString &texto, bool mostrar) {
            if (mostrar && !campo.isNull())
                texto = Operario->dataSet().lookup(QStringLiteral("Codigo"), campo.value(), QStringLiteral("Nombre")).toString();
        };
        // The grids showed their first rows as the tables opened, before these settings.
        lineas().redisplay();
    }
    DataSource1->setAutoEdit(true);
    DataSource2->setAutoEdit(true);
    PageControl1->setActivePage(PagGeneral);
}

// Only the reordering of the lines uses it: it is made when first needed, not with the window.
bool TfPROYPROY::abrirTablaTrabajo()
{
    plat::TableDataSet &temporal = Temporal->table();
    if (temporal.active())
        return true;
    DataSetAbribleDe<plat::TableDataSet> abrible(temporal, objectName());
    if (fGENEINIC->CrearTabla(abrible, kDefinicionTemporal, fGENEINIC->Conexiones().EmpresaActual) && !temporal.active())
        temporal.open();
    return temporal.active();
}

// The work table stays for the window's next use of it in the run, which empties it.
void TfPROYPROY::FormClose(QObject *Sender, plat::CloseAction &Action)
{
    Temporal->table().close();
    VentanaPrograma::FormClose(Sender, Action);
}

// ---- control states ------------------------------------------------------------------------

bool TfPROYPROY::editandoLineas() const { return editandoEstado(lineas().state()); }

// A line leaving its edit leaves the controls for editing while the header still edits.
void TfPROYPROY::DataSource2StateChange(QObject *) { HabilitarControles(editandoLineas() || editando()); }

// ---- validation ----------------------------------------------------------------------------

bool TfPROYPROY::ValidarControl(QWidget *control) { return ValidarProyecto(control); }

bool TfPROYPROY::ValidarProyecto(QObject *control)
{
    const bool cabeceraEditando = editando();
    if ((!cabeceraEditando && !editandoLineas()) || (focusWidget() && focusWidget() == pbCancelar))
        return true;
    if (!cabeceraEditando)
        return validarLinea(control == DBGrid1);
    if (control == nullptr || control == EditCodigoCliente)
        return validarCliente();
    return true;
}

bool TfPROYPROY::validarLinea(bool deRejilla)
{
    plat::DataSet &l = lineas();
    const plat::Field *seleccionado = deRejilla ? DBGrid1->selectedField() : nullptr;
    const QString nombre = seleccionado ? seleccionado->fieldName() : QString();
    if (!deRejilla || nombre == QLatin1String("FechaInicio") || nombre == QLatin1String("FechaFinal")) {
        const plat::Field &inicio = l.fieldByName(QStringLiteral("FechaInicio"));
        const plat::Field &fin = l.fieldByName(QStringLiteral("FechaFinal"));
        if (Dia(inicio) != 0 && Dia(fin) != 0 && Dia(fin) < Dia(inicio)) {
            MensajeAviso(QStringLiteral("¡La Fecha Inicio no puede ser mayor que la Fecha Final!"));
            return false;
        }
    }
    if (deRejilla) {
        // Each of these keeps the first value ever entered.
        const auto copiarSiVacio = [&](const char *origen, const char *destino) {
            plat::Field &d = l.fieldByName(QString::fromLatin1(destino));
            if (d.isNull() || d.asString().isEmpty())
                d.setValue(l.fieldByName(QString::fromLatin1(origen)).value());
        };
        if (nombre == QLatin1String("Capitulo"))
            copiarSiVacio("Capitulo", "DescripcionAbreviada");
        else if (nombre == QLatin1String("FechaInicio"))
            copiarSiVacio("FechaInicio", "FechaInicioOriginal");
        else if (nombre == QLatin1String("FechaFinal"))
            copiarSiVacio("FechaFinal", "FechaFinalOriginal");
    }
    bool valido = true;
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        plat::GridColumn *columna = DBGrid1->column(i);
        if (!columna->PickList.isEmpty() && columna->field())
            valido = ValidarValorColumna(deRejilla ? DBGrid1 : nullptr, columna->field()) && valido;
    }
    return valido;
}

bool TfPROYPROY::validarCliente()
{
    plat::DataSet &p = cabecera();
    const plat::Field &codigo = p.fieldByName(QStringLiteral("CodigoCliente"));
    if (codigo.asInteger() == 0)
        return true;
    plat::DataSet &clientes = Cliente->dataSet();
    if (!clientes.active() || !clientes.locate(QStringLiteral("Codigo"), codigo.asInteger())) {
        MensajeAviso(QStringLiteral("¡No existe el cliente!"));
        return false;
    }
    p.fieldByName(QStringLiteral("NombreCliente")).setValue(clientes.fieldByName(QStringLiteral("Nombre")).value());
    p.fieldByName(QStringLiteral("PersonaContacto")).setValue(clientes.fieldByName(QStringLiteral("PersonaContacto")).value());
    p.fieldByName(QStringLiteral("Telefono")).setValue(clientes.fieldByName(QStringLiteral("Telefono")).value());
    return true;
}

bool TfPROYPROY::ValidarValorColumna(plat::DBGrid *rejilla, plat::Field *campo)
{
    if (!campo || (rejilla && (rejilla != DBGrid1 || rejilla->selectedField() != campo)))
        return true;
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        plat::GridColumn *columna = DBGrid1->column(i);
        if (columna->field() != campo || columna->PickList.isEmpty())
            continue;
        const QString texto = campo->displayText();
        if (columna->PickList.contains(texto))
            return true;
        const QString comillas = QStringLiteral("\"");
        MensajeAviso(QStringLiteral("¡ El valor ") + comillas + texto + comillas + QStringLiteral(" de la columna ") + comillas
                     + columna->TitleCaption + comillas + QStringLiteral(" no es correcto !"));
        return false;
    }
    return true;
}

void TfPROYPROY::DBGrid1ColExit(QObject *)
{
    if (!ValidarProyecto(DBGrid1))
        throw gp::Abort();
}

// ---- defaults and numbering ----------------------------------------------------------------

void TfPROYPROY::Table1NewRecord(plat::DataSet &DataSet)
{
    numerarAlta(DataSet, QStringLiteral("Codigo"));
    DataSet.fieldByName(QStringLiteral("Situacion")).setAsString(QStringLiteral("Abierto"));
    DataSet.fieldByName(QStringLiteral("FechaAceptacion")).setAsDateTime(Hoy());
    DataSet.fieldByName(QStringLiteral("FechaEntrega")).setAsDateTime(Hoy());
    FormularioMaestro::Table1NewRecord(DataSet);
}

plat::Connection *TfPROYPROY::conexion() const { return Table1->table().connection(); }

int TfPROYPROY::mayorLinea(bool delServidor)
{
    // Another user adding a line to it meanwhile makes the post fail on its number, and the
    // retry asks the server.
    if (!delServidor && !proyectoHecho_.isEmpty()
        && cabecera().fieldByName(QStringLiteral("Codigo")).asString() == proyectoHecho_) {
        if (const std::optional<QVariantList> numeros = Table2->table().heldValues(CampoLinea)) {
            int mayor = 0;
            for (const QVariant &numero : *numeros)
                mayor = std::max(mayor, numero.toInt());
            return mayor;
        }
    }
    plat::Connection *c = conexion();
    if (!c)
        return 0;
    return c->scalar(QStringLiteral("SELECT MAX(Linea) FROM %1 WHERE CodigoProyecto = :codigo")
                         .arg(ModuloDatos->NombreTablaSQL(Table2->tableName())),
                     {{QStringLiteral("codigo"), cabecera().fieldByName(QStringLiteral("Codigo")).asString()}})
        .toInt();
}

std::optional<TMDProyectos::ProyectoEnMano> TfPROYPROY::proyectoEnMano(const QString &codigoProyecto) const
{
    // The header's dates only as stored: an edit not yet saved is not the project's.
    const plat::DataSet &p = cabecera();
    if (!p.active() || p.state() != plat::DataSetState::Browse || p.isEmpty()
        || p.fieldByName(QStringLiteral("Codigo")).asString() != codigoProyecto)
        return std::nullopt;
    const plat::TableDataSet &l = Table2->table();
    const auto inicio = l.heldValues(QStringLiteral("FechaInicio"));
    const auto final_ = l.heldValues(QStringLiteral("FechaFinal"));
    const auto tiempo = l.heldValues(QStringLiteral("TiempoPrevisto"));
    const auto grado = l.heldValues(QStringLiteral("GradoAvance"));
    const auto capitulo = l.heldValues(QStringLiteral("Capitulo"));
    const auto proyectos = l.heldValues(QStringLiteral("CodigoProyecto"));
    if (!inicio || !final_ || !tiempo || !grado || !capitulo || !proyectos)
        return std::nullopt;
    TMDProyectos::ProyectoEnMano proyecto{p.fieldByName(QStringLiteral("FechaAceptacion")).value(),
                                          p.fieldByName(QStringLiteral("FechaEntrega")).value(),
                                          p.fieldByName(QStringLiteral("FechaFinalizacion")).value(), {}};
    for (qsizetype i = 0; i < proyectos->size(); ++i) {
        // Rows of another project: the lines shown are not this one's.
        if (proyectos->at(i).toString() != codigoProyecto)
            return std::nullopt;
        proyecto.lineas.push_back({inicio->at(i), final_->at(i), tiempo->at(i), grado->at(i), capitulo->at(i)});
    }
    return proyecto;
}

void TfPROYPROY::Table2BeforeInsert(plat::DataSet &DataSet)
{
    if (InsercionIntermedia) {
        SiguienteLinea = int(DataSet.fieldByName(CampoLinea).asInteger());
    } else {
        // The number after the highest one, whatever order the lines are shown in.
        DataSet.last();
        SiguienteLinea = mayorLinea() + 1;
    }
    LineaEnHueco = InsercionIntermedia;
    InsercionIntermedia = false;
    ClaveDuplicacion = ModuloDatos->EstaVacio(DataSet) ? QString() : ModuloDatos->ClaveRegistro(DataSet);
}

void TfPROYPROY::Table2NewRecord(plat::DataSet &DataSet)
{
    DataSet.fieldByName(QStringLiteral("Responsable")).setValue(cabecera().fieldByName(QStringLiteral("Director")).value());
    if (Agregar->caption() == kAgregarConDuplicacion && !ClaveDuplicacion.isEmpty())
        ModuloDatos->CopiarDatosRegistro(Table2->table(), ClaveDuplicacion);
    DBGrid1->setSelectedIndex(0);
}

void TfPROYPROY::Table2BeforePost(plat::DataSet &DataSet)
{
    EstadoCabeceraAlGrabarLinea = cabecera().state();
    if (DataSet.state() == plat::DataSetState::Insert) {
        // Another user may have saved a line under the same number meanwhile: an appended
        // line then takes the next free one as the server has them. A line put in a gap keeps
        // its place or fails.
        NumeracionAlta::Siguiente siguiente;
        if (!LineaEnHueco)
            siguiente = [this] { return QString::number(mayorLinea(true) + 1); };
        numeracionLineas_.numerar(DataSet, CampoLinea, QString::number(SiguienteLinea), std::move(siguiente));
    }
    if (!ValidarProyecto(nullptr))
        throw gp::Abort();
    if (DataSet.state() == plat::DataSetState::Insert && LineaEnHueco && conexion())
        hueco_.abrir(*conexion(), ModuloDatos->NombreTablaSQL(Table2->tableName()),
                     DataSet.fieldByName(QStringLiteral("CodigoProyecto")).asString(), SiguienteLinea);
}

void TfPROYPROY::Table2AfterPost(plat::DataSet &DataSet)
{
    if (hueco_.abierto()) {
        hueco_.confirmar();
        // The lines after the new one show their new numbers.
        DataSet.refresh();
    }
    fGENEINIC->TablaAfterPost(DataSet);
    if (EstadoCabeceraAlGrabarLinea == plat::DataSetState::Insert)
        nuevaLinea();
}

void TfPROYPROY::nuevaLinea()
{
    DBGrid1->setSelectedIndex(0);
    lineas().append();
}

void TfPROYPROY::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    QWidget *foco = focusWidget();
    const bool enRejilla = foco && (foco == DBGrid1 || DBGrid1->isAncestorOf(foco));
    if (Key != plat::VK_INSERT || Shift != plat::ShiftState{} || !enRejilla) {
        FormularioMaestro::FormKeyDown(Sender, Key, Shift);
        return;
    }
    plat::DataSet &l = lineas();
    if (editandoLineas())
        l.cancel();
    marcarHuecoLinea();
    Key = 0;
    l.insert();
}

void TfPROYPROY::marcarHuecoLinea() { InsercionIntermedia = !ModuloDatos->EstaVacio(lineas()); }

// ---- saving --------------------------------------------------------------------------------

void TfPROYPROY::grabarLinea()
{
    plat::DataSet &l = lineas();
    const plat::DataSetState estado = l.state();
    if (!editandoEstado(estado))
        return;
    if (!grabarTabla(l,
                     QStringLiteral("¡ No se puede grabar la línea porque está bloqueada por otro usuario o porque el "
                                    "dato introducido no es válido !"),
                     QStringLiteral("¡ La línea no ha sido grabada !")))
        return;   // refused: the line stays as typed
    if (estado == plat::DataSetState::Insert) {
        if (l.state() == plat::DataSetState::Browse)
            nuevaLinea();
        DBGrid1->setFocus();
    }
}

// The header first, as every record window saves it, then the line.
void TfPROYPROY::GrabarDatos(QObject *Sender)
{
    FormularioMaestro::GrabarDatos(Sender);
    grabarLinea();
}

void TfPROYPROY::pbCancelarClick(QObject *)
{
    if (editandoLineas())
        lineas().cancel();
    if (editando())
        cabecera().cancel();
}

void TfPROYPROY::DBGrid1Enter(QObject *)
{
    if (!editando() || !grabarAntesDeLineas(DBGrid1))
        return;
    DBGrid1->setFocus();
    DBGrid1->setSelectedIndex(0);
}

void TfPROYPROY::Table1BeforePost(plat::DataSet &DataSet)
{
    FormularioMaestro::Table1BeforePost(DataSet);
    grabandoAlta_ = DataSet.state() == plat::DataSetState::Insert;
}

void TfPROYPROY::Table1AfterPost(plat::DataSet &DataSet)
{
    // Under the code it was stored with, which a clash on saving may have moved on.
    if (std::exchange(grabandoAlta_, false))
        proyectoHecho_ = DataSet.fieldByName(QStringLiteral("Codigo")).asString();
    FormularioMaestro::Table1AfterPost(DataSet);
    DBGrid2->viewport()->update();
}

// ---- deleting ------------------------------------------------------------------------------

void TfPROYPROY::Eliminar1Click(QObject *Sender)
{
    if (editandoLineas())
        return;
    FormularioMaestro::Eliminar1Click(Sender);
    // A refused deletion rolled the lines back: show them as stored.
    if (lineas().active())
        lineas().refresh();
}

// The project, its lines and its side rows go in one transaction: the lines and side rows
// are deleted here, the project's own delete ends it (committed after it, rolled back on
// its failure), so a project is never left without its lines.
void TfPROYPROY::Table1BeforeDelete(plat::DataSet &DataSet)
{
    plat::Connection *c = conexion();
    if (!c)
        throw gp::Abort();
    c->startTransaction();
    borrando_ = c;
    bool hecho = false;
    {
        plat::DataSet &l = lineas();
        l.disableControls();
        const auto fin = qScopeGuard([&] { l.enableControls(); });
        hecho = !gp::capturarFallo([&] {
            for (l.first(); !l.isEmpty();)
                l.remove();
        });
        hecho = hecho && ModuloDatos->BorrarRegistrosAsociados(DataSet);
    }
    if (hecho)
        hecho = !gp::capturarFallo([&] { fGENEINIC->TablaBeforeDelete(DataSet); });
    if (!hecho) {
        terminarBorrado(false);
        MensajeAviso(kFallaEliminar);
        throw gp::Abort();
    }
}

void TfPROYPROY::terminarBorrado(bool confirmar)
{
    plat::Connection *c = std::exchange(borrando_, nullptr);
    if (!c)
        return;
    if (confirmar)
        c->commit();
    else
        c->rollback();
}

void TfPROYPROY::Table1AfterDelete(plat::DataSet &) { terminarBorrado(true); }

void TfPROYPROY::Table1DeleteError(plat::DataSet &, const gp::Error &, plat::DataAction &) { terminarBorrado(false); }

void TfPROYPROY::DBGrid1KeyDown(QObject *, int &Key, plat::ShiftState Shift)
{
    if (Key != plat::VK_DELETE || !(Shift & plat::ssCtrl))
        return;
    Key = 0;
    plat::DataSet &l = lineas();
    if (editandoLineas() || ModuloDatos->EstaVacio(l) || !EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿ Está seguro de querer eliminar la linea ?")) != QLatin1String("SI"))
        return;
    try {
        if (gp::capturarFallo([&] { l.remove(); }))
            MensajeAviso(QStringLiteral("¡No ha sido posible eliminar la línea!"));
    } catch (const gp::Abort &) {
        // the before-delete hook stopped it and said why
    }
}

// A new project's side rows are those attached to its code meanwhile; a project saved
// under that code by another user keeps its own.
void TfPROYPROY::Table1BeforeCancel(plat::DataSet &DataSet)
{
    if (DataSet.state() != plat::DataSetState::Insert || (focusWidget() && focusWidget() == EditCodigoProyecto))
        return;
    const QString codigo = DataSet.fieldByName(QStringLiteral("Codigo")).asString();
    if (codigo.isEmpty() || ModuloDatos->ExisteClave(DataSet, codigo + u';'))
        return;
    ModuloDatos->BorrarRegistrosAsociados(DataSet);
}

// ---- order, pages, figures -----------------------------------------------------------------

void TfPROYPROY::ModalidadChange(QObject *)
{
    plat::TableDataSet &t = Table2->table();
    QString indice;
    if (Modalidad->text() == QLatin1String("Por Fecha de Inicio"))
        indice = ModuloDatos->NombreIndice(t, QStringLiteral("Clave3"));
    else if (Modalidad->text() == QLatin1String("Por Capitulo"))
        indice = ModuloDatos->NombreIndice(t, QStringLiteral("Clave2"));
    t.setIndexName(indice);
}

void TfPROYPROY::VerDiasClick(QObject *) { DBGrid2->viewport()->update(); }

void TfPROYPROY::ajustarGrafico() { ModuloDatos->AjustarColumnasRejilla(*DBGrid2, QStringLiteral("ColumnaInicial:2")); }

void TfPROYPROY::PageControl1Change(QObject *)
{
    const bool grafico = PageControl1->activePage() == PagGrafico;
    if (grafico)
        ajustarGrafico();
    for (QWidget *control : {static_cast<QWidget *>(VerDias), static_cast<QWidget *>(pbImprimir),
                             static_cast<QWidget *>(pbImprimirApaisado), static_cast<QWidget *>(Modalidad)})
        control->setEnabled(grafico);
}

void TfPROYPROY::FormResize(QObject *)
{
    if (ModuloDatos && DBGrid2->dataSet() && DBGrid2->dataSet()->active())
        ajustarGrafico();
}

void TfPROYPROY::Table2CalcFields(plat::DataSet &DataSet)
{
    if (!MDProyectos)
        return;
    const QString codigo = DataSet.fieldByName(QStringLiteral("CodigoProyecto")).asString();
    const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(
        codigo, DataSet.fieldByName(QStringLiteral("Capitulo")).asString(), [&] { return proyectoEnMano(codigo); });
    if (NumeroDia(plan.FechaInicio) != 0)
        DataSet.fieldByName(QStringLiteral("FechaInicioCapitulo")).setAsDateTime(plan.FechaInicio);
    if (NumeroDia(plan.FechaFinal) != 0)
        DataSet.fieldByName(QStringLiteral("FechaFinalCapitulo")).setAsDateTime(plan.FechaFinal);
    DataSet.fieldByName(QStringLiteral("TiempoPrevistoCapitulo")).setAsFloat(plan.TiempoPrevisto);
}

// ---- painting ------------------------------------------------------------------------------

namespace {

// The look of a cell of the grid before its text: the selection's colours or the window's.
void PrepararCelda(plat::Canvas &canvas, plat::GridCellState estado, int colorFondo)
{
    const bool seleccionada = estado & plat::gdsSelected;
    canvas.brush().Style = plat::bsSolid;
    canvas.brush().Color = seleccionada ? plat::clHighlight : colorFondo;
    canvas.font().Color = seleccionada ? plat::clHighlightText : plat::clWindowText;
}

// What the painters need of the line drawn: whether it has its own dates and hours (read
// from the texts shown: a figure of 0 shows no digit but 0) and its progress.
LineaPlan LineaDe(const plat::DBGrid &rejilla)
{
    const auto numero = [&](const char *campo) {
        const QString texto = rejilla.drawnText(QString::fromLatin1(campo));
        return std::any_of(texto.begin(), texto.end(), [](QChar c) { return c >= u'1' && c <= u'9'; }) ? 1.0 : 0.0;
    };
    return LineaPlan{numero("FechaInicio"), numero("FechaFinal"), numero("TiempoPrevisto"),
                     rejilla.drawnText(QStringLiteral("GradoAvance"))};
}

} // namespace

void TfPROYPROY::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    plat::Canvas *canvas = DBGrid1->canvas();
    if (!canvas || !Column)
        return;
    PrepararCelda(*canvas, State, plat::clWindow);
    canvas->FillRect(Rect);
    FilaCapitulos fila{LineaDe(*DBGrid1), DBGrid1->drawnText(QStringLiteral("FechaInicioCapitulo")),
                       DBGrid1->drawnText(QStringLiteral("FechaFinalCapitulo")),
                       DBGrid1->drawnText(QStringLiteral("TiempoPrevistoCapitulo")), DBGrid1->drawingEditedRow()};
    PintarCeldaCapitulos(*canvas, Rect, Column->FieldName, DBGrid1->drawnText(Column->FieldName), fila);
}

void TfPROYPROY::DBGrid2DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    plat::Canvas *canvas = DBGrid2->canvas();
    if (!canvas || !Column)
        return;
    PrepararCelda(*canvas, State, plat::clWindow);
    canvas->FillRect(Rect);
    const LineaPlan linea = LineaDe(*DBGrid2);
    if (Column->FieldName != kGrafico) {
        PrepararFuenteLinea(*canvas, linea);
        canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, DBGrid2->drawnText(Column->FieldName));
        return;
    }
    canvas->brush().Color = plat::clWhite;
    canvas->FillRect(Rect);
    canvas->pen().Color = plat::clSilver;
    if (!MDProyectos)
        return;
    const QString codigo = DBGrid2->drawnText(QStringLiteral("CodigoProyecto"));
    const CapituloGantt capitulo{linea,
                                 MDProyectos->CalcularPlanProyecto(codigo, DBGrid2->drawnText(QStringLiteral("Capitulo")))};
    PintarCapituloMaestro(*canvas, Rect, ganttGrafico_->planProyecto(codigo), capitulo, VerDias->isChecked(), NumeroDia(Ahora()));
}

void TfPROYPROY::DBGrid2DrawTitle(QObject *, const QRect &Rect, int, plat::GridColumn *Column)
{
    if (Column)
        ganttGrafico_->dibujarTitulo(Rect, *Column, cabecera());
}

// ---- look-ups ------------------------------------------------------------------------------

void TfPROYPROY::DBGrid1DblClick(QObject *)
{
    const plat::Field *campo = DBGrid1->selectedField();
    if (!campo || campo->fieldName() != QLatin1String("Responsable") || ModuloDatos->EstaVacio(lineas()))
        return;
    lineas().edit();
    const QVariant elegido = BuscarRegistro(QStringLiteral("OPERARIO"), 0);
    if (!elegido.isNull() && !elegido.toList().isEmpty())
        lineas().fieldByName(QStringLiteral("Responsable")).setAsString(elegido.toList().first().toString());
}

void TfPROYPROY::BuscarDatosDBEdit(QObject *Sender)
{
    if (Sender != EditCodigoCliente || !cabecera().active())
        return;
    if (!editando())
        cabecera().edit();
    const QVariant elegido = BuscarRegistro(QStringLiteral("CLIENTE"), 0);
    if (!elegido.isNull() && !elegido.toList().isEmpty())
        cabecera().fieldByName(QStringLiteral("CodigoCliente")).setAsString(elegido.toList().first().toString());
}

void TfPROYPROY::DBGrid1EditButtonClick(QObject *)
{
    plat::DataSet &l = lineas();
    if (!fGENEVMEM || (!editandoLineas() && ModuloDatos->EstaVacio(l)))
        return;
    l.edit();
    const QString titulo = QStringLiteral("Capítulo ") + l.fieldByName(QStringLiteral("Capitulo")).asString()
        + QStringLiteral(" - Descripción Ampliada");
    QString texto;
    l.fieldByName(QStringLiteral("DescripcionAmpliada"))
        .setAsString(VisualizarAsignarCampoTexto(l, titulo, QStringLiteral("DescripcionAmpliada"), texto));
}

