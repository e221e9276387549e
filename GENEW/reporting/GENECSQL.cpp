#include "GENEW/reporting/GENECSQL.h"

#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/IconosHerramientas.h"
#include "GENEW/reporting/consultas/AyudasSentencia.h"
#include "GENEW/reporting/consultas/GraficoConsulta.h"
#include "GENEW/reporting/consultas/VariablesConsulta.h"
#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/runtime/AvisoServidorAusente.h"
#include "GENEW/runtime/ConexionesPrograma.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/base/Errores.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>

TfGENECSQL *fGENECSQL = nullptr;

namespace {

const QString kSi = QStringLiteral("SI");
const QString kNo = QStringLiteral("NO");
const QString kSelect = QStringLiteral("SELECT");
const QString kImposibleGrabar = QStringLiteral("¡Imposible grabar el registro!");
const QString kNoEjecutada = QStringLiteral("¡No se ha podido ejecutar la sentencia SQL!");
const QString kSoloUnaSelect = QStringLiteral("sin «Modificar» pulsado sólo se ejecuta una sentencia SELECT");

// The console's refusal, with the reason after "Motivo: ".
void avisarNoEjecutada(const QString &motivo)
{
    MensajeAviso(kNoEjecutada + QStringLiteral(". Motivo: ") + motivo);
}
const QString kAvisoCambios = QStringLiteral("Recuerde que los cambios realizados no serán efectivos hasta que las "
                                             "aplicaciones de los usuarios afectados sean cerradas y abiertas de nuevo");
const QString kOpcionesSeleccion = QStringLiteral("Formato=0,0,300,0\r\nModo=Multiple");

const QStringList kComandosSQL = {
    QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("FROM"), QStringLiteral("WHERE"),
    QStringLiteral("GROUP BY"), QStringLiteral("HAVING"), QStringLiteral("ORDER BY"), QStringLiteral("DESCENDING"),
    QStringLiteral("JOIN"), QStringLiteral("ON"), QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("NOT"),
    QStringLiteral("LIKE"), QStringLiteral("IS NULL"), QStringLiteral("IS NOT NULL"), QStringLiteral("BETWEEN ... AND"),
    QStringLiteral("ALL"), QStringLiteral("ANY"), QStringLiteral("SOME"), QStringLiteral("EXISTS"),
    QStringLiteral("SINGULAR"), QStringLiteral("AVG( )"), QStringLiteral("COUNT( )"), QStringLiteral("MIN( )"),
    QStringLiteral("MAX( )"), QStringLiteral("SUM( )")};
const QStringList kOperaciones = {QStringLiteral("="),  QStringLiteral(">"), QStringLiteral("<"), QStringLiteral(">="),
                                  QStringLiteral("<="), QStringLiteral("<>"), QStringLiteral("+"), QStringLiteral("-"),
                                  QStringLiteral("*"),  QStringLiteral("/")};

// The 500 ms the user is given before the notice about restarting the applications.
void pausa()
{
    QEventLoop bucle;
    QTimer::singleShot(500, &bucle, &QEventLoop::quit);
    bucle.exec();
}

QStringList lineasDe(const QString &texto)
{
    QStringList lineas;
    for (const QString &linea : DividirLineas(texto))
        if (!linea.isEmpty())
            lineas << linea;
    return lineas;
}

} // namespace

