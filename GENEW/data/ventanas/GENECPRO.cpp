#include "GENEW/data/ventanas/GENECPRO.h"

#include "GENEW/data/modulo/CopiaClasificada.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/ConexionesPrograma.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QHeaderView>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <cmath>

TfGENECPRO *fGENECPRO = nullptr;

Gancho<ImprimirListadoFn> &ganchoImprimirListadoProgramable()
{
    static Gancho<ImprimirListadoFn> gancho;
    return gancho;
}

namespace {

const QString kPrefijo = QStringLiteral("Prefijo");
const QString kNombre = QStringLiteral("Nombre");
const QString kTitulo = QStringLiteral("Titulo");
const QString kSeleccionado = QStringLiteral("ListaSeleccionado");
const QString kFiltros = QStringLiteral("ListaFiltrosSQL");
const QString kFinLinea = QStringLiteral("\r\n");

QString tablaDe(const plat::DataSet &dataSet)
{
    if (const auto *tabla = dynamic_cast<const plat::TableDataSet *>(&dataSet))
        return tabla->tableName();
    if (const QObject *componente = plat::DataSetComponent::of(&dataSet))
        return componente->objectName().toUpper();
    return QString();
}

QStringList lineasDe(const QString &texto)
{
    QStringList lineas = texto.split(QRegularExpression(QStringLiteral("\r?\n")));
    while (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}

} // namespace

TfGENECPRO::TfGENECPRO(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECPRO"));
    setCaption(QStringLiteral("Listado Programable"));
    setPosition(plat::poScreenCenter);
    resize(680, 470);
    construirControles();
    construirMenu();

    pbAgregar->OnClick = [this](QObject *s) { pbAgregarClick(s); };
    pbConforme->OnClick = [this](QObject *s) { pbConformeClick(s); };
    pbGuardar->OnClick = [this](QObject *s) { pbGuardarClick(s); };
    pbGuardarComo->OnClick = [this](QObject *s) { pbGuardarComoClick(s); };
    pbEliminar->OnClick = [this](QObject *s) { pbEliminarClick(s); };
    pbStandard->OnClick = [this](QObject *s) { pbStandardClick(s); };
    pbCambiarFont->OnClick = [this](QObject *s) { pbCambiarFontClick(s); };
    FormatoFicha->OnClick = [this](QObject *s) { FormatoFichaClick(s); };
    pbActivarTablaLogica->OnClick = [this](QObject *s) { pbActivarTablaLogicaClick(s); };
    LBDisponible->setDragMode(plat::dmAutomatic);
    LBSeleccionado->setDragMode(plat::dmAutomatic);
    LBDisponible->OnDragOver = plat::handler(this, &TfGENECPRO::LBDisponibleDragOver);
    LBDisponible->OnDragDrop = plat::handler(this, &TfGENECPRO::LBDisponibleDragDrop);
    LBSeleccionado->OnDragOver = plat::handler(this, &TfGENECPRO::LBSeleccionadoDragOver);
    LBSeleccionado->OnDragDrop = plat::handler(this, &TfGENECPRO::LBSeleccionadoDragDrop);
    PageControl1->OnChange = [this](QObject *s) { PageControl1Change(s); };
    StringGrid->OnDrawCell = plat::handler(this, &TfGENECPRO::StringGridDrawCell);
    connect(NombreFormato, &QComboBox::activated, this, [this](int indice) {
        plat::TableDataSet &formatos = FORMLIST->table();
        if (formatos.active() && formatos.locate(kNombre, NombreFormato->itemText(indice)))
            formatoElegido();
    });
    OnClose = [this](QObject *, plat::CloseAction &) {
        restaurarFiltro();
        BorrarCopiaClasificada(Temporal->table());
    };
    // Only widths the user drags count: the grid sets its own widths whenever it lays out.
    QHeaderView *cabecera = DBGrid1->horizontalHeader();
    cabecera->viewport()->installEventFilter(this);
    connect(cabecera, &QHeaderView::sectionResized, this, [this](int columna, int, int pixeles) {
        if (cabeceraPulsada_)
            anchoDeColumna(columna, pixeles);
    });
    // Enter moves to the next control everywhere but in the filter memo; F1 opens the help.
    setKeyPreview(true);
    OnKeyDown = plat::handler(this, &TfGENECPRO::FormKeyDown);
    OnKeyPress = [this](QObject *, QChar &Key) {
        if (Key == QChar(u'\r') && focusWidget() != MemoFiltros) {
            Key = QChar();
            selectNext(true);
        }
    };
}

// The global names only a living form.
TfGENECPRO::~TfGENECPRO()
{
    if (fGENECPRO == this)
        fGENECPRO = nullptr;
}

void TfGENECPRO::construirControles()
{
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);

