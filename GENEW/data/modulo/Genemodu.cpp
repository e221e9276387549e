#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/VentanasModulo.h"

#include "GENEW/data/servicios/ClaveTexto.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/data/servicios/DireccionAdaptador.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/data/servicios/NombresTablasTemporales.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/data/servicios/SentenciasModulo.h"
#include "GENEW/runtime/AperturaTablasFormulario.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Event.h"

#include <utility>

TModuloDatos *ModuloDatos = nullptr;
bool ModuloDatosCreado = false;
bool TModuloDatos::DiferirTablasAuxiliares = false;

namespace {

const QString kDatabaseGeneral = QStringLiteral("DatabaseGeneral");
const QString kNoEsPosibleConsulta = QStringLiteral("¡No es posible ejecutar la sentencia SQL. Motivo: ");
const QString kVariasSentencias = QStringLiteral("el texto tiene más de una sentencia");

// The one record of PARAGENE as the parameters read it; nothing on an empty or closed table.
class RegistroTablaParametros : public RegistroParametrosGenerales
{
public:
    explicit RegistroTablaParametros(plat::DataSet &tabla) : tabla_(tabla) {}
    QVariant valor(const QString &campo) const override
    {
        if (!tabla_.active() || tabla_.isEmpty())
            return {};
        const plat::Field *f = tabla_.findField(campo);
        return f ? f->value() : QVariant();
    }

private:
    plat::DataSet &tabla_;
};

// MONEDA as the currency conversions walk it.
class TablaMonedasModulo : public TablaMonedas
{
public:
    explicit TablaMonedasModulo(TModuloDatos &modulo) : modulo_(modulo) {}
    bool abrir() override { return modulo_.AbrirTabla(modulo_.Moneda->table()); }
    std::optional<RegistroMoneda> localizar(int codigo) override
    {
        plat::TableDataSet &m = modulo_.Moneda->table();
        try {
            if (!m.active() || !m.locate(QStringLiteral("Codigo"), codigo))
                return std::nullopt;
        } catch (const gp::Error &) {
            return std::nullopt;
        }
        return registro();
    }
    std::optional<RegistroMoneda> actual() override
    {
        if (!modulo_.Moneda->table().active() || modulo_.Moneda->table().isEmpty())
            return std::nullopt;
        return registro();
    }

private:
    RegistroMoneda registro() const
    {
        const plat::TableDataSet &m = modulo_.Moneda->table();
        RegistroMoneda r;
        r.codigo = m.fieldByName(QStringLiteral("Codigo")).value().toInt();
        r.descripcion = m.fieldByName(QStringLiteral("Descripcion")).asString();
        r.abreviatura = m.fieldByName(QStringLiteral("Abreviatura")).asString();
        r.decimales = m.fieldByName(QStringLiteral("Decimales")).value().toInt();
        r.cambio = m.fieldByName(QStringLiteral("Cambio")).value().toDouble();
        return r;
    }

    TModuloDatos &modulo_;
};

bool esCampoMemo(TFieldType tipo) { return tipo == ftMemo || tipo == ftFmtMemo; }

CampoSentencia campoSentencia(const plat::Field &campo)
{
    return CampoSentencia{campo.fieldName(), campo.dataType(), campo.value(), campo.size(), campo.required};
}

// A key value read back from its text in a key (dates as the program writes them).
QVariant valorDeTexto(const plat::Field &campo, const QString &texto)
{
    switch (campo.dataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return texto.toLongLong();
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return QString(texto).replace(u',', u'.').toDouble();
    case ftDate:
    case ftDateTime:
        return TextoAFechaHora(texto);
    default:
        return texto;
    }
}

// The table names a statement reads or writes: the word after each FROM, JOIN, UPDATE
// and INTO, up to the first character that cannot be part of a name.
QStringList TablasDeSentencia(const QString &sql)
{
    const QString marca = CaracterNoUsado(sql);
    QString texto = sql;
    texto.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (const char *palabra : {"DELETE FROM ", "FROM ", "JOIN ", "UPDATE ", " INTO "})
        texto.replace(QLatin1String(palabra), marca);
    const QStringList piezas = texto.split(marca);
    QStringList tablas;
    // The text before the first mark is the statement's head, never a table.
    for (qsizetype i = 1; i < piezas.size(); ++i) {
        const QString &pieza = piezas.at(i);
        qsizetype fin = 0;
        while (fin < pieza.size() && !QStringLiteral(" ,();\t\n\r").contains(pieza.at(fin)))
            ++fin;
        if (fin == 0)
            break;
        tablas << pieza.left(fin);
    }
    return tablas;
}

} // namespace

TModuloDatos::TModuloDatos(QObject *parent)
    : plat::DataModule(parent),
      cacheCamposClave_(std::make_unique<CacheRespuestasSQL>()),
      nombres_(std::make_unique<NombresMotor>(ConfiguracionNombres{}))
{
    setObjectName(QStringLiteral("ModuloDatos"));
    crearComponentes();
    tablaMonedas_ = std::make_unique<TablaMonedasModulo>(*this);
    moneda_ = std::make_unique<ServicioMoneda>(*tablaMonedas_);
    OnCreate = plat::handler(this, &TModuloDatos::ModuloDatosCreate);
    OnDestroy = plat::handler(this, &TModuloDatos::ModuloDatosDestroy);
    if (!ModuloDatos)
        ModuloDatos = this;
}

