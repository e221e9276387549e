#include "ModuloFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/data/servicios/SentenciasModulo.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QLabel>

namespace {

// A data module with TXIDIOMA seeded
// for the language "Ingles".
class TraduccionTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        CacheTraducciones::instancia().vaciar();
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        form_->CodigoIdioma = "Ingles";
        sembrar({{"Aceptar", "Accept"},
                 {"Cancelar", "Cancel"},
                 {"Total", "Total"},
                 {"Almacén", "Warehouse"},
                 {"Se han borrado \\X1 registros", "\\X1 records were deleted"},
                 {"Total del almacén \\X1", "Warehouse total \\X1"},
                 {"Cliente $Nombre bloqueado", "Customer $Nombre blocked"},
                 {"Buscar", "Find"}});
    }

    void TearDown() override
    {
        CacheTraducciones::instancia().vaciar();
        ModuloMotorTest::TearDown();
    }

    void sembrar(const QList<std::pair<QString, QString>> &filas)
    {
        for (const auto &[clave, texto] : filas)
            ASSERT_EQ(sql(QString("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Ingles', %1, %2)")
                              .arg(Entrecomillar(clave), Entrecomillar(texto)),
                          "DatabaseGeneral"),
                      QString());
    }

    // The statements a call sent to the general database, where TXIDIOMA lives.
    int contar(const std::function<void()> &llamada)
    {
        const plat::Connection &general = form_->DatabaseGeneral();
        const quint64 antes = general.statementsSent();
        llamada();
        return int(general.statementsSent() - antes);
    }
};

TEST_P(TraduccionTest, ExactTranslationsAreAskedOnceThenComeFromTheCache)
{
    TModuloDatos &m = *modulo_;
    QString r;
    EXPECT_EQ(contar([&] { r = m.Traducir("&Aceptar"); }), 1);
    EXPECT_EQ(r, "Accept");
    EXPECT_EQ(contar([&] { r = m.Traducir("Aceptar"); }), 0);
    EXPECT_EQ(r, "Accept");
    // A translation equal to its text: one question, then the cache.
    EXPECT_EQ(contar([&] { r = m.Traducir("Total"); }), 1);
    EXPECT_EQ(contar([&] { r = m.Traducir("Total"); }), 0);
    EXPECT_EQ(r, "Total");
    EXPECT_EQ(m.TraducirClave("Cancelar"), "Cancel");
    EXPECT_EQ(m.TraducirClave("No existe"), QString());
}

TEST_P(TraduccionTest, TextsThatAreNeverTranslated)
{
    TModuloDatos &m = *modulo_;
    const struct
    {
        QString texto;
    } casos[] = {{"QRLabel1"}, {"LBEtiqueta"}, {"&A"}, {"B"}, {""}};
    for (const auto &c : casos) {
        QString r;
        EXPECT_EQ(contar([&] { r = m.Traducir(c.texto); }), 0) << c.texto.toStdString();
        EXPECT_EQ(r, c.texto);
    }
}

TEST_P(TraduccionTest, AnEmptyLanguageRunsNoStatementAndStillSubstitutesVariables)
{
    TModuloDatos &m = *modulo_;
    form_->CodigoIdioma.clear();
    QString r;
    EXPECT_EQ(contar([&] { r = m.TraducirTexto("Cliente $Nombre bloqueado", "Nombre=Aceptar", ""); }), 0);
    EXPECT_EQ(r, "Cliente Aceptar bloqueado");
    EXPECT_EQ(contar([&] { r = m.Traducir("&Aceptar"); }), 0);
    EXPECT_EQ(r, "&Aceptar");
    EXPECT_EQ(contar([&] { r = m.TraducirClave("Aceptar"); }), 0);
    EXPECT_EQ(r, QString());
    // Another language named by the call is used.
    EXPECT_EQ(m.TraducirTexto("Cancelar", "", "Ingles"), "Cancel");
}

TEST_P(TraduccionTest, VariablesReplaceDollarNamesWithTheirTranslation)
{
    EXPECT_EQ(modulo_->TraducirTexto("Cliente $Nombre bloqueado", "Nombre=Aceptar\r\nOtro=x", ""),
              "Customer Accept blocked");
    EXPECT_EQ(modulo_->TraducirTexto("Cliente $Nombre bloqueado", "Nombre=García", ""), "Customer García blocked");
}

TEST_P(TraduccionTest, APatternKeyTakesAnyIntegerInPlaceOfItsMarker)
{
    TModuloDatos &m = *modulo_;
    EXPECT_EQ(m.Traducir("Se han borrado 17 registros"), "17 records were deleted");
    EXPECT_EQ(m.Traducir("Se han borrado 123456 registros"), "123456 records were deleted");
    EXPECT_EQ(m.TraducirPatron("Se han borrado -4 registros"), "-4 records were deleted");
    EXPECT_EQ(m.TraducirPatron("Nada que ver"), QString());
}

TEST_P(TraduccionTest, LookUpsIgnoreAccentsAndCase)
{
    TModuloDatos &m = *modulo_;
    EXPECT_EQ(m.Traducir("ALMACEN"), "Warehouse");
    EXPECT_EQ(m.Traducir("aceptar"), "Accept");
    // The LIKE searches of the pattern step too.
    EXPECT_EQ(m.Traducir("TOTAL DEL ALMACEN 9"), "Warehouse total 9");
}

