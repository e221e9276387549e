#include "ModuloFixture.h"
#include "TablaLista.h"

#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "platform/base/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"

#include <QHeaderView>
#include <QMap>
#include <QTest>

namespace {

// The listing dialog over the company table LISTA (Codigo, Nombre, Fecha, Importe, a memo and
// a field the user may not see); each case plays the user while the dialog is up.
class ListadoProgramableTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(crearTablaLista(*modulo_, tabla_, {plat::fieldDef(QStringLiteral("Codigo"), ftString, 10, true),
                                                          plat::fieldDef(QStringLiteral("Nombre"), ftString, 40),
                                                          plat::fieldDef(QStringLiteral("Fecha"), ftDateTime),
                                                          plat::fieldDef(QStringLiteral("Importe"), ftFloat),
                                                          plat::fieldDef(QStringLiteral("Notas"), ftMemo),
                                                          plat::fieldDef(QStringLiteral("Secreto"), ftString, 10)}));
        fGENEINIC->CamposNoVisibles = QStringLiteral("Secreto");
        dialogo_ = plat::createForm<TfGENECPRO>();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        if (dialogo_)
            dialogo_->Free();
        tabla_.close();
        ModuloMotorTest::TearDown();
    }

    void listar(const std::function<void(TfGENECPRO &)> &usuario, const QString &prefijo = QString())
    {
        plat::application().OnModalShown = [&](plat::Form &f) {
            usuario(static_cast<TfGENECPRO &>(f));
            f.Close();
        };
        dialogo_->AbrirListado(tabla_, prefijo, QString(), QString());
    }

    static void agregar(TfGENECPRO &d, const QString &campo, const QString &operador, const QString &valor)
    {
        d.ListaCampos->setItemIndex(d.ListaCampos->items().indexOf(campo));
        d.Operador->setText(operador);
        d.Valor->setText(valor);
        d.pbAgregarClick(d.pbAgregar);
    }

    static QStringList nombres(plat::DataSet &datos)
    {
        QStringList lista;
        for (datos.first(); !datos.eof(); datos.next())
            lista << datos.fieldByName(QStringLiteral("Nombre")).asString();
        return lista;
    }

    int formatosGuardados()
    {
        return sql(QStringLiteral("SELECT COUNT(*) FROM FORMLIST WHERE Prefijo = 'LISTA'")).toInt();
    }

    plat::TableDataSet tabla_;
    TfGENECPRO *dialogo_ = nullptr;
};

TEST_P(ListadoProgramableTest, StandardFormatOffersEveryVisibleField)
{
    listar([&](TfGENECPRO &d) {
        const QStringList visibles{"Codigo", "Nombre", "Fecha", "Importe", "Notas"};
        EXPECT_EQ(d.LBSeleccionado->items(), visibles);
        EXPECT_EQ(d.ListaCampos->items(), visibles);
        EXPECT_EQ(d.TiposCampos(), (QStringList{"ftString", "ftString", "ftDateTime", "ftFloat", "ftMemo"}));
        EXPECT_EQ(d.Titulo->text(), QStringLiteral("Listado programable de la tabla LISTA"));
        EXPECT_TRUE(d.MemoFiltros->text().isEmpty());
        EXPECT_EQ(d.StringGrid->rowCount(), 6);
        EXPECT_EQ(d.StringGrid->cell(1, 0), QStringLiteral("Desde Valor"));
        EXPECT_EQ(d.StringGrid->cell(0, 3), QStringLiteral("Fecha"));

        // The pop-up menu: clear the filters, clear the selection, select all available.
        d.MemoFiltros->setText(QStringLiteral("(Codigo = '3')"));
        d.BorrarFiltros1->Click();
        EXPECT_TRUE(d.MemoFiltros->text().isEmpty());
        d.DeseleccionarTodos1->Click();
        EXPECT_TRUE(d.LBSeleccionado->items().isEmpty());
        d.SeleccionarTodos1->Click();
        EXPECT_EQ(d.LBSeleccionado->items(), d.LBDisponible->items());
        EXPECT_EQ(d.LBSeleccionado->items().size(), 5);
    });
}