TModuloDatos::~TModuloDatos()
{
    // Freed without its destroy event (by its Qt owner): the services it installed must not
    // outlive it.
    retirarServicios();
    if (ModuloDatos == this) {
        ModuloDatos = nullptr;
        ModuloDatosCreado = false;
    }
}

void TModuloDatos::retirarServicios()
{
    // The start-up form, created first and freed last, still holds the hooks.
    if (puntosEntradaPrevios_ && fGENEINIC)
        fGENEINIC->PuntosEntrada = *std::exchange(puntosEntradaPrevios_, std::nullopt);
    prepararRejilla_.reset();
    marcoBusqueda_.reset();
    serviciosFormulario_.reset();
    vistaMoneda_.reset();
    formatoNumerico_.reset();
    traduccionMensajes_.reset();
    trazaError_.reset();
    nombresTablas_.reset();
    razonSocial_.reset();
}

void TModuloDatos::crearComponentes()
{
    ParamGenerales = make<plat::TableComponent>(QStringLiteral("ParamGenerales"), this);
    Usuario = make<plat::TableComponent>(QStringLiteral("Usuario"), this);
    Responsabilidad = make<plat::TableComponent>(QStringLiteral("Responsabilidad"), this);
    GATablas = make<plat::TableComponent>(QStringLiteral("GATablas"), this);
    GAnalisis = make<plat::TableComponent>(QStringLiteral("GAnalisis"), this);
    RegistroAccesos = make<plat::TableComponent>(QStringLiteral("RegistroAccesos"), this);
    Moneda = make<plat::TableComponent>(QStringLiteral("Moneda"), this);
    DSMoneda = make<plat::DataSource>(QStringLiteral("DSMoneda"), this);
    Empresa = make<plat::TableComponent>(QStringLiteral("Empresa"), this);
    DSEmpresa = make<plat::DataSource>(QStringLiteral("DSEmpresa"), this);
    DSEmpresa->setDataSet(&Empresa->table());
    Table1 = make<plat::TableComponent>(QStringLiteral("Table1"), this);
    Query1 = make<plat::QueryComponent>(QStringLiteral("Query1"), this);
    QR_Export_Table = make<plat::TableComponent>(QStringLiteral("QR_Export_Table"), this);
    PrintDialog1 = make<plat::PrintDialog>(QStringLiteral("PrintDialog1"), this);
    PrinterSetupDialog1 = make<plat::PrinterSetupDialog>(QStringLiteral("PrinterSetupDialog1"), this);
    OpenDialog1 = make<plat::OpenDialog>(QStringLiteral("OpenDialog1"), this);
    SaveDialog1 = make<plat::SaveDialog>(QStringLiteral("SaveDialog1"), this);
    FontDialog1 = make<plat::FontDialog>(QStringLiteral("FontDialog1"), this);
    ColorDialog1 = make<plat::ColorDialog>(QStringLiteral("ColorDialog1"), this);
    ParamGenerales->table().AfterPost = [this](plat::DataSet &ds) { ParamGeneralesAfterPost(ds); };
}

ConexionesPrograma &TModuloDatos::conexiones() const { return fGENEINIC->Conexiones(); }

// ---- creation ---------------------------------------------------------------------------

void TModuloDatos::ModuloDatosCreate(QObject *)
{
    cacheCamposClave_->vaciar();
    FormatoNumericoEstandar = FormatoNumericoInicial;
    instalarServicios();

    // The transient table makes the form framework open (and create) USUARIO.
    auto *usuarioTransitorio = make<plat::TableComponent>(QString(), this);
    usuarioTransitorio->table().setTableName(QStringLiteral("USUARIO"));
    fGENEINIC->AbrirTablasFormulario(*this);
    usuarioTransitorio->table().close();
    removeComponent(usuarioTransitorio);
    delete usuarioTransitorio;

    abrirUsuario();
    if (!EsEsteEjecutable(QStringLiteral("KORVEL.EXE")) && !EsEsteEjecutable(QStringLiteral("PELKARO.EXE"))
        && conexiones().EmpresaActual != 0)
        leerParametrosGenerales();
    definirAdministrador();
    RejillasModificadas.clear();
    ModuloDatosCreado = true;
    if (ModuloDatos == this) {
        serviciosFormulario_.emplace(ganchoServiciosFormulario(), this);
        conectarFramework();
    }
}

