#pragma once
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

// The Name=Value text of a new row for the record insert; line breaks of the description
// travel as "·".
QString RegistroDocumento(const QString &tabla, const QString &clave, const QString &nombre,
                          const QString &ubicacion, const QString &descripcion);

} // namespace sentenciasDocumentos
