#include "GENEW/data/ventanas/GENEBUSQ.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/MarcoBusqueda.h"
#include "GENEW/data/servicios/busqueda/PreferenciasBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/Errores.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Dialect.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Dialogs.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

TfGENEBUSQ *fGENEBUSQ = nullptr;

Gancho<MarcoBusqueda> &marcoBusqueda()
{
    static Gancho<MarcoBusqueda> gancho;
    return gancho;
}

namespace {

const QString kIlimitado = QStringLiteral("Ilimitado");
const QString kLimiteInicial = QStringLiteral("100");
constexpr int kPaqueteFilas = 100;

QString nombreModo(ModoBusqueda modo)
{
    switch (modo) {
    case ModoBusqueda::Parcial: return QStringLiteral("Parcial");
    case ModoBusqueda::Fonetica: return QStringLiteral("Fonética");
    case ModoBusqueda::Aproximada: break;
    }
    return QStringLiteral("Aproximada");
}

bool esMemo(const plat::Field &campo)
{
    return campo.dataType() == ftMemo || campo.dataType() == ftFmtMemo;
}

// A display width halved or doubled, halves to the even number.
int anchoEscalado(int ancho, double factor)
{
    return int(std::nearbyint(ancho * factor));
}

} // namespace

TfGENEBUSQ::TfGENEBUSQ(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSQ"));
    setCaption(QStringLiteral("Buscar"));
    setKeyPreview(true);
    setPosition(plat::poScreenCenter);
    resize(640, 420);

    construirPanelBuscar();
    Panel2 = make<plat::Panel>(QStringLiteral("Panel2"), this);
    DBNavigator1 = make<plat::DBNavigator>(QStringLiteral("DBNavigator1"), Panel2);
    DBNavigator1->setVisibleButtons({plat::nbFirst, plat::nbPrior, plat::nbNext, plat::nbLast});
    pbConforme = make<plat::Button>(QStringLiteral("pbConforme"), Panel2);
    pbConforme->setCaption(QStringLiteral("&Conforme"));
    pbConforme->setModalResult(plat::mrYes);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), Panel2);
    pbCancelar->setCaption(QStringLiteral("C&ancelar"));
    pbCancelar->setCancelButton(true);
    pbCancelar->setModalResult(plat::mrCancel);
    auto *botones = new QHBoxLayout(Panel2);
    botones->setContentsMargins(6, 4, 6, 4);
    botones->addWidget(DBNavigator1);
    botones->addStretch();
    botones->addWidget(pbConforme);
    botones->addWidget(pbCancelar);

    Panel3 = make<plat::Panel>(QStringLiteral("Panel3"), this);
    Panel3->setBevelOuter(plat::bvNone);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), Panel3);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setTitleFontColor(plat::clNavy);
    auto *rejilla = new QVBoxLayout(Panel3);
    rejilla->setContentsMargins(0, 0, 0, 0);
    rejilla->addWidget(DBGrid1);

    construirPanelPersonalizar();
    construirDatos();
    construirMenu();

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(PanelBuscar);
    columna->addWidget(PanelPersonalizarBusqueda);
    columna->addWidget(Panel3, 1);
    columna->addWidget(Panel2);
    PanelPersonalizarBusqueda->hide();

    asignarManejadores();
}

TfGENEBUSQ::~TfGENEBUSQ()
{
    if (fGENEBUSQ == this)
        fGENEBUSQ = nullptr;
}

void TfGENEBUSQ::construirPanelBuscar()
{
    PanelBuscar = make<plat::Panel>(QStringLiteral("PanelBuscar"), this);
    Label2 = make<plat::Label>(QStringLiteral("Label2"), PanelBuscar);
    Label2->setCaption(QStringLiteral("Dato a Buscar"));
    Label2->setLayoutCentred(true);
    pbPersonalizarBusqueda = make<plat::SpeedButton>(QStringLiteral("pbPersonalizarBusqueda"), PanelBuscar);
    pbPersonalizarBusqueda->setCaption(QStringLiteral("..."));
    pbPersonalizarBusqueda->setHint(QStringLiteral("Personalizar la búsqueda (F4)"));
    pbPersonalizarBusqueda->setGroupIndex(1);
    pbPersonalizarBusqueda->setAllowAllUp(true);
    DatoABuscar = make<plat::Edit>(QStringLiteral("DatoABuscar"), PanelBuscar);
    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), PanelBuscar);
    StatusBar1->setSimplePanel(true);

    auto *fila = new QHBoxLayout;
    fila->addWidget(Label2);
    fila->addWidget(DatoABuscar, 1);
    fila->addWidget(pbPersonalizarBusqueda);
    auto *panel = new QVBoxLayout(PanelBuscar);
    panel->setContentsMargins(6, 6, 6, 2);
    panel->addLayout(fila);
    panel->addWidget(StatusBar1);
}

