#include "GENEW/reporting/impresos/InstruccionImpreso.h"

#include <array>

namespace {

struct ClaveOrden
{
    const char *clave;
    OrdenImpreso orden;
};

constexpr std::array<ClaveOrden, 13> kOrdenes = {{
    {"Text", OrdenImpreso::Text}, {"Vari", OrdenImpreso::Vari}, {"Rect", OrdenImpreso::Rect},
    {"Line", OrdenImpreso::Line}, {"Font", OrdenImpreso::Font}, {"Graf", OrdenImpreso::Graf},
    {"CBar", OrdenImpreso::CBar}, {"Asci", OrdenImpreso::Asci}, {"Camp", OrdenImpreso::Camp},
    {"Expr", OrdenImpreso::Expr}, {"Conc", OrdenImpreso::Conc}, {"Suma", OrdenImpreso::Suma},
    {"ISum", OrdenImpreso::ISum},
}};

} // namespace

QString ClaveDeLinea(const QString &linea)
{
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    return igual < 0 ? linea : linea.left(igual);
}

QStringList DividirLineasImpreso(const QString &texto)
{
    QStringList lineas;
    qsizetype inicio = 0;
    while (inicio < texto.size()) {
        qsizetype fin = texto.indexOf(QLatin1Char('\n'), inicio);
        if (fin < 0)
            fin = texto.size();
        qsizetype largo = fin - inicio;
        if (fin < texto.size() && largo > 0 && texto.at(fin - 1) == QLatin1Char('\r'))
            --largo;
        lineas.append(texto.mid(inicio, largo));
        inicio = fin + 1;
    }
    return lineas;
}

ArgumentosInstruccion::ArgumentosInstruccion(const QString &texto)
    : texto_(texto), piezas_(texto.split(QLatin1Char('|')))
{
}

InstruccionDividida DividirInstruccion(const QString &linea, const QString &sustituto)
{
    QString texto = linea;
    texto.replace(QLatin1Char('|'), sustituto);
    texto.replace(QLatin1Char(';'), QLatin1Char('|'));
    const qsizetype igual = texto.indexOf(QLatin1Char('='));
    if (igual < 0)
        return {texto, ArgumentosInstruccion(QString())};
    const qsizetype segundo = texto.indexOf(QLatin1Char('='), igual + 1);
    const QString argumentos = segundo < 0 ? texto.mid(igual + 1) : texto.mid(igual + 1, segundo - igual - 1);
    return {texto.left(igual), ArgumentosInstruccion(argumentos)};
}

std::optional<OrdenImpreso> OrdenDeClave(const QString &clave)
{
    for (const ClaveOrden &c : kOrdenes)
        if (clave == QLatin1String(c.clave))
            return c.orden;
    return std::nullopt;
}

QString ClaveDeOrden(OrdenImpreso orden)
{
    for (const ClaveOrden &c : kOrdenes)
        if (c.orden == orden)
            return QLatin1String(c.clave);
    return QString();
}
