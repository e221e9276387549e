#include "projects/proyectos/PROYCPRO.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Keys.h"
#include "platform/ui/RefusedText.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QEvent>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

TfPROYCPRO *fPROYCPRO = nullptr;

namespace {

const QString &kGrafico = kColumnaGantt;
const QString kFormatoFecha = QStringLiteral("dd/mm/yyyy");
const QString kTerminado = QStringLiteral("Terminado");
const QString kFallaGrabar = QStringLiteral("¡No ha sido posible grabar el registro!");

// The plan figures and the director's name the query adds to each project.
const struct
{
    const char *nombre;
    TFieldType tipo;
    int tamano;
} kCamposCalculados[] = {{"FechaInicio", ftDateTime, 0}, {"FechaFinal", ftDateTime, 0}, {"Tiempo", ftFloat, 0},
                         {"TiempoReal", ftFloat, 0},      {"Grafico", ftString, 1},     {"NombreDirector", ftString, 60}};


void PrepararCelda(plat::Canvas &canvas, plat::GridCellState estado)
{
    const bool seleccionada = estado & plat::gdsSelected;
    canvas.brush().Style = plat::bsSolid;
    canvas.brush().Color = seleccionada ? plat::clHighlight : plat::clInfoBk;
    canvas.font().Color = seleccionada ? plat::clHighlightText : plat::clWindowText;
}

// What the painters need of the chapter drawn: whether it has its own dates and hours (read
// from the texts shown: a figure of 0 shows no digit but 0) and its progress; the bar's span
// is its chapter's, which the painters read themselves.
LineaPlan LineaDibujada(const plat::DBGrid &rejilla)
{
    const auto hay = [&](const char *campo) {
        const QString texto = rejilla.drawnText(QString::fromLatin1(campo));
        return std::any_of(texto.begin(), texto.end(), [](QChar c) { return c >= u'1' && c <= u'9'; }) ? 1.0 : 0.0;
    };
    return LineaPlan{hay("FechaInicio"), hay("FechaFinal"), hay("TiempoPrevisto"),
                     rejilla.drawnText(QStringLiteral("GradoAvance"))};
}

} // namespace

TfPROYCPRO::TfPROYCPRO(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPROYCPRO"), QStringLiteral("Consulta de Proyectos")),
      instancia_(fPROYCPRO, this)
{
    setBounds(0, 0, 900, 580);
    setKeyPreview(true);
    QryProyecto = make<plat::QueryComponent>(QStringLiteral("QryProyecto"), this);
    DSPProyecto = std::make_unique<plat::DataSetProvider>(&QryProyecto->query());
    Proyecto = make<plat::ClientDataSetComponent>(QStringLiteral("Proyecto"), this);
    Proyecto->clientDataSet().setProvider(DSPProyecto.get());
    LProyecto = make<plat::TableComponent>(QStringLiteral("LProyecto"), this);
    LProyecto->setTableName(QStringLiteral("LPROYECT"));
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Proyecto);
    DataSource3 = make<plat::DataSource>(QStringLiteral("DataSource3"), this);
    DataSource3->setDataSet(LProyecto);

    QWidget *area = this;
    auto *caja = new QVBoxLayout(area);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    construirPanelSuperior(area);
    caja->addWidget(PanelSuperior);
    construirPaginas(area);
    caja->addWidget(PageControl1, 1);
    construirPanelInferior(area);
    caja->addWidget(PanelInferior);
    construirMenus();
    definirCampos();
    conectarEventos();
}

TfPROYCPRO::~TfPROYCPRO()
{
    // The grids stop drawing from the datasets as the window is taken apart.
    DBGrid2->OnDrawColumnCell = nullptr;
    DBGrid3->OnDrawColumnCell = nullptr;
    DBGrid3->viewport()->removeEventFilter(this);
    LProyecto->dataSet().OnFilterRecord = nullptr;
}

// ---- controls ------------------------------------------------------------------------------