    auto *cabecera = make<plat::Panel>(QStringLiteral("PanelFormato"), this);
    cabecera->setFixedHeight(36);
    NombreFormato = plat::place(make<plat::ComboBox>(QStringLiteral("NombreFormato"), cabecera), 8, 6, 220, 24);
    NombreFormato->setStyle(plat::ComboBox::csDropDownList);
    const auto boton = [&](const QString &nombre, const QString &texto, int izquierda) {
        auto *b = plat::place(make<plat::SpeedButton>(nombre, cabecera), izquierda, 6, 60, 24);
        b->setCaption(texto);
        return b;
    };
    pbGuardar = boton(QStringLiteral("pbGuardar"), QStringLiteral("Guardar"), 234);
    pbGuardarComo = boton(QStringLiteral("pbGuardarComo"), QStringLiteral("Como..."), 296);
    pbEliminar = boton(QStringLiteral("pbEliminar"), QStringLiteral("Eliminar"), 358);
    pbStandard = boton(QStringLiteral("pbStandard"), QStringLiteral("Estándar"), 420);
    pbCambiarFont = boton(QStringLiteral("pbCambiarFont"), QStringLiteral("Letra"), 482);
    pbActivarTablaLogica = boton(QStringLiteral("pbActivarTablaLogica"), QStringLiteral("Lógica"), 544);
    pbActivarTablaLogica->setGroupIndex(1);
    pbActivarTablaLogica->setAllowAllUp(true);
    pbExportarExcel = boton(QStringLiteral("pbExportarExcel"), QStringLiteral("Excel"), 606);
    pbExportarExcel->setGroupIndex(2);
    pbExportarExcel->setAllowAllUp(true);

    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), this);
    const auto pagina = [&](const QString &nombre, const QString &titulo) {
        auto *p = make<plat::TabSheet>(nombre, PageControl1);
        p->setCaption(titulo);
        PageControl1->addPage(p);
        return p;
    };
    PagSeleccionCampos = pagina(QStringLiteral("PagSeleccionCampos"), QStringLiteral("Selección"));
    PagDesdeHasta = pagina(QStringLiteral("PagDesdeHasta"), QStringLiteral("Desde-Hasta"));
    PagFiltros = pagina(QStringLiteral("PagFiltros"), QStringLiteral("Filtros"));
    PagAjustar = pagina(QStringLiteral("PagAjustar"), QStringLiteral("Ajustar"));

    auto *etiqueta = plat::place(make<plat::Label>(QStringLiteral("LabelDisponible"), PagSeleccionCampos), 8, 6, 200, 16);
    etiqueta->setCaption(QStringLiteral("Campos Disponibles"));
    LBDisponible = plat::place(make<plat::ListBox>(QStringLiteral("LBDisponible"), PagSeleccionCampos), 8, 24, 290, 250);
    LBDisponible->setMultiSelect(true);
    LBDisponible->setSortingEnabled(true);
    etiqueta = plat::place(make<plat::Label>(QStringLiteral("LabelSeleccionado"), PagSeleccionCampos), 316, 6, 200, 16);
    etiqueta->setCaption(QStringLiteral("Campos Seleccionados"));
    LBSeleccionado = plat::place(make<plat::ListBox>(QStringLiteral("LBSeleccionado"), PagSeleccionCampos), 316, 24, 290, 250);
    LBSeleccionado->setMultiSelect(true);

    StringGrid = plat::place(make<plat::StringGrid>(QStringLiteral("StringGrid"), PagDesdeHasta), 8, 8, 598, 266);
    StringGrid->setColCount(3);
    StringGrid->setFixedCols(1);
    StringGrid->setFixedRows(1);
    StringGrid->setEditing(true);

    ListaCampos = plat::place(make<plat::ComboBox>(QStringLiteral("ListaCampos"), PagFiltros), 8, 8, 200, 24);
    ListaCampos->setStyle(plat::ComboBox::csDropDownList);
    Operador = plat::place(make<plat::ComboBox>(QStringLiteral("Operador"), PagFiltros), 214, 8, 60, 24);
    Operador->setStyle(plat::ComboBox::csDropDownList);
    Operador->setItems({QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral(">="),
                        QStringLiteral("<="), QStringLiteral("<>")});
    Operador->setItemIndex(0);
    Valor = plat::place(make<plat::Edit>(QStringLiteral("Valor"), PagFiltros), 280, 8, 230, 24);
    pbAgregar = plat::place(make<plat::Button>(QStringLiteral("pbAgregar"), PagFiltros), 516, 7, 90, 26);
    pbAgregar->setCaption(QStringLiteral("&Agregar"));
    MemoFiltros = plat::place(make<plat::Memo>(QStringLiteral("MemoFiltros"), PagFiltros), 8, 40, 598, 234);

    DBGrid1 = plat::place(make<plat::DBGrid>(QStringLiteral("DBGrid1"), PagAjustar), 8, 8, 598, 266);
    caja->addWidget(cabecera);
    caja->addWidget(PageControl1, 1);

    auto *opciones = make<plat::Panel>(QStringLiteral("PanelOpciones"), this);
    opciones->setFixedHeight(112);
    const auto casilla = [&](const QString &nombre, const QString &texto, int izquierda, int arriba, bool marcada) {
        auto *c = plat::place(make<plat::CheckBox>(nombre, opciones), izquierda, arriba, 150, 20);
        c->setCaption(texto);
        c->setChecked(marcada);
        return c;
    };
    FormatoFicha = casilla(QStringLiteral("FormatoFicha"), QStringLiteral("Formato Ficha"), 8, 6, false);
    NumeroColumnasFicha = plat::place(make<plat::SpinEdit>(QStringLiteral("NumeroColumnasFicha"), opciones), 8, 30, 60, 22);
    NumeroColumnasFicha->setRange(1, 10);
    NumeroColumnasFicha->setValue(1);
    NumeroLineasMemoFicha = plat::place(make<plat::SpinEdit>(QStringLiteral("NumeroLineasMemoFicha"), opciones), 76, 30, 60, 22);
    NumeroLineasMemoFicha->setRange(1, 50);
    NumeroLineasMemoFicha->setValue(3);
    SepararPorPaginas = casilla(QStringLiteral("SepararPorPaginas"), QStringLiteral("Separar por Página"), 8, 56, false);
    cbTamanio = plat::place(make<plat::ComboBox>(QStringLiteral("cbTamanio"), opciones), 170, 6, 60, 24);
    cbTamanio->setStyle(plat::ComboBox::csDropDownList);
    cbTamanio->setItems({QStringLiteral("A3"), QStringLiteral("A4")});
    cbTamanio->setItemIndex(1);
    cbApaisado = casilla(QStringLiteral("cbApaisado"), QStringLiteral("Apaisado"), 240, 8, false);
    VisualizacionPrevia = casilla(QStringLiteral("VisualizacionPrevia"), QStringLiteral("Visualización Previa"), 170, 34, true);
    cbClasificado = casilla(QStringLiteral("cbClasificado"), QStringLiteral("Clasificado"), 330, 8, true);
    LimitarPalabras = casilla(QStringLiteral("LimitarPalabras"), QStringLiteral("Limitar Palabras"), 330, 34, false);
    Titulo = plat::place(make<plat::Edit>(QStringLiteral("Titulo"), opciones), 170, 60, 436, 24);
    DBNavigator1 = plat::place(make<plat::DBNavigator>(QStringLiteral("DBNavigator1"), opciones), 8, 84, 120, 24);
    DBNavigator1->setVisibleButtons({plat::nbFirst, plat::nbPrior, plat::nbNext, plat::nbLast});
    pbConforme = plat::place(make<plat::Button>(QStringLiteral("pbConforme"), opciones), 420, 86, 90, 24);
    pbConforme->setCaption(QStringLiteral("Conforme"));
    pbConforme->setDefault(true);
    pbSalir = plat::place(make<plat::Button>(QStringLiteral("pbSalir"), opciones), 516, 86, 90, 24);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    pbSalir->setModalResult(plat::mrCancel);
    pbSalir->setCancelButton(true);
    caja->addWidget(opciones);
    FormatoFichaClick(FormatoFicha);

    FORMLIST = make<plat::TableComponent>(QStringLiteral("FORMLIST"), this);
    FORMLIST->setTableName(QStringLiteral("FORMLIST"));
    DSFormatos = make<plat::DataSource>(QStringLiteral("DSFormatos"), this);
    DSFormatos->setDataSet(&FORMLIST->dataSet());
    DBNavigator1->setDataSource(DSFormatos);
    DBNavigator1->OnNavigate = [this](QObject *, plat::NavigateButton) { formatoElegido(); };
    TablaFisica = make<plat::TableComponent>(QStringLiteral("TablaFisica"), this);
    Temporal = make<plat::TableComponent>(QStringLiteral("Temporal"), this);
    Query1 = make<plat::QueryComponent>(QStringLiteral("Query1"), this);
    DSAjustar = make<plat::DataSource>(QStringLiteral("DSAjustar"), this);
    DBGrid1->setDataSource(DSAjustar);
}

