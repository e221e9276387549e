#include "GENEW/runtime/Geneinic.h"

#include "GENEW/runtime/AvisoServidorAusente.h"
#include "GENEW/runtime/CifradoClave.h"
#include "GENEW/runtime/EjecutorCreacionPrograma.h"
#include "GENEW/runtime/EscrituraKorvel.h"
#include "GENEW/runtime/GENEDIAG.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/ImagenesPrograma.h"
#include "GENEW/runtime/NombresConexion.h"
#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/RegistroErrores.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/FicherosDefiniciones.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "GENEW/runtime/formularios/ReglasFormulario.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"
#include "platform/base/EngineKind.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Colors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>

TfGENEINIC *fGENEINIC = nullptr;
QStringList TfGENEINIC::ArgumentosArranque;
bool TfGENEINIC::AgruparCreacionesArranque = false;
bool TfGENEINIC::DiferirBorradoTemporales = false;

namespace {

const QString kImposibleIniciar = QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: ");
const QStringList kImagenes = {QStringLiteral("MANOD"), QStringLiteral("EUROPTS"), QStringLiteral("PTSEURO"),
                               QStringLiteral("DOCEON"), QStringLiteral("DOCEOFF")};

QString conBarra(const QString &carpeta) { return carpeta.endsWith(u'/') ? carpeta : carpeta + u'/'; }

} // namespace

QString AdaptarNombreSQL(const QString &nombre)
{
    return AdaptarNombreSQL(nombre, fGENEINIC ? fGENEINIC->Configuracion.basesDatos.Motor : plat::EngineKind::SQLite);
}

TfGENEINIC::TfGENEINIC(QWidget *parent, plat::Session *sesion)
    : plat::Form(parent),
      TimerAplicacion(new QTimer(this)),
      TimerKeyPad(new QTimer(this)),
      sesion_(sesion ? *sesion : plat::Session::defaultSession()),
      conexiones_(sesion_)
{
    setObjectName(QStringLiteral("fGENEINIC"));
    TimerAplicacion->setObjectName(QStringLiteral("TimerAplicacion"));
    TimerAplicacion->setInterval(15000);
    TimerKeyPad->setObjectName(QStringLiteral("TimerKeyPad"));
    TimerKeyPad->setInterval(100);
    TimerKeyPad->setSingleShot(true);
    connect(TimerAplicacion, &QTimer::timeout, this, [this] { TimerAplicacionTimer(TimerAplicacion); });
    connect(TimerKeyPad, &QTimer::timeout, this, [this] { TimerKeyPadTimer(TimerKeyPad); });
    OnCreate = plat::handler(this, &TfGENEINIC::FormCreate);
    OnActivate = plat::handler(this, &TfGENEINIC::FormActivate);
    OnDestroy = plat::handler(this, &TfGENEINIC::FormDestroy);
    if (!fGENEINIC)
        fGENEINIC = this;
}

TfGENEINIC::~TfGENEINIC()
{
    if (fGENEINIC == this)
        fGENEINIC = nullptr;
}

// ---- start-up ---------------------------------------------------------------------------