void TfGENEBUSQ::construirPanelPersonalizar()
{
    PanelPersonalizarBusqueda = make<plat::Panel>(QStringLiteral("PanelPersonalizarBusqueda"), this);
    auto radio = [this](const QString &nombre, const QString &texto) {
        auto *r = make<plat::RadioButton>(nombre, PanelPersonalizarBusqueda);
        r->setCaption(texto);
        return r;
    };
    BusquedaAproximada = radio(QStringLiteral("BusquedaAproximada"), QStringLiteral("Búsqueda Aproximada"));
    BusquedaParcial = radio(QStringLiteral("BusquedaParcial"), QStringLiteral("Búsqueda Parcial"));
    BusquedaFonetica = radio(QStringLiteral("BusquedaFonetica"), QStringLiteral("Búsqueda Fonética"));
    Label1 = make<plat::Label>(QStringLiteral("Label1"), PanelPersonalizarBusqueda);
    Label1->setCaption(QStringLiteral("Búsqueda por"));
    ListaCamposBusqueda = make<plat::ComboBox>(QStringLiteral("ListaCamposBusqueda"), PanelPersonalizarBusqueda);
    ListaCamposBusqueda->setStyle(plat::ComboBox::csDropDownList);
    Label3 = make<plat::Label>(QStringLiteral("Label3"), PanelPersonalizarBusqueda);
    Label3->setCaption(QStringLiteral("Número Máx.de Registros a Mostrar"));
    NumeroMaximoRegistros = make<plat::ComboBox>(QStringLiteral("NumeroMaximoRegistros"), PanelPersonalizarBusqueda);
    NumeroMaximoRegistros->setStyle(plat::ComboBox::csDropDownList);
    NumeroMaximoRegistros->setItems(
        {QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100"), QStringLiteral("1000"), kIlimitado});
    NumeroMaximoRegistros->setText(kLimiteInicial);
    NumeroMaximoRegistros->setEnabledControl(false);
    NumeroMaximoRegistros->setColor(plat::clBtnFace);
    ResultadosOrdenados = make<plat::CheckBox>(QStringLiteral("ResultadosOrdenados"), PanelPersonalizarBusqueda);
    ResultadosOrdenados->setCaption(QStringLiteral("Mostrar Resultados Ordenados"));
    MostrarCamposMemo = make<plat::CheckBox>(QStringLiteral("MostrarCamposMemo"), PanelPersonalizarBusqueda);
    MostrarCamposMemo->setCaption(QStringLiteral("Mostrar Campos Memo"));
    BusquedaAproximada->setChecked(true);

    auto *modos = new QVBoxLayout;
    modos->addWidget(BusquedaAproximada);
    modos->addWidget(BusquedaParcial);
    modos->addWidget(BusquedaFonetica);
    auto *listas = new QGridLayout;
    listas->addWidget(Label1, 0, 0);
    listas->addWidget(ListaCamposBusqueda, 0, 1);
    listas->addWidget(Label3, 1, 0);
    listas->addWidget(NumeroMaximoRegistros, 1, 1);
    listas->addWidget(ResultadosOrdenados, 2, 0);
    listas->addWidget(MostrarCamposMemo, 2, 1);
    listas->setColumnStretch(1, 1);
    auto *panel = new QHBoxLayout(PanelPersonalizarBusqueda);
    panel->setContentsMargins(8, 4, 8, 4);
    panel->addLayout(modos);
    panel->addSpacing(12);
    panel->addLayout(listas, 1);
}

void TfGENEBUSQ::construirDatos()
{
    Query1 = make<plat::QueryComponent>(QStringLiteral("Query1"), this);
    DataSetProvider1 = std::make_unique<plat::DataSetProvider>(&Query1->query());
    ClientDataSet1 = make<plat::ClientDataSetComponent>(QStringLiteral("ClientDataSet1"), this);
    ClientDataSet1->clientDataSet().setProvider(DataSetProvider1.get());
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(ClientDataSet1);
    DBGrid1->setDataSource(DataSource1);
    DBNavigator1->setDataSource(DataSource1);
}

plat::MenuItem *TfGENEBUSQ::opcionMenu(const QString &nombre, const QString &texto)
{
    auto *opcion = make<plat::MenuItem>(nombre, texto, PopupMenu1);
    PopupMenu1->Items()->Add(opcion);
    return opcion;
}

void TfGENEBUSQ::construirMenu()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    LetraPequena = opcionMenu(QStringLiteral("LetraPequena"), QStringLiteral("&Letra Pequeña"));
    FiltrarRegistrosporValorIguala =
        opcionMenu(QStringLiteral("FiltrarRegistrosporValorIguala"), QStringLiteral("Filtrar Registros por Valor &Igual a..."));
    FiltrarRegistrosporValorDesde =
        opcionMenu(QStringLiteral("FiltrarRegistrosporValorDesde"), QStringLiteral("Filtrar Registros por Valor &Desde..."));
    FiltrarRegistrosporValorHasta =
        opcionMenu(QStringLiteral("FiltrarRegistrosporValorHasta"), QStringLiteral("Filtrar Registros por Valor &Hasta..."));
    FiltrarRegistrosporValoresDesdeHasta1 = opcionMenu(QStringLiteral("FiltrarRegistrosporValoresDesdeHasta1"),
                                                       QStringLiteral("&Filtrar Registros por Valores Desde-Hasta..."));
    CancelarFiltros1 = opcionMenu(QStringLiteral("CancelarFiltros1"), QStringLiteral("Cancelar Filtros"));
    ListadoProgramable1 = opcionMenu(QStringLiteral("ListadoProgramable1"), QStringLiteral("Listado &Programable..."));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = DBGrid1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
}

void TfGENEBUSQ::asignarManejadores()
{
    using plat::handler;
    OnCreate = handler(this, &TfGENEBUSQ::FormCreate);
    OnShow = handler(this, &TfGENEBUSQ::FormShow);
    OnClose = handler(this, &TfGENEBUSQ::FormClose);
    OnKeyDown = handler(this, &TfGENEBUSQ::FormKeyDown);
    pbConforme->OnClick = handler(this, &TfGENEBUSQ::pbConformeClick);
    pbPersonalizarBusqueda->OnClick = handler(this, &TfGENEBUSQ::pbPersonalizarBusquedaClick);
    for (plat::RadioButton *r : {BusquedaAproximada, BusquedaParcial, BusquedaFonetica})
        r->OnClick = handler(this, &TfGENEBUSQ::ModoBusquedaClick);
    ListaCamposBusqueda->OnChange = handler(this, &TfGENEBUSQ::ListaCamposBusquedaChange);
    connect(ListaCamposBusqueda, &QComboBox::activated, this, [this] { ListaCamposBusquedaCloseUp(ListaCamposBusqueda); });
    ListaCamposBusqueda->OnKeyDown = handler(this, &TfGENEBUSQ::ListaCamposBusquedaKeyDown);
    NumeroMaximoRegistros->OnChange = handler(this, &TfGENEBUSQ::NumeroMaximoRegistrosChange);
    connect(NumeroMaximoRegistros, &QComboBox::activated, this,
            [this] { NumeroMaximoRegistrosCloseUp(NumeroMaximoRegistros); });
    NumeroMaximoRegistros->OnKeyDown = handler(this, &TfGENEBUSQ::NumeroMaximoRegistrosKeyDown);
    ResultadosOrdenados->OnClick = handler(this, &TfGENEBUSQ::ResultadosOrdenadosClick);
    MostrarCamposMemo->OnClick = handler(this, &TfGENEBUSQ::MostrarCamposMemoClick);
    DatoABuscar->OnKeyDown = handler(this, &TfGENEBUSQ::DatoABuscarKeyDown);
    DatoABuscar->OnKeyPress = handler(this, &TfGENEBUSQ::DatoABuscarKeyPress);
    DatoABuscar->OnDblClick = handler(this, &TfGENEBUSQ::DatoABuscarDblClick);
    DBGrid1->OnKeyDown = handler(this, &TfGENEBUSQ::DBGrid1KeyDown);
    DBGrid1->OnDblClick = handler(this, &TfGENEBUSQ::DBGrid1DblClick);
    DBGrid1->OnDrawColumnCell = handler(this, &TfGENEBUSQ::DBGrid1DrawColumnCell);
    LetraPequena->OnClick = handler(this, &TfGENEBUSQ::LetraPequenaClick);
    for (plat::MenuItem *m : {FiltrarRegistrosporValorIguala, FiltrarRegistrosporValorDesde, FiltrarRegistrosporValorHasta})
        m->OnClick = handler(this, &TfGENEBUSQ::FiltrarRegistrosporValorClick);
    FiltrarRegistrosporValoresDesdeHasta1->OnClick = handler(this, &TfGENEBUSQ::FiltrarRegistrosporValoresDesdeHasta1Click);
    CancelarFiltros1->OnClick = handler(this, &TfGENEBUSQ::CancelarFiltros1Click);
    ListadoProgramable1->OnClick = handler(this, &TfGENEBUSQ::ListadoProgramable1Click);
}

// ---- state ---------------------------------------------------------------------------------

const plat::Dialect &TfGENEBUSQ::dialecto() const
{
    return plat::Dialect::forEngine(fGENEINIC->Configuracion.basesDatos.Motor);
}

bool TfGENEBUSQ::esSQLServer() const { return dialecto().kind() == plat::EngineKind::SqlServer; }

ModoBusqueda TfGENEBUSQ::modo() const
{
    if (BusquedaParcial->isChecked())
        return ModoBusqueda::Parcial;
    if (BusquedaFonetica->isChecked())
        return ModoBusqueda::Fonetica;
    return ModoBusqueda::Aproximada;
}

void TfGENEBUSQ::seleccionarModo(ModoBusqueda m)
{
    (m == ModoBusqueda::Parcial    ? BusquedaParcial
     : m == ModoBusqueda::Fonetica ? BusquedaFonetica
                                   : BusquedaAproximada)
        ->setChecked(true);
}

void TfGENEBUSQ::refrescarEstado()
{
    const QString texto = QStringLiteral("Búsqueda ") + nombreModo(modo()) + QStringLiteral(" por $Campos");
    const QString campos = ModuloDatos->TraducirLista(ListaCamposBusqueda->text());
    StatusBar1->setSimpleText(ModuloDatos->TraducirTexto(texto, QStringLiteral("Campos=") + campos));
}

void TfGENEBUSQ::cerrarRespuesta()
{
    plat::ClientDataSet &respuesta = ClientDataSet1->clientDataSet();
    respuesta.close();
    respuesta.setFilter(QString());
    Query1->query().close();
}

// ---- life cycle ----------------------------------------------------------------------------

void TfGENEBUSQ::FormCreate(QObject *)
{
    if (marcoBusqueda().valor().PrepararFormulario)
        marcoBusqueda().valor().PrepararFormulario(this);
}

void TfGENEBUSQ::FormShow(QObject *)
{
    filtroValores_.clear();
    if (esSQLServer()) {
        Tabla = ModuloDatos->QuitarPropietarioTabla(Tabla);
        NumeroMaximoRegistros->setEnabledControl(true);
        NumeroMaximoRegistros->setColor(plat::clWindow);
    }
    cerrarRespuesta();
    setCaption(ModuloDatos->Traducir(QStringLiteral("Buscar en la tabla")) + u' ' + Tabla);
    Query1->setDatabaseName(EsTablaGeneral(Tabla) ? fGENEINIC->DatabaseGeneral().databaseName()
                                                  : fGENEINIC->Database().databaseName());
    DatoABuscar->SetFocus();
    DatoABuscar->SelectAll();
    ListaCamposBusqueda->clear();
    NumeroMaximoRegistros->setText(kLimiteInicial);
    pbPersonalizarBusquedaClick(nullptr);
    if (EsTablaGeneral(Tabla) || !Filtro.isEmpty()) {
        pbBuscarClick(nullptr);
        DatoABuscar->SetFocus();
    }
    if (marcoBusqueda().valor().TraducirFormulario)
        marcoBusqueda().valor().TraducirFormulario(this);
}

void TfGENEBUSQ::FormClose(QObject *, plat::CloseAction &)
{
    cerrarRespuesta();
    DatoABuscar->clear();
    Filtro.clear();
}

// ---- customisation -------------------------------------------------------------------------

void TfGENEBUSQ::llenarListaCampos()
{
    QStringList entradas;
    const auto anadir = [&entradas](const QString &campos) {
        if (campos.isEmpty() || entradas.contains(campos, Qt::CaseInsensitive))
            return false;
        entradas << campos;
        return true;
    };
    anadir(ModuloDatos->CamposClaveSQL(Tabla));
    // The indexes "Clave2", "Clave3"... until one answers nothing new (an engine may answer
    // the primary key for an index that does not exist).
    for (int n = 2; anadir(ModuloDatos->CamposClaveSQL(Tabla, QStringLiteral("Clave") + QString::number(n))); ++n) {
    }
    for (const QString &columna : DividirLineas(ModuloDatos->ListaColumnasTabla(Tabla)))
        anadir(columna);
    ListaCamposBusqueda->setItems(entradas);
}

void TfGENEBUSQ::restaurarPreferencias()
{
    const QString datos = ModuloDatos->LeerConfiguracionUsuario(fGENEINIC->UsuarioActual, QStringLiteral("DatosBusqueda"));
    const PreferenciaBusqueda p =
        PreferenciaBusqueda::leer(DatosBusqueda::entrada(datos, ModuloDatos->QuitarPropietarioTabla(Tabla)));
    if (p.modo)
        seleccionarModo(*p.modo);
    ResultadosOrdenados->setChecked(p.ordenada);
    MostrarCamposMemo->setChecked(p.memos);
    const int guardada = p.campos.isEmpty() ? -1 : ListaCamposBusqueda->findText(p.campos, Qt::MatchFixedString);
    ListaCamposBusqueda->setItemIndex(guardada >= 0 ? guardada : 0);
    if (Indice != 0) {
        const QString campos = ModuloDatos->CamposClaveSQL(Tabla, QStringLiteral("Clave") + QString::number(Indice));
        const int delIndice = campos.isEmpty() ? -1 : ListaCamposBusqueda->findText(campos, Qt::MatchFixedString);
        if (delIndice >= 0)
            ListaCamposBusqueda->setItemIndex(delIndice);
    }
}

void TfGENEBUSQ::pbPersonalizarBusquedaClick(QObject *)
{
    PanelPersonalizarBusqueda->setVisible(pbPersonalizarBusqueda->isChecked());
    if (ListaCamposBusqueda->count() == 0) {
        ocupado_ = true;
        llenarListaCampos();
        restaurarPreferencias();
        ocupado_ = false;
    }
    refrescarEstado();
}

void TfGENEBUSQ::grabarPreferencias()
{
    if (fGENEINIC->Configuracion.parametros.DesactivarIndicesPorUsuarioEnBusquedas || EsTablaGeneral(Tabla))
        return;
    PreferenciaBusqueda p;
    p.campos = ListaCamposBusqueda->text();
    p.modo = modo();
    p.ordenada = ResultadosOrdenados->isChecked();
    p.memos = MostrarCamposMemo->isChecked();
    const QString clave = QStringLiteral("DatosBusqueda");
    const QString tabla = ModuloDatos->QuitarPropietarioTabla(Tabla);
    const QString datos = ModuloDatos->LeerConfiguracionUsuario(fGENEINIC->UsuarioActual, clave);
    if (DatosBusqueda::entrada(datos, tabla) == p.texto())
        return;
    ModuloDatos->GrabarConfiguracionUsuario(fGENEINIC->UsuarioActual, clave,
                                            DatosBusqueda::conEntrada(datos, tabla, p.texto()));
}

// ---- search --------------------------------------------------------------------------------

void TfGENEBUSQ::pbBuscarClick(QObject *Sender)
{
    if (ListaCamposBusqueda->count() == 0)
        return;
    if (DatoABuscar->text().isEmpty()) {
        BusquedaAproximada->setChecked(true);
        refrescarEstado();
    }
    DatoABuscar->setText(SentenciaBusqueda::normalizarDato(DatoABuscar->text()));
    if (CamposVisibles.isEmpty())
        CamposVisibles = MostrarCamposMemo->isChecked()
            ? QStringLiteral("*")
            : ModuloDatos->ColumnasTablaSQL(Tabla, QStringLiteral("SinMemos")).replace(u';', u',');

    PeticionBusqueda peticion;
    peticion.tabla = Tabla;
    peticion.campos = ListaCamposBusqueda->text();
    peticion.dato = DatoABuscar->text();
    peticion.filtro = Filtro;
    peticion.columnas = CamposVisibles;
    peticion.modo = modo();
    peticion.ordenada = ResultadosOrdenados->isChecked();
    peticion.limite = NumeroMaximoRegistros->text();
    const SentenciaBusqueda sentencia(dialecto());
    ultimaSentencia_ = sentencia.sentencia(peticion);

    plat::ClientDataSet &respuesta = ClientDataSet1->clientDataSet();
    cerrarRespuesta();
    respuesta.emptyRows();
    const bool limitada = sentencia.admiteLimite() && peticion.limite != kIlimitado;
    respuesta.setPacketRecords(limitada ? -1 : kPaqueteFilas);
    Query1->query().setStepRows(!limitada);
    Query1->query().setSql(ultimaSentencia_);
    bool abierta = ModuloDatos->AbrirConsulta(Query1->query(), QStringLiteral("Open,Silencio"));
    if (abierta) {
        try {
            respuesta.open();
            respuesta.setFiltered(true);
            // With packets the query stays open to hand the next ones over.
            if (limitada)
                Query1->query().close();
            prepararColumnas();
        } catch (const std::exception &) {
            cerrarRespuesta();
            abierta = false;
        }
    }
    if (!abierta || respuesta.isEmpty()) {
        if (Sender)
            MensajeInformacion(QStringLiteral("No hay datos que coincidan con el criterio de búsqueda"));
        DatoABuscar->SetFocus();
    } else {
        DBGrid1->SetFocus();
        const QString campos = ListaCamposBusqueda->text();
        if (!campos.contains(u';')) {
            for (int i = 2; i < DBGrid1->columnCount(); ++i)
                if (DBGrid1->column(i)->FieldName.compare(campos, Qt::CaseInsensitive) == 0)
                    DBGrid1->setSelectedIndex(i);
        }
    }
    if (marcoBusqueda().valor().TraducirFormulario)
        marcoBusqueda().valor().TraducirFormulario(this);
}

void TfGENEBUSQ::prepararColumnas()
{
    plat::DataSet &respuesta = ClientDataSet1->dataSet();
    for (int i = 0; i < respuesta.fieldCount(); ++i) {
        plat::Field &campo = respuesta.field(i);
        if (ModuloDatos->EsCampoNoVisible(campo.fieldName()))
            campo.visible = false;
        campo.displayLabel = AbreviarNombreCampo(campo.fieldName(), 1);
        if (esMemo(campo)) {
            // A memo with content shows its text on one line.
            campo.OnGetText = [](plat::Field &f, QString &texto, bool) {
                texto = f.asString();
                texto.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            };
        } else if (campo.dataType() == ftFloat && ModuloDatos->FormatoNumericoDeCampo.valor()) {
            campo.displayFormat = ModuloDatos->FormatoNumericoDeCampo.valor()(campo.fieldName());
        } else if (campo.dataType() == ftDateTime || campo.dataType() == ftDate || campo.dataType() == ftTime) {
            campo.displayWidth = 10;
            if (campo.fieldName().contains(QLatin1String("Hora"), Qt::CaseInsensitive)) {
                campo.editMask.clear();
                campo.displayFormat = QStringLiteral("HH:MM:SS");
                campo.OnGetText = [](plat::Field &f, QString &t, bool d) { ModuloDatos->MostrarTextoHora(f, t, d); };
            } else {
                campo.OnGetText = [](plat::Field &f, QString &t, bool d) { ModuloDatos->MostrarTextoFecha(f, t, d); };
            }
        }
    }
    DBGrid1->clearColumns();
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        plat::GridColumn *columna = DBGrid1->column(i);
        if (columna->field() && esMemo(*columna->field())) {
            columna->ButtonStyle = plat::cbsEllipsis;
            columna->Width = 200;
        }
    }
    DBGrid1->updateColumns();
}

