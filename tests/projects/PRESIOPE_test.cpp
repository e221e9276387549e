#include "IntercambioFixture.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "projects/PRESIOPE.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {

const QString kDatoNoValido = QStringLiteral("¡ El dato introducido no es válido !. Repita por favor.");

// The window over the fixture company; questions answered from a script.
class VentanaIntercambio : public IntercambioFixture
{
protected:
    void SetUp() override
    {
        IntercambioFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        marco_ = plat::createForm<plat::Form>();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        ventana_ = plat::createForm<TfPRESIOPE>();
        ASSERT_TRUE(ventana_->Temporal->active());
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        plat::setDialogScript(nullptr);
        delete ventana_.data();
        plat::application().setMainForm(nullptr);
        delete marco_;
        IntercambioFixture::TearDown();
    }

    // Types a row as the user does (its post runs the pair check); false when refused.
    bool teclear(const QString &origen, const QString &destino)
    {
        plat::DataSet &t = ventana_->Temporal->dataSet();
        t.append();
        t.fieldByName(QStringLiteral("DatoOrigen")).setAsString(origen);
        t.fieldByName(QStringLiteral("DatoDestino")).setAsString(destino);
        try {
            t.post();
            return true;
        } catch (const gp::Abort &) {
            t.cancel();
            return false;
        }
    }

    // The table's rows as "origin>destination situation".
    QStringList filas()
    {
        QStringList lineas;
        plat::DataSet &t = ventana_->Temporal->dataSet();
        for (t.first(); !t.eof(); t.next())
            lineas << t.fieldByName(QStringLiteral("DatoOrigen")).asString() + u'>'
                          + t.fieldByName(QStringLiteral("DatoDestino")).asString() + u' '
                          + t.fieldByName(QStringLiteral("Situacion")).asString();
        return lineas;
    }

    static void separador(const QString &caracter)
    {
        plat::TableDataSet &parametros = ModuloDatos->ParamGenerales->table();
        if (!parametros.active())
            parametros.open();
        if (parametros.isEmpty()) {
            parametros.append();
            parametros.fieldByName(QStringLiteral("IdRegistro")).setAsString(QStringLiteral("1"));
        } else
            parametros.edit();
        parametros.fieldByName(QStringLiteral("CaracterSeparadorASCII")).setAsString(caracter);
        parametros.post();
    }

    void conforme(const QStringList &respuestas)
    {
        mensajes_.limpiar();
        mensajes_.programarRespuestas(respuestas);
        ventana_->Temporal->dataSet().first();
        ventana_->pbConformeClick(ventana_->pbConforme);
    }

    plat::Form *marco_ = nullptr;
    QPointer<TfPRESIOPE> ventana_;
};

} // namespace

TEST_P(VentanaIntercambio, TypedPairsAreCheckedThenSwappedOnePairPerTransaction)
{
    // A code that is not a number, in either column: the runtime's Spanish warning, no row.
    const QString inicial = foto();
    for (const auto &[origen, destino] : {std::pair{"abc", "7"}, std::pair{"5", "abc"}}) {
        mensajes_.limpiar();
        EXPECT_FALSE(teclear(QString::fromUtf8(origen), QString::fromUtf8(destino)));
        EXPECT_EQ(mensajes_.textos(), QStringList{kDatoNoValido});
    }
    EXPECT_TRUE(filas().isEmpty());
    EXPECT_EQ(foto(), inicial);
    mensajes_.limpiar();

    // An origin that does not exist is refused; an existing destination is a merge, asked for.
    EXPECT_FALSE(teclear(QStringLiteral("99"), QStringLiteral("12")));
    EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("¡No existe el Origen 99!")});
    mensajes_.limpiar();
    mensajes_.programarRespuestas({QStringLiteral("NO")});
    EXPECT_FALSE(teclear(QStringLiteral("5"), QStringLiteral("7")));
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    ASSERT_TRUE(teclear(QStringLiteral("5"), QStringLiteral("7")));
    EXPECT_EQ(mensajes_.textos().last(), QStringLiteral("El Origen desaparecerá y prevalecerá el Destino."));
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    ASSERT_TRUE(teclear(QStringLiteral("9"), QStringLiteral("9")));
    EXPECT_EQ(ventana_->Temporal->dataSet().fieldByName(QStringLiteral("Nombre")).asString(), QStringLiteral("Nueve"));

    // "NO" to the start changes nothing.
    const QString antes = foto();
    conforme({QStringLiteral("SI"), QStringLiteral("NO")});
    EXPECT_EQ(foto(), antes);
    EXPECT_TRUE(mensajes_.textos().contains(
        QStringLiteral("El proceso de Intercambio va a comenzar. ¿Está seguro de querer continuar?")));

    // Another transaction in progress: refused, nothing changes.
    fGENEINIC->Conexiones().EnTransaccion = true;
    conforme({QStringLiteral("SI"), QStringLiteral("SI")});
    fGENEINIC->Conexiones().EnTransaccion = false;
    EXPECT_TRUE(mensajes_.textos().contains(
        QStringLiteral("¡ Hay otra transacción activa en curso !. Debe finalizarla previamente.")));
    EXPECT_EQ(foto(), antes);

    // A close asked for during the run is refused; the run completes.
    QTimer::singleShot(0, ventana_, [this] { ventana_->Close(); });
    conforme({QStringLiteral("SI"), QStringLiteral("SI")});
    ASSERT_FALSE(ventana_.isNull());
    EXPECT_TRUE(ventana_->Temporal->active());
    EXPECT_TRUE(ventana_->incidencias().isEmpty()) << ventana_->incidencias().join(u'\n').toStdString();
    EXPECT_EQ(filas(), (QStringList{"5>7 Terminado", "9>9 Pendiente"}));
    const QString despues = foto();
    EXPECT_FALSE(despues.contains(QStringLiteral("Cinco")));
    EXPECT_TRUE(despues.contains(QStringLiteral("OPERARIO=9,Nueve")));
    EXPECT_TRUE(despues.contains(QStringLiteral("CONTACTO=OPERARIO,7,1")));
    EXPECT_FALSE(ventana_->ejecutando());
}

