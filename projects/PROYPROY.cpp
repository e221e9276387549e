#include "projects/PROYPROY.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/data/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Keys.h"
#include "GENEW/data/DibujarEscalaTiempo.h"
#include "GENEW/data/ParametrosGenerales.h"
#include "projects/DibujoGantt.h"
#include "projects/PintorCapitulos.h"
#include "projects/PintoresGantt.h"
#include "projects/Proymodu.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScopeGuard>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TfPROYPROY *fPROYPROY = nullptr;

namespace {

const QString kAgregarConDuplicacion = QStringLiteral("&Agregar con Duplicación");
const QString kFormatoCifras = QStringLiteral("#,###.##");
const QString kGrafico = QStringLiteral("Grafico");
const QString kFallaEliminar = QStringLiteral("¡ Se ha producido un error eliminando el registro !");
// The reorder's work table (key text and the packed line).
const QString kDefinicionTemporal =
    QStringLiteral("Tabla Temporal\r\n/C/1/CampoClave/ftString/40/*\r\n/C/2/Datos/ftString/200/\r\n/I/1/<Primary>/CampoClave");

bool editandoEstado(plat::DataSetState estado)
{
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert;
}

template<class C>
C *colocar(C *control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    return control;
}

void enlazar(plat::DataBound *control, plat::DataSource *origen, const QString &campo)
{
    control->setDataSource(origen);
    control->setDataField(campo);
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

TfPROYPROY::~TfPROYPROY() = default;

// ---- building ------------------------------------------------------------------------------

void TfPROYPROY::construirCabecera(QWidget *area)
{
    PanelCabecera = make<plat::Panel>(QStringLiteral("PanelCabecera"), area);
    PanelCabecera->setFixedHeight(40);
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int left, int width) {
        auto *l = colocar(make<plat::Label>(nombre, PanelCabecera), left, 12, width, 16);
        l->setCaption(texto);
        return l;
    };
    LabelCodigo = etiqueta(QStringLiteral("LabelCodigo"), QStringLiteral("Código"), 8, 44);
    EditCodigoProyecto = colocar(make<plat::DBEdit>(QStringLiteral("EditCodigoProyecto"), PanelCabecera), 56, 8, 110, 24);
    enlazar(EditCodigoProyecto, DataSource1, QStringLiteral("Codigo"));
    LabelDescripcion = etiqueta(QStringLiteral("LabelDescripcion"), QStringLiteral("Descripción"), 176, 70);
    EditDescripcion = colocar(make<plat::DBEdit>(QStringLiteral("EditDescripcion"), PanelCabecera), 248, 8, 430, 24);
    enlazar(EditDescripcion, DataSource1, QStringLiteral("Descripcion"));
    LabelSituacion = etiqueta(QStringLiteral("LabelSituacion"), QStringLiteral("Situación"), 690, 60);
    EditSituacion = colocar(make<plat::DBComboBox>(QStringLiteral("EditSituacion"), PanelCabecera), 752, 8, 110, 24);
    EditSituacion->setStyle(plat::ComboBox::csDropDownList);
    EditSituacion->setItems({QStringLiteral("Abierto"), QStringLiteral("Cerrado")});
    enlazar(EditSituacion, DataSource1, QStringLiteral("Situacion"));
}

void TfPROYPROY::construirHerramientas(QWidget *area)
{
    PanelHerramientas = make<plat::Panel>(QStringLiteral("PanelHerramientas"), area);
    PanelHerramientas->setFixedHeight(34);
    auto *fila = new QHBoxLayout(PanelHerramientas);
    fila->setContentsMargins(4, 2, 4, 2);
    fila->setSpacing(2);
    const auto boton = [&](const QString &nombre, QStyle::StandardPixmap icono, const QString &pista) {
        auto *b = make<plat::SpeedButton>(nombre, PanelHerramientas);
        b->setIcon(style()->standardIcon(icono));
        b->setFixedSize(28, 28);
        b->setHint(pista);
        fila->addWidget(b);
        return b;
    };
    pbImprimirDocumento =
        boton(QStringLiteral("pbImprimirDocumento"), QStyle::SP_FileDialogDetailedView, QStringLiteral("Imprimir el documento actual"));
    Modalidad = make<plat::ComboBox>(QStringLiteral("Modalidad"), PanelHerramientas);
    Modalidad->setStyle(plat::ComboBox::csDropDownList);
    Modalidad->setItems({QStringLiteral("Por Orden de Introduccion"), QStringLiteral("Por Fecha de Inicio"),
                         QStringLiteral("Por Capitulo")});
    Modalidad->setItemIndex(0);
    Modalidad->setFixedWidth(180);
    Modalidad->setEnabled(false);
    fila->addWidget(Modalidad);
    VerDias = boton(QStringLiteral("VerDias"), QStyle::SP_FileDialogListView, QStringLiteral("Ver/No Ver Días"));
    VerDias->setGroupIndex(1);
    VerDias->setAllowAllUp(true);
    VerDias->setEnabled(false);
    pbDuplicar = boton(QStringLiteral("pbDuplicar"), QStyle::SP_FileDialogNewFolder,
                       QStringLiteral("Duplicar el documento actual en otro nuevo"));
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStyle::SP_ComputerIcon, QStringLiteral("Imprimir el Gráfico"));
    pbImprimirApaisado = boton(QStringLiteral("pbImprimirApaisado"), QStyle::SP_DesktopIcon,
                               QStringLiteral("Imprimir el Gráfico en formato apaisado"));
    pbImprimir->setEnabled(false);
    pbImprimirApaisado->setEnabled(false);
    pbDocumentoWord = boton(QStringLiteral("pbDocumentoWord"), QStyle::SP_FileIcon,
                            QStringLiteral("Crear/Revisar documento Word adjunto"));
    pbEliminarDocumentoWord = boton(QStringLiteral("pbEliminarDocumentoWord"), QStyle::SP_DialogDiscardButton,
                                    QStringLiteral("Eliminar el documento Word adjunto"));
    pbDocumentacionElectronica = boton(QStringLiteral("pbDocumentacionElectronica"), QStyle::SP_DirOpenIcon,
                                       QStringLiteral("Acceso a la Documentación Electrónica"));
    fila->addStretch(1);
}

