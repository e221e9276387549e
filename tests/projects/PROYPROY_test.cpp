// The project master over the sample company, on SQLite and PostgreSQL.
#include "ProyectoMuestra.h"
#include "ProyectosFixture.h"
#include "TextosPintados.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Menus.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/Application.h"
#include "platform/ui/Colors.h"
#include "projects/proyectos/ListadoGrafico.h"
#include "projects/proyectos/PROYLPRO.h"
#include "projects/proyectos/PROYPROY.h"
#include "tests/platform/engine/OtherProgramFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>

namespace {

class MaestroProyectosTest : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        cargarProyectoMuestra();
        if (HasFatalFailure())
            return;
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        delete ventana_.data();
        ProyectosMotorTest::TearDown();
    }

    // The window on project "1", its chapter grid focused.
    TfPROYPROY &abrir()
    {
        ventana_ = ventanaPrograma<TfPROYPROY>();
        cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("1"));
        ventana_->DBGrid1->setFocus();
        mensajes_.limpiar();
        return *ventana_;
    }

    plat::DataSet &cabecera() { return ventana_->Table1->dataSet(); }
    plat::DataSet &lineas() { return ventana_->Table2->dataSet(); }
    plat::Field &campo(const char *nombre) { return lineas().fieldByName(QString::fromLatin1(nombre)); }

    // Linea:Descripcion of a project's lines in number order.
    QString lineasDe(const QString &codigo)
    {
        return sql(QStringLiteral("SELECT Linea, Descripcion FROM LPROYECT WHERE CodigoProyecto = '%1' ORDER BY Linea")
                       .arg(codigo));
    }

    // Every stored value of a line but its project and number, as the database answers them.
    QString valoresLinea(const QString &codigo, int linea)
    {
        return sql(QStringLiteral("SELECT Capitulo, Descripcion, DescripcionAmpliada, DescripcionAbreviada, FechaInicio, "
                                  "FechaFinal, TiempoPrevisto, GradoAvance, Responsable, Importe FROM LPROYECT "
                                  "WHERE CodigoProyecto = '%1' AND Linea = %2")
                       .arg(codigo)
                       .arg(linea));
    }

    QString ladosDe(const QString &codigo)
    {
        return sql(QStringLiteral("SELECT COUNT(*) FROM BLOBTAB WHERE ClaveTabla = '%1'").arg(codigo)) + u'/'
            + sql(QStringLiteral("SELECT COUNT(*) FROM DOCUTRON WHERE ClaveTabla = '%1'").arg(codigo)) + u'/'
            + sql(QStringLiteral("SELECT COUNT(*) FROM CONTACTO WHERE CodigoTabla = '%1'").arg(codigo));
    }

    void pulsar(QObject *emisor, int tecla, plat::ShiftState estado = {})
    {
        if (emisor == ventana_->DBGrid1)
            ventana_->DBGrid1KeyDown(emisor, tecla, estado);
        else
            ventana_->FormKeyDown(emisor, tecla, estado);
    }

    // A new line with a description, saved as the save button does.
    void nuevaLinea(const QString &descripcion)
    {
        TfPROYPROY &f = *ventana_;
        if (lineas().state() != plat::DataSetState::Insert)
            lineas().append();
        campo("Descripcion").setAsString(descripcion);
        f.GrabarDatos(&f);
    }

    // The window shown and active on the chapter page, its grid focused, as a person finds it.
    void mostrarCapitulos()
    {
        TfPROYPROY &f = *ventana_;
        f.Show();
        // Wide enough for every column of the chapter grid.
        for (QWidget *w = &f; w; w = w->parentWidget())
            w->resize(std::max(w->width(), 1500), std::max(w->height(), 560));
        QApplication::setActiveWindow(f.window());
        f.PageControl1->setActivePage(f.PagCapitulos);
        f.DBGrid1->setFocus();
    }

    QWidget *editorCelda() const
    {
        QWidget *w = QApplication::focusWidget();
        return w && ventana_->DBGrid1->viewport()->isAncestorOf(w) ? w : nullptr;
    }

    // The cell of the chapter grid made current, then typed into: the first key opens its
    // editor, the rest go to the editor.
    void teclear(int columna, const QString &texto)
    {
        plat::DBGrid *rejilla = ventana_->DBGrid1;
        if (rejilla->currentIndex().column() != columna || !editorCelda()) {
            rejilla->setCurrentIndex(rejilla->model()->index(rejilla->currentIndex().row(), columna));
            QTest::keyClick(rejilla, texto.at(0).toLatin1());
            ASSERT_NE(editorCelda(), nullptr) << "no cell editor for " << texto.toStdString();
            QTest::keyClicks(editorCelda(), texto.mid(1));
            return;
        }
        // Enter moved on into the next cell's editor, which takes the keys.
        QTest::keyClicks(editorCelda(), texto);
    }

    // The texts painted in a cell of the chapter grid.
    QStringList textosCelda(int fila, int columna)
    {
        plat::DBGrid *rejilla = ventana_->DBGrid1;
        const TextosPintados textos(*rejilla->viewport());
        return textos.en(rejilla->visualRect(rejilla->model()->index(fila, columna)));
    }

    QPointer<TfPROYPROY> ventana_;
};

QDateTime Dia(int anyo, int mes, int dia) { return FechaHora(QDate(anyo, mes, dia)); }

