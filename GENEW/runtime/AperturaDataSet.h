#pragma once
#include <QString>
#include <concepts>

namespace plat {
class Connection;
}

// What the start-up form needs of a table or query component to open it on its database
// and to create its table: its names, where it points, and open and close. Table and
// query datasets of the data layer are adapted by DataSetAbribleDe.
class DataSetAbrible
{
public:
    virtual ~DataSetAbrible() = default;
    virtual QString nombreComponente() const = 0;
    virtual QString propietario() const = 0;        // the owning form's or module's name
    virtual QString nombreTabla() const = 0;        // empty for a query
    virtual void ponerNombreTabla(const QString &nombre) = 0;
    virtual QString nombreBaseDatos() const = 0;
    // Points the dataset at a database name and, when the program holds it, its connection.
    virtual void ponerBaseDatos(const QString &nombre, plat::Connection *conexion) = 0;
    virtual bool abierto() const = 0;
    virtual void abrir() = 0;
    virtual void cerrar() = 0;
    virtual void ponerExclusivo(bool exclusivo) = 0;
};

// Adapts any dataset with the data layer's names (name, databaseName, setDatabaseName,
// active, open, close; tables also tableName, setTableName, setConnection, setExclusive).
template<class D>
class DataSetAbribleDe : public DataSetAbrible
{
public:
    explicit DataSetAbribleDe(D &ds, QString propietario = QString())
        : ds_(ds), propietario_(std::move(propietario)) {}

    QString nombreComponente() const override { return ds_.name(); }
    QString propietario() const override { return propietario_; }
    QString nombreTabla() const override
    {
        if constexpr (requires { ds_.tableName(); })
            return ds_.tableName();
        return QString();
    }
    void ponerNombreTabla(const QString &nombre) override
    {
        if constexpr (requires { ds_.setTableName(nombre); })
            ds_.setTableName(nombre);
    }
    QString nombreBaseDatos() const override { return ds_.databaseName(); }
    void ponerBaseDatos(const QString &nombre, plat::Connection *conexion) override
    {
        ds_.setDatabaseName(nombre);
        if constexpr (requires { ds_.setConnection(conexion); }) {
            if (conexion)
                ds_.setConnection(conexion);
        }
    }
    bool abierto() const override { return ds_.active(); }
    void abrir() override { ds_.open(); }
    void cerrar() override { ds_.close(); }
    void ponerExclusivo(bool exclusivo) override
    {
        if constexpr (requires { ds_.setExclusive(exclusivo); })
            ds_.setExclusive(exclusivo);
    }

private:
    D &ds_;
    QString propietario_;
};

// A table component that only reads its table's columns: the start-up's check of the
// user-fields table opens it (creating the table when missing) and closes it again.
class TablaComprobada : public DataSetAbrible
{
public:
    TablaComprobada(QString nombre, QString tabla, QString propietario);
    QString nombreComponente() const override { return nombre_; }
    QString propietario() const override { return propietario_; }
    QString nombreTabla() const override { return tabla_; }
    void ponerNombreTabla(const QString &nombre) override { tabla_ = nombre; }
    QString nombreBaseDatos() const override { return baseDatos_; }
    void ponerBaseDatos(const QString &nombre, plat::Connection *conexion) override;
    bool abierto() const override { return abierto_; }
    void abrir() override;
    void cerrar() override { abierto_ = false; }
    void ponerExclusivo(bool) override {}

private:
    QString nombre_, tabla_, propietario_, baseDatos_;
    plat::Connection *conexion_ = nullptr;
    bool abierto_ = false;
};
