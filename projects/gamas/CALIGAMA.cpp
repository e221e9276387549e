#include "projects/gamas/CALIGAMA.h"

#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Keys.h"
#include "projects/gamas/CALILGAM.h"
#include "projects/gamas/EspecificacionGama.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QScopeGuard>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TfCALIGAMA *fCALIGAMA = nullptr;

namespace {

const QString kAgregarConDuplicacion = QStringLiteral("&Agregar con Duplicación");
const QString kCodigo = QStringLiteral("Codigo");
const QString kLinea = QStringLiteral("Linea");
const QString kModalidad = QStringLiteral("Modalidad");
const QString kAmpliada = QStringLiteral("DescripcionAmpliada");
const QString kEspecificacion = QStringLiteral("Especificacion");
const QString kPlanReaccion = QStringLiteral("PlanReaccion");
const QString kFallaEliminar = QStringLiteral("¡ Se ha producido un error eliminando el registro !");
const QString kTransaccionNoCompletada = QStringLiteral("¡ La transacción no ha sido completada !. Inténtelo de nuevo.");

bool enEdicion(plat::DataSetState estado)
{
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert;
}

// A grid column: field, title, the field's size in characters (the column's width follows
// it), the values offered and whether it opens an editor.
struct Columna
{
    const char *campo;
    const char *titulo;
    int caracteres;
    QStringList ofrecidos = {};
    bool editor = false;
};

// Runs the work; false when it failed or a hook refused it.
template<class Trabajo>
bool intentar(Trabajo &&trabajo)
{
    try {
        return !gp::capturarFallo(std::forward<Trabajo>(trabajo));
    } catch (const gp::Abort &) {
        return false;
    }
}

void enlazar(plat::DataBound *control, plat::DataSource *origen, const QString &campo)
{
    control->setDataSource(origen);
    control->setDataField(campo);
}

} // namespace

QString TextoCeldaLineaGama(const QString &campo, const QString &valor)
{
    if (campo == kAmpliada)
        return QStringLiteral(" ...");
    if (campo == kPlanReaccion)
        return QString(valor).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return QString();
}

TfCALIGAMA::TfCALIGAMA(QWidget *parent)
    : FormularioMaestro(parent, QStringLiteral("fCALIGAMA"), QStringLiteral("Maestro de Gamas de Control")),
      instancia_(fCALIGAMA, this)
{
    comportamiento.fallaGrabarEdicion =
        QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario.");
    comportamiento.fallaGrabarAlta = QStringLiteral("¡ El registro no ha sido grabado !");
    comportamiento.preguntaEliminar = QStringLiteral("¿Está seguro de querer eliminar el registro y todas sus líneas?");
    comportamiento.fallaEliminar = kFallaEliminar;
    comportamiento.anadirAlFinal = true;
    comportamiento.nuevoTrasGrabarAlta = false;
    comportamiento.refrescarSoloNavegando = true;
    setBounds(0, 0, 900, 560);
    Table1->setTableName(QStringLiteral("GCNTROL"));
    Table2 = make<plat::TableComponent>(QStringLiteral("Table2"), this);
    Table2->setTableName(QStringLiteral("LGCNTROL"));
    Table3 = make<plat::TableComponent>(QStringLiteral("Table3"), this);
    Table3->setTableName(QStringLiteral("HGCNTROL"));
    DataSource2 = make<plat::DataSource>(QStringLiteral("DataSource2"), this);
    DataSource2->setDataSet(Table2);
    DataSource3 = make<plat::DataSource>(QStringLiteral("DataSource3"), this);
    DataSource3->setDataSet(Table3);

    QWidget *area = areaDatos();
    auto *caja = new QVBoxLayout(area);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    construirCabecera(area);
    caja->addWidget(PanelSuperior);
    construirPaginasCabecera(area);
    caja->addWidget(PageControl1);
    construirRejillas(area);
    caja->addWidget(PageControl2, 1);
    conectarEventos();
    establecerCampoClave(EditCodigo);
    EditCodigo->OnExit = plat::handler(this, &TfCALIGAMA::CampoClaveExit);
}

