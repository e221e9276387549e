// The control ranges master over ranges with lines, history and documents, on SQLite and
// PostgreSQL.
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keys.h"
#include "projects/gamas/CALIGAMA.h"
#include "projects/gamas/CALILGAM.h"
#include "projects/gamas/EspecificacionGama.h"
#include "tests/data/MaestroFixture.h"
#include "tests/support/Captura.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTest>

namespace {

const QString kNoGrabado = QStringLiteral("¡ El registro no ha sido grabado !");
const QString kImposibleModificar =
    QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario.");

class MaestroGamasTest : public MaestroFixture
{
protected:
    void SetUp() override
    {
        MaestroFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // A first opening makes the tables; the rows are added on top of them.
        abrirVentana<TfCALIGAMA>();
        delete ventana_.data();
        for (const char *sentencia :
             {"INSERT INTO GCNTROL (Codigo, Descripcion, PiezasContables, Modalidad) VALUES ('G1', 'Eje', 'SI', 'Auto')",
              "INSERT INTO GCNTROL (Codigo, Descripcion, PiezasContables, Modalidad) VALUES ('G2', 'Brida', 'NO', "
              "'SemiAuto')",
              "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, Especificacion) VALUES ('G1', 1, 'Diametro', '10...20')",
              "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion) VALUES ('G1', 2, 'Longitud')",
              "INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('G1', 1, 'B', 'Cambio')",
              "INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('G1', 2, 'C', 'Otro cambio')",
              "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion) VALUES ('GCNTROL', 'G1', 'Plano', "
              "'plano.pdf')",
              "INSERT INTO ARTICULO (Codigo) VALUES ('ART-9')"})
            ASSERT_EQ(sql(QString::fromUtf8(sentencia)), QString()) << sentencia;
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        MaestroFixture::TearDown();
    }

    // The window on range G1 (or the one given).
    TfCALIGAMA &abrir(const QString &codigo = QStringLiteral("G1"))
    {
        TfCALIGAMA &f = abrirVentana<TfCALIGAMA>();
        f.Table1->dataSet().locate(QStringLiteral("Codigo"), codigo);
        mensajes_.limpiar();
        return f;
    }

    TfCALIGAMA &f() { return *qobject_cast<TfCALIGAMA *>(ventana_.data()); }
    plat::DataSet &cabecera() { return f().Table1->dataSet(); }
    plat::DataSet &lineas() { return f().Table2->dataSet(); }
    plat::DataSet &historico() { return f().Table3->dataSet(); }

    // Linea|Descripcion of a range's lines in order.
    QString lineasDe(const QString &codigo)
    {
        return sql(QStringLiteral("SELECT Linea, Descripcion FROM LGCNTROL WHERE Codigo = '%1' ORDER BY Linea").arg(codigo));
    }

    // Rows of the range G1 in header, lines, history and documents.
    QString filasG1()
    {
        QStringList n;
        for (const char *tabla : {"GCNTROL", "LGCNTROL", "HGCNTROL"})
            n << sql(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Codigo = 'G1'").arg(QString::fromLatin1(tabla)));
        n << sql(QStringLiteral("SELECT COUNT(*) FROM DOCUTRON WHERE ClaveTabla = 'G1'"));
        return n.join(u'/');
    }

    void teclaRejilla(plat::DBGrid *rejilla, int tecla, plat::ShiftState estado, int esperada)
    {
        f().DBGridKeyDown(rejilla, tecla, estado);
        EXPECT_EQ(tecla, esperada);
    }
};

// ---- the header ----------------------------------------------------------------------------

TEST_P(MaestroGamasTest, ANewRangeHasItsDefaultsAndItsCodeIsCheckedWhenLeft)
{
    TfCALIGAMA &v = abrir();
    v.AgregarClick(&v);
    ASSERT_EQ(cabecera().state(), plat::DataSetState::Insert);
    EXPECT_EQ(cabecera().fieldByName("PiezasContables").asString(), "SI");
    EXPECT_EQ(cabecera().fieldByName("Modalidad").asString(), "Normal");

    // An existing code: the warning, and the insert starts again with that code.
    cabecera().fieldByName("Codigo").setAsString("G2");
    v.EditDescripcion->setFocus();
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ Ya existe el registro !"});
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Insert);
    EXPECT_EQ(cabecera().fieldByName("Codigo").asString(), "G2");
    QCoreApplication::processEvents();
    EXPECT_EQ(v.focusWidget(), v.EditCodigo);

