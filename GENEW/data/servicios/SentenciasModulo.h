#pragma once
#include "GENEW/runtime/comun/TipoCampo.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// The SQL texts that the data module writes around the statements it runs: the INSERT of a
// text record, the UPDATE of memo columns
// and the copy of a query's result into a server table.

// A text record: first line the table name, then one Name=Value line per field; "·" in a
// value stands for a line break. Lines with an empty name or value are left out.
struct RegistroTexto
{
    QString tabla;
    QList<QPair<QString, QString>> campos;
};
RegistroTexto LeerRegistroTexto(const QString &texto);

// "INSERT INTO <table> (<names>)  VALUES (<quoted values>) " for a text record; the values
// keep their quotes (doubled) and line breaks.
QString SentenciaInsertarRegistro(const QString &texto);

// A field of the current record, as the statement builders need it.
struct CampoSentencia
{
    QString nombre;
    TFieldType tipo = ftString;
    QVariant valor;
    int tamano = 0;
    bool requerido = false;
};

// "UPDATE <table>  SET <memo> = '<text>', ...  WHERE <key> = <value> AND ..." writing the
// memo columns of one record by its key, an empty memo as NULL; empty when there is no
// memo or no key field.
QString SentenciaGrabarMemos(const QString &tabla, const QList<CampoSentencia> &memos,
                             const QList<CampoSentencia> &claves);

// The column list of a server table that holds a query's result, one column per field;
// the separator after the last column stays, as the server accepts it.
QString ColumnasTablaTemporalConsulta(const QList<CampoSentencia> &campos);

// The statements that copy a query's result into the server table `nombre` of the
// general database: drop it, create it, fill it from the query text (run on the company
// database), and the query that reads it back.
struct SentenciasTablaTemporal
{
    QString borrar;
    QString crear;
    QString insertar;
    QString consultar;
};
SentenciasTablaTemporal SentenciasTablaTemporalConsulta(const QString &nombre, const QString &baseDatosGeneral,
                                                         const QList<CampoSentencia> &campos,
                                                         const QString &textoConsulta);
