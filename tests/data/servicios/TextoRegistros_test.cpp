#include "GENEW/data/servicios/TextoRegistros.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/ClientDataSet.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

using namespace textoRegistros;

// Documents and their lines, in memory.
class TextoRegistrosTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        documentos.setFieldDefs({plat::fieldDef("Codigo", ftString, 10), plat::fieldDef("Nombre", ftString, 30),
                                 plat::fieldDef("Importe", ftFloat), plat::fieldDef("HoraInicio", ftDateTime),
                                 plat::fieldDef("Notas", ftMemo)});
        documentos.createDataSet();
        lineas.setFieldDefs({plat::fieldDef("Codigo", ftString, 10), plat::fieldDef("Linea", ftInteger),
                             plat::fieldDef("Texto", ftString, 30)});
        lineas.createDataSet();
    }

    void documento(const QString &codigo, const QString &nombre, double importe, const QString &notas)
    {
        documentos.append();
        documentos.field(0).setValue(codigo);
        documentos.field(1).setValue(nombre);
        documentos.field(2).setValue(importe);
        documentos.field(3).setValue(FechaHora(FechaCero().date(), QTime(9, 30)));
        documentos.field(4).setValue(notas);
        documentos.post();
    }

    QStringList importar(const QString &contenido, OpcionesImportacion o, plat::DataSet *detalle,
                         const QStringList &respuestas = {})
    {
        ImportacionTexto imp(documentos, detalle, o, [&, i = 0](const QString &p) mutable {
            preguntas << p;
            return respuestas.value(i++, QStringLiteral("SI")) != QLatin1String("NO");
        });
        imp.importar(contenido);
        return imp.incidencias();
    }

    plat::ClientDataSet documentos{QStringLiteral("Documentos")};
    plat::ClientDataSet lineas{QStringLiteral("Lineas")};
    QStringList preguntas;
};

TEST_F(TextoRegistrosTest, RecordTextsAndTheirOptions)
{
    EXPECT_EQ(RegistroATexto(documentos), QString());
    documento("D1", "Uno", 2.5, "primera\r\nsegunda");
    EXPECT_EQ(RegistroATexto(documentos), "D1|Uno|2,5|09:30:00|primera\r\nsegunda|");
    EXPECT_EQ(RegistroATextoOpciones(documentos, "FormatoINI"),
              "Codigo=D1\r\nNombre=Uno\r\nImporte=2,5\r\nHoraInicio=09:30:00\r\nNotas=primera·segunda\r\n");
    documentos.edit();
    documentos.field(1).clear();
    documentos.post();
    EXPECT_EQ(RegistroATextoOpciones(documentos, ""), "Codigo=D1|Importe=2,5|HoraInicio=09:30:00|Notas=primera\r\nsegunda|");
}

TEST(TextoCampo, NumbersAndDatesReadAsTheirDisplayText)
{
    plat::ClientDataSet ds(QStringLiteral("Valores"));
    ds.setFieldDefs({plat::fieldDef("Importe", ftFloat), plat::fieldDef("Fecha", ftDateTime), plat::fieldDef("Dia", ftDate)});
    ds.createDataSet();
    const double numeros[] = {0, 1234.5, -0.1, 1e-5, 123456789012345.0, 1e16, 0.1 + 0.2, 2.0 / 3, -987654.321};
    const QDateTime fechas[] = {FechaCero(), FechaHora(QDate(2024, 3, 5)), FechaHora(QDate(2024, 3, 5), QTime(23, 59, 58)),
                                FechaHora(QDate(1, 1, 1), QTime(0, 0, 1)), FechaHora(QDate(9999, 12, 31))};
    for (int i = 0; i < 9; ++i) {
        ds.append();
        ds.field(0).setValue(numeros[i]);
        if (i < 5) {
            ds.field(1).setValue(fechas[i]);
            ds.field(2).setValue(fechas[i]);
        }
        ds.post();
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(TextoCampo(ds.field(c)), ds.field(c).displayText()) << i << " " << c;
    }
}

TEST_F(TextoRegistrosTest, PastingARecordTextFillsFieldsByPosition)
{
    documento("D1", "Uno", 1234.5, "a\r\nb");
    const QString copiado = RegistroATexto(documentos);
    documento("D2", "Dos", 0, "");
    documentos.setIndexFieldNames("Codigo");
    ASSERT_TRUE(documentos.findKey({QStringLiteral("D2")}));
    TextoARegistro(documentos, copiado, "SinIndices");
    EXPECT_EQ(documentos.state(), plat::DataSetState::Edit);
    documentos.post();
    EXPECT_EQ(documentos.field(0).asString(), "D2");   // an index field: left alone
    EXPECT_EQ(documentos.field(1).asString(), "Uno");
    EXPECT_DOUBLE_EQ(documentos.field(2).asFloat(), 1234.5);
    EXPECT_EQ(documentos.field(3).asDateTime().time(), QTime(9, 30));
    EXPECT_EQ(documentos.field(4).asString(), "a\r\nb");
    // A piece the field cannot take leaves that field alone.
    TextoARegistro(documentos, "D3|Tres|no es un número|||", "");
    EXPECT_EQ(documentos.field(0).asString(), "D3");
    EXPECT_DOUBLE_EQ(documentos.field(2).asFloat(), 1234.5);
    documentos.cancel();
}

