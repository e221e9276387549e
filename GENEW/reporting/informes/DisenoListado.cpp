#include "GENEW/reporting/informes/DisenoListado.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <algorithm>
#include <cmath>

int anchoImprimibleListado(plat::ReportPaper papel, bool apaisado, double imprimibleDelPapel)
{
    if (papel == plat::ReportPaper::A4)
        return apaisado ? 1047 : 750;
    if (papel == plat::ReportPaper::A3)
        return apaisado ? 1511 : 1047;
    return std::max(0, int(imprimibleDelPapel));
}

QVector<double> pesosFormatoColumnas(const QString &formatoColumnas, int campos)
{
    const QStringList piezas = formatoColumnas.split(u'|');
    QVector<double> pesos(std::max(0, campos), 0.0);
    for (int i = 0; i < pesos.size() && i < piezas.size(); ++i) {
        const double peso = TextoANumero(piezas[i].trimmed());
        pesos[i] = std::isfinite(peso) && peso > 0 ? peso : 0.0;
    }
    return pesos;
}

QVector<int> huecosColumnas(const QVector<double> &pesosVisibles, int anchoImprimible)
{
    const auto valido = [](double peso) { return std::isfinite(peso) && peso > 0 ? peso : 0.0; };
    double total = 0, mayor = 0;
    for (double peso : pesosVisibles) {
        total += valido(peso);
        mayor = std::max(mayor, valido(peso));
    }
    // Weights whose sum overflows are taken relative to the largest.
    const double escala = std::isfinite(total) ? 1.0 : mayor;
    if (escala != 1.0) {
        total = 0;
        for (double peso : pesosVisibles)
            total += valido(peso) / escala;
    }
    QVector<int> huecos;
    huecos.reserve(pesosVisibles.size());
    for (double peso : pesosVisibles) {
        // The share first, then the width: a weight near the largest double times the width
        // would overflow and give one column the whole line.
        const double hueco = total > 0 ? valido(peso) / escala / total * anchoImprimible : 0.0;
        huecos.append(int(std::min(double(anchoImprimible), hueco)));
    }
    return huecos;
}

QVector<int> huecosConMinimos(QVector<int> huecos, const QVector<NecesidadColumna> &necesidades, int minimoTexto)
{
    const auto minimo = [&](int i) { return necesidades.value(i).minimo; };
    const auto deseado = [&](int i) { return necesidades.value(i).deseado; };
    QVector<bool> flexible(huecos.size());
    int falta = 0;
    for (int i = 0; i < huecos.size(); ++i) {
        flexible[i] = minimo(i) <= 0 && huecos[i] > 0;
        if (minimo(i) > huecos[i] && huecos[i] > 0) {
            falta += minimo(i) - huecos[i];
            huecos[i] = minimo(i);
        }
    }
    // One pixel at a time from the widest column that may give it.
    const auto quitarPixel = [&huecos](const auto &puedeDar) {
        int mayor = -1;
        for (int i = 0; i < huecos.size(); ++i)
            if (puedeDar(i) && (mayor < 0 || huecos[i] > huecos[mayor]))
                mayor = i;
        if (mayor < 0)
            return false;
        --huecos[mayor];
        return true;
    };
    const auto sobraDeseado = [&](int i) { return flexible[i] && huecos[i] > std::max(deseado(i), minimoTexto); };
    const auto sobraTexto = [&](int i) { return flexible[i] && huecos[i] > minimoTexto; };
    const auto cualquiera = [&](int i) { return huecos[i] > 0; };
    while (falta > 0 && quitarPixel(sobraDeseado))
        --falta;
    while (falta > 0 && quitarPixel(sobraTexto))
        --falta;
    while (falta > 0 && quitarPixel(cualquiera))
        --falta;
    // Texts narrower than their widest word take what the texts wider than theirs spare, the
    // one nearest its own first.
    for (;;) {
        int receptor = -1;
        for (int i = 0; i < huecos.size(); ++i)
            if (flexible[i] && huecos[i] < deseado(i)
                && (receptor < 0 || deseado(i) - huecos[i] < deseado(receptor) - huecos[receptor]))
                receptor = i;
        if (receptor < 0 || !quitarPixel([&](int i) { return i != receptor && sobraDeseado(i); }))
            break;
        ++huecos[receptor];
    }
    return huecos;
}

