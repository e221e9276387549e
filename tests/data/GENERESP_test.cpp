// Document responsibility on a real data module, on SQLite and PostgreSQL, with the dialog's
// answers scripted.
#include "GENEW/data/servicios/CamposSolicitados.h"
#include "GENEW/data/ventanas/GENERESP.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataControls.h"
#include "tests/data/ModuloFixture.h"

#include <functional>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kNoAutorizadoRealizado = QStringLiteral("¡El Operario de Realizado Por no está autorizado!");

class ResponsabilidadTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        form_->Configuracion.parametros.ResponsabilidadDocumentalActivada = true;
        form_->UsuarioActual = QStringLiteral("U3");
        for (const char *fila : {"3, 'Ana Núñez', 'U3'", "5, 'Luis Pérez', 'U5'", "7, 'Eva Ruiz', 'U7'"})
            ASSERT_EQ(sql(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre, CodigoUsuario) VALUES (%1)").arg(fila),
                          QStringLiteral("Database")),
                      QString());
        // The statement makes the table.
        ASSERT_EQ(sql(QStringLiteral("DELETE FROM CATEGORI"), QStringLiteral("Database")), QString());
        categorias_ = std::make_unique<plat::TableComponent>();
        categorias_->setTableName(QStringLiteral("CATEGORI"));
        plat::TableDataSet &t = categorias_->table();
        t.setDatabaseName(form_->Database().databaseName());
        t.setConnection(&form_->Database());
        t.open();
        for (int codigo : {4, 10}) {
            t.append();
            t.fieldByName(QStringLiteral("Codigo")).setValue(codigo);
            t.post();
        }
        t.findKey({4});
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        categorias_.reset();
        ModuloMotorTest::TearDown();
    }

    void configurar(const QString &campos)
    {
        ASSERT_EQ(sql(QStringLiteral("DELETE FROM CONFRESP"), QStringLiteral("Database")), QString());
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO CONFRESP (NombreTabla, CamposSolicitados) VALUES ('CATEGORI', %1)")
                          .arg(Entrecomillar(campos)),
                      QStringLiteral("Database")),
                  QString());
    }

    // Opens the responsibility of category 4; the script gets the dialog when it is shown.
    int abrir(std::function<void(TfGENERESP &)> guion = {})
    {
        int mostrados = 0;
        plat::application().OnModalShown = [&](plat::Form &f) {
            ++mostrados;
            auto *d = qobject_cast<TfGENERESP *>(&f);
            ASSERT_TRUE(d && guion) << f.objectName().toStdString();
            guion(*d);
            if (d->isShownModal() && d->modalResult() == 0)
                d->pbCancelar->click();
        };
        MostrarResponsabilidad(categorias_->table());
        plat::application().OnModalShown = nullptr;
        return mostrados;
    }

    QString fila(const QString &campos, const QString &clave = QStringLiteral("4"))
    {
        return sql(QStringLiteral("SELECT %1 FROM RESPDOC WHERE NombreTabla = 'CATEGORI' AND ClaveTabla = '%2'")
                       .arg(campos, clave),
                   QStringLiteral("Database"))
            .trimmed();
    }

    static QString hoy() { return FechaHora(Ahora().date()).toString(QStringLiteral("dd/MM/yyyy")); }

    std::unique_ptr<plat::TableComponent> categorias_;
};