void TfGENEBUSQ::pbConformeClick(QObject *)
{
    Resultado.clear();
    plat::DataSet &respuesta = ClientDataSet1->dataSet();
    if (respuesta.active() && !respuesta.isEmpty()) {
        const QStringList claves = ModuloDatos->CamposClaveSQL(Tabla).split(u';', Qt::SkipEmptyParts);
        QStringList textos;
        for (qsizetype i = 0; i < claves.size(); ++i) {
            const plat::Field *campo = respuesta.findField(claves[i]);
            if (!campo)
                continue;
            const QString texto = campo->asString();
            textos << (texto.isEmpty() && i == claves.size() - 1 ? QStringLiteral("NULL") : texto);
        }
        Resultado = textos.join(QStringLiteral("\r\n"));
    }
    if (!Resultado.isEmpty()) {
        grabarPreferencias();
        setModalResult(plat::mrYes);
    } else {
        setModalResult(plat::mrCancel);
    }
    cerrarRespuesta();
}

// ---- controls ------------------------------------------------------------------------------

void TfGENEBUSQ::ModoBusquedaClick(QObject *Sender)
{
    if (Sender == BusquedaFonetica)
        ResultadosOrdenados->setChecked(false);
    refrescarEstado();
    DatoABuscar->SetFocus();
}

