#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/office/ArchivoZip.h"
#include "tests/reporting/impresos/MotorPrueba.h"
#include "tests/support/ColaCupsPrueba.h"

#include <QDir>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace {

using gptest::MotorPrueba;

const QString kImposibleWord = QStringLiteral("¡Imposible conectar con Word!. (Motivo: ");

// The programs' search path while in scope.
class RutaProgramas
{
public:
    explicit RutaProgramas(const QString &ruta) : anterior_(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(ruta)); }
    ~RutaProgramas() { qputenv("PATH", anterior_); }

private:
    QByteArray anterior_;
};

// The stand-in converter first on the path.
QString RutaConSustituto()
{
    return QStringLiteral(GP_SOFFICE_PRUEBA_DIR ":") + QString::fromLocal8Bit(qgetenv("PATH"));
}

// A Word document of these paragraphs (their WordprocessingML): the least package a word
// processor opens.
void CrearDocx(const QString &ruta, const QByteArray &parrafos)
{
    const plat::office::ZipEntries partes = {
        {"[Content_Types].xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Default Extension="xml" ContentType="application/xml"/>)"
         R"(<Override PartName="/word/document.xml" )"
         R"(ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" )"
         R"(Target="word/document.xml"/></Relationships>)"},
        {"word/document.xml", R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                              R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)" +
                                  parrafos + "</w:body></w:document>"},
    };
    ASSERT_EQ(plat::office::writeZip(ruta, partes), "");
}

QByteArray Parrafo(const QByteArray &texto)
{
    return "<w:p><w:r><w:t>" + texto + "</w:t></w:r></w:p>";
}

// The paragraphs of a Word document's bytes, each ended by "|".
QString TextoDocx(const QByteArray &bytes, const QString &carpeta)
{
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("leido.docx"));
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QStringLiteral("<no escrito>");
    f.close();
    QString error;
    const auto partes = plat::office::readZip(ruta, error);
    if (!partes)
        return QStringLiteral("<no es docx>");
    QByteArray documento;
    for (const auto &[nombre, datos] : *partes)
        if (nombre == QLatin1String("word/document.xml"))
            documento = datos;
    QXmlStreamReader xml(documento);
    QString texto;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.qualifiedName() == u"w:t")
            texto += xml.readElementText();
        else if (xml.isEndElement() && xml.qualifiedName() == u"w:p")
            texto += u'|';
    }
    return texto;
}

TEST_F(MotorPrueba, AsciiStreamsReachTheChosenPrinterAsWindows1252Bytes)
{
    anadirImpreso("TICKET", {"[CABECERA]", "Text=1;1;0;no se dibuja"}, "A4", "ASCII", "Matricial");
    crearMotor("TICKET", {plat::fieldDef("StreamASCII", ftMemo)});
    EXPECT_FALSE(VistaPreviaImpreso);
    documento(1, {{"StreamASCII", QStringLiteral("Año ñ\x1b@\r\n")}});
    documento(2, {{"StreamASCII", QStringLiteral("€ Ω fin\f")}});
    impresoras.eleccionDialogo.nombre = "Matricial";

    impresoras.cancelarDialogo = true;
    motor->Imprimir();
    EXPECT_EQ(impresoras.dialogos, 1);
    EXPECT_TRUE(impresoras.brutos.isEmpty());

    impresoras.cancelarDialogo = false;
    motor->Imprimir();
    ASSERT_EQ(impresoras.brutos.size(), 1);
    EXPECT_EQ(impresoras.brutos.first().impresora, "Matricial");
    QFile dorado(QStringLiteral(GP_IMPRESOS_DIR "/ascii-dos-documentos.bin"));
    ASSERT_TRUE(dorado.open(QIODevice::ReadOnly));
    EXPECT_EQ(impresoras.brutos.first().datos, dorado.readAll());
    EXPECT_TRUE(impresoras.trabajos.isEmpty());
    EXPECT_TRUE(mensajes.textos().isEmpty());

    impresoras.errorBruto = "la impresora no responde";
    motor->Imprimir();
    EXPECT_EQ(mensajes.textos(), QStringList{"¡Error Imprimiendo!. Motivo: la impresora no responde"});
}