TfGENECSQL::TfGENECSQL(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENECSQL"), QStringLiteral("Consultas SQL")), instancia_(fGENECSQL, this)
{
    resize(760, 540);
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    construirBotones();
    construirSentenciaYRejilla();
    construirInserciones();
    construirMenus();
    caja->addWidget(PanelBotones);
    caja->addWidget(PanelSentencia);
    caja->addWidget(DBGrid1, 1);
    comandos_ = std::make_unique<ComandosRejilla>(*DBGrid1);
    asignarManejadores();
    OnCreate = [this](QObject *s) { FormCreate(s); };
}

TfGENECSQL::~TfGENECSQL() = default;

void TfGENECSQL::construirBotones()
{
    PanelBotones = make<plat::Panel>(QStringLiteral("PanelBotones"), this);
    PanelBotones->setFixedHeight(64);
    int izquierda = 4;
    const auto boton = [&](const QString &nombre, const QString &ayuda) {
        auto *b = plat::place(make<plat::SpeedButton>(nombre, PanelBotones), izquierda, 4, 34, 28);
        PonerIconoHerramienta(*b);
        b->setHint(ayuda);
        izquierda += 36;
        return b;
    };
    pbEjecutar = boton(QStringLiteral("pbEjecutar"), QStringLiteral("Ejecutar la Sentencia SQL (F9)"));
    pbModificar = boton(QStringLiteral("pbModificar"), QStringLiteral("Permitir la Modificación de Datos"));
    pbModificar->setGroupIndex(1);
    pbModificar->setAllowAllUp(true);
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStringLiteral("Imprimir el Resultado"));
    pbImprimirApaisado = boton(QStringLiteral("pbImprimirApaisado"),
                               QStringLiteral("Imprimir el Resultado en Apaisado"));
    pbExportar = boton(QStringLiteral("pbExportar"), QStringLiteral("Exportar el Resultado a Texto"));
    pbImportar = boton(QStringLiteral("pbImportar"), QStringLiteral("Importar Texto al Resultado"));
    pbExportarExcel = boton(QStringLiteral("pbExportarExcel"), QStringLiteral("Exportar el Resultado a Excel"));
    pbGrafico = boton(QStringLiteral("pbGrafico"), QStringLiteral("Representación Gráfica"));
    pbGuardarFiltro = boton(QStringLiteral("pbGuardarFiltro"), QStringLiteral("Guardar la Sentencia SQL"));
    pbGuardarFiltroComo = boton(QStringLiteral("pbGuardarFiltroComo"),
                                QStringLiteral("Guardar la Sentencia SQL Como..."));
    pbEliminarFiltro = boton(QStringLiteral("pbEliminarFiltro"), QStringLiteral("Eliminar la Sentencia SQL"));
    pbCambioDatabase = boton(QStringLiteral("pbCambioDatabase"), QStringLiteral("Cambiar de Base de Datos"));
    pbCambiarFont = boton(QStringLiteral("pbCambiarFont"), QStringLiteral("Cambiar el Tipo de Letra"));
    pbRefrescar = boton(QStringLiteral("pbRefrescar"), QStringLiteral("Refrescar el Resultado"));
    pbZoom = boton(QStringLiteral("pbZoom"), QStringLiteral("Ocultar la Sentencia SQL"));
    pbZoom->setGroupIndex(2);
    pbZoom->setAllowAllUp(true);
    pbRestringirAUsuarios = boton(QStringLiteral("pbRestringirAUsuarios"), QStringLiteral("Restringir a Usuarios"));
    pbPersonalizarMenu = boton(QStringLiteral("pbPersonalizarMenu"), QStringLiteral("Aplicaciones Contenedoras"));
    pbCopiarConfiguracion = boton(QStringLiteral("pbCopiarConfiguracion"), QStringLiteral("Copiar la Configuración"));
    pbCopiarAOtrasEmpresas = boton(QStringLiteral("pbCopiarAOtrasEmpresas"), QStringLiteral("Copiar a otras Empresas"));
    pbSalir = boton(QStringLiteral("pbSalir"), QStringLiteral("Salir"));
    auto *etiqueta = plat::place(make<plat::Label>(QStringLiteral("LabelDescripcion"), PanelBotones), 4, 40, 140, 18);
    etiqueta->setCaption(QStringLiteral("Sentencia SQL:"));
    EditDescripcionFiltro = plat::place(make<plat::ComboBox>(QStringLiteral("EditDescripcionFiltro"), PanelBotones), 110, 36, 360, 24);
    EditDescripcionFiltro->setStyle(plat::ComboBox::csDropDownList);
}

void TfGENECSQL::construirSentenciaYRejilla()
{
    PanelSentencia = make<plat::Panel>(QStringLiteral("PanelSentencia"), this);
    PanelSentencia->setFixedHeight(150);
    auto *caja = new QVBoxLayout(PanelSentencia);
    caja->setContentsMargins(2, 2, 2, 2);
    SentenciaSQL = make<plat::Memo>(QStringLiteral("SentenciaSQL"), PanelSentencia);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    SentenciaSQL->setControlFont(courier);
    SentenciaSQL->setWordWrap(false);
    caja->addWidget(SentenciaSQL);

    QryConsultasSQL = make<plat::QueryComponent>(QStringLiteral("QryConsultasSQL"), this);
    // Typed statements run through the engine's dialect, so "SELECT TOP 10 ..." runs anywhere.
    QryConsultasSQL->query().setSqlOrigin(plat::SqlOrigin::Program);
    // A large answer shows its first screen at once: rows are read as the grid asks for them.
    QryConsultasSQL->query().setStepRows(true);
    DSConsultasSQL = make<plat::DataSource>(QStringLiteral("DSConsultasSQL"), this);
    DSConsultasSQL->setDataSet(&QryConsultasSQL->dataSet());
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), this);
    DBGrid1->setDataSource(DSConsultasSQL);
    DBGrid1->setReadOnly(true);
    DBGrid1->setEnterAsTab(true);

    Filtro = make<plat::TableComponent>(QStringLiteral("Filtro"), this);
    Filtro->setTableName(QStringLiteral("FILTRO"));
    Table1 = make<plat::TableComponent>(QStringLiteral("Table1"), this);
}

void TfGENECSQL::construirInserciones()
{
    PanelInserciones = plat::place(make<plat::Panel>(QStringLiteral("PanelInserciones"), this), 0, 0, 592, 230);
    PanelInserciones->setColor(plat::clBtnFace);
    PanelInserciones->setVisible(false);
    // Dragged by any point of its own between the lists.
    PanelInserciones->OnMouseDown = [this](QObject *, Qt::MouseButton, plat::ShiftState, int x, int y) {
        agarre_ = QPoint(x, y);
    };
    PanelInserciones->OnMouseMove = [this](QObject *, plat::ShiftState Shift, int x, int y) {
        if (Shift & plat::ssLeft)
            PanelInserciones->move(PanelInserciones->pos() + QPoint(x, y) - agarre_);
    };
    const auto lista = [&](const QString &nombre, const QString &titulo, int izquierda, int ancho) {
        auto *etiqueta = plat::place(make<plat::Label>(QStringLiteral("Label") + nombre, PanelInserciones), izquierda, 4, ancho, 16);
        etiqueta->setCaption(titulo);
        return plat::place(make<plat::ListBox>(nombre, PanelInserciones), izquierda, 22, ancho, 200);
    };
    LBComandosSQL = lista(QStringLiteral("LBComandosSQL"), QStringLiteral("Comandos SQL"), 6, 130);
    LBComandosSQL->setItems(kComandosSQL);
    LBOperacion = lista(QStringLiteral("LBOperacion"), QStringLiteral("Operación"), 142, 70);
    LBOperacion->setItems(kOperaciones);
    LBTablas = lista(QStringLiteral("LBTablas"), QStringLiteral("Tablas"), 218, 180);
    LBCampos = lista(QStringLiteral("LBCampos"), QStringLiteral("Campos"), 404, 182);
}