TEST_P(VentanaIntercambio, FailedPairsStayPendingAndTheirIncidentsAreOffered)
{
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO BONO (CodigoOperario, Fecha) VALUES (7, '2024-03-01 08:00:00')")), QString());
    gptest::TempDir dir;
    const QString fichero = dir.path() + QStringLiteral("/INTCTAS.TXT");
    ASSERT_TRUE(EscribirFicheroTexto(fichero, QStringLiteral("5' OR '1'='1@7\r\n5@7\r\na@7\r\n9@19\r\n")));
    plat::setDialogScript([&](QObject *dialogo) {
        EXPECT_EQ(dialogo->property("Title").toString(), QStringLiteral("Importar desde un Archivo de Texto"));
        dialogo->setProperty("FileName", fichero);
        return true;
    });
    ventana_->ImportardesdeArchivodeTexto1Click(ventana_->ImportardesdeArchivodeTexto1);
    EXPECT_FALSE(ventana_->importando());
    ASSERT_EQ(filas().size(), 4);

    const QString antes = foto();
    // The check runs on the first row (5>7: a merge, confirmed), then the run.
    QString titulo, detalle;
    plat::application().OnModalShown = [&](plat::Form &visor) {
        titulo = visor.caption();
        if (auto *memo = visor.findChild<plat::Memo *>())
            detalle = memo->text();
        visor.setModalResult(plat::mrOk);
    };
    conforme({QStringLiteral("SI"), QStringLiteral("SI"), QStringLiteral("SI")});
    plat::application().OnModalShown = nullptr;
    EXPECT_TRUE(mensajes_.textos().contains(
        QStringLiteral("Se han producido incidencias en el proceso. ¿Desea ver los detalles?")));
    EXPECT_EQ(titulo, QStringLiteral("Incidencias producidas en Intercambio de Códigos de Operarios"));
    EXPECT_TRUE(detalle.contains(QStringLiteral("¡Error grabando el dato 5 en la tabla BONO!")));
    const QStringList incidencias = ventana_->incidencias();
    EXPECT_TRUE(incidencias.contains(QStringLiteral("¡Error grabando el dato 5 en la tabla BONO!")));
    // Both rows whose origin is not a number: the runtime's warning, once each.
    EXPECT_EQ(incidencias.count(kDatoNoValido), 2) << incidencias.join(u'\n').toStdString();
    // The failed merge left everything of 5 as it was; the next row still ran.
    EXPECT_TRUE(foto().contains(QStringLiteral("OPERARIO=5,Cinco")));
    EXPECT_TRUE(foto().contains(QStringLiteral("OPERARIO=19,Nueve")));
    EXPECT_NE(foto(), antes);
    EXPECT_TRUE(filas().contains(QStringLiteral("5>7 Pendiente")));
    EXPECT_TRUE(filas().contains(QStringLiteral("9>19 Terminado")));
}

