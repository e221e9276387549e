#include "GENEW/runtime/MensajeCorreo.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr qsizetype kBytesPorPalabra = 45;   // 60 base64 characters: words stay under 76
constexpr qsizetype kBytesPorLineaBase64 = 57;   // 76 characters per line

bool esASCIIImprimible(const QString &texto)
{
    for (const QChar c : texto) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

// Control characters never reach a header: an address with a line break would add headers.
QByteArray direccionLimpia(const QString &direccion)
{
    QByteArray bytes;
    for (const QChar c : direccion) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            bytes += QString(c).toUtf8();
    }
    return bytes.trimmed();
}

QByteArray listaDirecciones(const QStringList &direcciones)
{
    QList<QByteArray> partes;
    for (const QString &d : direcciones)
        partes << '<' + direccionLimpia(d) + '>';
    return partes.join(", ");
}

QByteArray base64EnLineas(const QByteArray &datos)
{
    QByteArray salida;
    salida.reserve(datos.size() * 4 / 3 + datos.size() / 28 + 4);
    for (qsizetype i = 0; i < datos.size(); i += kBytesPorLineaBase64)
        salida += datos.mid(i, kBytesPorLineaBase64).toBase64() + "\r\n";
    return salida;
}

QByteArray fechaRFC5322(const QDateTime &fecha)
{
    const int minutos = fecha.offsetFromUtc() / 60;
    // The sign goes in as a character: a char16_t given to arg() is taken for its number.
    const QString zona = QStringLiteral("%1%2%3")
                             .arg(QChar(minutos < 0 ? u'-' : u'+'))
                             .arg(std::abs(minutos) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(minutos) % 60, 2, 10, QLatin1Char('0'));
    return (QLocale::c().toString(fecha, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss ")) + zona).toLatin1();
}

} // namespace

AjustesSMTP AjustesSMTP::deTexto(const QString &texto)
{
    AjustesSMTP a;
    a.servidor = LeerValorDeLista(QStringLiteral("ServidorSMTP"), texto);
    a.usuario = LeerValorDeLista(QStringLiteral("CodigoUsuarioSMTP"), texto);
    a.clave = LeerValorDeLista(QStringLiteral("ClaveAccesoSMTP"), texto);
    a.puerto = LeerValorDeLista(QStringLiteral("PuertoSSL"), texto);
    a.cuentaCopias = LeerValorDeLista(QStringLiteral("CuentaSMTPCopiasDocumentos"), texto);
    a.cuentaFrom = LeerValorDeLista(QStringLiteral("CuentaFromSMTP"), texto);
    return a;
}

QString AjustesSMTP::direccionRemitente() const
{
    if (!cuentaFrom.isEmpty())
        return cuentaFrom;
    return usuario.contains(u'@') ? usuario : cuentaCopias;
}

bool EnviaPorSMTP(const QString &ajustes)
{
    return QString(ajustes).remove(QStringLiteral("(Masivo)")).contains(QLatin1String("ClienteSMTP=Indy"));
}

QString TextoCorreoNoEnviado(const QString &motivo)
{
    return QStringLiteral("¡No ha sido posible enviar el correo electrónico!. Motivo: ") + motivo;
}

QList<ModoConexionSMTP> IntentosSMTP(const QString &puerto)
{
    using M = ModoConexionSMTP;
    if (puerto == QLatin1String("465") || puerto == QLatin1String("587"))
        return {M::TLSImplicito, M::STARTTLSObligatorio};
    if (puerto.isEmpty())
        return {M::STARTTLSSiSeOfrece, M::STARTTLSSiSeOfrece};
    return {M::STARTTLSSiSeOfrece, M::TLSImplicito};
}

int NumeroPuertoSMTP(const QString &puerto)
{
    return puerto.isEmpty() ? 25 : puerto.toInt();
}

QStringList DividirDirecciones(const QString &texto)
{
    QStringList direcciones;
    for (const QString &pieza : QString(texto).replace(u';', u',').split(u',')) {
        const QString d = pieza.trimmed();
        if (!d.isEmpty())
            direcciones << d;
    }
    return direcciones;
}

QStringList AdjuntosExistentes(const QString &lista)
{
    QStringList archivos;
    for (const QString &pieza : lista.split(u'|')) {
        if (!pieza.isEmpty() && QFileInfo(pieza).isFile())
            archivos << pieza;
    }
    return archivos;
}

QByteArray CodificarPalabrasCabecera(const QString &texto)
{
    if (esASCIIImprimible(texto))
        return texto.toLatin1();
    // Each word holds whole characters, so every word decodes on its own.
    QList<QByteArray> palabras;
    QByteArray actual;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        qsizetype fin = i + 1;
        if (texto.at(i).isHighSurrogate() && fin < texto.size())
            ++fin;
        const QByteArray caracter = texto.mid(i, fin - i).toUtf8();
        if (actual.size() + caracter.size() > kBytesPorPalabra) {
            palabras << actual;
            actual.clear();
        }
        actual += caracter;
        i = fin - 1;
    }
    if (!actual.isEmpty())
        palabras << actual;
    QList<QByteArray> codificadas;
    for (const QByteArray &p : palabras)
        codificadas << "=?UTF-8?B?" + p.toBase64() + "?=";
    return codificadas.join("\r\n ");
}

