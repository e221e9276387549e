#include "GENEW/data/servicios/NumeracionAlta.h"
#include "platform/base/Errores.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// A table whose codes 1 to 50 are stored: each code the numbering is given was taken by
// another user first, as happens when many add at once.
class NumeracionAltaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plat::Connection &db = sesion_.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir_.path());
        plat::TableDef def;
        def.name = QStringLiteral("ALTAS");
        def.fields = {plat::fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                      plat::fieldDef(QStringLiteral("Nombre"), ftString, 20)};
        plat::IndexDef clave;
        clave.name = QStringLiteral("Clave1");
        clave.fields = {QStringLiteral("Codigo")};
        clave.primary = clave.unique = true;
        def.indexes = {clave};
        db.createTable(def);
        for (int codigo = 1; codigo <= kTomados; ++codigo)
            db.exec(QStringLiteral("INSERT INTO ALTAS (Codigo, Nombre) VALUES (%1, 'Otro')").arg(codigo));
        tabla_.setConnection(&db);
        tabla_.setTableName(QStringLiteral("ALTAS"));
        tabla_.open();
        tabla_.OnPostError = [this](plat::DataSet &ds, const gp::Error &e, plat::DataAction &a) {
            numeracion_.trasFallo(ds, e, a);
        };
    }
    void TearDown() override
    {
        tabla_.close();
        sesion_.closeAll();
    }

    // A new record given code 1; each further code asked for is the next one up.
    void empezar(NumeracionAlta::Siguiente siguiente)
    {
        tabla_.append();
        tabla_.fieldByName(QStringLiteral("Nombre")).setAsString(QStringLiteral("Nuevo"));
        numeracion_.numerar(tabla_, QStringLiteral("Codigo"), QStringLiteral("1"), std::move(siguiente));
    }
    NumeracionAlta::Siguiente siguienteArriba()
    {
        return [this] { return QString::number(++pedido_); };
    }
    QString nuevos() { return sesion_.connection(QStringLiteral("Database")).query(
                                          QStringLiteral("SELECT Codigo FROM ALTAS WHERE Nombre = 'Nuevo'")).rows.value(0).value(0).toString(); }

    static constexpr int kTomados = 50;
    gptest::TempDir dir_;
    plat::Session sesion_;
    plat::TableDataSet tabla_;
    NumeracionAlta numeracion_;
    int pedido_ = 1;
};

TEST_F(NumeracionAltaTest, ARecordRefusedCodeAfterCodeIsStoredUnderTheFirstFreeOne)
{
    empezar(siguienteArriba());
    tabla_.post();
    EXPECT_EQ(tabla_.state(), plat::DataSetState::Browse);
    EXPECT_EQ(nuevos(), QString::number(kTomados + 1));
}

TEST_F(NumeracionAltaTest, ARefusalThatANewCodeCannotMendIsTold)
{
    // The user typed a code over the one given: theirs, refused as it is.
    empezar(siguienteArriba());
    tabla_.fieldByName(QStringLiteral("Codigo")).setAsInteger(7);
    EXPECT_THROW(tabla_.post(), gp::DatabaseError);
    tabla_.cancel();
    // The next code found is the one refused: the key refused is not the code's.
    empezar([] { return QStringLiteral("1"); });
    EXPECT_THROW(tabla_.post(), gp::DatabaseError);
    tabla_.cancel();
    EXPECT_EQ(nuevos(), QString());
}

} // namespace