// ---- numbering -------------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, LinesAreNumberedInEntryOrderAndInsertOpensAGapBeforeTheCurrentLine)
{
    TfPROYPROY &f = abrir();
    cabecera().locate("Codigo", "2");
    for (const char *d : {"Uno", "Dos", "Tres", "Cuatro"})
        nuevaLinea(QString::fromLatin1(d));
    f.pbCancelarClick(&f);   // the empty line that follows
    EXPECT_EQ(lineasDe("2"), "1|Uno\r\n2|Dos\r\n3|Tres\r\n4|Cuatro");

    ASSERT_TRUE(lineas().locate("Linea", 3));
    f.DBGrid1->setFocus();
    pulsar(&f, plat::VK_INSERT);
    ASSERT_EQ(lineas().state(), plat::DataSetState::Insert);
    campo("Descripcion").setAsString("Nueva");
    f.GrabarDatos(&f);
    f.pbCancelarClick(&f);
    EXPECT_EQ(lineasDe("2"), "1|Uno\r\n2|Dos\r\n3|Nueva\r\n4|Tres\r\n5|Cuatro");

    // With duplication on, the new line copies the line at the insertion point.
    pulsar(&f, plat::VK_F5, plat::ssCtrl);
    ASSERT_TRUE(lineas().locate("Linea", 2));
    pulsar(&f, plat::VK_INSERT);
    EXPECT_EQ(campo("Descripcion").asString(), "Dos");
    f.GrabarDatos(&f);
    f.pbCancelarClick(&f);
    EXPECT_EQ(lineasDe("2"), "1|Uno\r\n2|Dos\r\n3|Dos\r\n4|Nueva\r\n5|Tres\r\n6|Cuatro");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

// An insertion in the middle moves no stored line until the new line is written, and then in
// the same transaction: Esc leaves the lines as they were, and so does a refused write.
TEST_P(MaestroProyectosTest, InsertInTheMiddleMovesTheLinesOnlyWithTheNewLinesWrite)
{
    TfPROYPROY &f = abrir();
    const QString guardadas = lineasDe("1");
    for (bool rechazada : {false, true}) {
        if (rechazada)
            rechazar("LPROYECT", "INSERT");
        ASSERT_TRUE(lineas().locate("Linea", 2));
        pulsar(&f, plat::VK_INSERT);
        ASSERT_EQ(lineas().state(), plat::DataSetState::Insert);
        EXPECT_EQ(lineasDe("1"), guardadas) << "nothing is moved before the line is written";
        campo("Descripcion").setAsString("Nueva");
        if (rechazada)
            f.GrabarDatos(&f);
        f.pbCancelarClick(&f);
        EXPECT_EQ(lineasDe("1"), guardadas);
    }
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ La línea no ha sido grabada !"});
    EXPECT_FALSE(fGENEINIC->Database().inTransaction());
}

TEST_P(MaestroProyectosTest, ALinePostedWhileTheHeaderIsInsertedIsFollowedByANewLine)
{
    TfPROYPROY &f = abrir();
    f.AgregarClick(&f);
    const QString codigo = cabecera().fieldByName("Codigo").asString();
    lineas().append();
    campo("Descripcion").setAsString("Primera");
    f.DBGrid1->setSelectedIndex(4);
    lineas().post();
    EXPECT_EQ(lineas().state(), plat::DataSetState::Insert);
    EXPECT_EQ(f.DBGrid1->selectedIndex(), 0);
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM LPROYECT WHERE CodigoProyecto = '%1'").arg(codigo)), "1");
}

// ---- defaults --------------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, ANewProjectAndANewLineStartFromTheirDefaults)
{
    TfPROYPROY &f = abrir();
    f.AgregarClick(&f);
    plat::DataSet &p = cabecera();
    // "X-90" is no number: the highest numeric code is 2.
    EXPECT_EQ(p.fieldByName("Codigo").asString(), "3");
    EXPECT_EQ(p.fieldByName("Situacion").asString(), "Abierto");
    const QDateTime hoy = FechaHora(Ahora().date());
    EXPECT_EQ(p.fieldByName("FechaAceptacion").asDateTime(), hoy);
    EXPECT_EQ(p.fieldByName("FechaEntrega").asDateTime(), hoy);
    // Entering the chapters saves the new project and starts no other.
    f.DBGrid1Enter(f.DBGrid1);
    EXPECT_EQ(p.state(), plat::DataSetState::Browse);
    EXPECT_EQ(sql("SELECT Situacion FROM PROYECT WHERE Codigo = '3'"), "Abierto");

    cabecera().locate("Codigo", "1");
    lineas().append();
    EXPECT_EQ(campo("Responsable").asInteger(), 3);   // the project's director
    EXPECT_EQ(campo("CodigoProyecto").asString(), "1");
}

// ---- validation ------------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, ALineIsCheckedOnPostAndOnLeavingItsColumns)
{
    TfPROYPROY &f = abrir();
    ASSERT_TRUE(lineas().locate("Linea", 6));
    lineas().edit();
    campo("GradoAvance").setAsString("5");
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ El valor \"5\" de la columna \"G.Avance\" no es correcto !"});
    EXPECT_EQ(lineas().state(), plat::DataSetState::Edit);
    campo("GradoAvance").setAsString("");
    campo("FechaFinal").setAsDateTime(Dia(2026, 10, 1));
    mensajes_.limpiar();
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡La Fecha Inicio no puede ser mayor que la Fecha Final!"});
    campo("FechaFinal").setAsDateTime(Dia(2026, 11, 20));
    mensajes_.limpiar();
    f.GrabarDatos(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(lineas().state(), plat::DataSetState::Browse);

    // Leaving a column: the chapter becomes the short label, the first start is kept.
    lineas().append();
    campo("Capitulo").setAsString("0004");
    f.DBGrid1->setSelectedField(&campo("Capitulo"));
    f.DBGrid1ColExit(f.DBGrid1);
    EXPECT_EQ(campo("DescripcionAbreviada").asString(), "0004");
    campo("FechaInicio").setAsDateTime(Dia(2027, 2, 1));
    f.DBGrid1->setSelectedField(&campo("FechaInicio"));
    f.DBGrid1ColExit(f.DBGrid1);
    campo("FechaInicio").setAsDateTime(Dia(2027, 2, 8));
    f.DBGrid1ColExit(f.DBGrid1);
    EXPECT_EQ(campo("FechaInicioOriginal").asDateTime(), Dia(2027, 2, 1));
    campo("FechaFinal").setAsDateTime(Dia(2027, 2, 5));
    EXPECT_THROW(f.DBGrid1ColExit(f.DBGrid1), gp::Abort);
}

TEST_P(MaestroProyectosTest, TheCustomerCodeIsLookedUp)
{
    TfPROYPROY &f = abrir();
    cabecera().locate("Codigo", "2");
    cabecera().edit();
    cabecera().fieldByName("CodigoCliente").setAsInteger(99);
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡No existe el cliente!"});
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Edit);
    cabecera().fieldByName("CodigoCliente").setAsInteger(7);
    f.GrabarDatos(&f);
    EXPECT_EQ(sql("SELECT NombreCliente, PersonaContacto, Telefono FROM PROYECT WHERE Codigo = '2'"),
              "Construcciones Ebro|Marta Lasheras|976 123 456");
}

// The searches answer the first key value chosen (a cancelled one changes nothing); the memo
// editor fills the long description.
TEST_P(MaestroProyectosTest, SearchesAndTheMemoEditorFillTheirFields)
{
    TfPROYPROY &f = abrir();
    const auto buscar = [](const char *dato) {
        plat::application().OnModalShown = [dato](plat::Form &form) {
            auto &busqueda = static_cast<TfGENEBUSQ &>(form);
            if (!dato) {
                QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Escape);
                return;
            }
            busqueda.DatoABuscar->clear();
            QTest::keyClicks(busqueda.DatoABuscar, QString::fromLatin1(dato));
            QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Return);
            QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
        };
    };
    form_->UsuarioActual = QStringLiteral("ADMIN");
    fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    const auto sinBusqueda = qScopeGuard([] { delete fGENEBUSQ; });
    cabecera().locate("Codigo", "2");
    buscar(nullptr);
    f.BuscarDatosDBEdit(f.EditCodigoCliente);
    EXPECT_EQ(cabecera().fieldByName("CodigoCliente").asInteger(), 0);
    buscar("7");
    f.BuscarDatosDBEdit(f.EditCodigoCliente);
    EXPECT_EQ(cabecera().fieldByName("CodigoCliente").asInteger(), 7);
    f.pbCancelarClick(&f);

    cabecera().locate("Codigo", "1");
    ASSERT_TRUE(lineas().locate("Linea", 2));
    // The ellipsis of the long description opens the memo editor on the line.
    fGENEVMEM = plat::createForm<TfGENEVMEM>();
    const auto sinEditor = qScopeGuard([] {
        delete fGENEVMEM;
        fGENEVMEM = nullptr;
    });
    QString titulo;
    plat::application().OnModalShown = [&titulo](plat::Form &form) {
        titulo = form.caption();
        fGENEVMEM->DBMemo->setText(QStringLiteral("Planos de planta y alzado"));
        QTest::keyClick(fGENEVMEM->DBMemo, Qt::Key_Escape);
    };
    f.DBGrid1EditButtonClick(f.DBGrid1);
    EXPECT_EQ(titulo, "Capítulo 0001.01 - Descripción Ampliada");
    EXPECT_EQ(campo("DescripcionAmpliada").asString(), "Planos de planta y alzado");

    f.DBGrid1->setSelectedField(&campo("Responsable"));
    buscar("5");
    f.DBGrid1DblClick(f.DBGrid1);
    EXPECT_EQ(campo("Responsable").asInteger(), 5);
    f.GrabarDatos(&f);
    EXPECT_EQ(sql("SELECT Responsable, DescripcionAmpliada FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = 2"),
              "5|Planos de planta y alzado");
}

