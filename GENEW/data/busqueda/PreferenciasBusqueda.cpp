#include "GENEW/data/busqueda/PreferenciasBusqueda.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kFonetica = QStringLiteral("(F)");
const QString kParcial = QStringLiteral("(P)");
const QString kAproximada = QStringLiteral("(A)");
const QString kOrdenada = QStringLiteral("(O)");
const QString kMemos = QStringLiteral("(M)");

// The stored text as Name=Value lines: ":" and "=" swap, entries become lines.
QStringList comoLineas(const QString &datos)
{
    QString texto = datos;
    texto.replace(u':', u'=').replace(u',', QStringLiteral("\r\n"));
    texto.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\r\n"));
    return DividirLineas(texto);
}

QString deLineas(const QStringList &lineas)
{
    QString texto = QuitarSaltoFinal(UnirLineas(lineas));
    return texto.replace(u'=', u':').replace(QStringLiteral("\r\n"), QStringLiteral(","));
}

// Removes the flag from the text; whether it was there.
bool quitarMarca(QString &texto, const QString &marca)
{
    if (!texto.contains(marca))
        return false;
    texto.remove(marca);
    return true;
}

} // namespace

QString PreferenciaBusqueda::texto() const
{
    QString marcas;
    switch (modo.value_or(ModoBusqueda::Aproximada)) {
    case ModoBusqueda::Fonetica: marcas = kFonetica; break;
    case ModoBusqueda::Parcial: marcas = kParcial; break;
    case ModoBusqueda::Aproximada: marcas = kAproximada; break;
    }
    if (ordenada)
        marcas += kOrdenada;
    if (memos)
        marcas += kMemos;
    return campos + marcas;
}

PreferenciaBusqueda PreferenciaBusqueda::leer(const QString &entrada)
{
    PreferenciaBusqueda p;
    QString resto = entrada;
    const bool fonetica = quitarMarca(resto, kFonetica);
    const bool parcial = quitarMarca(resto, kParcial);
    const bool aproximada = quitarMarca(resto, kAproximada);
    if (fonetica)
        p.modo = ModoBusqueda::Fonetica;
    else if (parcial)
        p.modo = ModoBusqueda::Parcial;
    else if (aproximada)
        p.modo = ModoBusqueda::Aproximada;
    p.ordenada = quitarMarca(resto, kOrdenada);
    p.memos = quitarMarca(resto, kMemos);
    p.campos = resto;
    return p;
}

QString DatosBusqueda::entrada(const QString &datos, const QString &tabla)
{
    return LeerValorDeLineas(tabla, comoLineas(datos));
}

QString DatosBusqueda::conEntrada(const QString &datos, const QString &tabla, const QString &valor)
{
    QStringList lineas = comoLineas(datos);
    EscribirValorEnLista(tabla, valor, lineas);
    return deLineas(lineas);
}
