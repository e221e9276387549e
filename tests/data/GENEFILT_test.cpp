#include "ModuloFixture.h"

#include "GENEW/data/ventanas/GENEFILT.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataControls.h"

#include <QTest>

namespace {

// The filter dialog over the company table CLIENTES (Codigo, Nombre, a memo and a field
// the user may not see), with the dialog's answers given by each case.
class FiltroTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        plat::TableDef def;
        def.name = QStringLiteral("CLIENTES");
        def.fields = {plat::fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                      plat::fieldDef(QStringLiteral("Nombre"), ftString, 40),
                      plat::fieldDef(QStringLiteral("Notas"), ftMemo), plat::fieldDef(QStringLiteral("Secreto"), ftString, 10)};
        def.indexes = {{QStringLiteral("Clave1"), {QStringLiteral("Codigo")}, true, true}};
        fGENEINIC->Database().createTable(def);
        tabla_.setTableName(QStringLiteral("CLIENTES"));
        ASSERT_TRUE(modulo_->AbrirTabla(tabla_));
        const QStringList nombres{QStringLiteral("Ana"), QStringLiteral("X"), QStringLiteral("Eva"), QStringLiteral("O'Brien"),
                                  QStringLiteral("Luis"), QStringLiteral("X"), QStringLiteral("Pía"), QStringLiteral("Noé")};
        for (int i = 0; i < nombres.size(); ++i) {
            tabla_.append();
            tabla_.fieldByName(QStringLiteral("Codigo")).setValue(i + 1);
            tabla_.fieldByName(QStringLiteral("Nombre")).setAsString(nombres[i]);
            tabla_.post();
        }
        fGENEINIC->CamposNoVisibles = QStringLiteral("Secreto");
        dialogo_ = plat::createForm<TfGENEFILT>();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        if (dialogo_)
            dialogo_->Free();
        tabla_.close();
        ModuloMotorTest::TearDown();
    }

    // Opens the dialog on the table; the action plays the user and the dialog closes with
    // the button's modal result.
    void filtrar(const std::function<void(TfGENEFILT &)> &usuario)
    {
        plat::application().OnModalShown = [&](plat::Form &f) {
            auto &d = static_cast<TfGENEFILT &>(f);
            usuario(d);
        };
        dialogo_->FiltrarTabla(tabla_);
    }

    static void agregar(TfGENEFILT &d, const QString &campo, const QString &operador, const QString &valor)
    {
        d.ListaCampos->setText(campo);
        d.Operador->setText(operador);
        d.Valor->setText(valor);
        d.pbAgregar->Click();
    }

    QStringList codigosVisibles()
    {
        QStringList codigos;
        for (tabla_.first(); !tabla_.eof(); tabla_.next())
            codigos << tabla_.fieldByName(QStringLiteral("Codigo")).asString();
        tabla_.first();
        return codigos;
    }

    plat::TableDataSet tabla_;
    TfGENEFILT *dialogo_ = nullptr;
};

TEST_P(FiltroTest, ConditionsAreAddedAsQuotedLinesAndFilterTheTable)
{
    QStringList lineas;
    filtrar([&](TfGENEFILT &d) {
        EXPECT_EQ(d.caption(), QStringLiteral("Filtrar Registros de la Tabla CLIENTES"));
        EXPECT_EQ(d.ListaCampos->items(), (QStringList{QStringLiteral("Codigo"), QStringLiteral("Nombre")}));
        EXPECT_EQ(d.TiposCampos(), (QStringList{QStringLiteral("ftInteger"), QStringLiteral("ftString")}));
        agregar(d, QStringLiteral("Codigo"), QStringLiteral(">="), QStringLiteral("5"));
        agregar(d, QStringLiteral("Nombre"), QStringLiteral("="), QString());   // no value: nothing added
        agregar(d, QStringLiteral("Nombre"), QStringLiteral("="), QStringLiteral("X"));
        lineas = d.MemoFiltros->lines();
        d.pbAplicar->Click();
    });
    EXPECT_EQ(lineas, (QStringList{QStringLiteral("(Codigo >= '5') AND"), QStringLiteral("(Nombre = 'X')")}));
    EXPECT_TRUE(tabla_.filtered());
    EXPECT_EQ(codigosVisibles(), QStringList{QStringLiteral("6")});

    // The next opening shows the table's filter; a quote in a value filters as typed.
    filtrar([&](TfGENEFILT &d) {
        EXPECT_EQ(d.MemoFiltros->lines(), lineas);
        d.pbRestablecer->Click();
        agregar(d, QStringLiteral("Nombre"), QStringLiteral("="), QStringLiteral("O'Brien"));
        EXPECT_EQ(d.MemoFiltros->lines(), QStringList{QStringLiteral("(Nombre = 'O''Brien')")});
        d.pbAplicar->Click();
    });
    EXPECT_EQ(codigosVisibles(), QStringList{QStringLiteral("4")});

    // Restablecer applies the empty filter: every record again.
    filtrar([](TfGENEFILT &d) { d.pbRestablecer->Click(); });
    EXPECT_EQ(codigosVisibles().size(), 8);

    // Cancelling leaves the table as it was.
    filtrar([](TfGENEFILT &d) {
        agregar(d, QStringLiteral("Codigo"), QStringLiteral("<"), QStringLiteral("3"));
        d.pbCancelar->Click();
    });
    EXPECT_EQ(codigosVisibles().size(), 8);
}