void TModuloDatos::instalarServicios()
{
    const ConfiguracionArranque &c = fGENEINIC->Configuracion;
    ConfiguracionNombres configuracion;
    configuracion.motor = c.basesDatos.Motor;
    configuracion.archivosTemporalesEnBD = c.temporalesEnBaseDatos;
    configuracion.baseDatosTemporal =
        c.basesDatos.PathArchivosTemporales.isEmpty() ? kDatabaseGeneral : c.basesDatos.PathArchivosTemporales;
    nombres_ = std::make_unique<NombresMotor>(configuracion);

    NombresCreacionTablas n;
    // A name once registered stays the long name's: each is asked of NOMBTTEM once per run.
    n.nombreTablaTemporal = [this, nombrados = std::make_shared<QHash<QString, QString>>()](const QString &propietario,
                                                                                            int numero) {
        SesionTablasTemporales sesion{ObtenerDireccionMAC(QStringLiteral("SinSeparadores")),
                                      qMax(0, fGENEINIC->NumeroSesionRed()), fGENEINIC->UsuarioActual};
        const QString dueno = propietario.isEmpty() ? QStringLiteral("Unknown") : propietario;
        const QString largo =
            NombreLargoTablaTemporal(sesion.direccionMAC, dueno, numero, sesion.numeroSesionRed, sesion.codigoUsuario);
        if (const auto nombrado = nombrados->constFind(largo); nombrado != nombrados->cend())
            return *nombrado;
        AlmacenNombresTemporalesSQL almacen([this](const QString &sql, const QString &opciones) {
            return EjecutarSentenciaSQL(sql, kDatabaseGeneral, opciones);
        });
        return *nombrados->insert(largo, ::NombreTablaTemporal(dueno, numero, sesion, almacen));
    };
    n.nombreTablaSQL = [this](const QString &tabla) { return NombreTablaSQL(tabla); };
    // The form framework's rules, which the main window may override with its currency switch.
    formatoNumerico_.reset();
    formatoNumerico_.emplace(FormatoNumericoDeCampo,
                             [](const QString &campo) { return fGENEINIC->ObtenerFormatoNumerico(campo); });
    vistaMoneda_.reset();
    vistaMoneda_.emplace(VistaMonedaActual, [] {
        const TfGENEINIC::EstadoBotonEuro boton = fGENEINIC->BotonEuroActivo();
        return EstadoVistaMoneda{boton.hay, boton.pulsado, false};
    });
    n.quitarPropietarioTabla = [this](const QString &tabla) { return QuitarPropietarioTabla(tabla); };
    n.nombreIndice = [this](const QString &tabla, const QString &indice) {
        return nombres_->NombreIndice(tabla, indice);
    };
    nombresTablas_.reset();
    nombresTablas_.emplace(fGENEINIC->NombresTablas, std::move(n));
    PuntosEntradaFormulario &puntos = fGENEINIC->PuntosEntrada;
    puntos.SeleccionarDeLista = [](const QString &lista, const QString &opciones) {
        return ventanasModulo().SeleccionarDeLista(opciones, lista);
    };
    puntos.MostrarCamposRegistro = [](plat::DataSet &dataSet) { ventanasModulo().MostrarCamposRegistro(dataSet); };
    puntos.MostrarCamposUsuario = [](plat::DataSet &dataSet) { ventanasModulo().MostrarCamposUsuario(dataSet); };
    razonSocial_.reset();
    razonSocial_.emplace(fGENEINIC->RazonSocial, [this] {
        return RegistroTablaParametros(ParamGenerales->table()).valor(QStringLiteral("RazonSocial")).toString();
    });
    if (ModuloDatos == this) {
        trazaError_.emplace(fGENEINIC->Manejador().trazaError, [this](const QString &mensaje, QObject *remitente) {
            RegistrarTrazaError(mensaje, remitente);
        });
        traduccionMensajes_.emplace(ganchoTraduccionMensajes(), [this](const QString &texto) { return Traducir(texto); });
    }
}

void TModuloDatos::abrirUsuario()
{
    // A connection of its own to the general database, as the old ADO table had: on the
    // embedded engine it shares the file's connection, on a server it is a second session.
    const plat::Connection &general = fGENEINIC->DatabaseGeneral();
    Usuario->table().close();
    conexionUsuario_ = std::make_unique<plat::Connection>(general.session(), QStringLiteral("ADOUsuario"));
    conexionUsuario_->setAliasName(general.aliasName());
    conexionUsuario_->setDatabaseName(general.databaseName());
    conexionUsuario_->setDriverName(general.driverName());
    conexionUsuario_->setParams(general.params());
    Usuario->table().setTableName(QStringLiteral("USUARIO"));
    Usuario->table().setDatabaseName(general.databaseName());
    Usuario->table().setConnection(conexionUsuario_.get());
    try {
        Usuario->table().open();
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &error) {
        MensajeAviso(QStringLiteral("TRADUCIR: ") + error.mensaje() + QStringLiteral(" Tabla: USUARIO"));
    }
}