    // Leaving the code for the OK button saves the range at once; no new one follows.
    mensajes_.limpiar();
    cabecera().fieldByName("Codigo").setAsString("G7");
    v.pbConforme->setFocus();
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Browse);
    EXPECT_EQ(sql("SELECT PiezasContables, Modalidad FROM GCNTROL WHERE Codigo = 'G7'"), "SI|Normal");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();

    // F2 on the code picks an article, only while a range is being inserted.
    form_->UsuarioActual = QStringLiteral("ADMIN");
    fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    const auto sinBusqueda = qScopeGuard([] { delete fGENEBUSQ; });
    int busquedas = 0;
    plat::application().OnModalShown = [&busquedas](plat::Form &form) {
        ++busquedas;
        auto &busqueda = static_cast<TfGENEBUSQ &>(form);
        busqueda.DatoABuscar->clear();
        QTest::keyClicks(busqueda.DatoABuscar, QStringLiteral("ART-9"));
        QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Return);
        QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
    };
    v.BuscarDatosDBEdit(v.EditCodigo);
    EXPECT_EQ(busquedas, 0);
    v.AgregarClick(&v);
    v.BuscarDatosDBEdit(v.EditCodigo);
    EXPECT_EQ(busquedas, 1);
    EXPECT_EQ(cabecera().fieldByName("Codigo").asString(), "ART-9");
}

// ---- lines and history ---------------------------------------------------------------------

TEST_P(MaestroGamasTest, LinesTakeTheHeaderModeAndAreEnteredOneAfterAnother)
{
    TfCALIGAMA &v = abrir();
    struct Caso
    {
        const char *gama;
        const char *modalidad;
    };
    for (const Caso &c : {Caso{"G1", "Auto"}, Caso{"G2", "Normal"}}) {
        SCOPED_TRACE(c.gama);
        ASSERT_TRUE(cabecera().locate("Codigo", QString::fromLatin1(c.gama)));
        lineas().append();
        EXPECT_EQ(lineas().fieldByName("Modalidad").asString(), c.modalidad);
        v.pbCancelarClick(&v);
    }

    // Three lines typed in a row under G2: each save starts the next one.
    lineas().append();
    for (int n = 1; n <= 3; ++n) {
        ASSERT_EQ(lineas().state(), plat::DataSetState::Insert) << n;
        lineas().fieldByName("Linea").setAsInteger(n);
        lineas().fieldByName("Descripcion").setAsString(QStringLiteral("Carac %1").arg(n));
        v.pbConformeClick(&v);
    }
    v.pbCancelarClick(&v);
    EXPECT_EQ(lineasDe("G2"), "1|Carac 1\r\n2|Carac 2\r\n3|Carac 3");
    EXPECT_TRUE(v.pbRefrescar->isEnabled());

    // Entering a grid with an unsaved new range saves the range first.
    v.AgregarClick(&v);
    cabecera().fieldByName("Codigo").setAsString("G5");
    EXPECT_FALSE(v.pbRefrescar->isEnabled());
    v.DBGridEnter(v.DBGrid2);
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Browse);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM GCNTROL WHERE Codigo = 'G5'"), "1");

    // When that save fails the new range stays as typed and the focus goes back to its code:
    // no line is typed under a range that is not stored.
    rechazar("GCNTROL", "INSERT");
    v.AgregarClick(&v);
    cabecera().fieldByName("Codigo").setAsString("G6");
    v.DBGrid1->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(mensajes_.textos(), QStringList{kNoGrabado});
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Insert);
    EXPECT_EQ(cabecera().fieldByName("Codigo").asString(), "G6");
    EXPECT_EQ(v.focusWidget(), v.EditCodigo);
    EXPECT_EQ(sql("SELECT COUNT(*) FROM GCNTROL WHERE Codigo = 'G6'"), "0");
}