void TfGENECSQL::construirMenus()
{
    const auto opcion = [this](plat::PopupMenu *menu, const QString &nombre, const QString &texto) {
        auto *item = make<plat::MenuItem>(nombre, texto, menu);
        menu->Items()->Add(item);
        return item;
    };
    PopupSentencia = make<plat::PopupMenu>(QStringLiteral("PopupSentencia"), this);
    InsertarComandoSQL1 = opcion(PopupSentencia, QStringLiteral("InsertarComandoSQL1"), QStringLiteral("Insertar Comando S&QL"));
    InsertarTabla1 = opcion(PopupSentencia, QStringLiteral("InsertarTabla1"), QStringLiteral("Insertar &Tabla"));
    InsertarCampo1 = opcion(PopupSentencia, QStringLiteral("InsertarCampo1"), QStringLiteral("Insertar &Campo"));
    PopUpGrid = make<plat::PopupMenu>(QStringLiteral("PopUpGrid"), this);
    FiltrarIgual1 = opcion(PopUpGrid, QStringLiteral("FiltrarIgual1"), QStringLiteral("Filtrar Registros por Valor &Igual a..."));
    FiltrarDesde1 = opcion(PopUpGrid, QStringLiteral("FiltrarDesde1"), QStringLiteral("Filtrar Registros por Valor &Desde..."));
    FiltrarHasta1 = opcion(PopUpGrid, QStringLiteral("FiltrarHasta1"), QStringLiteral("Filtrar Registros por Valor &Hasta..."));
    CancelarFiltros1 = opcion(PopUpGrid, QStringLiteral("CancelarFiltros1"), QStringLiteral("&Cancelar Filtros"));
    CancelarOrdenado1 = opcion(PopUpGrid, QStringLiteral("CancelarOrdenado1"), QStringLiteral("Cancelar &Ordenado Por"));
    BuscarRegistro1 = opcion(PopUpGrid, QStringLiteral("BuscarRegistro1"), QStringLiteral("&Buscar Registro con Valor Igual a..."));
    const auto enlazar = [this](QWidget *control, plat::PopupMenu *menu) {
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(control, &QWidget::customContextMenuRequested, this, [control, menu](const QPoint &p) {
            const QPoint global = control->mapToGlobal(p);
            menu->Popup(global.x(), global.y());
        });
    };
    enlazar(SentenciaSQL, PopupSentencia);
    enlazar(DBGrid1, PopUpGrid);
}

void TfGENECSQL::asignarManejadores()
{
    const auto clic = [this](plat::SpeedButton *b, void (TfGENECSQL::*manejador)(QObject *)) {
        b->OnClick = [this, manejador](QObject *s) { (this->*manejador)(s); };
    };
    clic(pbEjecutar, &TfGENECSQL::pbEjecutarClick);
    clic(pbModificar, &TfGENECSQL::pbModificarClick);
    clic(pbImprimir, &TfGENECSQL::pbImprimirClick);
    clic(pbImprimirApaisado, &TfGENECSQL::pbImprimirClick);
    clic(pbExportar, &TfGENECSQL::pbExportarClick);
    clic(pbImportar, &TfGENECSQL::pbImportarClick);
    clic(pbExportarExcel, &TfGENECSQL::pbExportarExcelClick);
    clic(pbGrafico, &TfGENECSQL::pbGraficoClick);
    clic(pbGuardarFiltro, &TfGENECSQL::pbGuardarFiltroClick);
    clic(pbGuardarFiltroComo, &TfGENECSQL::pbGuardarFiltroComoClick);
    clic(pbEliminarFiltro, &TfGENECSQL::pbEliminarFiltroClick);
    clic(pbCambioDatabase, &TfGENECSQL::pbCambioDatabaseClick);
    clic(pbCambiarFont, &TfGENECSQL::pbCambiarFontClick);
    clic(pbRefrescar, &TfGENECSQL::pbRefrescarClick);
    clic(pbZoom, &TfGENECSQL::pbZoomClick);
    clic(pbRestringirAUsuarios, &TfGENECSQL::pbRestringirAUsuariosClick);
    clic(pbPersonalizarMenu, &TfGENECSQL::pbPersonalizarMenuClick);
    clic(pbCopiarConfiguracion, &TfGENECSQL::pbCopiarConfiguracionClick);
    clic(pbCopiarAOtrasEmpresas, &TfGENECSQL::pbCopiarAOtrasEmpresasClick);
    pbSalir->OnClick = [this](QObject *) { close(); };
    connect(EditDescripcionFiltro, &QComboBox::activated, this, [this](int) { EditDescripcionFiltroChange(EditDescripcionFiltro); });
    DBGrid1->OnEditButtonClick = [this](QObject *s) { DBGrid1EditButtonClick(s); };
    DBGrid1->OnKeyDown = [this](QObject *s, int &k, plat::ShiftState sh) { DBGrid1KeyDown(s, k, sh); };
    DBGrid1->OnTitleClick = [this](QObject *s, plat::GridColumn *c) { DBGrid1TitleClick(s, c); };
    connect(LBTablas, &QListWidget::currentRowChanged, this, [this](int) { LBTablasClick(LBTablas); });
    LBComandosSQL->OnDblClick = [this](QObject *s) { LBComandosSQLDblClick(s); };
    LBOperacion->OnDblClick = [this](QObject *s) { LBOperacionDblClick(s); };
    LBTablas->OnDblClick = [this](QObject *s) { LBTablasDblClick(s); };
    LBCampos->OnDblClick = [this](QObject *s) { LBCamposDblClick(s); };
    for (plat::MenuItem *m : {InsertarComandoSQL1, InsertarTabla1, InsertarCampo1})
        m->OnClick = [this](QObject *s) { InsertarClick(s); };
    for (plat::MenuItem *m : {FiltrarIgual1, FiltrarDesde1, FiltrarHasta1})
        m->OnClick = [this](QObject *s) { FiltrarClick(s); };
    CancelarFiltros1->OnClick = [this](QObject *s) { CancelarFiltrosClick(s); };
    CancelarOrdenado1->OnClick = [this](QObject *s) { CancelarOrdenadoClick(s); };
    BuscarRegistro1->OnClick = [this](QObject *s) { BuscarRegistroClick(s); };
    setKeyPreview(true);
    OnKeyDown = [this](QObject *Sender, int &Key, plat::ShiftState Shift) {
        if (Key == plat::VK_F9 && Shift == plat::ShiftState()) {
            Key = 0;
            pbEjecutar->click();
        } else if (fGENEINIC) {
            fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
        }
    };
    OnKeyPress = [](QObject *Sender, QChar &Key) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaPulsada(Sender, Key);
    };
}

