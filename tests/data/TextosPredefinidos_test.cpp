// The predefined texts of TEXTO as Ctrl+T reaches them: a plain text, the search for an
// unknown code, and a template the user fills in.
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "platform/ui/Application.h"
#include "platform/ui/Grids.h"
#include "tests/data/ModuloFixture.h"

#include <QTest>

namespace {

class TextosPredefinidos : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        prepararMotor(false);
        form_->UsuarioActual = QStringLiteral("ADMIN");
        sql("INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('SALUDO', 'Saludo', 'Estimado cliente:\r\n"
            "reciba un cordial saludo.', 'Normal')");
        sql("INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('VISITA', 'Datos de la visita', "
            "'Cliente: García\r\nFecha: 01/01/2024\r\nObservaciones', 'Plantilla')");
        fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    }
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        delete fGENEBUSQ;
        fGENEBUSQ = nullptr;
        ModuloFixture::TearDown();
    }

    // What the user does in each window shown, in order.
    void guion(std::vector<std::function<void(plat::Form &)>> pasos)
    {
        pasos_ = std::move(pasos);
        mostrados_ = 0;
        plat::application().OnModalShown = [this](plat::Form &f) {
            ASSERT_LT(mostrados_, pasos_.size()) << f.objectName().toStdString();
            pasos_[mostrados_++](f);
        };
    }
    static void elegirEnBusqueda(plat::Form &f, const char *codigo)
    {
        auto &busqueda = static_cast<TfGENEBUSQ &>(f);
        busqueda.DatoABuscar->clear();
        QTest::keyClicks(busqueda.DatoABuscar, QString::fromLatin1(codigo));
        QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Return);
        QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
    }
    QString texto(const QString &codigo) { return form_->PuntosEntrada.ObtenerTextoPredefinido(codigo); }

    size_t mostrados_ = 0;
    std::vector<std::function<void(plat::Form &)>> pasos_;
};

TEST_F(TextosPredefinidos, APlainCodeGivesItsTextAndAnUnknownOneOpensTheSearch)
{
    guion({});
    EXPECT_EQ(texto(QStringLiteral("SALUDO")), "Estimado cliente:\r\nreciba un cordial saludo.");
    EXPECT_EQ(mostrados_, 0u);

    QString datoPropuesto;
    guion({[&](plat::Form &f) {
        datoPropuesto = static_cast<TfGENEBUSQ &>(f).DatoABuscar->text();
        elegirEnBusqueda(f, "SALUDO");
    }});
    EXPECT_EQ(texto(QStringLiteral("SAL")), "Estimado cliente:\r\nreciba un cordial saludo.");
    EXPECT_EQ(datoPropuesto, "SAL");

    guion({[](plat::Form &f) { f.setModalResult(plat::mrCancel); }});
    EXPECT_EQ(texto(QStringLiteral("NADA")), "");
    EXPECT_EQ(mostrados_, 1u);
}

TEST_F(TextosPredefinidos, ATemplateAsksOneValuePerLineAndGivesLabelAndAnswerLines)
{
    guion({[](plat::Form &f) {
        auto &v = static_cast<TfGENEVLIS &>(f);
        EXPECT_EQ(v.caption(), "Datos de la visita");
        // A line without ":" names its field by the whole line; the definitions' closing ";"
        // leaves an unnamed row, whose "=" answer comes back as an empty line.
        ASSERT_EQ(v.StringGrid->rowCount(), 5);
        EXPECT_EQ((QStringList{v.StringGrid->cell(0, 1), v.StringGrid->cell(0, 2), v.StringGrid->cell(0, 3),
                               v.StringGrid->cell(0, 4)}),
                  (QStringList{"Cliente", "Fecha", "Observaciones", ""}));
        EXPECT_EQ(v.StringGrid->cell(1, 1), "");
        v.StringGrid->setCell(1, 1, QStringLiteral("Pérez"));
        v.StringGrid->setCell(1, 2, QStringLiteral("05/03/2024"));
        v.pbGrabarClick();
    }});
    EXPECT_EQ(texto(QStringLiteral("VISITA")), "Cliente: Pérez\r\nFecha: 05/03/2024\r\nObservaciones: \r\n\r\n");

    guion({[](plat::Form &f) { static_cast<TfGENEVLIS &>(f).pbCancelar->click(); }});
    EXPECT_EQ(texto(QStringLiteral("VISITA")), "");

    // A template reached through the search is filled in too.
    guion({[](plat::Form &f) { elegirEnBusqueda(f, "VISITA"); },
           [](plat::Form &f) { static_cast<TfGENEVLIS &>(f).pbGrabarClick(); }});
    EXPECT_EQ(texto(QString()), "Cliente: \r\nFecha: \r\nObservaciones: \r\n\r\n");
}

} // namespace
