// A record's Word document made from a template, filled by the auxiliary program, edited by
// a stand-in for the word processor and stored back.
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Dialogs.h"
#include "tests/data/ModuloFixture.h"

#include <QDir>
#include <QXmlStreamReader>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

// Records what it was given (the document, the values file beside it, the merged
// document) and edits the document as a person would.
const QByteArray kProcesadorTextos = R"(#!/bin/sh
r="$GP_PRUEBA_REGISTRO"
printf '%s\n' "$1" >> "$r/abiertos"
cat "$TMPDIR"/*.VAL > "$r/valores"
cp "$1" "$r/fusionado"
printf 'EDITADO\n' >> "$1"
)";

const QByteArray kPlantilla =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
    R"(<w:p><w:r><w:t>Obra $Codigo$ por $Importe$</w:t></w:r></w:p>)"
    R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>$Linea.Partida$</w:t></w:r></w:p></w:tc>)"
    R"(<w:tc><w:p><w:r><w:t>$Linea.Cantidad$</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)"
    R"(</w:body></w:document>)";

class DocumentoWord : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        QDir raiz(dir_.path());
        for (const char *carpeta : {"programa", "bin", "registro", "temporal"})
            raiz.mkdir(QString::fromLatin1(carpeta));
        ASSERT_TRUE(QFile::link(QStringLiteral(GP_VKTLEXT), dir_.file("programa/vktlext")));
        escribirArchivo(dir_.file("bin/xdg-open"), kProcesadorTextos);
        QFile(dir_.file("bin/xdg-open")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char *variable : {"PATH", "TMPDIR", "GP_PRUEBA_REGISTRO", "GP_VKTLEXT_SIN_ESPERA"})
            entornoPrevio_.append({variable, qgetenv(variable)});
        qputenv("PATH", dir_.file("bin").toUtf8() + ':' + qgetenv("PATH"));
        qputenv("TMPDIR", dir_.file("temporal").toUtf8());
        qputenv("GP_PRUEBA_REGISTRO", dir_.file("registro").toUtf8());
        qputenv("GP_VKTLEXT_SIN_ESPERA", "1");

        QFile definiciones(dir_.file(QStringLiteral("DATABASE.TXT")));
        ASSERT_TRUE(definiciones.open(QIODevice::Append));
        definiciones.write("OBRAPRU/C/1/Codigo/ftString/10/*/|Pruebas\r\n"
                           "OBRAPRU/C/2/Importe/ftFloat/0//|Pruebas\r\n"
                           "OBRAPRU/C/3/Inicio/ftDateTime/0//|Pruebas\r\n"
                           "OBRAPRU/I/1/<Primary>/Codigo//|Pruebas\r\n"
                           "LOBRAPRU/C/1/Codigo/ftString/10/*/|Pruebas\r\n"
                           "LOBRAPRU/C/2/Linea/ftSmallint/0/*/|Pruebas\r\n"
                           "LOBRAPRU/C/3/Partida/ftMemo/0//|Pruebas\r\n"
                           "LOBRAPRU/C/4/Cantidad/ftFloat/0//|Pruebas\r\n"
                           "LOBRAPRU/I/1/<Primary>/Codigo;Linea//|Pruebas\r\n");
        definiciones.close();
        prepararMotor(false);
        form_->DirectorioInstalacion = dir_.file("programa/");
        form_->Configuracion.directorioTrabajo = QDir::currentPath() + u'/';
        sql("INSERT INTO OBRAPRU (Codigo, Importe) VALUES ('P1', 1234.5)");
        sql("INSERT INTO OBRAPRU (Codigo, Importe) VALUES ('P2', 0)");
        sql("INSERT INTO LOBRAPRU (Codigo, Linea, Partida, Cantidad) VALUES ('P1', 1, 'Muro\r\nnorte', 2.5)");
        sql("INSERT INTO LOBRAPRU (Codigo, Linea, Partida, Cantidad) VALUES ('P1', 2, 'Tejado', 1000)");
        obras_ = tabla("OBRAPRU");
        lineas_ = tabla("LOBRAPRU");
        lineas_->setMasterSource(obras_.get(), QStringLiteral("Codigo"));

        QuaZip zip(dir_.file("Plantilla.docx"));
        ASSERT_TRUE(zip.open(QuaZip::mdCreate));
        QuaZipFile parte(&zip);
        ASSERT_TRUE(parte.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("word/document.xml"))));
        parte.write(kPlantilla);
    }

    void TearDown() override
    {
        plat::setDialogScript(nullptr);
        lineas_.reset();
        obras_.reset();
        ModuloFixture::TearDown();
        for (const auto &[variable, valor] : entornoPrevio_)
            qputenv(variable, valor);
    }

    static void escribirArchivo(const QString &ruta, const QByteArray &datos)
    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size());
    }
    static QByteArray leer(const QString &ruta)
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray registro(const char *nombre) const { return leer(dir_.file(QStringLiteral("registro/") + nombre)); }

    std::unique_ptr<plat::TableDataSet> tabla(const QString &nombre)
    {
        auto t = std::make_unique<plat::TableDataSet>(nombre);
        t->setDatabaseName(form_->Database().databaseName());
        t->setConnection(&form_->Database());
        t->setTableName(nombre);
        EXPECT_TRUE(modulo_->AbrirTabla(*t));
        return t;
    }

    // The user picks the template, or cancels the dialog with an empty name.
    void elegirPlantilla(const QString &ruta)
    {
        plat::setDialogScript([ruta, this](QObject *dialogo) {
            auto *abrir = qobject_cast<plat::OpenDialog *>(dialogo);
            titulos_ << (abrir ? abrir->Title + u'|' + abrir->Filter : QString());
            if (abrir)
                abrir->FileName = ruta;
            return !ruta.isEmpty();
        });
    }

    // The texts of the document part, each table row's cells joined by "|".
    static QStringList textosDocumento(const QByteArray &docx)
    {
        QFile temporal(QDir::temp().filePath(QStringLiteral("leido.docx")));
        EXPECT_TRUE(temporal.open(QIODevice::WriteOnly));
        temporal.write(docx);
        temporal.close();
        QuaZip zip(temporal.fileName());
        EXPECT_TRUE(zip.open(QuaZip::mdUnzip) && zip.setCurrentFile(QStringLiteral("word/document.xml")));
        QuaZipFile parte(&zip);
        EXPECT_TRUE(parte.open(QIODevice::ReadOnly));
        QXmlStreamReader r(parte.readAll());
        QStringList textos;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.qualifiedName() == u"w:t")
                textos << r.readElementText();
            else if (r.isStartElement() && r.qualifiedName() == u"w:br")
                textos << QStringLiteral("<br>");
            else if (r.isEndElement() && r.qualifiedName() == u"w:tr")
                textos << QStringLiteral("|");
        }
        QFile::remove(temporal.fileName());
        return textos;
    }

    std::unique_ptr<plat::TableDataSet> obras_, lineas_;
    QList<std::pair<const char *, QByteArray>> entornoPrevio_;
    QStringList titulos_;
};