// ---- start and loading ---------------------------------------------------------------------

bool TfGENECSQL::esAdministrador() const
{
    return ModuloDatos && ModuloDatos->EsAdministrador(fGENEINIC->UsuarioActual, QStringLiteral("Silencio"));
}

void TfGENECSQL::FormCreate(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->PrepararFormulario(this);
    plat::TableDataSet &filtro = Filtro->table();
    filtro.setFilter(QStringLiteral("NombreTabla = 'SQL'"));
    filtro.OnFilterRecord = [](plat::DataSet &ds, bool &aceptar) {
        aceptar = !ModuloDatos
            || ModuloDatos->ConsultaAutorizada(ds.fieldByName(QStringLiteral("Descripcion")).asString(),
                                               fGENEINIC->UsuarioActual);
    };
    // Filtered before it opens: its rows are read once, only the console's.
    filtro.setFiltered(true);
    if (!ModuloDatos || !ModuloDatos->AbrirTabla(filtro))
        filtro.setFiltered(false);
    llenarDescripciones();
    if (!filtro.active() || filtro.isEmpty()) {
        SentenciaSQL->setText(QStringLiteral("SELECT * FROM "));
    } else {
        filtro.first();
        cargarSentencia();
    }
    llenarTablas();
    SentenciaSQL->setFocus();
    const bool administrador = esAdministrador();
    pbRestringirAUsuarios->setVisible(administrador);
    pbPersonalizarMenu->setVisible(administrador);
    vivoConModificar_ = fGENEINIC && fGENEINIC->Conexiones().ajustes().Motor != plat::EngineKind::SQLite;
    QryConsultasSQL->query().setRequestLive(!vivoConModificar_);
    ponerSalida(false);
    soloLectura_ = SoloLectura(this);
    if (soloLectura_)
        impedirCambios();
}

void TfGENECSQL::impedirCambios()
{
    // Only stored statements run, with editing off; nothing the result shows can be written.
    SentenciaSQL->setReadOnly(true);
    for (plat::MenuItem *insertar : {InsertarComandoSQL1, InsertarTabla1, InsertarCampo1})
        insertar->setEnabled(false);
    pbModificar->setChecked(false);
    pbModificar->setEnabled(false);
    for (plat::SpeedButton *b : {pbImportar, pbGuardarFiltro, pbGuardarFiltroComo, pbEliminarFiltro, pbRestringirAUsuarios,
                                 pbPersonalizarMenu, pbCopiarConfiguracion, pbCopiarAOtrasEmpresas})
        b->setEnabled(false);
    DBGrid1->setReadOnly(true);
    QryConsultasSQL->query().setReadOnly(true);
}

bool TfGENECSQL::edicionActiva() const
{
    return !soloLectura_ && pbModificar->isChecked();
}

void TfGENECSQL::llenarDescripciones()
{
    plat::TableDataSet &filtro = Filtro->table();
    QStringList descripciones;
    if (filtro.active()) {
        // Just opened it stands on its first row: going there would read the rows again.
        if (!filtro.bof())
            filtro.first();
        for (; !filtro.eof(); filtro.next())
            descripciones << filtro.fieldByName(QStringLiteral("Descripcion")).asString();
    }
    EditDescripcionFiltro->setItems(descripciones);
}

