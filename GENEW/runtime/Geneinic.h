#pragma once
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/ClienteSMTP.h"
#include "GENEW/runtime/ConexionesPrograma.h"
#include "GENEW/runtime/ConfiguracionArranque.h"
#include "GENEW/runtime/CreacionesArranque.h"
#include "GENEW/runtime/ManejadorExcepciones.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/formularios/PuntosEntradaFormulario.h"
#include "platform/ui/Form.h"

#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class TfGENEMENS;

namespace plat {
class ComponentOwner;
class Connection;
class DataSet;
class DBGrid;
class Field;
class HtmlView;
class MainMenu;
class ReportBand;
class ReportTextControl;
class Session;
} // namespace plat

// Set by Esc on any form and by a negative answer in the progress window; listing and
// print loops poll it.
extern bool ListadoCancelado;

// The session services of the main window that need the layers above the runtime (the data
// module, the report runners); the main window installs them with ServiciosSesionInstalados.
struct ServiciosSesion
{
    std::function<void()> cerrarFormulariosAbiertos;
    std::function<void(const QString &usuario, const QString &programa, plat::MainMenu *menu)>
        anadirInformesPersonalizados;
    plat::NotifyEvent menuConsultaInformeClick;
    plat::NotifyEvent configurarInformesClick;
    std::function<void(plat::Form *liberado)> registrarLiberacionFormulario;
};

// The names that table creation asks of the data module (temporary-table names through
// NOMBTTEM, engine table and index names). The data module installs its own in
// TfGENEINIC::NombresTablas while it exists; until then the engine's plain names stand.
struct NombresCreacionTablas
{
    std::function<QString(const QString &propietario, int numero)> nombreTablaTemporal;
    std::function<QString(const QString &tabla)> nombreTablaSQL;
    std::function<QString(const QString &tabla)> quitarPropietarioTabla;
    std::function<QString(const QString &tabla, const QString &indice)> nombreIndice;
};

// The start-up service form, never shown: it runs the technical start-up in FormCreate and
// then holds the process-wide settings and the connections, and offers the runtime services
// that every form calls (messages, exceptions, datasets, transactions, SQL, table creation).
class TfGENEINIC : public plat::Form
{
    Q_OBJECT
public:
    // sesion: the engine session of the connections (the program's default one).
    explicit TfGENEINIC(QWidget *parent = nullptr, plat::Session *sesion = nullptr);
    ~TfGENEINIC() override;

    // ---- settings read at start-up --------------------------------------------------------
    QDateTime FechaPrograma;
    QDateTime HoraInicio;
    QDateTime UltimaActividad;
    ConfiguracionArranque Configuracion;
    QString DirectorioInstalacion;       // the executable's folder, ends in "/"
    QString NombreArchivoLogo = QStringLiteral("LOGO.BMP");
    QString CodigoIdioma;
    int NumeroSesion = 0;
    QFont FuenteAspecto;
    int ColorAspecto1 = 0;
    int ColorAspecto2 = 0;
    QStringList ControlesNoVisiblesRecogidos;            // sorted, no duplicates
    QStringList TrazaDepuracion;
    // "MANOD", "EUROPTS", "PTSEURO", "DOCEON", "DOCEOFF": each painted when first asked for,
    // not at the start; a picture put in replaces the painted one.
    class ImagenesFormularios
    {
    public:
        QPixmap value(const QString &nombre) const;
        void insert(const QString &nombre, const QPixmap &imagen) { puestas_.insert(nombre, imagen); }
        void clear() { puestas_.clear(); }

    private:
        QMap<QString, QPixmap> puestas_;
    };
    ImagenesFormularios Imagenes;
    QString VersionServidorSQL;
    QString UsuarioActual;
    QString ClaveAccesoActual;       // the logged-in user's password
    QString CamposNoVisibles;        // the logged-in user's hidden-field list
    QTimer *TimerAplicacion;
    QTimer *TimerKeyPad;
    // Set when the start-up could not finish (the application has been told to end).
    bool ArranqueFallido = false;