TfCALIGAMA::~TfCALIGAMA()
{
    // The grids lose the focus while the window is being taken apart.
    DBGrid1->OnEnter = nullptr;
    DBGrid2->OnEnter = nullptr;
}

// ---- controls ------------------------------------------------------------------------------

void TfCALIGAMA::construirCabecera(QWidget *area)
{
    PanelSuperior = make<plat::Panel>(QStringLiteral("PanelSuperior"), area);
    PanelSuperior->setFixedHeight(40);
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int left, int width) {
        auto *l = plat::place(make<plat::Label>(nombre, PanelSuperior), left, 12, width, 16);
        l->setCaption(texto);
        return l;
    };
    LabelCodigo = etiqueta(QStringLiteral("LabelCodigo"), QStringLiteral("Código"), 8, 44);
    EditCodigo = plat::place(make<plat::DBEdit>(QStringLiteral("EditCodigo"), PanelSuperior), 56, 8, 160, 24);
    enlazar(EditCodigo, DataSource1, kCodigo);
    LabelDescripcion = etiqueta(QStringLiteral("LabelDescripcion"), QStringLiteral("Descripción"), 228, 70);
    EditDescripcion = plat::place(make<plat::DBEdit>(QStringLiteral("EditDescripcion"), PanelSuperior), 300, 8, 320, 24);
    enlazar(EditDescripcion, DataSource1, QStringLiteral("Descripcion"));
    const auto boton = [&](const QString &nombre, QStyle::StandardPixmap icono, const QString &pista, int left) {
        auto *b = plat::place(make<plat::SpeedButton>(nombre, PanelSuperior), left, 6, 28, 28);
        b->setIcon(style()->standardIcon(icono));
        b->setAutoRaise(true);
        b->setHint(pista);
        return b;
    };
    pbDocumentacionElectronica = boton(QStringLiteral("pbDocumentacionElectronica"), QStyle::SP_DirOpenIcon,
                                       QStringLiteral("Acceso a la Documentación Electrónica"), 640);
    pbDuplicar = boton(QStringLiteral("pbDuplicar"), QStyle::SP_FileDialogNewFolder,
                       QStringLiteral("Duplicar la gama actual en otra nueva"), 672);
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStyle::SP_ComputerIcon, QStringLiteral("Imprimir la gama actual"), 704);
}

void TfCALIGAMA::construirPaginasCabecera(QWidget *area)
{
    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), area);
    PageControl1->setFixedHeight(118);
    const auto pagina = [&](plat::PageControl *control, const QString &nombre, const QString &titulo) {
        auto *p = make<plat::TabSheet>(nombre, control);
        p->setCaption(titulo);
        control->addPage(p);
        return p;
    };
    PagGeneral = pagina(PageControl1, QStringLiteral("PagGeneral"), QStringLiteral("General"));
    PagObservaciones = pagina(PageControl1, QStringLiteral("PagObservaciones"), QStringLiteral("Observaciones"));

    PiezasContables = plat::place(make<plat::DBCheckBox>(QStringLiteral("PiezasContables"), PagGeneral), 12, 10, 160, 22);
    PiezasContables->setCaption(QStringLiteral("Piezas Contables"));
    PiezasContables->setValueChecked(QStringLiteral("SI"));
    PiezasContables->setValueUnchecked(QStringLiteral("NO"));
    enlazar(PiezasContables, DataSource1, QStringLiteral("PiezasContables"));
    LabelNivelModificacion = plat::place(make<plat::Label>(QStringLiteral("LabelNivelModificacion"), PagGeneral), 200, 13, 170, 16);
    LabelNivelModificacion->setCaption(QStringLiteral("Nivel de Modificación Actual"));
    EditNivelModificacion =
        plat::place(make<plat::DBEdit>(QStringLiteral("EditNivelModificacion"), PagGeneral), 376, 10, 70, 24);
    enlazar(EditNivelModificacion, DataSource1, QStringLiteral("NivelModificacion"));
    LabelModalidad = plat::place(make<plat::Label>(QStringLiteral("LabelModalidad"), PagGeneral), 12, 47, 70, 16);
    LabelModalidad->setCaption(QStringLiteral("Modalidad"));
    Modalidad = plat::place(make<plat::DBComboBox>(QStringLiteral("Modalidad"), PagGeneral), 90, 44, 120, 24);
    Modalidad->setStyle(plat::ComboBox::csDropDownList);
    Modalidad->setItems({QStringLiteral("Auto"), QStringLiteral("Normal"), QStringLiteral("SemiAuto"),
                         QStringLiteral("Documento"), QStringLiteral("Externa")});
    enlazar(Modalidad, DataSource1, kModalidad);

    auto *caja = new QVBoxLayout(PagObservaciones);
    caja->setContentsMargins(2, 2, 2, 2);
    DBMemo1 = make<plat::DBMemo>(QStringLiteral("DBMemo1"), PagObservaciones);
    caja->addWidget(DBMemo1);
    enlazar(DBMemo1, DataSource1, QStringLiteral("Observaciones"));
}

