#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "tests/reporting/impresos/MotorPrueba.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace {

// A PDF of one page per text, each page showing its text.
bool pdfDePaginas(const QString &fichero, const QStringList &textos)
{
    QPdfWriter pdf(fichero);
    QPainter pintor(&pdf);
    if (!pintor.isActive())
        return false;
    for (qsizetype i = 0; i < textos.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        pintor.drawText(QPointF(500, 500), textos[i]);
    }
    return pintor.end();
}

QByteArray leido(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(UnionPDF, ThePagesOfEveryFileFollowInTheOrderGivenAndReplaceTheDestination)
{
    gptest::TempDir dir;
    ASSERT_TRUE(pdfDePaginas(dir.file("uno.pdf"), {"Primera de uno", "Segunda de uno"}));
    ASSERT_TRUE(pdfDePaginas(dir.file("dos.pdf"), {"Unica de dos"}));
    QFile viejo(dir.file("union.pdf"));
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("el de ayer");
    viejo.close();

    ServidorPDFSistema servidor;
    const QString error = servidor.unir({dir.file("dos.pdf"), dir.file("uno.pdf"), dir.file("dos.pdf")}, dir.file("union.pdf"));
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(gptest::PaginasPDF(dir.file("union.pdf")), 4);
    const QString texto = gptest::TextoPDF(dir.file("union.pdf"), false);
    const qsizetype dos = texto.indexOf("Unica de dos"), primera = texto.indexOf("Primera de uno"),
                    segunda = texto.indexOf("Segunda de uno"), otraDos = texto.lastIndexOf("Unica de dos");
    EXPECT_GE(dos, 0);
    EXPECT_GT(primera, dos);
    EXPECT_GT(segunda, primera);
    EXPECT_GT(otraDos, segunda);
}

TEST(UnionPDF, AFileThatCannotBeReadStopsTheJoinWithQpdfsReasonAndLeavesTheDestination)
{
    gptest::TempDir dir;
    ASSERT_TRUE(pdfDePaginas(dir.file("uno.pdf"), {"Primera de uno"}));
    QFile roto(dir.file("roto.pdf"));
    ASSERT_TRUE(roto.open(QIODevice::WriteOnly));
    roto.write("esto no es un PDF");
    roto.close();
    QFile viejo(dir.file("union.pdf"));
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("el de ayer");
    viejo.close();

    ServidorPDFSistema servidor;
    const QString ilegible = servidor.unir({dir.file("uno.pdf"), dir.file("roto.pdf")}, dir.file("union.pdf"));
    EXPECT_TRUE(ilegible.contains("roto.pdf")) << ilegible.toStdString();
    const QString ausente = servidor.unir({dir.file("no-existe.pdf")}, dir.file("union.pdf"));
    EXPECT_TRUE(ausente.contains("no-existe.pdf")) << ausente.toStdString();
    EXPECT_EQ(leido(dir.file("union.pdf")), "el de ayer");
}

} // namespace