TEST_F(DocumentoWord, ANewDocumentIsMergedFromTheTemplateEditedAndStoredBackAsDoc)
{
    ASSERT_TRUE(obras_->locate(QStringLiteral("Codigo"), QStringLiteral("P1")));
    lineas_->last();
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    elegirPlantilla(dir_.file("Plantilla.docx"));
    modulo_->AbrirDocumentoWordRegistro(*obras_, lineas_.get());

    EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("No existe un documento Word adjunto. ¿Desea adjuntar uno "
                                                             "nuevo ahora a partir de una plantilla?")});
    EXPECT_EQ(titulos_, QStringList{QStringLiteral("Buscar una plantilla de Word|Archivos de Word 97-2003 (*.doc)|*.doc|"
                                                   "Archivos de Word 2007 (*.docx)|*.docx")});
    EXPECT_EQ(QString::fromUtf8(registro("valores")),
              QStringLiteral("Codigo=P1\r\nImporte=1.234,5\r\nInicio=\r\n"
                             "Linea=Codigo=P1|Linea=1|Partida=Muro·norte|Cantidad=2,5|\r\n"
                             "Linea=Codigo=P1|Linea=2|Partida=Tejado|Cantidad=1.000|\r\n"));
    EXPECT_EQ(lineas_->fieldByName(QStringLiteral("Linea")).asInteger(), 2);
    EXPECT_TRUE(QString::fromUtf8(registro("abiertos")).trimmed().endsWith(QLatin1String(".DOCX")));
    EXPECT_EQ(textosDocumento(registro("fusionado")),
              (QStringList{"Obra P1 por 1.234,5", "Muro", "<br>", "norte", "2,5", "|", "Tejado", "1.000", "|"}));

    // The edit is what is stored, as "DOC"; the next opening finds it as a ".doc" with no values.
    EXPECT_EQ(modulo_->TipoObjetoRegistro(QStringLiteral("OBRAPRU"), QStringLiteral("P1"), QStringLiteral("DocumentoWord")),
              "DOC");
    const QString extraido =
        modulo_->ExtraerObjetoRegistro(QStringLiteral("OBRAPRU"), QStringLiteral("P1"), QStringLiteral("DocumentoWord"));
    EXPECT_TRUE(extraido.endsWith(QLatin1String(".doc")));
    EXPECT_EQ(leer(extraido), registro("fusionado") + "EDITADO\n");
    QFile::remove(extraido);
    EXPECT_TRUE(QDir(dir_.file("temporal")).entryList(QDir::Files).isEmpty());

    mensajes_.limpiar();
    modulo_->AbrirDocumentoWordRegistro(*obras_, lineas_.get());
    EXPECT_TRUE(mensajes_.textos().isEmpty());
    EXPECT_TRUE(QString::fromUtf8(registro("abiertos")).trimmed().endsWith(QLatin1String(".doc")));
    EXPECT_EQ(registro("valores"), "");
    const QString segundo =
        modulo_->ExtraerObjetoRegistro(QStringLiteral("OBRAPRU"), QStringLiteral("P1"), QStringLiteral("DocumentoWord"));
    EXPECT_TRUE(leer(segundo).endsWith("EDITADO\nEDITADO\n"));
}