// A date the engine keeps as its zero default (a row written outside the window) is no date:
// the window shows it empty from its first paint.
TEST_P(MaestroProyectosTest, AZeroDateShowsEmptyFromTheFirstPaint)
{
    ASSERT_EQ(sql("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('00', 'Sin fechas')"), QString());
    ventana_ = ventanaPrograma<TfPROYPROY>();
    TfPROYPROY &f = *ventana_;
    ASSERT_EQ(cabecera().fieldByName("Codigo").asString(), "00");
    ASSERT_EQ(cabecera().fieldByName("FechaFinalizacion").asString(), "30/12/1899");
    for (plat::DBEdit *e : {f.EditFechaAceptacion, f.EditFechaEntrega, f.EditFechaFinalizacion})
        EXPECT_EQ(e->text(), "") << e->objectName().toStdString();
}

// ---- failures --------------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, RefusedWritesKeepWhatWasTypedWithTheirMessages)
{
    TfPROYPROY &f = abrir();
    rechazar("PROYECT", "UPDATE");
    rechazar("PROYECT", "INSERT");
    rechazar("LPROYECT", "UPDATE");
    rechazar("LPROYECT", "INSERT");
    rechazar("LPROYECT", "DELETE");
    struct Caso
    {
        const char *descripcion;
        std::function<void()> hacer;
        const char *mensaje;
    };
    const QList<Caso> casos = {
        {"header edit", [&] { cabecera().edit(); cabecera().fieldByName("Descripcion").setAsString("Otra"); f.GrabarDatos(&f); },
         "¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario."},
        {"header insert", [&] { f.AgregarClick(&f); f.GrabarDatos(&f); f.pbCancelarClick(&f); },
         "¡ El registro no ha sido grabado !"},
        {"line edit", [&] { lineas().edit(); campo("Descripcion").setAsString("Otra"); f.GrabarDatos(&f); },
         "¡ No se puede grabar la línea porque está bloqueada por otro usuario o porque el dato introducido no es válido !"},
        {"line delete", [&] { mensajes_.programarRespuestas({"SI"}); pulsar(f.DBGrid1, plat::VK_DELETE, plat::ssCtrl); },
         "¡No ha sido posible eliminar la línea!"},
        {"line insert", [&] { lineas().append(); campo("Descripcion").setAsString("Otra"); f.GrabarDatos(&f); },
         "¡ La línea no ha sido grabada !"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.descripcion);
        f.pbCancelarClick(&f);
        cabecera().locate("Codigo", "1");
        lineas().first();
        mensajes_.limpiar();
        c.hacer();
        EXPECT_TRUE(mensajes_.textos().contains(QString::fromUtf8(c.mensaje))) << mensajes_.textos().join('\n').toStdString();
        // What was typed stays, in edit, to be saved again or cancelled.
        const bool enLinea = QByteArray(c.descripcion).startsWith("line");
        plat::DataSet &editado = enLinea ? lineas() : cabecera();
        if (QByteArray(c.descripcion).endsWith("edit") || c.descripcion == QByteArrayLiteral("line insert")) {
            EXPECT_NE(editado.state(), plat::DataSetState::Browse);
            EXPECT_EQ(editado.fieldByName("Descripcion").asString(), "Otra");
        }
    }
    // A refused new line stays as typed.
    EXPECT_EQ(lineas().state(), plat::DataSetState::Insert);
    f.pbCancelarClick(&f);
    EXPECT_EQ(sql("SELECT Descripcion FROM PROYECT WHERE Codigo = '1'"), "Nave industrial Cuarte");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT"), "3");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'"), "7");
    EXPECT_EQ(sql("SELECT Descripcion FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = 1"), "Proyecto y licencias");
}

// ---- deleting --------------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, AProjectGoesWithItsLinesAndSideRowsOrNotAtAll)
{
    TfPROYPROY &f = abrir();
    rechazar("PROYECT", "DELETE");
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(mensajes_.textos(), (QStringList{"¿Está seguro de querer eliminar el registro y todas sus líneas?",
                                               "¡ Se ha producido un error eliminando el registro !"}));
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'"), "7");
    EXPECT_EQ(ladosDe("1"), "1/1/1");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT WHERE Codigo = '1'"), "1");
    EXPECT_EQ(lineas().recordCount(), 7);

    sql(GetParam() ? "DROP TRIGGER gp_rechazo_proyect_delete ON PROYECT" : "DROP TRIGGER gp_rechazo_proyect_delete");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT WHERE Codigo = '1'"), "1");
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT WHERE Codigo = '1'"), "0");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'"), "0");
    EXPECT_EQ(ladosDe("1"), "0/0/0");
    EXPECT_EQ(lineasDe("2"), "");   // other projects untouched
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT"), "2");
}

TEST_P(MaestroProyectosTest, CtrlDeleteAsksBeforeDeletingALine)
{
    TfPROYPROY &f = abrir();
    ASSERT_TRUE(lineas().locate("Linea", 4));
    mensajes_.programarRespuestas({"NO", "SI"});
    int tecla = plat::VK_DELETE;
    f.DBGrid1KeyDown(f.DBGrid1, tecla, plat::ssCtrl);
    EXPECT_EQ(tecla, 0);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'"), "7");
    pulsar(f.DBGrid1, plat::VK_DELETE, plat::ssCtrl);
    EXPECT_EQ(mensajes_.textos(), (QStringList{"¿ Está seguro de querer eliminar la linea ?",
                                               "¿ Está seguro de querer eliminar la linea ?"}));
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = 4"), "0");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'"), "6");
}

TEST_P(MaestroProyectosTest, CancellingANewProjectClearsOnlyTheSideRowsOfAnUnsavedCode)
{
    TfPROYPROY &f = abrir();
    f.AgregarClick(&f);
    ASSERT_EQ(cabecera().fieldByName("Codigo").asString(), "3");
    sql("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('PROYECT', '3', 'Boceto')");
    f.pbSalir->setFocus();
    f.pbCancelarClick(&f);
    EXPECT_EQ(ladosDe("3"), "0/0/0");

    // Meanwhile another user saved project 3 with its documents.
    f.AgregarClick(&f);
    sql("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('3', 'De otro usuario')");
    sql("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('PROYECT', '3', 'Suyo')");
    f.pbSalir->setFocus();
    f.pbCancelarClick(&f);
    EXPECT_EQ(ladosDe("3"), "0/1/0");
}

