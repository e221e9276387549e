#pragma once
#include "projects/operarios/IntercambioOperarios.h"

#include <functional>

namespace plat {
class Connection;
}

// The operator-code swap's statements on a company connection: values bound, each row
// rewritten by its primary key, the pair's transaction on the connection. On PostgreSQL
// the connection's savepoint per statement keeps the transaction usable after a failure,
// so the incidents of a pair are all collected before it is rolled back.
class EjecutorIntercambioSQL : public intercambio::EjecutorIntercambio
{
public:
    explicit EjecutorIntercambioSQL(plat::Connection &db) : db_(db) {}

    void iniciar() override;
    void confirmar() override;
    void cancelar() override;
    bool existeOperario(qint64 codigo) override;
    bool ejecutar(const intercambio::PasoIntercambio &paso, QStringList &incidencias) override;

    // Told of every statement before it runs ("Procesando <column> <code> tabla <table>").
    std::function<void(const QString &)> AlProcesar;

protected:
    plat::Connection &conexion() const { return db_; }

private:
    bool reemplazar(const intercambio::PasoIntercambio &paso, QStringList &incidencias);
    bool eliminar(const intercambio::PasoIntercambio &paso, QStringList &incidencias);
    // The code as the column stores it: a number for numeric columns, its text otherwise.
    QVariant valorColumna(const QString &tabla, const QString &columna, const QString &codigo);

    plat::Connection &db_;
};