void TfGENECPRO::construirMenu()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    const auto opcion = [this](const QString &nombre, const QString &texto, std::function<void()> accion) {
        auto *item = make<plat::MenuItem>(nombre, texto, PopupMenu1);
        PopupMenu1->Items()->Add(item);
        item->OnClick = [accion = std::move(accion)](QObject *) { accion(); };
        return item;
    };
    BorrarFiltros1 = opcion(QStringLiteral("BorrarFiltros1"), QStringLiteral("&Borrar filtros"), [this] { MemoFiltros->Clear(); });
    DeseleccionarTodos1 = opcion(QStringLiteral("DeseleccionarTodos1"),
                                 QStringLiteral("&Deseleccionar Todos los Campos Seleccionados"),
                                 [this] { LBSeleccionado->clear(); });
    SeleccionarTodos1 = opcion(QStringLiteral("SeleccionarTodos1"), QStringLiteral("&Seleccionar Todos los Campos Disponibles"),
                               [this] { LBSeleccionado->setItems(LBDisponible->items()); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
}

// ---- opening --------------------------------------------------------------------------------

bool TfGENECPRO::ModoLogico() const
{
    // Grouped speed buttons keep their down state as the checked state.
    return pbActivarTablaLogica->isChecked();
}

QString TfGENECPRO::nombreTablaListada() const
{
    const QString tabla = ModoLogico() || TablaFisica->tableName().isEmpty() ? tablaDe(*dataSet_) : TablaFisica->tableName();
    return ModuloDatos ? ModuloDatos->QuitarPropietarioTabla(tabla) : tabla;
}

QString TfGENECPRO::grupo() const
{
    return prefijo_.isEmpty() ? nombreTablaListada() : prefijo_;
}

bool TfGENECPRO::abrirTablas()
{
    if (!fGENEINIC)
        return false;
    if (ModoLogico()) {
        filtroOriginal_ = dataSet_->filter();
        filtroGuardado_ = true;
        DBGrid1->clearColumns();
        DSAjustar->setDataSet(dataSet_);
        fGENEINIC->OcultarCamposNoVisibles(this);
    } else {
        DSAjustar->setDataSet(&Query1->dataSet());
        if (!leerColumnasFisicas())
            return false;
    }
    return abrirFormatos(false);
}

// Only the columns are wanted, not the rows: a listed table's own connection gives them from
// its catalogue; any other dataset's table is opened to learn them (made if it is missing).
bool TfGENECPRO::leerColumnasFisicas()
{
    plat::TableDataSet &fisica = TablaFisica->table();
    fisica.close();
    columnasFisicas_.clear();
    const QString tabla = tablaDe(*dataSet_);
    fisica.setTableName(ModuloDatos ? ModuloDatos->NombreTablaSQL(tabla) : tabla);
    const auto *listada = dynamic_cast<const plat::TableDataSet *>(dataSet_);
    if (listada && listada->active() && listada->connection()
        && listada->tableName().compare(fisica.tableName(), Qt::CaseInsensitive) == 0) {
        columnasFisicas_ = listada->connection()->columns(fisica.tableName());
        return true;
    }
    if (!fGENEINIC->AbrirDataSet(fisica))
        return false;
    columnasFisicas_ = fisica.fieldDefs();
    return true;
}

// The fields offered: the listed dataset's (logical mode) or its table's columns.
QList<plat::FieldDef> TfGENECPRO::camposFuente() const
{
    if (!ModoLogico())
        return columnasFisicas_;
    QList<plat::FieldDef> campos;
    for (int i = 0; i < dataSet_->fieldCount(); ++i) {
        const plat::Field &campo = dataSet_->field(i);
        campos.append({campo.fieldName(), campo.dataType(), campo.size()});
    }
    return campos;
}

// A database where no format was ever saved has no FORMLIST: reading formats finds none
// without making it, and the first format saved makes it (`crear`).
bool TfGENECPRO::abrirFormatos(bool crear)
{
    plat::TableDataSet &formatos = FORMLIST->table();
    if (ModuloDatos && !formatos.active())
        formatos.setTableName(ModuloDatos->NombreTablaSQL(QStringLiteral("FORMLIST")));
    // Only this listing's formats, in one read: a filter set before the opening goes with it;
    // on an open table the rows are read again once, filtered anew or as stored now.
    const QString filtro = QStringLiteral("(Prefijo = %1)").arg(Entrecomillar(grupo()));
    if (!formatos.active()) {
        if (!crear && !hayTablaFormatos())
            return true;
        formatos.setFilter(filtro);
        formatos.setFiltered(true);
        return fGENEINIC->AbrirDataSet(formatos);
    }
    if (formatos.filtered() && formatos.filter() == filtro) {
        formatos.first();
    } else {
        formatos.setFilter(filtro);
        formatos.setFiltered(true);
    }
    return true;
}

// A table the catalogue already holds is there without asking; one it does not hold may have
// been made by another program since it was read, so the server is asked. A connection that
// cannot tell says yes: the opening then shows why.
bool TfGENECPRO::hayTablaFormatos() const
{
    const QString formatos = QStringLiteral("FORMLIST");
    try {
        plat::Connection &conexion = fGENEINIC->Conexiones().ConexionDeBaseDatos(fGENEINIC->BaseDatosDeTabla(formatos));
        const QString tabla = ModuloDatos ? ModuloDatos->QuitarPropietarioTabla(ModuloDatos->NombreTablaSQL(formatos)) : formatos;
        const auto columnasSabidas = [&] {
            try {
                return conexion.columnsHeld(tabla) && !conexion.columns(tabla).isEmpty();
            } catch (const gp::Error &) {
                return false;   // not there as the connection knows it: the server tells
            }
        };
        return columnasSabidas() || conexion.tableExists(tabla);
    } catch (const gp::Error &) {
        return true;
    }
}

void TfGENECPRO::AbrirListado(plat::DataSet &dataSet, const QString &prefijoFormato, const QString &titulo,
                              const QString &opciones)
{
    titulo_ = titulo;
    // The formats are the listed window's: its program decides whether they may be written.
    programaListado_ = ProgramaDeVentana(dataSet);
    const bool soloLectura = SoloLectura(QStringList{programaListado_});
    for (plat::SpeedButton *b : {pbGuardar, pbGuardarComo, pbEliminar})
        b->setEnabled(!soloLectura);
    LBDisponible->setSortingEnabled(!opciones.contains(QLatin1String("CamposOrdenadosOFF")));
    dataSet_ = &dataSet;
    prefijo_ = prefijoFormato;
    try {
        if (!abrirTablas()) {
            MensajeAviso(QStringLiteral("¡No ha sido posible abrir las tablas!"));
            return;
        }
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡No ha sido posible abrir las tablas!"));
        return;
    }
    cargarFormato(false);
    PageControl1->setActivePage(PagSeleccionCampos);
    paginaAnterior_ = 0;
    if (!isVisible())
        ShowModal();
}

// ---- formats --------------------------------------------------------------------------------

void TfGENECPRO::cargarFormato(bool estandar)
{
    plat::TableDataSet &formatos = FORMLIST->table();
    QStringList nombres;
    if (formatos.active()) {
        const QVariant marca = formatos.isEmpty() ? QVariant() : formatos.fieldByName(kNombre).value();
        // A table just read stands on its first row: going there again would read it again.
        if (!formatos.bof())
            formatos.first();
        for (; !formatos.eof(); formatos.next())
            nombres << formatos.fieldByName(kNombre).asString();
        if (marca.isValid())
            formatos.locate(kNombre, marca);
    }
    NombreFormato->setItems(nombres);
    const bool hayFormato = formatos.active() && !formatos.isEmpty();
    NombreFormato->setItemIndex(hayFormato ? nombres.indexOf(formatos.fieldByName(kNombre).asString()) : -1);

    QStringList disponibles;
    tipos_.clear();
    for (const plat::FieldDef &campo : camposFuente()) {
        if (ModuloDatos && ModuloDatos->EsCampoNoVisible(campo.name))
            continue;
        disponibles << campo.name;
        tipos_ << NombreTipoCampo(campo.type);
    }
    LBDisponible->setItems(disponibles);
    ListaCampos->setItems(disponibles);
    ListaCampos->setItemIndex(disponibles.isEmpty() ? -1 : 0);
    Operador->setItemIndex(-1);
    Valor->clear();

    if (estandar || !hayFormato) {
        Titulo->setText(!titulo_.isEmpty() ? titulo_
                                           : QStringLiteral("Listado programable de la tabla ") + nombreTablaListada());
        LBSeleccionado->setItems(disponibles);
        MemoFiltros->Clear();
    } else {
        Titulo->setText(formatos.fieldByName(kTitulo).asString());
        QStringList seleccion;
        for (const QString &nombre : lineasDe(formatos.fieldByName(kSeleccionado).asString()))
            if (disponibles.contains(nombre, Qt::CaseInsensitive))
                seleccion << nombre;
        LBSeleccionado->setItems(seleccion);
        MemoFiltros->setText(formatos.fieldByName(kFiltros).asString());
    }

    StringGrid->setRowCount(disponibles.size() + 1);
    for (int fila = 0; fila < StringGrid->rowCount(); ++fila)
        for (int col = 0; col < 3; ++col)
            StringGrid->setCell(col, fila, QString());
    StringGrid->setCell(0, 0, QStringLiteral("Campo"));
    StringGrid->setCell(1, 0, QStringLiteral("Desde Valor"));
    StringGrid->setCell(2, 0, QStringLiteral("Hasta Valor"));
    for (int i = 0; i < disponibles.size(); ++i)
        StringGrid->setCell(0, i + 1, disponibles[i]);
    const int ancho = (StringGrid->width() - 127) / 2 - (StringGrid->rowCount() > 10 ? 8 : 0);
    StringGrid->setColWidth(0, 120);
    StringGrid->setColWidth(1, ancho);
    StringGrid->setColWidth(2, ancho);
}

// Another stored format is shown from the "Selección" page, where its selection is read.
void TfGENECPRO::formatoElegido()
{
    PageControl1->setActivePage(PagSeleccionCampos);
    cargarFormato(false);
}

// Titles translated in navy, field names abbreviated and translated, typed values as typed.
void TfGENECPRO::StringGridDrawCell(QObject *, int ACol, int ARow, const QRect &Rect, plat::GridDrawState)
{
    plat::Canvas &lienzo = *StringGrid->canvas();
    const bool cabecera = ARow < StringGrid->fixedRows();
    const bool fija = cabecera || ACol < StringGrid->fixedCols();
    lienzo.brush().Color = fija ? plat::clBtnFace : plat::clWindow;
    lienzo.FillRect(Rect);
    QString texto = StringGrid->cell(ACol, ARow);
    if (fija && !cabecera)
        texto = AbreviarNombreCampo(texto, 1);
    if (fija && ModuloDatos)
        texto = ModuloDatos->Traducir(texto);
    lienzo.font().Color = cabecera ? plat::clNavy : plat::clBlack;
    lienzo.brush().Style = plat::bsClear;
    lienzo.TextRect(Rect, Rect.left() + 2, Rect.top() + 2, texto);
}

void TfGENECPRO::pbGuardarClick(QObject *Sender)
{
    if (!EscrituraAutorizada(QStringList{programaListado_}))
        return;
    plat::TableDataSet &formatos = FORMLIST->table();
    if (!formatos.active() || formatos.isEmpty()) {
        pbGuardarComoClick(Sender);
        return;
    }
    try {
        formatos.edit();
        formatos.fieldByName(kTitulo).setAsString(Titulo->text());
        formatos.fieldByName(kSeleccionado).setAsString(LBSeleccionado->items().join(kFinLinea));
        formatos.fieldByName(kFiltros).setAsString(MemoFiltros->text());
        formatos.post();
    } catch (const gp::Error &) {
        formatos.cancel();
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el registro!"));
    }
}

void TfGENECPRO::pbGuardarComoClick(QObject *)
{
    if (!EscrituraAutorizada(QStringList{programaListado_}))
        return;
    const QString nombre = MensajePedirDato(QStringLiteral("Introduzca el Nombre del Formato:"), NombreFormato->text());
    plat::TableDataSet &formatos = FORMLIST->table();
    if (nombre.isEmpty())
        return;
    try {
        if (!formatos.active() && !abrirFormatos(true))
            return;
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡No ha sido posible abrir las tablas!"));
        return;
    }
    try {
        formatos.insert();
        formatos.fieldByName(kPrefijo).setAsString(grupo());
        formatos.fieldByName(kNombre).setAsString(nombre);
        formatos.fieldByName(kTitulo).setAsString(Titulo->text());
        formatos.fieldByName(kSeleccionado).setAsString(LBSeleccionado->items().join(kFinLinea));
        formatos.fieldByName(kFiltros).setAsString(MemoFiltros->text());
        formatos.post();
    } catch (const gp::Error &) {
        formatos.cancel();
        MensajeAviso(QStringLiteral("¡Ya existe el formato!"));
        return;
    }
    formatos.locate(kNombre, nombre);
    cargarFormato(false);
}

void TfGENECPRO::pbEliminarClick(QObject *)
{
    plat::TableDataSet &formatos = FORMLIST->table();
    if (!formatos.active() || formatos.isEmpty() || !EscrituraAutorizada(QStringList{programaListado_}))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿ Esta seguro de querer eliminar el formato actual ?")) != QLatin1String("SI"))
        return;
    formatos.remove();
    cargarFormato(false);
}

void TfGENECPRO::pbStandardClick(QObject *)
{
    cargarFormato(true);
}

// The grid's font is the listing's: the titles take it in navy.
void TfGENECPRO::pbCambiarFontClick(QObject *)
{
    if (!ModuloDatos)
        return;
    plat::FontDialog *dialogo = ModuloDatos->FontDialog1;
    dialogo->Font = DBGrid1->font();
    if (!dialogo->Execute())
        return;
    DBGrid1->setTitleFont(dialogo->Font);
    DBGrid1->setTitleFontColor(plat::clNavy);
    DBGrid1->setFont(dialogo->Font);
}

// The other mode lists the same dataset afresh; a logical filter left on it is given back.
void TfGENECPRO::pbActivarTablaLogicaClick(QObject *)
{
    if (!dataSet_)
        return;
    restaurarFiltro();
    AbrirListado(*dataSet_, QString(), QString(), QString());
}

// ---- selection by dragging ------------------------------------------------------------------

void TfGENECPRO::LBDisponibleDragOver(QObject *, QObject *Source, int, int, plat::DragState, bool &Accept)
{
    Accept = Source == LBSeleccionado;
}

// The names dragged back leave the selection.
void TfGENECPRO::LBDisponibleDragDrop(QObject *, QObject *Source, int, int)
{
    if (Source != LBSeleccionado)
        return;
    QStringList seleccion;
    for (int i = 0; i < LBSeleccionado->count(); ++i)
        if (!LBSeleccionado->selected(i))
            seleccion << LBSeleccionado->item(i)->text();
    LBSeleccionado->setItems(seleccion);
}

void TfGENECPRO::LBSeleccionadoDragOver(QObject *, QObject *Source, int, int, plat::DragState, bool &Accept)
{
    Accept = Source == LBDisponible;
}

// The names dragged in are appended, each once.
void TfGENECPRO::LBSeleccionadoDragDrop(QObject *, QObject *Source, int, int)
{
    if (Source != LBDisponible)
        return;
    QStringList seleccion = LBSeleccionado->items();
    for (int i = 0; i < LBDisponible->count(); ++i) {
        const QString nombre = LBDisponible->item(i)->text();
        if (LBDisponible->selected(i) && !seleccion.contains(nombre))
            seleccion << nombre;
    }
    LBSeleccionado->setItems(seleccion);
}

void TfGENECPRO::FormKeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key != plat::VK_F1 || !fGENEINIC)
        return;
    Key = 0;
    fGENEINIC->MostrarAyuda(ContextoAyudaDeTitulo(caption()));
}

