#include "GENEW/runtime/comun/FicherosTexto.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

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

namespace {

enum class FormaTexto { Utf16LE, Utf16BE, Otra };

FormaTexto FormaPorMarca(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return FormaTexto::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return FormaTexto::Utf16BE;
    return FormaTexto::Otra;
}

// Every surrogate of the text in a proper pair (the UTF-16 decoder lets a lone one through).
bool SustitutosEmparejados(const QString &texto)
{
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i].isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate())
            ++i;
        else if (texto[i].isSurrogate())
            return false;
    }
    return true;
}

// Decodes what it can; *valido tells whether the bytes were text in the form chosen.
QString Decodificar(const QByteArray &bytes, bool *valido)
{
    *valido = true;
    const FormaTexto forma = FormaPorMarca(bytes);
    if (forma != FormaTexto::Otra) {
        QStringDecoder utf16(forma == FormaTexto::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        QString texto = utf16.decode(bytes.mid(2));
        *valido = !utf16.hasError() && bytes.size() % 2 == 0 && SustitutosEmparejados(texto);
        return texto;
    }
    // A NUL never appears in the program's texts: such bytes are UTF-16 without its mark,
    // or no text at all.
    *valido = !bytes.contains('\0');
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        return DesdeWindows1252(bytes);
    if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    return texto;
}

} // namespace

QString TextoDeBytes(const QByteArray &bytes)
{
    bool valido = false;
    return Decodificar(bytes, &valido);
}

bool DecodificarTexto(const QByteArray &bytes, QString &texto)
{
    bool valido = false;
    texto = Decodificar(bytes, &valido);
    return valido;
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

QString LecturaFicheroTexto::textoNoDisponible() const
{
    return QStringLiteral("No está disponible el archivo ") + ruta + QStringLiteral(". Motivo: ") + motivo;
}

LecturaFicheroTexto LeerFicheroTextoConMotivo(const QString &fichero)
{
    LecturaFicheroTexto lectura;
    lectura.ruta = LocalizarFichero(fichero);
    const QFileInfo info(lectura.ruta);
    lectura.existe = info.exists();
    if (info.isDir()) {
        lectura.motivo = QStringLiteral("Is a directory");
        return lectura;
    }
    QFile f(lectura.ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        lectura.motivo = f.errorString();
        return lectura;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        lectura.motivo = f.errorString();
        return lectura;
    }
    QString texto;
    if (!DecodificarTexto(bytes, texto)) {
        lectura.motivo = QStringLiteral("Su contenido no es texto (UTF-8, Windows-1252 o UTF-16)");
        return lectura;
    }
    lectura.leido = true;
    lectura.texto = texto;
    return lectura;
}

namespace {

// The C0 controls but tab, CR and LF, DEL and the C1 controls.
bool esControlAjeno(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\r' && u != u'\n') || (u >= 0x7F && u < 0xA0);
}

} // namespace

LecturaFicheroTexto LeerFicheroAjustesConMotivo(const QString &fichero)
{
    LecturaFicheroTexto lectura = LeerFicheroTextoConMotivo(fichero);
    const auto control = std::find_if(lectura.texto.cbegin(), lectura.texto.cend(), esControlAjeno);
    if (!lectura.leido || control == lectura.texto.cend())
        return lectura;
    const qsizetype posicion = control - lectura.texto.cbegin();
    lectura.leido = false;
    lectura.motivo = QStringLiteral("Su contenido no es texto: tiene el carácter de control %1 en la línea %2")
                         .arg(QStringLiteral("0x") + QString::number(control->unicode(), 16).rightJustified(2, u'0').toUpper())
                         .arg(QStringView(lectura.texto).left(posicion).count(u'\n') + 1);
    lectura.texto.clear();
    return lectura;
}

QString LeerFicheroTexto(const QString &fichero, bool *leido)
{
    LecturaFicheroTexto lectura = LeerFicheroTextoConMotivo(fichero);
    if (leido)
        *leido = lectura.leido;
    return lectura.texto;
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