void TfPROYPROY::construirPaginas(QWidget *area)
{
    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), area);
    const auto pagina = [&](const QString &nombre, const QString &titulo) {
        auto *p = make<plat::TabSheet>(nombre, PageControl1);
        p->setCaption(titulo);
        PageControl1->addPage(p);
        return p;
    };
    PagGeneral = pagina(QStringLiteral("PagGeneral"), QStringLiteral("General"));
    PagCapitulos = pagina(QStringLiteral("PagCapitulos"), QStringLiteral("Capítulos (Hitos)"));
    PagGrafico = pagina(QStringLiteral("PagGrafico"), QStringLiteral("Gráfico"));
    construirPaginaGeneral();
    construirRejillaCapitulos();
    construirRejillaGrafico();
}

void TfPROYPROY::construirPaginaGeneral()
{
    QWidget *p = PagGeneral;
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int left, int top) {
        auto *l = colocar(make<plat::Label>(nombre, p), left, top, 110, 16);
        l->setCaption(texto);
        return l;
    };
    const auto edicion = [&](const QString &nombre, const QString &campo, int left, int top, int width) {
        auto *e = colocar(make<plat::DBEdit>(nombre, p), left, top, width, 24);
        enlazar(e, DataSource1, campo);
        return e;
    };
    LabelCliente = etiqueta(QStringLiteral("LabelCliente"), QStringLiteral("Cliente"), 8, 14);
    EditCodigoCliente = edicion(QStringLiteral("EditCodigoCliente"), QStringLiteral("CodigoCliente"), 124, 10, 80);
    EditNombreCliente = edicion(QStringLiteral("EditNombreCliente"), QStringLiteral("NombreCliente"), 210, 10, 300);
    LabelPersonaContacto = etiqueta(QStringLiteral("LabelPersonaContacto"), QStringLiteral("Persona Contacto"), 8, 44);
    EditPersonaContacto = edicion(QStringLiteral("EditPersonaContacto"), QStringLiteral("PersonaContacto"), 124, 40, 300);
    LabelTelefono = etiqueta(QStringLiteral("LabelTelefono"), QStringLiteral("Teléfono"), 8, 74);
    EditTelefono = edicion(QStringLiteral("EditTelefono"), QStringLiteral("Telefono"), 124, 70, 200);
    LabelDirector = etiqueta(QStringLiteral("LabelDirector"), QStringLiteral("Director"), 8, 104);
    EditDirector = colocar(make<plat::DBLookupComboBox>(QStringLiteral("EditDirector"), p), 124, 100, 300, 24);
    enlazar(EditDirector, DataSource1, QStringLiteral("Director"));
    EditDirector->setListSource(DSOperario);
    EditDirector->setKeyField(QStringLiteral("Codigo"));
    EditDirector->setListField(QStringLiteral("Nombre"));
    LabelFechaAceptacion = etiqueta(QStringLiteral("LabelFechaAceptacion"), QStringLiteral("Fecha Aceptación"), 530, 14);
    EditFechaAceptacion = edicion(QStringLiteral("EditFechaAceptacion"), QStringLiteral("FechaAceptacion"), 646, 10, 100);
    LabelFechaEntrega = etiqueta(QStringLiteral("LabelFechaEntrega"), QStringLiteral("Fecha Entrega"), 530, 44);
    EditFechaEntrega = edicion(QStringLiteral("EditFechaEntrega"), QStringLiteral("FechaEntrega"), 646, 40, 100);
    LabelFechaFinalizacion =
        etiqueta(QStringLiteral("LabelFechaFinalizacion"), QStringLiteral("Fecha Finalización"), 530, 74);
    EditFechaFinalizacion =
        edicion(QStringLiteral("EditFechaFinalizacion"), QStringLiteral("FechaFinalizacion"), 646, 70, 100);
    DBMemo1 = colocar(make<plat::DBMemo>(QStringLiteral("DBMemo1"), p), 8, 136, 860, 240);
    enlazar(DBMemo1, DataSource1, QStringLiteral("DescripcionAmpliada"));
}