QByteArray ComponerMensaje(const MensajeCorreo &m, const QDateTime &fecha, const QByteArray &frontera,
                           const QByteArray &idMensaje)
{
    QByteArray salida;
    QByteArray remitente = '<' + direccionLimpia(m.direccionRemitente) + '>';
    if (!m.nombreRemitente.isEmpty()) {
        QByteArray nombre = CodificarPalabrasCabecera(m.nombreRemitente);
        if (esASCIIImprimible(m.nombreRemitente))
            nombre = '"' + nombre.replace('\\', "\\\\").replace('"', "\\\"") + '"';
        remitente = nombre + ' ' + remitente;
    }
    salida += "From: " + remitente + "\r\n";
    if (!m.destinatarios.isEmpty())
        salida += "To: " + listaDirecciones(m.destinatarios) + "\r\n";
    if (!m.copias.isEmpty())
        salida += "Cc: " + listaDirecciones(m.copias) + "\r\n";
    salida += "Subject: " + CodificarPalabrasCabecera(m.asunto) + "\r\n";
    salida += "Date: " + fechaRFC5322(fecha) + "\r\n";
    salida += "Message-ID: <" + idMensaje + ">\r\n";
    salida += "MIME-Version: 1.0\r\n";
    salida += "Content-Type: multipart/mixed; boundary=\"" + frontera + "\"\r\n\r\n";

    salida += "--" + frontera + "\r\n";
    salida += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    // Text travels in its canonical form: every line break as CR LF.
    salida += base64EnLineas(QString(m.texto).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                 .replace(u'\n', QLatin1String("\r\n"))
                                 .toUtf8());

    for (const QString &ruta : m.adjuntos) {
        QFile archivo(ruta);
        if (!archivo.open(QIODevice::ReadOnly))
            throw gp::Error(QStringLiteral("Cannot open file \"") + ruta + QStringLiteral("\". ") + archivo.errorString());
        const QString nombre = QFileInfo(ruta).fileName();
        QByteArray nombreCabecera = CodificarPalabrasCabecera(nombre);
        if (esASCIIImprimible(nombre))
            nombreCabecera.replace('\\', "\\\\").replace('"', "\\\"");
        salida += "--" + frontera + "\r\n";
        salida += "Content-Type: application/octet-stream; name=\"" + nombreCabecera + "\"\r\n";
        salida += "Content-Transfer-Encoding: base64\r\n";
        salida += "Content-Disposition: attachment; filename=\"" + nombreCabecera + "\"\r\n\r\n";
        salida += base64EnLineas(archivo.readAll());
    }
    salida += "--" + frontera + "--\r\n";
    return salida;
}