TEST_P(ResponsabilidadTest, TheStampAloneIsPostedAtEveryOpeningAndNothingOpensWithoutConfigurationOrSwitch)
{
    configurar(QStringLiteral("RegistradoPor\r\nFechaRegistro\r\n"));
    EXPECT_EQ(abrir(), 0);
    EXPECT_EQ(fila(QStringLiteral("RegistradoPor")), QStringLiteral("3"));
    form_->UsuarioActual = QStringLiteral("U5");
    EXPECT_EQ(abrir(), 0);
    EXPECT_EQ(fila(QStringLiteral("RegistradoPor")), QStringLiteral("5"));
    EXPECT_NE(fila(QStringLiteral("FechaRegistro")), QString());

    categorias_->table().findKey({10});
    form_->Configuracion.parametros.ResponsabilidadDocumentalActivada = false;
    EXPECT_EQ(abrir(), 0);
    form_->Configuracion.parametros.ResponsabilidadDocumentalActivada = true;
    ASSERT_EQ(sql(QStringLiteral("DELETE FROM CONFRESP"), QStringLiteral("Database")), QString());
    EXPECT_EQ(abrir(), 0);
    EXPECT_EQ(fila(QStringLiteral("NombreTabla"), QStringLiteral("10")), QString());
}

TEST_P(ResponsabilidadTest, ANewRowIsPresetOnlyForAnAuthorisedOperator)
{
    configurar(QStringLiteral("RealizadoPor:3,7\r\nFechaRealizacion"));
    EXPECT_EQ(abrir([](TfGENERESP &d) {
                  EXPECT_EQ(d.RealizadoPor->text(), QStringLiteral("3"));
                  EXPECT_EQ(d.NombreRealizadoPor->text(), QStringLiteral("Ana Núñez"));
                  EXPECT_EQ(d.FechaRealizacion->text().left(10), hoy());
                  EXPECT_TRUE(d.PanelRealizadoPor->isEnabled());
                  EXPECT_FALSE(d.PanelAprobadoPor->isEnabled());
                  EXPECT_TRUE(d.AprobadoPor->isReadOnly());
                  EXPECT_EQ(d.caption(), QStringLiteral("Responsabilidad Documental (CATEGORI: 4)"));
                  d.pbGrabar->click();
              }),
              1);
    EXPECT_EQ(fila(QStringLiteral("RealizadoPor")), QStringLiteral("3"));

    categorias_->table().findKey({10});
    form_->UsuarioActual = QStringLiteral("U5");
    abrir([](TfGENERESP &d) {
        EXPECT_EQ(d.RealizadoPor->text(), QString());
        d.pbAsignarRealizadoPor->click();   // operator 5 may not sign: no search, nothing set
        EXPECT_EQ(d.RealizadoPor->text(), QString());
        QTest::keyClick(d.RealizadoPor, Qt::Key_Escape);   // Esc leaves as "Cancelar" does
        EXPECT_EQ(d.modalResult(), plat::mrCancel);
        if (d.modalResult() == plat::mrNone)   // fail, never wait
            d.pbCancelar->click();
    });
    EXPECT_EQ(fila(QStringLiteral("NombreTabla"), QStringLiteral("10")), QString());
}

TEST_P(ResponsabilidadTest, SavingChecksTheOperatorsAndClearsTheDateOfAnUnsignedStep)
{
    configurar(QStringLiteral("RealizadoPor:3\r\nFechaRealizacion\r\nAprobadoPor:7\r\nFechaAprobacion"));
    abrir([&](TfGENERESP &d) {
        d.Table1->table().fieldByName(QStringLiteral("RealizadoPor")).setAsInteger(5);
        d.Table1->table().fieldByName(QStringLiteral("AprobadoPor")).setAsInteger(7);
        d.pbGrabar->click();
        EXPECT_EQ(textosDeTipo(QStringLiteral("A")), QStringList{kNoAutorizadoRealizado});
        EXPECT_TRUE(d.isShownModal());
        EXPECT_EQ(fila(QStringLiteral("NombreTabla")), QString());   // nothing saved

        // Nobody did the work: its date goes, stored as the zero date.
        d.pbDesasignarRealizadoPor->click();   // a listed step cannot be cleared this way
        EXPECT_EQ(d.RealizadoPor->text(), QStringLiteral("5"));
        d.Table1->table().fieldByName(QStringLiteral("RealizadoPor")).clear();
        d.pbGrabar->click();
    });
    EXPECT_EQ(fila(QStringLiteral("RealizadoPor, FechaRealizacion, AprobadoPor")).section(u'|', 1, 2),
              QStringLiteral("30/12/1899|7"));
    abrir([](TfGENERESP &d) {
        EXPECT_EQ(d.FechaRealizacion->text(), QString());   // the zero date is no date
        EXPECT_EQ(d.NombreAprobadoPor->text(), QStringLiteral("Eva Ruiz"));
        d.pbCancelar->click();
    });
}