// "MSWord" layouts and listed Word documents over documents with a name and an address.
class WordPrueba : public MotorPrueba
{
protected:
    void preparar(const QStringList &lineas, const QString &modo = QStringLiteral("MSWord"))
    {
        anadirImpreso("CARTA", lineas, "A4", modo, "Predeterminada");
        VistaPreviaImpreso = false;
        crearMotor("CARTA", {plat::fieldDef("Nombre", ftString, 40), plat::fieldDef("Direccion", ftMemo)});
    }
    QString plantilla(const QString &nombre, const QByteArray &parrafos)
    {
        const QString ruta = dir.file(nombre);
        CrearDocx(ruta, parrafos);
        return ruta;
    }
    QStringList impresos()
    {
        QStringList textos;
        for (const auto &d : impresoras.documentos) {
            EXPECT_EQ(d.tipo, "DOC");
            EXPECT_EQ(d.impresora, "Oficina");
            textos << TextoDocx(d.contenido, dir.path());
        }
        return textos;
    }
};

TEST_F(WordPrueba, TheTemplateIsMergedFieldByFieldForEachDocumentAndPrinted)
{
    const QString carta = plantilla("carta.docx", Parrafo("Sr. $Nombre$ ($NOMBRE$) $Otro$") + Parrafo("$direccion$"));
    RutaProgramas ruta(RutaConSustituto());
    preparar({"[CABECERA]"});   // no DocumentoModelo: nothing at all
    documento(1, {{"Nombre", "Ana"}, {"Direccion", "C/ Mayor 1\r\nMadrid"}});
    documento(2, {{"Nombre", "Luis"}, {"Direccion", "Sevilla"}});
    motor->Imprimir();
    EXPECT_TRUE(impresoras.documentos.isEmpty());

    db().exec("UPDATE IMPRESO SET Instrucciones = :i", {{"i", "DocumentoModelo=" + carta + "\r\n"}});
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    EXPECT_EQ(impresos(), QStringList({"Sr. Ana (Ana) $Otro$|C/ Mayor 1|Madrid|", "Sr. Luis (Luis) $Otro$|Sevilla|"}));
    EXPECT_FALSE(QFile::exists(impresoras.documentos.first().fichero));   // the work copy goes
    QFile original(carta);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(TextoDocx(original.readAll(), dir.path()), "Sr. $Nombre$ ($NOMBRE$) $Otro$|$direccion$|");
}

TEST_F(WordPrueba, AMergedDocumentThatDoesNotPrintIsSaidOnceWithItsReason)
{
    const QString carta = plantilla("carta.docx", Parrafo("Sr. $Nombre$"));
    preparar({"DocumentoModelo=" + carta});
    documento(1, {{"Nombre", "Ana"}});
    documento(2, {{"Nombre", "Luis"}});
    RutaProgramas ruta(RutaConSustituto());
    impresoras.errorDocumento = "No hay ninguna impresora instalada.";
    motor->Imprimir();
    // The first failure ends the merge: one message, not one per document.
    EXPECT_EQ(mensajes.textos(), QStringList{"¡Error Imprimiendo!. Motivo: No hay ninguna impresora instalada."});
    EXPECT_TRUE(impresoras.documentos.isEmpty());

    // Listed documents: the same message once.
    mensajes.limpiar();
    db().exec("UPDATE IMPRESO SET Modo = 'Grafico', Instrucciones = :i",
              {{"i", "DocumentosAdjuntos=" + carta + "\r\n[CABECERA]\r\nText=10;10;0;Hoja\r\n"}});
    motor->Imprimir();
    EXPECT_EQ(mensajes.textos(), QStringList{"¡Error Imprimiendo!. Motivo: No hay ninguna impresora instalada."});
}

