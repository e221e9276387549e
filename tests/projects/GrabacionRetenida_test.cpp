// Every master window of the record pattern while another program holds its rows (a write
// transaction of its own on the same database): the save waits, says why in the program's
// words, and keeps what the user typed in edit, to be saved once the other program lets go; a
// new record whose key is taken keeps what was typed for its key to be changed. On SQLite and
// PostgreSQL.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "projects/comun/GENEMTEX.h"
#include "projects/gamas/CALIGAMA.h"
#include "projects/operarios/PRESOPER.h"
#include "projects/operarios/Primmodu.h"
#include "projects/proyectos/PROYNTEC.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/PROYVERS.h"
#include "projects/proyectos/Proymodu.h"
#include "tests/data/MaestroFixture.h"
#include "tests/platform/engine/OtherProgramFixture.h"

#include <QApplication>
#include <QTest>
#include <functional>

namespace {

class GrabacionRetenidaTest : public MaestroFixture
{
protected:
    void SetUp() override
    {
        sesion_.setLockWait(300);
        MaestroFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CrearMDProyectos();
        CrearMDPrimas();
    }
    void TearDown() override
    {
        LiberarMDPrimas();
        LiberarMDProyectos();
        MaestroFixture::TearDown();
    }

    // A value of the field's type: the code n as text or number.
    static QVariant clave(const plat::Field &campo, int n)
    {
        return campo.dataType() == ftString ? QVariant(QString::number(n)) : QVariant(n);
    }
};

struct Maestro
{
    const char *nombre;
    std::function<FormularioMaestro &(MaestroFixture &)> abrir;
};

template<class F>
Maestro maestro(const char *nombre)
{
    return {nombre, [](MaestroFixture &) -> FormularioMaestro & {
                auto *f = new F();
                f->afterConstruction();
                return *f;
            }};
}

TEST_P(GrabacionRetenidaTest, CadaMaestroGuardaLoEscritoMientrasOtroRetieneElRegistro)
{
    const QList<Maestro> maestros = {maestro<TfGENEMTEX>("Maestro de Textos"), maestro<TfPRESOPER>("Maestro de Operarios"),
                                     maestro<TfPROYPROY>("Maestro de Proyectos"),
                                     maestro<TfCALIGAMA>("Maestro de Gamas de Control"),
                                     maestro<TfPROYNTEC>("Notas Técnicas"), maestro<TfPROYVERS>("Cambios de Versión")};
    for (const Maestro &m : maestros) {
        SCOPED_TRACE(m.nombre);
        FormularioMaestro &f = m.abrir(*this);
        ventana_ = &f;
        plat::TableDataSet &tabla = f.Table1->table();
        tabla.setFiltered(false);
        // The record: its key and a text the user types, written by SQL (no window's rules).
        const int claves = modulo_->NumeroCamposClave(tabla);
        plat::Field *texto = nullptr;
        QStringList columnas, valores;
        for (int i = 0; i < tabla.fieldCount(); ++i) {
            plat::Field &campo = tabla.field(i);
            if (i < claves) {
                columnas << campo.fieldName();
                valores << Entrecomillar(clave(campo, 1).toString());
            } else if (!texto && campo.dataType() == ftString && campo.size() >= 10 && !campo.readOnly) {
                texto = &campo;
            }
        }
        ASSERT_NE(texto, nullptr);
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (%4, 'Original')")
                          .arg(tabla.tableName(), columnas.join(u','), texto->fieldName(), valores.join(u','))),
                  QString());
        tabla.refresh();
        ASSERT_TRUE(tabla.locate(columnas.first(), clave(tabla.field(0), 1)));
        const QString guardado = QStringLiteral("SELECT %1 FROM %2").arg(texto->fieldName(), tabla.tableName());

        // Typed as the user types: into its edit, or into its cell of the window's grid.
        plat::DBEdit *control = nullptr;
        for (plat::DBEdit *e : f.findChildren<plat::DBEdit *>())
            if (e->field() == texto)
                control = e;
        if (control) {
            control->setFocus();
            control->selectAll();
            QTest::keyClicks(control, QStringLiteral("Escrito a mano"));
        } else {
            auto *rejilla = f.findChild<plat::DBGrid *>(QStringLiteral("DBGrid1"));
            ASSERT_NE(rejilla, nullptr);
            rejilla->setFocus();
            rejilla->setSelectedField(texto);
            QTest::keyClick(rejilla, 'E');
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("scrito a mano"));
        }
        gptest::OtherProgram otro(form_->Database().location());
        otro.db().startTransaction();
        otro.db().exec(QStringLiteral("UPDATE %1 SET %2 = %2").arg(tabla.tableName(), texto->fieldName()));
        mensajes_.limpiar();
        f.pbConforme->click();
        ASSERT_EQ(mensajes_.textos().size(), 1);
        EXPECT_TRUE(mensajes_.textos().first().startsWith(u'¡')) << mensajes_.textos().first().toStdString();
        EXPECT_EQ(tabla.state(), plat::DataSetState::Edit);
        EXPECT_EQ(texto->asString(), "Escrito a mano");
        if (control)
            EXPECT_EQ(control->text(), "Escrito a mano");
        otro.db().rollback();
        EXPECT_EQ(sql(guardado).trimmed(), "Original");
        f.pbConforme->click();
        EXPECT_EQ(tabla.state(), plat::DataSetState::Browse);
        EXPECT_EQ(sql(guardado).trimmed(), "Escrito a mano");

        // A new record under a key already stored keeps what was typed, for the key to change.
        f.AgregarClick(&f);
        ASSERT_EQ(tabla.state(), plat::DataSetState::Insert);
        for (int i = 0; i < claves; ++i)
            tabla.field(i).setValue(clave(tabla.field(i), 1));
        texto->setAsString(QStringLiteral("Repetido"));
        mensajes_.limpiar();
        f.pbConforme->click();
        ASSERT_EQ(mensajes_.textos().size(), 1);
        EXPECT_EQ(tabla.state(), plat::DataSetState::Insert);
        EXPECT_EQ(texto->asString(), "Repetido");
        tabla.field(claves - 1).setValue(clave(tabla.field(claves - 1), 2));
        f.pbConforme->click();
        EXPECT_EQ(sql(guardado + QStringLiteral(" WHERE %1 = %2").arg(tabla.field(claves - 1).fieldName(),
                                                                          Entrecomillar(clave(tabla.field(claves - 1), 2).toString())))
                      .trimmed(),
                  "Repetido");
        f.pbCancelarClick(&f);
        delete ventana_.data();
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, GrabacionRetenidaTest, ::testing::Values(false, true), NombreMotor);

} // namespace
