// The grid record window on two sample tables: a small-integer key and a key of two
// integer fields, on SQLite and PostgreSQL.
#include "GENEW/data/ventanas/FormularioMaestroRejilla.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Keys.h"
#include "tests/data/MaestroFixture.h"

#include <QApplication>
#include <QTest>

namespace {

const QString DefinicionesRejilla = QStringLiteral(
    "PRUEBAR/C/1/Codigo/ftSmallint/0/*/|Pruebas\r\n"
    "PRUEBAR/C/2/Descripcion/ftString/40//|Pruebas\r\n"
    "PRUEBAR/I/1/<Primary>/Codigo//|Pruebas\r\n"
    "PRUEBAD/C/1/Serie/ftInteger/0/*/|Pruebas\r\n"
    "PRUEBAD/C/2/Numero/ftInteger/0/*/|Pruebas\r\n"
    "PRUEBAD/C/3/Descripcion/ftString/40//|Pruebas\r\n"
    "PRUEBAD/I/1/<Primary>/Serie;Numero//|Pruebas\r\n");

class MaestroRejillaPrueba : public FormularioMaestroRejilla
{
public:
    explicit MaestroRejillaPrueba(const QString &tabla)
        : FormularioMaestroRejilla(nullptr, QStringLiteral("fPRUEBAR"), QStringLiteral("Rejilla de prueba"))
    {
        Table1->setTableName(tabla);
        setBounds(0, 0, 500, 300);
    }
};

class MaestroRejillaTest : public MaestroFixture
{
protected:
    QString definicionesPropias() const override { return DefinicionesRejilla; }

    void SetUp() override
    {
        MaestroFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // A first opening makes the tables.
        for (const char *t : {"PRUEBAR", "PRUEBAD"}) {
            abrir(QString::fromLatin1(t));
            delete ventana_.data();
        }
        ASSERT_EQ(sql("INSERT INTO PRUEBAR (Codigo, Descripcion) VALUES (1, 'Uno')"), QString());
        ASSERT_EQ(sql("INSERT INTO PRUEBAR (Codigo, Descripcion) VALUES (2, 'Dos')"), QString());
        ASSERT_EQ(sql("INSERT INTO PRUEBAD (Serie, Numero, Descripcion) VALUES (1, 1, 'Uno uno')"), QString());
        mensajes_.limpiar();
    }

    MaestroRejillaPrueba &abrir(const QString &tabla)
    {
        MaestroRejillaPrueba &f = abrirVentana<MaestroRejillaPrueba>(tabla);
        f.Table1->table().first();
        return f;
    }

    plat::TableDataSet &tabla(MaestroRejillaPrueba &f) { return f.Table1->table(); }