// The buttons follow whichever table edits; the work table is the window's from its first
// use while it is open and is kept, emptied, for its next use in the run.
TEST_P(MaestroProyectosTest, ControlsFollowBothTablesAndTheWorkTableIsKeptForTheNextOpening)
{
    TfPROYPROY &f = abrir();
    const auto editando = [&f] {
        return f.pbConforme->isEnabled() && f.pbCancelar->isEnabled() && !f.pbAgregar->isEnabled()
            && !f.pbEliminar->isEnabled() && !f.pbRefrescar->isEnabled();
    };
    const auto navegando = [&f] {
        return !f.pbConforme->isEnabled() && !f.pbCancelar->isEnabled() && f.pbAgregar->isEnabled()
            && f.pbEliminar->isEnabled() && f.pbRefrescar->isEnabled();
    };
    EXPECT_TRUE(navegando());
    lineas().edit();
    EXPECT_TRUE(editando());
    lineas().cancel();
    EXPECT_TRUE(navegando());
    cabecera().edit();
    lineas().edit();
    lineas().cancel();
    EXPECT_TRUE(editando());
    cabecera().cancel();
    EXPECT_TRUE(navegando());

    plat::TableDataSet &temporal = f.Temporal->table();
    EXPECT_FALSE(temporal.active());   // opening the window makes no work table
    ASSERT_TRUE(f.abrirTablaTrabajo());
    ASSERT_TRUE(temporal.active());
    EXPECT_EQ(temporal.fieldNames(), (QStringList{"CampoClave", "Datos"}));
    EXPECT_EQ(temporal.fieldByName("Datos").size(), 200);
    plat::Connection *conexion = temporal.connection();
    ASSERT_TRUE(conexion);
    const QString tablaTrabajo = temporal.tableName();
    const QString cuenta = QStringLiteral("SELECT COUNT(*) FROM %1").arg(tablaTrabajo);
    EXPECT_EQ(conexion->scalar(cuenta).toInt(), 0);
    conexion->exec(QStringLiteral("INSERT INTO %1 (CampoClave, Datos) VALUES ('k', 'd')").arg(tablaTrabajo));
    f.Close();
    QApplication::sendPostedEvents();
    EXPECT_FALSE(ventana_);

    // The table stays for the window's next use of it, which empties it: a column added
    // meanwhile is still there, which a table made anew would not have.
    EXPECT_EQ(conexion->scalar(cuenta).toInt(), 1);
    conexion->exec(QStringLiteral("ALTER TABLE %1 ADD Marca INTEGER").arg(tablaTrabajo));
    TfPROYPROY &otra = abrir();
    ASSERT_TRUE(otra.abrirTablaTrabajo());
    ASSERT_TRUE(otra.Temporal->table().active());
    EXPECT_EQ(otra.Temporal->table().tableName(), tablaTrabajo);
    EXPECT_EQ(conexion->scalar(QStringLiteral("SELECT COUNT(Marca) + COUNT(*) FROM %1").arg(tablaTrabajo)).toInt(), 0);
}

// Opening the window on a project whose dates and customer are empty, walking the projects
// and passing through its controls without typing leave every row as it was.
TEST_P(MaestroProyectosTest, OpeningAndBrowsingWriteNothingAndEmptyValuesStayEmpty)
{
    // Written by another program: the columns' defaults do not apply to explicit NULLs.
    ASSERT_EQ(sql("INSERT INTO PROYECT (Codigo, Descripcion, CodigoCliente, NombreCliente, Director, FechaAceptacion, "
                  "FechaEntrega, FechaFinalizacion, Situacion) VALUES ('N-1', 'Sin datos', NULL, NULL, NULL, NULL, NULL, "
                  "NULL, NULL)"),
              QString());
    const QString vacios = QStringLiteral(
        "SELECT COUNT(*) FROM PROYECT WHERE Codigo = 'N-1' AND CodigoCliente IS NULL AND FechaAceptacion IS NULL "
        "AND FechaEntrega IS NULL AND FechaFinalizacion IS NULL AND Director IS NULL AND Situacion IS NULL");
    ASSERT_EQ(sql(vacios), "1");
    const QString todo = QStringLiteral("SELECT * FROM PROYECT ORDER BY Codigo");
    const QString antes = sql(todo);
    const QString lineasAntes = sql(QStringLiteral("SELECT * FROM LPROYECT ORDER BY CodigoProyecto, Linea"));

    ventana_ = ventanaPrograma<TfPROYPROY>();
    TfPROYPROY &f = *ventana_;
    f.Show();
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("N-1")));
    for (QWidget *control : std::initializer_list<QWidget *>{f.EditCodigoCliente, f.EditFechaAceptacion, f.EditFechaEntrega,
                                                            f.EditFechaFinalizacion, f.EditDirector, f.EditDescripcion}) {
        control->setFocus();
        QApplication::processEvents();
    }
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Browse);
    for (cabecera().first(); !cabecera().eof(); cabecera().next())
        EXPECT_EQ(cabecera().state(), plat::DataSetState::Browse) << cabecera().fieldByName("Codigo").asString().toStdString();
    f.pbPrimeroClick(nullptr);
    f.pbUltimoClick(nullptr);
    f.pbAnteriorClick(nullptr);
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("N-1")));
    f.DBGrid1->setFocus();
    QApplication::processEvents();
    f.Close();
    QApplication::sendPostedEvents();
    EXPECT_FALSE(ventana_);

    EXPECT_EQ(sql(vacios), "1");
    EXPECT_EQ(sql(todo), antes);
    EXPECT_EQ(sql(QStringLiteral("SELECT * FROM LPROYECT ORDER BY CodigoProyecto, Linea")), lineasAntes);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

// ---- order and pages -------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, TheOrderComboAndThePagesSetTheLinesAndTools)
{
    TfPROYPROY &f = abrir();
    sql("UPDATE LPROYECT SET Capitulo = '0001.01' WHERE CodigoProyecto = '1' AND Linea = 7");
    sql("UPDATE LPROYECT SET Capitulo = '0002' WHERE CodigoProyecto = '1' AND Linea = 2");
    sql("DELETE FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea IN (3, 4, 5, 6)");
    f.Modalidad->setItemIndex(2);
    f.ModalidadChange(f.Modalidad);
    QStringList capitulos;
    for (lineas().first(); !lineas().eof(); lineas().next())
        capitulos << campo("Capitulo").asString();
    EXPECT_EQ(capitulos, (QStringList{"0001", "0001.01", "0002"}));
    f.Modalidad->setItemIndex(0);
    f.ModalidadChange(f.Modalidad);
    lineas().first();
    EXPECT_EQ(campo("Linea").asInteger(), 1);
    lineas().last();
    EXPECT_EQ(campo("Linea").asInteger(), 7);

    for (plat::TabSheet *pagina : {f.PagGrafico, f.PagCapitulos, f.PagGrafico, f.PagGeneral}) {
        f.PageControl1->setActivePage(pagina);
        const bool grafico = pagina == f.PagGrafico;
        for (QWidget *w : {static_cast<QWidget *>(f.VerDias), static_cast<QWidget *>(f.Modalidad),
                           static_cast<QWidget *>(f.pbImprimir), static_cast<QWidget *>(f.pbImprimirApaisado)})
            EXPECT_EQ(w->isEnabled(), grafico) << w->objectName().toStdString() << " " << pagina->caption().toStdString();
    }
}

// ---- chapter figures -------------------------------------------------------------------------

TEST_P(MaestroProyectosTest, EachLineShowsItsChaptersPlan)
{
    abrir();
    ASSERT_TRUE(lineas().locate("Linea", 4));   // "0002": 0002.01 and 0002.01.01
    EXPECT_EQ(campo("FechaInicioCapitulo").asDateTime(), Dia(2026, 11, 2));
    EXPECT_EQ(campo("FechaFinalCapitulo").asDateTime(), Dia(2026, 11, 27));
    EXPECT_DOUBLE_EQ(campo("TiempoPrevistoCapitulo").asFloat(), 220);
    EXPECT_EQ(campo("Responsable").displayText(), "Ana Ruiz");
    EXPECT_EQ(campo("Responsable").text(), "3");
}