void TfGENECPRO::FormatoFichaClick(QObject *)
{
    const bool ficha = FormatoFicha->isChecked();
    NumeroColumnasFicha->setEnabled(ficha);
    NumeroLineasMemoFicha->setEnabled(ficha);
    SepararPorPaginas->setEnabled(ficha);
}

// ---- restriction ----------------------------------------------------------------------------

void TfGENECPRO::pbAgregarClick(QObject *)
{
    const int indice = ListaCampos->itemIndex();
    if (indice < 0 || Operador->text().isEmpty())
        return;
    const QString tipo = tipos_.value(indice);
    if (tipo == QLatin1String("ftFloat"))
        Valor->setText(AjustarValorFlotante(Valor->text()));
    QStringList lineas = lineasDe(MemoFiltros->text());
    if (AgregarLineaFiltro(lineas, ListaCampos->text(), Operador->text(), tipo, Valor->text(),
                           ModoLogico() ? ModoListado::Logico : ModoListado::Fisico))
        MemoFiltros->setLines(lineas);
}

QString TfGENECPRO::TextoCondicion() const
{
    QVector<RangoListado> rangos;
    for (int fila = 1; fila < StringGrid->rowCount(); ++fila)
        rangos.append({StringGrid->cell(0, fila), tipos_.value(fila - 1), StringGrid->cell(1, fila), StringGrid->cell(2, fila)});
    const ModoListado modo = ModoLogico() ? ModoListado::Logico : ModoListado::Fisico;
    return TextoCondicionListado(MemoFiltros->text().trimmed(), TextoRangosListado(rangos, modo));
}

