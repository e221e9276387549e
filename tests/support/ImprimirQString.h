#pragma once
#include <QString>
#include <ostream>

// Failure messages show texts as text.
inline void PrintTo(const QString &texto, std::ostream *salida)
{
    *salida << '"' << texto.toStdString() << '"';
}
