#include "GENEW/data/servicios/CamposSolicitados.h"

namespace {

const QString kRegistradoPor = QStringLiteral("RegistradoPor");
const QString kFechaRegistro = QStringLiteral("FechaRegistro");

// The items of a code list up to the first empty one.
QStringList itemsHastaVacio(const QString &lista)
{
    QStringList items;
    if (lista.isEmpty())
        return items;
    for (const QString &item : lista.split(u',')) {
        if (item.isEmpty())
            break;
        items << item;
    }
    return items;
}

// An operator code: digits with an optional "-", nothing else (the number reader would also
// take blanks, a "+" or what follows a NUL).
bool esCodigo(const QString &item)
{
    const QStringView cifras = QStringView(item).mid(item.startsWith(u'-') ? 1 : 0);
    if (cifras.isEmpty() || cifras.size() > 5)
        return false;
    for (const QChar c : cifras)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

bool CamposSolicitados::hayCamposSolicitados() const
{
    for (const QString &nombre : nombres)
        if (nombre != kRegistradoPor && nombre != kFechaRegistro)
            return true;
    return false;
}

bool CamposSolicitados::pideRegistro() const { return contiene(kRegistradoPor) || contiene(kFechaRegistro); }

CamposSolicitados LeerCamposSolicitados(const QString &memo)
{
    CamposSolicitados campos;
    QString texto = memo;
    texto.remove(u'\r');
    QStringList lineas = texto.split(u'\n');
    // A final line break opens no further line.
    if (!lineas.isEmpty() && lineas.constLast().isEmpty())
        lineas.removeLast();
    for (const QString &linea : std::as_const(lineas)) {
        const QString nombre = linea.section(u':', 0, 0);
        campos.nombres << nombre;
        if (nombre == QLatin1String("RealizadoPor"))
            campos.operariosRealizadoPor = linea.section(u':', 1, 1);
        else if (nombre == QLatin1String("AprobadoPor"))
            campos.operariosAprobadoPor = linea.section(u':', 1, 1);
    }
    return campos;
}

bool OperarioEnLista(const QString &codigo, const QString &lista)
{
    return itemsHastaVacio(lista).contains(codigo);
}

QString FiltroOperarios(const QString &lista)
{
    const QStringList items = itemsHastaVacio(lista);
    if (items.isEmpty())
        return QString();
    QStringList condiciones;
    for (const QString &item : items)
        if (esCodigo(item))
            condiciones << QStringLiteral("(Codigo=") + item + u')';
    // A list whose items are no codes admits nobody.
    return condiciones.isEmpty() ? QStringLiteral("(1=0)") : condiciones.join(QStringLiteral(" OR "));
}
