#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {

const QString kMinusculasAcentuadas = QStringLiteral("áéíóúàèìòùâêîôûñçäëïöü");
const QString kMayusculasAcentuadas = QStringLiteral("ÁÉÍÓÚÀÈÌÒÙÂÊÎÔÛÑÇÄËÏÖÜ");
const QString kCrLf = QStringLiteral("\r\n");

bool EsUnaDe(const QString &caracter, const QString &letras)
{
    return caracter.size() == 1 && letras.contains(caracter.at(0));
}

bool EntreBytes(const QString &texto, char desde, char hasta)
{
    return QString::compare(texto, QString(QLatin1Char(desde))) >= 0
        && QString::compare(texto, QString(QLatin1Char(hasta))) <= 0;
}

QString Caracter(const QString &texto, qsizetype i)
{
    return QString(texto.at(i));
}

} // namespace

QString CaracterNoUsado(const QString &texto)
{
    for (int codigo = 255; codigo >= 0; --codigo) {
        const QChar c(static_cast<char16_t>(codigo));
        if (!texto.contains(c))
            return QString(c);
    }
    return QString();
}

QString ExtraerCampo(int indice, const QString &texto, const QString &separador)
{
    if (indice < 0)
        return QString();
    if (separador.isEmpty())
        return indice == 0 ? texto : QString();
    // Walks to the piece instead of splitting the whole text: callers often step through
    // long texts piece by piece.
    qsizetype inicio = 0;
    for (int pieza = 0; pieza < indice; ++pieza) {
        const qsizetype siguiente = texto.indexOf(separador, inicio, Qt::CaseSensitive);
        if (siguiente < 0)
            return QString();
        inicio = siguiente + separador.size();
    }
    const qsizetype fin = texto.indexOf(separador, inicio, Qt::CaseSensitive);
    return texto.mid(inicio, fin < 0 ? -1 : fin - inicio);
}

QString ExtraerCampoDesdeElFinal(int n, const QString &texto, const QString &separador)
{
    const int apariciones = ContarApariciones(separador, texto);
    return ExtraerCampo(n <= apariciones ? apariciones - n : 0, texto, separador);
}

int ContarApariciones(const QString &parte, const QString &texto)
{
    if (parte.isEmpty())
        return 0;
    QString resto = texto;
    int veces = 0;
    for (qsizetype p = resto.indexOf(parte); p >= 0; p = resto.indexOf(parte)) {
        resto.remove(p, parte.size());
        ++veces;
    }
    return veces;
}

QString ReemplazarTexto(const QString &anterior, const QString &nuevo, QString &texto)
{
    if (!anterior.isEmpty())
        texto.replace(anterior, nuevo, Qt::CaseSensitive);
    return texto;
}

QString ReemplazarHastaEstable(const QString &anterior, const QString &nuevo, const QString &texto)
{
    QString resultado = texto;
    if (anterior.isEmpty())
        return resultado;
    // A replacement that holds the old text would never settle: one pass is all it gets.
    const bool unaPasada = nuevo.contains(anterior);
    while (true) {
        const QString previo = resultado;
        resultado.replace(anterior, nuevo, Qt::CaseSensitive);
        if (unaPasada || resultado == previo)
            return resultado;
    }
}

bool EsMinuscula(const QString &caracter)
{
    return EntreBytes(caracter, 'a', 'z') || EsUnaDe(caracter, kMinusculasAcentuadas);
}

bool EsMayuscula(const QString &caracter)
{
    return EntreBytes(caracter, 'A', 'Z') || EsUnaDe(caracter, kMayusculasAcentuadas);
}

bool EsDigito(const QString &caracter)
{
    return EntreBytes(caracter, '0', '9');
}

