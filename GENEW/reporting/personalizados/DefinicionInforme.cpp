#include "GENEW/reporting/personalizados/DefinicionInforme.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kComa = QStringLiteral("[coma]");

// The keys of `Instrucciones` in the order they are written.
namespace clave {
const QString Tablas = QStringLiteral("ListaTablas");
const QString Columnas = QStringLiteral("ListaColumnas");
const QString Restricciones = QStringLiteral("ListaRestricciones");
const QString Ordenacion = QStringLiteral("ListaOrdenacion");
const QString Vinculos = QStringLiteral("ListaVinculos");
const QString Grupos = QStringLiteral("ListaGrupos");
const QString Sumatorios = QStringLiteral("ListaSumatorios");
const QString FormatoColumnas = QStringLiteral("FormatoColumnas");
const QString Opciones = QStringLiteral("Opciones");
const QString Usuarios = QStringLiteral("UsuariosAutorizados");
const QString Aplicaciones = QStringLiteral("AplicacionesContenedoras");
} // namespace clave

// A whole number of at least 1, or the default.
int numeroFicha(const QString &texto, int porDefecto)
{
    int valor = 0;
    return LeerEntero(texto.trimmed(), valor) && valor >= 1 ? valor : porDefecto;
}

double pixelesPagina(const OpcionesInforme &opciones)
{
    return double(opciones.milimetrosPagina()) * kPixelesPorMilimetroInforme;
}

} // namespace

QString UnirListaInforme(const QStringList &items, bool escaparComas)
{
    if (!escaparComas)
        return items.join(QLatin1Char(','));
    QStringList escapados;
    escapados.reserve(items.size());
    for (QString item : items)
        escapados << item.replace(QLatin1Char(','), kComa);
    return escapados.join(QLatin1Char(','));
}

QStringList SepararListaInforme(const QString &valor, bool escaparComas)
{
    // An empty item names nothing (the designer never makes one), so "a,,b," is a and b.
    QStringList items = valor.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (escaparComas)
        for (QString &item : items)
            item.replace(kComa, QStringLiteral(","));
    return items;
}

QString ConstruirOpciones(const OpcionesInforme &opciones)
{
    QString texto = opciones.formatoFicha ? QStringLiteral("FormatoFicha(%1,%2),")
                                                .arg(opciones.numeroColumnasFicha)
                                                .arg(opciones.numeroLineasMemoFicha)
                                          : QStringLiteral("FormatoColumnar,");
    if (opciones.orientacionApaisada)
        texto += QStringLiteral("OrientacionApaisada,");
    if (opciones.separarPorPaginas)
        texto += QStringLiteral("SepararPorPaginas,");
    return texto;
}

OpcionesInforme LeerOpciones(const QString &texto)
{
    OpcionesInforme opciones;
    opciones.formatoColumnar = texto.contains(QStringLiteral("FormatoColumnar"));
    opciones.formatoFicha = texto.contains(QStringLiteral("FormatoFicha"));
    opciones.orientacionApaisada = texto.contains(QStringLiteral("OrientacionApaisada"));
    opciones.separarPorPaginas = texto.contains(QStringLiteral("SepararPorPaginas"));
    if (opciones.formatoFicha) {
        const qsizetype abre = texto.indexOf(QLatin1Char('('));
        if (abre >= 0) {
            const qsizetype cierra = texto.indexOf(QLatin1Char(')'), abre);
            const QString numeros = texto.mid(abre + 1, cierra < 0 ? -1 : cierra - abre - 1);
            opciones.numeroColumnasFicha = numeroFicha(numeros.section(QLatin1Char(','), 0, 0), 1);
            opciones.numeroLineasMemoFicha = numeroFicha(numeros.section(QLatin1Char(','), 1, 1), 3);
        }
    }
    return opciones;
}

QString ConstruirFormatoColumnas(const QList<int> &anchos, const OpcionesInforme &opciones)
{
    QString texto;
    for (const int ancho : anchos) {
        texto += ancho == kAnchoColumnaOculta ? QStringLiteral("-1")
                                              : FlotanteATexto(ancho / pixelesPagina(opciones) * 100);
        texto += QLatin1Char('|');
    }
    return texto;
}

QList<int> LeerFormatoColumnas(const QString &formato, int columnas, const OpcionesInforme &opciones)
{
    QStringList entradas = formato.split(QLatin1Char('|'));
    entradas.removeLast();  // what follows the last "|" (all of an empty text)
    if (entradas.isEmpty() || entradas.size() != columnas)
        return {};
    QList<int> anchos;
    anchos.reserve(entradas.size());
    for (const QString &entrada : entradas) {
        const double porcentaje = TextoANumero(entrada);
        anchos << (porcentaje == kAnchoColumnaOculta
                       ? kAnchoColumnaOculta
                       : RedondearMitadesAPar(static_cast<long double>(porcentaje) * pixelesPagina(opciones) / 100));
    }
    return anchos;
}

QString ConstruirInstrucciones(const DefinicionInforme &d)
{
    const QStringList lineas{
        clave::Tablas + u'=' + UnirListaInforme(d.Tablas, false),
        clave::Columnas + u'=' + UnirListaInforme(d.Columnas, true),
        clave::Restricciones + u'=' + UnirListaInforme(d.Restricciones, true),
        clave::Ordenacion + u'=' + UnirListaInforme(d.Ordenacion, false),
        clave::Vinculos + u'=' + UnirListaInforme(d.Vinculos, false),
        clave::Grupos + u'=' + UnirListaInforme(d.Grupos, false),
        clave::Sumatorios + u'=' + UnirListaInforme(d.Sumatorios, false),
        clave::FormatoColumnas + u'=' + ConstruirFormatoColumnas(d.anchosColumnas, d.opciones),
        clave::Opciones + u'=' + ConstruirOpciones(d.opciones),
        clave::Usuarios + u'=' + d.usuariosAutorizados,
        clave::Aplicaciones + u'=' + d.aplicacionesContenedoras,
    };
    return lineas.join(QStringLiteral("\r\n"));
}

DefinicionInforme LeerInstrucciones(const QString &instrucciones)
{
    const QStringList lineas = DividirLineas(instrucciones);
    const auto valor = [&](const QString &nombre) { return LeerValorDeLineas(nombre, lineas); };
    DefinicionInforme d;
    d.Tablas = SepararListaInforme(valor(clave::Tablas), false);
    d.Columnas = SepararListaInforme(valor(clave::Columnas), true);
    d.Restricciones = SepararListaInforme(valor(clave::Restricciones), true);
    d.Ordenacion = SepararListaInforme(valor(clave::Ordenacion), false);
    d.Vinculos = SepararListaInforme(valor(clave::Vinculos), false);
    d.Grupos = SepararListaInforme(valor(clave::Grupos), false);
    d.Sumatorios = SepararListaInforme(valor(clave::Sumatorios), false);
    d.opciones = LeerOpciones(valor(clave::Opciones));
    d.anchosColumnas = LeerFormatoColumnas(valor(clave::FormatoColumnas), int(d.Columnas.size()), d.opciones);
    d.usuariosAutorizados = valor(clave::Usuarios);
    d.aplicacionesContenedoras = valor(clave::Aplicaciones);
    return d;
}
