#pragma once
#include "GENEW/runtime/estructura/CreacionTabla.h"

#include <QHash>
#include <functional>

class ConexionesPrograma;
class DataSetAbrible;
struct NombresCreacionTablas;

// The creation's transactions on the program's connections, by connection word or database name.
class TransaccionesConexiones final : public estructura::TransaccionesCreacion
{
public:
    explicit TransaccionesConexiones(ConexionesPrograma &conexiones) : conexiones_(conexiones) {}
    void iniciarTransaccion(const QString &conexion) override;
    void confirmarTransaccion(const QString &conexion) override;
    void deshacerTransaccion(const QString &conexion) override;
    void confirmarConLaSiguiente(const QString &conexion) override;

private:
    ConexionesPrograma &conexiones_;
};

// Table creation carried out on the program's connections: statements on the server
// engines, the engine's own table creation on the file engine, the table component
// being created, and company 1 of a new EMPRESA table.
class EjecutorCreacionPrograma : public estructura::EjecutorCreacionTabla
{
public:
    struct Entorno
    {
        QString pathBaseDatosGeneral;
        QString directorioTrabajo;
        QString directorioInstalacion;
        std::function<void(const QString &tipo, const QString &texto)> mostrarMensaje;
        std::function<QString(const QString &sql, const QString &baseDatos, const QString &opciones)> ejecutarSQL;
        std::function<void(const QString &alias, int empresa)> conectarBaseDatosAlt;
        std::function<void()> crearBaseDatosEmpresa1;
        // The work tables made in this run, by database and name, with their definitions; none:
        // each is made anew.
        QHash<QString, QString> *tablasTrabajo = nullptr;
    };

    EjecutorCreacionPrograma(ConexionesPrograma &conexiones, DataSetAbrible &tabla, const NombresCreacionTablas &nombres,
                             Entorno entorno);

    void mostrarMensaje(const QString &tipo, const QString &texto) override;
    void cursorEspera(bool activo) override;
    QString ficheroDefinicionesBaseDatos() override;
    const estructura::LectorFicheros &lectorFicheros() override { return lector_; }
    QString nombreTablaTemporal(const QString &propietario, int numero) override;
    QString nombreTablaSQL(const QString &tabla) override;
    QString quitarPropietarioTabla(const QString &tabla) override;
    QString nombreIndice(const QString &tabla, const QString &indice) override;
    void conectarBaseDatosAlt(const QString &alias, int empresa) override;
    QStringList nombresTablas(const QString &conexion) override;
    QString nombreBaseDatos(const QString &conexion) override;
    QList<estructura::FilaCampoUsuario> camposUsuario() override;
    void cerrarTabla(const estructura::TablaCreacion &tabla) override;
    void prepararTabla(const estructura::TablaCreacion &tabla, bool motorFicheros) override;
    void terminarCreacion(const estructura::TablaCreacion &tabla) override;
    bool abrirTablaExclusiva(const estructura::TablaCreacion &tabla) override;
    void iniciarTransaccion(const QString &conexion) override { transacciones_.iniciarTransaccion(conexion); }
    void confirmarTransaccion(const QString &conexion) override { transacciones_.confirmarTransaccion(conexion); }
    void deshacerTransaccion(const QString &conexion) override { transacciones_.deshacerTransaccion(conexion); }
    void confirmarConLaSiguiente(const QString &conexion) override { transacciones_.confirmarConLaSiguiente(conexion); }
    void ejecutarSentencia(const QString &baseDatos, const QString &sentencia) override;
    void ejecutarSQLSilencioso(const QString &baseDatos, const QString &sentencia) override;
    void bloquearCreacion(const QString &conexion, const QString &tabla) override;
    bool creaSiFalta(const QString &baseDatos) override;
    bool crearSiFalta(const QString &baseDatos, const QString &tabla, const QStringList &sentencias) override;
    bool crearTablaMotor(const estructura::TablaCreacion &tabla, const estructura::DefinicionesTabla &definiciones) override;
    void insertarEmpresa1(const estructura::TablaCreacion &tabla, const QString &nombre, const QString &abreviatura) override;
    void cancelarInsercion(const estructura::TablaCreacion &tabla) override;
    void crearBaseDatosEmpresa1() override;
    void anotarTablaTrabajo(const estructura::TablaCreacion &tabla, const QString &definicion) override;
    bool vaciarTablaTrabajo(const estructura::TablaCreacion &tabla, const QString &definicion) override;

private:
    void apuntar(const estructura::TablaCreacion &tabla);

    ConexionesPrograma &conexiones_;
    TransaccionesConexiones transacciones_;
    DataSetAbrible &tabla_;
    const NombresCreacionTablas &nombres_;
    Entorno entorno_;
    estructura::LectorFicherosDisco lector_;
};
