// The auxiliary program run as the main program runs it, with recording stand-ins for the
// desktop's tools first (and alone) on the PATH.
#include "tests/support/TempDir.h"

#include <QDir>
#include <QProcess>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace {

bool escribir(const QString &ruta, const QByteArray &datos)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}

QByteArray leer(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Vktlext : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir raiz(dir_.path());
        raiz.mkdir(QStringLiteral("bin"));
        raiz.mkdir(QStringLiteral("registro"));
        for (const char *programa : {"xdg-email", "xdg-open", "lp", "soffice"})
            ponerSustituto(QString::fromLatin1(programa));
    }

    void ponerSustituto(const QString &programa)
    {
        const QString ruta = dir_.file("bin/" + programa);
        ASSERT_TRUE(escribir(ruta, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$GP_PRUEBA_REGISTRO/" + programa.toUtf8()
                                       + "\"\nexit 0\n"));
        QFile(ruta).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Runs "vktlext <word> <file>" with the .INI text; answers the exit code.
    int ejecutar(const QString &palabra, const QByteArray &ini)
    {
        const QString archivo = dir_.file("ORDEN.INI");
        EXPECT_TRUE(escribir(archivo, ini));
        QProcess p;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QStringLiteral("PATH"), dir_.file("bin"));
        entorno.insert(QStringLiteral("GP_PRUEBA_REGISTRO"), dir_.file("registro"));
        entorno.insert(QStringLiteral("GP_VKTLEXT_SIN_ESPERA"), QStringLiteral("1"));
        p.setProcessEnvironment(entorno);
        p.start(QStringLiteral(GP_VKTLEXT), {palabra, archivo});
        EXPECT_TRUE(p.waitForFinished(30000));
        errores_ = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QStringList llamada(const char *programa) const
    {
        return QString::fromUtf8(leer(dir_.file(QStringLiteral("registro/") + QLatin1String(programa))))
            .split(u'\n', Qt::SkipEmptyParts);
    }

    gptest::TempDir dir_;
    QString errores_;
};

TEST_F(Vktlext, MailGoesToXdgEmailWithBreaksBackAndOnlyRegularFilesAttached)
{
    ASSERT_TRUE(escribir(dir_.file("a.pdf"), "a"));
    ASSERT_TRUE(escribir(dir_.file("b.txt"), "b"));
    QDir(dir_.path()).mkdir(QStringLiteral("carpeta"));
    const QByteArray ini = "Asunto=Presupuesto nº 7\r\nTexto=Hola·adiós\r\nArchivosAdjuntos=" + dir_.file("a.pdf").toUtf8()
        + "|nota||" + dir_.file("carpeta").toUtf8() + "|" + dir_.file("b.txt").toUtf8()
        + "\r\nNombreRemitente=Oficina\r\nEMailRemitente=of@x.test\r\nNombreDestinatario=Cliente\r\n"
          "EMailDestinatario=c1@x.test; c2@x.test\r\nNombreDestinatarioCC=Copia\r\nEMailDestinatarioCC=cc@x.test\r\n"
          "Opciones=\r\n";
    EXPECT_EQ(ejecutar(QStringLiteral("EnviarEMailMAPI"), ini), 0) << errores_.toStdString();
    EXPECT_EQ(llamada("xdg-email"),
              (QStringList{"--utf8", "--subject", "Presupuesto nº 7", "--body", "Hola", "adiós", "--cc", "cc@x.test",
                           "--attach", dir_.file("a.pdf"), "--attach", dir_.file("b.txt"), "c1@x.test", "c2@x.test"}));
}

