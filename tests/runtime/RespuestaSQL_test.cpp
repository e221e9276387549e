#include "GENEW/runtime/comun/RutinasFechas.h"
#include "tests/support/ImprimirQString.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "tests/runtime/FilasEnMemoria.h"

#include "GENEW/runtime/comun/Rutinas.h"

#include <QDateTime>
#include <cmath>
#include <random>
#include <gtest/gtest.h>

using gptest::FilasEnMemoria;

namespace {

const QString PuntoMedio = QString(QChar(0x00B7));

QString responder(FilasEnMemoria filas, const QString &opciones = QString())
{
    return FormatearRespuestaSQL(filas, opciones);
}

FilasEnMemoria clientes()
{
    return FilasEnMemoria({"CodigoCliente", "Nombre"}, {ftInteger, ftString},
                          {{1, "Ana"}, {22, "Luis Pérez"}});
}

} // namespace

TEST(RespuestaSQL, OneColumnRowsAreSeparatedByCrLfWithoutTrailingBreak)
{
    FilasEnMemoria filas({"Nombre"}, {ftString}, {{"Ana"}, {"Luis"}});
    EXPECT_EQ(responder(filas), "Ana\r\nLuis");
    EXPECT_EQ(responder(filas, "Silenciosa,NoEliminarUltimoCRLF"), "Ana\r\nLuis\r\n");
}

TEST(RespuestaSQL, SeveralColumnsAreJoinedByBarAndFormatoIniWritesDeclaredNames)
{
    EXPECT_EQ(responder(clientes()), "1|Ana\r\n22|Luis Pérez");
    EXPECT_EQ(responder(clientes(), "FormatoINI"),
              "CodigoCliente=1" + PuntoMedio + "Nombre=Ana\r\nCodigoCliente=22" + PuntoMedio
                  + "Nombre=Luis Pérez");
}

TEST(RespuestaSQL, FormatoIniAppliesToASingleColumnToo)
{
    FilasEnMemoria filas({"Descripcion"}, {ftString}, {{"Caja"}});
    EXPECT_EQ(responder(filas, "FormatoINI"), "Descripcion=Caja");
}

TEST(RespuestaSQL, EmptyResultAnswersEmptyText)
{
    FilasEnMemoria filas({"Codigo", "Nombre"}, {ftInteger, ftString}, {});
    EXPECT_EQ(responder(filas), "");
    EXPECT_EQ(responder(filas, "NoEliminarUltimoCRLF"), "");
}

TEST(RespuestaSQL, NullsAreEmptyButKeepTheirSeparators)
{
    FilasEnMemoria filas({"A", "B", "C"}, {ftInteger, ftString, ftDateTime},
                         {{QVariant(QMetaType(QMetaType::Int)), QVariant(QMetaType(QMetaType::QString)),
                           QVariant(QMetaType(QMetaType::QDateTime))}});
    EXPECT_EQ(responder(filas), "||");
    EXPECT_EQ(responder(filas, "FormatoINI"), "A=" + PuntoMedio + "B=" + PuntoMedio + "C=");
}

TEST(RespuestaSQL, MemoLineBreaksGiveWayToTheDelimiter)
{
    const QVariant memo = QStringLiteral("línea 1\r\nlínea 2\nlínea 3");
    FilasEnMemoria filas({"Codigo", "Notas"}, {ftInteger, ftMemo}, {{7, memo}});
    EXPECT_EQ(responder(filas), "7|línea 1 línea 2 línea 3");
    EXPECT_EQ(responder(filas, "Silenciosa,DelimitadorCRLFMemo=;,FormatoINI"),
              "Codigo=7" + PuntoMedio + "Notas=línea 1;línea 2;línea 3");
    // An empty delimiter keeps the blank.
    EXPECT_EQ(responder(filas, "DelimitadorCRLFMemo="), "7|línea 1 línea 2 línea 3");
}

TEST(RespuestaSQL, SingleColumnAndNonMemoTextKeepTheirLineBreaks)
{
    FilasEnMemoria memo({"Notas"}, {ftMemo}, {{"a\r\nb"}});
    EXPECT_EQ(responder(memo), "a\r\nb");
    FilasEnMemoria texto({"A", "B"}, {ftString, ftString}, {{"x\r\ny", "z"}});
    EXPECT_EQ(responder(texto), "x\r\ny|z");
}

TEST(RespuestaSQL, RowguidContributesNoValue)
{
    FilasEnMemoria filas({"Codigo", "rowguid", "Nombre"}, {ftInteger, ftString, ftString},
                         {{5, "{6F9619FF-8B86-D011-B42D-00C04FC964FF}", "Eva"}});
    EXPECT_EQ(responder(filas), "5||Eva");
    EXPECT_EQ(responder(filas, "FormatoINI"),
              "Codigo=5" + PuntoMedio + "rowguid=" + PuntoMedio + "Nombre=Eva");
}

TEST(RespuestaSQL, UnreadableMemoIsLeftOutOfAnIniRow)
{
    FilasEnMemoria filas({"Codigo", "Notas", "Nombre"}, {ftInteger, ftMemo, ftString},
                         {{5, FilasEnMemoria::ilegible(), "Eva"}});
    EXPECT_EQ(responder(filas, "FormatoINI"), "Codigo=5" + PuntoMedio + "Nombre=Eva");
}