void TfPROYPROY::construirRejillaCapitulos()
{
    auto *caja = new QVBoxLayout(PagCapitulos);
    caja->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), PagCapitulos);
    caja->addWidget(DBGrid1);
    DBGrid1->setDataSource(DataSource2);
    DBGrid1->setDefaultDrawing(false);
    const struct
    {
        const char *campo;
        const char *titulo;
        int ancho;
    } columnas[] = {{"Capitulo", "Capítulo", 86},      {"Descripcion", "", 312},        {"DescripcionAmpliada", "...", 16},
                    {"DescripcionAbreviada", "Abreviatura", 74}, {"FechaInicio", "F.Inicio", 68}, {"FechaFinal", "F.Final", 68},
                    {"TiempoPrevisto", "Tiempo", 41},  {"GradoAvance", "G.Avance", 71}, {"Responsable", "", 75},
                    {"Importe", "", 83}};
    for (const auto &c : columnas) {
        plat::GridColumn *columna = DBGrid1->addColumn(QString::fromLatin1(c.campo));
        columna->TitleCaption = QString::fromUtf8(c.titulo);
        columna->Width = c.ancho;
    }
    DBGrid1->column(2)->ButtonStyle = plat::cbsEllipsis;
    DBGrid1->column(7)->PickList = {QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("50"), QStringLiteral("75"),
                                    QStringLiteral("90"), QStringLiteral("Terminado"), QString()};
    DBGrid1->updateColumns();
}