void TfGENECSQL::cargarSentencia()
{
    plat::TableDataSet &filtro = Filtro->table();
    if (!filtro.active() || filtro.isEmpty())
        return;
    const QString descripcion = filtro.fieldByName(QStringLiteral("Descripcion")).asString();
    EditDescripcionFiltro->setItemIndex(EditDescripcionFiltro->items().indexOf(descripcion));
    SentenciaSQL->setText(filtro.fieldByName(QStringLiteral("Filtro")).asString());
    Instrucciones = InstruccionesConsulta(filtro.fieldByName(QStringLiteral("Instrucciones")).asString());
}

void TfGENECSQL::EditDescripcionFiltroChange(QObject *)
{
    if (Filtro->table().active()
        && Filtro->table().locate(QStringLiteral("Descripcion"), EditDescripcionFiltro->text())) {
        cargarSentencia();
        if (pbZoom->isChecked())
            pbEjecutar->click();
    }
}

// ---- running ---------------------------------------------------------------------------------

void TfGENECSQL::pbEjecutarClick(QObject *)
{
    if (!Instrucciones.autoriza(fGENEINIC->UsuarioActual)) {
        MensajeAviso(QStringLiteral("¡Vd. no tiene acceso a la consulta!"));
        return;
    }
    pbImportar->setEnabled(false);
    plat::QueryDataSet &query = QryConsultasSQL->query();
    query.close();
    const QString sql = SentenciaSQL->text();
    query.setSql(sql);
    comandos_->ponerFuente(Instrucciones.fuente(fGENEINIC->FuenteAspecto), fGENEINIC->FuenteAspecto);
    try {
        query.clearParams();
        for (const ValorVariable &v : ValoresVariables(sql, [](const QString &pregunta) { return MensajePedirDato(pregunta); }))
            query.createParam(v.tipo, v.nombre).setValue(v.valor);
    } catch (const gp::ConversionError &e) {
        fGENEINIC->Manejador().GestionExcepciones(this, e);
        return;
    }
    if (!DividirLineas(sql).value(0).toUpper().startsWith(kSelect) && !edicionActiva()) {
        if (soloLectura_)
            MensajeAviso(kSinAutorizacionModificar);
        else
            avisarNoEjecutada(kSoloUnaSelect);
        return;
    }
    ejecutar();
}

bool TfGENECSQL::ejecutar()
{
    PanelInserciones->setVisible(false);
    plat::QueryDataSet &query = QryConsultasSQL->query();
    const bool esSelect = DividirLineas(query.sql()).value(0).trimmed().toUpper().startsWith(kSelect);
    bool hecho = false;
    gp::Fallo fallo;
    {
        plat::BusyCursor reloj;
        // With editing off a second statement after the SELECT would run too, and a single
        // one may still write (SELECT ... INTO, a function that writes): the engine refuses.
        hecho = ModuloDatos
            && ModuloDatos->AbrirConsulta(query, edicionActiva() ? QString() : QStringLiteral("UnaSentencia,SoloLectura"),
                                          &fallo);
    }
    if (!hecho) {
        if (fallo.tipo == gp::DatabaseErrorKind::ConnectionLost)
            AvisoServidorAusente::delPrograma().avisar(fallo.mensaje);
        else
            avisarNoEjecutada(MotivoFallo(fallo));
        ponerSalida(false);
        return false;
    }
    DBGrid1->setReadOnly(!edicionActiva());
    if (query.active()) {
        comandos_->prepararColumnas();
        query.first();
    }
    ponerSalida(esSelect && query.active());
    pbImportar->setEnabled(esSelect && query.active() && edicionActiva());
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
    return true;
}

void TfGENECSQL::ponerSalida(bool habilitada)
{
    for (plat::SpeedButton *b : {pbExportar, pbExportarExcel, pbImprimir, pbImprimirApaisado, pbGrafico})
        b->setEnabled(habilitada);
}

void TfGENECSQL::pbModificarClick(QObject *)
{
    const bool modificar = edicionActiva();
    DBGrid1->setReadOnly(!modificar);
    if (!modificar)
        pbImportar->setEnabled(false);
    if (vivoConModificar_) {
        QryConsultasSQL->query().setRequestLive(modificar);
        if (modificar)
            MensajeInformacion(QStringLiteral("Para hacer efectiva la activación de la Modificación de Datos debe volver "
                                              "a ejecutar la Sentencia SQL."));
    }
}

void TfGENECSQL::pbRefrescarClick(QObject *)
{
    if (QryConsultasSQL->query().active() && ModuloDatos)
        ModuloDatos->RefrescarDataSet(QryConsultasSQL->query());
}

void TfGENECSQL::pbZoomClick(QObject *)
{
    PanelSentencia->setVisible(!pbZoom->isChecked());
}

// ---- the result grid ---------------------------------------------------------------------------

void TfGENECSQL::DBGrid1EditButtonClick(QObject *)
{
    plat::Field *campo = DBGrid1->selectedField();
    if (!campo || (campo->dataType() != ftMemo && campo->dataType() != ftFmtMemo) || !fGENEVMEM)
        return;
    plat::DataSet &datos = QryConsultasSQL->dataSet();
    if (DBGrid1->readOnly()) {
        VisorCampoTexto(datos, campo->fieldName(), campo->fieldName());
        return;
    }
    QString texto;
    VisualizarAsignarCampoTexto(datos, campo->fieldName(), campo->fieldName(), texto);
    if (datos.state() == plat::DataSetState::Edit)
        datos.post();
}