QVector<CampoListado> TfGENECPRO::seleccionConTipos() const
{
    QVector<CampoListado> campos;
    const QList<plat::FieldDef> fuente = camposFuente();
    for (const QString &nombre : LBSeleccionado->items()) {
        const plat::FieldDef *campo = plat::findField(fuente, nombre);
        campos.append({nombre, campo ? NombreTipoCampo(campo->type) : QString(), campo ? campo->size : 0});
    }
    return campos;
}

QString TfGENECPRO::TextoConsulta() const
{
    return SentenciaListado(seleccionConTipos(), TablaFisica->tableName(), TextoCondicion(), cbClasificado->isChecked());
}

plat::DataSet *TfGENECPRO::DatosAjustar() const
{
    return DSAjustar->dataSet();
}

// The listing uses every row at once: they are read whole. The "Ajustar" grid shows the first
// ones while the rest are read as it scrolls.
bool TfGENECPRO::abrirConsulta(bool paraListar)
{
    plat::QueryDataSet &consulta = Query1->query();
    try {
        consulta.close();
        consulta.setReadWhole(paraListar);
        if (fGENEINIC)
            consulta.setDatabaseName(fGENEINIC->Database().databaseName());
        consulta.setSql(TextoConsulta());
        if (ModuloDatos && ModuloDatos->AbrirConsulta(consulta)) {
            if (PageControl1->activePage() == PagAjustar)
                prepararColumnasAjustar();
            return true;
        }
    } catch (const gp::ConversionError &) {
        volverASeleccion();
        throw;
    } catch (const gp::Error &) {
    }
    volverASeleccion();
    return false;
}