void TfPROYCPRO::construirPanelSuperior(QWidget *area)
{
    PanelSuperior = make<plat::Panel>(QStringLiteral("PanelSuperior"), area);
    PanelSuperior->setFixedHeight(34);
    int x = 4;
    const auto boton = [&](const QString &nombre, QStyle::StandardPixmap icono, const QString &pista) {
        auto *b = plat::place(make<plat::SpeedButton>(nombre, PanelSuperior), x, 3, 28, 28);
        b->setIcon(style()->standardIcon(icono));
        b->setHint(pista);
        x += 30;
        return b;
    };
    const auto conmutador = [&](const QString &nombre, QStyle::StandardPixmap icono, const QString &pista, int grupo) {
        plat::SpeedButton *b = boton(nombre, icono, pista);
        b->setGroupIndex(grupo);
        b->setAllowAllUp(true);
        return b;
    };
    VerProyectosAbiertos = conmutador(QStringLiteral("VerProyectosAbiertos"), QStyle::SP_DirOpenIcon,
                                      QStringLiteral("Ver/No Ver Proyectos Abiertos"), 1);
    VerProyectosAbiertos->setDownState(true);
    VerProyectosCerrados = conmutador(QStringLiteral("VerProyectosCerrados"), QStyle::SP_DirClosedIcon,
                                      QStringLiteral("Ver/No Ver Proyectos Cerrados"), 2);
    VerDias = conmutador(QStringLiteral("VerDias"), QStyle::SP_FileDialogListView, QStringLiteral("Ver/No Ver Días"), 3);
    VerGradoAvance3 = conmutador(QStringLiteral("VerGradoAvance3"), QStyle::SP_DialogApplyButton,
                                 QStringLiteral("Ver/No Ver Capítulos en Grado de Avance = Terminado"), 4);
    VerPlanificado = conmutador(QStringLiteral("VerPlanificado"), QStyle::SP_MessageBoxQuestion,
                                QStringLiteral("Ver/No Ver lo No Planificado"), 4);
    VerSoloMalPlanificado = conmutador(QStringLiteral("VerSoloMalPlanificado"), QStyle::SP_MessageBoxWarning,
                                       QStringLiteral("Ver solo lo planificado antes de la fecha actual"), 5);
    for (plat::SpeedButton *b : {VerDias, VerGradoAvance3, VerPlanificado, VerSoloMalPlanificado})
        b->setEnabled(false);
    x += 8;
    AccesoMaestroProyectos = boton(QStringLiteral("AccesoMaestroProyectos"), QStyle::SP_FileDialogDetailedView,
                                   QStringLiteral("Acceso al Proyecto relacionado"));
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStyle::SP_ComputerIcon, QStringLiteral("Imprimir"));
    pbImprimirApaisado =
        boton(QStringLiteral("pbImprimirApaisado"), QStyle::SP_DesktopIcon, QStringLiteral("Imprimir en formato apaisado"));
    pbImprimir->setEnabled(false);
    pbImprimirApaisado->setEnabled(false);
    pbCerrarProyectoCapitulo = boton(QStringLiteral("pbCerrarProyectoCapitulo"), QStyle::SP_DialogCloseButton,
                                     QStringLiteral("Cerrar el Proyecto/Capítulo Abierto"));
    pbSalir = boton(QStringLiteral("pbSalir"), QStyle::SP_DialogCancelButton, QStringLiteral("&Salir"));
    x += 8;
    LabelHorizonte = plat::place(make<plat::Label>(QStringLiteral("LabelHorizonte"), PanelSuperior), x, 9, 58, 16);
    LabelHorizonte->setCaption(QStringLiteral("Horizonte"));
    DesdeHorizonte = plat::place(make<plat::Edit>(QStringLiteral("DesdeHorizonte"), PanelSuperior), x + 60, 5, 80, 24);
    HastaHorizonte = plat::place(make<plat::Edit>(QStringLiteral("HastaHorizonte"), PanelSuperior), x + 144, 5, 80, 24);
    x += 236;
    LabelDirectorConsulta = plat::place(make<plat::Label>(QStringLiteral("LabelDirectorConsulta"), PanelSuperior), x, 9, 50, 16);
    LabelDirectorConsulta->setCaption(QStringLiteral("Director"));
    EditCodigoOperario = plat::place(make<plat::ComboBox>(QStringLiteral("EditCodigoOperario"), PanelSuperior), x + 52, 5, 190, 24);
    EditCodigoOperario->setStyle(plat::ComboBox::csDropDownList);
}

void TfPROYCPRO::construirPanelInferior(QWidget *area)
{
    PanelInferior = make<plat::Panel>(QStringLiteral("PanelInferior"), area);
    PanelInferior->setFixedHeight(34);
    LabelDirector = plat::place(make<plat::Label>(QStringLiteral("LabelDirector"), PanelInferior), 8, 9, 50, 16);
    LabelDirector->setCaption(QStringLiteral("Director"));
    EditNombreDirector = plat::place(make<plat::DBEdit>(QStringLiteral("EditNombreDirector"), PanelInferior), 60, 5, 200, 24);
    EditNombreDirector->setDataSource(DataSource1);
    EditNombreDirector->setDataField(QStringLiteral("NombreDirector"));
    EditNombreDirector->setReadOnly(true);
    LabelEstadisticas = plat::place(make<plat::Label>(QStringLiteral("LabelEstadisticas"), PanelInferior), 272, 9, 130, 16);
    LabelEstadisticas->setCaption(QStringLiteral("Estadísticas a la fecha"));
    EditFechaEstadisticas =
        plat::place(make<plat::Edit>(QStringLiteral("EditFechaEstadisticas"), PanelInferior), 404, 5, 80, 24);
    pbEstadisticas = plat::place(make<plat::SpeedButton>(QStringLiteral("pbEstadisticas"), PanelInferior), 488, 3, 28, 28);
    pbEstadisticas->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    pbEstadisticas->setHint(QStringLiteral("Activar/Desactivar Totales"));
    pbEstadisticas->setGroupIndex(6);
    pbEstadisticas->setAllowAllUp(true);
    EditEstadisticas = plat::place(make<plat::Edit>(QStringLiteral("EditEstadisticas"), PanelInferior), 520, 5, 370, 24);
    EditEstadisticas->setReadOnly(true);
}

