#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace plat {
class Dialect;
}

// The SQL texts of the record services by key. Values and table names reach the text
// quoted (inner quotes doubled), so a key holding a quote is found.
namespace sentenciasRegistros {

// Whether a record with the key exists: the first key field of the rows whose key fields
// equal the key's pieces.
QString ExisteClave(const QString &tabla, const QStringList &camposClave, const QString &clave);

// Some fields of the record with the key, as the SQL Server reader asks them: an empty
// piece matches an empty or NULL value, a piece "d/m/y" is a date.
QString LeerCampos(const QString &tabla, const QString &campos, const QStringList &camposClave, const QString &clave);

// The highest code of the table within the bounds (-1 = none) and with the other key
// fields equal to the given SQL literals; a text code counts only when it reads as a number.
struct CondicionCodigo
{
    QString campo;
    QString valorSQL;
};
QString SiguienteCodigo(const plat::Dialect &dialecto, const QString &tabla, const QString &campoCodigo,
                        bool codigoTexto, int inferior, int superior, const QList<CondicionCodigo> &otrosCampos);

QString DocumentacionElectronica(const QString &tabla, const QString &clave);

QString CodigoOperarioPresencia(int codigo);

// The six deletions of a record's rows in the side tables, each with the warning that
// precedes its answer when it fails.
struct BorradoAsociado
{
    QString sentencia;
    QString mensaje;
};
QList<BorradoAsociado> BorrarAsociados(const QString &tabla, const QString &clave);

} // namespace sentenciasRegistros
