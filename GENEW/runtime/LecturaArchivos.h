#pragma once
#include <QString>
#include <optional>

// The exact path when it exists, else a file of the same folder whose name differs only
// in case (installations copied from another system keep mixed-case names), else the path
// unchanged.
QString LocalizarArchivo(const QString &ruta);

// The text of a file, read as UTF-8, or as Windows-1252 when the bytes are not valid
// UTF-8; nothing when it cannot be read (missing, a folder, no permission).
std::optional<QString> LeerArchivoTexto(const QString &ruta);