plat::DBGrid *TfCALIGAMA::construirRejilla(const QString &nombre, plat::TabSheet *pagina, plat::DataSource *origen)
{
    auto *caja = new QVBoxLayout(pagina);
    caja->setContentsMargins(0, 0, 0, 0);
    auto *rejilla = make<plat::DBGrid>(nombre, pagina);
    caja->addWidget(rejilla);
    rejilla->setDataSource(origen);
    return rejilla;
}

void TfCALIGAMA::construirRejillas(QWidget *area)
{
    PageControl2 = make<plat::PageControl>(QStringLiteral("PageControl2"), area);
    PageControl2->setMinimumHeight(260);
    const auto pagina = [&](const QString &nombre, const QString &titulo) {
        auto *p = make<plat::TabSheet>(nombre, PageControl2);
        p->setCaption(titulo);
        PageControl2->addPage(p);
        return p;
    };
    PagGenerales = pagina(QStringLiteral("PagGenerales"), QStringLiteral("Generales"));
    PagHistorico = pagina(QStringLiteral("PagHistorico"), QStringLiteral("Histórico"));
    DBGrid1 = construirRejilla(QStringLiteral("DBGrid1"), PagGenerales, DataSource2);
    DBGrid1->setDefaultDrawing(false);
    DBGrid2 = construirRejilla(QStringLiteral("DBGrid2"), PagHistorico, DataSource3);

    const QStringList tipos = {QStringLiteral("Critica"), QStringLiteral("Principal"), QStringLiteral("Secundaria"),
                               QStringLiteral("Seguridad")};
    const QStringList modalidades = {QStringLiteral("Auto"), QStringLiteral("Normal")};
    const Columna caracteristicas[] = {
        {"Linea", "Línea", 5},
        {"Descripcion", "Descripción", 40},
        {"DescripcionAmpliada", "...", 3, {}, true},
        {"Especificacion", "Especificación", 25, {}, true},
        {"NCA", "NCA", 25},
        {"TipoCaracteristica", "Tipo Caracteristica", 15, tipos},
        {"Muestra", "Muestra", 12},
        {"Frecuencia", "Frecuencia", 25},
        {"Instrumento", "Instrumento", 25},
        {"MetodoAnalisis", "Método Análisis", 25},
        {"Condiciones", "Condiciones", 25},
        {"Modalidad", "Modalidad", 10, modalidades},
        {"PlanReaccion", "Plan Reacción", 25, {}, true},
        {"Observaciones", "Observaciones", 40},
    };
    const Columna modificaciones[] = {
        {"Linea", "Línea", 5},
        {"Nivel", "Nivel", 6},
        {"Modificacion", "Modificación", 40},
    };
    const QFontMetrics letra = DBGrid1->fontMetrics();
    const auto columnas = [&letra](plat::DBGrid *rejilla, const auto &lista) {
        for (const Columna &c : lista) {
            plat::GridColumn *columna = rejilla->addColumn(QString::fromLatin1(c.campo));
            columna->TitleCaption = QString::fromUtf8(c.titulo);
            // As wide as the field's size, never narrower than its title: measured on screen.
            rejilla->setShownWidth(
                rejilla->columnCount() - 1,
                std::max(c.caracteres * letra.averageCharWidth(), letra.horizontalAdvance(columna->TitleCaption)) + 8);
            // Offered values: any other typed text is kept as well.
            columna->PickList = c.ofrecidos;
            if (c.editor)
                columna->ButtonStyle = plat::cbsEllipsis;
        }
        rejilla->updateColumns();
    };
    columnas(DBGrid1, caracteristicas);
    columnas(DBGrid2, modificaciones);
}