TEST_P(ResponsabilidadTest, ARowKeptWithAFinalBarIsFoundAndSavedWithoutIt)
{
    configurar(QStringLiteral("AprobadoPor\r\nFechaAprobacion"));
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO RESPDOC (NombreTabla, ClaveTabla, AprobadoPor) VALUES ('CATEGORI', '4|', 7)"),
                  QStringLiteral("Database")),
              QString());
    abrir([](TfGENERESP &d) {
        EXPECT_EQ(d.NombreAprobadoPor->text(), QStringLiteral("Eva Ruiz"));
        d.pbAsignarAprobadoPor->click();   // signed by another operator: kept
        EXPECT_EQ(d.AprobadoPor->text(), QStringLiteral("7"));
        d.pbGrabar->click();
    });
    EXPECT_EQ(fila(QStringLiteral("AprobadoPor")), QStringLiteral("7"));
    EXPECT_EQ(fila(QStringLiteral("AprobadoPor"), QStringLiteral("4|")), QString());
}

TEST_P(ResponsabilidadTest, APostRefusedByTheDatabaseWarnsAndKeepsTheDialogAsTyped)
{
    configurar(QStringLiteral("RealizadoPor"));
    abrir([&](TfGENERESP &d) {
        // Another user registers the same record meanwhile.
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('CATEGORI', '4')"),
                      QStringLiteral("Database")),
                  QString());
        d.pbGrabar->click();
        EXPECT_EQ(d.modalResult(), plat::mrNone);
        EXPECT_NE(d.Table1->table().state(), plat::DataSetState::Browse);
        EXPECT_EQ(d.RealizadoPor->text(), QStringLiteral("3"));
        EXPECT_EQ(textosDeTipo(QStringLiteral("A")),
                  QStringList{QStringLiteral(
                      "¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!")});
        EXPECT_NE(fila(QStringLiteral("RealizadoPor")), QStringLiteral("3"));   // the other user's row stands

        // Saved again once the other row has gone.
        ASSERT_EQ(sql(QStringLiteral("DELETE FROM RESPDOC WHERE NombreTabla = 'CATEGORI'"), QStringLiteral("Database")),
                  QString());
        d.pbGrabar->click();
        EXPECT_EQ(d.modalResult(), plat::mrOk);
    });
    EXPECT_EQ(fila(QStringLiteral("RealizadoPor")), QStringLiteral("3"));
}

TEST_P(ResponsabilidadTest, APostOnAConfiguredTableOpensTheDialogOnlyWhileTheRecordHasNoRow)
{
    configurar(QStringLiteral("RealizadoPor"));
    plat::Form formulario;
    auto *tabla = formulario.make<plat::TableComponent>(QStringLiteral("Table1"), &formulario);
    tabla->setTableName(QStringLiteral("CATEGORI"));
    ASSERT_TRUE(form_->AbrirTablasFormulario(formulario));
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        static_cast<TfGENERESP &>(f).pbGrabar->click();
    };
    plat::TableDataSet &t = tabla->table();
    t.append();
    t.fieldByName(QStringLiteral("Codigo")).setValue(11);
    t.post();
    EXPECT_EQ(mostrados, 1);
    EXPECT_EQ(fila(QStringLiteral("RealizadoPor"), QStringLiteral("11")), QStringLiteral("3"));
    t.edit();
    t.fieldByName(QStringLiteral("Descripcion")).setAsString(QStringLiteral("Oficiales"));
    t.post();
    EXPECT_EQ(mostrados, 1);
}

