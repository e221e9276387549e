#include "GENEW/reporting/GENEUSQL.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/IconosHerramientas.h"
#include "GENEW/reporting/consultas/CasillasVariables.h"
#include "GENEW/reporting/consultas/ComandosRejilla.h"
#include "GENEW/reporting/consultas/NombreAlmacenado.h"
#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/Errores.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QEvent>
#include <QVBoxLayout>

TfGENEUSQL *fGENEUSQL = nullptr;

namespace {

const QString kTituloProgreso = QStringLiteral("Consulta SQL");
constexpr int kAnchoMinimo = 640;

// Runs a routine each time the watched widget changes size.
class AlRedimensionar : public QObject
{
public:
    AlRedimensionar(QWidget *vigilado, std::function<void()> accion) : QObject(vigilado), accion_(std::move(accion))
    {
        vigilado->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() == QEvent::Resize)
            accion_();
        return false;
    }

private:
    std::function<void()> accion_;
};

QString primeraRespuesta(const QString &sql)
{
    const QString respuesta = ModuloDatos ? ModuloDatos->EjecutarSQL(sql, QStringLiteral("Database")) : QString();
    return EsRespuestaErrorSQL(respuesta) ? QString() : respuesta;
}

} // namespace

TfGENEUSQL::TfGENEUSQL(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEUSQL"), QStringLiteral("Consulta SQL")), instancia_(fGENEUSQL, this)
{
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    construirBotones();
    construirPaneles();
    construirMenu();
    caja->addWidget(PanelBotones);
    caja->addWidget(Separador, 1);
    caja->addWidget(StatusBar1);
    comandos_ = std::make_unique<ComandosRejilla>(*DBGrid1);
    OnCreate = [this](QObject *s) { FormCreate(s); };
    OnShow = [this](QObject *) {
        if (fGENEINIC)
            fGENEINIC->TraducirFormulario(this);
    };
    setKeyPreview(true);
    OnKeyDown = [this](QObject *Sender, int &Key, plat::ShiftState Shift) {
        if (Key == plat::VK_F9 && Shift == plat::ShiftState()) {
            Key = 0;
            if (pbEjecutar->isEnabled())
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

TfGENEUSQL::~TfGENEUSQL() = default;

void TfGENEUSQL::construirBotones()
{
    PanelBotones = make<plat::Panel>(QStringLiteral("PanelBotones"), this);
    PanelBotones->setFixedHeight(36);
    int izquierda = 4;
    const auto boton = [&](const QString &nombre, const QString &ayuda, void (TfGENEUSQL::*manejador)(QObject *)) {
        auto *b = make<plat::SpeedButton>(nombre, PanelBotones);
        b->setBounds(izquierda, 4, 34, 28);
        PonerIconoHerramienta(*b);
        b->setHint(ayuda);
        if (manejador)
            b->OnClick = [this, manejador](QObject *s) { (this->*manejador)(s); };
        izquierda += 36;
        return b;
    };
    pbEjecutar = boton(QStringLiteral("pbEjecutar"), QStringLiteral("Ejecutar la sentencia SQL (F9)"),
                       &TfGENEUSQL::pbEjecutarClick);
    pbModificar = boton(QStringLiteral("pbModificar"), QStringLiteral("Permitir la Modificación de Datos"),
                        &TfGENEUSQL::pbModificarClick);
    pbModificar->setGroupIndex(1);
    pbModificar->setAllowAllUp(true);
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStringLiteral("Imprimir el Resultado"),
                       &TfGENEUSQL::pbImprimirClick);
    pbImprimirApaisado = boton(QStringLiteral("pbImprimirApaisado"),
                               QStringLiteral("Imprimir el Resultado en Apaisado"), &TfGENEUSQL::pbImprimirClick);
    pbExportar = boton(QStringLiteral("pbExportar"), QStringLiteral("Exportar el Resultado a Texto"),
                       &TfGENEUSQL::pbExportarClick);
    pbImportar = boton(QStringLiteral("pbImportar"), QStringLiteral("Importar Texto al Resultado"),
                       &TfGENEUSQL::pbImportarClick);
    pbExportarExcel = boton(QStringLiteral("pbExportarExcel"), QStringLiteral("Exportar el Resultado a Excel"),
                            &TfGENEUSQL::pbExportarExcelClick);
    pbGuardarCambios = boton(QStringLiteral("pbGuardarCambios"), QStringLiteral("Guardar los Cambios"),
                             &TfGENEUSQL::pbGuardarCambiosClick);
    pbCambiarFont = boton(QStringLiteral("pbCambiarFont"), QStringLiteral("Cambiar el Tipo de Letra"),
                          &TfGENEUSQL::pbCambiarFontClick);
    pbSalir = boton(QStringLiteral("pbSalir"), QStringLiteral("Salir"), nullptr);
    pbSalir->OnClick = [this](QObject *) { Close(); };
}

void TfGENEUSQL::construirPaneles()
{
    Separador = make<plat::Splitter>(QStringLiteral("Separador"), Qt::Vertical, this);
    Separador->setChildrenCollapsible(false);

    PanelParametros = make<plat::Panel>(QStringLiteral("PanelParametros"), Separador);
    LBPanelParametros = make<plat::Label>(QStringLiteral("LBPanelParametros"), PanelParametros);
    LBPanelParametros->setCaption(QStringLiteral("Introduzca los valores para la consulta"));
    LBPanelParametros->setAlignment(plat::taCenter);
    PanelParametrosInterno = make<plat::Panel>(QStringLiteral("PanelParametrosInterno"), PanelParametros);
    PanelParametrosInterno->setBevelOuter(plat::bvNone);
    pbAplicar = make<plat::SpeedButton>(QStringLiteral("pbAplicar"), PanelParametrosInterno);
    pbAplicar->setCaption(QStringLiteral("Aplicar"));
    pbAplicar->resize(75, 23);
    pbAplicar->OnClick = [this](QObject *s) { pbEjecutarClick(s); };
    // The inner panel stays centred, 8 pixels below the middle; the caption above it.
    new AlRedimensionar(PanelParametros, [this] {
        LBPanelParametros->setGeometry(0, 4, PanelParametros->QWidget::width(), 15);
        PanelParametrosInterno->move((PanelParametros->QWidget::width() - PanelParametrosInterno->QWidget::width()) / 2,
                                     (PanelParametros->QWidget::height() - PanelParametrosInterno->QWidget::height()) / 2 + 8);
    });
    PanelParametros->setVisible(false);

    PanelRejilla = make<plat::Panel>(QStringLiteral("PanelRejilla"), Separador);
    PanelRejilla->setBevelOuter(plat::bvNone);
    auto *caja = new QVBoxLayout(PanelRejilla);
    caja->setContentsMargins(0, 0, 0, 0);
    QryConsultasSQL = make<plat::QueryComponent>(QStringLiteral("QryConsultasSQL"), this);
    QryConsultasSQL->query().setSqlOrigin(plat::SqlOrigin::Program);
    // The provider keeps the server's order; the client reads every row at once, since
    // the query is closed after each run.
    DataSetProvider1 = std::make_unique<plat::DataSetProvider>(&QryConsultasSQL->query());
    DataSetProvider1->setPassThrough(true);
    ClientDataSet1 = make<plat::ClientDataSetComponent>(QStringLiteral("ClientDataSet1"), this);
    ClientDataSet1->clientDataSet().setProvider(DataSetProvider1.get());
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(ClientDataSet1);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), PanelRejilla);
    DBGrid1->setDataSource(DataSource1);
    DBGrid1->setReadOnly(true);
    caja->addWidget(DBGrid1);

    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), this);
}