void TfCALIGAMA::conectarEventos()
{
    using plat::handler;
    pbCancelar->OnClick = handler(this, &TfCALIGAMA::pbCancelarClick);
    CancelarEdicion1->OnClick = handler(this, &TfCALIGAMA::pbCancelarClick);
    pbEliminar->OnClick = handler(this, &TfCALIGAMA::Eliminar1Click);
    Eliminar1->OnClick = handler(this, &TfCALIGAMA::Eliminar1Click);
    CopiarRegistrosaOtrasEmpresas1->OnClick = handler(this, &TfCALIGAMA::CopiarRegistrosaOtrasEmpresas1Click);
    pbDuplicar->OnClick = handler(this, &TfCALIGAMA::pbDuplicarClick);
    pbImprimir->OnClick = handler(this, &TfCALIGAMA::pbImprimirClick);
    pbDocumentacionElectronica->OnClick = handler(this, &TfCALIGAMA::pbDocumentacionElectronicaClick);
    DataSource2->OnStateChange = handler(this, &TfCALIGAMA::DataSourceDetalleStateChange);
    DataSource3->OnStateChange = handler(this, &TfCALIGAMA::DataSourceDetalleStateChange);
    PageControl2->OnChange = handler(this, &TfCALIGAMA::PageControl2Change);
    for (plat::DBGrid *rejilla : {DBGrid1, DBGrid2}) {
        rejilla->OnEnter = handler(this, &TfCALIGAMA::DBGridEnter);
        rejilla->OnKeyDown = handler(this, &TfCALIGAMA::DBGridKeyDown);
        rejilla->OnColExit = handler(this, &TfCALIGAMA::DBGridColExit);
        rejilla->OnDblClick = handler(this, &TfCALIGAMA::DBGrid1DblClick);
    }
    DBGrid1->OnEditButtonClick = handler(this, &TfCALIGAMA::DBGrid1EditButtonClick);
    DBGrid1->OnDrawColumnCell = handler(this, &TfCALIGAMA::DBGrid1DrawColumnCell);

    cabecera().AfterScroll = [this](plat::DataSet &ds) { Table1AfterScroll(ds); };
    plat::DataSet &l = lineas();
    l.BeforeInsert = [this](plat::DataSet &ds) { Table2BeforeInsert(ds); };
    l.OnNewRecord = [this](plat::DataSet &ds) { Table2NewRecord(ds); };
    plat::DataSet &h = historico();
    h.BeforeInsert = [this](plat::DataSet &ds) { Table3BeforeInsert(ds); };
    h.OnNewRecord = [this](plat::DataSet &ds) { Table3NewRecord(ds); };
    for (plat::DataSet *detalle : {&l, &h}) {
        detalle->BeforePost = [this](plat::DataSet &ds) { TableBeforePost(ds); };
        detalle->AfterPost = [this](plat::DataSet &ds) { TableAfterPost(ds); };
    }
}

// ---- creation and states -------------------------------------------------------------------

void TfCALIGAMA::FormCreate(QObject *Sender)
{
    if (!fGENEINIC || !ModuloDatos)
        return;
    lineas().setMasterSource(&cabecera(), kCodigo);
    historico().setMasterSource(&cabecera(), kCodigo);
    FormularioMaestro::FormCreate(Sender);
    DataSource2->setAutoEdit(true);
    DataSource3->setAutoEdit(true);
    PageControl1->setActivePage(PagGeneral);
    PageControl2->setActivePage(PagGenerales);
    ajustarAltura();
    if (cabecera().active())
        Table1AfterScroll(cabecera());
}

