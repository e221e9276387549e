#include "GENEW/data/servicios/busqueda/PreferenciasBusqueda.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

#include <utility>

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

// Takes the flag off the end of the text, where the preference writes its flags after the
// field list; whether it was there. Only the end is read, so that a flag's letters inside
// the list never become a flag once another is taken away.
bool quitarMarca(QString &texto, const QString &marca)
{
    if (!texto.endsWith(marca))
        return false;
    texto.chop(marca.size());
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
    bool fonetica = false, parcial = false, aproximada = false;
    // The flags stand after the list in any order; each is taken off the end until none is left.
    for (bool alguna = true; alguna;) {
        alguna = false;
        for (auto [marca, valor] : {std::pair{&kFonetica, &fonetica}, std::pair{&kParcial, &parcial},
                                    std::pair{&kAproximada, &aproximada}, std::pair{&kOrdenada, &p.ordenada},
                                    std::pair{&kMemos, &p.memos}}) {
            if (quitarMarca(resto, *marca)) {
                *valor = true;
                alguna = true;
            }
        }
    }
    if (fonetica)
        p.modo = ModoBusqueda::Fonetica;
    else if (parcial)
        p.modo = ModoBusqueda::Parcial;
    else if (aproximada)
        p.modo = ModoBusqueda::Aproximada;
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