bool TfGENECPRO::aplicarFiltroLogico()
{
    try {
        dataSet_->setFiltered(false);
        dataSet_->setFilter(TextoCondicion().replace(kFinLinea, QStringLiteral(" ")));
        dataSet_->setFiltered(true);
        return true;
    } catch (const gp::ConversionError &) {
        volverASeleccion();
        throw;
    } catch (const gp::Error &) {
        volverASeleccion();
        return false;
    }
}

// A refused query or filter leaves the selection as the user made it: the grid it never
// reached must not be read back into the list.
void TfGENECPRO::volverASeleccion()
{
    paginaAnterior_ = PagSeleccionCampos->pageIndex();
    PageControl1->setActivePage(PagSeleccionCampos);
}

// The dataset's fields take the selection's order (the listing lists in field order), then
// the grid shows the selected ones.
void TfGENECPRO::deListaARejilla()
{
    const QStringList seleccion = LBSeleccionado->items();
    for (int i = 0; i < seleccion.size(); ++i)
        if (plat::Field *campo = dataSet_->findField(seleccion[i]))
            campo->setIndex(i);
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        plat::GridColumn *columna = DBGrid1->column(i);
        columna->Visible = seleccion.contains(columna->FieldName, Qt::CaseInsensitive);
    }
    DBGrid1->updateColumns();
}

