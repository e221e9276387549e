#pragma once
#include "platform/base/EngineKind.h"

#include <QString>

// The five database settings, read from the Name=Value lines of BASESDATOS.TXT in the
// working directory before anything else. A setting that is absent or empty takes its
// default, so a fresh installation runs on the embedded engine in "datos".
struct ConfiguracionBasesDatos
{
    static constexpr const char *NombreArchivo = "BASESDATOS.TXT";
    static constexpr const char *ValorDirectorioPrivado = "PrivateDir";

    // TipoBaseDatos, read once ("Paradox" when absent).
    plat::EngineKind Motor = plat::EngineKind::SQLite;
    QString AliasBaseDatosGeneral = QStringLiteral("GENERAL");
    QString PathBaseDatosGeneral = QStringLiteral("datos");
    QString AliasBaseDatos = QStringLiteral("EMPRESA");
    QString PathArchivosTemporales;

    // Why these settings cannot be used, found while reading: the file exists but cannot be
    // read, or a folder is written the Windows way. motivoRechazo() reports it.
    QString motivoLectura;

    // Reads the file of the working directory (which ends in "/"); a missing file leaves
    // every default, one that cannot be read is refused. Relative folders become absolute
    // from the working directory.
    static ConfiguracionBasesDatos leer(const QString &directorioTrabajo);

    // The same from the file's text (Name=Value lines). The engine word is matched ignoring
    // case and kept in its own spelling.
    static ConfiguracionBasesDatos deTexto(const QString &texto, const QString &directorioTrabajo);

    // The folder of a first run ("datos" of the working directory): the only database folder
    // the program makes without being told to.
    static QString carpetaPorDefecto(const QString &directorioTrabajo);

    // Temporary tables live in a database (not a folder) when their place names no folder.
    bool temporalesEnBaseDatos() const;

    // Replaces the value "PrivateDir" of PathArchivosTemporales by the given folder.
    void sustituirDirectorioPrivado(const QString &directorioPrivado);

    // Empty when the settings can be used, else the message that ends the start-up: the
    // reading's reason, or the refusal of the engine word (plat::engineRefusal).
    QString motivoRechazo() const { return motivoLectura.isEmpty() ? rechazoMotor_ : motivoLectura; }

private:
    QString rechazoMotor_;
};

// A folder written for Windows: a drive letter ("C:") or a "\" in it.
bool EsRutaWindows(const QString &ruta);
