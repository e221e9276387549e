#include "GENEW/data/modulo/SalidaInforme.h"
#include "tests/data/InformeDePaginas.h"
#include "tests/data/ModuloFixture.h"

#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/Field.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString ejecutar(const QString &programa, const QStringList &argumentos)
{
    QProcess proceso;
    proceso.start(programa, argumentos);
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

// The temporary folder of the program, one per test, so that left-over page files show.
class CarpetaTemporal
{
public:
    CarpetaTemporal() : anterior_(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir_.path().toUtf8()); }
    ~CarpetaTemporal() { qputenv("TMPDIR", anterior_); }
    QStringList ficheros() const { return QDir(dir_.path()).entryList(QDir::Files); }
    QString path() const { return dir_.path(); }

private:
    gptest::TempDir dir_;
    QByteArray anterior_;
};

// The installed printers of a test, in list order; prints are recorded with their settings.
class ImpresorasGrabadas : public ServicioImpresorasInforme
{
public:
    explicit ImpresorasGrabadas(QStringList nombres) : nombres_(std::move(nombres)) {}
    QStringList nombres() const override { return nombres_; }
    void imprimir(plat::PreparedReport &informe) override { impresos << informe.printerSettings(); }
    QList<plat::ReportPrinterSettings> impresos;

private:
    QStringList nombres_;
};

} // namespace

TEST(DestinoInforme, PdfOnlyWithTheLeadingPrefixElseAPrinterOrTheCurrentOne)
{
    const struct
    {
        const char *texto;
        DestinoInforme::Tipo tipo;
        const char *valor;
    } casos[] = {
        {"PDF:/tmp/informe.pdf", DestinoInforme::Pdf, "/tmp/informe.pdf"},
        {"PDF", DestinoInforme::ImpresoraNombrada, "PDF"},
        {"Copia PDF:/tmp/x.pdf", DestinoInforme::ImpresoraNombrada, "Copia PDF:/tmp/x.pdf"},
        {"pdf:/tmp/x.pdf", DestinoInforme::ImpresoraNombrada, "pdf:/tmp/x.pdf"},
        {"", DestinoInforme::ImpresoraActual, ""},
    };
    for (const auto &c : casos) {
        const DestinoInforme d = DestinoInforme::de(QString::fromUtf8(c.texto));
        EXPECT_EQ(d.tipo, c.tipo) << c.texto;
        EXPECT_EQ(d.valor, QString::fromUtf8(c.valor)) << c.texto;
    }
}

TEST(DestinoInforme, PaperTextOfTheServer)
{
    EXPECT_EQ(PapelPDF(InformeDePaginas({}, plat::ReportPaper::A4, QPageLayout::Landscape)), QStringLiteral("A4-Apaisado"));
    EXPECT_EQ(PapelPDF(InformeDePaginas({}, plat::ReportPaper::A5, QPageLayout::Landscape)), QStringLiteral("A5-Apaisado"));
    EXPECT_EQ(PapelPDF(InformeDePaginas({}, plat::ReportPaper::A3, QPageLayout::Portrait)), QStringLiteral("A3"));
}