void TfPROYCPRO::construirPaginas(QWidget *area)
{
    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), area);
    PagGeneral = make<plat::TabSheet>(QStringLiteral("PagGeneral"), PageControl1);
    PagGeneral->setCaption(QStringLiteral("General"));
    PageControl1->addPage(PagGeneral);
    PagGrafico = make<plat::TabSheet>(QStringLiteral("PagGrafico"), PageControl1);
    PagGrafico->setCaption(QStringLiteral("Gráfico"));
    PageControl1->addPage(PagGrafico);

    struct Columna
    {
        const char *campo;
        const char *titulo;   // nullptr: the field's label
        int ancho;            // 0: the default width
    };
    const auto columnas = [](plat::DBGrid *rejilla, std::initializer_list<Columna> lista) {
        for (const Columna &c : lista) {
            plat::GridColumn *columna = rejilla->addColumn(QString::fromLatin1(c.campo));
            if (c.titulo)
                columna->TitleCaption = QString::fromUtf8(c.titulo);
            if (c.ancho)
                columna->Width = c.ancho;
        }
        rejilla->updateColumns();
    };

    auto *general = new QVBoxLayout(PagGeneral);
    general->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), PagGeneral);
    general->addWidget(DBGrid1);
    DBGrid1->setDataSource(DataSource1);
    DBGrid1->setReadOnly(true);
    columnas(DBGrid1, {{"Codigo", "Código", 60},
                       {"NombreCliente", "Cliente", 131},
                       {"FechaEntrega", "F.Entrega", 65},
                       {"Director", nullptr, 47},
                       {"FechaInicio", "F.Inicio", 67},
                       {"FechaFinal", "F.Final", 65},
                       {"Tiempo", nullptr, 44},
                       {"TiempoReal", "T.Real", 44},
                       {"Situacion", "Situación", 74},
                       {"Descripcion", "Descripción", 187},
                       {"FechaAceptacion", "F.Aceptación", 0},
                       {"PersonaContacto", "P.Contacto", 148},
                       {"Telefono", "Teléfono", 145}});

    auto *grafico = new QVBoxLayout(PagGrafico);
    grafico->setContentsMargins(0, 0, 0, 0);
    Splitter1 = make<plat::Splitter>(QStringLiteral("Splitter1"), Qt::Vertical, PagGrafico);
    grafico->addWidget(Splitter1);
    DBGrid2 = make<plat::DBGrid>(QStringLiteral("DBGrid2"), Splitter1);
    DBGrid2->setDataSource(DataSource1);
    DBGrid2->setReadOnly(true);
    DBGrid2->setDefaultDrawing(false);
    columnas(DBGrid2, {{"Codigo", "Código", 60}, {"NombreCliente", "Cliente", 158}, {"Grafico", " ", 462}});
    DBGrid3 = make<plat::DBGrid>(QStringLiteral("DBGrid3"), Splitter1);
    DBGrid3->setDataSource(DataSource3);
    DBGrid3->setMultiSelect(true);
    DBGrid3->setDefaultDrawing(false);
    ganttCapitulos_ = new RejillaGantt(*DBGrid3);
    columnas(DBGrid3, {{"Identificacion", "Identificación", 220}, {"Grafico", " ", 460}});
}

void TfPROYCPRO::construirMenus()
{
    const auto opcion = [&](plat::PopupMenu *menu, const QString &nombre, const QString &texto, int tecla,
                            void (TfPROYCPRO::*clic)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, texto, menu);
        if (tecla)
            item->setShortCut(plat::ShortCut(tecla, plat::ssCtrl));
        if (clic)
            item->OnClick = plat::handler(this, clic);
        menu->Items()->Add(item);
        return item;
    };
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    FiltrarIgual1 = opcion(PopupMenu1, QStringLiteral("FiltrarIgual1"), QStringLiteral("Filtrar Registros por Valor &Igual a..."),
                           'I', &TfPROYCPRO::FiltrarRegistrosporValorClick);
    FiltrarDesde1 = opcion(PopupMenu1, QStringLiteral("FiltrarDesde1"), QStringLiteral("Filtrar Registros por Valor &Desde..."),
                           'D', &TfPROYCPRO::FiltrarRegistrosporValorClick);
    FiltrarHasta1 = opcion(PopupMenu1, QStringLiteral("FiltrarHasta1"), QStringLiteral("Filtrar Registros por Valor &Hasta..."),
                           'H', &TfPROYCPRO::FiltrarRegistrosporValorClick);
    FiltrarRegistrosporValoresDesdeHasta1 =
        opcion(PopupMenu1, QStringLiteral("FiltrarRegistrosporValoresDesdeHasta1"),
               QStringLiteral("&Filtrar Registros por Valores Desde-Hasta..."), 'F',
               &TfPROYCPRO::FiltrarRegistrosporValoresDesdeHasta1Click);
    CancelarFiltros1 = opcion(PopupMenu1, QStringLiteral("CancelarFiltros1"), QStringLiteral("&Cancelar Filtros"), 0,
                              &TfPROYCPRO::CancelarFiltros1Click);
    opcion(PopupMenu1, QStringLiteral("N1"), QStringLiteral("-"), 0, nullptr);
    RestaurarConfiguracinOriginalRejilla1 =
        opcion(PopupMenu1, QStringLiteral("RestaurarConfiguracinOriginalRejilla1"),
               QStringLiteral("&Restaurar Configuración Original Rejilla"), 0,
               &TfPROYCPRO::RestaurarConfiguracinOriginalRejilla1Click);

    PopupMenu2 = make<plat::PopupMenu>(QStringLiteral("PopupMenu2"), this);
    CambiarCondiciones1 = opcion(PopupMenu2, QStringLiteral("CambiarCondiciones1"), QStringLiteral("&Cambiar Condiciones"), 0,
                                 &TfPROYCPRO::CambiarCondicionesClick);
    Desplazar1 = opcion(PopupMenu2, QStringLiteral("Desplazar1"), QStringLiteral("&Desplazar un Número de Días"), 0,
                        &TfPROYCPRO::DesplazarClick);
    Ampliar1 = opcion(PopupMenu2, QStringLiteral("Ampliar1"), QStringLiteral("&Ampliar un Número de Días"), 0,
                      &TfPROYCPRO::DesplazarClick);
    DarporTerminado1 = opcion(PopupMenu2, QStringLiteral("DarporTerminado1"), QStringLiteral("&Dar por &Terminado"), 0,
                              &TfPROYCPRO::DarporTerminadoClick);

    const auto menuDe = [this](plat::DBGrid *rejilla, plat::PopupMenu *menu) {
        rejilla->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(rejilla, &QWidget::customContextMenuRequested, this, [rejilla, menu](const QPoint &p) {
            const QPoint global = rejilla->viewport()->mapToGlobal(p);
            menu->Popup(global.x(), global.y());
        });
    };
    menuDe(DBGrid1, PopupMenu1);
    menuDe(DBGrid2, PopupMenu2);
    menuDe(DBGrid3, PopupMenu2);
}

// The query's plan figures are calculated; the client dataset keeps them as its own stored
// columns, so that the grids, the filters and the statistics read them as data.
void TfPROYCPRO::definirCampos()
{
    for (const auto &c : kCamposCalculados) {
        QryProyecto->dataSet().addCalculatedField(QString::fromLatin1(c.nombre), c.tipo, c.tamano);
        Proyecto->clientDataSet().addStoredField(QString::fromLatin1(c.nombre), c.tipo, c.tamano);
    }
    LProyecto->dataSet().addCalculatedField(kGrafico, ftString, 1);
    LProyecto->dataSet().addCalculatedField(QStringLiteral("Identificacion"), ftString, 100);
}

