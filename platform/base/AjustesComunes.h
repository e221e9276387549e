#pragma once
#include <QChar>
#include <QString>

// The process-wide settings that the common routines read. They hold the defaults of a
// Spanish installation until start-up fills them from the settings file and the database
// settings; after start-up they are only read. One instance per process: ajustesComunes().
struct AjustesComunes
{
    // Format of the dates the program writes into SQL text ("mm/dd/yyyy" unless the settings
    // say otherwise). Change it through ponerFormatoFechaSQL so that FechaCeroSQL follows.
    QString FormatoFechaSQL = QStringLiteral("mm/dd/yyyy");

    // The zero date ("no date") as the program writes it into SQL text; derived from
    // FormatoFechaSQL.
    QString FechaCeroSQL = QStringLiteral("12/30/1899 00:00:00");

    // Regional settings the number and date conversions follow (the program runs with
    // Spanish settings: day/month/year, decimal comma, thousands point).
    QChar SeparadorDecimal = QLatin1Char(',');
    QChar SeparadorMiles = QLatin1Char('.');
    QChar SeparadorFecha = QLatin1Char('/');
    QChar SeparadorHora = QLatin1Char(':');
    // Order and width of the date as the user types and reads it ("dd/mm/yyyy").
    QString FormatoFechaCorta = QStringLiteral("dd/mm/yyyy");
    // Time of day as written after a date ("hh:nn:ss").
    QString FormatoHoraLarga = QStringLiteral("hh:nn:ss");

    // Sets the SQL date format and the zero-date text that goes with it.
    void ponerFormatoFechaSQL(const QString &formato);

    // "30/12/1899 00:00:00" for the format "dd/mm/yyyy", else "12/30/1899 00:00:00".
    static QString fechaCeroSQLDeFormato(const QString &formato);
};

AjustesComunes &ajustesComunes();
