// The grids of the project windows on SQLite and PostgreSQL: every editable one walked by
// keyboard over a stored row (Tab and Enter from each cell's editor go to the next column, in
// order), every grid over a detail empty while its master record is being added, and the
// question on closing asked only for what was typed, naming the grids as the user sees them.
#include "ProyectosFixture.h"

#include "platform/ui/Containers.h"
#include "platform/ui/data/DBGrid.h"
#include "projects/gamas/CALIGAMA.h"
#include "projects/proyectos/PROYNTEC.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/PROYVERS.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <tuple>

namespace {

class RejillasVentanasTest : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        cargarProyectoMuestra();
    }

    // The grid shown and focused on its first row, as a person finds it.
    static void mostrar(plat::Form &ventana, plat::DBGrid &rejilla)
    {
        ventana.Show();
        for (QWidget *w = &ventana; w; w = w->parentWidget())
            w->resize(std::max(w->width(), 1500), std::max(w->height(), 600));
        QApplication::setActiveWindow(ventana.window());
        for (plat::PageControl *paginas : ventana.findChildren<plat::PageControl *>())
            for (int i = 0; i < paginas->pageCount(); ++i)
                if (paginas->page(i)->isAncestorOf(&rejilla))
                    paginas->setActivePage(paginas->page(i));
        rejilla.setFocus();
        rejilla.setCurrentIndex(rejilla.model()->index(0, 0));
    }

    // From each column's editor (the key column of the first aside) Tab, then Enter, then Tab
    // again... must reach the next shown column.
    void recorrer(plat::Form &ventana, plat::DBGrid &rejilla)
    {
        SCOPED_TRACE(rejilla.objectName().toStdString());
        mostrar(ventana, rejilla);
        ASSERT_GT(rejilla.model()->rowCount(), 0);
        QList<int> columnas;
        for (int c = 1; c < rejilla.columnCount(); ++c)
            if (!rejilla.isColumnHidden(c))
                columnas << c;
        const auto editor = [&rejilla] {
            QWidget *foco = QApplication::focusWidget();
            return foco && rejilla.viewport()->isAncestorOf(foco) ? foco : nullptr;
        };
        for (int i = 0; i + 1 < columnas.size(); ++i) {
            // The editor opens on the column Tab reached, or on the first one.
            if (!editor() || rejilla.currentIndex().column() != columnas[i]) {
                rejilla.setCurrentIndex(rejilla.model()->index(0, columnas[i]));
                if (rejilla.model()->flags(rejilla.currentIndex()) & Qt::ItemIsEditable)
                    rejilla.edit(rejilla.currentIndex());
            }
            const Qt::Key tecla = i % 2 ? Qt::Key_Return : Qt::Key_Tab;
            QTest::keyClick(QApplication::focusWidget(), tecla);
            EXPECT_EQ(rejilla.currentIndex().column(), columnas[i + 1])
                << (tecla == Qt::Key_Tab ? "Tab" : "Enter") << " from " << rejilla.column(columnas[i])->FieldName.toStdString();
        }
        if (editor())
            QTest::keyClick(editor(), Qt::Key_Escape);
        rejilla.dataSet()->cancel();
        EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    }

    // The window opened once (its tables made), the rows added, then opened again.
    template<class F>
    QPointer<F> abrirConFilas(const QStringList &filas, const std::function<void(F &)> &situar)
    {
        delete ventanaPrograma<F>();
        for (const QString &fila : filas)
            EXPECT_EQ(sql(fila), QString()) << fila.toStdString();
        QPointer<F> ventana = ventanaPrograma<F>();
        if (situar)
            situar(*ventana);
        mensajes_.limpiar();
        return ventana;
    }

    // The window's editable grids walked; answers their names.
    template<class F>
    QStringList recorrerVentana(const QStringList &filas, const std::function<void(F &)> &situar = {})
    {
        QPointer<F> ventana = abrirConFilas<F>(filas, situar);
        QStringList recorridas;
        for (plat::DBGrid *rejilla : ventana->template findChildren<plat::DBGrid *>()) {
            bool editable = false;
            for (int c = 1; c < rejilla->columnCount(); ++c)
                editable = editable || rejilla->model()->flags(rejilla->model()->index(0, c)) & Qt::ItemIsEditable;
            if (!editable)
                continue;
            recorrer(*ventana, *rejilla);
            recorridas << rejilla->objectName();
        }
        delete ventana.data();
        recorridas.sort();
        return recorridas;
    }

    // A record added in the window: every grid over a detail shows no rows, and the rows of
    // the record shown come back when the addition is cancelled. Answers the grids' names.
    template<class F>
    QStringList agregarVentana(const QStringList &filas, const std::function<void(F &)> &situar = {})
    {
        QPointer<F> ventana = abrirConFilas<F>(filas, situar);
        QList<plat::DBGrid *> detalles;
        for (plat::DBGrid *rejilla : ventana->template findChildren<plat::DBGrid *>())
            if (rejilla->dataSet() && rejilla->dataSet()->masterSource())
                detalles << rejilla;
        QStringList nombres;
        for (plat::DBGrid *rejilla : detalles) {
            EXPECT_GT(rejilla->model()->rowCount(), 0) << rejilla->objectName().toStdString();
            nombres << rejilla->objectName();
        }
        ventana->AgregarClick(ventana);
        EXPECT_EQ(ventana->Table1->dataSet().state(), plat::DataSetState::Insert);
        for (plat::DBGrid *rejilla : detalles)
            EXPECT_EQ(rejilla->model()->rowCount(), 0) << rejilla->objectName().toStdString() << " of a new record";
        ventana->pbCancelar->click();
        for (plat::DBGrid *rejilla : detalles)
            EXPECT_GT(rejilla->model()->rowCount(), 0) << rejilla->objectName().toStdString() << " once cancelled";
        EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
        delete ventana.data();
        nombres.sort();
        return nombres;
    }
    // A row typed in the grid over `campo` and saved, then the window closed: nothing is asked
    // (the blank row started after the save holds nothing typed). Opened again, a value typed
    // in a cell and not saved: closing asks, naming the grid; the answer cancels it. Answers
    // the question.
    template<class F>
    QString cerrarVentana(const QString &campo, const QStringList &filas, const std::function<void(F &)> &situar = {})
    {
        QPointer<F> ventana = abrirConFilas<F>(filas, situar);
        plat::DBGrid *rejilla = nullptr;
        int columna = -1;
        for (plat::DBGrid *r : ventana->template findChildren<plat::DBGrid *>())
            for (int c = 0; c < r->columnCount() && !rejilla; ++c)
                if (r->column(c)->FieldName == campo && !r->readOnly())
                    std::tie(rejilla, columna) = std::pair(r, c);
        if (!rejilla) {
            ADD_FAILURE() << "no grid over " << campo.toStdString();
            return QString();
        }
        const QString nombre = rejilla->objectName();
        // The cell of `campo` made current and typed into, then left with Tab.
        const auto teclear = [&](int en, const QString &texto) {
            rejilla->setCurrentIndex(rejilla->model()->index(rejilla->currentIndex().row(), en));
            // As a keyboard sends them: to the cell's editor once it is open.
            for (QChar letra : texto)
                QTest::keyClick(QApplication::focusWidget(), letra.toLatin1());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        };
        // Down on the last row starts a new one; a line number is typed first where it is the key.
        mostrar(*ventana, *rejilla);
        rejilla->setCurrentIndex(rejilla->model()->index(rejilla->model()->rowCount() - 1, 0));
        QTest::keyClick(rejilla, Qt::Key_Down);
        if (rejilla->column(0)->FieldName == QLatin1String("Linea"))
            teclear(0, QStringLiteral("7"));
        teclear(columna, QStringLiteral("Nueva"));
        ventana->pbConforme->click();
        EXPECT_EQ(rejilla->dataSet()->state(), plat::DataSetState::Insert) << "a blank row follows the save";
        EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
        ventana->Close();
        EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
        delete ventana.data();

        ventana = ventanaPrograma<F>();
        if (situar)
            situar(*ventana);
        rejilla = ventana->template findChild<plat::DBGrid *>(nombre);
        mostrar(*ventana, *rejilla);
        rejilla->setCurrentIndex(rejilla->model()->index(0, columna));
        QTest::keyClicks(rejilla, QStringLiteral("Otra"));
        mensajes_.programarRespuestas({QStringLiteral("SI")});
        ventana->Close();
        const QString pregunta = mensajes_.textos().value(0);
        EXPECT_EQ(mensajes_.textos().size(), 1);
        delete ventana.data();
        return pregunta;
    }
};