void TfGENEBUSQ::ListaCamposBusquedaChange(QObject *) { refrescarEstado(); }
void TfGENEBUSQ::ListaCamposBusquedaCloseUp(QObject *) { DatoABuscar->SetFocus(); }

void TfGENEBUSQ::ListaCamposBusquedaKeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key == plat::VK_RETURN)
        DatoABuscar->SetFocus();
}

void TfGENEBUSQ::NumeroMaximoRegistrosChange(QObject *) { refrescarEstado(); }
void TfGENEBUSQ::NumeroMaximoRegistrosCloseUp(QObject *) { DatoABuscar->SetFocus(); }

void TfGENEBUSQ::NumeroMaximoRegistrosKeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key == plat::VK_RETURN)
        DatoABuscar->SetFocus();
}

void TfGENEBUSQ::ResultadosOrdenadosClick(QObject *)
{
    if (ocupado_)
        return;
    refrescarEstado();
    DatoABuscar->SetFocus();
}

void TfGENEBUSQ::MostrarCamposMemoClick(QObject *)
{
    if (ocupado_)
        return;
    refrescarEstado();
    MensajeInformacion(
        QStringLiteral("Para hacer efectiva esta opción debe escoger algún registro y volver a realizar la búsqueda"));
}

void TfGENEBUSQ::FormKeyDown(QObject *, int &Key, plat::ShiftState Shift)
{
    const int entradas = ListaCamposBusqueda->count();
    if (Key == plat::VK_ESCAPE) {
        Key = 0;
        Close();
    } else if (Shift == plat::ssCtrl && Key >= '1' && Key <= '9') {
        if (Key - '1' < entradas)
            ListaCamposBusqueda->setItemIndex(Key - '1');
        Key = 0;
    } else if (Key == plat::VK_F2 && Shift == plat::ShiftState()) {
        if (entradas > 1)
            ListaCamposBusqueda->setItemIndex(1);
        BusquedaFonetica->setChecked(true);
        ModoBusquedaClick(BusquedaFonetica);
        Key = 0;
    } else if (Key == plat::VK_F3 && Shift == plat::ShiftState()) {
        const ModoBusqueda siguiente = modo() == ModoBusqueda::Aproximada ? ModoBusqueda::Fonetica
            : modo() == ModoBusqueda::Fonetica                            ? ModoBusqueda::Parcial
                                                                          : ModoBusqueda::Aproximada;
        seleccionarModo(siguiente);
        ModoBusquedaClick(siguiente == ModoBusqueda::Fonetica ? BusquedaFonetica : nullptr);
        Key = 0;
    } else if (Key == plat::VK_F4 && Shift == plat::ShiftState()) {
        pbPersonalizarBusqueda->setDownState(!pbPersonalizarBusqueda->isChecked());
        pbPersonalizarBusquedaClick(pbPersonalizarBusqueda);
        Key = 0;
    } else if (Key == 'L' && Shift == plat::ssCtrl) {
        plat::FontDialog &dialogo = *ModuloDatos->FontDialog1;
        dialogo.Font = DBGrid1->font();
        if (dialogo.Execute()) {
            DBGrid1->setFont(dialogo.Font);
            DBGrid1->setTitleFont(dialogo.Font);
            DBGrid1->setTitleFontColor(plat::clNavy);
        }
        Key = 0;
    }
}