TEST_P(ListadoProgramableTest, FilterLinesAndRangesBuildTheQueryThatListsTheRows)
{
    QStringList listados;
    const Gancho<ImprimirListadoFn>::Instalacion imprimir(ganchoImprimirListadoProgramable(),
                                                          [&](TfGENECPRO &, plat::DataSet &datos) { listados << nombres(datos).join(u','); });
    listar([&](TfGENECPRO &d) {
        d.LBSeleccionado->setItems({"Codigo", "Notas", "Nombre", "Importe"});
        agregar(d, QStringLiteral("Codigo"), QStringLiteral(">="), QStringLiteral("5"));
        agregar(d, QStringLiteral("Nombre"), QStringLiteral("="), QStringLiteral("O'Brien"));
        agregar(d, QStringLiteral("Nombre"), QStringLiteral("="), QString());
        EXPECT_EQ(d.MemoFiltros->lines(), (QStringList{"(Codigo >= '5') AND", "(Nombre = 'O''Brien')"}));
        agregar(d, QStringLiteral("Importe"), QStringLiteral("<"), QStringLiteral("1234.5"));
        EXPECT_EQ(d.Valor->text(), QStringLiteral("1234,5"));
        EXPECT_EQ(d.MemoFiltros->lines().last(), QStringLiteral("(Importe < '1234.500000')"));
        d.StringGrid->setCell(2, 1, QStringLiteral("6"));
        const QString tabla = modulo_->NombreTablaSQL(QStringLiteral("LISTA"));
        EXPECT_EQ(d.TextoConsulta(),
                  QStringLiteral("SELECT Codigo,Notas,Nombre,Importe\r\nFROM %1\r\nWHERE ((Codigo >= '5') AND\r\n"
                                 "(Nombre = 'O''Brien') AND\r\n(Importe < '1234.500000')) AND ((Codigo <= '6'))\r\n"
                                 "ORDER BY Codigo,Nombre,Importe")
                      .arg(tabla));
        d.pbConformeClick(d.pbConforme);
        d.cbClasificado->setChecked(false);
        EXPECT_FALSE(d.TextoConsulta().contains(QStringLiteral("ORDER BY")));
    });
    EXPECT_EQ(listados, QStringList{QStringLiteral("O'Brien")});
}

TEST_P(ListadoProgramableTest, BadDateOrBrokenMemoKeepsTheUserOnSelection)
{
    listar([&](TfGENECPRO &d) {
        agregar(d, QStringLiteral("Codigo"), QStringLiteral("="), QStringLiteral("3"));
        EXPECT_THROW(agregar(d, QStringLiteral("Fecha"), QStringLiteral("="), QStringLiteral("x")), gp::ConversionError);
        EXPECT_EQ(d.MemoFiltros->lines(), QStringList{QStringLiteral("(Codigo = '3')")});

        d.MemoFiltros->setText(QStringLiteral("(Codigo = "));
        d.LBSeleccionado->setItems({"Nombre"});
        d.PageControl1->setActivePage(d.PagAjustar);
        EXPECT_EQ(d.PageControl1->activePage(), d.PagSeleccionCampos);
        EXPECT_EQ(d.LBSeleccionado->items(), QStringList{QStringLiteral("Nombre")});
    });
}

