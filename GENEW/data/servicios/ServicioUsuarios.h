#pragma once
#include <QString>
#include <functional>

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
    // Posts the edit or insert; on failure the change is cancelled and false answered.
    virtual bool grabar() = 0;
    // Inserts a row with the code; the values follow with asignar() and grabar().
    virtual bool insertar() = 0;
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

// The users of the application: log-in with its failed-password counter, profile users
// whose settings others inherit, per-user settings and the rights tests.
class ServicioUsuarios
{
public:
    // consultarGeneral: a SELECT on the general database answered as text.
    ServicioUsuarios(TablaUsuarios &tabla, std::function<QString(const QString &sql)> consultarGeneral)
        : tabla_(tabla), consultarGeneral_(std::move(consultarGeneral))
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
    QString usuarioEfectivo(const QString &usuario, const QString &clave);
    bool enLista(const QString &usuario, const QString &columna, const QString &linea);
    bool darDeAlta(const QString &codigo);

    TablaUsuarios &tabla_;
    std::function<QString(const QString &sql)> consultarGeneral_;
};
