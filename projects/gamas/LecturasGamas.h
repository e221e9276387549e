#pragma once
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// A line of the order list "ejercicio/numero"; nothing when it is not two whole numbers.
std::optional<std::pair<int, int>> LeerNumeroOrden(const QString &linea);
// The range codes of an article's text, one a line (CR LF or LF), each once, in the order
// first met; empty lines are no code.
QStringList LeerCodigosGama(const QString &texto);