void TfGENEINIC::FormCreate(QObject *)
{
    FechaPrograma = Ahora();
    HoraInicio = FechaPrograma;
    UltimaActividad = FechaPrograma;

    QStringList argumentos = ArgumentosArranque;
    if (argumentos.isEmpty() && QCoreApplication::instance())
        argumentos = QCoreApplication::arguments().mid(1);
    const QString directorioTrabajo = conBarra(QDir::currentPath());
    DirectorioInstalacion = conBarra(QCoreApplication::applicationDirPath());
    ejecutarProgramaInstalado_.reset();
    ejecutarProgramaInstalado_.emplace(ganchoEjecutarPrograma(), EjecutorProgramas(DirectorioInstalacion));
    ControlesNoVisiblesRecogidos.clear();
    TrazaDepuracion.clear();
    temporalesPendientes_ = directorioTrabajo;
    if (!DiferirBorradoTemporales)
        BorrarTemporalesPendientes();
    if (AgruparCreacionesArranque)
        creacionesArranque_ = std::make_unique<CreacionesArranque>(conexiones_);
    Configuracion = ConfiguracionArranque::leer(directorioTrabajo, argumentos,
                                                LeerValorDeLista(QStringLiteral("Plataforma"), ObtenerPlataforma()),
                                                DirectorioInstalacion);
    if (Configuracion.basesDatos.PathArchivosTemporales == QLatin1String(ConfiguracionBasesDatos::ValorDirectorioPrivado))
        Configuracion.basesDatos.sustituirDirectorioPrivado(sesion_.privateDir());
    UsuarioActual = Configuracion.lineaComandos.usuario;
    conexiones_.UsuarioActual = UsuarioActual;
    conexiones_.EmpresaActual = 0;
    NombreArchivoLogo = QStringLiteral("LOGO.BMP");
    CodigoIdioma = Configuracion.lineaComandos.idioma;
    if (!Configuracion.aviso.isEmpty())
        MostrarMensaje(QStringLiteral("A"), Configuracion.aviso);
    Configuracion.aplicarAjustesComunes();
    plataformaInstalada_.emplace(ganchoObtenerPlataforma(), ::ObtenerPlataforma);
    const AspectoVisual aspecto =
        AspectoVisual::deAspecto(AspectoVisual::aspectoEfectivo(Configuracion.parametros.AspectoAplicacion));
    FuenteAspecto = QFont(aspecto.fuente, aspecto.tamano);
    ColorAspecto1 = aspecto.color1;
    ColorAspecto2 = aspecto.color2;

    try {
        arranqueProtegido();
    } catch (const gp::Abort &) {
        terminarArranque();
        return;
    } catch (const std::exception &e) {
        // An engine's failure by its kind's Spanish message, its English text after it.
        const auto *fallo = dynamic_cast<const gp::DatabaseError *>(&e);
        const QString motivo = fallo ? MotivoFallo({true, fallo->mensaje(), fallo->kind(), fallo->motivo()})
            : dynamic_cast<const gp::Error *>(&e) ? static_cast<const gp::Error &>(e).mensaje()
                                                  : QString::fromUtf8(e.what());
        MostrarMensaje(QStringLiteral("E"), kImposibleIniciar + motivo);
        terminarArranque();
        return;
    }

    // A value that is no positive number ("0", a typo) would end the program at the first tick.
    if (MinutosInactividad(Configuracion.parametros.TiempoForzarTerminacionAplicacion) > 0)
        TimerAplicacion->start();
    comprobarCamposUsuario();
    if (ArranqueFallido)
        return;
    if (fGENEMENS)
        conectarVentanaMensajes(*fGENEMENS);
    if (conexiones_.esSQLServer())
        VersionServidorSQL = VersionSQLServer();
}

