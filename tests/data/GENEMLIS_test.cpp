#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENEMLIS.h"
#include "GENEW/data/ventanas/HistorialAccesos.h"
#include "platform/data/QueryDataSet.h"

#include "platform/base/Errores.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/data/ModuloFixture.h"

#include <QScopeGuard>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The list editor on the embedded engine; each case scripts the editor while it is shown.
class EditorLista : public ModuloFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        if (!prepararMotor(GetParam()))
            GTEST_SKIP() << "no PostgreSQL test server";
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        ModuloFixture::TearDown();
    }

    QString abrir(const QString &opciones, const QString &datos, std::function<void(TfGENEMLIS &)> guion)
    {
        mostrados_ = 0;
        plat::application().OnModalShown = [this, guion](plat::Form &f) {
            ++mostrados_;
            auto &editor = static_cast<TfGENEMLIS &>(f);
            tablaTemporal_ = editor.Temporal->table().tableName();
            guion(editor);
        };
        return MostrarListaDatos(opciones, datos);
    }

    static plat::Field &campo(TfGENEMLIS &e, const char *nombre) { return e.temporal().fieldByName(QLatin1String(nombre)); }

    // Puts the grid on the column of the field in the current row.
    static void irAColumna(TfGENEMLIS &e, const char *nombre)
    {
        for (int i = 0; i < e.DBGrid1->columnCount(); ++i)
            if (e.DBGrid1->column(i)->FieldName == QLatin1String(nombre))
                e.DBGrid1->setCurrentIndex(e.DBGrid1->model()->index(e.DBGrid1->currentIndex().row(), i));
    }

    static QStringList filasVisibles(TfGENEMLIS &e, const char *nombre)
    {
        QStringList valores;
        plat::DataSet &t = e.temporal();
        for (t.first(); !t.eof(); t.next())
            valores << t.fieldByName(QLatin1String(nombre)).asString();
        t.first();
        return valores;
    }

    int mostrados_ = 0;
    QString tablaTemporal_;
};

const QString kOpcionesPedido = QStringLiteral(
    "Titulo=Líneas del pedido\r\nNumeroCampos=4\r\n"
    "DefinicionCampos=Cantidad,ftFloat,0,,Importe->Cantidad*Precio;Precio,ftFloat,0;Importe,ftFloat,0,ReadOnly;"
    "Tipo,ftString,10,,,,TIPOS\r\nCamposTotalizadores=Cantidad;Importe\r\n");

