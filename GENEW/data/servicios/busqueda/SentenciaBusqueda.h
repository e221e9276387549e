#pragma once
#include <QList>
#include <QPair>
#include <QString>

namespace plat {
class Dialect;
}

// How the datum is compared with the searched fields.
enum class ModoBusqueda { Aproximada, Parcial, Fonetica };

// What one search of the standard search form asks for.
struct PeticionBusqueda
{
    QString tabla;              // SQL name as the engine reaches it
    QString campos;             // searched fields, ";"-joined
    QString dato;               // one value per field, ";"-joined (see normalizarDato)
    QString filtro;             // the caller's SQL condition; empty: none
    QString columnas;           // the select list
    ModoBusqueda modo = ModoBusqueda::Aproximada;
    bool ordenada = false;
    QString limite;             // "1", "10", "100", "1000" or "Ilimitado"
};

// Writes the statements of the record search for one engine. No widgets and no connection:
// what it writes depends only on the request and the dialect. Values always reach the text
// as literals the dialect (or Entrecomillar) writes, so no datum can end a literal early.
class SentenciaBusqueda
{
public:
    explicit SentenciaBusqueda(const plat::Dialect &dialecto) : dialecto_(dialecto) {}

    // The datum with every "," turned into ";", as the form shows it back.
    static QString normalizarDato(const QString &dato);
    // The rows a limit text allows: -1 for "Ilimitado"; 0 or a text that is not a number
    // counts as 1.
    static int filasLimite(const QString &limite);
    // Whether the search reads its rows with a limit at all (only SQL Server takes one).
    bool admiteLimite() const;

    // " (F1 = 'v1') AND  (F2 >= 'v2') " and its partial and phonetic forms; empty when the
    // datum gives no value for the first field.
    QString condicion(const QString &campos, const QString &dato, ModoBusqueda modo) const;
    static QString parteWhere(const QString &condicion, const QString &filtro);
    static QString parteOrden(const QString &campos, bool ordenada);
    QString sentencia(const PeticionBusqueda &peticion) const;

    // The approximate form's search: every (column, value) with a value is a "contains"
    // comparison; empty when no value was given.
    QString condicionAproximacion(const QList<QPair<QString, QString>> &valores) const;
    QString sentenciaAproximacion(const QString &tabla, const QString &condicion) const;
    // The value widened into letter classes that tolerate accents and letter variants
    // ("García" -> "g[aá]r[ck][iíy][aá]"), as SQL Server's LIKE reads them.
    static QString clasesLetras(const QString &valor);

private:
    QString literal(const QString &campo, const QString &valor, ModoBusqueda modo) const;
    QString comparacion(const QString &campo, const QString &valor, bool ultimo, ModoBusqueda modo) const;
    bool esSQLServer() const;

    const plat::Dialect &dialecto_;
};