void TfGENEBUSQ::DatoABuscarKeyDown(QObject *, int &Key, plat::ShiftState)
{
    ultimaTecla_ = Key;
    if (Key == plat::VK_RETURN) {
        Key = 0;
        pbBuscarClick(DatoABuscar);
    }
}

void TfGENEBUSQ::DatoABuscarKeyPress(QObject *, QChar &Key)
{
    if (Key == u'.' && ultimaTecla_ == plat::VK_DECIMAL
        && ModuloDatos->LeerConfiguracionUsuario(fGENEINIC->UsuarioActual, QStringLiteral("DesactivarPuntoPorComaDecimal"))
            != QLatin1String("SI"))
        Key = u',';
}

void TfGENEBUSQ::DatoABuscarDblClick(QObject *) { pbBuscarClick(DatoABuscar); }

void TfGENEBUSQ::DBGrid1KeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key == plat::VK_TAB) {
        Key = 0;
        pbConforme->SetFocus();
    } else if (Key == plat::VK_RETURN) {
        Key = 0;
        if (ClientDataSet1->active() && !ClientDataSet1->dataSet().isEmpty())
            pbConformeClick(DBGrid1);
    }
}

void TfGENEBUSQ::DBGrid1DblClick(QObject *) { pbConformeClick(DBGrid1); }

