#include "GENEW/runtime/comun/FicherosTexto.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned codes keep
// their Latin-1 value.
constexpr char16_t kWindows1252Altos[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DesdeWindows1252(const QByteArray &bytes)
{
    QString texto;
    texto.reserve(bytes.size());
    for (const char b : bytes) {
        const auto codigo = static_cast<unsigned char>(b);
        texto.append(codigo >= 0x80 && codigo < 0xA0 ? QChar(kWindows1252Altos[codigo - 0x80])
                                                     : QChar(static_cast<char16_t>(codigo)));
    }
    return texto;
}

} // namespace

QString TextoDeBytes(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        return DesdeWindows1252(bytes);
    if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    return texto;
}

QString LocalizarFichero(const QString &ruta)
{
    const QFileInfo info(ruta);
    if (info.exists() || ruta.isEmpty())
        return ruta;
    const QDir carpeta = info.dir();
    const QStringList entradas =
        carpeta.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entrada : entradas) {
        if (QString::compare(entrada, info.fileName(), Qt::CaseInsensitive) == 0)
            return ruta.left(ruta.size() - info.fileName().size()) + entrada;
    }
    return ruta;
}

QString LeerFicheroTexto(const QString &fichero, bool *leido)
{
    QFile f(LocalizarFichero(fichero));
    const bool abierto = f.open(QIODevice::ReadOnly);
    if (leido)
        *leido = abierto;
    return abierto ? TextoDeBytes(f.readAll()) : QString();
}

bool EscribirFicheroTexto(const QString &fichero, const QString &texto)
{
    QSaveFile f(LocalizarFichero(fichero));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(texto.toUtf8());
    return f.commit();
}

QString LeerValorTexto(const QString &fichero, const QString &nombre, const QString &defecto)
{
    const QString valor = LeerValorDeLista(nombre, LeerFicheroTexto(fichero));
    return valor.isEmpty() ? defecto : valor;
}

namespace {

bool EsCabecera(const QString &linea, QString *nombre = nullptr)
{
    const QString t = linea.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (nombre)
        *nombre = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Index of the header line of the section, -1 when missing.
qsizetype BuscarSeccion(const QStringList &lineas, const QString &seccion)
{
    QString nombre;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        if (EsCabecera(lineas.at(i), &nombre) && QString::compare(nombre, seccion, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// One past the last line of the section that starts at the header.
qsizetype FinSeccion(const QStringList &lineas, qsizetype cabecera)
{
    qsizetype i = cabecera + 1;
    while (i < lineas.size() && !EsCabecera(lineas.at(i)))
        ++i;
    return i;
}

QString ClaveDeLinea(const QString &linea)
{
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    if (igual < 0 || linea.trimmed().startsWith(QLatin1Char(';')))
        return QString();
    return linea.left(igual).trimmed();
}

qsizetype BuscarClave(const QStringList &lineas, qsizetype desde, qsizetype hasta, const QString &clave)
{
    for (qsizetype i = desde; i < hasta; ++i) {
        const QString nombre = ClaveDeLinea(lineas.at(i));
        if (!nombre.isEmpty() && QString::compare(nombre, clave, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

void EscribirINI(const QString &fichero, const QString &seccion, const QString &clave, const QString &valor)
{
    const QString ruta = LocalizarFichero(fichero);
    QStringList lineas = DividirLineas(LeerFicheroTexto(ruta));
    const QString nueva = clave + QLatin1Char('=') + valor;
    const qsizetype cabecera = BuscarSeccion(lineas, seccion);
    if (cabecera < 0) {
        if (!lineas.isEmpty() && !lineas.last().trimmed().isEmpty())
            lineas.append(QString());
        lineas << QLatin1Char('[') + seccion + QLatin1Char(']') << nueva;
    } else {
        const qsizetype fin = FinSeccion(lineas, cabecera);
        const qsizetype existente = BuscarClave(lineas, cabecera + 1, fin, clave);
        if (existente >= 0) {
            lineas[existente] = nueva;
        } else {
            // After the section's last line that is not blank.
            qsizetype donde = fin;
            while (donde > cabecera + 1 && lineas.at(donde - 1).trimmed().isEmpty())
                --donde;
            lineas.insert(donde, nueva);
        }
    }
    if (!EscribirFicheroTexto(ruta, UnirLineas(lineas)))
        throw gp::Error(QStringLiteral("Unable to write to %1").arg(ruta));
}

QString LeerINI(const QString &fichero, const QString &seccion, const QString &clave, const QString &defecto)
{
    const QStringList lineas = DividirLineas(LeerFicheroTexto(fichero));
    const qsizetype cabecera = BuscarSeccion(lineas, seccion);
    if (cabecera < 0)
        return defecto;
    const qsizetype i = BuscarClave(lineas, cabecera + 1, FinSeccion(lineas, cabecera), clave);
    if (i < 0)
        return defecto;
    const QString &linea = lineas.at(i);
    return linea.mid(linea.indexOf(QLatin1Char('=')) + 1).trimmed();
}

QStringList LeerSeccionINI(const QString &fichero, const QString &seccion)
{
    const QStringList lineas = DividirLineas(LeerFicheroTexto(fichero));
    const qsizetype cabecera = BuscarSeccion(lineas, seccion);
    QStringList valores;
    if (cabecera < 0)
        return valores;
    const qsizetype fin = FinSeccion(lineas, cabecera);
    for (qsizetype i = cabecera + 1; i < fin; ++i) {
        const QString &linea = lineas.at(i);
        const QString clave = ClaveDeLinea(linea);
        if (!clave.isEmpty())
            valores << clave + QLatin1Char('=') + linea.mid(linea.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return valores;
}