// The window ends just below its button panel: the data area's fixed parts, the grids'
// least height and the panel, plus the frame of the MDI sub-window around it.
void TfCALIGAMA::ajustarAltura()
{
    const int contenido = PanelSuperior->height() + PageControl1->height() + PageControl2->minimumHeight()
        + PanelControl->height();
    QWidget *marco = mdiSubWindow();
    const int bordes = marco ? marco->height() - QWidget::height() : 0;
    setHeight(contenido + bordes);
}

bool TfCALIGAMA::algunaEditando() const
{
    return editando() || enEdicion(lineas().state()) || enEdicion(historico().state());
}

void TfCALIGAMA::DataSource1StateChange(QObject *Sender)
{
    FormularioMaestro::DataSource1StateChange(Sender);
    HabilitarControles(algunaEditando());
}

void TfCALIGAMA::DataSourceDetalleStateChange(QObject *) { HabilitarControles(algunaEditando()); }

void TfCALIGAMA::pbRefrescarClick(QObject *) { fGENEINIC->RefrescarDatos(this, QStringLiteral("Apertura/Cierre")); }

// ---- the header ----------------------------------------------------------------------------

void TfCALIGAMA::AgregarClick(QObject *)
{
    cabecera().append();
    EditCodigo->setFocus();
}

void TfCALIGAMA::Table1BeforeInsert(plat::DataSet &DataSet)
{
    ClaveDuplicacion = ModuloDatos->EstaVacio(DataSet) ? QString() : ModuloDatos->ClaveRegistro(DataSet);
}

void TfCALIGAMA::copiarDuplicacion(plat::TableComponent *tabla)
{
    if (Agregar->caption() == kAgregarConDuplicacion && !ClaveDuplicacion.isEmpty())
        ModuloDatos->CopiarDatosRegistro(tabla->table(), ClaveDuplicacion);
}

void TfCALIGAMA::Table1NewRecord(plat::DataSet &DataSet)
{
    DataSet.fieldByName(QStringLiteral("PiezasContables")).setAsString(QStringLiteral("SI"));
    DataSet.fieldByName(kModalidad).setAsString(QStringLiteral("Normal"));
    PageControl1->setActivePage(PagGeneral);
    PageControl2->setActivePage(PagGenerales);
    copiarDuplicacion(Table1);
}

void TfCALIGAMA::volverAlCodigo()
{
    // After the focus change that left the code has finished, or it would win.
    QTimer::singleShot(0, EditCodigo, [control = QPointer<plat::DBEdit>(EditCodigo)] {
        if (control)
            control->setFocus();
    });
}

void TfCALIGAMA::CampoClaveExit(QObject *)
{
    plat::DataSet &tabla = cabecera();
    // The focus taken by another window (the search, a message) has not left the code.
    const QWidget *destino = QApplication::focusWidget();
    if (!tabla.active() || !destino || destino->window() != window())
        return;
    const QString codigo = EditCodigo->text().trimmed();
    if (codigo.isEmpty()) {
        tabla.cancel();
        return;
    }
    if (!claveEnRango(tabla.fieldByName(kCodigo), codigo)) {
        volverAlCodigo();
        return;
    }
    if (tabla.state() == plat::DataSetState::Insert) {
        if (focusWidget() == pbConforme) {
            grabarTabla(tabla);
            return;
        }
        // The insert starts again where the typed code belongs.
        tabla.cancel();
        const bool existe = tabla.locate(kCodigo, codigo);
        if (existe)
            MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
        tabla.append();
        tabla.fieldByName(kCodigo).setAsString(codigo);
        if (existe)
            volverAlCodigo();
    }
    ValidarControl(EditCodigo);
}