void TfGENECPRO::deRejillaALista()
{
    QStringList seleccion;
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        const plat::GridColumn *columna = DBGrid1->column(i);
        if (!ModoLogico() || columna->Visible)
            seleccion << columna->FieldName;
    }
    LBSeleccionado->setItems(seleccion);
}

// Short titles, and dates and times as the data services show them (nothing for a zero date).
void TfGENECPRO::prepararColumnasAjustar()
{
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        plat::GridColumn *columna = DBGrid1->column(i);
        columna->TitleCaption = AbreviarNombreCampo(columna->FieldName, 1);
    }
    for (int i = 0; i < Query1->dataSet().fieldCount(); ++i) {
        plat::Field &campo = Query1->dataSet().field(i);
        if (campo.dataType() == ftDateTime)
            campo.displayWidth = 10;
    }
    if (fGENEINIC)
        fGENEINIC->AsignarFormatosCampos(Query1);
    DBGrid1->updateColumns();
}

bool TfGENECPRO::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1->horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            cabeceraPulsada_ = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            cabeceraPulsada_ = false;
    }
    return plat::Form::eventFilter(watched, event);
}

// A column's width in pixels becomes its field's width in characters of the grid's font,
// which the listing shares its page width by.
void TfGENECPRO::anchoDeColumna(int columna, int pixeles)
{
    const plat::GridColumn *rejilla = DBGrid1->column(columna);
    plat::Field *campo = rejilla ? rejilla->field() : nullptr;
    const int caracter = DBGrid1->characterWidth();
    if (campo && caracter > 0 && pixeles > 0)
        campo->displayWidth = std::max(1, int(std::nearbyint(double(pixeles) / caracter)));
}