TEST(InformePDF, ThreeLandscapePagesInOrderWithTheirTextAndNoPageFileLeft)
{
    CarpetaTemporal temporal;
    gptest::TempDir salida;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada(mensajes);
    InformeDePaginas informe({QStringLiteral("Primera hoja del listado"), QStringLiteral("Segunda hoja del listado"),
                           QStringLiteral("Tercera hoja del listado")});
    const QString pdf = salida.file(QStringLiteral("informe.pdf"));

    EscribirInformePDF(informe, pdf);

    EXPECT_TRUE(mensajes.mensajes().isEmpty()) << mensajes.textos().join(u'\n').toStdString();
    EXPECT_EQ(informe.preparaciones, 1);
    const QString info = ejecutar(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+(841\\.\\d+|842) x 595(\\.\\d+)? pts \\(A4\\)"))))
        << info.toStdString();
    const QString texto = ejecutar(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    const qsizetype primera = texto.indexOf(QStringLiteral("Primera hoja"));
    const qsizetype segunda = texto.indexOf(QStringLiteral("Segunda hoja"));
    const qsizetype tercera = texto.indexOf(QStringLiteral("Tercera hoja"));
    EXPECT_GE(primera, 0) << texto.toStdString();
    EXPECT_LT(primera, segunda);
    EXPECT_LT(segunda, tercera);
    EXPECT_EQ(texto.count(u'\f'), 3);
    EXPECT_TRUE(temporal.ficheros().isEmpty()) << temporal.ficheros().join(u' ').toStdString();
}

TEST(InformePDF, AReportWithoutPagesWritesNothing)
{
    CarpetaTemporal temporal;
    gptest::TempDir salida;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada(mensajes);
    InformeDePaginas vacio({});
    EscribirInformePDF(vacio, salida.file(QStringLiteral("vacio.pdf")));
    EXPECT_FALSE(QFileInfo::exists(salida.file(QStringLiteral("vacio.pdf"))));
    EXPECT_TRUE(mensajes.mensajes().isEmpty());
    EXPECT_TRUE(temporal.ficheros().isEmpty());
}

TEST(InformePDF, AServerErrorIsShownWithItsReasonAndThePageFilesStillGo)
{
    CarpetaTemporal temporal;
    gptest::TempDir salida;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada(mensajes);
    InformeDePaginas informe({QStringLiteral("uno"), QStringLiteral("dos")});
    EscribirInformePDF(informe, salida.path());   // a folder cannot become a PDF
    ASSERT_EQ(mensajes.mensajes().size(), 1);
    EXPECT_EQ(mensajes.mensajes().at(0).tipo, QStringLiteral("A"));
    const QString prefijo = QStringLiteral("Se ha producido un error al generar el archivo PDF. Motivo: ");
    EXPECT_TRUE(mensajes.mensajes().at(0).texto.startsWith(prefijo + salida.path())) << mensajes.textos()[0].toStdString();
    EXPECT_GT(mensajes.mensajes().at(0).texto.size(), prefijo.size() + salida.path().size() + 2);
    EXPECT_TRUE(temporal.ficheros().isEmpty());
}

TEST(ImpresoraNombrada, TheFirstPrinterWhoseNameHoldsTheTextCaseCounting)
{
    ImpresorasGrabadas impresoras({QStringLiteral("Oficina-Laser"), QStringLiteral("HP-Color-Planta2"),
                                   QStringLiteral("HP-Blanco")});
    InformeDePaginas informe({QStringLiteral("uno")});
    EXPECT_TRUE(ImprimirEnImpresoraNombrada(informe, QStringLiteral("HP"), impresoras));
    ASSERT_EQ(impresoras.impresos.size(), 1);
    EXPECT_EQ(impresoras.impresos[0].printerName, QStringLiteral("HP-Color-Planta2"));
    EXPECT_FALSE(ImprimirEnImpresoraNombrada(informe, QStringLiteral("hp"), impresoras));
    EXPECT_FALSE(ImprimirEnImpresoraNombrada(informe, QStringLiteral("PDF"), impresoras));
    EXPECT_EQ(impresoras.impresos.size(), 1);
}

// ---- through the data module: the current printer and the print dialog ---------------------

class ImprimirInformeTest : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        ASSERT_TRUE(prepararMotor(false));
    }
    void TearDown() override
    {
        plat::setDialogScript(nullptr);
        ModuloFixture::TearDown();
    }
    void solicitarDialogo(const QString &valor)
    {
        sql(QStringLiteral("DELETE FROM PARAGENE"));
        const QString respuesta = sql(QStringLiteral("INSERT INTO PARAGENE (IdRegistro, SolicitarDialogoImpresora) VALUES (1, '")
                                      + valor + QStringLiteral("')"));
        ASSERT_FALSE(respuesta.startsWith(QLatin1String("Error"))) << respuesta.toStdString();
        crearModulo();
        ASSERT_EQ(modulo_->ParamGenerales->table().fieldByName(QStringLiteral("SolicitarDialogoImpresora")).asString(),
                  valor);
    }
};

TEST_F(ImprimirInformeTest, TheDialogIsAskedUnlessTheParameterIsExactlyNo)
{
    ImpresorasGrabadas impresoras({QStringLiteral("Oficina")});
    ServicioImpresorasInstalado instalado(impresoras);
    int dialogos = 0;
    plat::setDialogScript([&](QObject *) {
        ++dialogos;
        return false;
    });
    for (const char *valor : {"no", "SI", ""}) {
        SCOPED_TRACE(valor);
        solicitarDialogo(QString::fromUtf8(valor));
        InformeDePaginas informe({QStringLiteral("uno")});
        const int antes = dialogos;
        modulo_->ImprimirInforme(informe, QString());
        EXPECT_EQ(dialogos, antes + 1);
        EXPECT_TRUE(impresoras.impresos.isEmpty());   // cancelled: nothing printed
    }
    solicitarDialogo(QStringLiteral("NO"));
    InformeDePaginas informe({QStringLiteral("uno")});
    const int antes = dialogos;
    modulo_->ImprimirInforme(informe, QString());
    EXPECT_EQ(dialogos, antes);
    EXPECT_EQ(impresoras.impresos.size(), 1);
}

TEST_F(ImprimirInformeTest, AConfirmedDialogGivesItsPrinterCopiesOrientationAndPages)
{
    ImpresorasGrabadas impresoras({QStringLiteral("Oficina")});
    ServicioImpresorasInstalado instalado(impresoras);
    plat::setDialogScript([](QObject *dialogo) {
        auto *d = qobject_cast<plat::PrintDialog *>(dialogo);
        if (!d)
            return false;
        d->PrinterName = QStringLiteral("Planta2");
        d->Copies = 3;
        d->Landscape = false;
        d->FromPage = 2;
        d->ToPage = 4;
        return true;
    });
    solicitarDialogo(QStringLiteral("SI"));
    InformeDePaginas informe({QStringLiteral("uno")});
    modulo_->ImprimirInforme(informe, QString());
    ASSERT_EQ(impresoras.impresos.size(), 1);
    const plat::ReportPrinterSettings &a = impresoras.impresos[0];
    EXPECT_EQ(a.printerName, QStringLiteral("Planta2"));
    EXPECT_EQ(a.copies, 3);
    EXPECT_EQ(a.orientation, QPageLayout::Portrait);
    EXPECT_EQ(a.firstPage, 2);
    EXPECT_EQ(a.lastPage, 4);
}
