#include "GENEW/reporting/personalizados/ValidacionInforme.h"

#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "tests/reporting/personalizados/InformesFixture.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// The report of the fixture, with every detail viewer recorded and closed.
class InformePersonalizado : public InformesFixture
{
protected:
    void SetUp() override
    {
        InformesFixture::SetUp();
        plat::application().OnModalShown = [this](plat::Form &f) {
            visores_ << f.caption();
            textoVisor_ = static_cast<TfGENEDETA &>(f).MemoDetalle->text();
            f.setModalResult(plat::mrOk);
        };
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        InformesFixture::TearDown();
    }

    QStringList visores_;
    QString textoVisor_;
};

const QString kPreguntaOrdenacion = QStringLiteral(
    "La secuencia de Ordenación deberia ser idéntica a la de los Grupos en sus primeros elementos. ¿Desea corregir esta "
    "anomalía?");

TEST_P(InformePersonalizado, ExpressionColumnOrdersTheRowsAndNamesItsField)
{
    plat::QueryDataSet consulta(QStringLiteral("QryConsultasSQL"));
    consulta.setSqlOrigin(plat::SqlOrigin::Program);
    consulta.setSql(ConstruirSentenciaSQL(informe_));
    ASSERT_TRUE(modulo_->AbrirConsulta(consulta)) << mensajes_.textos().join('\n').toStdString();
    QStringList filas;
    for (consulta.first(); !consulta.eof(); consulta.next())
        filas << consulta.fieldByName("Total").asString() + "/" + consulta.fieldByName("Zona").asString();
    EXPECT_EQ(filas, QStringList({"60/", "20/Norte", "10/Norte"}));
    EXPECT_TRUE(consulta.fieldNames().contains("Total"));
}

TEST_P(InformePersonalizado, StoredReportReadsBackFromFiltro)
{
    informe_.Restricciones = {"PROYECT.Codigo IN (\"P1\",\"P2\")"};
    informe_.Grupos = {"PROYECT.Codigo"};
    informe_.anchosColumnas = {-1, 150, 90};
    guardarInforme("Importes", informe_);
    const QString clave = " FROM FILTRO   WHERE NombreTabla = 'GeneradorInformes'    AND Descripcion = 'Importes'";
    EXPECT_EQ(LeerInstrucciones(sql("SELECT Instrucciones" + clave)), informe_);
    EXPECT_EQ(sql("SELECT Filtro" + clave), ConstruirSentenciaSQL(informe_));
}

TEST_P(InformePersonalizado, TrialRunWithEveryKindOfVariableIsCorrect)
{
    informe_.Restricciones = {"LPROYECT.Importe > :#Minimo", "LPROYECT.FechaInicio <> :&Desde",
                              "PROYECT.Descripcion <> :$Texto", "PROYECT.Codigo NOT IN ( :*Lista )"};
    const QString respuesta = ValidarInforme(QString(), informe_, ConstruirSentenciaSQL(informe_));
    EXPECT_FALSE(respuesta.startsWith("Error")) << respuesta.toStdString();
    EXPECT_EQ(mensajes_.textos(), QStringList({"El informe es correcto"}));
    EXPECT_TRUE(visores_.isEmpty()) << textoVisor_.toStdString();
}

TEST_P(InformePersonalizado, OrderingIsCorrectedOnAnyAnswerButNo)
{
    informe_.Grupos = {"PROYECT.Codigo"};
    int regeneraciones = 0;
    const auto regenerar = [&] {
        ++regeneraciones;
        return ConstruirSentenciaSQL(informe_);
    };
    mensajes_.programarRespuestas({"NO"});
    ValidarInforme("Silenciosa", informe_, ConstruirSentenciaSQL(informe_), regenerar);
    EXPECT_EQ(informe_.Ordenacion, QStringList({"_Expresion AS 'Total' DESC"}));
    mensajes_.programarRespuestas({"SI"});
    EXPECT_FALSE(ValidarInforme("Silenciosa", informe_, ConstruirSentenciaSQL(informe_), regenerar).startsWith("Error"));
    EXPECT_EQ(informe_.Ordenacion, QStringList({"PROYECT.Codigo", "_Expresion AS 'Total' DESC"}));
    EXPECT_EQ(regeneraciones, 1);
    EXPECT_EQ(mensajes_.textos(), QStringList({kPreguntaOrdenacion, kPreguntaOrdenacion}));
}

TEST_P(InformePersonalizado, FailingStatementIsShownEscapedInTheDetailViewer)
{
    const QString respuesta =
        ValidarInforme(QString(), informe_, "SELECT PROYECT.\"a<b\"\r\nFROM PROYECT\r\n");
    EXPECT_TRUE(respuesta.startsWith("Error")) << respuesta.toStdString();
    EXPECT_EQ(visores_, QStringList({"Informe de Validación de la Sentencia SQL"}));
    const QString &texto = textoVisor_;
    EXPECT_TRUE(texto.startsWith("<font face=\"Verdana\" size=\"2\"><b>La Sentencia SQL es incorrecta</b><br><br>"
                                 "<font color=\"red\">Error"))
        << texto.toStdString();
    EXPECT_TRUE(texto.contains("a&lt;b")) << texto.toStdString();
    EXPECT_FALSE(texto.contains("a<b")) << texto.toStdString();
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

TEST_P(InformePersonalizado, TrialRunOfAWritingStatementChangesNothing)
{
    const QString respuesta = ValidarInforme("Silenciosa", informe_, "UPDATE LPROYECT SET Importe = 0");
    EXPECT_FALSE(respuesta.startsWith("Error")) << respuesta.toStdString();
    EXPECT_EQ(sql("SELECT SUM(Importe) FROM LPROYECT"), "45");
    EXPECT_TRUE(mensajes_.textos().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, InformePersonalizado, ::testing::Bool(), NombreMotor);

} // namespace
