// The SQL console opened from the main window's menu by a user whose access to it is "Solo
// Lectura": stored statements run with editing off and nothing the user types, pastes or
// edits reaches the data. A "Total" user still edits. On each engine.
#include "tests/app/SesionFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/reporting/GENECSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QLineEdit>
#include <QTest>

namespace {

class ConsolaSoloLectura : public SesionFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SesionFixture::SetUp();
        if (GetParam() && !configurarPostgreSQL())
            GTEST_SKIP() << "no PostgreSQL test server";
    }

    void TearDown() override
    {
        if (fGENECSQL)
            fGENECSQL->Free();
        SesionFixture::TearDown();
    }

    // The main window shown for ADMIN at that access level to "Consultas SQL", with table
    // PRUEBA and two stored statements, and the console opened from its menu entry.
    TfGENECSQL &abrir(const QString &soloLectura)
    {
        usuario(QStringLiteral("ProgramasSoloLectura"), soloLectura);
        TfPROYMENU &v = mostrar();
        plat::Connection &db = fGENEINIC->Database();
        for (const char *sql : {"CREATE TABLE PRUEBA (Codigo VARCHAR(10) NOT NULL, Nombre VARCHAR(40), "
                                "CONSTRAINT PRUEBA_Clave PRIMARY KEY (Codigo))",
                                "INSERT INTO PRUEBA (Codigo, Nombre) VALUES ('1', 'uno')",
                                "INSERT INTO PRUEBA (Codigo, Nombre) VALUES ('2', 'dos')"})
            db.exec(QString::fromUtf8(sql), {}, plat::SqlOrigin::AsWritten);
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        EXPECT_TRUE(ModuloDatos->AbrirTabla(filtro));   // made on first use
        filtro.close();
        for (const auto &[nombre, sentencia] : {std::pair{"Cambiar", "UPDATE PRUEBA SET Nombre = 'pegado'"},
                                                {"Lista", "SELECT Codigo, Nombre FROM PRUEBA ORDER BY Codigo"}})
            db.exec(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) "
                                   "VALUES ('SQL', %1, %2, '')")
                        .arg(Entrecomillar(QString::fromUtf8(nombre)), Entrecomillar(QString::fromUtf8(sentencia))),
                    {}, plat::SqlOrigin::AsWritten);
        v.ConsultasSQL1->Click();
        EXPECT_NE(fGENECSQL, nullptr);
        return *fGENECSQL;
    }

    // The stored statement chosen in the combo and run with F9.
    void ejecutar(TfGENECSQL &c, const QString &descripcion)
    {
        c.EditDescripcionFiltro->setItemIndex(c.EditDescripcionFiltro->items().indexOf(descripcion));
        c.EditDescripcionFiltroChange(c.EditDescripcionFiltro);
        QTest::keyClick(c.SentenciaSQL, Qt::Key_F9);
    }

    // "z" typed into the first row's name cell and Return pressed; then the row left.
    void teclearNombre(TfGENECSQL &c)
    {
        plat::QueryDataSet &q = c.QryConsultasSQL->query();
        c.DBGrid1->setFocus();
        q.first();
        c.DBGrid1->setSelectedIndex(1);
        QTest::keyClick(c.DBGrid1, Qt::Key_Z);
        QWidget *editor = c.DBGrid1;   // the cell's editor when the key opened one
        for (QLineEdit *caja : c.DBGrid1->findChildren<QLineEdit *>())
            if (caja->isVisible())
                editor = caja;
        QTest::keyClick(editor, Qt::Key_Return);
        q.last();
    }

    // The first row copied with Ctrl+Shift+C and pasted over the second with Ctrl+Shift+V.
    void pegarSobreSegunda(TfGENECSQL &c)
    {
        plat::QueryDataSet &q = c.QryConsultasSQL->query();
        q.first();
        QTest::keyClick(c.DBGrid1, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        q.next();
        QTest::keyClick(c.DBGrid1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        q.first();
    }

    QString nombre(const QString &codigo)
    {
        return fGENEINIC->Database()
            .scalar(QStringLiteral("SELECT Nombre FROM PRUEBA WHERE Codigo = '%1'").arg(codigo), {},
                    plat::SqlOrigin::AsWritten)
            .toString();
    }
};

TEST_P(ConsolaSoloLectura, StoredStatementsRunAndNothingIsWritten)
{
    TfGENECSQL &c = abrir(QStringLiteral("Consultas SQL"));
    ejecutar(c, QStringLiteral("Lista"));
    const QString lista = c.SentenciaSQL->text();
    QTest::keyClicks(c.SentenciaSQL, QStringLiteral("; DELETE FROM PRUEBA"));
    EXPECT_EQ(c.SentenciaSQL->text(), lista);
    EXPECT_TRUE(c.SentenciaSQL->isReadOnly());
    EXPECT_FALSE(c.pbModificar->isEnabled());
    EXPECT_FALSE(c.pbImportar->isEnabled());
    EXPECT_FALSE(c.InsertarTabla1->enabled());
    EXPECT_TRUE(c.pbExportar->isEnabled());   // reading goes on
    ASSERT_TRUE(c.QryConsultasSQL->query().active());
    EXPECT_EQ(c.QryConsultasSQL->query().recordCount(), 2);

    // What a user would try: "Modificar" pressed, the statement run again, the grid edited.
    c.pbModificar->click();
    EXPECT_FALSE(c.pbModificar->isChecked());
    ejecutar(c, QStringLiteral("Lista"));

    teclearNombre(c);
    pegarSobreSegunda(c);
    EXPECT_EQ(nombre("1"), "uno");
    EXPECT_EQ(nombre("2"), "dos");

    ejecutar(c, QStringLiteral("Cambiar"));
    EXPECT_EQ(nombre("1"), "uno");
    EXPECT_EQ(nombre("2"), "dos");
}

TEST_P(ConsolaSoloLectura, ATotalUserStillEdits)
{
    TfGENECSQL &c = abrir(QString());
    EXPECT_FALSE(c.SentenciaSQL->isReadOnly());
    ASSERT_TRUE(c.pbModificar->isEnabled());
    c.pbModificar->click();
    ejecutar(c, QStringLiteral("Lista"));
    EXPECT_TRUE(c.pbImportar->isEnabled());
    teclearNombre(c);
    EXPECT_EQ(nombre("1"), "z");
    ejecutar(c, QStringLiteral("Cambiar"));
    EXPECT_EQ(nombre("2"), "pegado");
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsolaSoloLectura, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "PostgreSQL" : "SQLite");
                         });

} // namespace
