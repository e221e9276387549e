#include "ModuloFixture.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/base/FechaHora.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>

namespace {

const QString kClave = QStringLiteral("fPRUEBA.Rejilla");

// A form "fPRUEBA" with the grid "Rejilla" over the fields A (integer) and B (text).
struct FormularioRejilla
{
    FormularioRejilla()
    {
        datos.setFieldDefs({plat::fieldDef(QStringLiteral("A"), ftInteger), plat::fieldDef(QStringLiteral("B"), ftString, 30)});
        datos.createDataSet();
        formulario = plat::createForm<plat::Form>();
        formulario->setObjectName(QStringLiteral("fPRUEBA"));
        fuente = formulario->make<plat::DataSource>(QStringLiteral("DataSource1"), formulario);
        fuente->setDataSet(&datos);
        rejilla = formulario->make<plat::DBGrid>(QStringLiteral("Rejilla"), formulario);
        rejilla->setDataSource(fuente);
        rejilla->resize(500, 200);
    }
    ~FormularioRejilla() { formulario->Free(); }

    // The Part's example: A 60 "Código", B 100 "Nombre...", bold red 8-point Arial.
    void disenoEjemplo()
    {
        auto *a = rejilla->addColumn(QStringLiteral("A"));
        a->Width = 60;
        a->TitleCaption = QStringLiteral("Código");
        auto *b = rejilla->addColumn(QStringLiteral("B"));
        b->Width = 100;
        b->TitleCaption = QStringLiteral("Nombre...");
        b->PickList = QStringList{QStringLiteral("uno"), QStringLiteral("dos")};
        rejilla->updateColumns();
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(8);
        f.setBold(true);
        rejilla->setControlFont(f);
        rejilla->setFontColor(0x0000FF);
    }

    // The user drags a column and back: the order stays, the grid is marked changed.
    void moverColumnas()
    {
        rejilla->horizontalHeader()->moveSection(0, 1);
        rejilla->horizontalHeader()->moveSection(0, 1);
    }

    plat::ClientDataSet datos{QStringLiteral("Datos")};
    plat::Form *formulario;
    plat::DataSource *fuente;
    plat::DBGrid *rejilla;
};

class ModuloDatosFiltroTest : public ModuloMotorTest
{
protected:
    // The stored layouts of the key: their Filtro texts.
    QStringList disenosGuardados(const QString &clave = kClave)
    {
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        EXPECT_TRUE(modulo_->AbrirTabla(filtro));
        QStringList textos;
        for (filtro.first(); !filtro.eof(); filtro.next())
            if (filtro.fieldByName(QStringLiteral("NombreTabla")).asString() == clave) {
                EXPECT_FALSE(filtro.fieldByName(QStringLiteral("Descripcion")).isNull());
                textos << filtro.fieldByName(QStringLiteral("Filtro")).asString();
            }
        return textos;
    }

    void guardarTexto(const QString &texto)
    {
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        ASSERT_TRUE(modulo_->AbrirTabla(filtro));
        filtro.insert();
        filtro.fieldByName(QStringLiteral("NombreTabla")).setAsString(kClave);
        filtro.fieldByName(QStringLiteral("Descripcion")).setAsString(QStringLiteral(""));
        filtro.fieldByName(QStringLiteral("Filtro")).setAsString(texto);
        filtro.post();
    }
};

TEST_P(ModuloDatosFiltroTest, ALayoutIsSavedOnlyWhenMovedAndAgreedAndComesBack)
{
    TModuloDatos &m = *modulo_;
    {
        FormularioRejilla f;
        f.disenoEjemplo();
        m.CargarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *f.rejilla);   // nothing stored: attaches the watcher
        mensajes_.limpiar();

        m.GuardarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *f.rejilla);   // not moved: no question
        EXPECT_TRUE(mensajes_.mensajes().isEmpty());

