#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace plat {

// Variables of stored SQL text: ":" + a kind character ("$" text, "#" number, "&" date,
// "*" list) + a name (ending at a blank, a bracket, a comma, a line break or a quote); the
// kind character is part of the name. The text is cut at every
// ":" and the pieces are read from the first, up to the first empty piece; a name met
// again is listed as name + "_" + (entries listed so far - 1).
QStringList sqlVariableNames(const QString &sql);

// The items of a typed "*" list's value: the text cut at its commas, one trailing comma
// dropped and the blanks around each item removed; an empty text is one empty item (so a
// list left empty binds one empty text and matches nothing).
QStringList sqlListItems(const QString &text);

// The statement as the driver takes it: each variable and each plain ":name" parameter
// outside quotes becomes a positional "?" (or, with a prefix, the named placeholder
// ":<prefix><n>", n from 0); `placeholders` names them in order. A "*" list whose
// parameter holds items (`listItems` answers how many; -1 when it holds no list) becomes
// one placeholder per item, "?, ?", `items` giving each one's item (-1 for a single value);
// a list without one stays in the text as written. A variable inside a quoted literal is
// part of the literal's text: `literalText` gives its value as text (a list's items joined
// by ","), written with the literal's quote doubled (a placeholder inside quotes would be no
// parameter at all). `names` lists every variable and parameter in the order they appear,
// bound or written.
struct DriverStatement
{
    QString sql;
    QStringList placeholders;
    QStringList names;
    QList<int> items;
};
using LiteralText = std::function<QString(const QString &name)>;
using ListItems = std::function<int(const QString &name)>;
DriverStatement toDriverStatement(const QString &sql, const QString &namedPrefix = QString(),
                                  const LiteralText &literalText = {}, const ListItems &listItems = {});

} // namespace plat