// Engine session, diagnosis, private directory, connections, exception handler and
// pictures: any failure here ends the start-up with its reason.
void TfGENEINIC::arranqueProtegido()
{
    const ConfiguracionBasesDatos &bd = Configuracion.basesDatos;
    const ParametrosKorvel &p = Configuracion.parametros;
    if (!Configuracion.rechazo.isEmpty())
        throw gp::Error(Configuracion.rechazo);
    sesion_.setEngine(bd.Motor);
    // Only the embedded engine has a folder for names that are no alias: on a server such a
    // name is an error, never a quiet new database beside the configured one.
    if (sesion_.engine() == plat::EngineKind::SQLite)
        sesion_.setDefaultFolder(bd.PathBaseDatosGeneral);
    const LecturaFicheroTexto alias = LeerFicheroAjustesConMotivo(Configuracion.directorioTrabajo + QStringLiteral("ALIAS.INI"));
    if (alias.ilegible())
        throw gp::Error(alias.textoNoDisponible());
    sesion_.loadAliasText(alias.texto);

    AjustesConexiones ajustes;
    ajustes.Motor = bd.Motor;
    ajustes.AliasBaseDatosGeneral = bd.AliasBaseDatosGeneral;
    ajustes.PathBaseDatosGeneral = bd.PathBaseDatosGeneral;
    ajustes.AliasBaseDatos = Configuracion.baseAliasEmpresa;
    ajustes.PathArchivosTemporales = bd.PathArchivosTemporales;
    ajustes.AutenticacionWindows = p.AutenticacionWindows;
    ajustes.NombreUsuarioInicioSesion = p.NombreUsuarioInicioSesion;
    ajustes.PasswordInicioSesion = ::DescifrarClave(p.PasswordInicioSesion);
    ajustes.NivelAislamientoTransaccionesMSSQL = p.NivelAislamientoTransaccionesMSSQL;
    ajustes.NombreIntercalacionMSSQL = p.NombreIntercalacionMSSQL;
    ajustes.ejecutable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    ajustes.archivoConfiguracion = Configuracion.archivoConfiguracion;
    ajustes.archivoAlias = alias.ruta;
    ajustes.carpetaPrimerArranque = ConfiguracionBasesDatos::carpetaPorDefecto(Configuracion.directorioTrabajo);
    conexiones_.configurar(ajustes);
    // A first start's database files are made while the diagnosis runs (it waits for the
    // fonts); the connections below open them.
    conexiones_.PrepararBasesDatosInicio();

    NumeroSesion = NumeroSesionRed();
    if (NumeroSesion == -1)
        NumeroSesion = 0;
    if (!p.DesactivarDiagnostico)
        MostrarDiagnostico(QStringLiteral("Configuracion"));
    const DirectorioPrivado privado = DirectorioPrivado::preparar(Configuracion.directorioTrabajo, NumeroSesion, p,
                                                                  Configuracion.temporalesEnBaseDatos);
    if (privado.conflicto) {
        MostrarMensaje(QStringLiteral("A"), QString::fromUtf8(DirectorioPrivado::AvisoConflicto));
        throw gp::Abort();
    }
    if (privado.usar)
        sesion_.setPrivateDir(privado.carpeta);

    conexiones_.AbrirConexionesInicio(ejecutorSQL());

    manejador_.nivelCapturaIncidencias = p.NivelCapturaIncidencias;
    manejador_.instalar();
    Imagenes.clear();
    conexiones_.EnTransaccion = false;
    conexiones_.EnTransaccionFormularios = false;
}

namespace {

// Passes every message on to the sink below and notes whether an error was among them.
class VigilanciaErrores final : public SalidaMensajes
{
public:
    explicit VigilanciaErrores(SalidaMensajes &siguiente) : siguiente_(siguiente) {}
    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) override
    {
        huboError = huboError || tipo == QLatin1String("E");
        return siguiente_.mostrarMensaje(tipo, texto, respuesta);
    }
    void mostrarProgreso(const QString &a, const QString &b, const QString &c, const QString &d) override
    {
        siguiente_.mostrarProgreso(a, b, c, d);
    }
    bool huboError = false;

private:
    SalidaMensajes &siguiente_;
};

} // namespace

void TfGENEINIC::comprobarCamposUsuario()
{
    TablaComprobada camposUsuario(QStringLiteral("CamposUsuario"), QStringLiteral("CAMPOUSR"), objectName());
    camposUsuario.ponerBaseDatos(DatabaseGeneral().databaseName(), &DatabaseGeneral());
    bool abierta = false;
    bool errorMostrado = false;
    ultimoFalloApertura_.clear();
    {
        VigilanciaErrores vigilancia(salidaMensajes());
        SalidaMensajesInstalada instalada(vigilancia);
        try {
            abierta = AbrirDataSet(camposUsuario);
        } catch (const gp::Abort &) {
            abierta = false;   // creation has shown why
        } catch (const gp::Error &error) {
            ultimoFalloApertura_ = error.mensaje();
        }
        errorMostrado = vigilancia.huboError;
    }
    if (!abierta) {
        // The user sees why the program does not start, not only the error log.
        if (!errorMostrado)
            MostrarMensaje(QStringLiteral("E"), kImposibleIniciar + ultimoFalloApertura_);
        terminarArranque();
        return;
    }
    camposUsuario.cerrar();
}