void TfGENEUSQL::construirMenu()
{
    PopUpGrid = make<plat::PopupMenu>(QStringLiteral("PopUpGrid"), this);
    const auto opcion = [this](const QString &nombre, const QString &texto, void (TfGENEUSQL::*manejador)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, texto, PopUpGrid);
        PopUpGrid->Items()->Add(item);
        item->OnClick = [this, manejador](QObject *s) { (this->*manejador)(s); };
        return item;
    };
    FiltrarIgual1 = opcion(QStringLiteral("FiltrarIgual1"), QStringLiteral("Filtrar Registros por Valor &Igual a..."),
                           &TfGENEUSQL::FiltrarClick);
    FiltrarDesde1 = opcion(QStringLiteral("FiltrarDesde1"), QStringLiteral("Filtrar Registros por Valor &Desde..."),
                           &TfGENEUSQL::FiltrarClick);
    FiltrarHasta1 = opcion(QStringLiteral("FiltrarHasta1"), QStringLiteral("Filtrar Registros por Valor &Hasta..."),
                           &TfGENEUSQL::FiltrarClick);
    CancelarFiltros1 = opcion(QStringLiteral("CancelarFiltros1"), QStringLiteral("&Cancelar Filtros"),
                              &TfGENEUSQL::CancelarFiltrosClick);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = DBGrid1->mapToGlobal(p);
        PopUpGrid->Popup(global.x(), global.y());
    });
}