// The lines of a project just made, each saved, are numbered on and show their chapter's plan
// from the rows the window holds, as a read of the stored lines gives it.
TEST_P(MaestroProyectosTest, LinesOfANewProjectAreNumberedAndPlannedFromTheRowsHeld)
{
    TfPROYPROY &f = abrir();
    plat::Connection &conexion = fGENEINIC->Database();
    f.AgregarClick(&f);
    f.DBGrid1Enter(f.DBGrid1);   // entering the chapters saves the project
    ASSERT_EQ(cabecera().state(), plat::DataSetState::Browse);
    const QString codigo = cabecera().fieldByName("Codigo").asString();
    const struct
    {
        const char *capitulo;
        QDateTime inicio, final_;
        double horas;
    } nuevas[] = {
        {"0001", Dia(2026, 10, 1), Dia(2026, 12, 20), 30},
        {"0001.01", Dia(2026, 9, 5), Dia(2026, 11, 6), 4},   // widens the chapter above it
        {"0002", {}, {}, 0},                                 // a chapter without dates
        {"0001.02", Dia(2026, 10, 2), Dia(2027, 1, 8), 2.5},
    };
    int linea = 0;
    for (const auto &n : nuevas) {
        SCOPED_TRACE(n.capitulo);
        if (lineas().state() != plat::DataSetState::Insert)
            lineas().append();
        campo("Capitulo").setAsString(n.capitulo);
        if (n.inicio.isValid()) {
            campo("FechaInicio").setAsDateTime(n.inicio);
            campo("FechaFinal").setAsDateTime(n.final_);
        }
        campo("TiempoPrevisto").setAsFloat(n.horas);
        campo("Descripcion").setAsString(QStringLiteral("Nueva"));
        const quint64 antes = conexion.statementsSent();
        f.GrabarDatos(&f);
        const quint64 enviadas = conexion.statementsSent() - antes;
        if (conexion.engine() == plat::EngineKind::PostgreSQL)
            EXPECT_EQ(enviadas, 1u);   // the write alone: no number, page or plan read again
        if (lineas().state() == plat::DataSetState::Insert)
            lineas().cancel();   // the next line, started at once
        ASSERT_TRUE(lineas().locate("Linea", ++linea));
        // A module of its own reads the stored lines for the plan.
        TMDProyectos lector;
        const PlanProyecto leido = lector.CalcularPlanProyecto(codigo, QString::fromLatin1(n.capitulo));
        EXPECT_DOUBLE_EQ(campo("TiempoPrevistoCapitulo").asFloat(), leido.TiempoPrevisto);
        if (leido.FechaInicio != FechaCero()) {
            EXPECT_EQ(campo("FechaInicioCapitulo").asDateTime(), leido.FechaInicio);
            EXPECT_EQ(campo("FechaFinalCapitulo").asDateTime(), leido.FechaFinal);
        }
    }
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

// The chapter grid's operators' names and chapter spans are read once and kept while nothing
// changes: going to another project and back, and repainting, read only the lines. Another
// program's saves show after a refresh.
TEST_P(MaestroProyectosTest, NamesAndSpansAreKeptUntilARefreshShowsAnotherProgramsSaves)
{
    TfPROYPROY &f = abrir();
    mostrarCapitulos();
    QCoreApplication::processEvents();
    const auto pintados = [&] {
        QStringList textos;
        const TextosPintados pintura(*f.DBGrid1->viewport());
        for (const TextosPintados::Texto &t : pintura.textos())
            textos << t.texto;
        return textos;
    };
    ASSERT_TRUE(pintados().contains("Luis Peña"));
    plat::Connection &conexion = fGENEINIC->Database();
    const quint64 antes = conexion.statementsSent();
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("2")));
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("1")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pintados().contains("Ana Ruiz"));
    // Each move reads the project, its lines and whether it has documents; the second
    // project's plan once (per line, and per operator shown, there would be two more each).
    EXPECT_LE(conexion.statementsSent() - antes, 8u);

    gptest::OtherProgram otro(conexion.location());
    otro.db().exec(QStringLiteral("UPDATE OPERARIO SET Nombre = 'Ana Ruiz Gil' WHERE Codigo = 3"));
    otro.db().exec(QStringLiteral("UPDATE LPROYECT SET FechaFinal = '2026-12-04 00:00:00' WHERE CodigoProyecto = '1' "
                                  "AND Linea = 5"));
    fGENEINIC->RefrescarDatos(&f);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pintados().contains("Ana Ruiz Gil"));
    ASSERT_TRUE(lineas().locate("Linea", 4));
    EXPECT_EQ(campo("FechaFinalCapitulo").asDateTime(), Dia(2026, 12, 4));
}

// A screen of the Gantt page works out its rows' chapter spans from one read of the project's
// lines, however many rows it shows, and reads them again at its next paint, so that a line
// changed meanwhile shows.
TEST_P(MaestroProyectosTest, AGanttScreenReadsItsProjectsLinesOnceAndAgainAtTheNextPaint)
{
    proyecto(QStringLiteral("G"), QStringLiteral("2024-03-04"), QStringLiteral("2024-06-28"));
    for (int n = 1; n <= 40; ++n) {
        const QDate inicio = QDate(2024, 3, 4).addDays(n);
        linea(QStringLiteral("G"), n, QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')), inicio.toString(Qt::ISODate),
              inicio.addDays(5).toString(Qt::ISODate), n, QStringLiteral("Terminado"));
    }
    TfPROYPROY &f = abrir();
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("G")));
    QWidget *marco = f.window();
    marco->resize(1200, 1400);
    marco->show();
    f.setBounds(0, 0, 1180, 1380);
    QCoreApplication::processEvents();
    plat::Connection &conexion = fGENEINIC->Database();
    f.PageControl1->setActivePage(f.PagGrafico);
    QCoreApplication::processEvents();
    plat::DBGrid &rejilla = *f.DBGrid2;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    const QRect celda = rejilla.visualRect(rejilla.model()->index(39, rejilla.columnCount() - 1));
    ASSERT_TRUE(celda.isValid() && celda.bottom() < imagen.height()) << "the last row is not on the screen";
    const auto sentenciasPintura = [&] {
        const quint64 antes = conexion.statementsSent();
        rejilla.viewport()->render(&imagen);
        return conexion.statementsSent() - antes;
    };
    // The project's row and its lines; per row there would be two for each of the 40.
    EXPECT_LE(sentenciasPintura(), 2u);

    // The last chapter's (red) bar ends further right once its line ends later.
    const auto finalBarra = [&] {
        rejilla.viewport()->render(&imagen);
        int ultimo = -1;
        for (int x = celda.left(); x <= celda.right(); ++x)
            if (plat::fromQColor(QColor::fromRgb(imagen.pixel(x, celda.top() + 8))) == plat::clRed)
                ultimo = x;
        return ultimo;
    };
    const int antes = finalBarra();
    ASSERT_GT(antes, celda.left());
    ASSERT_EQ(sql(QStringLiteral("UPDATE LPROYECT SET FechaFinal = '2024-06-20 00:00:00' WHERE CodigoProyecto = 'G' "
                                 "AND Linea = 40")),
              QString());
    EXPECT_GT(sentenciasPintura(), 0u);
    EXPECT_GT(finalBarra(), antes);

    // Moving to another project and back reads the rows of the screen again: their calculated
    // chapter spans come from one read of the project's lines too (the responsible operators'
    // names, which the grid reads per row as it repaints, are left out of the count).
    f.Operario->dataSet().close();
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("1")));
    QCoreApplication::processEvents();
    const quint64 antesVuelta = conexion.statementsSent();
    ASSERT_TRUE(cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("G")));
    rejilla.viewport()->render(&imagen);
    EXPECT_LE(conexion.statementsSent() - antesVuelta, 16u);   // per row there would be 160 more
    EXPECT_EQ(lineas().fieldByName(QStringLiteral("FechaFinalCapitulo")).asDateTime().date(), QDate(2024, 3, 10));
}