    QString descripcion(int codigo)
    {
        return sql(QStringLiteral("SELECT Descripcion FROM PRUEBAR WHERE Codigo = %1").arg(codigo));
    }
};

const QString kClaveNoModificable = QStringLiteral("¡ No se puede modificar la clave del registro !");

TEST_P(MaestroRejillaTest, TheKeyOfAStoredRowCannotBeChangedButANewRowTakesItsKey)
{
    MaestroRejillaPrueba &f = abrir(QStringLiteral("PRUEBAD"));
    f.DBGrid1->setFocus();
    f.DBGrid1->setSelectedIndex(0);
    EXPECT_THROW(tabla(f).edit(), gp::Abort);
    EXPECT_EQ(mensajes_.textos(), QStringList{kClaveNoModificable});

    // Keystrokes in either key column of a stored row are dropped after the warning,
    // in browse and while the row edits.
    for (int columna : {0, 1}) {
        for (bool editando : {false, true}) {
            SCOPED_TRACE(columna * 10 + editando);
            mensajes_.limpiar();
            f.DBGrid1->setSelectedIndex(2);
            if (editando)
                tabla(f).edit();
            f.DBGrid1->setSelectedIndex(columna);
            QTest::keyClick(f.DBGrid1, Qt::Key_7);
            QTest::keyClick(f.DBGrid1, Qt::Key_Backspace);
            EXPECT_EQ(mensajes_.textos(), (QStringList{kClaveNoModificable, kClaveNoModificable}));
            EXPECT_EQ(QApplication::focusWidget(), f.DBGrid1);   // no cell editor opened
            f.pbCancelarClick(&f);
        }
    }
    EXPECT_EQ(sql("SELECT Serie || '/' || Numero FROM PRUEBAD"), "1/1");

    // A new row is appended with its first column selected, and its key is typed.
    mensajes_.limpiar();
    f.AgregarClick(&f);
    EXPECT_EQ(tabla(f).state(), plat::DataSetState::Insert);
    EXPECT_EQ(f.DBGrid1->selectedIndex(), 0);
    QTest::keyClick(f.DBGrid1, Qt::Key_5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(tabla(f).fieldByName("Serie").asString(), "5");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

// Leaving a column checks the key: its range by type, then an existing key on a new row.
TEST_P(MaestroRejillaTest, LeavingAColumnChecksTheKey)
{
    struct Caso
    {
        const char *tabla;
        qint64 clave;
        const char *mensaje;
    };
    const QList<Caso> casos = {
        {"PRUEBAR", 0, "¡ El valor debe estar entre 1 y 9999 !"},
        {"PRUEBAR", 10000, "¡ El valor debe estar entre 1 y 9999 !"},
        {"PRUEBAR", 2, "¡ Ya existe el registro !"},
        {"PRUEBAR", 9999, nullptr},
        {"PRUEBAD", 100000000, "¡ El valor debe estar entre 1 y 99999999 !"},
        {"PRUEBAD", 99999999, nullptr},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.tabla) + " " + std::to_string(c.clave));
        MaestroRejillaPrueba &f = abrir(QString::fromLatin1(c.tabla));
        mensajes_.limpiar();
        f.AgregarClick(&f);
        tabla(f).field(0).setValue(c.clave);
        if (c.mensaje)
            EXPECT_THROW(f.DBGrid1ColExit(f.DBGrid1), gp::Abort);
        else
            EXPECT_NO_THROW(f.DBGrid1ColExit(f.DBGrid1));
        EXPECT_EQ(mensajes_.textos(), c.mensaje ? QStringList{QString::fromUtf8(c.mensaje)} : QStringList{});
        EXPECT_EQ(tabla(f).state(), plat::DataSetState::Insert);
        f.pbCancelarClick(&f);
        delete ventana_.data();
    }

    // A new row left without a key goes, silently.
    MaestroRejillaPrueba &f = abrir(QStringLiteral("PRUEBAR"));
    mensajes_.limpiar();
    f.AgregarClick(&f);
    f.DBGrid1ColExit(f.DBGrid1);
    EXPECT_EQ(tabla(f).state(), plat::DataSetState::Browse);
    EXPECT_TRUE(mensajes_.textos().isEmpty());
}

TEST_P(MaestroRejillaTest, SavesTellTheirFailuresAndNewRowsFollowOneAnother)
{
    MaestroRejillaPrueba &f = abrir(QStringLiteral("PRUEBAR"));
    // A saved new row is followed by the next.
    f.AgregarClick(&f);   // from the first row: the new one goes after the last
    EXPECT_EQ(f.DBGrid1->currentIndex().row(), 2);
    EXPECT_FALSE(f.pbRefrescar->isEnabled());
    tabla(f).fieldByName("Codigo").setValue(3);
    tabla(f).fieldByName("Descripcion").setValue("Tres");
    f.pbConformeClick(&f);
    EXPECT_EQ(descripcion(3), "Tres");
    EXPECT_EQ(tabla(f).state(), plat::DataSetState::Insert);
    EXPECT_EQ(f.DBGrid1->selectedIndex(), 0);

    // A new row the engine refuses, through OK and through the save, stays as typed, so that
    // the user can change its code.
    for (const bool porConforme : {true, false}) {
        SCOPED_TRACE(porConforme);
        mensajes_.limpiar();
        tabla(f).fieldByName("Codigo").setValue(1);
        tabla(f).fieldByName("Descripcion").setValue("Repetido");
        if (porConforme)
            f.pbConformeClick(&f);
        else
            f.GrabarDatos(&f);
        EXPECT_EQ(mensajes_.textos(), QStringList{porConforme ? QStringLiteral("¡ El registro no ha sido grabado !")
                                                              : QStringLiteral("¡ Este registro ya existe !")});
        EXPECT_EQ(tabla(f).state(), plat::DataSetState::Insert);
        EXPECT_EQ(tabla(f).fieldByName("Codigo").asInteger(), 1);
        EXPECT_EQ(tabla(f).fieldByName("Descripcion").asString(), "Repetido");
        EXPECT_EQ(descripcion(1), "Uno");
    }
    tabla(f).fieldByName("Codigo").setValue(4);
    f.pbConformeClick(&f);
    EXPECT_EQ(descripcion(4), "Repetido");

    // A change the engine refuses stays as typed too.
    f.pbCancelarClick(&f);
    EXPECT_TRUE(f.pbRefrescar->isEnabled());
    rechazar("PRUEBAR", "UPDATE");
    mensajes_.limpiar();
    tabla(f).first();
    f.DBGrid1->setSelectedIndex(1);
    tabla(f).edit();
    tabla(f).fieldByName("Descripcion").setValue("Cambiado");
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(),
              QStringList{"¡ No se puede grabar el registro porque está bloqueado por otro usuario o porque el dato "
                          "introducido no es válido !"});
    EXPECT_EQ(tabla(f).state(), plat::DataSetState::Edit);
    EXPECT_EQ(tabla(f).fieldByName("Descripcion").asString(), "Cambiado");
    EXPECT_EQ(descripcion(1), "Uno");
}