        f.moverColumnas();
        m.GuardarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *f.rejilla);   // the script answers "NO"
        ASSERT_EQ(mensajes_.mensajes().size(), 1);
        EXPECT_EQ(mensajes_.mensajes()[0].tipo, QStringLiteral("C"));
        EXPECT_EQ(mensajes_.mensajes()[0].texto, QStringLiteral("La Configuración de la Rejilla ha Cambiado. ¿Desea guardarla?"));
        EXPECT_TRUE(disenosGuardados().isEmpty());

        for (int vez = 0; vez < 2; ++vez) {
            f.moverColumnas();
            mensajes_.programarRespuestas({QStringLiteral("SI")});
            m.GuardarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *f.rejilla);
        }
        EXPECT_EQ(disenosGuardados(),
                  QStringList{QStringLiteral("Font=Arial|8|Rojo|fsBold\r\nCampos=A,60,Código|B,100,Nombre...|")});
    }
    // Another run (and any user: the key holds none) gets it back on a grid of default columns.
    crearModulo();
    FormularioRejilla g;
    g.rejilla->addColumn(QStringLiteral("B"))->PickList = QStringList{QStringLiteral("x")};
    mensajes_.limpiar();
    modulo_->CargarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *g.rejilla);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    ASSERT_EQ(g.rejilla->columnCount(), 2);
    EXPECT_EQ(g.rejilla->column(0)->FieldName, QStringLiteral("A"));
    EXPECT_EQ(g.rejilla->column(0)->Width, 60);
    EXPECT_EQ(g.rejilla->column(0)->TitleCaption, QStringLiteral("Código"));
    EXPECT_EQ(g.rejilla->column(0)->ButtonStyle, plat::cbsAuto);
    EXPECT_EQ(g.rejilla->column(1)->ButtonStyle, plat::cbsEllipsis);
    EXPECT_EQ(g.rejilla->column(1)->PickList, QStringList{QStringLiteral("x")});
    EXPECT_EQ(g.rejilla->controlFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(g.rejilla->controlFont().pointSize(), 8);
    EXPECT_TRUE(g.rejilla->controlFont().bold());
    EXPECT_EQ(g.rejilla->fontColor(), 0x0000FF);

    // Restoring tells the user and deletes the row; the grid stays as it is.
    modulo_->RestaurarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *g.rejilla);
    ASSERT_FALSE(mensajes_.mensajes().isEmpty());
    EXPECT_EQ(mensajes_.mensajes().last().tipo, QStringLiteral("I"));
    EXPECT_EQ(mensajes_.mensajes().last().texto,
              QStringLiteral("La Configuración de la Rejilla estará disponible la próxima vez que ejecute la consulta"));
    EXPECT_TRUE(disenosGuardados().isEmpty());
    EXPECT_EQ(g.rejilla->columnCount(), 2);
}

TEST_P(ModuloDatosFiltroTest, ARenamedFieldIsDroppedWithAWarningAndABadWidthGives50)
{
    guardarTexto(QStringLiteral("Font=Arial|9|Azul\r\nCampos=A,ancho,Código|C,80,Viejo|B,70,Nombre|"));
    FormularioRejilla f;
    mensajes_.limpiar();
    modulo_->CargarConfiguracionRejilla(QStringLiteral("fPRUEBA"), *f.rejilla);
    EXPECT_EQ(mensajes_.textos(),
              QStringList{QStringLiteral("El nombre del campo C ha cambiado, se recomienda Restaurar la Configuración "
                                         "Original de la Rejilla")});
    ASSERT_EQ(f.rejilla->columnCount(), 2);
    EXPECT_EQ(f.rejilla->column(0)->Width, 50);
    EXPECT_EQ(f.rejilla->column(1)->FieldName, QStringLiteral("B"));

    // The grid outlives the module that watches it: moving a column then marks nothing.
    liberarModulo();
    f.moverColumnas();
    EXPECT_EQ(ModuloDatos, nullptr);
}

