#include "tests/runtime/ArranqueFixture.h"

#include "GENEW/runtime/comun/RutinasMensajes.h"

#include <sqlite3.h>

namespace {

// What another program reading the general database file sees of a table.
bool tablaVisibleDesdeFuera(const QString &archivo, const char *tabla)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt *consulta = nullptr;
    bool hay = false;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?", -1, &consulta,
                           nullptr)
        == SQLITE_OK) {
        sqlite3_bind_text(consulta, 1, tabla, -1, SQLITE_STATIC);
        hay = sqlite3_step(consulta) == SQLITE_ROW && sqlite3_column_int(consulta, 0) == 1;
    }
    sqlite3_finalize(consulta);
    sqlite3_close(db);
    return hay;
}

int nivelSincronia(plat::Connection &c)
{
    return c.scalar(QStringLiteral("PRAGMA synchronous"), {}, plat::SqlOrigin::AsWritten).toInt();
}

} // namespace

// A first start in an empty folder with the start's tables gathered, as the program runs.
class CreacionesArranqueTest : public ArranqueFixture
{
protected:
    void SetUp() override
    {
        ArranqueFixture::SetUp();
        TfGENEINIC::AgruparCreacionesArranque = true;
    }
    void TearDown() override
    {
        TfGENEINIC::AgruparCreacionesArranque = false;
        ArranqueFixture::TearDown();
    }
    QString archivoGeneral() const { return dir_.file(QStringLiteral("datos/datos.sqlite")); }
};

// The batch's tables are committed without waiting for the disk, not even for the journal's
// header on a file this start made, and the level the data layer gives every connection (FULL)
// is back for the writes that follow.
TEST_F(CreacionesArranqueTest, TheStartsTablesAreHeldWithoutSyncsAndTheLevelComesBackAtTheEnd)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    plat::Connection &general = f.DatabaseGeneral();
    ASSERT_TRUE(general.inTransaction());
    EXPECT_EQ(nivelSincronia(general), 0);
    EXPECT_FALSE(tablaVisibleDesdeFuera(archivoGeneral(), "CAMPOUSR"));

    f.TerminarCreacionesArranque();
    EXPECT_FALSE(general.inTransaction());
    EXPECT_EQ(nivelSincronia(general), 2);
    EXPECT_TRUE(tablaVisibleDesdeFuera(archivoGeneral(), "CAMPOUSR"));

    // A later creation, outside the batch, commits at the full level.
    general.exec(QStringLiteral("CREATE TABLE DESPUES (A INTEGER)"));
    EXPECT_EQ(nivelSincronia(general), 2);
    EXPECT_TRUE(tablaVisibleDesdeFuera(archivoGeneral(), "DESPUES"));
}

// A message while the batch holds the lock commits first, and the level comes back with it.
TEST_F(CreacionesArranqueTest, AMessageCommitsWhatIsHeldAndRestoresTheLevel)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    plat::Connection &general = f.DatabaseGeneral();
    ASSERT_EQ(nivelSincronia(general), 0);
    MensajeAviso(QStringLiteral("Aviso durante el arranque"));
    EXPECT_FALSE(general.inTransaction());
    EXPECT_EQ(nivelSincronia(general), 2);
    EXPECT_TRUE(tablaVisibleDesdeFuera(archivoGeneral(), "CAMPOUSR"));
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("Aviso durante el arranque")));
    f.TerminarCreacionesArranque();
    EXPECT_EQ(nivelSincronia(general), 2);
}

// A general file that was there before the start (another program made it, or an older
// version left it without a table) holds what others wrote: its missing tables are made at
// NORMAL, where a crash never loses what was there.
TEST_F(CreacionesArranqueTest, AFileThatWasThereBeforeTheStartIsOnlyLoweredToNormal)
{
    {
        plat::Session otra;
        plat::Connection &c = otra.connection(QStringLiteral("x"));
        ASSERT_TRUE(QDir().mkpath(dir_.file(QStringLiteral("datos"))));
        c.setDatabaseName(dir_.file(QStringLiteral("datos")));
        c.exec(QStringLiteral("CREATE TABLE PREVIA (A INTEGER)"));
        otra.closeAll();
    }
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    plat::Connection &general = f.DatabaseGeneral();
    ASSERT_TRUE(general.inTransaction());
    EXPECT_EQ(nivelSincronia(general), 1);
    f.TerminarCreacionesArranque();
    EXPECT_EQ(nivelSincronia(general), 2);
    EXPECT_TRUE(tablaVisibleDesdeFuera(archivoGeneral(), "CAMPOUSR"));
    EXPECT_TRUE(tablaVisibleDesdeFuera(archivoGeneral(), "PREVIA"));
}

// Without the batch (the tests and tools that start the form alone) nothing is lowered.
TEST_F(ArranqueFixture, WithoutTheBatchEveryCreationCommitsAtTheFullLevel)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    plat::Connection &general = f.DatabaseGeneral();
    EXPECT_FALSE(general.inTransaction());
    EXPECT_EQ(nivelSincronia(general), 2);
    EXPECT_TRUE(tablaVisibleDesdeFuera(dir_.file(QStringLiteral("datos/datos.sqlite")), "CAMPOUSR"));
}