TEST_P(VentanaIntercambio, ToolsRewriteTheTableAndRoundTripThroughAFile)
{
    mensajes_.programarRespuestas({QStringLiteral("NO")});
    ventana_->ImportarOperariosClick(ventana_->ImportarOperarios);
    EXPECT_EQ(filas(), (QStringList{"5>5 Pendiente", "7>7 Pendiente", "9>9 Pendiente"}));

    mensajes_.programarRespuestas({QStringLiteral("abc")});
    ventana_->AgregarcifraenDestinoClick(ventana_->AgregarcifraenDestino);
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("¡El valor de Cifra es incorrecto! Repita por favor")));
    mensajes_.programarRespuestas({QStringLiteral("100")});
    ventana_->AgregarcifraenDestinoClick(ventana_->AgregarcifraenDestino);
    EXPECT_EQ(filas(), (QStringList{"5>105 Pendiente", "7>107 Pendiente", "9>109 Pendiente"}));
    // Back to equal codes: each post is checked, and each destination exists.
    mensajes_.programarRespuestas({QStringLiteral("100"), QStringLiteral("SI"), QStringLiteral("SI"), QStringLiteral("SI")});
    ventana_->EliminarcifraenDestinoClick(ventana_->EliminarcifraenDestino);
    EXPECT_EQ(filas(), (QStringList{"5>5 Pendiente", "7>7 Pendiente", "9>9 Pendiente"}));
    mensajes_.programarRespuestas({QStringLiteral("100")});
    ventana_->AgregarcifraenDestinoClick(ventana_->AgregarcifraenDestino);

    gptest::TempDir dir;
    const QString fichero = dir.path() + QStringLiteral("/INTCTAS.TXT");
    plat::setDialogScript([&](QObject *dialogo) {
        dialogo->setProperty("FileName", fichero);
        return true;
    });
    ventana_->ExportaraArchivodeTexto1Click(ventana_->ExportaraArchivodeTexto1);
    EXPECT_EQ(LeerFicheroTexto(fichero), QStringLiteral("5@105\r\n7@107\r\n9@109\r\n"));
    ventana_->Inicializartabladeequivalencias1Click(ventana_->Inicializartabladeequivalencias1);
    EXPECT_TRUE(filas().isEmpty());
    ventana_->ImportardesdeArchivodeTexto1Click(ventana_->ImportardesdeArchivodeTexto1);
    EXPECT_EQ(filas(), (QStringList{"5>105 Pendiente", "7>107 Pendiente", "9>109 Pendiente"}));

    // The separator of the general parameters, on export and import alike.
    separador(QStringLiteral(";"));
    ventana_->ExportaraArchivodeTexto1Click(ventana_->ExportaraArchivodeTexto1);
    EXPECT_EQ(LeerFicheroTexto(fichero), QStringLiteral("5;105\r\n7;107\r\n9;109\r\n"));
    ventana_->Inicializartabladeequivalencias1Click(ventana_->Inicializartabladeequivalencias1);
    ventana_->ImportardesdeArchivodeTexto1Click(ventana_->ImportardesdeArchivodeTexto1);
    EXPECT_EQ(filas().size(), 3);
    separador(QStringLiteral("@"));

    // Exchanging origins and destinations: every post is checked (7 exists: asked and kept).
    ventana_->Inicializartabladeequivalencias1Click(ventana_->Inicializartabladeequivalencias1);
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    ASSERT_TRUE(teclear(QStringLiteral("5"), QStringLiteral("7")));
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    ventana_->IntercambiarDatoOrigenporDatoDestino1Click(ventana_->IntercambiarDatoOrigenporDatoDestino1);
    EXPECT_EQ(filas(), QStringList{QStringLiteral("7>5 Pendiente")});
    ventana_->Inicializartabladeequivalencias1Click(ventana_->Inicializartabladeequivalencias1);

    // A repeated origin stops the import there; the checks work again afterwards.
    ASSERT_TRUE(EscribirFicheroTexto(fichero, QStringLiteral("1@2\r\n1@3\r\n3@4\r\n")));
    mensajes_.limpiar();
    ventana_->ImportardesdeArchivodeTexto1Click(ventana_->ImportardesdeArchivodeTexto1);
    EXPECT_EQ(filas(), QStringList{QStringLiteral("1>2 Pendiente")});
    EXPECT_EQ(mensajes_.textos().size(), 1);
    EXPECT_FALSE(ventana_->importando());
    mensajes_.limpiar();
    EXPECT_FALSE(teclear(QStringLiteral("99"), QStringLiteral("12")));
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("¡No existe el Origen 99!")));

    // Closing drops the table of equivalences.
    const QString tabla = ventana_->Temporal->tableName();
    plat::Connection &suya = *ventana_->Temporal->table().connection();
    ASSERT_TRUE(suya.tableExists(tabla));
    ventana_->Close();
    EXPECT_FALSE(suya.tableExists(tabla));
}

INSTANTIATE_TEST_SUITE_P(Motores, VentanaIntercambio, ::testing::Bool(), NombreMotor);