void TfGENEINIC::TerminarCreacionesArranque() { creacionesArranque_.reset(); }

void TfGENEINIC::terminarArranque()
{
    TerminarCreacionesArranque();
    ArranqueFallido = true;
    plat::application().terminate();
}

void TfGENEINIC::FormActivate(QObject *) {}

QPixmap TfGENEINIC::ImagenesFormularios::value(const QString &nombre) const
{
    if (const auto puesta = puestas_.constFind(nombre); puesta != puestas_.constEnd())
        return *puesta;
    return kImagenes.contains(nombre) ? ImagenPrograma(nombre) : QPixmap();
}

void TfGENEINIC::BorrarTemporalesPendientes()
{
    if (temporalesPendientes_)
        BorrarTemporalesAntiguos(*std::exchange(temporalesPendientes_, std::nullopt));
}

void TfGENEINIC::FormDestroy(QObject *)
{
    TerminarCreacionesArranque();
    TimerAplicacion->stop();
    TimerKeyPad->stop();
    CerrarTecladoPantalla();
    Imagenes.clear();
    Configuracion.mapaNombres = MapaNombres();
    ControlesNoVisiblesRecogidos.clear();
    TrazaDepuracion.clear();
}

bool TfGENEINIC::MostrarDiagnostico(const QString &tema)
{
    EntornoDiagnosticoLinux entorno(DirectorioInstalacion);
    const AjustesDiagnostico ajustes{Configuracion.basesDatos.AliasBaseDatosGeneral,
                                     Configuracion.basesDatos.AliasBaseDatos,
                                     VersionServidorSQL,
                                     conexiones_.IntercalacionTXIDIOMA,
                                     Configuracion.parametros.NombreServicioAgenteMSSQL,
                                     sesion_.engine(),
                                     [this](const QString &sql) {
                                         return DatabaseGeneral().query(sql, {}, plat::SqlOrigin::AsWritten).rows;
                                     }};
    TfGENEDIAG diagnostico(entorno, ajustes);
    return diagnostico.DiagnosticarInstalacion(tema);
}

// ---- form framework ----------------------------------------------------------------------

void TfGENEINIC::MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto)
{
    salidaMensajes().mostrarProgreso(modo, titulo, texto, QString());
    plat::application().processMessages();
}

// ---- session services of the main window --------------------------------------------------

void TfGENEINIC::CerrarFormulariosAbiertos()
{
    if (Sesion.valor().cerrarFormulariosAbiertos)
        Sesion.valor().cerrarFormulariosAbiertos();
}

void TfGENEINIC::AnadirInformesPersonalizados(const QString &usuario, const QString &programa, plat::MainMenu *menu)
{
    if (Sesion.valor().anadirInformesPersonalizados)
        Sesion.valor().anadirInformesPersonalizados(usuario, programa, menu);
}

void TfGENEINIC::MenuConsultaInformeClick(QObject *Sender) { Sesion.valor().menuConsultaInformeClick(Sender); }

void TfGENEINIC::ConfigurarInformesClick(QObject *Sender) { Sesion.valor().configurarInformesClick(Sender); }

void TfGENEINIC::OpcionNoDisponible(QObject *)
{
    MostrarMensaje(QStringLiteral("I"), QStringLiteral("Está opción estará disponible en próximas versiones."));
}

void TfGENEINIC::RegistrarLiberacionFormulario(plat::Form *liberado)
{
    if (Sesion.valor().registrarLiberacionFormulario)
        Sesion.valor().registrarLiberacionFormulario(liberado);
}

