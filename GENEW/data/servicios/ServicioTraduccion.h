#pragma once
#include "GENEW/data/servicios/CacheTraducciones.h"

#include <QString>

// What the translation service needs of the data module: the state of the general
// database, the user's language, the TXIDIOMA questions and how the engine compares
// ClaveTexto ignoring case and accents.
class FuenteTraducciones
{
public:
    virtual ~FuenteTraducciones() = default;
    virtual bool conectada() const = 0;
    // The user's language (a line of the language list); empty means no translation.
    virtual QString idiomaUsuario() const = 0;
    // A SELECT on the general database, run without messages: its answer, or the SQL
    // service's error answer.
    virtual QString consultar(const QString &sql) = 0;
    // "ClaveTexto <op> <literal>" as this engine writes a comparison that ignores case
    // and accents (for "=" and LIKE alike).
    virtual QString compararClave(const QString &op, const QString &literal) const = 0;
    // What ends every look-up (the collation clause of SQL Server), or empty.
    virtual QString clausulaIntercalacion() const = 0;
};

// The texts the program shows, translated at run time through TXIDIOMA into the user's
// language, with the answers kept in the process-wide cache. A failing question counts as
// no translation: nothing is cached and the text comes back unchanged.
class ServicioTraduccion
{
public:
    ServicioTraduccion(FuenteTraducciones &fuente, CacheTraducciones &cache) : fuente_(fuente), cache_(cache) {}

    // A caption with accelerator marks that comes back as itself without them is also
    // remembered without them, so that it is never looked up again.
    bool entradaSinAcelerador = true;

    QString Traducir(const QString &texto);
    // variables: Name=Value lines, each "$" + Name replaced by its (translated) value.
    // An empty language means the user's.
    QString TraducirTexto(const QString &texto, const QString &variables, const QString &idioma);
    QString TraducirClave(const QString &texto);
    QString TraducirPatron(const QString &texto);
    QString TraducirLista(const QString &lista);

private:
    void anadirSinTraduccion(const QString &texto);
    QString clave(const QString &texto, const QString &idioma);
    QString patron(const QString &texto, const QString &idioma);
    QString palabraAPalabra(const QString &texto, const QString &idioma);
    QString sustituirVariables(QString texto, const QString &variables, const QString &idioma);
    // The answer of a question; a failure is no answer.
    QString respuesta(const QString &sql);
    QString consultaTexto(const QString &idioma, const QString &clave) const;

    FuenteTraducciones &fuente_;
    CacheTraducciones &cache_;
    bool huboFallo_ = false;   // a question failed during the current translation
};
