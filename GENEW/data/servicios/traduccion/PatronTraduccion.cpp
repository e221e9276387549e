#include "GENEW/data/servicios/traduccion/PatronTraduccion.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"

namespace {

const QString kMarcador = QStringLiteral("\\X");

// Words are compared as the key was searched: ignoring case and accents ("ñ" kept).
QString plegar(const QString &texto)
{
    QString plegado = texto.toLower();
    for (QChar &c : plegado) {
        if (c.unicode() < 0x80 || c == u'ñ')
            continue;
        const QString descompuesto = c.decomposition();
        if (!descompuesto.isEmpty() && c.decompositionTag() == QChar::Canonical)
            c = descompuesto.at(0);
    }
    return plegado;
}

// The position of the first word not yet used that holds marker k ("\X1" but not "\X12").
qsizetype palabraConMarcador(const QList<PalabraPatron> &palabras, const QList<bool> &usadas, int k)
{
    const QString marcador = kMarcador + QString::number(k);
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        if (usadas.at(i))
            continue;
        const QString &texto = palabras.at(i).texto;
        for (qsizetype desde = texto.indexOf(marcador); desde >= 0; desde = texto.indexOf(marcador, desde + 1)) {
            const qsizetype fin = desde + marcador.size();
            if (fin >= texto.size() || !texto.at(fin).isDigit())
                return i;
        }
    }
    return -1;
}

bool quedaComoEsta(const QString &parte, const QString &texto)
{
    return parte == texto || ValidarEntero(parte, QString()) || ValidarFecha(parte, QString());
}

} // namespace

QString MarcarSeparador(const QString &texto, const QString &separador, const QString &modo)
{
    if (separador.isEmpty())
        return texto;
    const QString marcado = QStringLiteral("\r\n") + separador + QStringLiteral("\r\n");
    if (modo == QLatin1String("Directo"))
        return QString(texto).replace(separador, marcado);
    if (modo == QLatin1String("Inverso"))
        return QString(texto).replace(marcado, separador);
    return texto;
}

QList<PalabraPatron> PalabrasPatron(const QString &texto)
{
    QList<PalabraPatron> palabras;
    for (const QString &trozo : texto.split(u' ', Qt::SkipEmptyParts)) {
        bool pegada = false;
        qsizetype inicio = 0;
        const auto anadir = [&](qsizetype desde, qsizetype largo) {
            if (largo <= 0)
                return;
            palabras.append(PalabraPatron{trozo.mid(desde, largo), pegada});
            pegada = true;
        };
        for (qsizetype i = 0; i < trozo.size(); ++i) {
            if (trozo.at(i) != u'.')
                continue;
            anadir(inicio, i - inicio);
            anadir(i, 1);
            inicio = i + 1;
        }
        anadir(inicio, trozo.size() - inicio);
    }
    return palabras;
}

QString UnirPalabrasPatron(const QList<PalabraPatron> &palabras)
{
    QString texto;
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        if (i > 0 && !palabras.at(i).pegada)
            texto += u' ';
        texto += palabras.at(i).texto;
    }
    return texto;
}

QStringList PiezasBusquedaPatron(const QString &texto)
{
    const QList<PalabraPatron> palabras = PalabrasPatron(texto);
    QStringList piezas;
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        const QString &palabra = palabras.at(i).texto;
        if (i == 0)
            piezas << palabra + u'%';
        else if (i == palabras.size() - 1)
            piezas << u'%' + palabra;
        else
            piezas << u'%' + palabra + u'%';
    }
    return piezas;
}

bool EsClavePatron(const QString &clave) { return clave.contains(kMarcador); }

QString AplicarPatronTraduccion(const QString &texto, const QString &clave, const QString &traduccionClave,
                                const std::function<QString(const QString &parte)> &traducirParte)
{
    if (!EsClavePatron(clave))
        return QString();

    // The words the text shares with the key, each key word fixing the first free equal word.
    const QList<PalabraPatron> palabras = PalabrasPatron(texto);
    QStringList plegadas;
    for (const PalabraPatron &palabra : palabras)
        plegadas << plegar(palabra.texto);
    QList<bool> fijas(palabras.size(), false);
    for (const PalabraPatron &palabraClave : PalabrasPatron(clave)) {
        const QString buscada = plegar(palabraClave.texto);
        for (qsizetype i = 0; i < palabras.size(); ++i) {
            if (!fijas.at(i) && plegadas.at(i) == buscada) {
                fijas[i] = true;
                break;
            }
        }
    }

    // The runs between fixed words are the variable parts.
    QStringList partes;
    QList<PalabraPatron> tramo;
    const auto cerrarTramo = [&]() {
        if (tramo.isEmpty())
            return;
        tramo.first().pegada = false;
        const QString parte = UnirPalabrasPatron(tramo).trimmed();
        tramo.clear();
        if (parte.isEmpty())
            return;
        partes << (quedaComoEsta(parte, texto) || !traducirParte ? parte : traducirParte(parte));
    };
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        if (fijas.at(i))
            cerrarTramo();
        else
            tramo << palabras.at(i);
    }
    cerrarTramo();

    QList<PalabraPatron> traduccion = PalabrasPatron(QString(traduccionClave).replace(QStringLiteral("\\ X"), kMarcador));
    QList<bool> usadas(traduccion.size(), false);
    for (int k = 1; k <= partes.size(); ++k) {
        const qsizetype i = palabraConMarcador(traduccion, usadas, k);
        if (i < 0)
            continue;
        traduccion[i].texto = partes.at(k - 1);
        usadas[i] = true;
    }
    return UnirPalabrasPatron(traduccion);
}
