#include "app/vktlext/ArchivoOrdenes.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

QStringList direcciones(const QString &texto)
{
    QStringList lista;
    for (const QString &d : QString(texto).replace(u';', u',').split(u',')) {
        if (!d.trimmed().isEmpty())
            lista << d.trimmed();
    }
    return lista;
}

} // namespace

QString ValorOrden(const QStringList &lineas, const char *clave)
{
    return LeerValorDeLineas(QString::fromLatin1(clave), lineas);
}

QStringList LeerArchivoOrdenes(const QString &texto)
{
    QStringList lineas = DividirLineas(texto);
    for (QString &l : lineas)
        l.replace(u'·', u'\n');
    return lineas;
}

LlamadaExterna LlamadaCorreo(const QStringList &lineas)
{
    LlamadaExterna l{QStringLiteral("xdg-email"), {QStringLiteral("--utf8")}};
    const QString asunto = ValorOrden(lineas, "Asunto");
    if (!asunto.isEmpty())
        l.argumentos << QStringLiteral("--subject") << asunto;
    const QString texto = ValorOrden(lineas, "Texto");
    if (!texto.isEmpty())
        l.argumentos << QStringLiteral("--body") << texto;
    for (const QString &cc : direcciones(ValorOrden(lineas, "EMailDestinatarioCC")))
        l.argumentos << QStringLiteral("--cc") << cc;
    // Every piece that is a regular file goes; notes, missing files and folders are skipped.
    for (const QString &pieza : ValorOrden(lineas, "ArchivosAdjuntos").split(QRegularExpression(QStringLiteral("[|\\n]")))) {
        if (!pieza.isEmpty() && QFileInfo(pieza).isFile())
            l.argumentos << QStringLiteral("--attach") << pieza;
    }
    l.argumentos << direcciones(ValorOrden(lineas, "EMailDestinatario"));
    return l;
}

LlamadaExterna LlamadaImpresionPDF(const QStringList &lineas)
{
    LlamadaExterna l{QStringLiteral("lp"), {}};
    const QString impresora = ValorOrden(lineas, "NombreImpresora");
    if (!impresora.isEmpty())
        l.argumentos << QStringLiteral("-d") << impresora;
    l.argumentos << QStringLiteral("--") << ValorOrden(lineas, "PathDocumento");
    return l;
}

LlamadaExterna LlamadaImpresionWord(const QStringList &lineas, const QString &libreOffice)
{
    LlamadaExterna l{libreOffice, {QStringLiteral("--headless")}};
    const QString impresora = ValorOrden(lineas, "NombreImpresora");
    if (impresora.isEmpty())
        l.argumentos << QStringLiteral("-p");
    else
        l.argumentos << QStringLiteral("--pt") << impresora;
    l.argumentos << ValorOrden(lineas, "PathDocumento");
    return l;
}