void TModuloDatos::leerParametrosGenerales()
{
    ParamGenerales->table().setTableName(NombreTablaSQL(QStringLiteral("PARAGENE")));
    CodigosMoneda codigos;
    if (AbrirTabla(ParamGenerales->table())) {
        const RegistroTablaParametros registro(ParamGenerales->table());
        PlantillasNumericas::deRegistro(registro).aplicar();
        const TiposImpuesto tipos = TiposImpuesto::deRegistro(registro);
        TiposIVA = tipos.iva;
        TiposRecargo = tipos.recargo;
        codigos = CodigosMoneda::deRegistro(registro);
    }
    const std::pair<plat::TableComponent *, const char *> tablas[] = {{Responsabilidad, "RESPDOC"},
                                                             {GATablas, "GRANTAB"},
                                                             {GAnalisis, "GRANALIS"},
                                                             {RegistroAccesos, "REGACCES"}};
    for (const auto &[tabla, nombre] : tablas)
        tabla->setTableName(NombreTablaSQL(QString::fromLatin1(nombre)));
    tablasAuxiliaresPendientes_ = true;
    if (!DiferirTablasAuxiliares)
        AbrirTablasAuxiliares();
    Moneda->setTableName(NombreTablaSQL(QStringLiteral("MONEDA")));
    AbrirTabla(Moneda->table());
    DSMoneda->setDataSet(&Moneda->table());
    moneda_->cargar(codigos);
}

void TModuloDatos::definirAdministrador()
{
    try {
        if (Usuario->table().active() && !Usuario->table().isEmpty())
            return;
        Usuario->table().append();
        for (const auto &[campo, valor] : RegistroUsuarioAdministrador()) {
            if (plat::Field *f = Usuario->table().findField(campo))
                f->setValue(valor);
        }
        Usuario->table().post();
    } catch (const gp::Error &) {
        if (Usuario->table().active() && Usuario->table().state() != plat::DataSetState::Browse)
            Usuario->table().cancel();
        // Two first starts at once: the other program's administrator is as good as ours.
        if (!usuariosDefinidosPorOtro())
            MensajeAviso(QStringLiteral("¡Imposible definir el usuario administrador!"));
    }
}

bool TModuloDatos::usuariosDefinidosPorOtro()
{
    try {
        plat::TableDataSet &usuarios = Usuario->table();
        if (!usuarios.active())
            return false;
        usuarios.refresh();
        return !usuarios.isEmpty();
    } catch (const gp::Error &) {
        return false;
    }
}

void TModuloDatos::ModuloDatosDestroy(QObject *)
{
    RejillasModificadas.clear();
    cacheCamposClave_->vaciar();
    ModuloDatosCreado = false;
    retirarServicios();
}

void TModuloDatos::ParamGeneralesAfterPost(plat::DataSet &DataSet)
{
    moneda_->cargar(CodigosMoneda::deRegistro(RegistroTablaParametros(DataSet)));
}

// ---- general parameters and currency -----------------------------------------------------

QString TModuloDatos::NombreEmpresaInforme() const { return ::NombreEmpresaInforme(); }

void TModuloDatos::MostrarImporteMoneda(plat::Field &Sender, QString &Text, bool)
{
    QString plantilla = FormatoNumericoEstandar;
    if (Sender.dataType() == ftFloat) {
        if (Sender.displayFormat == FormatoNumericoInicial)
            plantilla = FormatoNumericoDeCampo.valor() ? FormatoNumericoDeCampo.valor()(Sender.fieldName()) : FormatoNumericoEstandar;
        else if (!Sender.displayFormat.isEmpty())
            plantilla = Sender.displayFormat;
    }
    const EstadoVistaMoneda estado = VistaMonedaActual.valor() ? VistaMonedaActual.valor()() : EstadoVistaMoneda{};
    using Vista = ServicioMoneda::VistaMoneda;
    Vista vista = Vista::Propia;
    std::optional<double> cambio;
    if (estado.hayBotonEuro) {
        vista = estado.botonEuroPulsado ? Vista::BotonEuro : Vista::Propia;
    } else if (estado.menuOtraMoneda) {
        vista = Vista::MenuEuro;
        const plat::DataSet &ds = Sender.dataSet();
        if (const plat::Field *f = ds.findField(QStringLiteral("Cambio")))
            cambio = f->asFloat();
        else if (ds.masterSource())
            if (const plat::Field *m = ds.masterSource()->findField(QStringLiteral("Cambio")))
                cambio = m->asFloat();
    }
    Text = moneda_->MostrarImporteMoneda(Sender.asFloat(), plantilla, vista, cambio);
}

// ---- SQL service --------------------------------------------------------------------------

ResultadoSentenciaSQL TModuloDatos::EjecutarSentenciaSQL(const QString &sql, const QString &database,
                                                        const QString &opciones)
{
    plat::Connection &conexion = conexiones().ConexionDeSelector(database);
    // A missing table is made and the statement tried once more before anyone hears of
    // the failure.
    ResultadoSentenciaSQL resultado = ::EjecutarSentenciaSQL(conexion, sql, opciones);
    if (resultado.fallo.tipo == gp::DatabaseErrorKind::MissingTable && !opciones.contains(OpcionSQL::NoCrearTabla)
        && PrimeraPalabraSQL(sql) != QLatin1String("EXEC")
        && CrearTablasSentencia(resultado.sentencia, conexion.databaseName()))
        resultado = ::EjecutarSentenciaSQL(conexion, sql, opciones);
    if (resultado.fallo)
        TrazaDepuracion(resultado.respuesta + QStringLiteral(" ") + sql);
    return resultado;
}