void TfGENECSQL::DBGrid1KeyDown(QObject *, int &Key, plat::ShiftState Shift)
{
    if (Shift != (plat::ssCtrl | plat::ssShift) || !ModuloDatos || !QryConsultasSQL->query().active())
        return;
    if (Key == 'C') {
        ModuloDatos->RegistroATexto(QryConsultasSQL->dataSet(), ModuloDatos->RegistroCopiado);
        Key = 0;
    } else if (Key == 'V') {
        if (!soloLectura_)
            ModuloDatos->TextoARegistro(QryConsultasSQL->dataSet());
        Key = 0;
    }
}

void TfGENECSQL::FiltrarClick(QObject *Sender)
{
    const auto comparacion = Sender == FiltrarDesde1 ? ComandosRejilla::Comparacion::Desde
        : Sender == FiltrarHasta1                   ? ComandosRejilla::Comparacion::Hasta
                                                    : ComandosRejilla::Comparacion::Igual;
    comandos_->filtrar(comparacion);
}

void TfGENECSQL::CancelarFiltrosClick(QObject *)
{
    comandos_->cancelarFiltros();
}

void TfGENECSQL::BuscarRegistroClick(QObject *)
{
    comandos_->buscar();
}

void TfGENECSQL::editarLineas(const std::function<void(QStringList &)> &cambio)
{
    QStringList lineas = SentenciaSQL->text().split(QStringLiteral("\r\n"));
    if (lineas.size() == 1 && lineas.first().isEmpty())
        lineas.clear();
    cambio(lineas);
    SentenciaSQL->setText(lineas.join(QStringLiteral("\r\n")));
}

void TfGENECSQL::DBGrid1TitleClick(QObject *, plat::GridColumn *Column)
{
    if (!QryConsultasSQL->query().active() || !Column)
        return;
    editarLineas([&](QStringList &l) { ayudasSentencia::ordenarPor(l, Column->FieldName); });
    pbEjecutar->click();
}

void TfGENECSQL::CancelarOrdenadoClick(QObject *)
{
    bool quitada = false;
    editarLineas([&](QStringList &l) { quitada = ayudasSentencia::quitarOrden(l); });
    if (quitada)
        pbEjecutar->click();
}

// ---- tables and the insertion panel ----------------------------------------------------------------

void TfGENECSQL::llenarTablas()
{
    QryConsultasSQL->query().close();
    LBTablas->clear();
    LBCampos->clear();
    if (!fGENEINIC)
        return;
    const QString base = QryConsultasSQL->databaseName();
    try {
        plat::Connection &conexion =
            base.isEmpty() ? fGENEINIC->Database() : fGENEINIC->Conexiones().ConexionDeBaseDatos(base);
        LBTablas->setItems(conexion.tableNames());
    } catch (const gp::Error &e) {
        AvisarFallo(e);
        return;
    }
    if (LBTablas->count() > 0)
        LBTablas->setCurrentRow(0);
}

void TfGENECSQL::LBTablasClick(QObject *)
{
    const int fila = LBTablas->currentRow();
    if (fila < 0 || !ModuloDatos)
        return;
    plat::TableDataSet &tabla = Table1->table();
    tabla.close();
    tabla.setDatabaseName(QryConsultasSQL->databaseName());
    tabla.setTableName(LBTablas->item(fila)->text());
    QStringList campos = {QStringLiteral("*")};
    if (ModuloDatos->AbrirTabla(tabla))
        for (int i = 0; i < tabla.fieldCount(); ++i)
            campos << tabla.field(i).fieldName();
    tabla.close();
    LBCampos->setItems(campos);
}

void TfGENECSQL::pbCambioDatabaseClick(QObject *)
{
    const QString nombre = MensajePedirDato(QStringLiteral("Introduzca el nombre de la nueva Base de Datos: "),
                                            QryConsultasSQL->databaseName());
    if (nombre.isEmpty())
        return;
    QString resuelto = nombre.startsWith(u'?') ? nombre.mid(1) : nombre;
    try {
        fGENEINIC->Conexiones().ConexionDeBaseDatos(resuelto).tableNames();
    } catch (const gp::Error &e) {
        AvisarFallo(e);
        return;
    }
    QryConsultasSQL->setDatabaseName(resuelto);
    llenarTablas();
}

int TfGENECSQL::tablaElegida() const
{
    return qMax(0, LBTablas->currentRow());
}

void TfGENECSQL::InsertarClick(QObject *Sender)
{
    PanelInserciones->move((width() - PanelInserciones->width()) / 2, (height() - PanelInserciones->height()) / 2);
    PanelInserciones->setVisible(true);
    PanelInserciones->raise();
    plat::ListBox *lista = Sender == InsertarTabla1 ? LBTablas : Sender == InsertarCampo1 ? LBCampos : LBComandosSQL;
    lista->setFocus();
}

void TfGENECSQL::LBComandosSQLDblClick(QObject *)
{
    if (const QListWidgetItem *item = LBComandosSQL->currentItem()) {
        const QString campo = LBCampos->currentItem() ? LBCampos->currentItem()->text() : QStringLiteral("*");
        editarLineas([&](QStringList &l) { ayudasSentencia::insertarComando(l, item->text(), tablaElegida(), campo); });
    }
}