TEST_P(MaestroGamasTest, SavingPostsHeaderThenRowsAndFailuresKeepTheEditWithTheirMessage)
{
    TfCALIGAMA &v = abrir();
    cabecera().edit();
    cabecera().fieldByName("Descripcion").setAsString("Eje nuevo");
    lineas().edit();
    lineas().fieldByName("Descripcion").setAsString("Diametro nuevo");
    v.pbConformeClick(&v);
    EXPECT_EQ(sql("SELECT Descripcion FROM GCNTROL WHERE Codigo = 'G1'"), "Eje nuevo");
    EXPECT_EQ(lineasDe("G1"), "1|Diametro nuevo\r\n2|Longitud");

    struct Caso
    {
        const char *tabla;
        const char *operacion;
        std::function<void()> preparar;
        QString mensaje;
    };
    const QList<Caso> casos = {
        {"GCNTROL", "UPDATE", [this] { cabecera().edit(); cabecera().fieldByName("Descripcion").setAsString("X"); },
         kImposibleModificar},
        {"HGCNTROL", "INSERT",
         [this] {
             historico().append();
             historico().fieldByName("Linea").setAsInteger(9);
         },
         kNoGrabado},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.tabla);
        rechazar(QString::fromLatin1(c.tabla), QString::fromLatin1(c.operacion));
        mensajes_.limpiar();
        c.preparar();
        v.pbConformeClick(&v);
        EXPECT_EQ(mensajes_.textos(), QStringList{c.mensaje});
        EXPECT_TRUE(v.pbConforme->isEnabled());   // still as typed, to be saved or cancelled
        v.pbCancelarClick(&v);
    }
    EXPECT_EQ(sql("SELECT Descripcion FROM GCNTROL WHERE Codigo = 'G1'"), "Eje nuevo");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM HGCNTROL WHERE Codigo = 'G1'"), "2");

    // Cancelling drops the edits of all three tables.
    for (plat::DataSet *t : {&cabecera(), &lineas(), &historico()})
        t->edit();
    v.pbCancelarClick(&v);
    for (plat::DataSet *t : {&cabecera(), &lineas(), &historico()})
        EXPECT_EQ(t->state(), plat::DataSetState::Browse);
}

// ---- grids and pages -----------------------------------------------------------------------

TEST_P(MaestroGamasTest, GridKeysPagesAndDoubleClicksGuardTheRowsBeingEdited)
{
    TfCALIGAMA &v = abrir();
    const plat::ShiftState ctrl = plat::ssCtrl;
    lineas().edit();
    teclaRejilla(v.DBGrid1, plat::VK_DELETE, ctrl, 0);
    EXPECT_TRUE(mensajes_.textos().isEmpty());
    v.pbCancelarClick(&v);
    EXPECT_EQ(lineasDe("G1"), "1|Diametro\r\n2|Longitud");

    mensajes_.programarRespuestas({"SI"});
    teclaRejilla(v.DBGrid1, plat::VK_DELETE, ctrl, 0);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¿ Está seguro de querer eliminar la linea ?"});
    EXPECT_EQ(lineasDe("G1"), "2|Longitud");
    teclaRejilla(v.DBGrid1, plat::VK_DELETE, {}, plat::VK_DELETE);

    rechazar("HGCNTROL", "DELETE");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    teclaRejilla(v.DBGrid2, plat::VK_DELETE, ctrl, 0);
    EXPECT_EQ(mensajes_.textos().value(1), "¡No ha sido posible eliminar la línea!");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM HGCNTROL WHERE Codigo = 'G1'"), "2");

    // A page change while a history row edits: the warning and the history page again.
    v.PageControl2->setActivePage(v.PagHistorico);
    historico().edit();
    mensajes_.limpiar();
    v.PageControl2->setActivePage(v.PagGenerales);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡Debe terminar la edición antes de cambiar de carpeta!"});
    EXPECT_EQ(v.PageControl2->activePage(), v.PagHistorico);
    v.pbCancelarClick(&v);

    // A double click edits the row; a row gone meanwhile is another user's lock.
    v.DBGrid1DblClick(v.DBGrid2);
    EXPECT_EQ(historico().state(), plat::DataSetState::Edit);
    v.pbCancelarClick(&v);
    ASSERT_EQ(sql("DELETE FROM LGCNTROL WHERE Codigo = 'G1'"), QString());
    mensajes_.limpiar();
    v.DBGrid1DblClick(v.DBGrid1);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡El registro está bloqueado por otro usuario!"});
    EXPECT_EQ(lineas().state(), plat::DataSetState::Browse);
}

