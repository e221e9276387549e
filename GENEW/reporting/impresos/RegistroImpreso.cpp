#include "GENEW/reporting/impresos/RegistroImpreso.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"

namespace {

bool LeerMilimetros(const QString &texto, int &milimetros)
{
    int valor = 0;
    if (!LeerEntero(texto, valor) || valor <= 0)
        return false;
    milimetros = valor;
    return true;
}

} // namespace

PapelImpreso PapelDeFormato(const QString &formato)
{
    PapelImpreso papel;
    const qsizetype guion = formato.indexOf(QLatin1Char('-'));
    papel.apaisado = guion >= 0 && formato.mid(guion + 1) == QLatin1String("Apaisado");
    if (formato == QLatin1String("A4"))
        return papel;
    if (formato == QLatin1String("A4-Apaisado")) {
        papel.anchoMm = 297;
        papel.altoMm = 210;
        return papel;
    }
    if (formato == QLatin1String("A5")) {
        papel.anchoMm = 149;
        papel.altoMm = 210;
        return papel;
    }
    if (formato == QLatin1String("A5-Apaisado")) {
        papel.anchoMm = 210;
        papel.altoMm = 149;
        return papel;
    }
    const qsizetype x = formato.indexOf(QLatin1Char('x'));
    int ancho = 0;
    int alto = 0;
    if (x >= 0 && LeerMilimetros(formato.left(x), ancho) && LeerMilimetros(formato.mid(x + 1), alto)) {
        papel.anchoMm = ancho;
        papel.altoMm = alto;
    }
    return papel;
}

QSize TamanoPaginaPantalla(const PapelImpreso &papel)
{
    const int ancho = RedondearMitadesAPar(static_cast<long double>(papel.anchoMm) * 800 / 210);
    const int alto = RedondearMitadesAPar(static_cast<long double>(papel.altoMm) / papel.anchoMm * ancho);
    return QSize(ancho, alto);
}