// Esc is the Cancelar button from any box of the window: the window closes and the table
// stays as it was.
TEST_P(FiltroTest, EscClosesTheWindowFromAnyBoxAndLeavesTheTable)
{
    const std::function<QWidget *(TfGENEFILT &)> controles[] = {
        [](TfGENEFILT &d) -> QWidget * { return d.Valor; },
        [](TfGENEFILT &d) -> QWidget * { return d.ListaCampos; },
        [](TfGENEFILT &d) -> QWidget * { return d.MemoFiltros; },
    };
    for (const auto &control : controles) {
        bool cerrada = true;
        QString enfocado;
        filtrar([&](TfGENEFILT &d) {
            agregar(d, QStringLiteral("Codigo"), QStringLiteral("<"), QStringLiteral("3"));
            QWidget *w = control(d);
            w->setFocus();
            enfocado = w->objectName();
            QTest::keyClick(w, Qt::Key_Escape);
            if (d.modalResult() != plat::mrCancel) {   // left open: closed here, or the test waits
                cerrada = false;
                d.setModalResult(plat::mrCancel);
            }
        });
        EXPECT_TRUE(cerrada) << enfocado.toStdString();
        EXPECT_FALSE(tabla_.filtered()) << enfocado.toStdString();
        EXPECT_EQ(codigosVisibles().size(), 8);
    }
}

TEST_P(FiltroTest, ABrokenListWarnsAndShowsAllFromTheFirstRecord)
{
    tabla_.last();
    mensajes_.limpiar();
    filtrar([](TfGENEFILT &d) {
        d.MemoFiltros->setText(QStringLiteral("(Codigo >= AND"));
        d.pbAplicar->Click();
    });
    EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("¡La lista de filtros es incorrecta! Inténtelo de nuevo.")});
    EXPECT_FALSE(tabla_.filtered());
    EXPECT_EQ(tabla_.fieldByName(QStringLiteral("Codigo")).asString(), QStringLiteral("1"));
}

TEST_P(FiltroTest, AFilterSavedUnderANameIsProposedNextTime)
{
    mensajes_.programarRespuestas({QStringLiteral("Mayores")});
    filtrar([](TfGENEFILT &d) {
        agregar(d, QStringLiteral("Codigo"), QStringLiteral(">"), QStringLiteral("6"));
        d.GuardarComoClick(d.GuardarComo);
        EXPECT_EQ(d.EditDescripcionFiltro->text(), QStringLiteral("Mayores"));
        d.pbCancelar->Click();
    });
    ASSERT_FALSE(mensajes_.mensajes().isEmpty());
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, QStringLiteral("P"));
    EXPECT_EQ(mensajes_.mensajes()[0].texto, QStringLiteral("Introduzca la Descripción del Filtro: "));
    EXPECT_EQ(sql(QStringLiteral("SELECT NombreTabla, Descripcion FROM FILTRO")), QStringLiteral("CLIENTES|Mayores"));

    filtrar([](TfGENEFILT &d) {
        EXPECT_EQ(d.EditDescripcionFiltro->text(), QStringLiteral("Mayores"));
        EXPECT_EQ(d.MemoFiltros->lines(), QStringList{QStringLiteral("(Codigo > '6')")});
        // Guardar rewrites the selected one.
        d.MemoFiltros->setText(QStringLiteral("(Codigo > '7')"));
        d.GuardarClick(d.Guardar);
        d.pbAplicar->Click();
    });
    EXPECT_EQ(codigosVisibles(), QStringList{QStringLiteral("8")});
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM FILTRO")), QStringLiteral("1"));

    // Choosing another saved filter in the box loads its text.
    mensajes_.programarRespuestas({QStringLiteral("Ana")});
    filtrar([](TfGENEFILT &d) {
        d.MemoFiltros->setText(QStringLiteral("(Nombre = 'Ana')"));
        d.GuardarComoClick(d.GuardarComo);
        const int mayores = d.EditDescripcionFiltro->findText(QStringLiteral("Mayores"));
        ASSERT_GE(mayores, 0);
        emit d.EditDescripcionFiltro->activated(mayores);
        EXPECT_EQ(d.EditDescripcionFiltro->text(), QStringLiteral("Mayores"));
        EXPECT_EQ(d.MemoFiltros->lines(), QStringList{QStringLiteral("(Codigo > '7')")});
        d.EliminarClick(d.Eliminar);   // the first remaining one is shown
        EXPECT_EQ(d.EditDescripcionFiltro->text(), QStringLiteral("Ana"));
        EXPECT_EQ(d.MemoFiltros->lines(), QStringList{QStringLiteral("(Nombre = 'Ana')")});
        d.pbCancelar->Click();
    });

    tabla_.setFiltered(false);
    tabla_.setFilter(QString());
    filtrar([](TfGENEFILT &d) {
        EXPECT_EQ(d.MemoFiltros->lines(), QStringList{QStringLiteral("(Nombre = 'Ana')")});
        d.EliminarClick(d.Eliminar);
        EXPECT_EQ(d.EditDescripcionFiltro->currentIndex(), -1);
        EXPECT_TRUE(d.MemoFiltros->text().isEmpty());
        d.pbCancelar->Click();
    });
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM FILTRO")), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Motores, FiltroTest, ::testing::Bool(), NombreMotor);

} // namespace