// Logical mode lists the dataset itself, sorted through a temporary copy when "Clasificado"
// is on: the copy's rows in key order (the selection first), the unselected fields tagged
// 999; closing (or the other mode) drops the copy and gives the dataset its filter back.
TEST_P(ListadoProgramableTest, LogicalModeListsTheFilteredDatasetSortedThroughACopy)
{
    struct Listado
    {
        QStringList filas;
        QMap<QString, int> tags;
        QString copia;
    };
    QList<Listado> listados;
    const Gancho<ImprimirListadoFn>::Instalacion imprimir(
        ganchoImprimirListadoProgramable(), [&](TfGENECPRO &, plat::DataSet &datos) {
            Listado l;
            for (datos.first(); !datos.eof(); datos.next())
                l.filas << datos.fieldByName(QStringLiteral("Nombre")).asString() + u'/'
                               + datos.fieldByName(QStringLiteral("Codigo")).asString();
            for (int i = 0; i < datos.fieldCount(); ++i)
                l.tags[datos.field(i).fieldName()] = datos.field(i).tag;
            if (&datos != &tabla_)
                l.copia = static_cast<plat::TableDataSet &>(datos).tableName();
            listados << l;
        });
    tabla_.setFilter(QStringLiteral("(Codigo <> '4')"));
    tabla_.setFiltered(true);
    dialogo_->pbActivarTablaLogica->setDownState(true);
    listar([&](TfGENECPRO &d) {
        d.LBSeleccionado->setItems({"Nombre", "Codigo"});
        agregar(d, QStringLiteral("Importe"), QStringLiteral(">="), QStringLiteral("100"));
        d.pbConformeClick(d.pbConforme);
        d.cbClasificado->setChecked(false);
        d.pbConformeClick(d.pbConforme);
        // Back to the physical mode: the dataset gets its filter back, the grid shows the query.
        d.pbActivarTablaLogica->Click();
        EXPECT_FALSE(d.ModoLogico());
        EXPECT_EQ(tabla_.filter(), QStringLiteral("(Codigo <> '4')"));
        EXPECT_EQ(d.DatosAjustar(), &d.Query1->dataSet());
    });
    ASSERT_EQ(listados.size(), 2) << mensajes_.textos().join(u'\n').toStdString();
    const Listado &clasificado = listados[0];
    EXPECT_EQ(clasificado.filas, (QStringList{"Eva/4", "Luis/6", "O'Brien/5", "O'Brien/7", "Pía/8"}));
    EXPECT_EQ(clasificado.tags.value(QStringLiteral("Nombre")), 1);
    EXPECT_EQ(clasificado.tags.value(QStringLiteral("Codigo")), 2);
    EXPECT_EQ(clasificado.tags.value(QStringLiteral("Importe")), 999);
    EXPECT_EQ(clasificado.tags.value(QStringLiteral("ContadorAutoLP")), 999);
    ASSERT_FALSE(clasificado.copia.isEmpty());
    EXPECT_FALSE(fGENEINIC->Database().tableExists(clasificado.copia));
    const Listado &directo = listados[1];
    EXPECT_TRUE(directo.copia.isEmpty());
    EXPECT_EQ(directo.filas, (QStringList{"Eva/4", "O'Brien/5", "Luis/6", "O'Brien/7", "Pía/8"}));
    EXPECT_EQ(directo.tags.value(QStringLiteral("Codigo")), 2);
    EXPECT_EQ(directo.tags.value(QStringLiteral("Fecha")), 999);
    EXPECT_EQ(tabla_.filter(), QStringLiteral("(Codigo <> '4')"));
    EXPECT_EQ(nombres(tabla_).size(), 5);
}

// A copy the engine refuses (a field named like the copy's counter) is told, lists nothing
// and leaves the dialog as it was: the grid on the listed table, its controls enabled.
TEST_P(ListadoProgramableTest, ASortedCopyTheEngineRefusesListsNothing)
{
    int listados = 0;
    const Gancho<ImprimirListadoFn>::Instalacion imprimir(ganchoImprimirListadoProgramable(),
                                                          [&](TfGENECPRO &, plat::DataSet &) { ++listados; });
    tabla_.close();
    tabla_.addCalculatedField(QStringLiteral("ContadorAutoLP"), ftInteger);
    tabla_.open();
    dialogo_->pbActivarTablaLogica->setDownState(true);
    listar([&](TfGENECPRO &d) {
        d.pbConformeClick(d.pbConforme);
        EXPECT_FALSE(mensajes_.textos().isEmpty());
        EXPECT_EQ(d.DatosAjustar(), &tabla_);
        EXPECT_FALSE(d.DBGrid1->isHidden());
        EXPECT_FALSE(tabla_.controlsDisabled());
    });
    EXPECT_EQ(listados, 0);
}

