// Run with the libraries opened on first use shadowed by files that are not libraries (see
// this folder's CMakeLists.txt): as on a machine where they are missing or broken.
#include "GENEW/data/servicios/ExportacionExcel.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/data/ClientDataSet.h"
#include "platform/office/ArchivoZip.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray leido(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
}

bool escrito(const QString &ruta, const QByteArray &datos)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}

TEST(BibliotecasAusentes, AnExcelExportFailsNamingTheLibraryAndLeavesTheOldFile)
{
    gptest::TempDir dir;
    plat::ClientDataSet ds(QStringLiteral("Datos"));
    ds.setFieldDefs({plat::fieldDef(QStringLiteral("Nombre"), ftString, 10)});
    ds.createDataSet();
    ds.append();
    ds.field(0).setValue(QStringLiteral("Ana"));
    ds.post();
    ASSERT_TRUE(escrito(dir.file("libro.xlsx"), "el libro de ayer"));

    QString error;
    EXPECT_FALSE(exportacionExcel::Exportar(dir.file("libro.xlsx"), ds, nullptr, {}, error));
    EXPECT_TRUE(error.contains("No se puede cargar la biblioteca libxlsxwriter.so.4: ")) << error.toStdString();
    EXPECT_EQ(leido(dir.file("libro.xlsx")), "el libro de ayer");
}

TEST(BibliotecasAusentes, ZipPackagesCannotBeReadNorWrittenAndSayWhy)
{
    gptest::TempDir dir;
    ASSERT_TRUE(escrito(dir.file("viejo.zip"), "PK\x03\x04 cualquier cosa"));

    QString error;
    EXPECT_FALSE(plat::office::readZip(dir.file("viejo.zip"), error));
    EXPECT_TRUE(error.contains("libzip.so.4")) << error.toStdString();
    error.clear();
    EXPECT_FALSE(plat::office::readZipEntryEnds(dir.file("viejo.zip"), 16, error));
    EXPECT_TRUE(error.contains("libzip.so.4")) << error.toStdString();

    const QString escritura = plat::office::writeZip(dir.file("nuevo.zip"), {{QStringLiteral("a.xml"), "<a/>"}});
    EXPECT_TRUE(escritura.startsWith("No se puede cargar la biblioteca libzip.so.4: ")) << escritura.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("nuevo.zip")));
}

TEST(BibliotecasAusentes, JoiningPdfFilesFailsNamingTheLibraryAndWritesNothing)
{
    gptest::TempDir dir;
    ASSERT_TRUE(escrito(dir.file("uno.pdf"), "%PDF-1.4 uno"));
    ASSERT_TRUE(escrito(dir.file("destino.pdf"), "el de ayer"));

    ServidorPDFSistema servidor;
    const QString error = servidor.unir({dir.file("uno.pdf"), dir.file("uno.pdf")}, dir.file("destino.pdf"));
    EXPECT_TRUE(error.startsWith("No se puede cargar la biblioteca libqpdf.so.29: ")) << error.toStdString();
    EXPECT_EQ(leido(dir.file("destino.pdf")), "el de ayer");
}

} // namespace
