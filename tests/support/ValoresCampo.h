#pragma once
// What a person types into a field of each kind: values the field takes, a value it must
// refuse, and whether a stored value is the one typed.
#include "platform/data/Field.h"

#include <QDate>
#include <QTime>
#include <QVariant>
#include <cmath>

namespace gptest {

enum class ClaseCampo { Texto, Entero, Decimal, Fecha, Hora, Memo, Otro };

inline ClaseCampo claseDeCampo(const plat::Field &campo)
{
    switch (campo.dataType()) {
    case ftString: return ClaseCampo::Texto;
    case ftSmallint: case ftInteger: case ftWord: return ClaseCampo::Entero;
    case ftFloat: case ftCurrency: case ftBCD: return ClaseCampo::Decimal;
    case ftDate: case ftDateTime: return ClaseCampo::Fecha;
    case ftTime: return ClaseCampo::Hora;
    case ftMemo: case ftFmtMemo: return ClaseCampo::Memo;
    default: return ClaseCampo::Otro;
    }
}

struct ValoresCampo
{
    QString valido;      // typed first, and again after the refused one
    QString rechazado;   // empty when the kind takes any text
};

// The values of the n-th record the walk types (n from 1); a text fits the field's size.
inline ValoresCampo valoresDeCampo(const plat::Field &campo, int n)
{
    switch (claseDeCampo(campo)) {
    case ClaseCampo::Texto: {
        const QString texto = QStringLiteral("Valor %1").arg(n);
        return {campo.size() > 0 ? texto.right(campo.size()) : texto, {}};
    }
    case ClaseCampo::Entero: return {QString::number(n), QStringLiteral("abc")};
    case ClaseCampo::Decimal: return {QStringLiteral("%1,5").arg(10 + n), QStringLiteral("abc")};
    case ClaseCampo::Fecha:
        return {QDate(2027, 3, 1).addDays(n % 28).toString(QStringLiteral("dd/MM/yyyy")), QStringLiteral("31/02/2027")};
    case ClaseCampo::Hora: return {QTime(8 + n % 10, 30).toString(QStringLiteral("HH:mm")), QStringLiteral("25:61")};
    case ClaseCampo::Memo: return {QStringLiteral("Nota %1").arg(n), {}};
    case ClaseCampo::Otro: break;
    }
    return {};
}

// A code no other record of the walk takes: texts within the field's size, numbers in range
// and going down, so that none is the next number a window gives a new record itself.
inline QString codigoDeCampo(const plat::Field &campo, int n)
{
    if (claseDeCampo(campo) == ClaseCampo::Entero)
        return QString::number(9000 - n);
    return QStringLiteral("W%1").arg(n).right(campo.size() > 0 ? campo.size() : 8);
}

// Whether the value read back (from the field or the database) is what was typed.
inline bool coincide(ClaseCampo clase, const QVariant &valor, const QString &tecleado)
{
    switch (clase) {
    case ClaseCampo::Entero:
    case ClaseCampo::Decimal: {
        bool numero = false;
        const double esperado = QString(tecleado).replace(u',', u'.').toDouble(&numero);
        return numero && std::abs(valor.toDouble() - esperado) < 1e-6;
    }
    case ClaseCampo::Fecha:
        return valor.toDate() == QDate::fromString(tecleado, QStringLiteral("dd/MM/yyyy"))
            || valor.toDateTime().date() == QDate::fromString(tecleado, QStringLiteral("dd/MM/yyyy"));
    default:
        return valor.toString().trimmed() == tecleado.trimmed();
    }
}

} // namespace gptest