void TfGENECSQL::LBOperacionDblClick(QObject *)
{
    if (const QListWidgetItem *item = LBOperacion->currentItem())
        editarLineas([&](QStringList &l) { ayudasSentencia::insertarOperador(l, item->text()); });
}

void TfGENECSQL::LBTablasDblClick(QObject *)
{
    if (const QListWidgetItem *item = LBTablas->currentItem())
        editarLineas([&](QStringList &l) { ayudasSentencia::insertarTabla(l, item->text(), tablaElegida()); });
}

void TfGENECSQL::LBCamposDblClick(QObject *)
{
    if (const QListWidgetItem *item = LBCampos->currentItem())
        editarLineas([&](QStringList &l) { ayudasSentencia::insertarCampo(l, item->text(), tablaElegida()); });
}

// ---- storing ----------------------------------------------------------------------------------

void TfGENECSQL::pbGuardarFiltroClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    plat::TableDataSet &filtro = Filtro->table();
    const QString descripcion = EditDescripcionFiltro->text();
    const bool enSuFila = filtro.active() && !filtro.isEmpty()
        && filtro.fieldByName(QStringLiteral("Descripcion")).asString() == descripcion;
    if (descripcion.isEmpty() || !(enSuFila || filtro.locate(QStringLiteral("Descripcion"), descripcion))) {
        pbGuardarFiltroComoClick(pbGuardarFiltro);
        return;
    }
    try {
        filtro.edit();
        filtro.fieldByName(QStringLiteral("Filtro")).setAsString(SentenciaSQL->text());
        filtro.fieldByName(QStringLiteral("Instrucciones")).setAsString(Instrucciones.texto());
        filtro.post();
    } catch (const gp::Error &) {
        filtro.cancel();
        MensajeAviso(QStringLiteral("¡El registro está siendo utilizado por otro usuario!"));
    }
}

void TfGENECSQL::pbGuardarFiltroComoClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    const QString descripcion = MensajePedirDato(QStringLiteral("Introduzca la Descripción de la Sentencia SQL: "));
    plat::TableDataSet &filtro = Filtro->table();
    if (descripcion.isEmpty() || !filtro.active())
        return;
    try {
        filtro.append();
        filtro.fieldByName(QStringLiteral("NombreTabla")).setAsString(QStringLiteral("SQL"));
        filtro.fieldByName(QStringLiteral("Descripcion")).setAsString(descripcion);
        filtro.fieldByName(QStringLiteral("Filtro")).setAsString(SentenciaSQL->text());
        filtro.fieldByName(QStringLiteral("Instrucciones")).setAsString(Instrucciones.texto());
        filtro.post();
    } catch (const gp::Error &) {
        filtro.cancel();
        MensajeAviso(kImposibleGrabar);
        return;
    }
    llenarDescripciones();
    if (filtro.locate(QStringLiteral("Descripcion"), descripcion))
        cargarSentencia();
}

void TfGENECSQL::pbEliminarFiltroClick(QObject *)
{
    plat::TableDataSet &filtro = Filtro->table();
    if (!filtro.active() || filtro.isEmpty() || !EscrituraAutorizada(this)
        || MensajeConfirmacion(QStringLiteral("¿Está seguro de querer eliminar la sentencia SQL?")) == kNo)
        return;
    filtro.remove();
    llenarDescripciones();
    filtro.first();
    cargarSentencia();
}

void TfGENECSQL::pbCambiarFontClick(QObject *)
{
    plat::FontDialog &dialogo = *ModuloDatos->FontDialog1;
    dialogo.Font = DBGrid1->font();
    if (!dialogo.Execute())
        return;
    FuenteConsulta fuente{dialogo.Font, DBGrid1->fontColor() == plat::clDefault ? 0 : DBGrid1->fontColor()};
    comandos_->ponerFuente(fuente, fGENEINIC->FuenteAspecto);
    Instrucciones.ponerFuente(fuente);
}

void TfGENECSQL::pedirGuardarTrasCambio()
{
    pausa();
    MensajeInformacion(kAvisoCambios);
    if (MensajeConfirmacion(QStringLiteral("Para que los cambios realizados queden registrados debe guardar la "
                                           "Sentencia SQL actual. ¿Desea hacerlo a continuación?"))
        == kSi)
        pbGuardarFiltroClick(pbGuardarFiltro);
}

namespace {

// Each option followed by "*" when it is one of the chosen, for the selection dialog.
QString opcionesMarcadas(const QStringList &opciones, const QStringList &elegidas,
                         const std::function<QString(const QString &)> &clave)
{
    QString lista;
    for (const QString &opcion : opciones)
        lista += opcion + (elegidas.contains(clave(opcion)) ? QStringLiteral("*") : QString()) + QStringLiteral("\r\n");
    return lista;
}

QString seleccionar(const QString &lista, const QString &opciones)
{
    const auto &elegir = fGENEINIC->PuntosEntrada.SeleccionarDeLista;
    return elegir ? elegir(lista, opciones) : QString();
}

QString primeraPalabra(const QString &linea)
{
    return linea.section(u' ', 0, 0);
}

} // namespace