QString TModuloDatos::EjecutarSQL(const QString &sql, const QString &database, const QString &opciones)
{
    const ResultadoSentenciaSQL resultado = EjecutarSentenciaSQL(sql, database, opciones);
    if (resultado.fallo && !opciones.contains(OpcionSQL::Silenciosa))
        InformarSentenciaErronea(resultado.respuesta, resultado.sentencia, resultado.fallo);
    return resultado.respuesta;
}

QString TModuloDatos::EjecutarSQLADO(const QString &sql, const QString &database, const QString &opciones)
{
    return fGENEINIC->EjecutarSQLADO(sql, database, opciones);
}

QString TModuloDatos::EjecutarSQLCache(const QString &sql, CacheRespuestasSQL &cache, const QString &database,
                                       const QString &opciones)
{
    return cache.respuesta(sql, [&](const QString &sentencia) { return EjecutarSQL(sentencia, database, opciones); });
}

bool TModuloDatos::AbrirConsulta(plat::QueryDataSet &query, const QString &opciones, gp::Fallo *fallo)
{
    return abrirConsultaEn(query, opciones, conexionDeConsulta(query, fGENEINIC->Database()), fallo);
}

bool TModuloDatos::AbrirConsultaADO(plat::QueryDataSet &query, const QString &opciones)
{
    return abrirConsultaEn(query, opciones, conexionDeConsulta(query, fGENEINIC->ADOConnection()));
}

plat::Connection &TModuloDatos::conexionDeConsulta(plat::QueryDataSet &query, plat::Connection &porDefecto)
{
    query.close();
    QString nombre = query.databaseName();
    if (nombre.startsWith(u'?'))
        nombre = nombre.mid(1);
    plat::Connection &conexion = nombre.isEmpty() ? porDefecto : conexiones().ConexionDeBaseDatos(nombre);
    query.setDatabaseName(nombre.isEmpty() ? conexion.databaseName() : nombre);
    query.setConnection(&conexion);
    return conexion;
}

bool TModuloDatos::abrirConsultaEn(plat::QueryDataSet &query, QString opciones, plat::Connection &conexion,
                                   gp::Fallo *motivoFallo)
{
    if (!opciones.contains(QLatin1String("Open")) && !opciones.contains(QLatin1String("ExecSQL"))) {
        const QString primera = query.sql().trimmed().section(u' ', 0, 0).toUpper();
        opciones += primera == QLatin1String("SELECT") || primera == QLatin1String("(SELECT") ? QStringLiteral(",Open")
                                                                                            : QStringLiteral(",ExecSQL");
    }
    // "UnaSentencia": a text its engine would read as more than one statement runs nothing (a
    // text that cannot be read so neither), and the answer is false without a message.
    bool unaSentencia = false;
    if (opciones.contains(QLatin1String("UnaSentencia"))) {
        const gp::Fallo ilegible = gp::capturarFallo([&] { unaSentencia = query.isSingleStatement(); });
        if (ilegible || !unaSentencia) {
            if (motivoFallo)
                *motivoFallo = ilegible ? ilegible : gp::Fallo{true, kVariasSentencias, {}, kVariasSentencias};
            return false;
        }
    }
    const bool abrir = opciones.contains(QLatin1String("Open"));
    const bool soloLectura = opciones.contains(QLatin1String("SoloLectura"));
    const auto correr = [&] {
        if (abrir)
            query.open();
        else
            query.execSql();
    };
    const auto trabajo = [&] {
        if (soloLectura)
            conexion.runReadOnly(correr);
        else
            correr();
    };
    if (!ejecutarConsulta(trabajo, query.sql(), opciones, conexion, motivoFallo))
        return false;
    if (abrir && opciones.contains(QLatin1String("Temporal")))
        CrearTablaTemporalConsulta(query);
    return true;
}

bool TModuloDatos::ejecutarConsulta(const std::function<void()> &trabajo, const QString &sql, const QString &opciones,
                                    plat::Connection &conexion, gp::Fallo *motivoFallo)
{
    gp::Fallo fallo = gp::capturarFallo(trabajo);
    if (fallo.tipo == gp::DatabaseErrorKind::MissingTable) {
        // Asked not to make it: a table never made holds no rows, which is no fault to report.
        if (opciones.contains(OpcionSQL::NoCrearTabla) || !CrearTablasSentencia(sql, conexion.databaseName())) {
            if (motivoFallo)
                *motivoFallo = fallo;
            return false;
        }
        fallo = gp::capturarFallo(trabajo);
    }
    if (!fallo)
        return true;
    TrazaDepuracion(fallo.mensaje + QStringLiteral(" ") + sql);
    if (motivoFallo)
        *motivoFallo = fallo;
    else if (!opciones.contains(QLatin1String("Silencio")))
        InformarSentenciaErronea(kNoEsPosibleConsulta + (fallo.mensaje.isEmpty() ? QStringLiteral("?") : MotivoFallo(fallo)),
                                 sql, fallo);
    return false;
}

bool TModuloDatos::LeerFilasConsulta(const QString &sql, plat::QueryResult &filas)
{
    plat::Connection &conexion = fGENEINIC->Database();
    return ejecutarConsulta([&] { filas = conexion.query(sql, {}, plat::SqlOrigin::AsWritten); }, sql, QString(),
                            conexion, nullptr);
}

