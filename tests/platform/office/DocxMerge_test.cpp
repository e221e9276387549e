#include "platform/office/DocxMerge.h"
#include "tests/support/TempDir.h"

#include <QXmlStreamReader>
#include <QFile>
#include <gtest/gtest.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

using plat::office::MergeValues;

inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace {

// As Word writes it: a line break after the declaration.
const QByteArray kCabecera = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)" "\r\n"
                             R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";
const QByteArray kPie = "</w:body></w:document>";

QByteArray documento(const QByteArray &cuerpo) { return kCabecera + cuerpo + kPie; }

// The text a reader sees: paragraphs joined by "|", breaks as "\n", table rows in "[...]".
QString textoVisible(const QByteArray &xml)
{
    QXmlStreamReader r(xml);
    QString texto;
    while (!r.atEnd()) {
        r.readNext();
        const QStringView nombre = r.qualifiedName();
        if (r.isStartElement()) {
            if (nombre == u"w:t")
                texto += r.readElementText();
            else if (nombre == u"w:br")
                texto += u'\n';
            else if (nombre == u"w:tr")
                texto += u'[';
        } else if (r.isEndElement()) {
            if (nombre == u"w:p")
                texto += u'|';
            else if (nombre == u"w:tr")
                texto += u']';
        }
    }
    return r.hasError() ? QStringLiteral("<mal formado>") : texto;
}

MergeValues valores()
{
    MergeValues v;
    v.add(QStringLiteral("Cliente"), QStringLiteral("Obras & Reformas <Norte>"));
    v.add(QStringLiteral("Direccion"), QStringLiteral("C/ Mayor 1\nMadrid"));
    v.add(QStringLiteral("Vacio"), QString());
    v.add(QStringLiteral("Control"), QStringLiteral("A\x06" "B\r\nC\rD\tE"));
    v.lines.append({{QStringLiteral("PARTIDA"), QStringLiteral("Demolición")}, {QStringLiteral("IMPORTE"), QStringLiteral("1.200,00")}});
    v.lines.append({{QStringLiteral("PARTIDA"), QStringLiteral("Albañilería")}, {QStringLiteral("IMPORTE"), QStringLiteral("3.450,50")}});
    return v;
}

QByteArray fila(const QByteArray &celdas) { return "<w:tbl><w:tr>" + celdas + "</w:tr></w:tbl>"; }
QByteArray celda(const QByteArray &texto) { return "<w:tc><w:p><w:r><w:t>" + texto + "</w:t></w:r></w:p></w:tc>"; }

TEST(DocxMerge, MarkersTakeTheirValuesInAnyCaseAndAcrossRuns)
{
    const struct
    {
        const char *caso;
        QByteArray cuerpo;
        const char *esperado;
    } casos[] = {
        {"un marcador", "<w:p><w:r><w:t>Sr. $cliente$.</w:t></w:r></w:p>", "Sr. Obras & Reformas <Norte>.|"},
        {"partido en tres", R"(<w:p><w:r><w:t>A $CLI</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>EN</w:t></w:r><w:r><w:t>TE$ z</w:t></w:r></w:p>)",
         "A Obras & Reformas <Norte> z|"},
        {"salto de línea", "<w:p><w:r><w:t>$Direccion$</w:t></w:r></w:p>", "C/ Mayor 1\nMadrid|"},
        {"caracteres que XML no admite", "<w:p><w:r><w:t>$control$</w:t></w:r></w:p>", "AB\nC\nD\tE|"},
        {"desconocido y dólar suelto", "<w:p><w:r><w:t>5$ $Otro$Vacio$ fin</w:t></w:r></w:p>", "5$ $Otro fin|"},
        {"blanco conservado", R"(<w:p><w:r><w:t>$Vacio$a</w:t></w:r><w:r><w:t xml:space="preserve"> </w:t></w:r><w:r><w:t>b</w:t></w:r></w:p>)",
         "a b|"},
        {"filas de líneas", fila(celda("$Linea.Partida$") + celda("$linea.IMPORTE$ ($Cliente$)")),
         "[Demolición|1.200,00 (Obras & Reformas <Norte>)|][Albañilería|3.450,50 (Obras & Reformas <Norte>)|]"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.caso);
        QByteArray xml = documento(c.cuerpo);
        ASSERT_TRUE(plat::office::mergeWordXml(xml, valores()));
        EXPECT_EQ(textoVisible(xml), QString::fromUtf8(c.esperado));
    }
}

