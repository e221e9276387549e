#include "GENEW/runtime/estructura/DefinicionesEstructura.h"

#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"

#include <algorithm>

namespace estructura {

namespace {

QStringList LineasDeClase(const QStringList &bloque, const QString &clase)
{
    QStringList lineas;
    for (const QString &linea : bloque) {
        if (ClaseDeLinea(linea) == clase)
            lineas << linea;
    }
    return lineas;
}

bool PideClase(const QStringList &clases, const QString &clase)
{
    return clases.isEmpty() || clases.contains(clase);
}

QString QuitarLineasVacias(QString texto)
{
    const QString doble = kSaltoLinea + kSaltoLinea;
    while (texto.contains(doble))
        texto.replace(doble, kSaltoLinea);
    return texto;
}

} // namespace

QStringList PrimerBloque(const QString &tabla, const QStringList &lineas, Qt::CaseSensitivity sensibilidad)
{
    QStringList bloque;
    bool dentro = false;
    for (const QString &linea : lineas) {
        const bool esDeLaTabla = !linea.isEmpty() && TablaDeLinea(linea).compare(tabla, sensibilidad) == 0;
        if (esDeLaTabla) {
            dentro = true;
            bloque << linea;
        } else if (dentro) {
            break;
        }
    }
    return bloque;
}

QString ListarTablasTexto(const QString &texto, const QString &)
{
    QStringList tablas;
    for (const QString &linea : DividirLineas(texto)) {
        if (!TextoDescripcion(linea).isEmpty())
            tablas << TablaDeLinea(linea);
    }
    std::sort(tablas.begin(), tablas.end());
    tablas.erase(std::unique(tablas.begin(), tablas.end()), tablas.end());
    return UnirLineas(tablas);
}

QString ExtraerBloqueDefinicion(const QString &tabla, const QString &texto, const QString &clases,
                                const ConsultaCamposUsuario &camposUsuario)
{
    QStringList pedidas;
    for (const QString &clase : clases.split(u',', Qt::SkipEmptyParts))
        pedidas << clase.trimmed();
    const QStringList bloque = PrimerBloque(tabla, DividirLineas(texto));

    QStringList resultado;
    if (PideClase(pedidas, kBloqueCampos))
        resultado << LineasDeClase(bloque, kClaseCampo);
    if (PideClase(pedidas, kBloqueCamposUsuario) && camposUsuario)
        resultado << LineasCamposUsuario(tabla, camposUsuario(tabla));
    if (PideClase(pedidas, kBloqueIndices))
        resultado << LineasDeClase(bloque, kClaseIndice);
    if (PideClase(pedidas, kBloqueSQL))
        resultado << LineasDeClase(bloque, kClaseSQL);
    return UnirLineas(resultado);
}

QString ListarCamposDefinicion(const QString &tabla, const QString &bloque, const QString &opciones)
{
    const bool conTipo = opciones.contains(u"IncluirTipo");
    QStringList campos;
    for (const QString &linea : DividirLineas(bloque)) {
        if (TablaDeLinea(linea) != tabla || ClaseDeLinea(linea) != kClaseCampo)
            continue;
        campos << (conTipo ? Pieza(linea, 3) + u'/' + Pieza(linea, 4) : Pieza(linea, 3));
    }
    return UnirLineas(campos);
}

QString ObtenerEstructuraTabla(const QString &tabla, const QString &opciones, const QString &texto,
                               const ConsultaCamposUsuario &camposUsuario)
{
    return ListarCamposDefinicion(tabla, ExtraerBloqueDefinicion(tabla, texto, QString(), camposUsuario),
                                  opciones);
}

QString CombinarDefiniciones(const QString &estandar, const QString &variante)
{
    QString nuevas;
    QString complementarias;
    QString *seccion = &nuevas;
    for (const QString &linea : DividirLineas(variante)) {
        if (linea == kSeccionNuevas)
            seccion = &nuevas;
        else if (linea == kSeccionComplementarias)
            seccion = &complementarias;
        else if (!linea.isEmpty())
            *seccion += linea + kSaltoLinea;
    }

    QString resultado = nuevas.isEmpty() ? estandar : nuevas + kSaltoLinea + kSaltoLinea + estandar;
    if (complementarias.isEmpty())
        return resultado;

    QString combinado;
    for (const QString &tabla : DividirLineas(ListarTablasTexto(complementarias))) {
        for (const QString &clase : {kBloqueCampos, kBloqueIndices, kBloqueSQL}) {
            combinado += ExtraerBloqueDefinicion(tabla, estandar, clase);
            combinado += ExtraerBloqueDefinicion(tabla, complementarias, clase);
            combinado += kSaltoLinea;
        }
    }
    return QuitarLineasVacias(combinado) + resultado;
}

QString ListarTablasDefinidas(const QString &opciones, const QString &texto)
{
    QStringList tablas;
    for (const QString &tabla : DividirLineas(ListarTablasTexto(texto)))
        tablas << tabla.section(u'|', 0, 0);
    if (opciones == u"ExcluirTablasBDGeneral") {
        for (qsizetype i = tablas.size() - 1; i >= 0; --i) {
            if (EsTablaGeneral(tablas.at(i)))
                tablas.removeAt(i);
        }
    }
    return UnirLineas(tablas);
}

QString SentenciaCamposUsuario(const QString &aliasBaseDatosGeneral, const QString &tabla)
{
    return QStringLiteral("SELECT OrdenCampo, NombreCampo, TipoCampo, LongitudCampo   FROM ")
           + aliasBaseDatosGeneral + QStringLiteral(".dbo.CAMPOUSR ")
           + QStringLiteral("  WHERE NombreTabla = '") + QString(tabla).replace(QStringLiteral("'"), QStringLiteral("''")) + u'\'';
}

QString TipoDeCampoUsuario(const QString &palabra)
{
    static const QList<std::pair<QString, QString>> kTipos = {
        {QStringLiteral("Alfanumerico"), QStringLiteral("ftString")},
        {QStringLiteral("Numerico"), QStringLiteral("ftFloat")},
        {QStringLiteral("Entero"), QStringLiteral("ftInteger")},
        {QStringLiteral("Fecha"), QStringLiteral("ftDateTime")},
        {QStringLiteral("Texto"), QStringLiteral("ftMemo")},
    };
    for (const auto &[nombre, tipo] : kTipos) {
        if (nombre == palabra)
            return tipo;
    }
    return {};
}

QStringList LineasCamposUsuario(const QString &tabla, const QString &respuesta)
{
    QStringList lineas;
    for (const QString &fila : DividirLineas(respuesta)) {
        const QStringList columnas = fila.split(u'|');
        const QString tipo = TipoDeCampoUsuario(columnas.value(2));
        if (tipo.isEmpty())
            continue;
        const int orden = columnas.value(0).trimmed().toInt() + 1000;
        lineas << tabla + QStringLiteral("/C/") + QString::number(orden) + u'/' + columnas.value(1) + u'/'
                      + tipo + u'/' + columnas.value(3) + u'/';
    }
    return lineas;
}

bool EsDefinicionTemporal(const QString &definicion)
{
    return definicion.contains(u"Tabla Temporal");
}

int NumeroTablaTemporal(const QString &primeraLinea)
{
    bool leido = false;
    const int numero = QString(primeraLinea).remove(QStringLiteral("Tabla Temporal ")).trimmed().toInt(&leido);
    return leido ? numero : 0;
}

} // namespace estructura
