#pragma once
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/ClienteSMTP.h"
#include "GENEW/runtime/ConexionesPrograma.h"
#include "GENEW/runtime/ConfiguracionArranque.h"
#include "GENEW/runtime/ManejadorExcepciones.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/ui/Form.h"

#include <QDateTime>
#include <QFont>
#include <QMap>
#include <QPixmap>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace plat {
class Connection;
class HtmlView;
class Session;
} // namespace plat

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
    QMap<QString, QPixmap> Imagenes;     // "MANOD", "EUROPTS", "PTSEURO", "DOCEON", "DOCEOFF"
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
    void ConectarBaseDatosEmpresa(int codigo);
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
    QString CifrarClave(const QString &texto) const;
    QString DescifrarClave(const QString &texto) const;
    // The trace file; empty (no trace) unless set.
    const QString &ArchivoTraza() const { return archivoTraza_; }
    void PonerArchivoTraza(const QString &fichero) { archivoTraza_ = fichero; }
    ManejadorExcepciones &Manejador() { return manejador_; }
    // The installation diagnosis on a topic; its checks read the Windows registry and the
    // old engine's configuration, which do not exist here, so it finds nothing to report.
    void DiagnosticoInstalacion(const QString &tema);
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
    void ImprimirDocumento(const QString &documento, const QString &impresora, const QString &tipo);
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
};

extern TfGENEINIC *fGENEINIC;

// The table or field name adapted for the configured engine (see NombresConexion.h).
QString AdaptarNombreSQL(const QString &nombre);