// A range's characteristics are typed one after another in "Generales" as a person does it:
// Down in the empty grid starts a line, Enter moves on, Down saves it and starts the next; a
// new line nobody typed in stays unsaved.
TEST_P(MaestroGamasTest, CharacteristicsAreTypedOneAfterAnotherWithDown)
{
    TfCALIGAMA &v = abrir(QStringLiteral("G2"));
    v.Show();
    QApplication::setActiveWindow(v.window());
    v.PageControl2->setActivePage(v.PagGenerales);
    plat::DBGrid *rejilla = v.DBGrid1;
    rejilla->setFocus();
    ASSERT_EQ(rejilla->model()->rowCount(), 0);
    const auto editor = [rejilla]() -> QWidget * {
        QWidget *w = QApplication::focusWidget();
        return w && rejilla->viewport()->isAncestorOf(w) ? w : nullptr;
    };
    // Enter moves on into the next cell's editor, which then takes the keys.
    const auto teclear = [&](const QString &texto) {
        if (editor()) {
            QTest::keyClicks(editor(), texto);
            return;
        }
        QTest::keyClick(rejilla, texto.at(0).toLatin1());
        ASSERT_NE(editor(), nullptr) << texto.toStdString();
        QTest::keyClicks(editor(), texto.mid(1));
    };

    QTest::keyClick(rejilla, Qt::Key_Down);
    ASSERT_EQ(lineas().state(), plat::DataSetState::Insert);
    for (const char *caracteristica : {"1 Dureza", "2 Rugosidad"}) {
        const QString linea = QString::fromLatin1(caracteristica).section(u' ', 0, 0);
        SCOPED_TRACE(linea.toStdString());
        EXPECT_EQ(rejilla->currentIndex().column(), 0);
        teclear(linea);
        QTest::keyClick(editor(), Qt::Key_Return);
        EXPECT_EQ(rejilla->currentIndex().column(), 1);
        teclear(QString::fromLatin1(caracteristica).section(u' ', 1));
        if (linea == QLatin1String("1"))
            GuardarCaptura(v, QStringLiteral("gamas-caracteristica-tecleada"));
        QTest::keyClick(editor(), Qt::Key_Down);
        EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
        EXPECT_EQ(lineas().state(), plat::DataSetState::Insert) << "the next line is started";
    }
    EXPECT_EQ(lineasDe("G2"), "1|Dureza\r\n2|Rugosidad");
    EXPECT_EQ(rejilla->model()->rowCount(), 3);
    QTest::keyClick(rejilla, Qt::Key_Down);
    EXPECT_EQ(rejilla->model()->rowCount(), 3);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LGCNTROL WHERE Codigo = 'G2'"), "2");
    GuardarCaptura(v, QStringLiteral("gamas-caracteristicas-grabadas"));
}

// A line already stored cannot be entered again; an out-of-range number stays in its column.
TEST_P(MaestroGamasTest, TheLineNumberIsCheckedWhenItsColumnIsLeft)
{
    TfCALIGAMA &v = abrir();
    v.DBGrid1->setSelectedIndex(0);
    struct Caso
    {
        int linea;
        QString mensaje;
    };
    for (const Caso &c : {Caso{2, "¡ Ya existe el registro !"}, Caso{10000, "¡ El valor debe estar entre 1 y 9999 !"}}) {
        SCOPED_TRACE(c.linea);
        lineas().append();
        lineas().fieldByName("Linea").setAsInteger(c.linea);
        mensajes_.limpiar();
        EXPECT_THROW(v.DBGridColExit(v.DBGrid1), gp::Abort);
        EXPECT_EQ(mensajes_.textos(), QStringList{c.mensaje});
        EXPECT_EQ(lineas().state(), plat::DataSetState::Insert);
        v.pbCancelarClick(&v);
    }
    lineas().append();
    v.DBGridColExit(v.DBGrid1);
    EXPECT_EQ(lineas().state(), plat::DataSetState::Browse);
}

