#include "GENEW/reporting/EdicionInforme.h"

#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/engine/Dialect.h"

namespace edicionInforme {

namespace {

const QString kAs = QStringLiteral(" AS ");
const QString kDesc = QStringLiteral(" DESC");
const QString kExpresionAs = QStringLiteral("_Expresion AS ");

// Where the title's " AS " begins: after an expression's closing parenthesis (the expression
// may hold others, as in CAST(x AS INTEGER)); -1 without a title.
qsizetype posicionAs(const QString &elemento)
{
    return elemento.indexOf(kAs, std::max<qsizetype>(0, elemento.lastIndexOf(u')')));
}

// The text before the title's " AS ", or the whole item.
QString antesDeAs(const QString &elemento)
{
    const qsizetype p = posicionAs(elemento);
    return p < 0 ? elemento : elemento.left(p);
}

QString despuesDeAs(const QString &elemento)
{
    const qsizetype p = posicionAs(elemento);
    return p < 0 ? QString() : elemento.mid(p + kAs.size());
}

// A stored title without its quotes: 'O''Brien' reads O'Brien.
QString sinComillas(const QString &titulo)
{
    if (titulo.size() >= 2 && titulo.startsWith(u'\'') && titulo.endsWith(u'\''))
        return titulo.mid(1, titulo.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return QString(titulo).remove(u'\'');
}

QString nombreCampo(const QString &columna)
{
    return columna.section(u'.', 1);
}

QString tablaDe(const QString &elemento)
{
    return elemento.section(u'.', 0, 0);
}

// An ordering item without its " DESC", and whether it had one.
QString sinDesc(const QString &elemento, bool *desc = nullptr)
{
    const qsizetype p = elemento.indexOf(kDesc);
    if (desc)
        *desc = p >= 0;
    return p < 0 ? elemento : QString(elemento).remove(p, kDesc.size());
}

void quitarSi(QStringList &lista, const std::function<bool(const QString &)> &condicion)
{
    lista.removeIf(condicion);
}

bool esTipo(const QString &tipo, std::initializer_list<const char *> tipos)
{
    for (const char *t : tipos)
        if (tipo == QLatin1String(t))
            return true;
    return false;
}

} // namespace

bool esExpresion(const QString &elemento)
{
    return elemento.contains(u'(');
}

QString columnaDe(const QString &elemento)
{
    return elemento.section(u' ', 0, 0);
}

bool tieneTitulo(const QString &elemento)
{
    return posicionAs(elemento) >= 0;
}

QString tituloColumna(const QString &elemento)
{
    if (tieneTitulo(elemento))
        return sinComillas(despuesDeAs(elemento));
    return AbreviarNombreCampo(nombreCampo(elemento), 1);
}

QString referenciaColumna(const QString &columna)
{
    return esExpresion(columna) ? kExpresionAs + despuesDeAs(columna) : columna;
}

bool esGrupo(const QString &columna, const QStringList &grupos)
{
    return grupos.contains(columna) || grupos.contains(referenciaColumna(columna));
}

QString tipoDe(const QString &columna, const QList<CampoInforme> &campos)
{
    for (const CampoInforme &c : campos)
        if (c.nombre == columna)
            return c.tipo;
    return {};
}

QStringList candidatosOrdenacion(const QStringList &columnas)
{
    QStringList candidatos;
    for (const QString &c : columnas)
        candidatos << referenciaColumna(c);
    return candidatos;
}

QStringList candidatosGrupos(const QStringList &columnas, const QList<CampoInforme> &campos)
{
    QStringList candidatos;
    for (const QString &c : columnas) {
        if (esExpresion(c))
            candidatos << referenciaColumna(c);
        else if (esTipo(tipoDe(columnaDe(c), campos), {"ftString", "ftInteger", "ftSmallint", "ftDateTime"}))
            candidatos << c;
    }
    return candidatos;
}

QStringList candidatosSumatorios(const QStringList &columnas, const QList<CampoInforme> &campos)
{
    QStringList candidatos;
    for (const QString &c : columnas) {
        if (c.startsWith(u'(') && posicionAs(c) >= 0)
            candidatos << referenciaColumna(c);
        else if (!esExpresion(c) && tipoDe(columnaDe(c), campos) == QLatin1String("ftFloat"))
            candidatos << c;
    }
    return candidatos;
}

bool anadirAusentes(QStringList &lista, const QStringList &elementos)
{
    bool anadido = false;
    for (const QString &e : elementos)
        if (!e.isEmpty() && !lista.contains(e)) {
            lista << e;
            anadido = true;
        }
    return anadido;
}

// ---- restrictions and links ----------------------------------------------------------------

const QList<Relacion> &relaciones()
{
    static const QList<Relacion> lista = {
        {QStringLiteral("Igual a"), QStringLiteral("=")},
        {QStringLiteral("Mayor que"), QStringLiteral(">")},
        {QStringLiteral("Menor que"), QStringLiteral("<")},
        {QStringLiteral("Mayor o igual que"), QStringLiteral(">=")},
        {QStringLiteral("Menor o igual que"), QStringLiteral("<=")},
        {QStringLiteral("Distinto de"), QStringLiteral("<>")},
        {QStringLiteral("Incluido en"), QStringLiteral("IN")},
        {QStringLiteral("No incluido en"), QStringLiteral("NOT IN")},
    };
    return lista;
}

bool esRelacionMultiple(const QString &operador)
{
    return operador == QLatin1String("IN") || operador == QLatin1String("NOT IN");
}

QString valorConstante(const QString &texto)
{
    return Entrecomillar(texto);
}

QString valorListaConstantes(const QString &texto)
{
    QString t = texto;
    if (t.endsWith(u','))
        t.chop(1);
    t.replace(QStringLiteral(", "), QStringLiteral(","));
    t.replace(QStringLiteral(" ,"), QStringLiteral(","));
    QStringList elementos;
    for (const QString &e : t.split(u','))
        if (!e.isEmpty())
            elementos << Entrecomillar(e);
    return elementos.isEmpty() ? QString() : u'(' + elementos.join(u',') + u')';
}

QString valorVariable(const QString &nombre, const QString &tipo)
{
    const QString limpio = QString(nombre).remove(u' ');
    if (limpio.isEmpty())
        return {};
    if (esTipo(tipo, {"ftInteger", "ftSmallint", "ftFloat"}))
        return QStringLiteral(":#") + limpio;
    if (tipo == QLatin1String("ftDateTime"))
        return QStringLiteral(":&") + limpio;
    return QStringLiteral(":$") + limpio;
}

QString valorListaVariable(const QString &nombre)
{
    const QString limpio = QString(nombre).remove(u' ');
    return limpio.isEmpty() ? QString() : QStringLiteral("( :*") + limpio + QStringLiteral(" )");
}

// ---- the analysis-group column ---------------------------------------------------------------

QString columnaGrupoAnalisis(const QString &tabla, const QStringList &camposClave, const QString &categoria,
                             const plat::Dialect &dialecto)
{
    QStringList partes;
    for (const QString &campo : camposClave) {
        if (!partes.isEmpty())
            partes << QStringLiteral("'|'");
        partes << tabla + u'.' + campo;
    }
    const QString clave = dialecto.kind() == plat::EngineKind::SqlServer || partes.size() < 2
        ? partes.join(u'+')
        : dialecto.concat(partes);
    const QString consulta = QStringLiteral("SELECT GRANALIS.Descripcion FROM GRANALIS JOIN GRANTAB ON GRANTAB.NombreTabla = ")
        + Entrecomillar(tabla) + QStringLiteral(" AND GRANTAB.ClaveTabla = ") + clave
        + QStringLiteral(" AND GRANALIS.Codigo = GRANTAB.GrupoAnalisis WHERE GRANALIS.CategoriaGrupo = ")
        + Entrecomillar(categoria);
    return u'(' + dialecto.selectTop(consulta, 1) + QStringLiteral(") AS ") + Entrecomillar(categoria);
}

// ---- deletions and titles ------------------------------------------------------------------

void quitarReferenciasTabla(const QString &tabla, ListasInforme listas)
{
    const auto nombra = [&](const QString &e) { return tablaDe(e) == tabla; };
    const auto contiene = [&](const QString &e) {
        return nombra(e) || e.contains(u' ' + tabla + u'.');
    };
    for (QStringList *lista : {&listas.columnas, &listas.ordenacion, &listas.grupos, &listas.sumatorios})
        quitarSi(*lista, nombra);
    quitarSi(listas.restricciones, contiene);
    quitarSi(listas.vinculos, contiene);
}

void quitarReferenciasColumna(const QString &columna, ListasInforme listas)
{
    const QString nombre = columnaDe(columna);
    const QString referencia = referenciaColumna(columna);
    const auto nombra = [&](const QString &e) { return columnaDe(e) == nombre || sinDesc(e) == referencia; };
    for (QStringList *lista : {&listas.ordenacion, &listas.grupos, &listas.sumatorios})
        quitarSi(*lista, nombra);
}

QString columnaConTitulo(const QString &columna, const QString &titulo)
{
    const QString base = antesDeAs(columna);
    if (esExpresion(columna))
        return titulo.isEmpty() ? columna : base + kAs + Entrecomillar(titulo);
    const QString campo = nombreCampo(base);
    if (titulo.isEmpty() || titulo == AbreviarNombreCampo(campo, 1) || titulo == campo)
        return base;
    return base + kAs + Entrecomillar(titulo);
}

void propagarTitulo(const QString &anterior, const QString &nueva, ListasInforme listas)
{
    const QString referenciaAnterior = referenciaColumna(anterior);
    const QString referenciaNueva = referenciaColumna(nueva);
    for (QStringList *lista : {&listas.ordenacion, &listas.grupos, &listas.sumatorios})
        for (QString &e : *lista) {
            bool desc = false;
            const QString item = sinDesc(e, &desc);
            const bool mismaColumna = !esExpresion(nueva) && antesDeAs(item) == antesDeAs(nueva);
            if (item == referenciaAnterior || mismaColumna)
                e = referenciaNueva + (desc ? kDesc : QString());
        }
}

// ---- the format grid -----------------------------------------------------------------------

QList<int> anchosRejilla(const QStringList &columnas, const QStringList &grupos,
                         const QList<std::pair<QString, int>> &anteriores,
                         const std::function<int(const QString &columna)> &anchoTitulo)
{
    QList<int> anchos;
    for (const QString &c : columnas) {
        const QString clave = antesDeAs(c);
        const auto previa = std::find_if(anteriores.begin(), anteriores.end(),
                                         [&](const auto &a) { return antesDeAs(a.first) == clave; });
        if (esGrupo(c, grupos))
            anchos << -1;
        else if (previa == anteriores.end() || previa->second < 0)
            anchos << anchoTitulo(c) + 8;
        else
            anchos << previa->second;
    }
    return anchos;
}

QList<int> autoajustar(const QList<int> &anchos, int objetivo)
{
    const auto total = [](const QList<int> &a) {
        qint64 t = -1;
        for (int w : a)
            if (w >= 0)
                t += w + 1;
        return t;
    };
    const qint64 antes = total(anchos);
    if (antes <= 0)
        return anchos;
    QList<int> nuevos = anchos;
    for (int &a : nuevos)
        if (a >= 0)
            a = int(qint64(a) * objetivo / antes);
    // A shrink can leave a visible column at nothing, or the last one below it, where a
    // width of -1 would hide it; the pixel it keeps comes out of the last column, so the
    // columns still fill the target whenever there is room for them.
    for (qsizetype i = 0; i < nuevos.size(); ++i)
        if (anchos[i] >= 0 && nuevos[i] < 1)
            nuevos[i] = 1;
    if (nuevos.last() >= 0)
        nuevos.last() = qMax(1, int(nuevos.last() + objetivo - total(nuevos)));
    return nuevos;
}

// ---- the export file ---------------------------------------------------------------------------

InformeExportado leerInformeExportado(const QString &texto)
{
    InformeExportado informe;
    const QList<std::pair<QString, QString *>> claves = {{QStringLiteral("Descripcion"), &informe.descripcion},
                                                         {QStringLiteral("Filtro"), &informe.filtro},
                                                         {QStringLiteral("Instrucciones"), &informe.instrucciones}};
    bool vistas[3] = {false, false, false};
    for (const QString &linea : DividirLineas(texto)) {
        const qsizetype igual = linea.indexOf(u'=');
        if (igual < 0)
            continue;
        const QString nombre = linea.left(igual);
        for (int i = 0; i < claves.size(); ++i)
            if (!vistas[i] && nombre == claves[i].first) {
                *claves[i].second = linea.mid(igual + 1).replace(QStringLiteral("·"), QStringLiteral("\r\n"));
                vistas[i] = true;
            }
    }
    return informe;
}

} // namespace edicionInforme