bool TModuloDatos::CrearTablasSentencia(const QString &sql, const QString &database)
{
    // The tables are made on the statement's own connection: pointing the second company's
    // connection at it (as a "?" name would) is not needed to reach it.
    plat::Connection &conexion = conexiones().ConexionDeSelector(database);
    const QStringList nombres = TablasDeSentencia(sql);
    bool todas = !nombres.isEmpty();
    for (const QString &nombre : nombres) {
        TablaComprobada tabla(QStringLiteral("Table"), nombre, objectName());
        tabla.ponerBaseDatos(conexion.databaseName(), &conexion);
        bool creada = false;
        try {
            creada = fGENEINIC->CrearTabla(tabla, QString(), conexiones().EmpresaActual);
        } catch (const gp::Error &) {
            creada = false;   // gp::Abort included: the creation has said why
        }
        // Creation answers false for a table that exists: another program meeting it missing
        // at the same moment made it first, and the statement can run now.
        todas = todas && (creada || tablaPresente(conexion, nombre));
    }
    return todas;
}

bool TModuloDatos::tablaPresente(plat::Connection &conexion, const QString &nombre)
{
    bool presente = false;
    return !gp::capturarFallo([&] { presente = conexion.tableExists(QuitarPropietarioTabla(nombre)); }) && presente;
}

void TModuloDatos::CrearTablaTemporalConsulta(plat::QueryDataSet &query)
{
    // Elsewhere the query's own result serves as it is.
    if (!nombres_->esSQLServer())
        return;
    const QObject *componente = plat::DataSetComponent::of(&query);
    const plat::ComponentOwner *dueno = componente ? plat::ComponentOwner::ownerOf(componente) : nullptr;
    const QString nombre =
        NombreTablaTemporal(dueno ? const_cast<plat::ComponentOwner *>(dueno)->ownerObject() : nullptr, 1);
    QList<CampoSentencia> campos;
    for (int i = 0; i < query.fieldCount(); ++i)
        campos << campoSentencia(query.field(i));
    const SentenciasTablaTemporal s = SentenciasTablaTemporalConsulta(
        nombre, fGENEINIC->Configuracion.basesDatos.AliasBaseDatosGeneral, campos, query.sql());
    query.close();
    EjecutarSQL(s.borrar, kDatabaseGeneral, OpcionSQL::Silenciosa);
    EjecutarSQL(s.crear, kDatabaseGeneral);
    EjecutarSQL(s.insertar, QStringLiteral("Database"));
    query.setSql(s.consultar);
    query.open();
}

bool TModuloDatos::InsertarRegistroSQL(const QString &registro, const QString &database, const QString &opciones)
{
    const QString sentencia = SentenciaInsertarRegistro(registro);
    const QString respuesta = opciones.contains(OpcionSQL::ADOConnection) ? EjecutarSQLADO(sentencia, database, opciones)
                                                                          : EjecutarSQL(sentencia, database, opciones);
    return respuesta.isEmpty();
}

void TModuloDatos::GrabarMemosSQL(plat::TableDataSet &tabla)
{
    if (!nombres_->esSQLServer())
        return;
    QList<CampoSentencia> memos, claves;
    for (int i = 0; i < tabla.fieldCount(); ++i)
        if (esCampoMemo(tabla.field(i).dataType()))
            memos << campoSentencia(tabla.field(i));
    for (const QString &nombre : CamposClave(tabla).split(u';', Qt::SkipEmptyParts))
        if (const plat::Field *f = tabla.findField(nombre))
            claves << campoSentencia(*f);
    const QString sentencia = SentenciaGrabarMemos(tabla.tableName(), memos, claves);
    if (!sentencia.isEmpty())
        EjecutarSQL(sentencia, tabla.databaseName());
}

QString TModuloDatos::AjustarComparacionesVacias(const QString &sql) const { return ::AjustarComparacionesVacias(sql); }

void TModuloDatos::AsignarTextoHora(plat::Field &Sender, const QString &Text)
{
    QString hora = Text;
    if (!hora.contains(u':'))
        hora += QStringLiteral(":00:00");
    if (hora == QLatin1String(":00:00"))
        hora = QStringLiteral("00:00:00");
    // A time alone is that time of the zero date, as the engine keeps times of day.
    QTime tiempo;
    if (LeerHora(hora, tiempo))
        Sender.setValue(FechaHora(FechaCero().date(), tiempo));
    else
        Sender.setAsString(hora);
}

void TModuloDatos::MostrarTextoFecha(plat::Field &Sender, QString &Text, bool)
{
    const QString texto = Sender.displayTextOf(Sender.value());
    Text = EsFechaCero(Sender.asDateTime()) || texto.contains(QLatin1String("1899")) ? QString() : texto;
}

void TModuloDatos::MostrarTextoHora(plat::Field &Sender, QString &Text, bool)
{
    if (EsFechaCero(Sender.asDateTime())) {
        Text.clear();
        return;
    }
    const QString texto = Sender.displayTextOf(Sender.value());
    Text = texto.contains(QLatin1String("1899")) ? texto.section(u' ', 1) : texto;
}