QVector<GeometriaColumna> geometriaColumnas(const QVector<double> &pesosVisibles, int anchoImprimible)
{
    QVector<GeometriaColumna> columnas;
    columnas.reserve(pesosVisibles.size());
    int izquierda = 0;
    for (int hueco : huecosColumnas(pesosVisibles, anchoImprimible)) {
        columnas.append({izquierda, std::max(0, hueco - 2)});
        izquierda += hueco;
    }
    return columnas;
}

int GeometriaFicha::izquierda(int linea) const
{
    return int(double(anchoImprimible) / columnas * (linea / lineasPorColumna));
}

int GeometriaFicha::anchoTitulo() const
{
    return int(double(anchoImprimible) / columnas / 3) - 4;
}

int GeometriaFicha::anchoValor() const
{
    return int(double(anchoImprimible) / columnas * 2 / 3) - 8;
}

GeometriaFicha geometriaFicha(int camposVisibles, int ultimoCampo, int columnasFicha, int anchoImprimible)
{
    GeometriaFicha g;
    g.columnas = std::max(1, columnasFicha);
    g.anchoImprimible = anchoImprimible;
    const int n = camposVisibles > 0 ? camposVisibles : ultimoCampo + 1;
    g.lineasPorColumna = std::max(1, int(Redondear(double(n) / g.columnas)));
    return g;
}

int altoMemoFicha(int lineasMemo)
{
    return std::max(1, lineasMemo) * 15 + 2;
}

QString tituloColumnaListado(const QString &nombreCampo)
{
    return nombreCampo.contains(u' ') ? nombreCampo : AbreviarNombreCampo(nombreCampo, 1);
}

SumatoriosListado::SumatoriosListado(const QString &texto) : texto_(texto)
{
    for (const QString &nombre : texto.split(u','))
        if (!nombre.trimmed().isEmpty())
            nombres_ << nombre.trimmed();
}

bool SumatoriosListado::suma(const QString &nombreCampo) const
{
    if (texto_ == QLatin1String("Todas"))
        return true;
    return nombres_.contains(nombreCampo, Qt::CaseInsensitive);
}

QStringList nombresGrupo(const QString &grupos)
{
    QStringList nombres;
    for (const QString &pieza : grupos.split(u'+'))
        if (!pieza.trimmed().isEmpty())
            nombres << pieza.trimmed();
    return nombres;
}

bool esCampoDeGrupo(const QStringList &nombres, const QString &nombreCampo)
{
    return nombres.contains(nombreCampo, Qt::CaseInsensitive)
           || nombres.contains(u'\'' + nombreCampo + u'\'', Qt::CaseInsensitive);
}

bool filaEnNegrita(const QStringList &instrucciones)
{
    return !instrucciones.isEmpty() && instrucciones.first().contains(QLatin1String("Negrita"));
}

bool alinearDerechaPorInstruccion(const QStringList &instrucciones, const QString &nombreCampo)
{
    const QString prefijo = nombreCampo + u'=';
    for (const QString &linea : instrucciones)
        if (linea.startsWith(prefijo, Qt::CaseInsensitive))
            return linea.mid(prefijo.size()).contains(QLatin1String("JR"));
    return false;
}

int altoMemoRestricciones(int caracteres, bool apaisado)
{
    const int porLinea = apaisado ? 160 : 100;
    const int lineas = (std::max(0, caracteres) + porLinea - 1) / porLinea;
    return std::max(30, lineas * 15);
}

QString sinSaltosDeLinea(QString texto)
{
    texto.remove(u'\r');
    texto.remove(u'\n');
    return texto;
}