void TfGENEBUSQ::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    plat::Field *campo = Column ? Column->field() : nullptr;
    if (!campo || !esMemo(*campo)) {
        DBGrid1->DefaultDrawColumnCell(Rect, DataCol, Column, State);
        return;
    }
    plat::Canvas &lienzo = *DBGrid1->canvas();
    const bool seleccionada = State.testFlag(plat::gdsSelected);
    lienzo.brush().Color = seleccionada ? plat::clHighlight : plat::clWindow;
    lienzo.font().Color = seleccionada ? plat::clHighlightText : plat::clWindowText;
    lienzo.FillRect(Rect);
    lienzo.TextOut(Rect.left() + 2, Rect.top() + 2, DBGrid1->drawnText(campo->fieldName()));
}

// ---- grid menu -----------------------------------------------------------------------------

void TfGENEBUSQ::LetraPequenaClick(QObject *)
{
    LetraPequena->setChecked(!LetraPequena->checked());
    const bool pequena = LetraPequena->checked();
    QFont letra = DBGrid1->font();
    letra.setFamily(fGENEINIC->FuenteAspecto.family());
    const int tamano = fGENEINIC->FuenteAspecto.pointSize() > 0 ? fGENEINIC->FuenteAspecto.pointSize() : letra.pointSize();
    letra.setPointSize(pequena ? tamano - 2 : tamano);
    DBGrid1->setFont(letra);
    plat::DataSet &respuesta = ClientDataSet1->dataSet();
    for (int i = 0; respuesta.active() && i < respuesta.fieldCount(); ++i) {
        plat::Field &campo = respuesta.field(i);
        campo.displayWidth = anchoEscalado(campo.effectiveDisplayWidth(), pequena ? 0.5 : 2.0);
    }
    QFont titulos = DBGrid1->titleFont();
    titulos.setFamily(letra.family());
    titulos.setPointSize(letra.pointSize());
    DBGrid1->setTitleFont(titulos);
    DBGrid1->updateColumns();
}