TEST_P(EditorLista, LeavingAColumnComputesItsCalculationAndAMissingLookUpKeepsTheCursor)
{
    sql(QStringLiteral("CREATE TABLE TIPOS (Codigo VARCHAR(10) NOT NULL, PRIMARY KEY (Codigo))"), QStringLiteral("Database"));
    sql(QStringLiteral("INSERT INTO TIPOS (Codigo) VALUES ('A')"), QStringLiteral("Database"));
    fGENEINIC->UsuarioActual = QStringLiteral("ADMIN");
    fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    const auto liberar = qScopeGuard([] {
        delete fGENEBUSQ;
        fGENEBUSQ = nullptr;
    });
    const QString resultado = abrir(kOpcionesPedido, QStringLiteral("2|5|10|A\r\n1|4|4|A\r\n"), [this](TfGENEMLIS &e) {
        EXPECT_EQ(e.caption(), QStringLiteral("Líneas del pedido"));
        EXPECT_EQ(e.pbCancelar->hint(), QStringLiteral("Rechazar los datos y Abandonar"));
        EXPECT_TRUE(e.pbRestablecer->isVisible());
        const int w = e.pbAceptar->width();
        EXPECT_EQ(e.pbAceptar->x(), (e.PanelControl->width() - 3 * w - 4) / 2);
        EXPECT_EQ(e.pbCancelar->x(), e.pbAceptar->x() + 2 * w + 4);
        EXPECT_EQ(e.PanelTotales->height(), 30);
        EXPECT_EQ(e.LBTextoTotales->caption(), QStringLiteral("Total Cantidad: \nTotal Importe: "));
        EXPECT_EQ(e.LBTotales->caption().split(u'\n').size(), 2);
        EXPECT_TRUE(e.LBTotales->caption().startsWith(QStringLiteral("3,00       \n14,00")));
        e.DBGrid1->setFocus();
        irAColumna(e, "Cantidad");
        e.temporal().edit();
        campo(e, "Cantidad").setAsFloat(3);
        QTest::keyClick(e.DBGrid1, Qt::Key_Right);
        EXPECT_EQ(campo(e, "Importe").asFloat(), 15.0);
        EXPECT_EQ(e.DBGrid1->selectedField()->fieldName(), QStringLiteral("Precio"));

        irAColumna(e, "Tipo");
        campo(e, "Tipo").setAsString(QStringLiteral("Z"));
        QTest::keyClick(e.DBGrid1, Qt::Key_Left);
        EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("¡No existe el registro!")});
        EXPECT_EQ(e.DBGrid1->selectedField()->fieldName(), QStringLiteral("Tipo"));
        // Accepting tries the post, which the same check refuses: the window stays.
        e.pbAceptar->click();
        QCoreApplication::processEvents();
        EXPECT_TRUE(e.isVisible());
        // A double click on the column offers the search of its table.
        plat::application().OnModalShown = [](plat::Form &f) {
            auto &busqueda = static_cast<TfGENEBUSQ &>(f);
            QTest::keyClicks(busqueda.DatoABuscar, QStringLiteral("A"));
            QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Return);
            QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
        };
        e.DBGrid1DblClick();
        EXPECT_EQ(campo(e, "Tipo").asString(), QStringLiteral("A"));
        e.pbAceptar->click();
    });
    EXPECT_EQ(mostrados_, 1);
    EXPECT_EQ(resultado, QStringLiteral("3|5|15|A\r\n1|4|4|A"));
    // The temporary table went with the editor.
    EXPECT_FALSE(tablaTemporal_.isEmpty());
    EXPECT_TRUE(sql(QStringLiteral("SELECT COUNT(*) FROM ") + tablaTemporal_, QStringLiteral("Database"))
                    .startsWith(QStringLiteral("Error.")))
        << tablaTemporal_.toStdString();
}

TEST_P(EditorLista, ValueFiltersQuoteTheValueAndRestoreBringsBackTheRowsAsLoaded)
{
    const QString opciones = QStringLiteral("NumeroCampos=2\r\nDefinicionCampos=Nombre,ftString,20;Horas,ftInteger,0\r\n"
                                            "CamposTotalizadores=Horas");
    const QString datos = QStringLiteral("O'Brien|3\r\nPérez|4\r\nRuiz|5");
    mensajes_.programarRespuestas({QStringLiteral("O'Brien"), QStringLiteral("4")});
    const QString resultado = abrir(opciones, datos, [this](TfGENEMLIS &e) {
        e.DBGrid1->setFocus();
        irAColumna(e, "Nombre");
        e.FiltrarRegistrosporValorClick(e.FiltrarRegistrosporValorIgualA);
        EXPECT_EQ(filasVisibles(e, "Nombre"), QStringList{QStringLiteral("O'Brien")});
        EXPECT_TRUE(e.LBTotales->caption().startsWith(QStringLiteral("3,00")));
        e.CancelarFiltrosClick();
        irAColumna(e, "Horas");
        e.FiltrarRegistrosporValorClick(e.FiltrarRegistrosporValorDesde);
        EXPECT_EQ(filasVisibles(e, "Nombre"), (QStringList{QStringLiteral("Pérez"), QStringLiteral("Ruiz")}));
        // A value an integer field cannot compare with is refused; the rows stay.
        mensajes_.limpiar();
        mensajes_.programarRespuestas({QStringLiteral("x")});
        irAColumna(e, "Horas");
        e.FiltrarRegistrosporValorClick(e.FiltrarRegistrosporValorHasta);
        EXPECT_EQ(mensajes_.textos().value(1), QStringLiteral("¡No ha sido posible filtrar registros!"));
        EXPECT_EQ(filasVisibles(e, "Nombre").size(), 2);
        e.CancelarFiltrosClick();

        e.temporal().first();
        e.temporal().edit();
        campo(e, "Horas").setAsInteger(40);
        e.temporal().post();
        e.temporal().last();
        e.temporal().remove();
        e.pbRestablecerClick();
        EXPECT_EQ(filasVisibles(e, "Horas"), (QStringList{"3", "4", "5"}));
        EXPECT_TRUE(e.LBTotales->caption().startsWith(QStringLiteral("12,00")));
        // After a restore no row may be added.
        EXPECT_THROW(e.temporal().append(), gp::Abort);
        EXPECT_EQ(e.temporal().state(), plat::DataSetState::Browse);
        EXPECT_EQ(e.temporal().recordCount(), 3);
        e.pbAceptar->click();
    });
    EXPECT_EQ(resultado, datos);
}