void TfPROYCPRO::conectarEventos()
{
    using plat::handler;
    OnCreate = handler(this, &TfPROYCPRO::FormCreate);
    OnActivate = handler(this, &TfPROYCPRO::FormActivate);
    OnClose = handler(this, &TfPROYCPRO::FormClose);
    OnKeyDown = handler(this, &TfPROYCPRO::FormKeyDown);
    OnKeyPress = handler(this, &TfPROYCPRO::FormKeyPress);
    OnResize = handler(this, &TfPROYCPRO::FormResize);
    pbSalir->OnClick = handler(this, &TfPROYCPRO::pbSalirClick);
    for (plat::SpeedButton *b : {pbEstadisticas, VerProyectosAbiertos, VerProyectosCerrados, VerGradoAvance3,
                                 VerPlanificado, VerSoloMalPlanificado})
        b->OnClick = handler(this, &TfPROYCPRO::ReconsultarClick);
    EditCodigoOperario->OnChange = handler(this, &TfPROYCPRO::ReconsultarClick);
    for (plat::Edit *fecha : {EditFechaEstadisticas, DesdeHorizonte, HastaHorizonte})
        fecha->OnExit = handler(this, &TfPROYCPRO::FechaExit);
    VerDias->OnClick = handler(this, &TfPROYCPRO::VerDiasClick);
    PageControl1->OnChange = handler(this, &TfPROYCPRO::PageControl1Change);
    AccesoMaestroProyectos->OnClick = handler(this, &TfPROYCPRO::AccesoMaestroProyectosClick);
    pbCerrarProyectoCapitulo->OnClick = handler(this, &TfPROYCPRO::pbCerrarProyectoCapituloClick);
    pbImprimir->OnClick = handler(this, &TfPROYCPRO::pbImprimirClick);
    pbImprimirApaisado->OnClick = handler(this, &TfPROYCPRO::pbImprimirClick);
    DBGrid2->OnDrawColumnCell = handler(this, &TfPROYCPRO::DBGrid2DrawColumnCell);
    DBGrid3->OnDrawColumnCell = handler(this, &TfPROYCPRO::DBGrid3DrawColumnCell);
    DBGrid2->OnDrawTitle = handler(this, &TfPROYCPRO::DBGrid2DrawTitle);
    DBGrid3->OnDrawTitle = handler(this, &TfPROYCPRO::DBGrid3DrawTitle);
    QryProyecto->dataSet().OnCalcFields = [this](plat::DataSet &ds) { QryProyectoCalcFields(ds); };
    LProyecto->dataSet().OnCalcFields = [this](plat::DataSet &ds) { LProyectoCalcFields(ds); };
    LProyecto->dataSet().OnFilterRecord = [this](plat::DataSet &ds, bool &accept) { LProyectoFilterRecord(ds, accept); };
}

// ---- creation, activation and closing ------------------------------------------------------

void TfPROYCPRO::FormCreate(QObject *)
{
    PrimeraActivacion = true;
    DBGrid2->setColor(plat::clInfoBk);
    DBGrid3->setColor(plat::clInfoBk);
    // Without a started program (the window pictured on its own) nothing opens.
    if (!fGENEINIC || !ModuloDatos)
        return;
    fGENEINIC->AjustarTamanoFormulario(this, QString());
    LProyecto->dataSet().setMasterSource(&Proyecto->dataSet(), QStringLiteral("Codigo"));
    fGENEINIC->AbrirTablasFormulario(*this);
    ModuloDatos->CargarConfiguracionRejilla(objectName(), *DBGrid1);
    PageControl1->setActivePage(PagGeneral);
    const QDateTime hoy = FechaHora(Ahora().date());
    EditFechaEstadisticas->setText(FormatearFechaHora(kFormatoFecha, SumarMeses(12, hoy)));
    cargarDirectores();
    DesdeHorizonte->setText(FormatearFechaHora(kFormatoFecha, SumarMeses(-2, hoy)));
    HastaHorizonte->setText(FormatearFechaHora(kFormatoFecha, SumarMeses(12, hoy)));
    DBGrid1->setFocus();
}

// The operators by name as "name - code", then "Todos"; the first item is chosen.
void TfPROYCPRO::cargarDirectores()
{
    QStringList items = ModuloDatos->EjecutarSQL(SentenciaDirectores(fGENEINIC->Database().dialect()), QStringLiteral("Database"))
                            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    items << QStringLiteral("Todos");
    const QSignalBlocker sinAvisos(EditCodigoOperario);
    EditCodigoOperario->setItems(items);
    EditCodigoOperario->setItemIndex(0);
}

void TfPROYCPRO::FormActivate(QObject *)
{
    update();
    ConstruirConsultaProyectos();
    if (PrimeraActivacion) {
        ajustarGraficos();
        PrimeraActivacion = false;
    }
}

void TfPROYCPRO::ajustarGraficos()
{
    if (!ModuloDatos)
        return;
    ModuloDatos->AjustarColumnasRejilla(*DBGrid2, QStringLiteral("ColumnaInicial:2"));
    ModuloDatos->AjustarColumnasRejilla(*DBGrid3, QStringLiteral("ColumnaInicial:1"));
}

void TfPROYCPRO::FormResize(QObject *) { ajustarGraficos(); }

void TfPROYCPRO::FormClose(QObject *Sender, plat::CloseAction &Action)
{
    if (ModuloDatos)
        ModuloDatos->GuardarConfiguracionRejilla(objectName(), *DBGrid1);
    VentanaPrograma::FormClose(Sender, Action);
}

void TfPROYCPRO::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    if (fGENEINIC)
        fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