void TfCALIGAMA::BuscarDatosDBEdit(QObject *Sender)
{
    if (Sender != EditCodigo || cabecera().state() != plat::DataSetState::Insert)
        return;
    const QVariantList elegido = BuscarRegistro(QStringLiteral("ARTICULO"), 0).toList();
    if (!elegido.isEmpty())
        cabecera().fieldByName(kCodigo).setAsString(elegido.first().toString());
}

void TfCALIGAMA::Table1AfterScroll(plat::DataSet &DataSet)
{
    fGENEINIC->TablaAfterScroll(DataSet);
    const bool documentos = !ModuloDatos->EstaVacio(DataSet)
        && ModuloDatos->TieneDocumentacionElectronica(QStringLiteral("GCNTROL"), DataSet.fieldByName(kCodigo).asString());
    pbDocumentacionElectronica->setGlyph(fGENEINIC->Imagenes.value(documentos ? QStringLiteral("DOCEON")
                                                                             : QStringLiteral("DOCEOFF")));
}

// ---- lines and history ---------------------------------------------------------------------

void TfCALIGAMA::seleccionarPrimeraColumna()
{
    DBGrid1->setSelectedIndex(0);
    DBGrid2->setSelectedIndex(0);
}

void TfCALIGAMA::Table2BeforeInsert(plat::DataSet &DataSet)
{
    ClaveDuplicacion = ModuloDatos->EstaVacio(DataSet) ? QString() : ModuloDatos->ClaveRegistro(DataSet);
}

void TfCALIGAMA::Table3BeforeInsert(plat::DataSet &DataSet) { Table2BeforeInsert(DataSet); }

void TfCALIGAMA::Table2NewRecord(plat::DataSet &DataSet)
{
    const bool automatica = cabecera().fieldByName(kModalidad).asString() == QLatin1String("Auto");
    DataSet.fieldByName(kModalidad).setAsString(automatica ? QStringLiteral("Auto") : QStringLiteral("Normal"));
    copiarDuplicacion(Table2);
    if (filaGrabadaNueva())
        seleccionarPrimeraColumna();
}

void TfCALIGAMA::Table3NewRecord(plat::DataSet &)
{
    copiarDuplicacion(Table3);
    if (filaGrabadaNueva())
        seleccionarPrimeraColumna();
}

void TfCALIGAMA::TableBeforePost(plat::DataSet &DataSet) { estadoFilaAntesDeGrabar_ = DataSet.state(); }

void TfCALIGAMA::TableAfterPost(plat::DataSet &DataSet)
{
    fGENEINIC->TablaAfterPost(DataSet);
    if (!filaGrabadaNueva())
        return;
    seleccionarPrimeraColumna();
    DataSet.append();
}

plat::DataSet &TfCALIGAMA::tablaDeRejilla(QObject *rejilla) const { return rejilla == DBGrid2 ? historico() : lineas(); }

void TfCALIGAMA::DBGridEnter(QObject *Sender)
{
    auto *rejilla = qobject_cast<plat::DBGrid *>(Sender);
    if (!rejilla || !grabarAntesDeLineas(rejilla))
        return;
    rejilla->setFocus();
    rejilla->setSelectedIndex(0);
}

void TfCALIGAMA::DBGridColExit(QObject *Sender)
{
    plat::DataSet &tabla = tablaDeRejilla(Sender);
    if (!enEdicion(tabla.state()))
        return;
    plat::Field &linea = tabla.fieldByName(kLinea);
    const QString texto = linea.asString().trimmed();
    if (texto.isEmpty()) {
        tabla.cancel();
        return;
    }
    if (!claveEnRango(linea, texto))
        throw gp::Abort();
    auto *rejilla = qobject_cast<plat::DBGrid *>(Sender);
    if (rejilla && rejilla->selectedIndex() == 0 && tabla.state() == plat::DataSetState::Insert
        && ModuloDatos->ExisteClave(tabla, ModuloDatos->ClaveRegistro(tabla))) {
        MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
        throw gp::Abort();
    }
}