// A sorted listing of more than 1000 rows asks first; "NO" lists nothing.
TEST_P(ListadoProgramableTest, LogicalModeAsksBeforeSortingMoreThanAThousandRows)
{
    int listados = 0;
    const Gancho<ImprimirListadoFn>::Instalacion imprimir(ganchoImprimirListadoProgramable(),
                                                          [&](TfGENECPRO &, plat::DataSet &) { ++listados; });
    const QString pregunta = QStringLiteral("El listado actual puede ser largo (más de 1000 líneas) y ha de ser "
                                            "clasificado. ¿Desea continuar en cualquier caso?");
    sql(QStringLiteral("INSERT INTO LISTA (Codigo, Nombre, Importe) WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL "
                       "SELECT i + 1 FROM n WHERE i < 1093) SELECT CAST(i AS VARCHAR(10)), 'Socio', 0 FROM n"));
    tabla_.refresh();
    ASSERT_EQ(tabla_.recordCount(), 1000);
    dialogo_->pbActivarTablaLogica->setDownState(true);
    mensajes_.programarRespuestas({QStringLiteral("NO")});
    listar([&](TfGENECPRO &d) {
        d.pbConformeClick(d.pbConforme);
        EXPECT_FALSE(mensajes_.textos().contains(pregunta));
        EXPECT_EQ(listados, 1);
        sql(QStringLiteral("INSERT INTO LISTA (Codigo, Nombre, Importe) VALUES ('1094', 'Socio', 0)"));
        tabla_.refresh();
        d.pbConformeClick(d.pbConforme);
        EXPECT_TRUE(mensajes_.textos().contains(pregunta));
        EXPECT_EQ(listados, 1);
    });
}

TEST_P(ListadoProgramableTest, FormatsAreStoredOncePerNameAndReloadedWithoutUnknownFields)
{
    mensajes_.programarRespuestas({QStringLiteral("Cortos"), QStringLiteral("Cortos")});
    listar([&](TfGENECPRO &d) {
        d.LBSeleccionado->setItems({"Nombre", "Codigo"});
        d.MemoFiltros->setText(QStringLiteral("(Codigo >= '5')"));
        d.Titulo->setText(QStringLiteral("Solo nombres"));
        d.pbGuardarComoClick(d.pbGuardarComo);
        mensajes_.limpiar();
        d.pbGuardarComoClick(d.pbGuardarComo);
        EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("¡Ya existe el formato!")));
    });
    EXPECT_EQ(formatosGuardados(), 1);

    sql(QStringLiteral("UPDATE FORMLIST SET ListaSeleccionado = 'Nombre' || CHR(13) || CHR(10) || 'Borrado' || "
                       "CHR(13) || CHR(10) || 'Secreto' || CHR(13) || CHR(10) || 'Codigo'")
            .replace(QStringLiteral("CHR("), GetParam() ? QStringLiteral("CHR(") : QStringLiteral("CHAR(")));
    listar([&](TfGENECPRO &d) {
        EXPECT_EQ(d.NombreFormato->text(), QStringLiteral("Cortos"));
        EXPECT_EQ(d.LBSeleccionado->items(), (QStringList{"Nombre", "Codigo"}));
        EXPECT_EQ(d.Titulo->text(), QStringLiteral("Solo nombres"));
        EXPECT_EQ(d.MemoFiltros->text(), QStringLiteral("(Codigo >= '5')"));
        mensajes_.programarRespuestas({QStringLiteral("SI")});
        d.pbEliminarClick(d.pbEliminar);
        EXPECT_EQ(d.LBSeleccionado->items().size(), 5);
    });
    EXPECT_EQ(formatosGuardados(), 0);
}

// Reading formats makes no FORMLIST: a database where none was saved offers none, and the
// first format saved "Como..." makes the table and is offered on the next opening.
TEST_P(ListadoProgramableTest, TheFormatsTableIsMadeByTheFirstFormatSaved)
{
    plat::Connection &empresa = fGENEINIC->Database();
    ASSERT_FALSE(empresa.tableExists(QStringLiteral("FORMLIST")));
    listar([](TfGENECPRO &d) { EXPECT_TRUE(d.NombreFormato->items().isEmpty()); });
    EXPECT_FALSE(empresa.tableExists(QStringLiteral("FORMLIST")));
    mensajes_.programarRespuestas({QStringLiteral("Primero")});
    listar([](TfGENECPRO &d) { d.pbGuardarComoClick(d.pbGuardarComo); });
    EXPECT_TRUE(empresa.tableExists(QStringLiteral("FORMLIST")));
    EXPECT_EQ(formatosGuardados(), 1);
    listar([](TfGENECPRO &d) { EXPECT_EQ(d.NombreFormato->items(), QStringList{QStringLiteral("Primero")}); });
}

// Esc leaves the dialog through "Salir", its cancel button, from a control that leaves the key.
TEST_P(ListadoProgramableTest, EscLeavesTheDialogThroughSalir)
{
    int salidas = 0;
    listar([&](TfGENECPRO &d) {
        QObject::connect(d.pbSalir, &QPushButton::clicked, [&] { ++salidas; });
        QTest::keyClick(d.Titulo, Qt::Key_Escape);
    });
    EXPECT_EQ(salidas, 1);
}