// The message window outlives the start-up form (it is freed after it), so its routines
// do nothing once this form has gone.
void TfGENEINIC::conectarVentanaMensajes(TfGENEMENS &ventana)
{
    const QPointer<TfGENEINIC> inicio(this);
    ventana.AplicarAspecto = [inicio](QObject *formulario) {
        if (inicio)
            inicio->AplicarAspecto(formulario);
    };
    ventana.TraducirFormulario = [inicio](QObject *formulario) {
        if (inicio)
            inicio->TraducirFormulario(formulario);
    };
    ventana.ProcesarTeclaPulsada = [inicio](QObject *formulario, QChar &tecla) {
        if (inicio)
            inicio->ProcesarTeclaPulsada(formulario, tecla);
    };
    ventana.ProcesarTeclaFormulario = [inicio](QObject *formulario, int &tecla, plat::ShiftState estado) {
        if (inicio)
            inicio->ProcesarTeclaFormulario(formulario, tecla, estado);
    };
}

// ---- messages and exceptions ------------------------------------------------------------

QString TfGENEINIC::MostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    return salidaMensajes().mostrarMensaje(tipo, texto, respuesta);
}

void TfGENEINIC::GestionExcepciones(QObject *Sender, const std::exception &E)
{
    manejador_.GestionExcepciones(Sender, E);
}

// ---- datasets ---------------------------------------------------------------------------

void TfGENEINIC::anotarError(const QString &titulo, const QString &texto) const
{
    const QString &directorio = Configuracion.directorioTrabajo;
    RegistroErrores(directorio.isEmpty() ? conBarra(QDir::currentPath()) : directorio)
        .anotar(titulo, texto);
}

bool TfGENEINIC::AbrirDataSet(DataSetAbrible &ds)
{
    if (ds.abierto())
        return true;
    const QString tabla = ds.nombreTabla();
    QString baseDatos = ds.nombreBaseDatos();
    bool sinInterrogacion = false;
    if (!tabla.isEmpty() && EsTablaTemporal(tabla)) {
        // Temporary tables keep their database.
    } else if (!tabla.isEmpty() && EsTablaGeneral(tabla)) {
        baseDatos = DatabaseGeneral().databaseName();
    } else if (baseDatos.startsWith(u'?')) {
        if (conexiones_.esSQLServer()) {
            ConectarBaseDatosAlt(-1, baseDatos.mid(1));
            baseDatos = DatabaseAlt().databaseName();
        } else {
            baseDatos = baseDatos.mid(1);
        }
        sinInterrogacion = true;
    } else {
        baseDatos = Database().databaseName();
    }

    bool resultado = false;
    bool creacionIntentada = false;
    for (;;) {
        ds.ponerBaseDatos(baseDatos, &conexiones_.ConexionDeBaseDatos(baseDatos));
        const gp::Fallo fallo = gp::capturarFallo([&] { ds.abrir(); });
        if (!fallo) {
            resultado = true;
            break;
        }
        const QString detalle = fallo.mensaje + QStringLiteral("\r\nTabla: ") + tabla + u'(' + ds.nombreComponente() + u')'
            + QStringLiteral(" DataBase: ") + baseDatos;
        if (!creacionIntentada && fallo.tipo == gp::DatabaseErrorKind::MissingTable) {
            creacionIntentada = true;
            ds.cerrar();
            if (sinInterrogacion)
                ds.ponerBaseDatos(u'?' + baseDatos, nullptr);
            if (CrearTablaDataSet(ds) || abreTrasCreacionAjena(ds)) {
                baseDatos = ds.nombreBaseDatos();
                if (baseDatos.startsWith(u'?'))
                    baseDatos = baseDatos.mid(1);
                continue;
            }
            anotarError(QStringLiteral("Al crear la tabla entrando en ") + objectName()
                            + QStringLiteral(" (AperturaTablaOK)"),
                        detalle);
            ultimoFalloApertura_ = detalle;
            break;
        }
        anotarError(QStringLiteral("Al entrar en ") + objectName() + QStringLiteral(" (AperturaTablaOK)"), detalle);
        // A server away is no fault of the table: told once, and the program goes on.
        if (fallo.tipo == gp::DatabaseErrorKind::ConnectionLost) {
            AvisoServidorAusente::delPrograma().avisar(fallo.mensaje);
            break;
        }
        RepararTablas(&ds, fallo.mensaje, nullptr);
        MostrarMensaje(QStringLiteral("E"), QStringLiteral("TRADUCIR: ") + fallo.mensaje + QStringLiteral(" Tabla: ") + tabla);
        break;
    }
    if (conexiones_.esSQLServer() && !Database().inTransaction()) {
        Database().startTransaction();
        Database().commit();
    }
    return resultado;
}