TEST_P(EditorLista, ChoiceListsAnswerTheChosenRowsAndAbandoningAnswersAsThePartSays)
{
    const QString definicion = QStringLiteral("NumeroCampos=2\r\nDefinicionCampos=Codigo,ftString,5;Notas,ftMemo,10\r\n");
    const QString datos = QStringLiteral("A|uno·dos\r\nB|tres\r\nC|");
    // A read-only choice: a double click chooses the row; memo line breaks travel as "·".
    EXPECT_EQ(abrir(definicion + QStringLiteral("Modo=Consulta"), datos,
                    [](TfGENEMLIS &e) {
                        EXPECT_TRUE(e.DBGrid1->readOnly());
                        EXPECT_TRUE(e.DBGrid1->rowSelect());
                        EXPECT_FALSE(e.pbRestablecer->isVisible());
                        EXPECT_EQ(e.pbAceptar->caption(), QStringLiteral("&Conforme"));
                        EXPECT_EQ(e.pbAceptar->hint(), QStringLiteral("Aceptar los datos seleccionados"));
                        const int w = e.pbAceptar->width();
                        EXPECT_EQ(e.pbAceptar->x(), (e.PanelControl->width() - 2 * w - 2) / 2);
                        EXPECT_EQ(e.pbCancelar->x(), e.pbAceptar->x() + w + 2);
                        EXPECT_EQ(campo(e, "Notas").asString(), QStringLiteral("uno\r\ndos"));
                        e.DBGrid1DblClick();
                    }),
              QStringLiteral("A|uno·dos"));
    EXPECT_EQ(abrir(definicion + QStringLiteral("Modo=Consulta"), datos, [](TfGENEMLIS &e) { e.pbCancelar->click(); }),
              QString());
    // With "Eliminar" every row left goes back, and abandoning gives back the list given.
    EXPECT_EQ(abrir(definicion + QStringLiteral("Modo=Consulta,Eliminar"), datos,
                    [](TfGENEMLIS &e) {
                        EXPECT_FALSE(e.DBGrid1->readOnly());
                        e.temporal().next();
                        e.temporal().remove();
                        e.pbAceptar->click();
                    }),
              QStringLiteral("A|uno·dos\r\nC|"));
    EXPECT_EQ(abrir(definicion + QStringLiteral("Modo=Consulta,Eliminar"), datos, [](TfGENEMLIS &e) { e.pbCancelar->click(); }),
              datos);
    // An edit list abandoned asks whether to empty the list.
    mensajes_.programarRespuestas({QStringLiteral("NO"), QStringLiteral("SI")});
    EXPECT_EQ(abrir(definicion, datos, [](TfGENEMLIS &e) { e.pbCancelar->click(); }), datos);
    EXPECT_EQ(abrir(definicion, datos, [](TfGENEMLIS &e) { e.pbCancelar->click(); }), QString());
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("¿Desea dejar en blanco la lista de datos?")));
    // An unreadable number of fields shows nothing.
    EXPECT_EQ(abrir(QStringLiteral("NumeroCampos=dos\r\nModo=Consulta,Eliminar"), datos, [](TfGENEMLIS &) {}), datos);
    EXPECT_EQ(mostrados_, 0);
}

