#pragma once
#include <QString>

// The plain readers of typed numbers and the case conversion of texts, shared by the data
// layer and the program's routines. Numbers follow the regional settings of ajustesComunes().

// Readers without messages: false when the text is not such a number. A floating number
// uses the system's decimal separator and no thousands separator.
bool LeerEntero(const QString &texto, int &valor);
bool LeerDecimal(const QString &texto, double &valor);

// Upper and lower case letter by letter, accented letters included; the length never changes.
QString Mayusculas(const QString &texto);
QString Minusculas(const QString &texto);