void TfGENECSQL::pbRestringirAUsuariosClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    QStringList usuarios;
    const QString respuesta = ModuloDatos->EjecutarSQL(
        QStringLiteral("SELECT Codigo, Nombre FROM USUARIO   ORDER BY Codigo"), QStringLiteral("DatabaseGeneral"));
    for (const QString &fila : lineasDe(respuesta))
        usuarios << ExtraerCampo(0, fila, QStringLiteral("|")) + QStringLiteral(" - ") + ExtraerCampo(1, fila, QStringLiteral("|"));
    const QString elegidos = seleccionar(
        opcionesMarcadas(usuarios, Instrucciones.usuariosAutorizados(), primeraPalabra),
        QStringLiteral("Titulo=Seleccion de Usuarios\r\n") + kOpcionesSeleccion);
    QStringList codigos;
    for (const QString &linea : lineasDe(elegidos))
        codigos << primeraPalabra(linea);
    Instrucciones.ponerUsuariosAutorizados(codigos);
    pedirGuardarTrasCambio();
}

void TfGENECSQL::pbPersonalizarMenuClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    QStringList aplicaciones;
    for (int codigo = 100; codigo <= 9900; codigo += 100) {
        const QString nombre = fGENEINIC->NombreDeCodigoEnLista(codigo);
        if (!nombre.isEmpty())
            aplicaciones << nombre;
    }
    const QString elegidas = seleccionar(
        opcionesMarcadas(aplicaciones, Instrucciones.aplicacionesContenedoras(), [](const QString &s) { return s; }),
        QStringLiteral("Titulo=Seleccion de Aplicaciones Contenedoras\r\n") + kOpcionesSeleccion
            + QStringLiteral("\r\nOpciones=Ordenada"));
    Instrucciones.ponerAplicacionesContenedoras(lineasDe(elegidas));
    pedirGuardarTrasCambio();
}

void TfGENECSQL::pbCopiarConfiguracionClick(QObject *)
{
    plat::TableDataSet &filtro = Filtro->table();
    if (!filtro.active() || !EscrituraAutorizada(this))
        return;
    const QString actual = EditDescripcionFiltro->text();
    QStringList otras;
    for (const QString &descripcion : EditDescripcionFiltro->items())
        if (descripcion != actual)
            otras << descripcion;
    const QStringList elegidas = lineasDe(
        seleccionar(otras.join(QStringLiteral("\r\n")), QStringLiteral("Titulo=Seleccion de Consultas SQL\r\n") + kOpcionesSeleccion));
    if (elegidas.isEmpty()
        || MensajeConfirmacion(QStringLiteral("¿Está seguro de querer copiar la configuración a las consultas SQL indicadas?"))
            != kSi)
        return;
    // All the rows or none: a row that cannot be written undoes the others.
    plat::Connection &conexion = filtro.connection() ? *filtro.connection() : fGENEINIC->Database();
    try {
        conexion.startTransaction();
        for (const QString &descripcion : elegidas) {
            const int cambiadas = conexion.exec(
                QStringLiteral("UPDATE FILTRO SET Instrucciones = :Instrucciones WHERE NombreTabla = 'SQL' AND Descripcion = :Descripcion"),
                {{QStringLiteral("Instrucciones"), Instrucciones.texto()}, {QStringLiteral("Descripcion"), descripcion}});
            if (cambiadas == 0)
                throw gp::DatabaseError(QStringLiteral("Record/Key Deleted"));
        }
        conexion.commit();
    } catch (const gp::Error &) {
        if (conexion.inTransaction())
            conexion.rollback();
        MensajeAviso(kImposibleGrabar);
        return;
    }
    ModuloDatos->RefrescarDataSet(filtro);
    MensajeInformacion(kAvisoCambios);
}

void TfGENECSQL::pbCopiarAOtrasEmpresasClick(QObject *)
{
    if (fGENECOPI && Filtro->table().active())
        fGENECOPI->CopiarTabla(Filtro->table());
}

// ---- output ----------------------------------------------------------------------------------

void TfGENECSQL::pbImprimirClick(QObject *Sender)
{
    comandos_->listar(EditDescripcionFiltro->text(), Sender == pbImprimirApaisado);
}

void TfGENECSQL::pbExportarClick(QObject *) { comandos_->exportarTexto(); }

void TfGENECSQL::pbImportarClick(QObject *) { comandos_->importarTexto(); }

void TfGENECSQL::pbExportarExcelClick(QObject *) { comandos_->exportarExcel(); }

void TfGENECSQL::pbGraficoClick(QObject *)
{
    plat::QueryDataSet &query = QryConsultasSQL->query();
    if (!query.active() || query.isEmpty()) {
        MensajeInformacion(QStringLiteral("No es posible realizar una representación gráfica de los datos"));
        return;
    }
    const QString valores = MensajePedirDato(QStringLiteral("Introduzca el número de Valores a Representar"), QStringLiteral("10"));
    if (!ValidarEntero(valores, QStringLiteral("Valores a Representar")))
        return;
    const TipoGrafico tipo = MensajeConfirmacion(QStringLiteral("¿Desea que la representación sea en forma de tarta?")) == kSi
        ? TipoGrafico::Tarta
        : TipoGrafico::Barras;
    const TextosGrafico textos = EscribirGrafico(query, EditDescripcionFiltro->text(), valores.trimmed().toInt(), tipo);
    ModuloDatos->MostrarGrafico(textos.definicion, textos.series);
}