TEST_F(DocumentoWord, DecliningOrCancellingStoresNothingAndAFailedStoreKeepsTheEdit)
{
    ASSERT_TRUE(obras_->locate(QStringLiteral("Codigo"), QStringLiteral("P2")));
    elegirPlantilla(dir_.file("Plantilla.docx"));
    mensajes_.programarRespuestas({QStringLiteral("NO"), QStringLiteral("SI")});
    modulo_->AbrirDocumentoWordRegistro(*obras_, nullptr);
    EXPECT_TRUE(titulos_.isEmpty());
    elegirPlantilla(QString());
    modulo_->AbrirDocumentoWordRegistro(*obras_, nullptr);
    EXPECT_EQ(titulos_.size(), 1);
    EXPECT_EQ(registro("abiertos"), "");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM BLOBTAB"), "0");

    // A document that cannot be stored stays on disk with the user's edit.
    form_->Database().exec(QStringLiteral("CREATE TRIGGER rechazar BEFORE INSERT ON BLOBTAB BEGIN "
                                          "SELECT RAISE(ABORT, 'rechazado'); END"));
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    elegirPlantilla(dir_.file("Plantilla.docx"));
    EXPECT_THROW(modulo_->AbrirDocumentoWordRegistro(*obras_, nullptr), gp::Error);
    const QStringList restos = QDir(dir_.file("temporal")).entryList(QDir::Files);
    ASSERT_EQ(restos.size(), 1);
    EXPECT_TRUE(leer(dir_.file("temporal/") + restos[0]).endsWith("EDITADO\n"));
}

} // namespace