TEST_P(ModuloDatosFiltroTest, ColumnsAreFittedFromTheirFieldsAlone)
{
    FormularioRejilla f;
    f.datos.close();
    f.datos.setFieldDefs({plat::fieldDef(QStringLiteral("T"), ftString, 30), plat::fieldDef(QStringLiteral("A"), ftInteger),
                          plat::fieldDef(QStringLiteral("B"), ftInteger)});
    f.datos.createDataSet();
    f.rejilla->addColumn(QStringLiteral("T"));
    f.rejilla->addColumn(QStringLiteral("A"));
    f.rejilla->addColumn(QStringLiteral("B"));
    f.rejilla->setShownWidth(0, 200);
    f.rejilla->setIndicator(true);
    // The fitting works in the pixels shown: they fill the grid's own width as given.
    modulo_->AjustarColumnasRejilla(*f.rejilla, QStringLiteral("ColumnaInicial:1"));
    const plat::WidthScale escala = f.rejilla->widthScale();
    EXPECT_EQ(f.rejilla->shownWidth(0), 200);
    EXPECT_EQ(f.rejilla->shownWidth(1), 19);
    EXPECT_EQ(f.rejilla->shownWidth(2), 246);
    EXPECT_EQ(f.rejilla->column(2)->Width, escala.toProgram(246));
    EXPECT_EQ(modulo_->AnchoColumnasRejilla(*f.rejilla), 201 + 20 + 247 + 12);

    OcultarColumnaRejilla(QStringLiteral("T"), *f.rejilla);
    modulo_->AjustarRejilla(*f.rejilla);
    EXPECT_EQ(f.rejilla->shownWidth(1), 234);
    EXPECT_EQ(f.rejilla->shownWidth(2), 231);
    EXPECT_EQ(f.rejilla->column(0)->Width, escala.toProgram(200));
    // The fitted columns fill the grid without a horizontal scroll bar, even with rows
    // enough for the vertical one.
    for (int i = 0; i < 40; ++i) {
        f.datos.append();
        f.datos.fieldByName(QStringLiteral("A")).setValue(i);
        f.datos.post();
    }
    f.formulario->Show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.rejilla->verticalScrollBar()->isVisible());
    EXPECT_LE(f.rejilla->horizontalHeader()->length(), f.rejilla->viewport()->width());
    EXPECT_GE(f.rejilla->horizontalHeader()->length(), f.rejilla->viewport()->width() - 8);

    FormularioRejilla vacia;
    vacia.datos.close();
    vacia.rejilla->setDataSource(nullptr);
    modulo_->AjustarRejilla(*vacia.rejilla);
    EXPECT_EQ(vacia.rejilla->columnCount(), 0);
}

// ---- SQL variables --------------------------------------------------------------------------