// Enter moves to the next column inside a grid and to the next control elsewhere.
void TfPROYCPRO::FormKeyPress(QObject *Sender, QChar &Key)
{
    if (fGENEINIC)
        fGENEINIC->ProcesarTeclaPulsada(Sender, Key);
}

void TfPROYCPRO::pbSalirClick(QObject *) { Close(); }

void TfPROYCPRO::PageControl1Change(QObject *)
{
    const bool grafico = PageControl1->activePage() == PagGrafico;
    if (grafico)
        ajustarGraficos();
    for (QWidget *control : std::initializer_list<QWidget *>{VerDias, VerGradoAvance3, VerPlanificado,
                                                             VerSoloMalPlanificado, pbImprimir, pbImprimirApaisado})
        control->setEnabled(grafico);
}

void TfPROYCPRO::VerDiasClick(QObject *)
{
    DBGrid2->viewport()->update();
    DBGrid3->viewport()->update();
}

void TfPROYCPRO::ReconsultarClick(QObject *) { ConstruirConsultaProyectos(); }

void TfPROYCPRO::FechaExit(QObject *Sender)
{
    // A wrong date left is said once and typed again where it is; the query is built again
    // only over right dates (a wrong one elsewhere was said when it was left).
    bool correctas = true;
    for (const auto &[edicion, titulo] : fechasConsulta()) {
        if (ValidarFecha(edicion->text(), QString())) {
            fechaDicha_.remove(edicion);
            continue;
        }
        correctas = false;
        if (edicion == Sender && fechaDicha_.value(edicion) != edicion->text()) {
            ValidarFecha(edicion->text(), titulo);
            fechaDicha_.insert(edicion, edicion->text());
            plat::refuseText(*edicion);
        }
    }
    if (correctas && (Sender == EditFechaEstadisticas || Proyecto->active()))
        ConstruirConsultaProyectos();
}

// ---- the query -----------------------------------------------------------------------------

QList<std::pair<plat::Edit *, QString>> TfPROYCPRO::fechasConsulta() const
{
    return {{EditFechaEstadisticas, QStringLiteral("Fecha Estadísticas")},
            {DesdeHorizonte, QStringLiteral("Desde Horizonte")},
            {HastaHorizonte, QStringLiteral("Hasta Horizonte")}};
}

bool TfPROYCPRO::ValidarFechasConsulta()
{
    for (const auto &[edicion, titulo] : fechasConsulta()) {
        if (!ValidarFecha(edicion->text(), titulo)) {
            plat::refuseText(*edicion);
            return false;
        }
    }
    return true;
}

QDateTime TfPROYCPRO::fechaEdicion(const plat::Edit &edicion) const { return TextoAFechaHora(edicion.text()); }

void TfPROYCPRO::ConstruirConsultaProyectos()
{
    if (!ModuloDatos || !ValidarFechasConsulta())
        return;
    const plat::BusyCursor espera;
    plat::DataSet &proyectos = Proyecto->dataSet();
    const QString actual = proyectos.active() && !proyectos.isEmpty()
        ? proyectos.fieldByName(QStringLiteral("Codigo")).asString()
        : QString();
    // The column the user stands on stays chosen across the re-query.
    const int columna = DBGrid1->selectedIndex();
    proyectos.close();
    QryProyecto->query().close();
    QryProyecto->query().setSql(ConsultaProyectos(VerProyectosAbiertos->isChecked(), VerProyectosCerrados->isChecked(),
                                                  EditCodigoOperario->text()));
    if (!ModuloDatos->AbrirConsulta(QryProyecto->query()))
        return;
    DSPProyecto->reset();
    Proyecto->clientDataSet().emptyRows();
    calcularFilasProyecto();
    QryProyecto->query().close();
    calcularEstadisticas();
    try {
        if (!actual.isEmpty())
            proyectos.locate(QStringLiteral("Codigo"), actual);
    } catch (const gp::Error &) {
        // A project that left the answer leaves the first one current.
    }
    try {
        LProyecto->dataSet().setFiltered(true);
        LProyecto->dataSet().refresh();
    } catch (const gp::Error &) {
        // The chapters stay as they were shown.
    }
    DBGrid1->setSelectedIndex(columna);
}

// The client dataset reads the query's rows; each row's plan figures and director are
// calculated as the query's calculated fields and kept in the row, with the value filter
// off so that every row gets them.
void TfPROYCPRO::calcularFilasProyecto()
{
    plat::DataSet &proyectos = Proyecto->dataSet();
    const bool filtrado = proyectos.filtered();
    proyectos.setFiltered(false);
    proyectos.open();
    proyectos.disableControls();
    for (proyectos.first(); !proyectos.eof(); proyectos.next()) {
        proyectos.edit();
        QryProyectoCalcFields(proyectos);
        proyectos.post();
    }
    proyectos.setFiltered(filtrado);
    proyectos.first();
    proyectos.enableControls();
}

void TfPROYCPRO::QryProyectoCalcFields(plat::DataSet &DataSet)
{
    if (!MDProyectos)
        return;
    const PlanProyecto plan =
        MDProyectos->CalcularPlanProyecto(DataSet.fieldByName(QStringLiteral("Codigo")).asString(), QString());
    DataSet.fieldByName(QStringLiteral("FechaInicio")).setAsDateTime(plan.FechaInicio);
    DataSet.fieldByName(QStringLiteral("FechaFinal")).setAsDateTime(plan.FechaFinal);
    DataSet.fieldByName(QStringLiteral("Tiempo")).setAsFloat(plan.TiempoPrevisto);
    DataSet.fieldByName(QStringLiteral("TiempoReal")).setAsFloat(plan.TiempoRealizado);
    const plat::Field &director = DataSet.fieldByName(QStringLiteral("Director"));
    DataSet.fieldByName(QStringLiteral("NombreDirector"))
        .setAsString(director.isNull() ? QString()
                                        : ModuloDatos->EjecutarSQL(QStringLiteral("SELECT Nombre FROM OPERARIO   WHERE Codigo = ")
                                                                       + QString::number(director.asInteger()),
                                                                   QStringLiteral("Database")));
}