void TfPROYPROY::construirRejillaGrafico()
{
    auto *caja = new QVBoxLayout(PagGrafico);
    caja->setContentsMargins(0, 0, 0, 0);
    DBGrid2 = make<plat::DBGrid>(QStringLiteral("DBGrid2"), PagGrafico);
    caja->addWidget(DBGrid2);
    DBGrid2->setDataSource(DataSource2);
    DBGrid2->setReadOnly(true);
    DBGrid2->setRowSelect(true);
    DBGrid2->setDefaultDrawing(false);
    const struct
    {
        const char *campo;
        const char *titulo;
        int ancho;
    } columnas[] = {{"Capitulo", "Capítulo", 86}, {"Descripcion", "Descripción", 312}, {"Grafico", " ", 511}};
    for (const auto &c : columnas) {
        plat::GridColumn *columna = DBGrid2->addColumn(QString::fromLatin1(c.campo));
        columna->TitleCaption = QString::fromUtf8(c.titulo);
        columna->Width = c.ancho;
    }
    DBGrid2->updateColumns();
    DBGrid2->viewport()->installEventFilter(this);
}

void TfPROYPROY::construirMenuLineas()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    const auto opcion = [&](const QString &nombre, const QString &texto, int tecla,
                            void (TfPROYPROY::*clic)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, texto, PopupMenu1);
        if (tecla)
            item->setShortCut(plat::ShortCut(tecla, plat::ssCtrl));
        if (clic)
            item->OnClick = plat::handler(this, clic);
        PopupMenu1->Items()->Add(item);
        return item;
    };
    CortarLinea1 = opcion(QStringLiteral("CortarLinea1"), QStringLiteral("Cor&tar Línea"), 'X', &TfPROYPROY::CortarLinea1Click);
    CopiarLnea1 = opcion(QStringLiteral("CopiarLnea1"), QStringLiteral("&Copiar Línea"), 'C', &TfPROYPROY::CopiarLnea1Click);
    PegarLinea1 = opcion(QStringLiteral("PegarLinea1"), QStringLiteral("&Pegar Línea"), 'V', &TfPROYPROY::PegarLinea1Click);
    PegarLinea1->setEnabled(false);
    opcion(QStringLiteral("N10"), QStringLiteral("-"), 0, nullptr);
    ReordenarporFechadeInicio1 = opcion(QStringLiteral("ReordenarporFechadeInicio1"),
                                        QStringLiteral("&Reordenar por Fecha de Inicio"), 0,
                                        &TfPROYPROY::ReordenarporFechadeInicio1Click);
    RenumerarCapitulos = opcion(QStringLiteral("RenumerarCapitulos"), QStringLiteral("Renumerar &Capítulos"), 0,
                                &TfPROYPROY::RenumerarCapitulosClick);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = DBGrid1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
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
    pbConforme->OnClick = handler(this, &TfPROYPROY::pbConformeClick);
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

    plat::DataSet &p = cabecera();
    p.OnNewRecord = [this](plat::DataSet &ds) { Table1NewRecord(ds); };
    p.BeforeDelete = [this](plat::DataSet &ds) { Table1BeforeDelete(ds); };
    p.AfterDelete = [this](plat::DataSet &ds) { Table1AfterDelete(ds); };
    p.OnDeleteError = [this](plat::DataSet &ds, const gp::Error &e, plat::DataAction &a) { Table1DeleteError(ds, e, a); };
    p.BeforeCancel = [this](plat::DataSet &ds) { Table1BeforeCancel(ds); };
    p.AfterPost = [this](plat::DataSet &ds) { Table1AfterPost(ds); };
    plat::DataSet &l = lineas();
    l.BeforeInsert = [this](plat::DataSet &ds) { Table2BeforeInsert(ds); };
    l.OnNewRecord = [this](plat::DataSet &ds) { Table2NewRecord(ds); };
    l.BeforePost = [this](plat::DataSet &ds) { Table2BeforePost(ds); };
    l.AfterPost = [this](plat::DataSet &ds) { Table2AfterPost(ds); };
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
    if (cabecera().active()) {
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
        // The grids read their first rows as the tables opened, before these settings.
        lineas().refresh();
    }
    DataSetAbribleDe<plat::TableDataSet> abrible(Temporal->table(), objectName());
    if (fGENEINIC->CrearTabla(abrible, kDefinicionTemporal, fGENEINIC->Conexiones().EmpresaActual)
        && !Temporal->table().active())
        Temporal->table().open();
    DataSource1->setAutoEdit(true);
    DataSource2->setAutoEdit(true);
    PageControl1->setActivePage(PagGeneral);
}

