#pragma once
#include <QString>

// The SQL Server password is kept in the settings file scrambled with a fixed key: each
// character's code XOR a key letter, written as three decimal digits.
QString CifrarClave(const QString &texto);
QString DescifrarClave(const QString &texto);