const QStringList kGamaG1 = {
    QStringLiteral("INSERT INTO GCNTROL (Codigo, Descripcion, Modalidad) VALUES ('G1', 'Eje', 'Normal')"),
    QStringLiteral("INSERT INTO LGCNTROL (Codigo, Linea, Descripcion) VALUES ('G1', 1, 'Diametro')"),
    QStringLiteral("INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('G1', 1, 'B', 'Cambio')")};

void proyecto1(TfPROYPROY &v) { v.Table1->dataSet().locate(QStringLiteral("Codigo"), QStringLiteral("1")); }

TEST_P(RejillasVentanasTest, TabAndEnterGoThroughTheColumnsOfEveryGridInOrder)
{
    EXPECT_EQ(recorrerVentana<TfCALIGAMA>(kGamaG1), (QStringList{"DBGrid1", "DBGrid2"}));
    EXPECT_EQ(recorrerVentana<TfPROYPROY>({}, proyecto1), QStringList{"DBGrid1"});
    EXPECT_EQ(recorrerVentana<TfPROYNTEC>({QStringLiteral("INSERT INTO NTECNICA (NotaTecnica, Descripcion, NivelUrgencia, "
                                                          "Situacion, NivelPrioridad) VALUES (1, 'Nota', 'Error', "
                                                          "'Pendiente', 'Maxima')")}),
              QStringList{"DBGrid1"});
    EXPECT_EQ(recorrerVentana<TfPROYVERS>(
                  {QStringLiteral("INSERT INTO NOTVERS (NumeroNotificacion, Descripcion) VALUES (1, 'Cambio')")}),
              QStringList{"DBGrid1"});
}