// ---- typed in the window -----------------------------------------------------------------------

// Lines are entered one after another from the keyboard: Down on the last line starts a new
// one, Down off it saves it and starts the next. What was typed shows in its cells until
// then; once saved, the line shows its chapter's figures.
TEST_P(MaestroProyectosTest, ChapterLinesAreTypedWithDownAndShowWhatWasTypedUntilSaved)
{
    TfPROYPROY &f = abrir();
    mostrarCapitulos();
    lineas().last();
    const int fila = f.DBGrid1->currentIndex().row() + 1;
    QTest::keyClick(f.DBGrid1, Qt::Key_Down);
    ASSERT_EQ(lineas().state(), plat::DataSetState::Insert);
    EXPECT_EQ(f.DBGrid1->currentIndex().row(), fila);
    teclear(1, QStringLiteral("Viales"));
    teclear(4, QStringLiteral("07/12/2026"));
    QTest::keyClick(editorCelda(), Qt::Key_Return);   // Enter moves on, as Tab
    EXPECT_EQ(f.DBGrid1->currentIndex().column(), 5);
    teclear(5, QStringLiteral("18/12/2026"));
    teclear(6, QStringLiteral("40"));
    QTest::keyClick(editorCelda(), Qt::Key_Return);
    ASSERT_EQ(lineas().state(), plat::DataSetState::Insert);
    EXPECT_EQ(textosCelda(fila, 4), QStringList{"07/12/2026"});
    EXPECT_EQ(textosCelda(fila, 5), QStringList{"18/12/2026"});
    EXPECT_EQ(textosCelda(fila, 6), QStringList{campo("TiempoPrevisto").displayText()});
    EXPECT_TRUE(campo("TiempoPrevisto").displayText().startsWith(u'4'));
    guardarCaptura(f, QStringLiteral("capitulos-linea-tecleada-") + (GetParam() ? "postgresql" : "sqlite"));

    QTest::keyClick(f.DBGrid1, Qt::Key_Down);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(sql("SELECT Descripcion, TiempoPrevisto FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = 8"),
              "Viales|40");
    EXPECT_EQ(lineas().state(), plat::DataSetState::Insert) << "the next line is started";
    EXPECT_EQ(f.DBGrid1->currentIndex().row(), fila + 1);
    // Saved, a line without chapter shows the figures of every line of the project.
    EXPECT_EQ(textosCelda(fila, 4), QStringList{"01/09/2026"});
    teclear(1, QStringLiteral("Jardines"));
    QTest::keyClick(editorCelda(), Qt::Key_Down);
    EXPECT_EQ(lineasDe("1").split("\r\n").mid(7), (QStringList{"8|Viales", "9|Jardines"}));
    guardarCaptura(f, QStringLiteral("capitulos-lineas-grabadas-") + (GetParam() ? "postgresql" : "sqlite"));
}

// The progress cell takes the first key typed over its text ("5" over "50"), and the
// column's check then refuses it; "Director" offers an operator created after the window
// opened as soon as it drops down.
TEST_P(MaestroProyectosTest, ProgressIsTypedOverAndTheDirectorListIsReadWhenItDropsDown)
{
    TfPROYPROY &f = abrir();
    mostrarCapitulos();
    ASSERT_TRUE(lineas().locate("Linea", 3));
    ASSERT_EQ(campo("GradoAvance").asString(), "50");
    teclear(7, QStringLiteral("5"));
    QWidget *editor = editorCelda();
    auto *lista = editor ? qobject_cast<QComboBox *>(editor) : nullptr;
    if (!lista && editor)
        lista = qobject_cast<QComboBox *>(editor->parentWidget());
    ASSERT_NE(lista, nullptr);
    EXPECT_EQ(lista->currentText(), "5");
    guardarCaptura(f, QStringLiteral("capitulos-grado-avance-") + (GetParam() ? "postgresql" : "sqlite"));
    QTest::keyClick(editorCelda(), Qt::Key_Return);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ El valor \"5\" de la columna \"G.Avance\" no es correcto !"});
    f.pbCancelarClick(&f);
    EXPECT_EQ(sql("SELECT GradoAvance FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = 3"), "50");

    f.PageControl1->setActivePage(f.PagGeneral);
    const int antes = f.EditDirector->count();
    ASSERT_EQ(sql("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (9, 'Eva Soler')"), QString());
    EXPECT_EQ(f.EditDirector->count(), antes);
    f.EditDirector->showPopup();
    EXPECT_EQ(f.EditDirector->count(), antes + 1);
    const int eva = f.EditDirector->findText(QStringLiteral("Eva Soler"));
    ASSERT_GE(eva, 0);
    guardarCaptura(f, QStringLiteral("director-operario-nuevo-") + (GetParam() ? "postgresql" : "sqlite"));
    f.EditDirector->hidePopup();
    f.EditDirector->setCurrentIndex(eva);
    emit f.EditDirector->activated(eva);
    EXPECT_EQ(cabecera().fieldByName("Director").asInteger(), 9);
    EXPECT_EQ(f.EditDirector->currentText(), "Eva Soler");
}

// Dates and titles fit the columns their widths were made for, in the font in use: the cells
// and titles are painted whole; the lines' menu shows its separator as a line.
TEST_P(MaestroProyectosTest, DatesAndTitlesFitTheirColumnsAndTheSeparatorHasNoText)
{
    TfPROYPROY &f = abrir();
    mostrarCapitulos();
    plat::DBGrid *rejilla = f.DBGrid1;
    const QFontMetrics letra = rejilla->fontMetrics();
    for (int columna : {4, 5})
        EXPECT_GE(rejilla->columnWidth(columna), letra.horizontalAdvance(QStringLiteral("07/12/2026")) + 4) << columna;
    // A title that does not fit is painted cut short ("Tiem…").
    const TextosPintados titulos(*rejilla->horizontalHeader());
    for (int columna : {3, 4, 5, 6, 7}) {
        const QString titulo = rejilla->column(columna)->TitleCaption;
        EXPECT_TRUE(std::any_of(titulos.textos().begin(), titulos.textos().end(),
                                [&](const TextosPintados::Texto &t) { return t.texto == titulo; }))
            << titulo.toStdString();
    }
    EXPECT_EQ(rejilla->column(6)->TitleCaption, "Tiempo");
    ASSERT_TRUE(lineas().locate("Linea", 7));
    EXPECT_EQ(textosCelda(rejilla->currentIndex().row(), 4), QStringList{"01/12/2026"});
    guardarCaptura(f, QStringLiteral("capitulos-anchos-") + (GetParam() ? "postgresql" : "sqlite"));

    plat::MenuItem *separador = f.PopupMenu1->Items()->Find(QStringLiteral("-"));
    ASSERT_NE(separador, nullptr);
    EXPECT_TRUE(separador->action()->isSeparator());
    EXPECT_TRUE(separador->action()->text().isEmpty());
}