void TfCALIGAMA::DBGridKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    if (Key != plat::VK_DELETE || !Shift.testFlag(plat::ssCtrl))
        return;
    Key = 0;
    plat::DataSet &tabla = tablaDeRejilla(Sender);
    if (enEdicion(tabla.state()) || ModuloDatos->EstaVacio(tabla) || !EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿ Está seguro de querer eliminar la linea ?")) != QLatin1String("SI"))
        return;
    const bool fallo = !intentar([&] { tabla.remove(); });
    if (fallo)
        MensajeAviso(QStringLiteral("¡No ha sido posible eliminar la línea!"));
}

void TfCALIGAMA::DBGrid1DblClick(QObject *Sender)
{
    plat::DataSet &tabla = tablaDeRejilla(Sender);
    if (enEdicion(tabla.state()) || ModuloDatos->EstaVacio(tabla))
        return;
    const bool fallo = !intentar([&] { tabla.edit(); });
    if (fallo)
        MensajeAviso(QStringLiteral("¡El registro está bloqueado por otro usuario!"));
}

void TfCALIGAMA::editarMemoLinea(const QString &campo, const QString &descripcion)
{
    if (!fGENEVMEM)
        return;
    plat::DataSet &l = lineas();
    const QString titulo = QStringLiteral("Linea ") + l.fieldByName(kLinea).asString() + QStringLiteral(" - ") + descripcion;
    QString texto;
    VisualizarAsignarCampoTexto(l, titulo, campo, texto);
    if (enEdicion(l.state()))
        l.fieldByName(campo).setAsString(texto);
}

void TfCALIGAMA::editarEspecificacion()
{
    plat::Field &campo = lineas().fieldByName(kEspecificacion);
    const PartesEspecificacion partes = PartirEspecificacion(campo.asString());
    const QString desde =
        MensajePedirDato(QStringLiteral("Introduzca el valor Desde para ") + kEspecificacion + u':', partes.desde);
    const QString hasta =
        MensajePedirDato(QStringLiteral("Introduzca el valor Hasta para ") + kEspecificacion + u':', partes.hasta);
    campo.setAsString(UnirEspecificacion(desde, hasta));
}

void TfCALIGAMA::DBGrid1EditButtonClick(QObject *)
{
    plat::DataSet &l = lineas();
    const bool fallo = !intentar([&] { l.edit(); });
    const plat::Field *campo = DBGrid1->selectedField();
    if (fallo || !enEdicion(l.state()) || !campo)
        return;
    const QString nombre = campo->fieldName();
    if (nombre == kAmpliada)
        editarMemoLinea(kAmpliada, QStringLiteral("Descripción Ampliada"));
    else if (nombre == kEspecificacion)
        editarEspecificacion();
    else if (nombre == kPlanReaccion)
        editarMemoLinea(kPlanReaccion, QStringLiteral("Plan de Reacción"));
}

void TfCALIGAMA::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    if (!Column || (Column->FieldName != kAmpliada && Column->FieldName != kPlanReaccion)) {
        DBGrid1->DefaultDrawColumnCell(Rect, DataCol, Column, State);
        return;
    }
    plat::Canvas *canvas = DBGrid1->canvas();
    canvas->brush().Color = State.testFlag(plat::gdsSelected) ? plat::clHighlight : plat::clWindow;
    canvas->font().Color = State.testFlag(plat::gdsSelected) ? plat::clHighlightText : plat::clWindowText;
    canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2,
                     TextoCeldaLineaGama(Column->FieldName, DBGrid1->drawnText(Column->FieldName)));
}

void TfCALIGAMA::PageControl2Change(QObject *)
{
    plat::TabSheet *editada = enEdicion(lineas().state())       ? PagGenerales
                            : enEdicion(historico().state()) ? PagHistorico
                                                             : nullptr;
    if (!editada || PageControl2->activePage() == editada)
        return;
    MensajeAviso(QStringLiteral("¡Debe terminar la edición antes de cambiar de carpeta!"));
    PageControl2->setActivePage(editada);
}

// ---- saving and cancelling -----------------------------------------------------------------

bool TfCALIGAMA::grabarTabla(plat::DataSet &tabla)
{
    return FormularioMaestro::grabarTabla(tabla, comportamiento.fallaGrabarEdicion, comportamiento.fallaGrabarAlta);
}