// ---- engine names and key metadata ------------------------------------------------------------

QString TModuloDatos::NombreIndice(const plat::TableDataSet &tabla, const QString &indice) const
{
    return nombres_->NombreIndice(tabla.tableName(), indice, tabla.active() && tabla.indexFieldCount() == 0);
}

QString TModuloDatos::tablaDeDataSet(const plat::DataSet &dataSet)
{
    if (const auto *t = dynamic_cast<const plat::TableDataSet *>(&dataSet))
        return t->tableName();
    if (const auto *q = dynamic_cast<const plat::QueryDataSet *>(&dataSet))
        return ObtenerTablaDeSQL(q->sql());
    return QString();
}

CatalogoClaves TModuloDatos::catalogo(const QString &baseDatos)
{
    // A temporary table kept in a folder answers from that folder's engine.
    const plat::Dialect &dialecto = conexiones().ConexionDeSelector(baseDatos).dialect();
    return CatalogoClaves(
        *nombres_, dialecto,
        [this](const QString &sql, const QString &bd, const QString &opciones) { return EjecutarSQL(sql, bd, opciones); },
        cacheCamposClave_.get(), [this](const QString &bd) { return &conexiones().ConexionDeSelector(bd); });
}

QString TModuloDatos::CamposClave(plat::DataSet &dataSet, const QString &indice)
{
    const QString tabla = tablaDeDataSet(dataSet);
    if (nombres_->clavesDeCatalogo(tabla))
        return CamposClaveSQL(tabla, indice);
    auto *t = dynamic_cast<plat::TableDataSet *>(&dataSet);
    if (!t)
        return QString();
    try {
        t->updateIndexDefs();
        const QList<plat::IndexDef> definiciones = t->indexDefs();
        if (indice.isEmpty() || indice == QLatin1String("<Primary>"))
            return definiciones.isEmpty() ? QString() : definiciones.first().fields.join(u';');
        // The engine may report an index by its logical name ("Clave2") or by the name it
        // was made with ("<table>_Clave2"); the caller may give either.
        const QString prefijo = QuitarPropietarioTabla(tabla).section(u'.', -1) + u'_';
        const auto logico = [&](const QString &nombre) {
            return nombre.startsWith(prefijo, Qt::CaseInsensitive) ? nombre.mid(prefijo.size()) : nombre;
        };
        for (const plat::IndexDef &definicion : definiciones)
            if (logico(definicion.name).compare(logico(indice), Qt::CaseInsensitive) == 0)
                return definicion.fields.join(u';');
        return QString();
    } catch (const gp::Error &) {
        return QString();
    }
}

QString TModuloDatos::CamposClaveSQL(const QString &tabla, const QString &indice)
{
    return catalogo(nombres_->BaseDatosCatalogo(tabla)).CamposClaveSQL(tabla, indice);
}

QString TModuloDatos::ColumnasTablaSQL(const QString &tabla, const QString &opciones)
{
    return catalogo(nombres_->TablaColumnasCatalogo(tabla).baseDatos).ColumnasTablaSQL(tabla, opciones);
}

QString TModuloDatos::ListaColumnasTabla(const QString &tabla, const QString &opciones)
{
    return catalogo(nombres_->TablaColumnasCatalogo(tabla).baseDatos).ListaColumnasTabla(tabla, opciones);
}

int TModuloDatos::NumeroCamposClave(plat::DataSet &dataSet)
{
    const QString tabla = tablaDeDataSet(dataSet);
    if (nombres_->clavesDeCatalogo(tabla))
        return NumeroCamposClaveSQL(tabla);
    return NumeroNombres(CamposClave(dataSet));
}

int TModuloDatos::NumeroCamposClaveSQL(const QString &tabla) { return NumeroNombres(CamposClaveSQL(tabla)); }

QVariant TModuloDatos::ObtenerClaveRegistro(plat::DataSet &dataSet)
{
    const QStringList campos = CamposClave(dataSet).split(u';', Qt::SkipEmptyParts);
    if (campos.isEmpty())
        return QVariant();
    QVariantList valores;
    for (const QString &campo : campos)
        valores << dataSet.fieldByName(campo).value();
    return valores;
}

bool TModuloDatos::LocalizarClave(plat::DataSet &dataSet, const QVariant &clave)
{
    const QVariantList valores = clave.toList();
    if (valores.isEmpty())
        return false;
    const QString campos = CamposClave(dataSet);
    return dataSet.locate(campos, valores.size() == 1 ? valores.first() : QVariant(valores));
}

QString TModuloDatos::ClaveRegistro(plat::DataSet &dataSet, const QString &indice)
{
    const QString tabla = tablaDeDataSet(dataSet);
    const bool deIndices = !nombres_->configuracion().archivosTemporalesEnBD
        && dynamic_cast<plat::TableDataSet *>(&dataSet) != nullptr;
    const QString campos = deIndices ? CamposClave(dataSet, indice) : CamposClaveSQL(tabla, indice);
    if (!dataSet.active() || dataSet.isEmpty())
        return QString();
    QString clave;
    for (const QString &nombre : campos.split(u';', Qt::SkipEmptyParts)) {
        const plat::Field *campo = dataSet.findField(nombre);
        if (!campo)
            continue;
        const bool hora = campo->dataType() == ftDateTime && nombre.toUpper().contains(QLatin1String("HORA"));
        clave += (hora ? campo->asDateTime().time().toString(QStringLiteral("HH:mm:ss")) : campo->displayText())
            + u';';
    }
    return clave;
}