void TfPROYCPRO::calcularEstadisticas()
{
    if (!pbEstadisticas->isChecked()) {
        EditEstadisticas->setText(QString());
        return;
    }
    plat::DataSet &proyectos = Proyecto->dataSet();
    const QDateTime hasta = fechaEdicion(*EditFechaEstadisticas);
    double previsto = 0, realizado = 0;
    proyectos.disableControls();
    for (proyectos.first(); !proyectos.eof(); proyectos.next()) {
        const PlanHorizonte plan = MDProyectos->CalcularPlanHorizonte(
            proyectos.fieldByName(QStringLiteral("Codigo")).asString(), QString(), FechaCero(), hasta);
        previsto += plan.TiempoPrevisto;
        realizado += plan.TiempoRealizado;
    }
    proyectos.first();
    proyectos.enableControls();
    EditEstadisticas->setText(TextoEstadisticas(previsto, realizado));
}

void TfPROYCPRO::LProyectoCalcFields(plat::DataSet &DataSet)
{
    DataSet.fieldByName(QStringLiteral("Identificacion")).setAsString(DataSet.fieldByName(QStringLiteral("Descripcion")).asString());
}

VistaCapitulos TfPROYCPRO::vistaCapitulos() const
{
    return VistaCapitulos{VerGradoAvance3->isChecked(), VerPlanificado->isChecked(), VerSoloMalPlanificado->isChecked()};
}

void TfPROYCPRO::LProyectoFilterRecord(plat::DataSet &DataSet, bool &Accept)
{
    Accept = CapituloVisible(LineaPlanDe(DataSet), vistaCapitulos(), NumeroDia(FechaHora(Ahora().date())));
}

// ---- value filters -------------------------------------------------------------------------

void TfPROYCPRO::FiltrarRegistrosporValorClick(QObject *Sender)
{
    if (Sender == FiltrarIgual1)
        filtrarPorValor(QStringLiteral("="));
    else if (Sender == FiltrarDesde1)
        filtrarPorValor(QStringLiteral(">="));
    else if (Sender == FiltrarHasta1)
        filtrarPorValor(QStringLiteral("<="));
}

void TfPROYCPRO::FiltrarRegistrosporValoresDesdeHasta1Click(QObject *)
{
    filtrarPorValor(QStringLiteral(">="));
    filtrarPorValor(QStringLiteral("<="));
}

void TfPROYCPRO::filtrarPorValor(const QString &operador)
{
    plat::DBGrid *rejilla = rejillaActiva();
    plat::DataSet *datos = rejilla ? rejilla->dataSet() : nullptr;
    plat::Field *campo = rejilla ? rejilla->selectedField() : nullptr;
    if (!datos || !campo || campo->isCalculated() || datos->state() != plat::DataSetState::Browse)
        return;
    const QString pregunta = operador == QLatin1String("=")    ? QStringLiteral("Introduzca el valor del campo ")
                             : operador == QLatin1String(">=") ? QStringLiteral("Introduzca el valor Desde ")
                                                               : QStringLiteral("Introduzca el valor Hasta ");
    const QString valor = MensajePedirDato(pregunta + AbreviarNombreCampo(campo->fieldName(), 1), campo->displayText());
    if (valor.isEmpty())
        return;
    const QString anterior = datos->filter();
    const bool estabaFiltrado = datos->filtered();
    QString filtro = anterior;
    if (!filtro.isEmpty())
        filtro += QStringLiteral(" AND ");
    filtro += u'(' + campo->fieldName() + u' ' + operador + u' ' + Entrecomillar(valor) + u')';
    // A new filter resets the grid's rows; the user's column stays chosen.
    const int columna = rejilla->selectedIndex();
    const auto volverAColumna = qScopeGuard([&] { rejilla->setSelectedIndex(columna); });
    const gp::Fallo fallo = gp::capturarFallo([&] {
        datos->setFiltered(false);
        datos->setFilter(filtro);
        datos->setFiltered(true);
    });
    if (fallo) {
        // A refused text leaves the rows as they were shown.
        gp::capturarFallo([&] {
            datos->setFilter(anterior);
            datos->setFiltered(estabaFiltrado);
        });
        MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
        return;
    }
    ConstruirConsultaProyectos();
}

void TfPROYCPRO::CancelarFiltros1Click(QObject *)
{
    plat::DataSet &proyectos = Proyecto->dataSet();
    proyectos.setFilter(QString());
    proyectos.setFiltered(false);
    ConstruirConsultaProyectos();
}

void TfPROYCPRO::RestaurarConfiguracinOriginalRejilla1Click(QObject *)
{
    ModuloDatos->RestaurarConfiguracionRejilla(objectName(), *DBGrid1);
}

// ---- re-planning ---------------------------------------------------------------------------

plat::DBGrid *TfPROYCPRO::rejillaActiva() const
{
    QWidget *foco = activeControl();
    for (plat::DBGrid *rejilla : {DBGrid1, DBGrid2, DBGrid3})
        if (foco && (foco == rejilla || rejilla->isAncestorOf(foco)))
            return rejilla;
    return nullptr;
}

bool TfPROYCPRO::grabarCapitulo(const std::function<void(plat::DataSet &)> &cambiar)
{
    plat::DataSet &capitulos = LProyecto->dataSet();
    const gp::Fallo fallo = gp::capturarFallo([&] {
        capitulos.edit();
        cambiar(capitulos);
        capitulos.post();
    });
    if (!fallo)
        return true;
    gp::capturarFallo([&] { capitulos.cancel(); });
    MensajeAviso(kFallaGrabar);
    return false;
}

