#include "GENEW/data/servicios/TextosGruposAnalisis.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QCollator>
#include <QLocale>
#include <QStringList>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString CategoriasDePerfiles(const QString &perfiles, const QString &perfilesCategorias)
{
    QCollator orden{QLocale(QLocale::Spanish, QLocale::Spain)};
    orden.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList bloques;
    for (const QString &perfil : perfiles.split(u',')) {
        if (perfil.isEmpty())
            break;
        QString bloque = LeerValorDeLista(perfil, perfilesCategorias);
        if (bloque.isEmpty())
            continue;
        bloque.replace(u',', kCrLf);
        const auto donde = std::lower_bound(bloques.begin(), bloques.end(), bloque,
                                            [&orden](const QString &a, const QString &b) { return orden.compare(a, b) < 0; });
        if (donde == bloques.end() || orden.compare(*donde, bloque) != 0)
            bloques.insert(donde, bloque);
    }
    return UnirLineas(bloques);
}

QString FiltroCategoriasPerfil(const QString &perfil, const QString &perfilesCategorias)
{
    QString categorias = LeerValorDeLista(perfil, perfilesCategorias);
    categorias.remove(u' ');
    categorias.replace(u'\'', QStringLiteral("''"));
    categorias.replace(u',', QStringLiteral("') OR (CategoriaGrupo = '"));
    return QStringLiteral("(CategoriaGrupo = '") + categorias + QStringLiteral("')");
}

bool FilaRangoGrupo::invertida() const
{
    bool desdeNumero = false;
    bool hastaNumero = false;
    const double d = desde.toDouble(&desdeNumero);
    const double h = hasta.toDouble(&hastaNumero);
    if (desdeNumero && hastaNumero)
        return h < d;
    return hasta < desde;
}

namespace {

FilaRangoGrupo filaDeLinea(const QString &linea)
{
    const QStringList partes = linea.split(u'|');
    return {partes.value(0), partes.value(1), partes.value(2)};
}

} // namespace

QList<FilaRangoGrupo> FilasRangosGrupos(const QString &categorias, const QString &rangosActuales)
{
    const QStringList rangos = DividirLineas(rangosActuales);
    QList<FilaRangoGrupo> filas;
    for (const QString &categoria : DividirLineas(categorias)) {
        FilaRangoGrupo fila{categoria, {}, {}};
        for (const QString &linea : rangos)
            if (linea.startsWith(categoria + u'|')) {
                fila = filaDeLinea(linea);
                break;
            }
        filas << fila;
    }
    return filas;
}

QString TextoFilasRangos(const QList<FilaRangoGrupo> &filas)
{
    QStringList lineas;
    for (const auto &f : filas)
        lineas << f.categoria + u'|' + f.desde + u'|' + f.hasta;
    return lineas.join(kCrLf);
}

QList<FilaRangoGrupo> LeerFilasRangos(const QString &texto)
{
    QList<FilaRangoGrupo> filas;
    for (const QString &linea : DividirLineas(texto))
        filas << filaDeLinea(linea);
    return filas;
}

QString RespuestaRangosGrupos(const QList<FilaRangoGrupo> &filas)
{
    QList<FilaRangoGrupo> conValores;
    for (const auto &f : filas)
        if (f.tieneValores())
            conValores << f;
    return TextoFilasRangos(conValores);
}