QString TModuloDatos::ClaveLateralRegistro(plat::DataSet &dataSet)
{
    if (!dataSet.active() || dataSet.isEmpty())
        return QString();
    return claveTexto::ClaveLateral(dataSet, NumeroCamposClave(dataSet));
}

QString TModuloDatos::ClaveUltimoRegistroGrupo(plat::TableDataSet &tabla)
{
    try {
        const QString clave = ClaveRegistro(tabla);
        plat::TableDataSet auxiliar(QStringLiteral("TablaGrupo"));
        auxiliar.setDatabaseName(tabla.databaseName());
        if (tabla.connection())
            auxiliar.setConnection(tabla.connection());
        auxiliar.setTableName(tabla.tableName());
        if (!AbrirTabla(auxiliar))
            return QString();
        const QStringList campos = auxiliar.indexFields();
        const int n = int(campos.size());
        if (n >= 2 && n <= 5) {
            QVariantList valores;
            for (int i = 0; i < n - 1; ++i)
                valores << valorDeTexto(auxiliar.fieldByName(campos.at(i)), ExtraerCampo(i, clave, QStringLiteral(";")));
            auxiliar.setRange(valores, valores);
        }
        auxiliar.last();
        return ClaveRegistro(auxiliar);
    } catch (const gp::Error &) {
        return QString();
    }
}

void TModuloDatos::AbrirTablasAuxiliares()
{
    if (!std::exchange(tablasAuxiliaresPendientes_, false))
        return;
    for (plat::TableComponent *tabla : {Responsabilidad, GATablas, GAnalisis, RegistroAccesos})
        AbrirTabla(tabla->table());
}

bool TModuloDatos::AbrirTabla(plat::TableDataSet &tabla)
{
    const bool estabaAbierta = tabla.active();
    const QObject *componente = plat::DataSetComponent::of(&tabla);
    const plat::ComponentOwner *dueno = componente ? plat::ComponentOwner::ownerOf(componente) : nullptr;
    DataSetAbribleDe<plat::TableDataSet> abrible(
        tabla, dueno ? const_cast<plat::ComponentOwner *>(dueno)->ownerObject()->objectName() : QString());
    try {
        if (!fGENEINIC->AbrirDataSet(abrible))
            return false;
        if (tabla.indexFieldCount() > 0) {
            if (!tabla.indexName().isEmpty())
                tabla.setIndexName(QString());
            // A table opened just now holds its rows as stored: only one open before is read anew.
            if (estabaAbierta) {
                tabla.cancelRange();
                if (!nombres_->esSQLServer())
                    tabla.refresh();
            }
        }
        return true;
    } catch (const gp::Abort &) {
        return false;
    } catch (const gp::Error &) {
        return false;
    }
}

void TModuloDatos::RefrescarDataSet(plat::DataSet &dataSet, const QString &opciones)
{
    if (!dataSet.active() || dataSet.state() != plat::DataSetState::Browse)
        return;
    try {
        if (!nombres_->esSQLServer()) {
            dataSet.refresh();
            return;
        }
        if (opciones != QLatin1String("Apertura/Cierre") || !dynamic_cast<plat::TableDataSet *>(&dataSet)) {
            dataSet.close();
            dataSet.open();
            return;
        }
        const QVariant clave = ObtenerClaveRegistro(dataSet);
        dataSet.close();
        dataSet.open();
        LocalizarClave(dataSet, clave);
    } catch (const gp::Error &) {
        // The dataset stays as the engine left it.
    }
}

QString TModuloDatos::nombrePropietario(const QObject *componente)
{
    return componente && !componente->objectName().isEmpty() ? componente->objectName() : QStringLiteral("Unknown");
}

QString TModuloDatos::NombreTablaTemporal(const QObject *propietario, int numeroTabla)
{
    return fGENEINIC->NombresTablas.valor().nombreTablaTemporal(nombrePropietario(propietario), numeroTabla);
}

QString TModuloDatos::AbreviarNombreTablaTemporal(const QString &nombreLargo, const QObject *propietario)
{
    AlmacenNombresTemporalesSQL almacen([this](const QString &sql, const QString &opciones) {
        return EjecutarSentenciaSQL(sql, kDatabaseGeneral, opciones);
    });
    return ::AbreviarNombreTablaTemporal(nombreLargo, nombrePropietario(propietario), almacen);
}

void TModuloDatos::DibujarEscalaTiempo(plat::Canvas &canvas, const QRect &rectangulo, const QDateTime &s0,
                                       const QDateTime &s1, const QString &opciones)
{
    ::DibujarEscalaTiempo(canvas, rectangulo, NumeroDia(s0), NumeroDia(s1), opciones, NumeroDia(Ahora()));
}