    // Arguments of the run (the program's arguments without the program itself); set
    // before the form is created, or the application's are read.
    static QStringList ArgumentosArranque;
    // Set by the program before the form is created: the tables the start makes are committed
    // together (CreacionesArranque) until TerminarCreacionesArranque.
    static bool AgruparCreacionesArranque;
    void TerminarCreacionesArranque();
    // Set by the program before the form is created: the work files an earlier run left are
    // deleted by BorrarTemporalesPendientes, once the main window is up, not at the start.
    static bool DiferirBorradoTemporales;
    void BorrarTemporalesPendientes();

    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormDestroy(QObject *Sender);

    // ---- messages and exceptions ----------------------------------------------------------
    QString MostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta = QString());
    void GestionExcepciones(QObject *Sender, const std::exception &E);

    // ---- connections ----------------------------------------------------------------------
    ConexionesPrograma &Conexiones() { return conexiones_; }
    plat::Connection &Database() const { return conexiones_.Database(); }
    plat::Connection &DatabaseGeneral() const { return conexiones_.DatabaseGeneral(); }
    plat::Connection &DatabaseAlt() const { return conexiones_.DatabaseAlt(); }
    plat::Connection &ADOConnection() const { return conexiones_.ADOConnection(); }
    plat::Connection &ADOConnectionAlt() const { return conexiones_.ADOConnectionAlt(); }

    bool AbrirDataSet(DataSetAbrible &ds);
    template<class D>
        requires(!std::derived_from<D, DataSetAbrible>)
    bool AbrirDataSet(D &ds)
    {
        DataSetAbribleDe<D> adaptado(ds);
        return AbrirDataSet(static_cast<DataSetAbrible &>(adaptado));
    }
    bool IniciarTransaccion(plat::Connection *db = nullptr);
    bool ConfirmarTransaccion(plat::Connection *db = nullptr);
    bool CancelarTransaccion(plat::Connection *db = nullptr);
    // Points "Database" at the company's database, made first when it is missing.
    void ConectarBaseDatosEmpresa(int codigo);
    // A company's database made when missing: on the embedded engine a folder inside the
    // general one (a company added after the first run), on the servers a database named after
    // the company alias (a new alias on a server that has the general database). False when it
    // cannot be made (a file in its place, no rights, a name the server refuses), with the
    // reason in motivo.
    bool PrepararBaseDatosEmpresa(int codigo, QString *motivo = nullptr);
    // The user chooses the company a listing works on (off unless set); the code chosen last,
    // 0 for none (ConectarEmpresaListado in the data layer sets it).
    bool SeleccionEmpresaActiva = false;
    int CodigoEmpresaListado = 0;
    void ConectarBaseDatosAlt(int codigo, const QString &nombre);
    void AsignarBaseDatos(DataSetAbrible &ds, int codigoEmpresa);
    QString BaseDatosDeTabla(const QString &tabla) const;
    QString NombreBaseDatosEmpresa(int codigo) const;
    QString CadenaConexionADO(const QString &selector, const QString &servidor) const;
    QString VersionSQLServer();
    void RepararTablas(DataSetAbrible *ds, const QString &fallo, QObject *Sender);
    bool CrearBaseDatosSQL(const QString &nombre);
    bool CrearBaseDatosEmpresa(int codigo);
    bool CrearTablaDataSet(DataSetAbrible &ds);
    bool CrearTabla(DataSetAbrible &ds, const QString &definicion, int empresa);
    Gancho<NombresCreacionTablas> NombresTablas;

    // ---- SQL service core -----------------------------------------------------------------
    QString EjecutarSQL(const QString &sql, const QString &database = QString(), const QString &opciones = QString());
    QString EjecutarSQLADO(const QString &sql, const QString &database = QString(),
                           const QString &opciones = QString());

    // ---- small services -------------------------------------------------------------------
    QString ObtenerPlataforma() const;
    int NumeroSesionRed() const;
    QString LineaComandos() const;
    QString NombreDeCodigoEnLista(int codigo) const;
    // The program's structure definitions (DATABASE.TXT of the general folder with its
    // specific and variant files): the tables defined, one a line ("ExcluirTablasBDGeneral"
    // leaves the general database's out), and a table's fields ("IncluirTipo": "Campo/ftTipo").
    QString ListarTablasDefinidas(const QString &opciones);
    QString ObtenerEstructuraTabla(const QString &tabla, const QString &opciones);
    QString CifrarClave(const QString &texto) const;
    QString DescifrarClave(const QString &texto) const;
    // The trace file; empty (no trace) unless set.
    const QString &ArchivoTraza() const { return archivoTraza_; }
    void PonerArchivoTraza(const QString &fichero) { archivoTraza_ = fichero; }
    ManejadorExcepciones &Manejador() { return manejador_; }
    // ---- form framework (formularios/) -------------------------------------------------------
    // Every form and data module calls these from its creation and key handlers; the hooks
    // land on its tables and on the form only where it assigned none of its own.
    bool AbrirTablasFormulario(plat::ComponentOwner &formulario);
    void PrepararFormulario(QObject *formulario);
    void AsignarFormatosCampos(QObject *componente);
    QString ObtenerFormatoNumerico(const QString &campo) const;
    // Whether the current user's access level to the form (by its caption) is "Solo Lectura".
    bool FormularioSoloLectura(QObject *formulario);
    void TablasSoloLectura(QObject *formulario);
    // At "Solo Lectura": the tables, the queries and the data grids read-only.
    void DatosSoloLectura(QObject *formulario);
    void OcultarCamposNoVisibles(QObject *formulario);
    void AplicarControlesNoVisibles(QObject *formulario);
    void AsignarBotonEuro(QObject *formulario, const QString &modo);
    void RefrescarDatos(QObject *formulario, const QString &opciones = QString());
    void RefrescarFormularioActivo();
    void TablaAfterPost(plat::DataSet &DataSet);
    void TablaBeforeDelete(plat::DataSet &DataSet);
    void TablaAfterScroll(plat::DataSet &DataSet);
    void FormCloseQueryComun(QObject *Sender, bool &CanClose);
    void TimerAplicacionTimer(QObject *Sender);
    void CerrarFormularioComun(QObject *Sender, plat::CloseAction &Action);
    double MostrarCalculadora(double valor);
    void BuscarTablaAsociadaEdit(QObject *Sender);
    void AjustarCabeceraListado(plat::ReportBand &Band, bool &PrintBand);
    void RegistrarActividad();
    // The active form's (or active MDI child's) "pbEuro" button and whether it is down.
    struct EstadoBotonEuro
    {
        bool hay = false;
        bool pulsado = false;
    };
    EstadoBotonEuro BotonEuroActivo() const;

    void TraducirFormulario(QObject *formulario, const QString &idioma = QString());
    void TraducirPropiedad(QObject *formulario, const QString &propiedad);
    void AplicarAspecto(QObject *formulario);
    void ActualizarManifiesto(const QString &aspecto);
    void DibujarPestana(QObject *Control, int TabIndex, const QRect &Rect, bool Active);
    void DibujarPanelEstado(QObject *StatusBar, int Panel, const QRect &Rect);
    void ConfigurarBarraEstado(QObject *barra, const QString &texto, const QString &idioma = QString());
    void AjustarTamanoFormulario(QObject *formulario, const QString &modo);

    void ProcesarTeclaFormulario(QObject *Sender, int &Key, plat::ShiftState Shift);
    void ProcesarTeclaPulsada(QObject *Sender, QChar &Key);
    void ActivarTecladoPantalla(QWidget *control, const QString &opciones);
    void TimerKeyPadTimer(QObject *Sender);
    void CerrarTecladoPantalla();

    // What a listing sets before printing for its header band's before-print handler.
    struct CabeceraListado
    {
        plat::ReportTextControl *restricciones = nullptr;   // the restrictions memo
        QString topesEtiquetas;                             // "component=top" lines
        bool primeraPagina = true;
        int alturaBase = 0;
    };
    CabeceraListado CabeceraListadoActual;
    // Adds a control key to the collected hidden controls (sorted, once).
    void anotarControlNoVisible(const QString &clave);
    // Commits (or rolls back) the transaction a deletion of that dataset started.
    void terminarBorrado(plat::DataSet &DataSet, bool confirmar);

    // The services of other modules the keys and hooks open (unassigned ones do nothing).
    PuntosEntradaFormulario PuntosEntrada;
    // The present moment for the activity stamps and the inactivity timer.
    std::function<QDateTime()> Reloj;
    // Keyboard state: typed keys, the last key-down code, the user's decimal-comma switch,
    // the control key F8 took last, the keypad's target and options.
    QString TeclasPulsadas;
    // Where the keys of the buffer were typed: the control, and in a grid the cell (its
    // serial). A key typed somewhere else starts the buffer again, so that a code typed in
    // one cell is never taken for the code of another.
    struct LugarTecleo
    {
        const void *control = nullptr;
        quint64 celda = 0;
        bool operator==(const LugarTecleo &) const = default;
    };
    LugarTecleo LugarTeclasPulsadas;
    int UltimaTecla = 0;
    bool DesactivarPuntoPorComaDecimal = false;
    QString ClaveControlActual;
    QPointer<QWidget> ControlTecladoPantalla;
    QString OpcionesTecladoPantalla;
    QPointer<plat::Form> TecladoPantalla;
    // The record copied by Ctrl+Alt+C for Ctrl+Alt+V.
    QString RegistroCopiado;

    // The progress window without translation: "ON" opens it, "OFF" closes it, an empty mode
    // updates its text; the pending window messages are processed afterwards.
    void MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto);

    // ---- session services of the main window ------------------------------------------------
    Gancho<ServiciosSesion> Sesion;
    void CerrarFormulariosAbiertos();
    void AnadirInformesPersonalizados(const QString &usuario, const QString &programa, plat::MainMenu *menu);
    void MenuConsultaInformeClick(QObject *Sender);
    void ConfigurarInformesClick(QObject *Sender);
    void OpcionNoDisponible(QObject *Sender = nullptr);
    void RegistrarLiberacionFormulario(plat::Form *liberado);

    // The installation diagnosis on a topic ("Configuracion", "MotorBaseDatos"): its report
    // shown and, for the configuration, the repair offered; true when nothing was found.
    bool MostrarDiagnostico(const QString &tema);
    // Gives the message window the look, translation and keyboard routines.
    void conectarVentanaMensajes(TfGENEMENS &ventana);
    // Opens the electronic-documents window of the record with that key; the window's unit
    // installs the opener (VentanaDocumentacionElectronica), without it nothing opens.
    void AbrirDocumentacionElectronica(const QString &tabla, const QString &clave);
    Gancho<std::function<void(const QString &tabla, const QString &clave)>> VentanaDocumentacionElectronica;

    // ---- other programs, mail, web service and help (ServiciosExternos.cpp) --------------
    // The auxiliary program's commands; the mail's outcome is its exit code (0 sent).
    int EnviarCorreoMAPI(const QString &asunto, const QString &texto, const QString &adjuntos,
                         const QString &nombreRemitente, const QString &emailRemitente,
                         const QString &nombreDestinatario, const QString &emailDestinatario,
                         const QString &nombreDestinatarioCC, const QString &emailDestinatarioCC,
                         const QString &opciones);
    void AbrirDocumentoWord(const QString &documento, const QString &valores);
    // The auxiliary program's exit code: 0 printed.
    int ImprimirDocumento(const QString &documento, const QString &impresora, const QString &tipo);
    bool EnviarCorreoElectronico(const QString &ajustesSMTP, const QString &destinatarios, const QString &asunto,
                                 const QString &texto, const QString &adjuntos, QString &error,
                                 const QString &datosCorreo, const QString &opciones);
    bool EnviarDocumentoCorreo(const QString &ajustesSMTP, const QString &destinatarios, const QString &asunto,
                               const QString &texto, const QString &adjuntos, const QString &datosCorreo,
                               const QString &opciones);
    // Raises gp::Error with the transport's reason when the send fails.
    bool EnviarCorreoSMTP(const QString &ajustesSMTP, const QString &destinatarios, const QString &asunto,
                          const QString &texto, const QString &adjuntos);
    void LanzarMensajeria(QObject *formulario, const QString &modo);
    QString ConectarServicioWeb(const QString &peticion);
    bool MostrarAyuda(int contexto);
    void AbrirPaginaHTML(QObject *propietario, plat::HtmlView *navegador);
    bool SeleccionarCarpetaArchivo(const QString &titulo, QString &ruta, const QString &opciones);
    // The company's legal name, the sender name of mail; the data module installs it.
    Gancho<std::function<QString()>> RazonSocial;
    TransporteSMTP TransporteCorreo;
    int SegundosEsperaServicioWeb = 30;

