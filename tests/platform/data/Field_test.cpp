#include "platform/base/FechaHora.h"
#include "platform/data/ClientDataSet.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using namespace plat;

namespace {

// An empty in-memory dataset with one field of each kind the program uses.
struct FieldFixture : ::testing::Test
{
    ClientDataSet ds{"Datos"};
    void SetUp() override
    {
        ds.setFieldDefs({fieldDef("Nombre", ftString, 5),
                         fieldDef("Cantidad", ftInteger),
                         fieldDef("Precio", ftFloat),
                         fieldDef("Fecha", ftDateTime),
                         fieldDef("Hora", ftTime),
                         fieldDef("Activo", ftBoolean),
                         fieldDef("Notas", ftMemo),
                         fieldDef("Foto", ftGraphic)});
        ds.createDataSet();
        ds.append();
    }
};

std::string message(const std::function<void()> &work)
{
    try {
        work();
    } catch (const gp::Error &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST_F(FieldFixture, FieldsAreFoundByNameIgnoringCaseAndByIndex)
{
    EXPECT_EQ(&ds.fieldByName("PRECIO"), &ds.field(2));
    EXPECT_EQ(ds.findField("nada"), nullptr);
    EXPECT_EQ(message([&] { ds.fieldByName("nada"); }), "Field 'nada' not found");
    EXPECT_EQ(ds.field(0).dataTypeName(), "ftString");
    EXPECT_EQ(ds.field(0).size(), 5);
    EXPECT_EQ(fieldTypeFromName("ftCurrency"), ftCurrency);
    EXPECT_EQ(fieldTypeFromName("ftNothing"), ftUnknown);
}

TEST_F(FieldFixture, StringsAreCutToTheDeclaredSize)
{
    ds.fieldByName("Nombre").setAsString("Barcelona");
    EXPECT_EQ(ds.fieldByName("Nombre").asString(), "Barce");
}

TEST_F(FieldFixture, ConversionsRaiseTheEngineTexts)
{
    struct Case { const char *field; const char *text; const char *error; };
    const Case cases[] = {
        {"Cantidad", "x", "'x' is not a valid integer value"},
        {"Cantidad", "1,5", "'1,5' is not a valid integer value"},
        {"Precio", "uno", "'uno' is not a valid floating point value"},
        {"Fecha", "32/01/2024", "'32/01/2024' is not a valid date"},
        {"Hora", "25:00", "'25:00' is not a valid time"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(message([&] { ds.fieldByName(c.field).setAsString(c.text); }), c.error) << c.field;
    ds.fieldByName("Nombre").setAsString("abc");
    EXPECT_EQ(message([&] { ds.fieldByName("Nombre").asInteger(); }), "'abc' is not a valid integer value");
}

TEST_F(FieldFixture, TypedAccessConvertsBetweenTypes)
{
    Field &cantidad = ds.fieldByName("Cantidad");
    cantidad.setAsString(" 42 ");
    EXPECT_EQ(cantidad.asInteger(), 42);
    EXPECT_DOUBLE_EQ(cantidad.asFloat(), 42.0);
    Field &precio = ds.fieldByName("Precio");
    precio.setAsString("1.234,5");
    EXPECT_EQ(precio.asString(), "1234,5");
    precio.displayFormat = "#,##0.00";
    EXPECT_EQ(precio.displayText(), "1.234,50");
    EXPECT_EQ(precio.text(), "1234,5");
    Field &fecha = ds.fieldByName("Fecha");
    fecha.setAsString("05/03/2024 10:30");
    EXPECT_EQ(fecha.asDateTime(), FechaHora(QDate(2024, 3, 5), QTime(10, 30)));
    EXPECT_EQ(fecha.asString(), "05/03/2024 10:30:00");
    fecha.displayFormat = "HH:MM:SS";
    EXPECT_EQ(fecha.displayText(), "10:30:00");
    ds.fieldByName("Activo").setAsString("True");
    EXPECT_TRUE(ds.fieldByName("Activo").asBoolean());
    EXPECT_EQ(ds.fieldByName("Activo").asString(), "True");
}

TEST_F(FieldFixture, NullAndClear)
{
    Field &cantidad = ds.fieldByName("Cantidad");
    EXPECT_TRUE(cantidad.isNull());
    EXPECT_EQ(cantidad.asInteger(), 0);
    EXPECT_EQ(cantidad.asString(), "");
    cantidad.setAsInteger(3);
    EXPECT_FALSE(cantidad.isNull());
    cantidad.clear();
    EXPECT_TRUE(cantidad.isNull());
    cantidad.setAsString("");   // an empty text empties a number
    EXPECT_TRUE(cantidad.isNull());
}

TEST_F(FieldFixture, GetAndSetTextHooks)
{
    Field &fecha = ds.fieldByName("Fecha");
    fecha.OnGetText = [](Field &f, QString &text, bool) {
        if (f.asDateTime().date().year() == 1899)
            text.clear();
    };
    fecha.setAsDateTime(FechaHora(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(fecha.displayText(), "");
    EXPECT_EQ(fecha.asString(), "30/12/1899");
    Field &nombre = ds.fieldByName("Nombre");
    nombre.OnSetText = [](Field &f, const QString &text) { f.setAsString(text.toUpper()); };
    nombre.setText("ana");
    EXPECT_EQ(nombre.asString(), "ANA");
}

TEST_F(FieldFixture, BlobsFromAndToFilesAndStreams)
{
    gptest::TempDir dir;
    const QByteArray picture("\x89PNG\r\n\x1a\n\0\x01\x02", 11);
    QFile in(dir.file("in.png"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(picture);
    in.close();
    Field &foto = ds.fieldByName("Foto");
    foto.loadFromFile(dir.file("in.png"));
    EXPECT_EQ(foto.asBytes(), picture);
    foto.saveToFile(dir.file("out.png"));
    QFile out(dir.file("out.png"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), picture);
    QByteArray text("línea 1\r\nlínea 2");
    QBuffer stream(&text);
    stream.open(QIODevice::ReadOnly);
    ds.fieldByName("Notas").loadFromStream(stream);
    EXPECT_EQ(ds.fieldByName("Notas").asString(), QString::fromUtf8(text));
    EXPECT_EQ(ds.fieldByName("Notas").displayText(), "(MEMO)");
}

TEST_F(FieldFixture, WritingOutsideEditModeFails)
{
    ds.fieldByName("Nombre").setAsString("A");
    ds.fieldByName("Cantidad").setAsInteger(1);
    ds.post();
    EXPECT_EQ(message([&] { ds.fieldByName("Nombre").setAsString("B"); }), "Dataset not in edit or insert mode");
    ds.edit();
    ds.fieldByName("Nombre").readOnly = true;
    EXPECT_EQ(message([&] { ds.fieldByName("Nombre").setAsString("B"); }), "Field 'Nombre' cannot be modified");
}
