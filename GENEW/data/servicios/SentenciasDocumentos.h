#pragma once
#include <QHash>
#include <QString>

// The statements of the electronic-documents window on DOCUTRON, in the program's SQL
// (the engines' dialects adapt "SELECT TOP 1" and "DELETE <table>").
namespace sentenciasDocumentos {

QString Documentos(const QString &tabla, const QString &clave);
QString Descripcion(const QString &tabla, const QString &clave, const QString &nombre);
QString Eliminar(const QString &tabla, const QString &clave, const QString &nombre);
QString ActualizarDescripcion(const QString &tabla, const QString &clave, const QString &nombre,
                              const QString &descripcion);

// The records of the table that have documents, in text order of their key.
enum class Movimiento { Primero, Anterior, Siguiente, Ultimo };
QString Navegar(Movimiento movimiento, const QString &tabla, const QString &clave);

// The mail address of a customer or supplier by its numeric code.
QString DireccionCorreo(const QString &tabla, qint64 codigo);

// Why a new row cannot be stored whole: the first of its texts (table, key, name, location)
// longer than its column, as "el nombre tiene 156 caracteres y el campo admite 100"; empty
// when every one fits. anchos: the columns' declared widths by name in lower case (a column
// missing or of width 0 takes any length).
QString MotivoNoCabe(const QString &tabla, const QString &clave, const QString &nombre, const QString &ubicacion,
                     const QHash<QString, int> &anchos);

// A new row. Name and location are stored exactly as given; in the description every line
// break is stored as CR LF and a "·" as a line break, as the program's record texts carry
// them. An empty value leaves its column out.
QString Insertar(const QString &tabla, const QString &clave, const QString &nombre, const QString &ubicacion,
                 const QString &descripcion);

} // namespace sentenciasDocumentos
