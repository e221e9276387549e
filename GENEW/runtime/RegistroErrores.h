#pragma once
#include "GENEW/runtime/comun/RutinasFechas.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The error log ERRORES.LOG of the working directory: one entry per failure the program
// records for later diagnosis (date and time, title, text), the newest 1000 kept. Each entry
// is a line "dd/mm/yyyy hh:mm:ss  title" followed by the text's lines, each indented by a tab.
class RegistroErrores
{
public:
    static constexpr const char *NombreArchivo = "ERRORES.LOG";
    static constexpr int MaximoEntradas = 1000;

    struct Entrada
    {
        QDateTime momento;
        QString titulo;
        QString texto;   // lines joined by CR LF
    };

    // directorioTrabajo ends in "/".
    explicit RegistroErrores(const QString &directorioTrabajo);

    // Adds an entry and drops the oldest beyond the maximum. Answers false when the log could
    // not be written; recording a failure never raises one.
    bool anotar(const QString &titulo, const QString &texto,
                const QDateTime &momento = Ahora()) const;

    QList<Entrada> entradas() const;
    QString ruta() const { return ruta_; }

private:
    QString ruta_;
};