void TfGENEUSQL::FormCreate(QObject *)
{
    if (fGENEINIC) {
        fGENEINIC->PrepararFormulario(this);
        fGENEINIC->AjustarTamanoFormulario(this, QString());
    }
    habilitarSalida(false, false);
}

// ---- loading -------------------------------------------------------------------------------

void TfGENEUSQL::CargaConsulta(const QString &descripcion)
{
    setCaption(descripcion);
    Consulta = NombreAlmacenadoDeTitulo(descripcion, QStringLiteral("SQL"));
    const QString condicion =
        QStringLiteral(" FROM FILTRO   WHERE NombreTabla = 'SQL'    AND Descripcion = ") + Entrecomillar(Consulta);
    SentenciaSQL = Consulta.isEmpty() ? QString() : primeraRespuesta(QStringLiteral("SELECT Filtro") + condicion);
    if (SentenciaSQL.isEmpty()) {
        // Nothing to run: the window can only be closed.
        for (plat::SpeedButton *b : PanelBotones->findChildren<plat::SpeedButton *>())
            b->setEnabled(b == pbSalir);
        return;
    }
    Instrucciones = InstruccionesConsulta(primeraRespuesta(QStringLiteral("SELECT Instrucciones") + condicion));
    // The statement's own program decides: its caption is the menu path.
    pbModificar->setEnabled(!SoloLectura(this));
    QStringList variables;
    for (const QString &nombre : DividirLineas(ModuloDatos->ParametrosSQL(SentenciaSQL)))
        if (!nombre.isEmpty())
            variables << nombre;
    HayVariables = !variables.isEmpty();
    if (HayVariables) {
        crearPanelParametros(variables);
        return;
    }
    if (!ejecutar() || !esConsulta())
        Close();
}

bool TfGENEUSQL::esConsulta() const
{
    QString texto = SentenciaSQL;
    texto.replace(u'\r', u' ').replace(u'\n', u' ');
    return texto.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
}

void TfGENEUSQL::crearPanelParametros(const QStringList &variables)
{
    diseno_ = DisenarPanelConsulta(variables);
    PanelParametrosInterno->resize(diseno_.interior);
    crearCasillasVariables(*this, *PanelParametrosInterno, diseno_, false, EtiquetasVariables, ValoresVariables);
    pbAplicar->move(diseno_.boton);
    pbAplicar->raise();
    const int alto = diseno_.interior.height() + 30;
    PanelParametros->setMinimumHeight(alto);
    PanelParametros->setVisible(true);
    if (esConsulta()) {
        LBPanelParametros->setCaption(QStringLiteral("Introduzca los valores para la consulta"));
        Separador->setSizes({alto, qMax(1, Separador->height() - alto)});
    } else {
        LBPanelParametros->setCaption(QStringLiteral("Introduzca los datos para realizar el proceso"));
        pbCambiarFont->setVisible(false);
        pbModificar->setVisible(false);
        const int rejilla = PanelRejilla->height() + Separador->handleWidth();
        PanelRejilla->setVisible(false);
        setHeight(qMax(PanelBotones->height() + alto + StatusBar1->sizeHint().height(), height() - rejilla));
    }
    setFormState(plat::wsNormal);
    plat::FormPlacement colocacion(*this);
    PosicionarControl(colocacion, QStringLiteral("Centro"));
    Show();
    if (!ValoresVariables.isEmpty() && diseno_.visibles > 0)
        ValoresVariables.first()->setFocus();
}