// ---- line tools ------------------------------------------------------------------------------


TEST_P(MaestroProyectosTest, CopyCutAndPasteMoveWholeLinesIntoTheGapBeforeTheCurrentOne)
{
    sql("UPDATE LPROYECT SET Descripcion = 'Proyecto @ básico', DescripcionAmpliada = 'Primera línea\r\nSegunda línea', "
        "Importe = 1234.5, TiempoPrevisto = 7.5 WHERE CodigoProyecto = '1' AND Linea = 2");
    TfPROYPROY &f = abrir();
    const QString copiada = valoresLinea("1", 2);
    ASSERT_FALSE(copiada.isEmpty());
    EXPECT_FALSE(f.PegarLinea1->enabled());

    ASSERT_TRUE(lineas().locate("Linea", 2));
    f.CopiarLnea1Click(&f);
    EXPECT_TRUE(f.PegarLinea1->enabled());
    ASSERT_TRUE(lineas().locate("Linea", 3));
    f.PegarLinea1Click(&f);
    EXPECT_EQ(valoresLinea("1", 3), copiada);
    EXPECT_EQ(sql("SELECT Linea FROM LPROYECT WHERE CodigoProyecto = '1' AND Descripcion IN ('Licencia de obra', "
                  "'Estructura') ORDER BY Linea"),
              "4\r\n5");

    // Cut: the line leaves and lands under the number freed before the line pasted on.
    ASSERT_TRUE(lineas().locate("Linea", 1));
    f.CortarLinea1Click(&f);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = 1"), "0");
    ASSERT_TRUE(lineas().locate("Linea", 5));
    f.PegarLinea1Click(&f);
    EXPECT_EQ(lineasDe("1"), "2|Proyecto @ básico\r\n3|Proyecto @ básico\r\n4|Licencia de obra\r\n5|Proyecto y "
                             "licencias\r\n6|Estructura\r\n7|Cimentación\r\n8|Zapatas\r\n9|Cubierta y cerramientos");

    // Into another project, here one without lines: its line 1, every other value as copied.
    ASSERT_TRUE(lineas().locate("Linea", 3));
    f.CopiarLnea1Click(&f);
    ASSERT_TRUE(cabecera().locate("Codigo", "2"));
    f.PegarLinea1Click(&f);
    EXPECT_EQ(lineasDe("2"), "1|Proyecto @ básico");
    EXPECT_EQ(valoresLinea("2", 1), copiada);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'"), "8");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

// Three lines whose orders by number, by chapter and by start date all differ.
TEST_P(MaestroProyectosTest, RenumberingFollowsTheShownOrderAndSkipsALockedLine)
{
    const struct
    {
        int modalidad;
        QStringList capitulos;   // of lines 1, 2, 3
        const char *esperado;    // chapters of lines 1, 2, 3 afterwards
    } casos[] = {
        {0, {"2", "1", "1.1"}, "0001\r\n0002\r\n0003"},
        {2, {"2", "1", "1.1"}, "0003\r\n0001\r\n0002"},
        {1, {"2", "1", "1.1"}, "0001\r\n0003\r\n0002"},
        {2, {"0001.3", "0001.1", "0001.2"}, "0003\r\n0001\r\n0002"},
    };
    TfPROYPROY &f = abrir();
    for (const auto &c : casos) {
        sql("DELETE FROM LPROYECT WHERE CodigoProyecto = '2'");
        const char *inicios[] = {"2026-05-01", "2026-05-03", "2026-05-02"};
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, FechaInicio) VALUES "
                                         "('2', %1, '%2', '%3 00:00:00')")
                              .arg(i + 1)
                              .arg(c.capitulos.at(i), QString::fromLatin1(inicios[i]))),
                      QString());
        ASSERT_TRUE(cabecera().locate("Codigo", "2"));
        f.Modalidad->setItemIndex(c.modalidad);
        f.ModalidadChange(f.Modalidad);
        lineas().refresh();
        ASSERT_TRUE(lineas().locate("Linea", 3));
        mensajes_.programarRespuestas({"SI"});
        f.RenumerarCapitulosClick(&f);
        EXPECT_EQ(sql("SELECT Capitulo FROM LPROYECT WHERE CodigoProyecto = '2' ORDER BY Linea"), c.esperado)
            << c.modalidad << " " << c.capitulos.join(',').toStdString();
        EXPECT_EQ(campo("Linea").asInteger(), 3);
    }
    EXPECT_EQ(mensajes_.textos(), QStringList(4, "¿Está seguro de querer Renumerar los Capítulos?"));

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    f.RenumerarCapitulosClick(&f);
    EXPECT_EQ(sql("SELECT Capitulo FROM LPROYECT WHERE CodigoProyecto = '2' ORDER BY Linea"), "0003\r\n0001\r\n0002");

    f.Modalidad->setItemIndex(0);
    f.ModalidadChange(f.Modalidad);
    rechazar("LPROYECT", "UPDATE", "OLD.Linea = 2");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    f.RenumerarCapitulosClick(&f);
    EXPECT_EQ(sql("SELECT Capitulo FROM LPROYECT WHERE CodigoProyecto = '2' ORDER BY Linea"), "0001\r\n0001\r\n0002");
    EXPECT_EQ(mensajes_.textos(), (QStringList{"¿Está seguro de querer Renumerar los Capítulos?",
                                              "¡La línea está siendo utilizada por otro usuario!"}));
}

TEST_P(MaestroProyectosTest, ReorderingByStartKeepsEveryValueAndMovesTheSideRowsWithTheLine)
{
    const QStringList lineas2 = {
        "(1, 'Cinco de mayo', 'Memo\r\ncon @ y dos líneas', '2026-05-05 00:00:00', 1234.5, 7.5)",
        "(2, 'Uno @ de mayo', NULL, '2026-05-01 00:00:00', NULL, NULL)",
        "(3, 'Sin fecha', NULL, NULL, NULL, NULL)",
        "(10, 'Diez', NULL, '2026-05-01 00:00:00', NULL, NULL)",
    };
    for (const QString &valores : lineas2)
        ASSERT_EQ(sql("INSERT INTO LPROYECT (CodigoProyecto, Linea, Descripcion, DescripcionAmpliada, FechaInicio, "
                      "Importe, TiempoPrevisto) VALUES ('2', " + valores.mid(1)),
                  QString());
    ASSERT_EQ(sql("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion) VALUES ('LPROYECT', '2|1', "
                  "'Plano', '/srv/p')"),
              QString());
    ASSERT_EQ(sql("INSERT INTO BLOBTAB (NombreTabla, ClaveTabla, IdObjeto, Nombre) VALUES ('LPROYECT', '2|3', 'Foto', "
                  "'Foto')"),
              QString());
    TfPROYPROY &f = abrir();
    ASSERT_TRUE(cabecera().locate("Codigo", "2"));
    const QString cincoDeMayo = valoresLinea("2", 1);
    ASSERT_TRUE(cincoDeMayo.contains("Memo con @")) << cincoDeMayo.toStdString();
    const QString antes = sql("SELECT Linea, Descripcion, DescripcionAmpliada, FechaInicio, Importe, TiempoPrevisto "
                              "FROM LPROYECT WHERE CodigoProyecto = '2' ORDER BY Linea");

    // A failure at the third re-entry leaves the lines and their side rows as they were.
    rechazar("LPROYECT", "INSERT", "NEW.Linea = 3");
    mensajes_.programarRespuestas({"SI"});
    f.ReordenarporFechadeInicio1Click(&f);
    EXPECT_EQ(sql("SELECT Linea, Descripcion, DescripcionAmpliada, FechaInicio, Importe, TiempoPrevisto FROM LPROYECT "
                  "WHERE CodigoProyecto = '2' ORDER BY Linea"),
              antes);
    EXPECT_EQ(sql("SELECT ClaveTabla FROM DOCUTRON WHERE NombreTabla = 'LPROYECT'"), "2|1");
    EXPECT_EQ(mensajes_.textos().size(), 2) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(f.Temporal->table().isEmpty());
    sql(GetParam() ? "DROP TRIGGER gp_rechazo_lproyect_insert ON LPROYECT" : "DROP TRIGGER gp_rechazo_lproyect_insert");

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    f.ReordenarporFechadeInicio1Click(&f);
    EXPECT_EQ(lineasDe("2"), "1|Sin fecha\r\n2|Diez\r\n3|Uno @ de mayo\r\n4|Cinco de mayo");
    EXPECT_EQ(valoresLinea("2", 4), cincoDeMayo);
    ASSERT_TRUE(lineas().locate("Linea", 4));
    EXPECT_EQ(campo("DescripcionAmpliada").asString(), "Memo\r\ncon @ y dos líneas");
    lineas().first();
    EXPECT_EQ(sql("SELECT ClaveTabla FROM DOCUTRON WHERE NombreTabla = 'LPROYECT'"), "2|4");
    EXPECT_EQ(sql("SELECT ClaveTabla FROM BLOBTAB WHERE NombreTabla = 'LPROYECT'"), "2|1");
    EXPECT_EQ(campo("Linea").asInteger(), 1);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¿Está seguro de querer Reordenar por la Fecha de Inicio?"}) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_EQ(lineasDe("1").count(u'\n'), 6);   // other projects untouched
}

