#pragma once
#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// USUARIO as the user services read and write it (the data module's `Usuario` table).
class TablaUsuarios
{
public:
    virtual ~TablaUsuarios() = default;
    virtual bool abierta() const = 0;
    // Moves to the user's row; false when there is none.
    virtual bool localizar(const QString &codigo) = 0;
    virtual bool tieneCampo(const QString &campo) const = 0;
    // A column of the current row as text (empty for NULL).
    virtual QString valor(const QString &campo) const = 0;
    // Puts the current row in edit state, reading it again as stored now: what valor()
    // answers from then on is what another run may have written meanwhile.
    virtual bool editar() = 0;
    virtual void asignar(const QString &campo, const QString &valor) = 0;
    // Writes a column of the user's row in one statement, on condition that it still holds
    // `anterior`; false (nothing written) when it holds another value now or the engine
    // cannot compare the column so.
    virtual bool escribirSiSigue(const QString &codigo, const QString &campo, const QString &anterior,
                                 const QString &valor) = 0;
    // Posts the edit or insert; on failure the change is cancelled and false answered.
    virtual bool grabar() = 0;
    // Inserts a row with the code; the values follow with asignar() and grabar().
    virtual bool insertar() = 0;
    // A mark that changes when the rows may have changed (a write of the program, a refresh)
    // and differs between databases and sessions: what was read of them holds while it stays.
    virtual QString marcaCambios() const = 0;
};

// What the log-in needs to know of the run.
struct DatosIdentificacion
{
    bool autenticacionWindows = false;
    QString usuarioLineaComandos;   // the "U=" value
    QString usuarioWindows;         // the logon name of the operating system
};

// The outcome of a log-in: the session values it sets.
struct ResultadoIdentificacion
{
    bool identificado = false;
    QString codigo;             // as stored in USUARIO
    QString claveAcceso;        // the current password (empty when the user has none)
    QString camposNoVisibles;   // the user's hidden-field list
};

// What the user services keep of USUARIO (see ServicioUsuarios): each user's category, and
// the rows whose settings apply by code (none: no such row), with the mark they were read at.
// It may outlive the services of one data module: the module is made again when the company
// changes, the users stay.
struct MemoriaUsuarios
{
    QString marca;
    QHash<QString, QString> configuraciones;
    QHash<QString, std::optional<QHash<QString, QString>>> filas;
};

// The users of the application: log-in with its failed-password counter, profile users
// whose settings others inherit, per-user settings and the rights tests.
//
// The settings are read once per session: each user's category and the row whose settings
// apply are kept until USUARIO changes (TablaUsuarios::marcaCambios). A setting written here
// goes into what is kept as it is stored, so the session's later reads see it without reading
// the row again.
class ServicioUsuarios
{
public:
    // consultarGeneral: a SELECT on the general database answered as text; memoria: what is
    // kept, shared with the services of other modules (one of its own when none).
    ServicioUsuarios(TablaUsuarios &tabla, std::function<QString(const QString &sql)> consultarGeneral,
                     std::shared_ptr<MemoriaUsuarios> memoria = nullptr)
        : tabla_(tabla), consultarGeneral_(std::move(consultarGeneral)),
          memoria_(memoria ? std::move(memoria) : std::make_shared<MemoriaUsuarios>())
    {
    }

    ResultadoIdentificacion IdentificarUsuario(const DatosIdentificacion &datos);
    QString UsuarioConfiguracion(const QString &usuario);
    QString LeerConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &defecto);
    void GrabarConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &valor);
    bool UsuarioAccedeEmpresa(const QString &usuario, int empresa);
    QString NivelAccesoPrograma(const QString &usuario, const QString &programa);
    bool EsProgramaActivo(const QString &usuario, const QString &programa);
    bool EsAdministrador(const QString &usuario, const QString &opciones);
    bool ProcesoAutorizado(const QString &usuario, const QString &proceso);

private:
    // The columns of a user's row that the settings and rights read, by name.
    using FilaUsuario = QHash<QString, QString>;

    QString usuarioEfectivo(const QString &usuario, const QString &clave);
    bool enLista(const QString &usuario, const QString &columna, const QString &linea);
    bool darDeAlta(const QString &codigo);
    // The user's row as stored, read once while USUARIO stays unchanged; none when the table
    // is closed or has no such user.
    const std::optional<FilaUsuario> &fila(const QString &codigo);
    FilaUsuario filaActual() const;
    // The row as this session wrote it is what is kept of it, under every code that names it.
    void recordarEscrita(const QString &codigo, const FilaUsuario &escrita);
    // The setting written over the row kept for the session; false when that row is not kept or
    // another run changed it since.
    bool grabarSobreLaFilaRecordada(const QString &codigo, const QString &clave, const QString &valor);
    // Forgets what was kept when USUARIO changed since.
    void comprobarCambios();

    TablaUsuarios &tabla_;
    std::function<QString(const QString &sql)> consultarGeneral_;
    std::shared_ptr<MemoriaUsuarios> memoria_;
};
