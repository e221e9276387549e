#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files of the program. Files are read as UTF-8 and, when their bytes are not valid
// UTF-8 (installations copied from Windows), as Windows-1252; a file that begins with a
// UTF-16 byte-order mark (what Windows editors save as "Unicode") as UTF-16. The program
// writes UTF-8.

// The bytes as text: UTF-16 after its byte-order mark, UTF-8 (a leading byte-order mark is
// dropped), else Windows-1252.
QString TextoDeBytes(const QByteArray &bytes);

// The same, false when the bytes are no text in any of those forms (malformed UTF-16, or
// bytes holding NUL without a UTF-16 mark).
bool DecodificarTexto(const QByteArray &bytes, QString &texto);

// The path of an existing file: the path as given when it exists, else a file of the same
// folder whose name differs only in case; the path as given when neither exists.
QString LocalizarFichero(const QString &ruta);

// What reading a text file gave: whether something of that name exists, its text, and,
// when it could not be read, why (the system's reason, or that its bytes are no text).
struct LecturaFicheroTexto
{
    QString ruta;          // the path found through LocalizarFichero
    bool existe = false;
    bool leido = false;
    QString texto;
    QString motivo;

    // Something is there but it could not be read.
    bool ilegible() const { return existe && !leido; }
    // "No está disponible el archivo <ruta>. Motivo: <motivo>"
    QString textoNoDisponible() const;
};
LecturaFicheroTexto LeerFicheroTextoConMotivo(const QString &fichero);

// A settings file (BASESDATOS.TXT, ALIAS.INI): read as LeerFicheroTextoConMotivo, and refused
// when its text holds a control character no text editor writes (any but tab, CR and LF):
// random bytes without a NUL read as Windows-1252 would otherwise pass for settings.
LecturaFicheroTexto LeerFicheroAjustesConMotivo(const QString &fichero);

// The whole text of a file (found through LocalizarFichero). *leido tells whether the
// file could be read; a file that cannot be read gives the empty text.
QString LeerFicheroTexto(const QString &fichero, bool *leido = nullptr);

// Writes the text as UTF-8, replacing the file; false when it cannot be written.
bool EscribirFicheroTexto(const QString &fichero, const QString &texto);

// The value of a name in a file of Name=Value lines; the default for a missing or empty
// value and for a file that cannot be read.
QString LeerValorTexto(const QString &fichero, const QString &nombre, const QString &defecto);

// INI files: "[section]" headers, then lines of key "=" value. Sections and keys are
// found ignoring case; accents are kept ("Configuración").
// Writes one key, creating the file or the section when missing; raises gp::Error when
// the file cannot be written.
void EscribirINI(const QString &fichero, const QString &seccion, const QString &clave, const QString &valor);
// The value of one key; the default when the file, the section or the key is missing.
QString LeerINI(const QString &fichero, const QString &seccion, const QString &clave,
                const QString &defecto = QString());
// The key "=" value lines of one section, in file order.
QStringList LeerSeccionINI(const QString &fichero, const QString &seccion);