void TfGENEBUSQ::filtrarPorValor(const QString &operador, const QString &pregunta)
{
    plat::DataSet &respuesta = ClientDataSet1->dataSet();
    plat::Field *campo = DBGrid1->selectedField();
    if (!respuesta.active() || !campo || campo->isCalculated() || respuesta.state() == plat::DataSetState::Edit
        || respuesta.state() == plat::DataSetState::Insert)
        return;
    const QString valor = MensajePedirDato(pregunta + AbreviarNombreCampo(campo->fieldName(), 1), campo->text());
    if (valor.isEmpty())
        return;
    const QString anterior = filtroValores_;
    try {
        respuesta.setFiltered(false);
        filtroValores_ += (filtroValores_.isEmpty() ? QString() : QStringLiteral(" AND ")) + u'(' + campo->fieldName()
            + u' ' + operador + u' ' + Entrecomillar(valor) + u')';
        respuesta.setFilter(filtroValores_);
        respuesta.setFiltered(true);
    } catch (const std::exception &) {
        // The answer stays filtered as it was.
        filtroValores_ = anterior;
        respuesta.setFilter(anterior);
        respuesta.setFiltered(true);
        MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
    }
}

void TfGENEBUSQ::FiltrarRegistrosporValorClick(QObject *Sender)
{
    if (Sender == FiltrarRegistrosporValorDesde)
        filtrarPorValor(QStringLiteral(">="), QStringLiteral("Introduzca el valor Desde "));
    else if (Sender == FiltrarRegistrosporValorHasta)
        filtrarPorValor(QStringLiteral("<="), QStringLiteral("Introduzca el valor Hasta "));
    else
        filtrarPorValor(QStringLiteral("="), QStringLiteral("Introduzca el valor del campo "));
}

void TfGENEBUSQ::FiltrarRegistrosporValoresDesdeHasta1Click(QObject *)
{
    FiltrarRegistrosporValorClick(FiltrarRegistrosporValorDesde);
    FiltrarRegistrosporValorClick(FiltrarRegistrosporValorHasta);
}

void TfGENEBUSQ::CancelarFiltros1Click(QObject *)
{
    filtroValores_.clear();
    ClientDataSet1->dataSet().setFilter(QString());
}

void TfGENEBUSQ::ListadoProgramable1Click(QObject *)
{
    if (marcoBusqueda().valor().ListarDataSetTemporal)
        marcoBusqueda().valor().ListarDataSetTemporal(ClientDataSet1->dataSet(), QStringLiteral("L.Tabla"),
                                              QStringLiteral("Listado de la tabla ") + Tabla);
}
