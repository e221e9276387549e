// The layout selector of a listing window: Ctrl+P opens the layout editor on it, and what
// the user writes there is offered as soon as the editor closes. On each engine.
#include "GENEW/reporting/impresos/GENEIMPR.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "projects/PROYLPRO.h"
#include "tests/projects/ProyectosFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QScopeGuard>

namespace {

class SelectorImpresos : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *impreso : {"'P2', 'Proyecto B', 'Proyecto'", "'P1', 'Proyecto A', 'Proyecto'",
                                    "'G1', 'Gama', 'Gama Control'"})
            ASSERT_EQ(sql(QStringLiteral("INSERT INTO IMPRESO (Codigo, Descripcion, TipoDocumento) VALUES (%1)")
                              .arg(QLatin1String(impreso))),
                      QString());
        ventana_ = ventanaPrograma<TfPROYLPRO>();
    }

    void TearDown() override
    {
        delete ventana_;
        ProyectosMotorTest::TearDown();
    }

    TfPROYLPRO *ventana_ = nullptr;
};

TEST_P(SelectorImpresos, ALayoutWrittenFromTheSelectorIsOfferedOnReturn)
{
    TfPROYLPRO &v = *ventana_;
    v.Show();
    QApplication::setActiveWindow(&v);
    v.EditFormatoImpreso->setItemIndex(1);
    v.EditFormatoImpreso->setFocus();
    const EdicionImpresosInstalada edicion;
    const auto sinEditor = qScopeGuard([] { plat::application().OnModalShown = nullptr; });
    // Ctrl+P opens the editor; the user adds a layout, gives it "Tipo Documento" "Proyecto"
    // (a new one is "Otro") and leaves.
    QString tipoNuevo;
    plat::application().OnModalShown = [&](plat::Form &mostrado) {
        auto *editor = qobject_cast<TfGENEIMPR *>(&mostrado);
        ASSERT_NE(editor, nullptr);
        editor->AgregarClick(editor);
        plat::TableDataSet &t = editor->Table1->table();
        tipoNuevo = t.fieldByName("TipoDocumento").asString();
        t.fieldByName("Codigo").setAsString("P9");
        t.fieldByName("Descripcion").setAsString("Proyecto nuevo");
        editor->EditTipoDocumento->setText("Proyecto");
        t.post();
        editor->Close();
    };
    // As the keyboard sends it: Ctrl+P carries the control character, not a "p" to search.
    QKeyEvent ctrlP(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier, QString(QChar(0x10)));
    QApplication::sendEvent(v.EditFormatoImpreso, &ctrlP);
    EXPECT_EQ(tipoNuevo, "Otro");
    QStringList ofrecidos;
    for (int i = 0; i < v.EditFormatoImpreso->count(); ++i)
        ofrecidos << v.EditFormatoImpreso->itemText(i);
    EXPECT_EQ(ofrecidos, (QStringList{"Proyecto A", "Proyecto B", "Proyecto nuevo"}));
    // The layout chosen before stays chosen (a list read again would start at its first).
    EXPECT_EQ(v.EditFormatoImpreso->text().toStdString(), "Proyecto B");
    guardarCaptura(v, QStringLiteral("listado-proyectos-formato-elegido"));
    v.EditFormatoImpreso->showPopup();
    guardarCaptura(*v.EditFormatoImpreso->view()->window(), QStringLiteral("listado-proyectos-formato-lista"));
    v.EditFormatoImpreso->hidePopup();
}

INSTANTIATE_TEST_SUITE_P(Motores, SelectorImpresos, ::testing::Bool(), NombreMotor);

} // namespace