// One dialog opened for one listing after another offers each its own formats, and on a
// listing opened again the formats as stored now (one written meanwhile by another program).
TEST_P(ListadoProgramableTest, EachOpeningOffersItsListingsFormatsAsStoredNow)
{
    listar([](TfGENECPRO &d) { EXPECT_TRUE(d.NombreFormato->items().isEmpty()); });
    const auto guardar = [&](const QString &prefijo, const QString &nombre) {
        sql(QStringLiteral("INSERT INTO FORMLIST (Prefijo, Nombre, Titulo, ListaSeleccionado, ListaFiltrosSQL) "
                           "VALUES ('%1', '%2', 'T', 'Codigo', '')")
                .arg(prefijo, nombre));
    };
    guardar(QStringLiteral("LISTA"), QStringLiteral("Ancho"));
    guardar(QStringLiteral("OTRA"), QStringLiteral("Corto"));
    const auto ofrecidos = [&](const QString &prefijo) {
        QStringList vistos;
        listar([&](TfGENECPRO &d) { vistos = d.NombreFormato->items(); }, prefijo);
        return vistos;
    };
    EXPECT_EQ(ofrecidos(QString()), QStringList{QStringLiteral("Ancho")});
    EXPECT_EQ(ofrecidos(QStringLiteral("OTRA")), QStringList{QStringLiteral("Corto")});
    guardar(QStringLiteral("OTRA"), QStringLiteral("Largo"));
    EXPECT_EQ(ofrecidos(QStringLiteral("OTRA")), (QStringList{QStringLiteral("Corto"), QStringLiteral("Largo")}));
    EXPECT_EQ(ofrecidos(QStringLiteral("LISTA")), QStringList{QStringLiteral("Ancho")});
}

// The user drags Nombre's column first on the sample grid and widens it by its title's edge:
// the listing gets the fields in the grid's order, Nombre as wide as it was left, in either
// mode (the query's fields, or the listed table's moved with their columns).
TEST_P(ListadoProgramableTest, ColumnsMovedAndWidenedOnTheGridShapeTheListing)
{
    for (const bool logico : {false, true}) {
        SCOPED_TRACE(logico ? "logical" : "physical");
        QStringList orden;
        int anchoListado = 0;
        const Gancho<ImprimirListadoFn>::Instalacion imprimir(
            ganchoImprimirListadoProgramable(), [&](TfGENECPRO &, plat::DataSet &datos) {
                for (int i = 0; i < datos.fieldCount(); ++i)
                    if (datos.field(i).tag != 999)
                        orden << datos.field(i).fieldName();
                anchoListado = datos.fieldByName(QStringLiteral("Nombre")).displayWidth;
            });
        int anchoDejado = 0, caracter = 0;
        dialogo_->pbActivarTablaLogica->setDownState(logico);
        listar([&](TfGENECPRO &d) {
            d.LBSeleccionado->setItems({"Codigo", "Nombre", "Importe"});
            d.PageControl1->setActivePage(d.PagAjustar);
            QHeaderView *cabecera = d.DBGrid1->horizontalHeader();
            cabecera->moveSection(1, 0);
            ASSERT_EQ(d.DBGrid1->column(0)->FieldName, QStringLiteral("Nombre"));
            const int antes = cabecera->sectionSize(0);
            const QPoint borde(cabecera->sectionViewportPosition(0) + antes - 1, cabecera->height() / 2);
            QTest::mousePress(cabecera->viewport(), Qt::LeftButton, {}, borde);
            QTest::mouseMove(cabecera->viewport(), borde + QPoint(150, 0));
            QTest::mouseRelease(cabecera->viewport(), Qt::LeftButton, {}, borde + QPoint(150, 0));
            anchoDejado = cabecera->sectionSize(0);
            ASSERT_GT(anchoDejado, antes + 100);
            caracter = d.DBGrid1->characterWidth();
            d.pbConformeClick(d.pbConforme);
            EXPECT_EQ(d.LBSeleccionado->items(), (QStringList{"Nombre", "Codigo", "Importe"}));
        });
        EXPECT_EQ(orden, (QStringList{"Nombre", "Codigo", "Importe"})) << mensajes_.textos().join(u'\n').toStdString();
        EXPECT_EQ(anchoListado, int(std::nearbyint(double(anchoDejado) / caracter)));
    }
}