TEST(ServicioImpresorasSistema, ADocumentWithoutAnyPrinterGivesTheReason)
{
    ServicioImpresorasSistema sistema;
    if (!sistema.impresoras().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    EXPECT_EQ(sistema.imprimirDocumento("/no/importa.docx", QString(), "DOC", "Carta"), "No hay ninguna impresora instalada.");
}

// On the system's printers and a real CUPS queue: each merged letter arrives as a PDF with
// its values, under the layout's title; with no printer at all the user is told why.
TEST_F(WordPrueba, MergedLettersArriveOnARealPrintQueue)
{
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed here";
    std::optional<gptest::ColaCupsPrueba> cola(std::in_place);
    if (!cola->disponible())
        GTEST_SKIP() << "no CUPS queue: " << cola->motivo().toStdString();
    const QString carta = plantilla("carta.docx", Parrafo("Estimada $Nombre$:"));
    preparar({"DocumentoModelo=" + carta});
    db().exec("UPDATE IMPRESO SET Descripcion = 'Carta a clientes'");
    documento(1, {{"Nombre", "Doña Úrsula"}});
    documento(2, {{"Nombre", "Luis"}});
    ServicioImpresorasSistema sistema;
    ServiciosImpresion delSistema;
    delSistema.impresoras = &sistema;
    const ServiciosImpresionInstalados instalados(delSistema);
    // Under the program's own name, which its temporary folders bear.
    const QString nombre = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("Gestión de Proyectos");
    motor->Imprimir();
    QCoreApplication::setApplicationName(nombre);
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    const auto trabajos = cola->trabajos(2);
    ASSERT_EQ(trabajos.size(), 2);
    EXPECT_EQ(trabajos[0].titulo, "Carta a clientes");
    EXPECT_TRUE(gptest::TextoPDF(trabajos[0].documento).contains("Estimada Doña Úrsula:"));
    EXPECT_TRUE(gptest::TextoPDF(trabajos[1].documento).contains("Estimada Luis:"));

    cola.reset();   // no scheduler: no printer at all
    motor->Imprimir();
    EXPECT_EQ(mensajes.textos(), QStringList{"¡Error Imprimiendo!. Motivo: No hay ninguna impresora instalada."});
}

// Conversions of a test: each Word document becomes a file of known bytes.
class ConversorGrabado : public ServidorPDFSistema
{
public:
    QString convertirWord(const QString &documento, const QString &fichero) override
    {
        convertidos << QFileInfo(documento).fileName();
        QFile f(fichero);
        if (!f.open(QIODevice::WriteOnly))
            return QStringLiteral("no se puede escribir");
        f.write("%PDF-convertido " + QByteArray::number(convertidos.size()));
        return {};
    }
    QStringList convertidos;
};

TEST_F(WordPrueba, ToPdfOneDocumentIsCopiedAndSeveralJoinInTableOrder)
{
    const QString carta = plantilla("carta.docx", Parrafo("Carta para $Nombre$"));
    preparar({"DocumentoModelo=" + carta});
    RutaProgramas ruta(RutaConSustituto());
    documento(3, {{"Nombre", "Carmen"}});
    {
        ConversorGrabado conversor;
        ServiciosImpresion conConversor;
        conConversor.pdf = &conversor;
        const ServiciosImpresionInstalados instalado(conConversor);
        motor->SalidaImpresion = "PDF:" + dir.file("una.pdf");
        motor->Imprimir();
        EXPECT_EQ(conversor.convertidos, QStringList{"carta.docx"});
        QFile una(dir.file("una.pdf"));
        ASSERT_TRUE(una.open(QIODevice::ReadOnly));
        EXPECT_EQ(una.readAll(), "%PDF-convertido 1");
    }
    documento(1, {{"Nombre", "Ana"}});
    documento(2, {{"Nombre", "Luis"}});
    motor->SalidaImpresion = "PDF:" + dir.file("tres.pdf");
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    EXPECT_EQ(gptest::PaginasPDF(dir.file("tres.pdf")), 3);
    const QString texto = gptest::TextoPDF(dir.file("tres.pdf"));
    const qsizetype ana = texto.indexOf("Carta para Ana"), luis = texto.indexOf("Carta para Luis"),
                    carmen = texto.indexOf("Carta para Carmen");
    EXPECT_GE(ana, 0);
    EXPECT_GT(luis, ana);
    EXPECT_GT(carmen, luis);
    EXPECT_TRUE(impresoras.documentos.isEmpty());
}

TEST_F(WordPrueba, ADocTemplateOrNoOfficeSuiteIsSaidAndTheRestOfTheRequestGoesOn)
{
    QFile doc(dir.file("antigua.doc"));
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.write("\xd0\xcf\x11\xe0 formato binario");
    doc.close();
    preparar({"DocumentoModelo=" + doc.fileName()});
    documento(1, {{"Nombre", "Ana"}});
    documento(2, {{"Nombre", "Luis"}});
    {
        RutaProgramas ruta(RutaConSustituto());
        motor->Imprimir();
    }
    ASSERT_EQ(mensajes.textos().size(), 1);
    EXPECT_TRUE(mensajes.textos().first().startsWith(kImposibleWord + doc.fileName() + ": "));
    EXPECT_TRUE(impresoras.documentos.isEmpty());

    // Without the office suite: the warning, and the drawn pages of a layout that lists Word
    // documents still print.
    mensajes.limpiar();
    const QString anexo = plantilla("anexo.docx", Parrafo("Anexo de $Nombre$"));
    db().exec("UPDATE IMPRESO SET Modo = 'Grafico', Instrucciones = :i",
              {{"i", "DocumentosAdjuntos=" + anexo + "\r\n[CABECERA]\r\nText=10;10;0;Hoja\r\n"}});
    {
        RutaProgramas ruta(dir.file("sin-programas"));
        motor->Imprimir();
    }
    EXPECT_EQ(mensajes.textos(), QStringList{kImposibleWord + "LibreOffice (soffice) no está instalado)"});
    EXPECT_EQ(impresoras.enviados.size(), 1);
    EXPECT_TRUE(impresoras.documentos.isEmpty());
}

TEST_F(WordPrueba, ListedDocumentsNamedByAFieldAreMergedWithTheirOwnDocument)
{
    const QString carpeta = dir.file("planos");
    QDir().mkpath(carpeta);
    CrearDocx(carpeta + "/7.docx", Parrafo("Plano $CodigoTemporal$ de $Nombre$"));
    CrearDocx(carpeta + "/9.docx", Parrafo("Plano $CodigoTemporal$ de $Nombre$"));
    preparar({"DocumentosAdjuntos=" + carpeta + "/Camp=CodigoTemporal.docx," + carpeta + "/Camp=NoEsCampo.docx",
              "[CABECERA]", "Text=10;10;0;Hoja"},
             "Grafico");
    documento(7, {{"Nombre", "Ana"}});
    documento(8, {{"Nombre", "Sin plano"}});   // no 8.docx: skipped
    documento(9, {{"Nombre", "Luis"}});
    RutaProgramas ruta(RutaConSustituto());
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    EXPECT_EQ(impresoras.enviados.size(), 1);
    EXPECT_EQ(impresos(), QStringList({"Plano 7 de Ana|", "Plano 9 de Luis|"}));
}

// The one case on the real office suite (CI installs it): a merged letter to PDF.
TEST_F(WordPrueba, TheRealOfficeSuiteConvertsTheMergedLetter)
{
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed here";
    const QString carta = plantilla("carta.docx", Parrafo("Estimada $Nombre$:") + Parrafo("$Direccion$"));
    preparar({"DocumentoModelo=" + carta});
    documento(1, {{"Nombre", "Doña Úrsula"}, {"Direccion", "Calle Mayor 1\r\nMadrid"}});
    motor->SalidaImpresion = "PDF:" + dir.file("real.pdf");
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    const QString texto = gptest::TextoPDF(dir.file("real.pdf"));
    EXPECT_TRUE(texto.contains("Estimada Doña Úrsula:")) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QRegularExpression("Calle Mayor 1\\s*\\n\\s*Madrid"))) << texto.toStdString();
    if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
        QFile::copy(dir.file("real.pdf"), qEnvironmentVariable("GP_GUARDAR_PAGINAS") + "/carta-libreoffice.pdf");
}

} // namespace