private:
    QString TextoDefinicionesEstructura();
    void prepararCamposAbiertos(QObject *formulario);
    void asignarFormatoCampo(plat::Field &campo);
    void ocultarColumna(plat::DBGrid &rejilla, plat::Field &campo);
    void instalarDelegadosTraducidos(const QList<QObject *> &componentes);
    int colorDeFondo(const QWidget *control) const;
    QHash<const plat::DataSet *, plat::Connection *> borradosEnCurso_;
    void teclaF2(plat::Form *formulario, QWidget *foco);
    void teclaTextoPredefinido(QWidget *foco);
    void teclaF8(plat::Form *formulario);
    bool enterCambiadoATab_ = false;
    void arranqueProtegido();
    void comprobarCamposUsuario();
    void terminarArranque();
    ConexionesPrograma::EjecutorSQL ejecutorSQL();
    ConexionesPrograma::EjecutorSQL ejecutorSQLADO();
    void anotarError(const QString &titulo, const QString &texto) const;
    bool abreTrasCreacionAjena(DataSetAbrible &ds);
    QString ultimoFalloApertura_;   // why the last table could be neither opened nor made

    plat::Session &sesion_;
    ConexionesPrograma conexiones_;
    ManejadorExcepciones manejador_;
    QString archivoTraza_;
    std::optional<Gancho<ObtenerPlataformaFn>::Instalacion> plataformaInstalada_;
    std::optional<Gancho<EjecutarProgramaFn>::Instalacion> ejecutarProgramaInstalado_;
    std::unique_ptr<CreacionesArranque> creacionesArranque_;
    std::optional<QString> temporalesPendientes_;   // the working folder whose files wait
    // The work tables this run made, emptied rather than made again (EjecutorCreacionPrograma).
    QHash<QString, QString> tablasTrabajo_;
};

extern TfGENEINIC *fGENEINIC;

// The help context of a window caption in the runtime's name map (what F1 and the help
// buttons open with MostrarAyuda); 0 when it has none.
int ContextoAyudaDeTitulo(const QString &titulo);

// Installs the main window's session services on the start-up form for the life of this
// object.
class ServiciosSesionInstalados : public Gancho<ServiciosSesion>::Instalacion
{
public:
    ServiciosSesionInstalados(TfGENEINIC &inicio, ServiciosSesion servicios) : Instalacion(inicio.Sesion, std::move(servicios)) {}
};

// The table or field name adapted for the configured engine (see NombresConexion.h).
QString AdaptarNombreSQL(const QString &nombre);
