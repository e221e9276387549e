#pragma once
#include "GENEW/runtime/ServicioSQL.h"

#include <QString>
#include <functional>
#include <optional>

// Temporary tables get a long descriptive name (machine, owner, table number, network
// session, user) that is mapped to a short one, "TEMP" + six-digit counter + "_" + owner,
// through the general table NOMBTTEM (Contador, NombreTablaTemporalOrg,
// NombreTablaTemporal). The same long name always gets the same short name back.

// "TEMP_" + adapter address + "_" + owner + "_" + table number + "_" + session + "_" + user.
QString NombreLargoTablaTemporal(const QString &direccionMAC, const QString &propietario, int numeroTabla,
                                 int numeroSesionRed, const QString &codigoUsuario);

// "TEMP" + the counter as six digits + "_" + owner, whole (the caller cuts it).
QString NombreCortoTablaTemporal(int contador, const QString &propietario);

// The longest short name handed out.
constexpr int LongitudMaximaNombreTemporal = 20;

// The rows of NOMBTTEM as the naming needs them. A read that fails raises gp::DatabaseError
// with the failure's kind.
class AlmacenNombresTemporales
{
public:
    virtual ~AlmacenNombresTemporales() = default;
    // The short name of the row with the lowest Contador for the long name, if any.
    virtual std::optional<QString> buscar(const QString &nombreLargo) = 0;
    // The highest Contador, 0 for an empty table.
    virtual int maximoContador() = 0;
    // Adds a row; false when it could not be written (another row took the counter).
    virtual bool insertar(int contador, const QString &nombreLargo, const QString &nombreCorto) = 0;
    // Why the last insert failed, and how.
    virtual gp::Fallo ultimoFallo() const = 0;
};

// NOMBTTEM reached through the SQL service on the general database. ejecutar runs a
// statement with options, telling no one of a failure, and gives the service's answer.
class AlmacenNombresTemporalesSQL : public AlmacenNombresTemporales
{
public:
    using Ejecutor = std::function<ResultadoSentenciaSQL(const QString &sql, const QString &opciones)>;
    explicit AlmacenNombresTemporalesSQL(Ejecutor ejecutar) : ejecutar_(std::move(ejecutar)) {}

    std::optional<QString> buscar(const QString &nombreLargo) override;
    int maximoContador() override;
    bool insertar(int contador, const QString &nombreLargo, const QString &nombreCorto) override;
    gp::Fallo ultimoFallo() const override { return ultimoFallo_; }

    static QString sentenciaBuscar(const QString &nombreLargo);
    static QString sentenciaMaximo();
    static QString sentenciaInsertar(int contador, const QString &nombreLargo, const QString &nombreCorto);

private:
    QString leer(const QString &sql);

    Ejecutor ejecutar_;
    gp::Fallo ultimoFallo_;
};

// How often a counter is tried before the naming gives up.
constexpr int IntentosNombreTemporal = 10;

// The short name of a long one: the registered one, else a new row with the next counter
// (tried again with a fresh counter when another session took it); cut to 20 characters.
// Throws gp::DatabaseError with the kind of the failure when no row can be read or written;
// a server that cannot be reached is not asked again, and its failure goes up as it came
// so that it is told as every other statement of the outage is.
QString AbreviarNombreTablaTemporal(const QString &nombreLargo, const QString &propietario,
                                    AlmacenNombresTemporales &almacen);

// What the long names take from the running session.
struct SesionTablasTemporales
{
    QString direccionMAC;   // ObtenerDireccionMAC("SinSeparadores")
    int numeroSesionRed = 0;
    QString codigoUsuario;
};

// The short name of table number `numeroTabla` of an owner (its component name, "Unknown"
// for a table without owner).
QString NombreTablaTemporal(const QString &propietario, int numeroTabla, const SesionTablasTemporales &sesion,
                            AlmacenNombresTemporales &almacen);