// ---- running -------------------------------------------------------------------------------

bool TfGENEUSQL::asignarValores()
{
    const QVector<CasillaVariable> &casillas = diseno_.casillas;
    for (int i = 0; i < casillas.size(); ++i) {
        if (casillas[i].visible)
            continue;
        const QString base = VariableBase(casillas[i].variable);
        QString valor = casillas[i].valorInicial;
        for (int j = 0; j < casillas.size(); ++j)
            if (casillas[j].visible && casillas[j].variable == base)
                valor = ValoresVariables[j]->text();
        ValoresVariables[i]->setText(valor);
    }
    QString valores;
    for (int i = 0; i < casillas.size(); ++i) {
        const QString texto = ValoresVariables[i]->text();
        if (casillas[i].visible && !ValidarValorVariable(casillas[i].variable, texto, casillas[i].etiqueta))
            return false;
        valores += texto + u'|';
    }
    ModuloDatos->AsignarParametrosSQL(QryConsultasSQL->query(), valores);
    return true;
}

void TfGENEUSQL::pbEjecutarClick(QObject *)
{
    if (!SentenciaSQL.isEmpty())
        ejecutar();
}

bool TfGENEUSQL::ejecutar()
{
    habilitarSalida(false, false);
    plat::QueryDataSet &query = QryConsultasSQL->query();
    ClientDataSet1->clientDataSet().emptyRows();
    query.close();
    query.setDatabaseName(QString());   // the company database the session has now
    query.setSql(SentenciaSQL);
    query.clearParams();
    if (HayVariables && !asignarValores())
        return false;
    query.setRequestLive(pbModificar->downState());

    const bool consulta = esConsulta();
    // A process writes; a query of a "Solo Lectura" user runs where the engine refuses writes.
    if (!consulta && !EscrituraAutorizada(this))
        return false;
    const QString opciones = consulta ? (SoloLectura(this) ? QStringLiteral(",Open,SoloLectura") : QStringLiteral(",Open"))
                                      : QStringLiteral(",ExecSQL");
    const QString trabajo = consulta ? QStringLiteral("Ejecutando la consulta...") : QStringLiteral("Procesando datos...");
    if (HayVariables)
        fGENEINIC->ConfigurarBarraEstado(StatusBar1, kTituloProgreso + u'|' + trabajo);
    else
        fGENEINIC->MostrarProgreso(QStringLiteral("ON"), kTituloProgreso, trabajo);
    bool hecho = false;
    {
        plat::BusyCursor reloj;
        hecho = ModuloDatos->AbrirConsulta(query, opciones);
        if (hecho && consulta)
            mostrarResultado();
        query.close();   // the grid shows the client's copy
    }
    if (HayVariables)
        fGENEINIC->ConfigurarBarraEstado(StatusBar1, QString());
    else
        fGENEINIC->MostrarProgreso(QStringLiteral("OFF"), kTituloProgreso, QString());
    pbImprimir->setEnabled(pbExportar->isEnabled());
    pbImprimirApaisado->setEnabled(pbExportar->isEnabled());
    if (hecho && !consulta)
        MensajeInformacion(QStringLiteral("El proceso ha finalizado correctamente"));
    fGENEINIC->TraducirFormulario(this);
    return hecho;
}