TEST_P(EditorLista, AccessHistoryListsTheRowsStoredWithAndWithoutTheLastSeparator)
{
    EXPECT_EQ(SentenciaHistorialAccesos(QStringLiteral("PARTES"), QStringLiteral("P'1|")),
              QStringLiteral("SELECT CodigoUsuario, Fecha, Accion, Datos FROM REGACCES   WHERE NombreTabla = 'PARTES'    AND "
                             "((ClaveTabla = 'P''1|')      OR (ClaveTabla = 'P''1'))   ORDER BY Fecha DESC"));
    sql(QStringLiteral("CREATE TABLE PARTES (Codigo VARCHAR(10) NOT NULL, PRIMARY KEY (Codigo))"), QStringLiteral("Database"));
    sql(QStringLiteral("INSERT INTO PARTES (Codigo) VALUES ('P1')"), QStringLiteral("Database"));
    const QString baseDatos = fGENEINIC->BaseDatosDeTabla(QStringLiteral("REGACCES"));
    for (const char *fila : {"('PARTES', 'P1|', '2024-03-01 10:00:00', 'ANA', 'Modificar', 'a|b' || ? || 'c')",
                             "('PARTES', 'P1', '2024-03-02 10:00:00', 'LUIS', 'Alta', '')",
                             "('PARTES', 'P2|', '2024-03-03 10:00:00', 'EVA', 'Baja', '')"})
        EXPECT_EQ(sql(QStringLiteral("INSERT INTO REGACCES (NombreTabla, ClaveTabla, Fecha, CodigoUsuario, Accion, Datos) "
                                     "VALUES ")
                          + QString::fromLatin1(fila).replace(u'?', GetParam() ? QStringLiteral("chr(13) || chr(10)")
                                                                               : QStringLiteral("char(13) || char(10)")),
                      baseDatos),
                  QString());
    plat::QueryDataSet partes(QStringLiteral("Partes"));
    partes.setConnection(&fGENEINIC->Database());
    partes.setSql(QStringLiteral("SELECT Codigo FROM PARTES"));
    partes.open();
    QStringList vistas;
    const auto guion = [&vistas](TfGENEMLIS &e) {
        EXPECT_EQ(e.caption(), QStringLiteral("Historial de Accesos al Registro: PARTES - P1|"));
        EXPECT_EQ(e.pbAceptar->hint(), QString());
        for (e.temporal().first(); !e.temporal().eof(); e.temporal().next())
            vistas << campo(e, "CodigoUsuario").asString() + u'/' + campo(e, "Datos").asString();
        e.pbCancelar->click();
    };
    mostrados_ = 0;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados_;
        guion(static_cast<TfGENEMLIS &>(f));
    };
    fGENEINIC->PuntosEntrada.MostrarHistorialAccesos(partes);
    EXPECT_EQ(mostrados_, 0);   // the access log is off
    fGENEINIC->Configuracion.parametros.RegistroAccesosActivado = true;
    fGENEINIC->PuntosEntrada.MostrarHistorialAccesos(partes);
    fGENEINIC->Configuracion.parametros.RegistroAccesosActivado = false;
    EXPECT_EQ(mostrados_, 1);
    EXPECT_EQ(vistas, (QStringList{QStringLiteral("LUIS/"), QStringLiteral("ANA/a\r\nb c")}));   // "|" came as "·", a memo line break
}

INSTANTIATE_TEST_SUITE_P(Motores, EditorLista, ::testing::Values(false, true), NombreMotor);

} // namespace