// Creation answers false for a table that exists: another process may have made it between
// this one's failed opening and its creation (two first starts at once). Then it opens now.
bool TfGENEINIC::abreTrasCreacionAjena(DataSetAbrible &ds)
{
    QString baseDatos = ds.nombreBaseDatos();
    if (baseDatos.startsWith(u'?'))
        baseDatos = baseDatos.mid(1);
    try {
        ds.ponerBaseDatos(baseDatos, &conexiones_.ConexionDeBaseDatos(baseDatos));
        ds.abrir();
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &) {
        return false;
    }
    ds.cerrar();
    return true;
}

void TfGENEINIC::AsignarBaseDatos(DataSetAbrible &ds, int codigoEmpresa)
{
    const int codigo = codigoEmpresa == 0 ? conexiones_.EmpresaActual : codigoEmpresa;
    if (conexiones_.esSQLServer()) {
        ConectarBaseDatosAlt(codigo, QString());
        ds.ponerBaseDatos(u'?' + DatabaseAlt().databaseName(), &DatabaseAlt());
    } else {
        const QString nombre = NombreBaseDatosEmpresa(codigo);
        ds.ponerBaseDatos(u'?' + nombre, &conexiones_.ConexionDeBaseDatos(nombre));
    }
}

QString TfGENEINIC::TextoDefinicionesEstructura()
{
    const QString instalacion = DirectorioInstalacion.isEmpty() ? conBarra(QCoreApplication::applicationDirPath())
                                                                : DirectorioInstalacion;
    const QString fichero = estructura::FicheroDefinicionesBaseDatos(Configuracion.basesDatos.PathBaseDatosGeneral,
                                                                     Configuracion.directorioTrabajo, instalacion);
    return estructura::TextoEstructura(fichero, estructura::LectorFicherosDisco(),
                                       [this](const QString &tipo, const QString &texto) { MostrarMensaje(tipo, texto); });
}

QString TfGENEINIC::ListarTablasDefinidas(const QString &opciones)
{
    return estructura::ListarTablasDefinidas(opciones, TextoDefinicionesEstructura());
}

QString TfGENEINIC::ObtenerEstructuraTabla(const QString &tabla, const QString &opciones)
{
    estructura::ConsultaCamposUsuario camposUsuario;
    // User fields live in the general database's CAMPOUSR, which only SQL Server reaches by name.
    if (conexiones_.esSQLServer())
        camposUsuario = [this](const QString &t) {
            return EjecutarSQL(estructura::SentenciaCamposUsuario(Configuracion.basesDatos.AliasBaseDatosGeneral, t),
                               QStringLiteral("DatabaseGeneral"), QStringLiteral("Silenciosa"));
        };
    return estructura::ObtenerEstructuraTabla(tabla, opciones, TextoDefinicionesEstructura(), camposUsuario);
}

bool TfGENEINIC::CrearTablaDataSet(DataSetAbrible &ds) { return CrearTabla(ds, QString(), -1); }

