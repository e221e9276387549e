// A stand-in for the office suite's converter: "soffice --headless ... --convert-to pdf
// --outdir <dir> <file>" writes <dir>/<name>.pdf holding the document's text on one page
// (of a .docx, its paragraphs in order; of any other file, its bytes as text). Tests put it
// first on the PATH, so that no test but the one meant for it needs the real suite.
#include "platform/office/ArchivoZip.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QXmlStreamReader>

namespace {

QString TextoDocx(const QString &fichero, bool &esDocx)
{
    QString error;
    const auto partes = plat::office::readZip(fichero, error);
    QByteArray documento;
    esDocx = false;
    for (const auto &[nombre, datos] : partes ? *partes : plat::office::ZipEntries())
        if (nombre == QLatin1String("word/document.xml")) {
            documento = datos;
            esDocx = true;
        }
    if (!esDocx)
        return {};
    QXmlStreamReader xml(documento);
    QString texto;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.qualifiedName() == u"w:t")
            texto += xml.readElementText();
        else if (xml.isEndElement() && xml.qualifiedName() == u"w:p")
            texto += u'\n';
    }
    return texto;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList argumentos = app.arguments();
    const qsizetype salida = argumentos.indexOf(QStringLiteral("--outdir"));
    if (!argumentos.contains(QStringLiteral("--convert-to")) || salida < 0 || salida + 2 >= argumentos.size())
        return 2;
    const QString fichero = argumentos.last();
    bool esDocx = false;
    QString texto = TextoDocx(fichero, esDocx);
    if (!esDocx) {
        QFile f(fichero);
        if (!f.open(QIODevice::ReadOnly))
            return 3;
        texto = QString::fromUtf8(f.readAll());
    }
    QDir().mkpath(argumentos.at(salida + 1));
    QPdfWriter pdf(QDir(argumentos.at(salida + 1)).filePath(QFileInfo(fichero).completeBaseName() + QStringLiteral(".pdf")));
    pdf.setResolution(72);
    QPainter pintor(&pdf);
    pintor.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    int y = 60;
    for (const QString &linea : texto.split(u'\n')) {
        pintor.drawText(50, y, linea);
        y += 18;
    }
    return pintor.end() ? 0 : 4;
}