void TfPROYCPRO::recorrerCapitulos(const std::optional<QList<plat::Bookmark>> &filas, bool haciaAtras,
                                   const std::function<void()> &visitar)
{
    plat::DataSet &capitulos = LProyecto->dataSet();
    if (!capitulos.active() || capitulos.isEmpty())
        return;
    const plat::Bookmark actual = capitulos.bookmark();
    if (filas) {
        for (const plat::Bookmark &fila : *filas) {
            capitulos.gotoBookmark(fila);
            visitar();
        }
    } else if (haciaAtras) {
        for (capitulos.last(); !capitulos.bof(); capitulos.prior())
            visitar();
    } else {
        for (capitulos.first(); !capitulos.eof(); capitulos.next())
            visitar();
    }
    gp::capturarFallo([&] { capitulos.gotoBookmark(actual); });
}

void TfPROYCPRO::CambiarCondicionesClick(QObject *)
{
    plat::DBGrid *rejilla = rejillaActiva();
    if (rejilla == DBGrid2 && !Proyecto->dataSet().isEmpty()) {
        ModuloDatos->EditarRegistroEnVisor(QStringLiteral("PROYECT"),
                                           Proyecto->dataSet().fieldByName(QStringLiteral("Codigo")).asString(),
                                           QStringLiteral("FechaAceptacion;FechaEntrega;FechaFinalizacion"), QString(),
                                           QStringLiteral("Editar"));
        // The projects' rows are the query's copy: they are read again with their figures.
        ConstruirConsultaProyectos();
    } else if (rejilla == DBGrid3 && !LProyecto->dataSet().isEmpty()) {
        plat::DataSet &capitulos = LProyecto->dataSet();
        const QString clave = capitulos.fieldByName(QStringLiteral("CodigoProyecto")).asString() + u';'
            + capitulos.fieldByName(QStringLiteral("Linea")).asString();
        // The rows chosen before the chapters are read again.
        const QList<plat::Bookmark> seleccionadas = DBGrid3->selectedRows();
        // A cancelled viewer or a record it could not save leaves the other chapters alone.
        if (!ModuloDatos->EditarRegistroEnVisor(QStringLiteral("LPROYECT"), clave,
                                                QStringLiteral("FechaInicio;FechaFinal;TiempoPrevisto;GradoAvance"),
                                                QString(), QStringLiteral("Editar")))
            return;
        capitulos.refresh();
        const QStringList campos = {QStringLiteral("FechaInicio"), QStringLiteral("FechaFinal"), QStringLiteral("GradoAvance")};
        QStringList textos;
        for (const QString &campo : campos)
            textos << capitulos.fieldByName(campo).asString();
        recorrerCapitulos(seleccionadas, false, [&] {
            grabarCapitulo([&](plat::DataSet &c) {
                for (int i = 0; i < campos.size(); ++i)
                    c.fieldByName(campos[i]).setAsString(textos[i]);
            });
        });
        capitulos.refresh();
    }
}

void TfPROYCPRO::DesplazarClick(QObject *Sender)
{
    const bool desplazar = Sender != Ampliar1;
    const QString respuesta = MensajePedirDato(desplazar ? QStringLiteral("Introduzca el Número de Días a desplazar: ")
                                                         : QStringLiteral("Introduzca el Número de Días a ampliar: "),
                                               QStringLiteral("7"));
    if (respuesta.isEmpty() || !ValidarEntero(respuesta, QStringLiteral("Número de Días")))
        return;
    const int dias = respuesta.trimmed().toInt();
    plat::DBGrid *rejilla = rejillaActiva();
    if (rejilla == DBGrid2 || rejilla == DBGrid3) {
        const auto mover = [dias](plat::Field &fecha) {
            if (!fecha.isNull() && NumeroDia(fecha.asDateTime()) > 0)
                fecha.setAsDateTime(fecha.asDateTime().addDays(dias));
        };
        recorrerCapitulos(rejilla == DBGrid3 ? std::optional(DBGrid3->selectedRows()) : std::nullopt, false, [&] {
            grabarCapitulo([&](plat::DataSet &c) {
                if (desplazar)
                    mover(c.fieldByName(QStringLiteral("FechaInicio")));
                mover(c.fieldByName(QStringLiteral("FechaFinal")));
            });
        });
    }
    ConstruirConsultaProyectos();
}

void TfPROYCPRO::DarporTerminadoClick(QObject *) { DarPorTerminado(); }

void TfPROYCPRO::pbCerrarProyectoCapituloClick(QObject *) { DarPorTerminado(); }

void TfPROYCPRO::DarPorTerminado()
{
    plat::DBGrid *rejilla = rejillaActiva();
    const auto terminar = [](plat::DataSet &c) { c.fieldByName(QStringLiteral("GradoAvance")).setAsString(kTerminado); };
    if (rejilla == DBGrid1 || rejilla == DBGrid2) {
        if (Proyecto->dataSet().isEmpty()
            || MensajeConfirmacion(QStringLiteral("¿Realmente desea dar por Terminado el Proyecto y sus Capítulos?"))
                   != QLatin1String("SI"))
            return;
        // The date proposed is the stored one of the project being closed, even when the
        // chapter filter shows none of its chapters.
        const QString codigo = Proyecto->dataSet().fieldByName(QStringLiteral("Codigo")).asString();
        QString propuesta = ModuloDatos->EjecutarSQL(SentenciaFechaCierre(codigo), QStringLiteral("Database"));
        if (propuesta.isEmpty() || EsFechaCero(TextoAFechaHora(propuesta)))
            propuesta = FormatearFechaHora(kFormatoFecha, Ahora());
        const QString fecha = MensajePedirDato(QStringLiteral("Introduzca la Fecha de Cierre: "), propuesta);
        if (fecha.isEmpty() || !ValidarFecha(fecha, QStringLiteral("Fecha de Cierre")))
            return;
        recorrerCapitulos(std::nullopt, true, [&] {
            plat::DataSet &c = LProyecto->dataSet();
            c.edit();
            terminar(c);
            c.post();
        });
        ModuloDatos->EjecutarSQL(SentenciaCerrarProyecto(codigo, TextoAFechaHora(fecha)), QStringLiteral("Database"));
    } else if (rejilla == DBGrid3) {
        if (MensajeConfirmacion(QStringLiteral("¿Realmente desea dar por Terminados los Capítulos indicados?"))
            != QLatin1String("SI"))
            return;
        recorrerCapitulos(DBGrid3->selectedRows(), false, [&] { grabarCapitulo(terminar); });
    }
    ConstruirConsultaProyectos();
}