void TfPROYPROY::FormClose(QObject *Sender, plat::CloseAction &Action)
{
    try {
        Temporal->table().close();
        Temporal->table().deleteTable();
    } catch (const gp::Error &) {
        // A work table that cannot be dropped now is a leftover, not lost data.
    }
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
    DataSet.fieldByName(QStringLiteral("Codigo")).setAsString(QString::number(ModuloDatos->SiguienteCodigo(Table1->table(), 1)));
    DataSet.fieldByName(QStringLiteral("Situacion")).setAsString(QStringLiteral("Abierto"));
    DataSet.fieldByName(QStringLiteral("FechaAceptacion")).setAsDateTime(Hoy());
    DataSet.fieldByName(QStringLiteral("FechaEntrega")).setAsDateTime(Hoy());
    FormularioMaestro::Table1NewRecord(DataSet);
}

plat::Connection *TfPROYPROY::conexion() const { return Table1->table().connection(); }

int TfPROYPROY::mayorLinea()
{
    plat::Connection *c = conexion();
    if (!c)
        return 0;
    return c->scalar(QStringLiteral("SELECT MAX(Linea) FROM %1 WHERE CodigoProyecto = :codigo")
                         .arg(ModuloDatos->NombreTablaSQL(Table2->tableName())),
                     {{QStringLiteral("codigo"), cabecera().fieldByName(QStringLiteral("Codigo")).asString()}})
        .toInt();
}

void TfPROYPROY::Table2BeforeInsert(plat::DataSet &DataSet)
{
    if (InsercionIntermedia) {
        SiguienteLinea = int(DataSet.fieldByName(CampoLinea).asInteger()) - 1;
    } else {
        // The number after the highest one, whatever order the lines are shown in.
        DataSet.last();
        SiguienteLinea = mayorLinea() + 1;
    }
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
    if (DataSet.state() == plat::DataSetState::Insert)
        DataSet.fieldByName(CampoLinea).setAsInteger(SiguienteLinea);
    if (!ValidarProyecto(nullptr))
        throw gp::Abort();
}

void TfPROYPROY::Table2AfterPost(plat::DataSet &DataSet)
{
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
    if (!ModuloDatos->EstaVacio(l)) {
        const int linea = int(l.fieldByName(CampoLinea).asInteger());
        if (!ModuloDatos->InsertarLinea(Table2->table(), l.bookmark()))
            return;
        InsercionIntermedia = true;
        l.refresh();
        // The line that was current now holds the next number.
        l.locate(CampoLinea, linea + 1);
    }
    Key = 0;
    l.insert();
}

// ---- saving --------------------------------------------------------------------------------

bool TfPROYPROY::grabarCabecera()
{
    plat::DataSet &p = cabecera();
    const plat::DataSetState estado = p.state();
    if (!editandoEstado(estado))
        return true;
    try {
        if (!gp::capturarFallo([&] { p.post(); }))
            return true;
    } catch (const gp::Abort &) {
        return false;   // the validation refused and said why; the edit stays
    }
    MensajeAviso(estado == plat::DataSetState::Edit ? comportamiento.fallaGrabarEdicion : comportamiento.fallaGrabarAlta);
    p.cancel();
    return false;
}

void TfPROYPROY::grabarLinea()
{
    plat::DataSet &l = lineas();
    const plat::DataSetState estado = l.state();
    if (!editandoEstado(estado))
        return;
    try {
        if (gp::capturarFallo([&] { l.post(); })) {
            MensajeAviso(estado == plat::DataSetState::Edit
                             ? QStringLiteral("¡ No se puede grabar la línea porque está bloqueada por otro usuario o "
                                              "porque el dato introducido no es válido !")
                             : QStringLiteral("¡ La línea no ha sido grabada !"));
            l.cancel();
        }
    } catch (const gp::Abort &) {
        return;   // refused by the validation: the line stays as typed
    }
    if (estado == plat::DataSetState::Insert) {
        if (l.state() == plat::DataSetState::Browse)
            nuevaLinea();
        DBGrid1->setFocus();
    }
}