void TfGENEUSQL::mostrarResultado()
{
    plat::ClientDataSet &datos = ClientDataSet1->clientDataSet();
    datos.open();
    datos.first();
    habilitarSalida(true, pbModificar->downState());
    DBGrid1->setReadOnly(!pbModificar->downState());
    comandos_->ponerFuente(Instrucciones.fuente(fGENEINIC->FuenteAspecto), fGENEINIC->FuenteAspecto);
    comandos_->prepararColumnas();
    if (PrimeraEjecucion) {
        ajustarAnchoVentana();
        PrimeraEjecucion = false;
    }
    layout()->activate();
    if (ModuloDatos->AnchoColumnasRejilla(*DBGrid1) < width())
        ModuloDatos->AjustarRejilla(*DBGrid1);
    setFormState(plat::wsNormal);
}

void TfGENEUSQL::ajustarAnchoVentana()
{
    int ancho = width();
    const int columnas = ModuloDatos->AnchoColumnasRejilla(*DBGrid1);
    if (columnas < ancho)
        ancho = columnas + 40;
    ancho = qMax(ancho, kAnchoMinimo);
    if (HayVariables && PanelParametrosInterno->QWidget::width() > ancho)
        ancho = PanelParametrosInterno->QWidget::width() + 40;
    setWidth(ancho);
    plat::FormPlacement colocacion(*this);
    PosicionarControl(colocacion, QStringLiteral("Centro"));
}

void TfGENEUSQL::habilitarSalida(bool exportar, bool modificar)
{
    pbExportar->setEnabled(exportar);
    pbExportarExcel->setEnabled(exportar);
    pbImportar->setEnabled(exportar && modificar);
    pbGuardarCambios->setEnabled(exportar && modificar);
    pbImprimir->setEnabled(exportar);
    pbImprimirApaisado->setEnabled(exportar);
}

// ---- other commands --------------------------------------------------------------------------

void TfGENEUSQL::pbModificarClick(QObject *)
{
    const bool modificar = pbModificar->downState();
    DBGrid1->setReadOnly(!modificar);
    if (!modificar)
        pbImportar->setEnabled(false);
    QryConsultasSQL->query().setRequestLive(modificar);
    if (modificar)
        MensajeInformacion(QStringLiteral("Para hacer efectiva la activación de la Modificación de Datos debe volver a "
                                          "ejecutar la consulta."));
}

void TfGENEUSQL::pbGuardarCambiosClick(QObject *)
{
    plat::ClientDataSet &datos = ClientDataSet1->clientDataSet();
    if (!datos.active())
        return;
    // All the changes or none: a failure leaves them in the grid to be mended.
    try {
        datos.applyUpdates();
    } catch (const gp::Error &e) {
        fGENEINIC->Manejador().GestionExcepciones(this, e);
    }
}

void TfGENEUSQL::pbImprimirClick(QObject *Sender)
{
    comandos_->listar(caption(), Sender == pbImprimirApaisado);
}

void TfGENEUSQL::pbExportarClick(QObject *) { comandos_->exportarTexto(); }

void TfGENEUSQL::pbImportarClick(QObject *) { comandos_->importarTexto(); }

void TfGENEUSQL::pbExportarExcelClick(QObject *) { comandos_->exportarExcel(); }

void TfGENEUSQL::pbCambiarFontClick(QObject *)
{
    plat::FontDialog &dialogo = *ModuloDatos->FontDialog1;
    dialogo.Font = DBGrid1->font();
    if (dialogo.Execute())
        comandos_->ponerFuente(FuenteConsulta{dialogo.Font, DBGrid1->fontColor() == plat::clDefault ? 0 : DBGrid1->fontColor()},
                               fGENEINIC->FuenteAspecto);
}

void TfGENEUSQL::FiltrarClick(QObject *Sender)
{
    const auto comparacion = Sender == FiltrarDesde1 ? ComandosRejilla::Comparacion::Desde
        : Sender == FiltrarHasta1                   ? ComandosRejilla::Comparacion::Hasta
                                                    : ComandosRejilla::Comparacion::Igual;
    comandos_->filtrar(comparacion);
}

void TfGENEUSQL::CancelarFiltrosClick(QObject *)
{
    comandos_->cancelarFiltros();
}