TEST_F(Vktlext, ADocxIsMergedThenOpenedAndADocOpensUnchanged)
{
    const QString docx = dir_.file("Carta.DOCX");
    const QByteArray xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)" "\r\n"
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
        R"(<w:p><w:r><w:t>Estimado $NOM</w:t></w:r><w:r><w:t>BRE$:</w:t></w:r></w:p>)"
        R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>$Linea.Partida$</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)"
        R"(</w:body></w:document>)";
    {
        QuaZip zip(docx);
        ASSERT_TRUE(zip.open(QuaZip::mdCreate));
        QuaZipFile f(&zip);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("word/document.xml"))));
        f.write(xml);
    }
    ASSERT_TRUE(escribir(dir_.file("V.VAL"),
                         "Nombre=Obras & Hijos <S.L.>\r\nLinea=Partida=Muro·norte|Importe=1|\r\nLinea=Partida=Tejado|\r\n"));
    const QByteArray ini = "PathDocumento=" + docx.toUtf8() + "\r\nPathArchivoValores=" + dir_.file("V.VAL").toUtf8() + "\r\n";
    EXPECT_EQ(ejecutar(QStringLiteral("AbrirDocumentoWord"), ini), 0) << errores_.toStdString();
    EXPECT_EQ(llamada("xdg-open"), QStringList{docx});

    QuaZip zip(docx);
    ASSERT_TRUE(zip.open(QuaZip::mdUnzip));
    ASSERT_TRUE(zip.setCurrentFile(QStringLiteral("word/document.xml")));
    QuaZipFile f(&zip);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader r(f.readAll());
    QStringList textos;
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.qualifiedName() == u"w:t")
            textos << r.readElementText();
        else if (r.isStartElement() && r.qualifiedName() == u"w:br")
            textos << QStringLiteral("<br>");
    }
    EXPECT_FALSE(r.hasError());
    EXPECT_EQ(textos, (QStringList{"Estimado Obras & Hijos <S.L.>", ":", "Muro", "<br>", "norte", "Tejado"}));

    const QByteArray antiguo("\xD0\xCF\x11\xE0 documento antiguo $Nombre$", 33);
    ASSERT_TRUE(escribir(dir_.file("Carta.doc"), antiguo));
    const QByteArray iniDoc = "PathDocumento=" + dir_.file("Carta.doc").toUtf8() + "\r\nPathArchivoValores=" +
        dir_.file("V.VAL").toUtf8() + "\r\n";
    EXPECT_EQ(ejecutar(QStringLiteral("AbrirDocumentoWord"), iniDoc), 0);
    EXPECT_EQ(leer(dir_.file("Carta.doc")), antiguo);
    EXPECT_EQ(llamada("xdg-open"), QStringList{dir_.file("Carta.doc")});
}

TEST_F(Vktlext, PrintingGoesToLpOrLibreOfficeAndFailsWithoutIt)
{
    const QString pdf = dir_.file("informe final.pdf");
    ASSERT_TRUE(escribir(pdf, "%PDF-1.4"));
    const QByteArray ini = "PathDocumento=" + pdf.toUtf8() + "\r\nNombreImpresora=Oficina_2\r\n";
    EXPECT_EQ(ejecutar(QStringLiteral("ImprimirDocumentoPDF"), ini), 0);
    EXPECT_EQ(llamada("lp"), (QStringList{"-d", "Oficina_2", "--", pdf}));

    EXPECT_EQ(ejecutar(QStringLiteral("ImprimirDocumentoWord"), ini), 0);
    const QStringList soffice = llamada("soffice");
    EXPECT_EQ(soffice, (QStringList{"--headless", "--pt", "Oficina_2", pdf}));

    QFile::remove(dir_.file("bin/soffice"));
    const int sinLibreOffice = ejecutar(QStringLiteral("ImprimirDocumentoWord"), ini);
    EXPECT_GE(sinLibreOffice, 2);
    EXPECT_TRUE(errores_.contains("LibreOffice")) << errores_.toStdString();
}

TEST_F(Vktlext, AnUnknownOrEmptyWordEndsWithCodeTwo)
{
    for (const char *palabra : {"Desconocida", ""}) {
        SCOPED_TRACE(palabra);
        EXPECT_EQ(ejecutar(QString::fromLatin1(palabra), "PathDocumento=/x\r\n"), 2);
        EXPECT_FALSE(errores_.isEmpty());
    }
    EXPECT_GE(ejecutar(QStringLiteral("ImprimirDocumentoPDF"), QByteArray()), 2);
}

} // namespace