bool TfGENEINIC::CrearTabla(DataSetAbrible &ds, const QString &definicion, int empresa)
{
    estructura::TablaCreacion tabla{ds.nombreBaseDatos(), ds.nombreTabla(), ds.propietario()};
    estructura::ConfiguracionCreacion configuracion;
    configuracion.Motor = Configuracion.basesDatos.Motor;
    configuracion.PathArchivosTemporales = Configuracion.basesDatos.PathArchivosTemporales;
    configuracion.FormatoFechaSQL = ajustesComunes().FormatoFechaSQL;
    configuracion.VersionSQLServer = VersionServidorSQL;
    configuracion.AutenticacionWindows = Configuracion.parametros.AutenticacionWindows;
    configuracion.CodigoUsuario = UsuarioActual;

    EjecutorCreacionPrograma::Entorno entorno;
    entorno.pathBaseDatosGeneral = Configuracion.basesDatos.PathBaseDatosGeneral;
    entorno.directorioTrabajo = Configuracion.directorioTrabajo;
    entorno.directorioInstalacion = DirectorioInstalacion.isEmpty()
        ? conBarra(QCoreApplication::applicationDirPath())
        : DirectorioInstalacion;
    entorno.mostrarMensaje = [this](const QString &tipo, const QString &texto) { MostrarMensaje(tipo, texto); };
    entorno.ejecutarSQL = [this](const QString &sql, const QString &bd, const QString &opciones) {
        return EjecutarSQL(sql, bd, opciones);
    };
    entorno.conectarBaseDatosAlt = [this](const QString &alias, int codigo) { ConectarBaseDatosAlt(codigo, alias); };
    entorno.crearBaseDatosEmpresa1 = [this] {
        conexiones_.CrearBaseDatos(NombreBaseDatosEmpresa(1), ejecutorSQLADO());
    };
    entorno.tablasTrabajo = &tablasTrabajo_;
    EjecutorCreacionPrograma ejecutor(conexiones_, ds, NombresTablas.valor(), std::move(entorno));
    return estructura::CrearTabla(tabla, definicion, empresa, configuracion, ejecutor,
                                  creacionesArranque_ ? &creacionesArranque_->lote() : nullptr);
}

void TfGENEINIC::RepararTablas(DataSetAbrible *ds, const QString &fallo, QObject *)
{
    if (!ds || !FalloPideReconstruccion(Configuracion.basesDatos.Motor, fallo))
        return;
    try {
        AnotarTablaParaReconstruir(Configuracion.archivoConfiguracion,
                                   NombreBaseDatosEmpresa(conexiones_.EmpresaActual) + u'/' + ds->nombreTabla());
    } catch (const gp::Error &) {
        // The list is a help for the administrator; failing to write it changes nothing else.
    }
}

// ---- connections ------------------------------------------------------------------------

ConexionesPrograma::EjecutorSQL TfGENEINIC::ejecutorSQL()
{
    return [this](const QString &sql, const QString &bd, const QString &opciones) { return EjecutarSQL(sql, bd, opciones); };
}

ConexionesPrograma::EjecutorSQL TfGENEINIC::ejecutorSQLADO()
{
    return [this](const QString &sql, const QString &bd, const QString &opciones) {
        return EjecutarSQLADO(sql, bd, opciones);
    };
}

bool TfGENEINIC::IniciarTransaccion(plat::Connection *db) { return conexiones_.IniciarTransaccion(db); }

bool TfGENEINIC::ConfirmarTransaccion(plat::Connection *db)
{
    try {
        conexiones_.ConfirmarTransaccion(db);
        return true;
    } catch (const gp::Error &error) {
        MostrarMensaje(QStringLiteral("A"),
                       QStringLiteral("¡No se puede finalizar la transacción!. Mensaje Original: ") + error.mensaje());
        return false;
    }
}

bool TfGENEINIC::CancelarTransaccion(plat::Connection *db)
{
    try {
        conexiones_.CancelarTransaccion(db);
        return true;
    } catch (const gp::Error &) {
        MostrarMensaje(QStringLiteral("A"), QStringLiteral("¡No se puede finalizar la transacción!"));
        return false;
    }
}

void TfGENEINIC::ConectarBaseDatosEmpresa(int codigo)
{
    // A database that cannot be made fails on opening, with the engine's reason.
    PrepararBaseDatosEmpresa(codigo);
    conexiones_.ConectarBaseDatosEmpresa(codigo, ejecutorSQL());
}