TEST(RespuestaSQL, ErrorAnswerCarriesTheEngineMessage)
{
    const QString respuesta = RespuestaErrorSQL("Table does not exist. CLIENTE");
    EXPECT_EQ(respuesta, "Error. No es posible ejecutar la sentencia SQL. Motivo: Table does not exist. CLIENTE");
    EXPECT_TRUE(EsRespuestaErrorSQL(respuesta));
    EXPECT_FALSE(EsRespuestaErrorSQL("1|Error"));
}

struct CasoValor
{
    QVariant valor;
    TFieldType tipo;
    const char *texto;
};

void PrintTo(const CasoValor &caso, std::ostream *salida)
{
    *salida << caso.valor.toString().toStdString() << " -> " << caso.texto;
}

class TextoValor : public ::testing::TestWithParam<CasoValor> {};

TEST_P(TextoValor, IsWrittenWithSpanishConventions)
{
    EXPECT_EQ(TextoValorSQL(GetParam().valor, GetParam().tipo), QString::fromUtf8(GetParam().texto));
}

INSTANTIATE_TEST_SUITE_P(
    Valores, TextoValor,
    ::testing::Values(
        // dates: the time only when it is not midnight
        CasoValor{FechaHora(QDate(1899, 12, 30), QTime(0, 0)), ftDateTime, "30/12/1899"},
        CasoValor{FechaHora(QDate(2024, 3, 5), QTime(14, 7, 9)), ftDateTime, "05/03/2024 14:07:09"},
        CasoValor{FechaHora(QDate(1899, 12, 30), QTime(8, 30)), ftDateTime, "30/12/1899 08:30:00"},
        CasoValor{FechaHora(QDate(2024, 3, 5), QTime(14, 7, 9)), ftDate, "05/03/2024"},
        CasoValor{FechaHora(QDate(2024, 3, 5), QTime(14, 7, 9)), ftTime, "14:07:09"},
        CasoValor{QDate(2023, 12, 31), ftDateTime, "31/12/2023"},
        // dates kept as text by the engine, and day numbers
        CasoValor{QString("2024-03-05 00:00:00"), ftDateTime, "05/03/2024"},
        CasoValor{QString("2024-03-05T09:05:00"), ftDateTime, "05/03/2024 09:05:00"},
        CasoValor{QString("1899-12-30"), ftDate, "30/12/1899"},
        CasoValor{0.0, ftDateTime, "30/12/1899"},
        CasoValor{45356.75, ftDateTime, "05/03/2024 18:00:00"},
        // numbers: decimal comma, no thousands separator
        CasoValor{2.5, ftFloat, "2,5"},
        CasoValor{1234567.25, ftFloat, "1234567,25"},
        CasoValor{-0.1, ftFloat, "-0,1"},
        CasoValor{3.0, ftFloat, "3"},
        CasoValor{0.1 + 0.2, ftFloat, "0,3"},
        CasoValor{QString("12.50"), ftBCD, "12,5"},
        CasoValor{qlonglong(-9000000000LL), ftInteger, "-9000000000"},
        CasoValor{42, ftSmallint, "42"},
        // text as it is, NULL empty
        CasoValor{QString("O'Brien | ñ"), ftString, "O'Brien | ñ"},
        CasoValor{QVariant(QMetaType(QMetaType::Double)), ftFloat, ""},
        CasoValor{QVariant(), ftString, ""}));

TEST(RespuestaSQL, ValuesMatchTheCommonRoutinesWhateverTheValue)
{
    std::mt19937_64 azar(12345);
    std::uniform_real_distribution<double> magnitud(-12.0, 16.0);
    for (int i = 0; i < 2000; ++i) {
        const double numero = std::pow(10.0, magnitud(azar)) * (i % 2 ? -1 : 1);
        ASSERT_EQ(TextoValorSQL(numero, ftFloat), FlotanteATexto(numero)) << numero;
    }
    const QDateTime base = FechaHora(QDate(1899, 12, 30), QTime(0, 0));
    for (qint64 segundos : {0LL, 1LL, 86399LL, 86400LL, 3786825600LL, 3786825601LL, 4102444799LL}) {
        const QDateTime fecha = base.addSecs(segundos);
        EXPECT_EQ(TextoValorSQL(fecha, ftDateTime), FechaHoraATexto(fecha));
    }
}

TEST(RespuestaSQL, OtherDateSettingsAreWrittenByTheCommonRoutines)
{
    AjustesComunes &ajustes = ajustesComunes();
    const AjustesComunes previos = ajustes;
    ajustes.FormatoFechaCorta = "yyyy-mm-dd";
    ajustes.SeparadorFecha = u'-';
    const QDateTime fecha = FechaHora(QDate(2024, 3, 5), QTime(9, 5, 7));
    EXPECT_EQ(TextoValorSQL(fecha, ftDateTime), FechaHoraATexto(fecha));
    EXPECT_TRUE(TextoValorSQL(fecha, ftDateTime).startsWith("2024-03-05")) << TextoValorSQL(fecha, ftDateTime).toStdString();
    ajustes = previos;
}

TEST(RespuestaSQL, StoredTimesSurviveADaylightSavingGap)
{
    // 02:30 of the last Sunday of March does not exist in Madrid's local time.
    const QByteArray zonaPrevia = qgetenv("TZ");
    qputenv("TZ", "Europe/Madrid");
    EXPECT_EQ(TextoValorSQL(QString("2024-03-31 02:30:00"), ftDateTime), "31/03/2024 02:30:00");
    EXPECT_EQ(TextoValorSQL(45382.6041666667, ftDateTime), "31/03/2024 14:30:00");
    if (zonaPrevia.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zonaPrevia);
}
