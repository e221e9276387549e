#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The operator-code swap without a database: which column of which table holds an
// operator code, the ordered statements that move one code to another, the reading of the
// equivalence file, and the run of one pair over an executor that owns the transaction.
namespace intercambio {

// A column of the company database holding an operator code; `condicion` is a fixed SQL
// condition (no user value) that selects the rows where the column is an operator.
struct ColumnaOperario
{
    QString tabla;
    QString columna;
    QString condicion;
};

// The columns rewritten for every pair, in the order they are rewritten.
const QList<ColumnaOperario> &ColumnasOperario();
// The side rows keyed by (table name, operator code): documents, analysis groups, contacts.
const QList<ColumnaOperario> &ColumnasLateralesOperario();

// One pair of operator codes, read as integers.
struct ParejaCodigos
{
    qint64 origen = 0;
    qint64 destino = 0;
    bool operator==(const ParejaCodigos &) const = default;
};

// The pair of two typed or imported texts, or the runtime's own conversion text of the first
// that is not an integer ("'x' is not a valid integer value"), which the window shows through
// the exception translation like any other failed conversion.
struct LecturaPareja
{
    std::optional<ParejaCodigos> pareja;
    QString error;
};
LecturaPareja LeerPareja(const QString &origen, const QString &destino);

enum class AccionPaso { Reemplazar, Eliminar };

// One statement of a swap: rewrite `columna` from `valor` to `nuevoValor`, or delete the
// rows whose `columna` is `valor`; values are the codes' plain decimal text.
struct PasoIntercambio
{
    AccionPaso accion = AccionPaso::Reemplazar;
    QString tabla;
    QString columna;
    QString condicion;
    QString valor;
    QString nuevoValor;
    bool operator==(const PasoIntercambio &) const = default;
};

// The ordered statements of one pair: every operator column, then the operator record
// (deleted when the destination already exists: a merge; renumbered otherwise), then its
// side rows. A pair whose codes are equal has no statement.
QList<PasoIntercambio> PlanIntercambio(const ParejaCodigos &pareja, bool destinoExiste);

// What runs the statements of a pair on a database, inside one transaction.
class EjecutorIntercambio
{
public:
    virtual ~EjecutorIntercambio() = default;
    virtual void iniciar() = 0;
    virtual void confirmar() = 0;
    virtual void cancelar() = 0;
    virtual bool existeOperario(qint64 codigo) = 0;
    // Runs one statement; answers false after adding its incidents.
    virtual bool ejecutar(const PasoIntercambio &paso, QStringList &incidencias) = 0;
};

enum class ResultadoPareja { Terminada, Omitida, Fallida };

// Runs one pair in one transaction: every statement or none. Any incident rolls the
// whole pair back (no reference is left naming a deleted operator).
ResultadoPareja IntercambiarPareja(const ParejaCodigos &pareja, EjecutorIntercambio &ejecutor,
                                   QStringList &incidencias);

// The equivalence file: one "origin<separator>destination" per line.
struct LineaEquivalencia
{
    QString origen;
    QString destino;
    bool operator==(const LineaEquivalencia &) const = default;
};
// The pieces of every non-empty line (a final line break adds no row).
QList<LineaEquivalencia> LeerEquivalencias(const QString &texto, QChar separador);
// The text of the pairs, lines ended by CR LF.
QString EscribirEquivalencias(const QList<LineaEquivalencia> &lineas, QChar separador);

} // namespace intercambio