// ---- cells ---------------------------------------------------------------------------------

TEST_P(MaestroGamasTest, TheSpecificationIsAskedInTwoPartsAndTheMemosByLine)
{
    TfCALIGAMA &v = abrir();
    v.DBGrid1->setSelectedField(&lineas().fieldByName("Especificacion"));
    struct Caso
    {
        const char *valor;
        QStringList respuestas;
        QString desde, hasta, escrito;
    };
    const QList<Caso> casos = {
        {"10...20", {}, "10", "20", "10...20"},
        {"1.5...2.5", {}, "1.5", "2.5", "1.5...2.5"},
        {"2.5", {}, "2.5", "", "2.5..."},
        {"10...20", {""}, "10", "20", "...20"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.valor);
        lineas().edit();
        lineas().fieldByName("Especificacion").setAsString(QString::fromLatin1(c.valor));
        mensajes_.limpiar();
        mensajes_.programarRespuestas(c.respuestas);
        v.DBGrid1EditButtonClick(v.DBGrid1);
        ASSERT_EQ(mensajes_.mensajes().size(), 2);
        EXPECT_EQ(mensajes_.mensajes()[0].texto, "Introduzca el valor Desde para Especificacion:");
        EXPECT_EQ(mensajes_.mensajes()[0].respuestaPropuesta, c.desde);
        EXPECT_EQ(mensajes_.mensajes()[1].texto, "Introduzca el valor Hasta para Especificacion:");
        EXPECT_EQ(mensajes_.mensajes()[1].respuestaPropuesta, c.hasta);
        EXPECT_EQ(lineas().fieldByName("Especificacion").asString(), c.escrito);
        v.pbCancelarClick(&v);
    }

    // The memo editor is titled after the line and its text stored back.
    ASSERT_EQ(sql("UPDATE LGCNTROL SET Linea = 3 WHERE Codigo = 'G1' AND Linea = 1"), QString());
    lineas().refresh();
    ASSERT_TRUE(lineas().locate("Linea", 3));
    fGENEVMEM = plat::createForm<TfGENEVMEM>();
    const auto sinEditor = qScopeGuard([] {
        delete fGENEVMEM;
        fGENEVMEM = nullptr;
    });
    QStringList titulos;
    plat::application().OnModalShown = [&titulos](plat::Form &form) {
        titulos << form.caption();
        fGENEVMEM->DBMemo->setText(QStringLiteral("Parar\r\nAvisar"));
        QTest::keyClick(fGENEVMEM->DBMemo, Qt::Key_Escape);
    };
    for (const char *campo : {"DescripcionAmpliada", "PlanReaccion"}) {
        v.DBGrid1->setSelectedField(&lineas().fieldByName(QString::fromLatin1(campo)));
        v.DBGrid1EditButtonClick(v.DBGrid1);
    }
    EXPECT_EQ(titulos, (QStringList{"Linea 3 - Descripción Ampliada", "Linea 3 - Plan de Reacción"}));
    v.pbConformeClick(&v);
    EXPECT_EQ(sql("SELECT PlanReaccion FROM LGCNTROL WHERE Codigo = 'G1' AND Linea = 3"), "Parar\r\nAvisar");
    EXPECT_EQ(TextoCeldaLineaGama("PlanReaccion", "Parar\r\nAvisar"), "Parar Avisar");
    EXPECT_EQ(TextoCeldaLineaGama("DescripcionAmpliada", "Texto largo"), " ...");
}

// ---- deleting ------------------------------------------------------------------------------

