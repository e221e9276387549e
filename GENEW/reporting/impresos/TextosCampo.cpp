#include "GENEW/reporting/impresos/TextosCampo.h"

#include "platform/base/LecturaTextos.h"

#include <array>

NombreCampoImpreso LeerNombreCampo(const QString &nombre)
{
    NombreCampoImpreso resultado;
    QString campo = nombre;
    const qsizetype coma = campo.indexOf(QLatin1Char(','));
    if (coma >= 0) {
        int pieza = 0;
        if (LeerEntero(campo.mid(coma + 1), pieza) && pieza > 0)
            resultado.pieza = pieza;
        campo.truncate(coma);
    }
    if (campo.contains(QLatin1String("(Euro)"))) {
        resultado.euro = true;
        campo.remove(QLatin1String("(Euro)"));
    }
    campo.replace(QChar(0x00F1), QLatin1Char('n'));
    campo.remove(QLatin1Char('-'));
    resultado.campo = campo.trimmed();
    return resultado;
}

QString PiezaTexto(const QString &texto, int n)
{
    const QStringList piezas = texto.split(QLatin1Char(';'));
    return n >= 1 && n <= piezas.size() ? piezas.at(n - 1) : QString();
}

QString FormatoReal(const QString &positivo, const QString &negativo, const QString &cero, const QString &plantilla)
{
    if (positivo.isEmpty())
        return plantilla;
    QString formato = positivo;
    if (!negativo.isEmpty()) {
        formato += QLatin1Char(';') + negativo;
        if (!cero.isEmpty())
            formato += QLatin1Char(';') + cero;
    }
    return formato;
}

double EvaluarExpresion(const QString &expresion, const std::function<double(const QString &)> &valorTermino)
{
    static const std::array<QString, 5> operadores = {QStringLiteral(" + "), QStringLiteral(" - "), QStringLiteral(" * "),
                                                       QStringLiteral(" x "), QStringLiteral(" / ")};
    auto valor = [&](const QString &termino) {
        double numero = 0;
        return LeerDecimal(termino, numero) ? numero : valorTermino(termino.trimmed());
    };
    double resultado = 0;
    QChar pendiente;   // none before the first term
    qsizetype desde = 0;
    while (true) {
        qsizetype fin = -1;
        QChar operador;
        for (const QString &o : operadores) {
            const qsizetype i = expresion.indexOf(o, desde);
            if (i >= 0 && (fin < 0 || i < fin)) {
                fin = i;
                operador = o.at(1);
            }
        }
        const double v = valor(expresion.mid(desde, fin < 0 ? -1 : fin - desde));
        switch (pendiente.unicode()) {
        case 0: resultado = v; break;
        case '+': resultado += v; break;
        case '-': resultado -= v; break;
        case '*':
        case 'x': resultado *= v; break;
        case '/': resultado = v == 0 ? 0 : resultado / v; break;
        }
        if (fin < 0)
            return resultado;
        pendiente = operador;
        desde = fin + 3;
    }
}

QString ConcatenarElementos(const QString &expresion, const std::function<QString(const QString &)> &valorCampo)
{
    QString resultado;
    bool unir = true;
    auto anadir = [&](const QString &valor) {
        resultado = unir ? resultado + valor : valor;
        unir = false;
    };
    const qsizetype n = expresion.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && expresion.at(i) == QLatin1Char(' '))
            ++i;
        if (i >= n)
            return resultado;
        const QChar c = expresion.at(i);
        if (c == QLatin1Char('+')) {
            unir = true;
            ++i;
        } else if (c == QLatin1Char('"')) {
            QString texto;
            for (++i; i < n && expresion.at(i) != QLatin1Char('"'); ++i) {
                if (expresion.at(i) == QLatin1Char('\\') && i + 1 < n &&
                    (expresion.at(i + 1) == QLatin1Char('"') || expresion.at(i + 1) == QLatin1Char('\\')))
                    ++i;
                texto += expresion.at(i);
            }
            ++i;   // the closing quote, when there is one
            anadir(texto);
        } else {
            QString nombre;
            for (; i < n && expresion.at(i) != QLatin1Char(' ') && expresion.at(i) != QLatin1Char('"'); ++i)
                if (expresion.at(i) != QLatin1Char('+'))
                    nombre += expresion.at(i);
            anadir(valorCampo(nombre));
        }
    }
}

QStringList LlenarParrafo(const QString &parrafo, int ancho, const std::function<int(const QString &)> &medir)
{
    QStringList lineas;
    QString linea;
    const QStringList palabras =
        (QString(parrafo).remove(QLatin1Char('\t')) + QStringLiteral(" FINFRASE")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &palabra : palabras) {
        if (palabra == QLatin1String("FINFRASE"))
            break;
        const QString candidata = linea.isEmpty() ? palabra : linea + QLatin1Char(' ') + palabra;
        if (linea.isEmpty() || medir(candidata) <= ancho) {
            linea = candidata;
            continue;
        }
        lineas << linea;
        linea = palabra;
    }
    if (!linea.isEmpty())
        lineas << linea;
    return lineas;
}

