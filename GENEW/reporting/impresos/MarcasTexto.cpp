#include "GENEW/reporting/impresos/MarcasTexto.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"

#include <limits>

namespace {

const QString kCierre = QStringLiteral("</>");

// Scans the tags from the start of the text and answers where the text proper begins.
// Blanks among the tags are skipped (and counted in the state).
qsizetype ExplorarMarcas(const QString &texto, EstadoMarcas &estado)
{
    qsizetype posicion = 0;
    while (posicion < texto.size() - 1) {
        const QChar c = texto.at(posicion);
        if (c == QLatin1Char(' ')) {
            ++estado.blancos;
            ++posicion;
            continue;
        }
        if (c != QLatin1Char('<'))
            break;
        const qsizetype fin = texto.indexOf(QLatin1Char('>'), posicion);
        if (fin < 0)
            break;
        const QString marca = texto.mid(posicion, fin - posicion + 1);
        if (marca == kCierre) {
            posicion = fin + 1;
            estado.cierre = true;
            break;
        }
        if (!InterpretarMarca(marca, estado))
            break;
        posicion = fin + 1;
    }
    return posicion;
}

} // namespace

void AnadirEstiloMarca(const QString &estilo, EstadoMarcas &estado)
{
    for (QString &hueco : estado.estilos) {
        if (hueco.isEmpty()) {
            hueco = estilo;
            return;
        }
    }
    estado.estilos.back() = estilo;
}

bool InterpretarMarca(const QString &marca, EstadoMarcas &estado)
{
    if (marca == QLatin1String("<R>"))
        estado.color = QStringLiteral("Rojo");
    else if (marca == QLatin1String("<V>"))
        estado.color = QStringLiteral("Verde");
    else if (marca == QLatin1String("<A>"))
        estado.color = QStringLiteral("Azul");
    else if (marca == QLatin1String("<N>"))
        AnadirEstiloMarca(QStringLiteral("Negrita"), estado);
    else if (marca == QLatin1String("<C>"))
        AnadirEstiloMarca(QStringLiteral("Italica"), estado);
    else if (marca == QLatin1String("<S>"))
        AnadirEstiloMarca(QStringLiteral("Subrayado"), estado);
    else {
        const qsizetype abre = marca.indexOf(QLatin1Char('<'));
        const qsizetype cierra = marca.indexOf(QLatin1Char('>'), abre + 1);
        int tamano = 0;
        const bool numero = abre >= 0 && cierra > abre && LeerEntero(marca.mid(abre + 1, cierra - abre - 1), tamano);
        if (!numero || tamano < std::numeric_limits<qint16>::min() || tamano > std::numeric_limits<qint16>::max()) {
            estado.tamano = 0;
            return false;
        }
        estado.tamano = static_cast<qint16>(tamano);
    }
    return true;
}

MarcasTexto InterpretarMarcasTexto(const QString &texto)
{
    MarcasTexto resultado;
    const qsizetype inicio = ExplorarMarcas(texto, resultado.estado);
    resultado.texto = QString(resultado.estado.blancos, QLatin1Char(' ')) + texto.mid(inicio);
    resultado.aplicarFuente = !resultado.estado.cierre;
    return resultado;
}

MarcasLineaMemo InterpretarMarcasLineaMemo(const QString &linea)
{
    MarcasLineaMemo resultado;
    const qsizetype inicio = ExplorarMarcas(linea, resultado.estado);
    resultado.estado.blancos = 0;   // the memo variant counts none
    resultado.prefijo = linea.left(inicio);
    resultado.prefijo.remove(QLatin1Char(' '));
    resultado.hayMarcas = resultado.estado.cierre || !resultado.prefijo.isEmpty();
    resultado.aplicarFuente = !resultado.prefijo.isEmpty() && !resultado.estado.cierre;
    return resultado;
}