TEST_P(MaestroGamasTest, ARangeGoesWithItsLinesHistoryAndDocumentsOrNotAtAll)
{
    TfCALIGAMA &v = abrir();
    ConexionesPrograma &conexiones = form_->Conexiones();
    plat::Connection *conexion = v.Table1->table().connection();
    const auto sinTransaccion = [&] {
        EXPECT_FALSE(conexiones.EnTransaccion);
        EXPECT_FALSE(conexiones.EnTransaccionFormularios);
        EXPECT_FALSE(conexion->inTransaction());
    };

    for (bool *bandera : {&conexiones.EnTransaccion, &conexiones.EnTransaccionFormularios}) {
        *bandera = true;
        mensajes_.limpiar();
        v.Eliminar1Click(&v);
        EXPECT_EQ(mensajes_.textos(),
                  QStringList{"¡ Hay otra transacción activa en curso !. Debe finalizarla previamente."});
        *bandera = false;
    }
    EXPECT_EQ(filasG1(), "1/2/2/1");

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    v.Eliminar1Click(&v);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¿Está seguro de querer eliminar el registro y todas sus líneas?"});
    EXPECT_EQ(filasG1(), "1/2/2/1");
    sinTransaccion();

    // A history row refused half-way: everything comes back, and the grids show it.
    rechazar("HGCNTROL", "DELETE");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    v.Eliminar1Click(&v);
    EXPECT_EQ(mensajes_.textos().mid(1),
              (QStringList{"¡ Se ha producido un error eliminando el registro !",
                           "¡ La transacción no ha sido completada !. Inténtelo de nuevo."}));
    EXPECT_EQ(filasG1(), "1/2/2/1");
    sinTransaccion();
    EXPECT_EQ(cabecera().fieldByName("Codigo").asString(), "G1");
    EXPECT_EQ(lineas().recordCount(), 2);
    EXPECT_EQ(historico().recordCount(), 2);

    // A transaction that cannot start (the embedded engine's is already open underneath)
    // deletes nothing, rather than row by row outside any transaction.
    if (!GetParam()) {
        ASSERT_EQ(sql("BEGIN"), QString());
        mensajes_.limpiar();
        mensajes_.programarRespuestas({"SI"});
        v.Eliminar1Click(&v);
        EXPECT_EQ(mensajes_.textos(), QStringList{"¡ La transacción no ha sido completada !. Inténtelo de nuevo."});
        ASSERT_EQ(sql("COMMIT"), QString());
        EXPECT_EQ(filasG1(), "1/2/2/1");
        sinTransaccion();
    }

    ASSERT_EQ(sql(GetParam() ? "DROP TRIGGER gp_rechazo_hgcntrol_delete ON HGCNTROL"
                             : "DROP TRIGGER gp_rechazo_hgcntrol_delete"),
              QString());
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    v.Eliminar1Click(&v);
    EXPECT_EQ(mensajes_.textos().size(), 1) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(filasG1(), "0/0/0/0");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM GCNTROL"), "1");
    sinTransaccion();
}

// ---- services ------------------------------------------------------------------------------

TEST_P(MaestroGamasTest, DocumentsGlyphListingAndDuplicationActOnTheCurrentRange)
{
    TfCALIGAMA &v = abrir();
    const auto glifo = [&v] { return v.pbDocumentacionElectronica->icon().pixmap(16, 16).toImage(); };
    const auto imagen = [this](const char *nombre) {
        return QIcon(form_->Imagenes.value(QString::fromLatin1(nombre))).pixmap(16, 16).toImage();
    };
    EXPECT_EQ(glifo(), imagen("DOCEON"));
    cabecera().locate("Codigo", "G2");
    EXPECT_EQ(glifo(), imagen("DOCEOFF"));

    cabecera().locate("Codigo", "G1");
    v.pbImprimirClick(v.pbImprimir);
    ASSERT_NE(fCALILGAM, nullptr);
    const auto sinListado = qScopeGuard([] { delete fCALILGAM; });
    EXPECT_EQ(fCALILGAM->DesdeGama->text(), "G1");
    EXPECT_EQ(fCALILGAM->HastaGama->text(), "G1");

    mensajes_.programarRespuestas({"G9"});
    v.pbDuplicarClick(v.pbDuplicar);
    EXPECT_EQ(sql("SELECT Descripcion, Modalidad FROM GCNTROL WHERE Codigo = 'G9'"), "Eje|Auto");
    EXPECT_EQ(lineasDe("G9"), "1|Diametro\r\n2|Longitud");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM HGCNTROL WHERE Codigo = 'G9'"), "0");
}

INSTANTIATE_TEST_SUITE_P(Motores, MaestroGamasTest, ::testing::Values(false, true),
                         NombreMotor);

} // namespace