QString SepararPalabras(const QString &identificador)
{
    const qsizetype largo = identificador.size();
    QString resultado;
    qsizetype inicio = -1;   // start of the open word, -1 when none is open
    bool hayPalabras = false;
    for (qsizetype i = 0; i + 1 < largo; ++i) {
        const QString c = Caracter(identificador, i);
        const bool mayuscula = EsMayuscula(c);
        if (!mayuscula && !EsDigito(c))
            continue;
        if (inicio >= 0) {
            const QString previo = Caracter(identificador, i - 1);
            const bool mismaClase = mayuscula ? EsMayuscula(previo) : EsDigito(previo);
            resultado += identificador.mid(inicio, i - inicio);
            if (!mismaClase)
                resultado += QLatin1Char(' ');
        }
        inicio = i;
        hayPalabras = true;
    }
    if (largo > 0 && inicio >= 0) {
        const QString ultimo = Caracter(identificador, largo - 1);
        const QString primero = Caracter(identificador, inicio);
        if (EsMinuscula(ultimo) || (EsMayuscula(primero) && EsMayuscula(ultimo))
            || (EsDigito(primero) && EsDigito(ultimo)))
            resultado += identificador.mid(inicio);
        else
            resultado += identificador.mid(inicio, largo - 1 - inicio) + QLatin1Char(' ') + ultimo;
    }
    if (!hayPalabras)
        return identificador;
    return resultado.replace(QStringLiteral("  "), QStringLiteral(" "));
}

QString AbreviarNombreCampo(const QString &nombre, int n)
{
    n = std::max(n, 1);
    const QStringList palabras = SepararPalabras(nombre).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (palabras.size() <= 1 || EsDigito(nombre.left(1)))
        return nombre;
    QString resultado;
    for (qsizetype i = 0; i + 1 < palabras.size(); ++i) {
        // A word takes part when it begins with a capital (accented ones and "Z" too);
        // words that begin with a digit are left out.
        const QString &palabra = palabras.at(i);
        if (EsMayuscula(palabra.left(1)))
            resultado += palabra.left(n) + QLatin1Char('.');
    }
    return resultado + palabras.last();
}

QVariant MemoAVariante(const QString &memo)
{
    QString texto = memo;
    if (texto.contains(QStringLiteral("(Memo)")))
        texto.remove(0, 6);
    if (texto.isEmpty())
        return QVariant::fromValue(nullptr);
    const QString fin = QStringLiteral("finmemo");
    texto += texto.endsWith(kCrLf) ? fin + QLatin1Char('|') : QLatin1Char('|') + fin + QLatin1Char('|');
    texto.remove(QLatin1Char('\r'));
    texto.replace(QLatin1Char('\n'), QLatin1Char('|'));
    QVariantList elementos{QVariant()};
    const QStringList piezas = texto.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < piezas.size() && piezas.at(i) != fin; ++i) {
        while (elementos.size() <= i)
            elementos.append(QVariant());
        elementos[i] = piezas.at(i);
    }
    return elementos;
}

int ContarCaracter(QChar caracter, const QString &texto)
{
    return static_cast<int>(texto.count(caracter));
}

QString QuitarSaltoFinal(const QString &texto)
{
    return texto.endsWith(kCrLf) ? texto.left(texto.size() - 2) : texto;
}

QString Entrecomillar(const QString &texto)
{
    QString interior = texto;
    interior.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + interior + QLatin1Char('\'');
}

QString EntrecomillarLista(const QString &lista)
{
    QString t = lista;
    if (t.endsWith(QLatin1Char(',')))
        t.chop(1);
    t.replace(QStringLiteral(", "), QStringLiteral(","));
    t.replace(QStringLiteral(" ,"), QStringLiteral(","));
    t.replace(QStringLiteral(","), QStringLiteral("\",\""));
    t = QLatin1Char('"') + t + QLatin1Char('"');
    t.replace(QStringLiteral(",\"\""), QString());
    t.replace(QStringLiteral("\"\","), QString());
    return t == QStringLiteral("\"\"") ? QString() : t;
}

QString ExtraerTextosEntreParentesis(const QString &texto)
{
    QString resultado;
    QString t = texto;
    for (qsizetype p = t.indexOf(QLatin1Char('(')); p >= 0; p = t.indexOf(QLatin1Char('('))) {
        t.remove(p, 1);
        const qsizetype q = t.indexOf(QLatin1Char(')'));
        if (q < 0)
            continue;
        if (q > p)
            resultado += t.mid(p, q - p);
        if (t.contains(QLatin1Char('(')))
            resultado += kCrLf;
        t.remove(q, 1);
    }
    return resultado;
}