TEST_P(MaestroRejillaTest, CtrlDeleteAsksBeforeDeletingTheRowAndIsAlwaysConsumed)
{
    MaestroRejillaPrueba &f = abrir(QStringLiteral("PRUEBAR"));
    const auto ctrlSupr = [&f] {
        int tecla = plat::VK_DELETE;
        f.DBGrid1KeyDown(f.DBGrid1, tecla, plat::ssCtrl);
        return tecla;
    };
    mensajes_.programarRespuestas({"NO", "SI"});
    EXPECT_EQ(ctrlSupr(), 0);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PRUEBAR"), "2");
    EXPECT_EQ(ctrlSupr(), 0);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PRUEBAR"), "1");
    EXPECT_EQ(mensajes_.textos(), (QStringList{"¿ Está seguro de querer eliminar la linea ?",
                                               "¿ Está seguro de querer eliminar la linea ?"}));
    mensajes_.limpiar();
    f.AgregarClick(&f);
    EXPECT_EQ(ctrlSupr(), 0);
    EXPECT_TRUE(mensajes_.textos().isEmpty());
}

TEST_P(MaestroRejillaTest, ClosingWhileEditingGoesThroughTheCommonQuestion)
{
    MaestroRejillaPrueba &f = abrir(QStringLiteral("PRUEBAR"));
    f.DBGrid1->setSelectedIndex(1);
    tabla(f).edit();
    tabla(f).fieldByName("Descripcion").setValue("Sin grabar");
    mensajes_.programarRespuestas({"SI"});
    f.Cerrar1Click(&f);
    QApplication::sendPostedEvents();
    EXPECT_FALSE(ventana_);
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, "C");
    EXPECT_EQ(descripcion(1), "Uno");
}

INSTANTIATE_TEST_SUITE_P(Motores, MaestroRejillaTest, ::testing::Values(false, true), NombreMotor);

} // namespace