TEST_P(ResponsabilidadTest, OperatorNamesForPrintingFollowTheAskedItemsAndTheKeyWithOrWithoutItsFinalBar)
{
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO RESPDOC (NombreTabla, ClaveTabla, RealizadoPor, AprobadoPor, RegistradoPor) "
                                 "VALUES ('GCNTROL', 'G1', 3, 9, 7)"),
                  QStringLiteral("Database")),
              QString());
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO RESPDOC (NombreTabla, ClaveTabla, RealizadoPor) VALUES ('HGCNTROL', 'G1|2|', 5)"),
                  QStringLiteral("Database")),
              QString());
    const QString campos = QStringLiteral("NombreRealizadoPor;AprobadoPor;NombreAprobadoPor;Otro");
    for (const char *clave : {"G1", "G1|"}) {
        SCOPED_TRACE(clave);
        EXPECT_EQ(modulo_->CompletarNombresOperarios(QStringLiteral("GCNTROL"), QString::fromLatin1(clave), campos),
                  QVariant(QStringList{"Ana Núñez", "9", "", ""}));
    }
    EXPECT_EQ(modulo_->CompletarNombresOperarios(QStringLiteral("HGCNTROL"), QStringLiteral("G1|2|"),
                                                 QStringLiteral("NombreRealizadoPor")),
              QVariant(QStringList{"Luis Pérez"}));
    // Unchanged only, when the key has no final "|".
    EXPECT_TRUE(modulo_->CompletarNombresOperarios(QStringLiteral("HGCNTROL"), QStringLiteral("G1|2"), campos).isNull());
    const QStringList todo = modulo_->CompletarNombresOperarios(QStringLiteral("GCNTROL"), QStringLiteral("G1"), QString())
                                 .toStringList();
    ASSERT_EQ(todo.size(), 11);
    EXPECT_EQ(todo.mid(0, 3), (QStringList{"GCNTROL", "G1", "3"}));
    EXPECT_EQ(todo.mid(8), (QStringList{"Ana Núñez", "", "Eva Ruiz"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, ResponsabilidadTest, ::testing::Bool(), NombreMotor);

// ---- the configuration texts --------------------------------------------------------------------

TEST(CamposSolicitados, CodeListsStopAtTheFirstEmptyItemAndCompareExactText)
{
    struct Caso
    {
        const char *lista;
        const char *codigo;
        bool enLista;
        const char *filtro;
    } casos[] = {
        {"3,7", "7", true, "(Codigo=3) OR (Codigo=7)"},
        {"3,,7", "7", false, "(Codigo=3)"},
        {"3, 7", "7", false, "(Codigo=3)"},
        {"", "3", false, ""},
        {",3", "3", false, ""},
        {"3;DROP TABLE X", "3", false, "(1=0)"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.lista);
        EXPECT_EQ(OperarioEnLista(QString::fromUtf8(c.codigo), QString::fromUtf8(c.lista)), c.enLista);
        EXPECT_EQ(FiltroOperarios(QString::fromUtf8(c.lista)), QString::fromUtf8(c.filtro));
    }
    // Nothing after a NUL sneaks into the condition.
    EXPECT_EQ(FiltroOperarios(QStringLiteral("3,7") + QChar(0) + QStringLiteral(") OR (1=1")), QStringLiteral("(Codigo=3)"));
    const CamposSolicitados campos = LeerCamposSolicitados(QStringLiteral("RealizadoPor:3,7:x\r\nFechaRegistro\nAprobadoPor\r\n"));
    EXPECT_EQ(campos.nombres, (QStringList{"RealizadoPor", "FechaRegistro", "AprobadoPor"}));
    EXPECT_EQ(campos.operariosRealizadoPor, QStringLiteral("3,7"));
    EXPECT_EQ(campos.operariosAprobadoPor, QString());
    EXPECT_TRUE(campos.hayCamposSolicitados());
    EXPECT_FALSE(LeerCamposSolicitados(QStringLiteral("RegistradoPor\r\nFechaRegistro")).hayCamposSolicitados());
}

} // namespace
