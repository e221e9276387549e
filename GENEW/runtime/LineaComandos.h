#pragma once
#include <QString>
#include <QStringList>

// The options the program was started with. Two forms are accepted: options written as
// "U=user", "I=settings file", "T=language" (any case, in any order, a later one winning),
// or, when no argument is written that way, plain words of which the second is the user.
struct OpcionesLineaComandos
{
    QString usuario;               // "U="
    QString archivoConfiguracion;  // "I=" as given (see NombreArchivoConfiguracion)
    QString idioma;                // "T="

    // argumentos: the program's arguments without the program itself.
    static OpcionesLineaComandos leer(const QStringList &argumentos);
};

// The options that start the program again as it was started, for the given current user:
// " U=" user, " I=" settings file, " T=" language, each with a leading blank.
QString LineaComandos(const QString &usuarioActual, const OpcionesLineaComandos &opciones);