TEST_P(TraduccionTest, UntranslatedCaptionsAreWordByWordAndAskedOnce)
{
    TModuloDatos &m = *modulo_;
    QString r;
    // One question for the whole text, one per word for the pattern, one per word alone.
    EXPECT_EQ(contar([&] { r = m.Traducir("&Nuevo registro"); }), 5);
    EXPECT_EQ(r, "Nuevo registro");
    EXPECT_EQ(contar([&] { r = m.Traducir("&Nuevo registro"); }), 0);
    EXPECT_EQ(r, "Nuevo registro");
    // Asked again, untranslated texts (one holding "=", one that is a translation) add no lines.
    const QStringList textos{"&Nuevo registro", "Clave=Valor", "Accept", "Nada"};
    for (const QString &t : textos)
        m.Traducir(t);
    const int lineas = CacheTraducciones::instancia().numeroEntradas();
    for (int i = 0; i < 3; ++i)
        for (const QString &t : textos)
            EXPECT_EQ(m.Traducir(t), QString(t).remove(u'&'));
    EXPECT_EQ(CacheTraducciones::instancia().numeroEntradas(), lineas);
    // A word's translation is cut to the source word's length.
    EXPECT_EQ(m.Traducir("Buscar cliente"), "Find cliente");
    EXPECT_EQ(m.Traducir("Aceptar todo"), "Accept todo");
}

TEST_P(TraduccionTest, TheCaptionEntryWithoutMarksChangesNoAnswer)
{
    const QStringList textos{"&Aceptar", "Aceptar", "&Buscar cliente", "Buscar cliente", "Se han borrado &8 registros",
                             "Se han borrado 8 registros", "&Total", "Total", "Otro &texto", "Otro texto", "ALMACEN"};
    const auto respuestas = [&](bool entradaSinAcelerador) {
        CacheTraducciones::instancia().vaciar();
        modulo_->traduccion().entradaSinAcelerador = entradaSinAcelerador;
        QStringList r;
        for (int pasada = 0; pasada < 2; ++pasada)
            for (const QString &t : textos)
                r << modulo_->Traducir(t);
        return r;
    };
    const QStringList sinEntrada = respuestas(false);
    EXPECT_EQ(respuestas(true), sinEntrada);
    EXPECT_EQ(sinEntrada.first(), "Accept");
}

TEST_P(TraduccionTest, ListsAndSeparatorMarks)
{
    TModuloDatos &m = *modulo_;
    EXPECT_EQ(m.TraducirLista("Aceptar;Cancelar;Otro"), "Accept;Cancel;Otro");
    EXPECT_EQ(m.TraducirLista("Aceptar;"), "Accept");
    EXPECT_EQ(m.TraducirLista(""), "");
    const QString texto = "Uno. Dos.Tres";
    EXPECT_EQ(m.MarcarSeparador(m.MarcarSeparador(texto, ".", "Directo"), ".", "Inverso"), texto);
}

TEST_P(TraduccionTest, FailingQuestionsLeaveTheTextAndTheCacheAlone)
{
    ASSERT_EQ(sql("DROP TABLE TXIDIOMA", "DatabaseGeneral"), QString());
    ASSERT_EQ(sql("CREATE TABLE TXIDIOMA (Idioma VARCHAR(20), ClaveTexto VARCHAR(250))", "DatabaseGeneral"), QString());
    // The message window translates what it shows: a failure shown would come back to it.
    TfGENEMENS ventana;
    TfGENEMENS *anterior = fGENEMENS;
    fGENEMENS = &ventana;
    TModuloDatos &otro = crearModulo();
    mensajes_.limpiar();
    for (const QString &texto : {QString("&Aceptar"), QString("Se han borrado 3 registros"), QString("Uno dos")})
        EXPECT_EQ(otro.Traducir(texto), QString(texto).remove(u'&'));
    EXPECT_EQ(otro.TraducirClave("Aceptar"), QString());
    EXPECT_EQ(CacheTraducciones::instancia().numeroEntradas(), 0);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    liberarModulo();
    fGENEMENS = anterior;
}

TEST_P(TraduccionTest, WithoutTheGeneralDatabaseTextsComeBackAndAreAskedLater)
{
    form_->DatabaseGeneral().close();
    EXPECT_EQ(modulo_->Traducir("Aceptar"), "Aceptar");
    EXPECT_EQ(CacheTraducciones::instancia().numeroEntradas(), 0);
    form_->DatabaseGeneral().open();
    EXPECT_EQ(modulo_->Traducir("Aceptar"), "Accept");
}

TEST_P(TraduccionTest, TheMessageWindowTranslatesWhileTheModuleExists)
{
    TfGENEMENS ventana;
    TfGENEMENS *anterior = fGENEMENS;
    fGENEMENS = &ventana;
    crearModulo();
    ventana.TextoMensaje->setText("Aceptar");
    ventana.FormActivate(&ventana);
    EXPECT_EQ(ventana.TextoMensaje->text(), "Accept");
    liberarModulo();
    EXPECT_FALSE(ganchoTraduccionMensajes().valor());
    ventana.TextoMensaje->setText("Aceptar");
    ventana.FormActivate(&ventana);
    EXPECT_EQ(ventana.TextoMensaje->text(), "Aceptar");
    fGENEMENS = anterior;
}

INSTANTIATE_TEST_SUITE_P(Motores, TraduccionTest, ::testing::Bool(), NombreMotor);

} // namespace
