// The memo viewer and editor on its one long-lived form.
#include "GENEW/data/servicios/CacheTraducciones.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/data/DataControls.h"
#include "tests/data/ModuloFixture.h"

#include <QTest>

namespace {

class VisorMemo : public ModuloFixture
{
protected:
    void SetUp() override
    {
        CacheTraducciones::instancia().vaciar();
        ModuloFixture::SetUp();
        prepararMotor(false);
        form_->UsuarioActual = QStringLiteral("ADMIN");
        sql("INSERT INTO TEXTO (Codigo, Descripcion, Texto) VALUES ('SALUDO', 'Saludo cordial', 'Hola')");
        fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
        fGENEVMEM = plat::createForm<TfGENEVMEM>();
        textos_ = std::make_unique<plat::TableDataSet>(QStringLiteral("TEXTO"));
        textos_->setConnection(&form_->Database());
        textos_->setDatabaseName(form_->Database().databaseName());
        textos_->setTableName(QStringLiteral("TEXTO"));
        ASSERT_TRUE(modulo_->AbrirTabla(*textos_));
    }
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        textos_.reset();
        delete fGENEVMEM;
        fGENEVMEM = nullptr;
        delete fGENEBUSQ;
        fGENEBUSQ = nullptr;
        ModuloFixture::TearDown();
        CacheTraducciones::instancia().vaciar();
    }

    // What the user does in the memo window; a search window shown meanwhile accepts the
    // record typed in it.
    void alMostrar(std::function<void(TfGENEVMEM &)> accion)
    {
        plat::application().OnModalShown = [this, accion](plat::Form &f) {
            if (auto *busqueda = qobject_cast<TfGENEBUSQ *>(&f)) {
                ++busquedas_;
                QTest::keyClicks(busqueda->DatoABuscar, QStringLiteral("SALUDO"));
                QTest::keyClick(busqueda->DatoABuscar, Qt::Key_Return);
                QTest::keyClick(busqueda->DBGrid1, Qt::Key_Return);
            } else {
                ASSERT_EQ(&f, fGENEVMEM);
                accion(*fGENEVMEM);
            }
        };
    }
    static void pulsar(TfGENEVMEM &f, Qt::Key tecla) { QTest::keyClick(f.DBMemo, tecla); }

    std::unique_ptr<plat::TableDataSet> textos_;
    int busquedas_ = 0;
};

TEST_F(VisorMemo, TheEditorDropsTrailingEmptyLinesAndF2AppendsTheChosenValue)
{
    QString alCerrar;
    alMostrar([&](TfGENEVMEM &f) {
        EXPECT_EQ(f.caption(), "Notas del texto");
        EXPECT_FALSE(f.DBMemo->isReadOnly());
        EXPECT_EQ(f.DBMemo->textCursor().position(), f.DBMemo->toPlainText().size());
        pulsar(f, Qt::Key_F2);   // no search set: nothing happens
        f.DBMemo->setText(QStringLiteral("Hola\r\n\r\n\r\n\r\n"));
        pulsar(f, Qt::Key_Escape);
    });
    QString texto;
    EXPECT_EQ(VisualizarAsignarCampoTexto(*textos_, QStringLiteral("Notas del texto"), QStringLiteral("Texto"), texto,
                                          QStringLiteral("CursorAlFinal")),
              "Hola");
    EXPECT_EQ(texto, "Hola");
    EXPECT_EQ(busquedas_, 0);
    textos_->post();
    EXPECT_EQ(sql("SELECT Texto FROM TEXTO"), "Hola");

    // With a field: the chosen record's field; without one: its first key value.
    for (const auto &[busqueda, anadido] : {std::pair{"TEXTO;0;Descripcion", "Saludo cordial"}, {"TEXTO;x;", "SALUDO"}}) {
        SCOPED_TRACE(busqueda);
        fGENEVMEM->BusquedaTexto = QString::fromLatin1(busqueda);
        alMostrar([](TfGENEVMEM &f) {
            f.DBMemo->setText(QString());
            pulsar(f, Qt::Key_F2);
            pulsar(f, Qt::Key_Escape);
        });
        VisualizarAsignarCampoTexto(*textos_, QString(), QStringLiteral("Texto"), texto);
        EXPECT_EQ(texto, QString::fromUtf8(anadido));
        EXPECT_EQ(textos_->fieldByName(QStringLiteral("Texto")).asString(), QString::fromUtf8(anadido));
        EXPECT_TRUE(fGENEVMEM->BusquedaTexto.isEmpty());
    }
    EXPECT_EQ(busquedas_, 2);
    EXPECT_FALSE(fGENEVMEM->isVisible());
}

TEST_F(VisorMemo, TheViewerIsReadOnlyAndATranslatedCaptionNamesTheField)
{
    textos_->first();
    fGENEVMEM->BusquedaTexto = QStringLiteral("TEXTO;0;");
    alMostrar([](TfGENEVMEM &f) {
        EXPECT_EQ(f.caption(), "Texto de SALUDO");
        EXPECT_TRUE(f.DBMemo->isReadOnly());
        f.BuscarTexto();
        pulsar(f, Qt::Key_Escape);
    });
    VisorCampoTexto(*textos_, QStringLiteral("Texto de SALUDO"), QStringLiteral("Texto"));
    EXPECT_EQ(busquedas_, 0);
    EXPECT_EQ(textos_->state(), plat::DataSetState::Browse);

    form_->CodigoIdioma = QStringLiteral("Ingles");
    for (const auto &[clave, traduccion] : {std::pair{"Visualizar/Asignar Campo de Texto", "View/Assign Text Field"},
                                            {"Descripción", "Description"}})
        ASSERT_EQ(sql(QString("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Ingles', %1, %2)")
                          .arg(Entrecomillar(QString::fromUtf8(clave)), Entrecomillar(QString::fromUtf8(traduccion))),
                      "DatabaseGeneral"),
                  QString());
    QString caption;
    alMostrar([&](TfGENEVMEM &f) {
        caption = f.caption();
        pulsar(f, Qt::Key_Escape);
    });
    QString texto;
    VisualizarAsignarCampoTexto(*textos_, QStringLiteral("Notas"), QStringLiteral("Descripcion"), texto);
    EXPECT_EQ(caption, "View/Assign Text Field (Description)");
}

} // namespace