// The header first, then the line.
void TfPROYPROY::GrabarDatos(QObject *)
{
    const plat::DataSetState estado = cabecera().state();
    if (editandoEstado(estado)) {
        grabarCabecera();
        if (estado == plat::DataSetState::Insert)
            AgregarClick(this);
    }
    grabarLinea();
}

void TfPROYPROY::pbConformeClick(QObject *Sender) { GrabarDatos(Sender); }

void TfPROYPROY::pbCancelarClick(QObject *)
{
    if (editandoLineas())
        lineas().cancel();
    if (editando())
        cabecera().cancel();
}

void TfPROYPROY::DBGrid1Enter(QObject *)
{
    if (!editando())
        return;
    grabarCabecera();
    DBGrid1->setFocus();
    DBGrid1->setSelectedIndex(0);
}

void TfPROYPROY::Table1AfterPost(plat::DataSet &DataSet)
{
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
    if (editandoLineas() || ModuloDatos->EstaVacio(l))
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
    const PlanProyecto plan =
        MDProyectos->CalcularPlanProyecto(DataSet.fieldByName(QStringLiteral("CodigoProyecto")).asString(),
                                          DataSet.fieldByName(QStringLiteral("Capitulo")).asString());
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
                       DBGrid1->drawnText(QStringLiteral("TiempoPrevistoCapitulo"))};
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
    PintarCapituloMaestro(*canvas, Rect, planProyectoPantalla(codigo), capitulo, VerDias->isChecked(), NumeroDia(Ahora()));
}

// Every row of a screen is drawn on its project's span: it is read once for the screen
// (the whole project's lines), not once per row; a new screen reads it afresh.
const PlanProyecto &TfPROYPROY::planProyectoPantalla(const QString &codigo)
{
    if (!planPantalla_ || planPantalla_->first != codigo)
        planPantalla_.emplace(codigo, MDProyectos->CalcularPlanProyecto(codigo, QString()));
    return planPantalla_->second;
}

bool TfPROYPROY::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == DBGrid2->viewport())
        planPantalla_.reset();
    return FormularioMaestro::eventFilter(watched, event);
}

void TfPROYPROY::DBGrid2DrawTitle(QObject *, const QRect &Rect, int, plat::GridColumn *Column)
{
    plat::Canvas *canvas = DBGrid2->canvas();
    if (!canvas || !Column)
        return;
    if (Column->FieldName != kGrafico) {
        canvas->brush().Style = plat::bsClear;
        canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, Column->TitleCaption);
        return;
    }
    const plat::DataSet &p = cabecera();
    if (p.active() && !p.isEmpty())
        DibujarTituloMaestro(*canvas, Rect, p.fieldByName(QStringLiteral("Codigo")).asString());
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
    if (ModuloDatos->EstaVacio(lineas()) && !editandoLineas())
        return;
    lineas().edit();
}

// ---- the line tools, printing and documents ------------------------------------------------

void TfPROYPROY::CortarLinea1Click(QObject *) {}
void TfPROYPROY::CopiarLnea1Click(QObject *) {}
void TfPROYPROY::PegarLinea1Click(QObject *) {}
void TfPROYPROY::ReordenarporFechadeInicio1Click(QObject *) {}
void TfPROYPROY::RenumerarCapitulosClick(QObject *) {}
void TfPROYPROY::pbImprimirClick(QObject *) {}
void TfPROYPROY::pbImprimirDocumentoClick(QObject *) {}
void TfPROYPROY::pbDuplicarClick(QObject *) {}
void TfPROYPROY::pbDocumentoWordClick(QObject *) {}
void TfPROYPROY::pbEliminarDocumentoWordClick(QObject *) {}

void TfPROYPROY::pbDocumentacionElectronicaClick(QObject *Sender) { DocumentacionElectronica1Click(Sender); }