// The header first, so that the rows below a new range find it stored.
void TfCALIGAMA::GrabarDatos(QObject *)
{
    for (plat::DataSet *tabla : {&cabecera(), &lineas(), &historico()})
        grabarTabla(*tabla);
}

void TfCALIGAMA::pbConformeClick(QObject *Sender) { GrabarDatos(Sender); }

void TfCALIGAMA::pbCancelarClick(QObject *)
{
    for (plat::DataSet *tabla : {&historico(), &lineas(), &cabecera()})
        if (enEdicion(tabla->state()))
            tabla->cancel();
}

// ---- deleting ------------------------------------------------------------------------------

bool TfCALIGAMA::borrarGamaConDetalles()
{
    for (plat::TableComponent *detalle : findChildren<plat::TableComponent *>()) {
        if (detalle == Table1 || !detalle->objectName().startsWith(QLatin1String("Table")))
            continue;
        plat::DataSet &tabla = detalle->dataSet();
        tabla.disableControls();
        const auto fin = qScopeGuard([&] { tabla.enableControls(); });
        const bool borradas = intentar([&] {
            for (tabla.first(); !tabla.isEmpty();)
                tabla.remove();
        });
        if (!borradas)
            return false;
    }
    return intentar([&] { cabecera().remove(); });
}

// The range, its lines and its history go in one transaction of the company connection:
// all of them or, on any failure, none.
void TfCALIGAMA::Eliminar1Click(QObject *)
{
    ConexionesPrograma &conexiones = fGENEINIC->Conexiones();
    if (conexiones.EnTransaccion || conexiones.EnTransaccionFormularios) {
        MensajeAviso(QStringLiteral("¡ Hay otra transacción activa en curso !. Debe finalizarla previamente."));
        return;
    }
    if (algunaEditando())
        return;
    plat::Connection *conexion = Table1->table().connection();
    if (!fGENEINIC->IniciarTransaccion(conexion)) {
        // Without the transaction the rows would go one by one: nothing is deleted.
        MensajeAviso(kTransaccionNoCompletada);
        return;
    }
    if (!ModuloDatos->EstaVacio(cabecera())
        && MensajeConfirmacion(comportamiento.preguntaEliminar) == QLatin1String("SI") && !borrarGamaConDetalles()) {
        MensajeAviso(kFallaEliminar);
        conexiones.EnTransaccionFormularios = true;
    }
    if (!conexiones.EnTransaccionFormularios && fGENEINIC->ConfirmarTransaccion(conexion))
        return;
    if (conexiones.EnTransaccionFormularios)
        MensajeAviso(kTransaccionNoCompletada);
    fGENEINIC->CancelarTransaccion(conexion);
    // The grids show again the rows that are still stored.
    for (plat::DataSet *tabla : {&cabecera(), &lineas(), &historico()})
        if (tabla->active())
            tabla->refresh();
}

// ---- services ------------------------------------------------------------------------------

void TfCALIGAMA::pbDuplicarClick(QObject *)
{
    if (algunaEditando() || ModuloDatos->EstaVacio(cabecera()))
        return;
    QString resultado;
    ModuloDatos->DuplicarRegistro(Table1->table(), &Table2->table(), resultado);
}

void TfCALIGAMA::pbImprimirClick(QObject *)
{
    const QString codigo = ModuloDatos->EstaVacio(cabecera()) ? QString() : cabecera().fieldByName(kCodigo).asString();
    GamaDesdeApertura = codigo;
    GamaHastaApertura = codigo;
    ModuloDatos->AbrirFormularioMDI(fCALILGAM, QStringLiteral("fCALILGAM"));
}

void TfCALIGAMA::pbDocumentacionElectronicaClick(QObject *Sender) { DocumentacionElectronica1Click(Sender); }

void TfCALIGAMA::CopiarRegistrosaOtrasEmpresas1Click(QObject *)
{
    if (fGENECOPI)
        fGENECOPI->CopiarTablaConDetalles(Table1->table(), Table2->table(), Table3->table());
}
