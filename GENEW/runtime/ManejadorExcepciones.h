#pragma once
#include "platform/base/Gancho.h"

#include <QString>

#include <exception>
#include <functional>

class QObject;

// The application's handler of exceptions that no form handled: it translates the text
// (TraducirExcepcion) and reports it through the message routines, sets the cursor, closes a
// grid's form when the grid cannot hold its memo fields, and hands errors to the trace hook.
// It never raises.
class ManejadorExcepciones
{
public:
    // The setting of that name: "Maximo" traces every exception, not only errors.
    QString nivelCapturaIncidencias = QStringLiteral("Minimo");

    // The error-trace hook of the user logs; nothing until the data module installs its own.
    using TrazaErrorFn = std::function<void(const QString &mensaje, QObject *remitente)>;
    Gancho<TrazaErrorFn> trazaError;

    // The plain system message box (not the program's message window): MensajeSistema.
    std::function<void(const QString &texto)> cuadroSistema;

    ManejadorExcepciones();

    void GestionExcepciones(QObject *Sender, const std::exception &E);

    // Becomes the application's exception handler, for a session that has told the user nothing yet.
    void instalar();
};
