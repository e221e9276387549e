#include "GENEW/reporting/impresos/ReferenciasDocumento.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kPrefijoGrupo = QStringLiteral("GrupoAnalisis");

bool Contiene(const QString &texto, const char *prefijo)
{
    return texto.contains(QLatin1String(prefijo));
}

// The prefix of a kind named by its two letters: "PP" -> "PP:".
bool ContienePrefijoDe(const QString &texto, const char *tipo)
{
    return texto.contains(QLatin1String(tipo) + QLatin1Char(':'));
}

// The first three characters dropped, wherever the prefix was found, then the piece of
// the rest at "/" (0 = before the first "/").
QString PiezaTrasPrefijo(const QString &referencia, int pieza)
{
    return ExtraerCampo(pieza, referencia.mid(3), QStringLiteral("/"));
}

QString TrasPrimeraBarra(const QString &referencia)
{
    const qsizetype barra = referencia.indexOf(QLatin1Char('/'));
    return barra < 0 ? QString() : referencia.mid(barra + 1);
}

QString Literal(const QString &elemento)
{
    const qsizetype cierre = elemento.indexOf(QLatin1Char('"'), 1);
    return cierre < 0 ? elemento.mid(1) : elemento.mid(1, cierre - 1);
}

} // namespace

bool EsGrupoAnalisis(const QString &nombre)
{
    if (!nombre.startsWith(kPrefijoGrupo))
        return false;
    const QString cifras = nombre.mid(kPrefijoGrupo.size(), 2);
    if (cifras.isEmpty())
        return false;
    int numero = 0;
    for (const QChar c : cifras) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        numero = numero * 10 + (c.unicode() - '0');
    }
    return numero != 0;
}

QString ExtraerReferenciaDocumento(const QString &tipo, const QString &referencia)
{
    QString r = referencia;
    if (r.contains(QLatin1Char(','))) {
        const bool delantera = tipo == QLatin1String("PP") || tipo == QLatin1String("LPP");
        r = ExtraerCampo(delantera ? 0 : 1, r, QStringLiteral(","));
    }
    if (tipo.compare(QLatin1String("Doc"), Qt::CaseInsensitive) == 0) {
        const QString documento = ExtraerCampo(0, r, QStringLiteral("/"));
        return documento.contains(QLatin1Char(':')) ? ExtraerCampo(1, documento, QStringLiteral(":")) : documento;
    }
    if (tipo.compare(QLatin1String("Lin"), Qt::CaseInsensitive) == 0 || tipo == QLatin1String("LPP"))
        return ExtraerCampo(1, r, QStringLiteral("/"));
    if (tipo == QLatin1String("OF"))
        return Contiene(r, "OF:") ? PiezaTrasPrefijo(r, 0) : QString();
    if (tipo == QLatin1String("SEC"))
        return Contiene(r, "OF:") ? PiezaTrasPrefijo(r, 1) : QString();
    for (const char *propio : {"PP", "RE", "II", "PC", "AL"}) {
        if (tipo == QLatin1String(propio))
            return ContienePrefijoDe(r, propio) ? PiezaTrasPrefijo(r, 0) : QString();
    }
    if (tipo == QLatin1String("OT")) {
        const bool obra = Contiene(r, "OT:") || Contiene(r, "UC:") || Contiene(r, "UE:") || Contiene(r, "UI:");
        return obra ? PiezaTrasPrefijo(r, 0) : QString();
    }
    for (const char *unidad : {"UC", "UE", "UI"}) {
        if (tipo == QLatin1String(unidad))
            return ContienePrefijoDe(r, unidad) ? TrasPrimeraBarra(r) : QString();
    }
    return QString();
}

bool EsReferenciaOF(const QString &texto) { return Contiene(texto, "OF:"); }
bool EsReferenciaII(const QString &texto) { return Contiene(texto, "II:"); }
bool EsReferenciaOT(const QString &texto) { return Contiene(texto, "OT:"); }
bool EsReferenciaUC(const QString &texto) { return Contiene(texto, "UC:"); }
bool EsReferenciaUE(const QString &texto) { return Contiene(texto, "UE:"); }
bool EsReferenciaUI(const QString &texto) { return Contiene(texto, "UI:"); }
bool EsReferenciaPP(const QString &texto) { return Contiene(texto, "PP:"); }
bool EsReferenciaRE(const QString &texto) { return Contiene(texto, "RE:"); }
bool EsReferenciaPC(const QString &texto) { return Contiene(texto, "PC:"); }
bool EsReferenciaAL(const QString &texto) { return Contiene(texto, "AL:"); }

std::array<ElementoClave, kMaximoElementosClave>
DividirElementosClave(const QString &elementos, const QString &tablaSQL, const QString &sustituto)
{
    std::array<ElementoClave, kMaximoElementosClave> resultado;
    const QStringList piezas = elementos.split(QLatin1Char('|'));
    const bool docutron = tablaSQL.contains(QLatin1String("DOCUTRON"));
    for (int i = 0; i < kMaximoElementosClave && i < piezas.size(); ++i) {
        const QString &pieza = piezas.at(i);
        ElementoClave &elemento = resultado[i];
        if (pieza.isEmpty())
            continue;
        if (pieza.startsWith(QLatin1Char('"'))) {
            elemento.tipo = TipoElementoClave::Literal;
            elemento.texto = Literal(pieza);
            continue;
        }
        elemento.texto = pieza;
        if (EsGrupoAnalisis(pieza)) {
            elemento.tipo = TipoElementoClave::GrupoAnalisis;
        } else if (i == 1 && docutron) {
            QString lista = pieza;
            lista.replace(QStringLiteral("+\"") + sustituto + QStringLiteral("\"+"), QStringLiteral("|"));
            elemento.tipo = TipoElementoClave::CamposDocutron;
            elemento.campos = lista.split(QLatin1Char('|'));
        } else {
            elemento.tipo = piezas.size() == 1 ? TipoElementoClave::ReferenciaDocumento : TipoElementoClave::Campo;
        }
    }
    return resultado;
}

ClavesReferencia ClavesDeReferenciaDocumento(const QString &valor, int camposIndice)
{
    struct Fila
    {
        const char *prefijo;
        const char *tipo1;
        const char *tipo2;   // null: no key 2
    };
    // "PP:" takes its line with "LPP", from the same part of a combined reference as its key 1.
    static constexpr Fila kFilas[] = {
        {"OF:", "OF", "SEC"}, {"PP:", "PP", "LPP"}, {"II:", "II", nullptr},
        {"OT:", "OT", nullptr}, {"UE:", "OT", "UE"}, {"UC:", "OT", "UC"},
    };
    ClavesReferencia claves;
    for (const Fila &fila : kFilas) {
        if (!Contiene(valor, fila.prefijo))
            continue;
        claves.clave1 = ExtraerReferenciaDocumento(QLatin1String(fila.tipo1), valor);
        if (fila.tipo2 && camposIndice > 1) {
            claves.clave2 = ExtraerReferenciaDocumento(QLatin1String(fila.tipo2), valor);
            claves.hayClave2 = true;
        }
        return claves;
    }
    claves.clave1 = valor;
    return claves;
}
