#pragma once
#include <QString>
#include <QStringList>

namespace plat {

// Variables of stored SQL text: ":" + a kind character ("$" text, "#" number, "&" date,
// "*" list) + a name; the kind character is part of the name. The text is cut at every
// ":" and the pieces are read from the first, up to the first empty piece; a name met
// again is listed as name + "_" + (entries listed so far - 1).
QStringList sqlVariableNames(const QString &sql);

// The statement as the driver takes it: each variable (except "*" lists, which callers
// put into the text themselves) and each plain ":name" parameter outside quotes becomes a
// positional "?" (or, with a prefix, the named placeholder ":<prefix><n>", n from 0);
// `placeholders` names them in order.
struct DriverStatement
{
    QString sql;
    QStringList placeholders;
};
DriverStatement toDriverStatement(const QString &sql, const QString &namedPrefix = QString());

} // namespace plat