TEST(DocxMerge, InParagraphModeABreakEndsTheParagraphAndTheRestKeepsItsProperties)
{
    MergeValues v;
    v.breaks = plat::office::LineBreaks::Paragraph;
    v.add(QStringLiteral("Direccion"), QStringLiteral("C/ Mayor 1\r\nMadrid\r\n28001"));
    QByteArray xml = documento(R"(<w:p><w:pPr><w:jc w:val="center"/></w:pPr><w:hyperlink><w:r><w:rPr><w:b/></w:rPr>)"
                               R"(<w:t>A: $direccion$.</w:t></w:r></w:hyperlink><w:r><w:t> fin</w:t></w:r></w:p>)");
    ASSERT_TRUE(plat::office::mergeWordXml(xml, v));
    EXPECT_EQ(textoVisible(xml), "A: C/ Mayor 1|Madrid|28001. fin|");
    // Every paragraph made is centred and its run bold, as the one it continues.
    EXPECT_EQ(xml.count("<w:jc w:val=\"center\"/>"), 3);
    EXPECT_EQ(xml.count("<w:b/>"), 3);
    EXPECT_EQ(xml.count("<w:hyperlink>"), 3);
    EXPECT_FALSE(xml.contains("<w:br/>"));
}

TEST(DocxMerge, ALineRowWithoutLinesIsRemovedAndABrokenPartIsLeftAlone)
{
    MergeValues sinLineas;
    QByteArray xml = documento("<w:p><w:r><w:t>Antes</w:t></w:r></w:p>" + fila(celda("$Linea.Partida$")));
    ASSERT_TRUE(plat::office::mergeWordXml(xml, sinLineas));
    EXPECT_EQ(textoVisible(xml), "Antes|");

    QByteArray roto = "<w:document><w:p>";
    EXPECT_FALSE(plat::office::mergeWordXml(roto, sinLineas));
    EXPECT_EQ(roto, "<w:document><w:p>");
}

TEST(DocxMerge, ADocxIsRewrittenWithItsOtherPartsUnchanged)
{
    gptest::TempDir dir;
    const QString ruta = dir.file("carta.docx");
    const QByteArray tipos = "<Types/>";
    const QByteArray imagen("\x89PNG\r\n\x1a\n\0\1\2", 11);
    {
        QuaZip zip(ruta);
        ASSERT_TRUE(zip.open(QuaZip::mdCreate));
        const std::pair<const char *, QByteArray> partes[] = {
            {"[Content_Types].xml", tipos},
            {"word/document.xml", documento("<w:p><w:r><w:t>Hola $Cliente$</w:t></w:r></w:p>")},
            {"word/header1.xml", documento("<w:p><w:r><w:t>$cliente$</w:t></w:r></w:p>")},
            {"word/media/logo.png", imagen},
        };
        for (const auto &[nombre, datos] : partes) {
            QuaZipFile f(&zip);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromLatin1(nombre))));
            f.write(datos);
        }
    }
    EXPECT_EQ(plat::office::mergeDocx(ruta, valores()), "");

    QuaZip zip(ruta);
    ASSERT_TRUE(zip.open(QuaZip::mdUnzip));
    QMap<QString, QByteArray> leidas;
    for (bool mas = zip.goToFirstFile(); mas; mas = zip.goToNextFile()) {
        QuaZipFile f(&zip);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        leidas.insert(zip.getCurrentFileName(), f.readAll());
    }
    EXPECT_EQ(leidas.value("[Content_Types].xml"), tipos);
    EXPECT_EQ(leidas.value("word/media/logo.png"), imagen);
    EXPECT_EQ(textoVisible(leidas.value("word/document.xml")), "Hola Obras & Reformas <Norte>|");
    EXPECT_EQ(textoVisible(leidas.value("word/header1.xml")), "Obras & Reformas <Norte>|");

    QFile noZip(dir.file("falso.docx"));
    ASSERT_TRUE(noZip.open(QIODevice::WriteOnly));
    noZip.write("no soy un zip");
    noZip.close();
    EXPECT_NE(plat::office::mergeDocx(dir.file("falso.docx"), valores()), "");
}

} // namespace
