#pragma once
#include "platform/base/Errores.h"

#include <QString>

// What the program does with an exception that no form handled: the engine's and the class
// library's English texts become Spanish warnings, a second group ends the program as
// errors, a few are ignored, anything else is shown unchanged as a warning.
struct TraduccionExcepcion
{
    enum class Clase {
        Ignorar,          // nothing is shown (the cursor goes back to the arrow)
        Advertencia,      // message of kind "A"
        Error,            // message of kind "E": the program ends
        AvisoDelSistema,  // a plain system message box; nothing else happens
    };

    Clase clase = Clase::Advertencia;
    QString texto;                     // what to show (may start with "TRADUCIR: ")
    bool cerrarFormularioDelRemitente = false;   // the raising grid's form is closed
    bool registrarTraza = false;       // the text goes to the error-trace hook

    // "A", "E" or empty (nothing goes through the message form).
    QString tipoMensaje() const;
};

// mensaje: the exception's text; remitenteEsRejilla: the object whose event raised it is a
// data grid; nivelCapturaIncidencias: the setting of that name ("Maximo" traces everything);
// tipo: an engine failure's kind, which decides before the text for the kinds that have no
// engine text of their own (a record another user changed, a server that cannot be reached).
TraduccionExcepcion TraducirExcepcion(const QString &mensaje, bool remitenteEsRejilla,
                                      const QString &nivelCapturaIncidencias,
                                      gp::DatabaseErrorKind tipo = gp::DatabaseErrorKind::Other);

// The Spanish form of an engine text marked for translation: a text holding "TRADUCIR:" loses
// its first ten characters ("TRADUCIR: ") and the known engine phrases are put in Spanish.
// A text without the mark comes back unchanged.
QString TraducirTextoMarcado(const QString &texto);

// The reason of an engine failure as the user reads it after "Motivo: ": the Spanish
// message of its kind, when the failure is of a known kind, then the driver's own words.
QString MotivoFallo(const gp::Fallo &fallo);