QString OrdenarLineas(const QString &texto)
{
    QStringList lineas = DividirLineas(texto);
    QCollator orden{QLocale(QLocale::Spanish, QLocale::Spain)};
    orden.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(lineas.begin(), lineas.end(),
                     [&orden](const QString &a, const QString &b) { return orden.compare(a, b) < 0; });
    return UnirLineas(lineas);
}

QString Espacios(int n)
{
    return RepetirCaracter(QLatin1Char(' '), n);
}

QString RepetirCaracter(QChar caracter, int n)
{
    return n > 0 ? QString(n, caracter) : QString();
}

QString SustituirSeparador(const QString &texto, const QString &separador)
{
    QString resultado = texto;
    resultado.replace(QLatin1Char(';'), separador);
    if (!resultado.isEmpty() && QString(resultado.back()) == separador)
        resultado.chop(1);
    return resultado;
}

QString DescribirRangos(const QString &rangos)
{
    QString resultado;
    for (const QString &linea : DividirLineas(rangos)) {
        const QString desde = ExtraerCampo(1, linea, QStringLiteral("|"));
        const QString hasta = ExtraerCampo(2, linea, QStringLiteral("|"));
        if (desde.isEmpty() && hasta.isEmpty())
            continue;
        const QString palabras = SepararPalabras(ExtraerCampo(0, linea, QStringLiteral("|")));
        resultado += QStringLiteral("Desde ") + palabras + QStringLiteral(": ") + desde + QStringLiteral(", ")
                   + QStringLiteral("Hasta ") + palabras + QStringLiteral(": ") + hasta + QStringLiteral(", ");
    }
    return resultado;
}

QString BooleanoATexto(bool valor)
{
    return valor ? QStringLiteral("SI") : QStringLiteral("NO");
}

QStringList DividirLineas(const QString &texto)
{
    QStringList lineas;
    qsizetype inicio = 0;
    const qsizetype largo = texto.size();
    for (qsizetype i = 0; i < largo; ++i) {
        const QChar c = texto.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lineas.append(texto.mid(inicio, i - inicio));
        if (c == QLatin1Char('\r') && i + 1 < largo && texto.at(i + 1) == QLatin1Char('\n'))
            ++i;
        inicio = i + 1;
    }
    if (inicio < largo)
        lineas.append(texto.mid(inicio));
    return lineas;
}

QString UnirLineas(const QStringList &lineas)
{
    QString texto;
    for (const QString &linea : lineas)
        texto += linea + kCrLf;
    return texto;
}

namespace {

qsizetype IndiceDeNombre(const QString &nombre, const QStringList &lineas)
{
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const QString &linea = lineas.at(i);
        const qsizetype igual = linea.indexOf(QLatin1Char('='));
        if (igual >= 0 && QString::compare(linea.left(igual), nombre, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

QString LeerValorDeLista(const QString &nombre, const QString &texto)
{
    return LeerValorDeLineas(nombre, DividirLineas(texto));
}

QString LeerValorDeLineas(const QString &nombre, const QStringList &lineas)
{
    const qsizetype i = IndiceDeNombre(nombre, lineas);
    if (i < 0)
        return QString();
    const QString &linea = lineas.at(i);
    return linea.mid(linea.indexOf(QLatin1Char('=')) + 1);
}

void EscribirValorEnLista(const QString &nombre, const QString &valor, QStringList &lineas)
{
    const qsizetype i = IndiceDeNombre(nombre, lineas);
    if (valor.isEmpty()) {
        if (i >= 0)
            lineas.removeAt(i);
        return;
    }
    if (i >= 0) {
        const QString &linea = lineas.at(i);
        lineas[i] = linea.left(linea.indexOf(QLatin1Char('=')) + 1) + valor;
    } else {
        lineas.append(nombre + QLatin1Char('=') + valor);
    }
}

QString EscribirValorEnTexto(const QString &nombre, const QString &valor, QString &texto)
{
    QStringList lineas = DividirLineas(texto);
    EscribirValorEnLista(nombre, valor, lineas);
    texto = UnirLineas(lineas);
    return texto;
}