TEST_F(TextoRegistrosTest, ExportWritesValuesBreaksAndTheLineMarker)
{
    documento("D1", "Uno|dos", 1234.5, "x\r\ny\nz");
    QBuffer salida;
    salida.open(QIODevice::WriteOnly);
    EscritorTexto e(salida, DelimitadoresDe("", ""), 1, true);
    e.cabeceras(documentos, &lineas);
    e.principal(documentos);
    ASSERT_TRUE(e.terminar());
    // A value holding D or a lone LF goes between quotes, written out exactly.
    EXPECT_EQ(QString::fromUtf8(salida.data()), "CamposCabecera=Codigo|0|Nombre|Importe|HoraInicio|Notas|\r\n"
                                                "CamposLinea=Codigo|Linea|Texto|\r\n"
                                                "D1|0|\"Uno\\ddos\"|1234,5|09:30:00|\"x\\r\\ny\\nz\"|\r\n");
}

TEST_F(TextoRegistrosTest, AFailingDeviceIsReported)
{
    class Lleno : public QBuffer
    {
    protected:
        qint64 writeData(const char *, qint64) override { return -1; }
    } lleno;
    lleno.open(QIODevice::WriteOnly);
    documento("D1", "Uno", 1, "");
    EXPECT_FALSE(ExportarDataSet(lleno, documentos, nullptr, {}, 0, true));
}

TEST_F(TextoRegistrosTest, ImportByPositionSkipsTheMarkerAndFillsTheLastField)
{
    OpcionesImportacion o;
    o.k = 1;
    EXPECT_TRUE(importar("D1|0|Uno|12,5|08:15:00|n1·n2|\r\nD1|1|primera|\r\nD1|2|segunda|\r\n", o, &lineas).isEmpty());
    ASSERT_EQ(documentos.recordCount(), 1);
    documentos.first();
    EXPECT_EQ(documentos.field(1).asString(), "Uno");
    EXPECT_DOUBLE_EQ(documentos.field(2).asFloat(), 12.5);
    EXPECT_EQ(documentos.field(3).asDateTime().time(), QTime(8, 15));
    EXPECT_EQ(documentos.field(4).asString(), "n1\r\nn2");
    ASSERT_EQ(lineas.recordCount(), 2);
    lineas.last();
    EXPECT_EQ(lineas.field(1).asInteger(), 2);
    EXPECT_EQ(lineas.field(2).asString(), "segunda");

    // "Nuevo": the key and the marker columns are not read.
    o.nuevo = true;
    lineas.close();
    EXPECT_TRUE(importar("D9|Otro|1|||\r\n", o, nullptr).isEmpty());
    documentos.last();
    EXPECT_EQ(documentos.field(0).asString(), "");
    EXPECT_EQ(documentos.field(1).asString(), "");   // up to and including position k
    EXPECT_DOUBLE_EQ(documentos.field(2).asFloat(), 1);
}

TEST_F(TextoRegistrosTest, ALineWithMoreValuesThanItsHeaderIsAnIncidence)
{
    documentos.setFieldDefs({plat::fieldDef("Codigo", ftString, 10, true), plat::fieldDef("Nombre", ftString, 30)});
    documentos.createDataSet();
    OpcionesImportacion o;
    const QStringList incidencias =
        importar("CamposCabecera=Codigo|Nombre|\r\nD1|Uno|\r\nD2|Dos|y tres|\r\n|Sin código|\r\nD4|Cuatro|\r\n", o,
                 nullptr);
    EXPECT_EQ(documentos.recordCount(), 2);
    ASSERT_EQ(incidencias.size(), 2);
    EXPECT_EQ(incidencias[0], "1 - Error grabando el registro D2. Motivo: La línea tiene 3 valores y la cabecera 2 campos");
    EXPECT_EQ(incidencias[1], "2 - Error grabando el registro . Motivo: Field 'Codigo' must have a value");
    ASSERT_EQ(preguntas.size(), 1);   // asked once only
    EXPECT_EQ(preguntas[0], "¡Imposible grabar el registro D2!. ¿Desea continuar?.\r\n(Motivo: La línea tiene 3 valores y "
                            "la cabecera 2 campos)");
}

TEST_F(TextoRegistrosTest, IncidencesAreCappedAndNoStopsTheReading)
{
    documentos.setFieldDefs({plat::fieldDef("Codigo", ftString, 10, true)});
    documentos.createDataSet();
    QString muchas;
    for (int i = 0; i < 1500; ++i)
        muchas += QStringLiteral("|\r\n");
    const QStringList incidencias = importar(muchas, {}, nullptr);
    EXPECT_EQ(incidencias.size(), 1002);
    EXPECT_EQ(incidencias.last(), "¡Hay demasiados errores!");
    EXPECT_TRUE(incidencias[1000].startsWith("1001 - "));

    preguntas.clear();
    const QStringList detenidas = importar("|\r\n|\r\nD1|\r\n", {}, nullptr, {QStringLiteral("NO")});
    EXPECT_EQ(detenidas.size(), 1);
    EXPECT_EQ(documentos.recordCount(), 0);
}

} // namespace