TEST_P(MaestroProyectosTest, DuplicationAndTheWordDocumentDeletionActOnThisProjectOnly)
{
    ASSERT_EQ(sql("INSERT INTO PROYECT (Codigo, Descripcion, Situacion) VALUES ('O''Neil', 'Comillas', 'Abierto')"),
              QString());
    for (const char *objeto : {"DocumentoWord", "Foto"})
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO BLOBTAB (NombreTabla, ClaveTabla, IdObjeto, Nombre) VALUES ('PROYECT', "
                                     "'O''Neil', '%1', 'x')")
                          .arg(QString::fromLatin1(objeto))),
                  QString());
    TfPROYPROY &f = abrir();
    ASSERT_TRUE(cabecera().locate("Codigo", "O'Neil"));
    mensajes_.programarRespuestas({"NO"});
    f.pbEliminarDocumentoWordClick(&f);
    mensajes_.programarRespuestas({"SI"});
    f.pbEliminarDocumentoWordClick(&f);
    EXPECT_EQ(sql("SELECT ClaveTabla, IdObjeto FROM BLOBTAB WHERE NombreTabla = 'PROYECT' ORDER BY ClaveTabla, IdObjeto"),
              "1|DocumentoWord\r\nO'Neil|Foto");
    EXPECT_EQ(mensajes_.textos(), QStringList(2, "¿Desea eliminar el documento adjunto definitivamente?"));

    ASSERT_TRUE(cabecera().locate("Codigo", "1"));
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"77"});
    f.pbDuplicarClick(&f);
    EXPECT_EQ(sql("SELECT Descripcion FROM PROYECT WHERE Codigo = '77'"), "Nave industrial Cuarte");
    EXPECT_EQ(lineasDe("77"), lineasDe("1"));
    EXPECT_EQ(mensajes_.textos().size(), 1);
}

TEST_P(MaestroProyectosTest, TheDocumentsListingOpensOnThisProjectAndTheGlyphFollowsItsDocuments)
{
    TfPROYPROY &f = abrir();
    const auto glifo = [&] {
        return f.pbDocumentacionElectronica->icon().pixmap(f.pbDocumentacionElectronica->iconSize()).toImage().convertToFormat(
            QImage::Format_ARGB32);
    };
    const auto imagen = [](const char *nombre) {
        return fGENEINIC->Imagenes.value(QString::fromLatin1(nombre)).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    ASSERT_NE(imagen("DOCEON"), imagen("DOCEOFF"));
    for (const char *codigo : {"2", "1", "X-90", "1"}) {
        ASSERT_TRUE(cabecera().locate("Codigo", codigo));
        EXPECT_EQ(glifo(), imagen(QLatin1String(codigo) == QLatin1String("1") ? "DOCEON" : "DOCEOFF")) << codigo;
    }

    ASSERT_TRUE(cabecera().locate("Codigo", "X-90"));
    f.pbImprimirDocumentoClick(&f);
    ASSERT_NE(fPROYLPRO, nullptr);
    EXPECT_EQ(fPROYLPRO->DesdeProyecto->text(), "X-90");
    EXPECT_EQ(fPROYLPRO->HastaProyecto->text(), "X-90");
    delete fPROYLPRO;
}

TEST_P(MaestroProyectosTest, TheGanttPrintButtonsListThisProjectsLinesOverItsSpan)
{
    ASSERT_EQ(sql("UPDATE PROYECT SET Descripcion = 'Nave industrial Cuarte con oficinas anexas y almacén' "
                  "WHERE Codigo = '1'"),
              QString());
    QList<PeticionListadoGrafico> pedidas;
    QList<plat::DataSetState> estados;
    Gancho<ImprimirListadoGraficoFn>::Instalacion listado(ganchoListadoGrafico(), [&](const PeticionListadoGrafico &p) {
        pedidas << p;
        estados << p.DataSet->state();
    });
    TfPROYPROY &f = abrir();
    lineas().append();   // a line being entered is dropped before the lines are listed
    mensajes_.programarRespuestas({"SI", "NO"});
    f.pbImprimirClick(f.pbImprimir);
    f.pbImprimirClick(f.pbImprimirApaisado);

    EXPECT_EQ(mensajes_.textos(), QStringList(2, "¿Desea realizar una Visualización Previa?"));
    ASSERT_EQ(pedidas.size(), 2);
    const PlanProyecto plan = MDProyectos->CalcularPlanProyecto("1", QString());
    for (const PeticionListadoGrafico &p : pedidas) {
        EXPECT_EQ(p.ModoInforme, "Capitulos");
        EXPECT_EQ(p.DataSet, &lineas());
        EXPECT_EQ(p.Titulo, "Proyecto: 1 - Nave industrial Cuarte con oficinas anex");
        EXPECT_EQ(p.FechaInicioInforme, plan.FechaInicio);
        EXPECT_EQ(p.FechaFinalInforme, plan.FechaFinal);
    }
    EXPECT_TRUE(pedidas[0].VistaPrevia);
    EXPECT_FALSE(pedidas[0].Apaisado);
    EXPECT_FALSE(pedidas[1].VistaPrevia);
    EXPECT_TRUE(pedidas[1].Apaisado);
    EXPECT_EQ(estados, QList<plat::DataSetState>(2, plat::DataSetState::Browse));
    EXPECT_EQ(lineasDe("1").count("\r\n"), 6);
}

INSTANTIATE_TEST_SUITE_P(Motores, MaestroProyectosTest, ::testing::Values(false, true), NombreMotor);

} // namespace
