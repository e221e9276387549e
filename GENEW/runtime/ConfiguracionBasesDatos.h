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

    // Reads the file of the working directory (which ends in "/"); a missing or unreadable
    // file leaves every default. Relative folders become absolute from the working directory.
    static ConfiguracionBasesDatos leer(const QString &directorioTrabajo);

    // The same from the file's text (Name=Value lines).
    static ConfiguracionBasesDatos deTexto(const QString &texto, const QString &directorioTrabajo);

    // Temporary tables live in a database (not a folder) when their place names no folder.
    bool temporalesEnBaseDatos() const;

    // Replaces the value "PrivateDir" of PathArchivosTemporales by the given folder.
    void sustituirDirectorioPrivado(const QString &directorioPrivado);

    // Empty when this platform can run the configured engine, else the message that ends
    // the start-up (plat::engineRefusal of the word).
    QString motivoRechazo() const { return rechazoMotor_; }

private:
    QString rechazoMotor_;
};