// A cancelled font dialog changes nothing; a confirmed one sets the grid's font (the
// listing's) and its titles in navy. F1 opens the help page of the dialog's caption.
TEST_P(ListadoProgramableTest, FontAndHelpButtons)
{
    QList<QUrl> abiertas;
    const AperturaURLInstalada abrir([&](const QUrl &url) {
        abiertas << url;
        return true;
    });
    fGENEINIC->Configuracion.mapaNombres = MapaNombres::deTexto(QStringLiteral("x Listado_Programable 1311\r\n"));
    listar([&](TfGENECPRO &d) {
        const QFont antesFuente = d.DBGrid1->font();
        bool aceptar = false;
        plat::setDialogScript([&](QObject *dialogo) {
            if (auto *fuente = qobject_cast<plat::FontDialog *>(dialogo))
                fuente->Font.setPointSize(fuente->Font.pointSize() + 6);
            return aceptar;
        });
        d.pbCambiarFontClick(d.pbCambiarFont);
        EXPECT_EQ(d.DBGrid1->font(), antesFuente);
        aceptar = true;
        d.pbCambiarFontClick(d.pbCambiarFont);
        plat::setDialogScript(nullptr);
        EXPECT_EQ(d.DBGrid1->font().pointSize(), antesFuente.pointSize() + 6);
        EXPECT_EQ(d.DBGrid1->titleFont(), d.DBGrid1->font());
        EXPECT_EQ(d.DBGrid1->titleFontColor(), plat::clNavy);

        QTest::keyClick(d.LBSeleccionado, Qt::Key_F1);
    });
    ASSERT_EQ(abiertas.size(), 1);
    EXPECT_TRUE(abiertas[0].toLocalFile().endsWith(QStringLiteral("ayuda/1311.html"))) << abiertas[0].toString().toStdString();
}

// Dragging names from the available list appends the ones not yet selected; dragging them
// back removes them; each list takes drops only from the other.
TEST_P(ListadoProgramableTest, FieldsAreSelectedByDraggingBetweenTheLists)
{
    listar([&](TfGENECPRO &d) {
        d.LBSeleccionado->setItems({"Nombre"});
        const auto aceptaDe = [](auto over, TfGENECPRO &f, QObject *fuente) {
            bool acepta = true;
            (f.*over)(nullptr, fuente, 0, 0, plat::dsDragMove, acepta);
            return acepta;
        };
        EXPECT_TRUE(aceptaDe(&TfGENECPRO::LBSeleccionadoDragOver, d, d.LBDisponible));
        EXPECT_FALSE(aceptaDe(&TfGENECPRO::LBSeleccionadoDragOver, d, d.LBSeleccionado));
        EXPECT_TRUE(aceptaDe(&TfGENECPRO::LBDisponibleDragOver, d, d.LBSeleccionado));
        EXPECT_FALSE(aceptaDe(&TfGENECPRO::LBDisponibleDragOver, d, d.LBDisponible));
        EXPECT_FALSE(aceptaDe(&TfGENECPRO::LBDisponibleDragOver, d, nullptr));

        const QStringList disponibles = d.LBDisponible->items();
        d.LBDisponible->setSelected(disponibles.indexOf(QStringLiteral("Notas")), true);
        d.LBDisponible->setSelected(disponibles.indexOf(QStringLiteral("Nombre")), true);
        d.LBDisponible->setSelected(disponibles.indexOf(QStringLiteral("Codigo")), true);
        d.LBSeleccionadoDragDrop(d.LBSeleccionado, d.LBDisponible, 0, 0);
        EXPECT_EQ(d.LBSeleccionado->items(), (QStringList{"Nombre", "Codigo", "Notas"}));
        d.LBSeleccionado->setSelected(0, true);
        d.LBSeleccionado->setSelected(2, true);
        d.LBDisponibleDragDrop(d.LBDisponible, d.LBSeleccionado, 0, 0);
        EXPECT_EQ(d.LBSeleccionado->items(), QStringList{QStringLiteral("Codigo")});
        EXPECT_EQ(d.LBDisponible->items(), disponibles);
    });
}

INSTANTIATE_TEST_SUITE_P(Motores, ListadoProgramableTest, ::testing::Bool(), NombreMotor);

} // namespace