void TfGENECPRO::PageControl1Change(QObject *)
{
    const int actual = PageControl1->activePageIndex();
    const int ajustar = PagAjustar->pageIndex();
    if (paginaAnterior_ == ajustar && actual != ajustar)
        deRejillaALista();
    else if (paginaAnterior_ == PagSeleccionCampos->pageIndex() && ModoLogico())
        deListaARejilla();
    paginaAnterior_ = actual;
    if (actual == ajustar) {
        if (ModoLogico())
            aplicarFiltroLogico();
        else
            abrirConsulta();
    }
    if (fGENEINIC)
        fGENEINIC->OcultarCamposNoVisibles(this);
}

void TfGENECPRO::pbConformeClick(QObject *)
{
    if (!ModoLogico()) {
        // Columns moved on the grid are the selection's new order: the query follows it (its
        // fields, and the widths given to them, outlive the new statement).
        const bool enAjustar = PageControl1->activePage() == PagAjustar;
        const QStringList antes = LBSeleccionado->items();
        if (enAjustar)
            deRejillaALista();
        if ((!enAjustar || LBSeleccionado->items() != antes) && !abrirConsulta(true))
            return;
        listar(Query1->dataSet());
        return;
    }
    if (!pasarAAjustarLogico())
        return;
    const bool clasificado = cbClasificado->isChecked();
    if (clasificado && dataSet_->recordCount() > 1000
        && MensajeConfirmacion(QStringLiteral("El listado actual puede ser largo (más de 1000 líneas) y ha de ser "
                                              "clasificado. ¿Desea continuar en cualquier caso?"))
               != QLatin1String("SI"))
        return;
    if (!clasificado) {
        marcarCamposListados(*dataSet_);
        listar(*dataSet_);
        return;
    }
    deRejillaALista();
    dataSet_->disableControls();
    DBGrid1->hide();
    // Whatever the listing does, the grid gets the listed dataset back in selection order.
    const auto devolver = qScopeGuard([this] {
        if (DSAjustar->dataSet() != dataSet_)
            DSAjustar->setDataSet(dataSet_);
        dataSet_->enableControls();
        DBGrid1->show();
        deListaARejilla();
    });
    plat::TableDataSet &copia = Temporal->table();
    if (!CrearCopiaClasificada(*dataSet_, copia, objectName()))
        return;
    DSAjustar->setDataSet(&copia);
    marcarCamposListados(copia);
    listar(copia);
}

// Entering "Ajustar" as the user would from the current page; false when the filter was
// refused (the user is back on "Selección").
bool TfGENECPRO::pasarAAjustarLogico()
{
    if (PageControl1->activePage() != PagAjustar) {
        PageControl1->setActivePage(PagAjustar);
        return PageControl1->activePage() == PagAjustar;
    }
    deRejillaALista();
    return aplicarFiltroLogico();
}

// The listing leaves out the fields tagged 999 and lists the others in field order.
void TfGENECPRO::marcarCamposListados(plat::DataSet &datos) const
{
    const QStringList seleccion = LBSeleccionado->items();
    for (int i = 0; i < datos.fieldCount(); ++i) {
        plat::Field &campo = datos.field(i);
        const int posicion = seleccion.indexOf(campo.fieldName());
        campo.tag = posicion >= 0 ? posicion + 1 : 999;
    }
}

void TfGENECPRO::listar(plat::DataSet &datos)
{
    if (pbExportarExcel->isChecked()) {
        if (ModuloDatos)
            ModuloDatos->ExportarExcel(&datos, nullptr, QStringLiteral("LISTPRG.XLS"), QString());
    } else if (const ImprimirListadoFn &imprimir = ganchoImprimirListadoProgramable().valor()) {
        imprimir(*this, datos);
    }
}

void TfGENECPRO::restaurarFiltro()
{
    const bool guardado = std::exchange(filtroGuardado_, false);
    if (!dataSet_ || !guardado || dataSet_->filter() == filtroOriginal_)
        return;
    try {
        dataSet_->setFiltered(false);
        dataSet_->setFilter(filtroOriginal_);
        dataSet_->setFiltered(!filtroOriginal_.isEmpty());
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡No ha sido posible restaurar los filtros de la tabla!"));
    }
}
