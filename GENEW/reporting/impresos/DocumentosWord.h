#pragma once
#include <QString>
#include <QList>
#include <functional>
#include <optional>

// The Word documents a layout lists in its option `DocumentosAdjuntos`: entries separated by
// ",", each a file name, or a name built from a field of the documents table
// ("<folder>/Camp=<field>.<extension>" names "<folder>/<the field's value>.<extension>").

// The value of a field of the document in hand; none when the table has no such field.
using ValorCampoDocumento = std::function<std::optional<QString>(const QString &campo)>;

// One job: the document's code (the text of the table's first field) and the file. Kept as
// two texts, so that a code holding "|" still finds its document.
struct TrabajoWord
{
    QString codigo;
    QString fichero;
    bool operator==(const TrabajoWord &) const = default;
};

// The jobs of one document, in the order of the entries. An entry naming a field the table
// does not have gives no job.
QList<TrabajoWord> TrabajosDocumentoWord(const QString &documentosAdjuntos, const QString &codigo,
                                         const ValorCampoDocumento &valorCampo);