TEST_P(ModuloDatosFiltroTest, VariablesAreListedAndBoundOnTheEngine)
{
    TModuloDatos &m = *modulo_;
    plat::QueryComponent consulta;
    plat::QueryDataSet &q = consulta.query();
    q.setSql(QStringLiteral("SELECT Codigo, Descripcion FROM TEXTO"));
    ASSERT_TRUE(m.AbrirConsulta(q));   // makes the table
    sql(QStringLiteral("INSERT INTO TEXTO (Codigo, Descripcion) VALUES ('A', 'O''Brien')"));
    sql(QStringLiteral("INSERT INTO TEXTO (Codigo, Descripcion) VALUES ('B', 'dos')"));
    sql(QStringLiteral("INSERT INTO TEXTO (Codigo, Descripcion) VALUES ('C', 'tres')"));

    q.setSql(QStringLiteral("SELECT Codigo FROM TEXTO WHERE Codigo = :$Cliente OR Codigo = :$Cliente\r\nORDER BY Codigo"));
    EXPECT_EQ(m.ParametrosSQL(q.sql()), QStringLiteral("$Cliente\r\n$Cliente_0\r\n"));
    m.AsignarParametrosSQL(q, QStringLiteral("A|B"));
    ASSERT_TRUE(m.AbrirConsulta(q));
    QStringList codigos;
    for (q.first(); !q.eof(); q.next())
        codigos << q.fieldByName(QStringLiteral("Codigo")).asString();
    EXPECT_EQ(codigos, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    q.close();

    q.setSql(QStringLiteral("SELECT Codigo FROM TEXTO WHERE Codigo IN (:$A, :$B, :$A) AND ':$C' <> '10:30'"));
    EXPECT_EQ(m.ParametrosSQL(q.sql()), QStringLiteral("$A\r\n$B\r\n$A_1\r\n$C\r\n"));
    m.AsignarParametrosSQL(q, QStringLiteral("C|B|A|x"));
    ASSERT_EQ(q.params().size(), 4);
    EXPECT_EQ(q.params()[0].value, QVariant(QStringLiteral("C")));
    EXPECT_EQ(q.params()[2].name, QStringLiteral("$A_1"));
    EXPECT_EQ(q.params()[2].value, QVariant(QStringLiteral("A")));
    ASSERT_TRUE(m.AbrirConsulta(q));
    int filas = 0;
    for (q.first(); !q.eof(); q.next())
        ++filas;
    EXPECT_EQ(filas, 3);
    q.close();

    // A list's items are bound one by one: a typed quote stays part of an item.
    q.setSql(QStringLiteral("SELECT Codigo FROM TEXTO WHERE Codigo IN (:*L) ORDER BY Codigo"));
    const struct
    {
        QString valor, codigos;
    } listas[] = {{"A, B,", "A,B"}, {"x\") OR (\"1\"=\"1", ""}, {"x') OR ('1'='1", ""}, {"", ""}};
    for (const auto &l : listas) {
        m.AsignarParametrosSQL(q, l.valor);
        ASSERT_TRUE(m.AbrirConsulta(q)) << l.valor.toStdString();
        QStringList leidos;
        for (q.first(); !q.eof(); q.next())
            leidos << q.fieldByName(QStringLiteral("Codigo")).asString();
        EXPECT_EQ(leidos.join(u','), l.codigos) << l.valor.toStdString();
        q.close();
    }
}

TEST_P(ModuloDatosFiltroTest, NumbersAndDatesAreBoundByTheirKind)
{
    TModuloDatos &m = *modulo_;
    plat::QueryComponent consulta;
    plat::QueryDataSet &q = consulta.query();
    struct Caso
    {
        QString valor;
        TFieldType tipo;
        QVariant esperado;
    };
    const Caso casos[] = {
        {QStringLiteral("3"), ftInteger, QVariant(qint64(3))},
        {QStringLiteral("3,5"), ftFloat, QVariant(3.5)},
        {QStringLiteral("3000000000"), ftInteger, QVariant(qint64(3000000000LL))},
        {QStringLiteral("abc"), ftInteger, QVariant(qint64(0))},
        {QString(), ftInteger, QVariant(qint64(0))},
    };
    q.setSql(QStringLiteral("SELECT Codigo FROM TEXTO WHERE 1 = :#N AND Codigo = :*Lista"));
    for (const Caso &c : casos) {
        m.AsignarParametrosSQL(q, c.valor + QStringLiteral("|ignorado"));
        ASSERT_EQ(q.params().size(), 2) << c.valor.toStdString();
        EXPECT_EQ(q.params()[0].dataType, c.tipo) << c.valor.toStdString();
        EXPECT_EQ(q.params()[0].value, c.esperado) << c.valor.toStdString();
        EXPECT_EQ(q.params()[1].value, QVariant(QStringList{QStringLiteral("ignorado")}));
    }

    // A date compares as a date in SQL.
    plat::TableDataSet resp;
    resp.setTableName(QStringLiteral("RESPDOC"));
    ASSERT_TRUE(m.AbrirTabla(resp));
    for (int dia : {3, 20}) {
        resp.insert();
        resp.fieldByName(QStringLiteral("NombreTabla")).setAsString(QStringLiteral("T"));
        resp.fieldByName(QStringLiteral("ClaveTabla")).setAsString(QString::number(dia));
        resp.fieldByName(QStringLiteral("FechaRealizacion")).setValue(FechaHora(QDate(2024, 3, dia)));
        resp.post();
    }
    q.setSql(QStringLiteral("SELECT ClaveTabla FROM RESPDOC WHERE FechaRealizacion > :&Desde"));
    m.AsignarParametrosSQL(q, QStringLiteral("10/03/2024"));
    ASSERT_EQ(q.params().size(), 1);
    EXPECT_EQ(q.params()[0].dataType, ftDateTime);
    ASSERT_TRUE(m.AbrirConsulta(q));
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.fieldByName(QStringLiteral("ClaveTabla")).asString(), QStringLiteral("20"));
    q.next();
    EXPECT_TRUE(q.eof());
}

INSTANTIATE_TEST_SUITE_P(Motores, ModuloDatosFiltroTest, ::testing::Bool(), NombreMotor);

} // namespace