bool TfGENEINIC::PrepararBaseDatosEmpresa(int codigo, QString *motivo)
{
    if (Configuracion.basesDatos.Motor == plat::EngineKind::SQLite) {
        const plat::DatabaseLocation lugar = sesion_.resolve(NombreBaseDatosEmpresa(codigo));
        if (!lugar.isFolder() || QFileInfo::exists(lugar.sqliteFile()))
            return true;
    }
    // Not CrearBaseDatosSQL: its failure is an error that ends the program, and here the
    // open company stays.
    try {
        conexiones_.CrearBaseDatosEmpresa(codigo, ejecutorSQLADO());
        return true;
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &error) {
        if (motivo)
            *motivo = error.mensaje();
        return false;
    }
}

void TfGENEINIC::ConectarBaseDatosAlt(int codigo, const QString &nombre)
{
    conexiones_.ConectarBaseDatosAlt(codigo, nombre, ejecutorSQL());
}

void TfGENEINIC::AbrirDocumentacionElectronica(const QString &tabla, const QString &clave)
{
    if (VentanaDocumentacionElectronica.valor())
        VentanaDocumentacionElectronica.valor()(tabla, clave);
}

QString TfGENEINIC::BaseDatosDeTabla(const QString &tabla) const { return conexiones_.BaseDatosDeTabla(tabla); }

QString TfGENEINIC::NombreBaseDatosEmpresa(int codigo) const { return conexiones_.NombreBaseDatosEmpresa(codigo); }

QString TfGENEINIC::CadenaConexionADO(const QString &selector, const QString &servidor) const
{
    return conexiones_.CadenaConexionADO(selector, servidor);
}

QString TfGENEINIC::VersionSQLServer()
{
    if (!conexiones_.esSQLServer())
        return QString();
    plat::Connection consulta(sesion_, QStringLiteral("VersionSQLServer"));
    consulta.setConnectionString(CadenaConexionADO(QStringLiteral("master"), QString()));
    return consulta.scalar(QStringLiteral("SELECT @@VERSION")).toString();
}

bool TfGENEINIC::CrearBaseDatosSQL(const QString &nombre)
{
    try {
        conexiones_.CrearBaseDatos(nombre, ejecutorSQLADO());
        return true;
    } catch (const gp::Error &error) {
        const QString texto = error.mensaje().startsWith(QLatin1String("¡"))
            ? error.mensaje()
            : QStringLiteral("¡Imposible crear la base de datos ") + nombre + QStringLiteral("!. Motivo:")
                + error.mensaje();
        MostrarMensaje(QStringLiteral("E"), texto);
        return false;
    }
}

bool TfGENEINIC::CrearBaseDatosEmpresa(int codigo) { return CrearBaseDatosSQL(NombreBaseDatosEmpresa(codigo)); }

// ---- SQL --------------------------------------------------------------------------------

QString TfGENEINIC::EjecutarSQL(const QString &sql, const QString &database, const QString &opciones)
{
    return EjecutarSQLEnConexion(conexiones_.ConexionDeSelector(database), sql, opciones, FormaSQL::Motor);
}

QString TfGENEINIC::EjecutarSQLADO(const QString &sql, const QString &database, const QString &opciones)
{
    QString servidor;
    if (const int i = opciones.indexOf(QLatin1String("ServerName=")); i >= 0)
        servidor = opciones.mid(i + 11).section(u',', 0, 0);
    ConexionesPrograma::ConexionADO ado = conexiones_.ConexionADODeSelector(database, servidor);
    return EjecutarSQLEnConexion(*ado.conexion, sql, opciones, FormaSQL::ADO);
}

// ---- small services ---------------------------------------------------------------------

QString TfGENEINIC::ObtenerPlataforma() const { return ::ObtenerPlataforma(); }

int TfGENEINIC::NumeroSesionRed() const { return ::NumeroSesionRed(); }

QString TfGENEINIC::LineaComandos() const { return Configuracion.LineaComandos(UsuarioActual); }

QString TfGENEINIC::NombreDeCodigoEnLista(int codigo) const { return ::NombreDeCodigoEnLista(Configuracion.mapaNombres, codigo); }

QString TfGENEINIC::CifrarClave(const QString &texto) const { return ::CifrarClave(texto); }

QString TfGENEINIC::DescifrarClave(const QString &texto) const { return ::DescifrarClave(texto); }