// ---- the project master --------------------------------------------------------------------

void TfPROYCPRO::AccesoMaestroProyectosClick(QObject *)
{
    plat::DBGrid *rejilla = rejillaActiva();
    plat::DataSet *datos = rejilla ? rejilla->dataSet() : &Proyecto->dataSet();
    if (!datos || !datos->active() || datos->isEmpty() || datos->fieldCount() == 0)
        return;
    const QString codigo = datos->field(0).asString();
    if (ModuloDatos->NivelAccesoPrograma(fGENEINIC->UsuarioActual, QStringLiteral("Maestro de Proyectos"))
        == QLatin1String("Ninguno"))
        return;
    ModuloDatos->AbrirFormularioMDI(fPROYPROY, QStringLiteral("fPROYPROY"));
    if (fPROYPROY && fPROYPROY->Table1->active())
        fPROYPROY->Table1->table().findKey({codigo});
}

// ---- printing ------------------------------------------------------------------------------

PeticionListadoGrafico TfPROYCPRO::PeticionImprimir(QObject *Sender) const
{
    PeticionListadoGrafico peticion;
    peticion.Apaisado = Sender == pbImprimirApaisado;
    peticion.FechaInicioInforme = fechaEdicion(*DesdeHorizonte);
    peticion.FechaFinalInforme = fechaEdicion(*HastaHorizonte);
    if (rejillaActiva() != DBGrid3) {
        peticion.ModoInforme = QStringLiteral("Proyectos");
        peticion.DataSet = &Proyecto->dataSet();
        peticion.Titulo = QStringLiteral("Listado Gráfico de Proyectos");
        return peticion;
    }
    const plat::DataSet &p = Proyecto->dataSet();
    peticion.ModoInforme = QStringLiteral("Capitulos");
    peticion.DataSet = &LProyecto->dataSet();
    if (p.active() && !p.isEmpty())
        peticion.Titulo = QStringLiteral("Proyecto: ") + p.fieldByName(QStringLiteral("Codigo")).asString()
            + QStringLiteral(" - ") + p.fieldByName(QStringLiteral("Descripcion")).asString().left(40);
    return peticion;
}

void TfPROYCPRO::pbImprimirClick(QObject *Sender)
{
    ImprimirListadoGrafico(PeticionImprimir(Sender));
}

// ---- painting ------------------------------------------------------------------------------

void TfPROYCPRO::DBGrid2DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    plat::Canvas *canvas = DBGrid2->canvas();
    if (!canvas || !Column)
        return;
    PrepararCelda(*canvas, State);
    canvas->FillRect(Rect);
    if (Column->FieldName != kGrafico) {
        canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, DBGrid2->drawnText(Column->FieldName));
        return;
    }
    canvas->brush().Color = plat::clWhite;
    canvas->FillRect(Rect);
    const FilaProyectoGantt fila{DBGrid2->drawnText(QStringLiteral("Codigo")),
                                 TextoAFechaHora(DBGrid2->drawnText(QStringLiteral("FechaEntrega")))};
    if (MDProyectos)
        DibujarProyectoConsulta(*canvas, Rect, fila, fechaEdicion(*DesdeHorizonte), fechaEdicion(*HastaHorizonte),
                                VerDias->isChecked());
}

void TfPROYCPRO::DBGrid3DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    plat::Canvas *canvas = DBGrid3->canvas();
    if (!canvas || !Column)
        return;
    PrepararCelda(*canvas, State);
    canvas->FillRect(Rect);
    const LineaPlan linea = LineaDibujada(*DBGrid3);
    if (Column->FieldName != kGrafico) {
        PrepararFuenteLinea(*canvas, linea);
        canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, DBGrid3->drawnText(Column->FieldName));
        return;
    }
    canvas->brush().Color = plat::clWhite;
    canvas->FillRect(Rect);
    if (!MDProyectos)
        return;
    const QString codigo = DBGrid3->drawnText(QStringLiteral("CodigoProyecto"));
    const CapituloGantt capitulo{linea,
                                 MDProyectos->CalcularPlanProyecto(codigo, DBGrid3->drawnText(QStringLiteral("Capitulo")))};
    PintarCapituloConsulta(*canvas, Rect, ganttCapitulos_->planProyecto(codigo), capitulo, VerDias->isChecked(),
                           NumeroDia(Ahora()));
}

void TfPROYCPRO::DBGrid2DrawTitle(QObject *, const QRect &Rect, int, plat::GridColumn *Column)
{
    plat::Canvas *canvas = DBGrid2->canvas();
    if (!canvas || !Column)
        return;
    if (Column->FieldName != kGrafico) {
        canvas->brush().Style = plat::bsClear;
        canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, Column->TitleCaption);
        return;
    }
    DibujarEscalaTiempo(*canvas, Rect, NumeroDia(fechaEdicion(*DesdeHorizonte)), NumeroDia(fechaEdicion(*HastaHorizonte)),
                        QStringLiteral("Meses,Cabecera Meses"), 0);
}

void TfPROYCPRO::DBGrid3DrawTitle(QObject *, const QRect &Rect, int, plat::GridColumn *Column)
{
    if (Column)
        ganttCapitulos_->dibujarTitulo(Rect, *Column, Proyecto->dataSet());
}