TEST_P(RejillasVentanasTest, ClosingAsksOnlyForWhatWasTypedAndNamesTheGridsAsShown)
{
    const auto pregunta = [](const char *ventana, const char *rejilla) {
        return QStringLiteral("Hay registros de %1 (%2, )  cuya grabación no ha sido confirmada. ¿Desea cancelar la "
                              "grabación?")
            .arg(QString::fromUtf8(ventana), QString::fromUtf8(rejilla));
    };
    EXPECT_EQ(cerrarVentana<TfPROYNTEC>(QStringLiteral("Descripcion"), {}),
              pregunta("Introducción de Notas Técnicas", "Introducción de Notas Técnicas"));
    EXPECT_EQ(cerrarVentana<TfPROYVERS>(QStringLiteral("Descripcion"), {}),
              pregunta("Notificaciones de Cambios de Versión", "Notificaciones de Cambios de Versión"));
    EXPECT_EQ(cerrarVentana<TfCALIGAMA>(QStringLiteral("Descripcion"), kGamaG1),
              pregunta("Maestro de Gamas de Control", "Generales"));
    EXPECT_EQ(sql("SELECT Descripcion FROM LGCNTROL WHERE Linea = 7"), "Nueva");
    EXPECT_EQ(cerrarVentana<TfPROYPROY>(QStringLiteral("Descripcion"), {}, proyecto1),
              pregunta("Maestro de Proyectos", "Capítulos (Hitos)"));
}

TEST_P(RejillasVentanasTest, ANewRecordsDetailGridsAreEmpty)
{
    EXPECT_EQ(agregarVentana<TfCALIGAMA>(kGamaG1), (QStringList{"DBGrid1", "DBGrid2"}));
    EXPECT_EQ(agregarVentana<TfPROYPROY>({}, proyecto1), (QStringList{"DBGrid1", "DBGrid2"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, RejillasVentanasTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &i) { return i.param ? "PostgreSQL" : "SQLite"; });

} // namespace
