#include "tests/data/ModuloFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"

#include <QFile>
#include <QTest>
#include <functional>

namespace {

const QString kTabla = QStringLiteral("BUSCAPRU");

// A company table of the test's own (key Codigo;Linea, index Clave2 on Nombre), four rows,
// and the search forms created as the start-up creates them.
class BusquedaTest : public ModuloFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        QFile definiciones(dir_.file(QStringLiteral("DATABASE.TXT")));
        ASSERT_TRUE(definiciones.open(QIODevice::Append));
        definiciones.write("BUSCAPRU/C/1/Codigo/ftString/10/*/|Pruebas\r\n"
                           "BUSCAPRU/C/2/Linea/ftString/10/*/|Pruebas\r\n"
                           "BUSCAPRU/C/3/Nombre/ftString/40//|Pruebas\r\n"
                           "BUSCAPRU/C/4/Notas/ftMemo/0//|Pruebas\r\n"
                           "BUSCAPRU/C/5/Importe/ftFloat/0//|Pruebas\r\n"
                           "BUSCAPRU/I/1/<Primary>/Codigo;Linea//|Pruebas\r\n"
                           "BUSCAPRU/I/2/Clave2/Nombre//|Pruebas\r\n");
        definiciones.close();
        if (!prepararMotor(GetParam()))
            GTEST_SKIP() << "no PostgreSQL test server";
        form_->UsuarioActual = QStringLiteral("ADMIN");
        for (const char *fila : {"'A', '1', 'García López', 'uno\r\ndos', 10.5", "'A', '2', 'Chacón', '', 2",
                                 "'B', '', 'O''Brien', NULL, 3", "'C', '1', 'Pérez', NULL, 4"})
            ASSERT_EQ(sql(QString("INSERT INTO BUSCAPRU (Codigo, Linea, Nombre, Notas, Importe) VALUES (%1)").arg(fila)),
                      QString());
        fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        delete fGENEBUSQ;
        delete fGENEBUSA;
        ModuloFixture::TearDown();
    }

    // What the user does while the search form is up.
    void alMostrar(std::function<void(TfGENEBUSQ &)> accion)
    {
        plat::application().OnModalShown = [accion](plat::Form &form) { accion(static_cast<TfGENEBUSQ &>(form)); };
    }

    static void teclear(TfGENEBUSQ &f, const QString &dato)
    {
        f.DatoABuscar->clear();
        QTest::keyClicks(f.DatoABuscar, dato);
        QTest::keyClick(f.DatoABuscar, Qt::Key_Return);
    }

    static void aceptar(TfGENEBUSQ &f) { QTest::keyClick(f.DBGrid1, Qt::Key_Return); }

    QString datosBusqueda() { return modulo_->LeerConfiguracionUsuario("ADMIN", "DatosBusqueda"); }
};

QStringList textos(const QVariant &clave)
{
    QStringList t;
    for (const QVariant &v : clave.toList())
        t << v.toString();
    return t;
}

TEST_P(BusquedaTest, TypingADatumAndAcceptingAnswersTheKey)
{
    alMostrar([](TfGENEBUSQ &f) {
        teclear(f, "A,2");
        EXPECT_EQ(f.DatoABuscar->text(), "A;2");
        EXPECT_EQ(f.focusWidget(), f.DBGrid1);
        aceptar(f);
    });
    EXPECT_EQ(textos(BuscarRegistro(kTabla, 0)), (QStringList{"A", "2"}));

    // An empty last key value comes back as an empty element.
    alMostrar([](TfGENEBUSQ &f) {
        teclear(f, "B");
        aceptar(f);
    });
    const QVariant vacia = BuscarRegistro(kTabla, 0);
    EXPECT_EQ(textos(vacia), (QStringList{"B", ""}));

    // Esc cancels: Null.
    alMostrar([](TfGENEBUSQ &f) { QTest::keyClick(f.DatoABuscar, Qt::Key_Escape); });
    EXPECT_TRUE(BuscarRegistro(kTabla, 0).isNull());

    // A datum that matches nothing tells the user and keeps the form up.
    alMostrar([this](TfGENEBUSQ &f) {
        teclear(f, "Z");
        EXPECT_EQ(mensajes_.textos(), QStringList{"No hay datos que coincidan con el criterio de búsqueda"});
        EXPECT_EQ(f.focusWidget(), f.DatoABuscar);
        f.pbCancelar->click();
    });
    EXPECT_TRUE(BuscarRegistro(kTabla, 0).isNull());
}

TEST_P(BusquedaTest, ModesSearchTheChosenFieldsWithFoldedLikes)
{
    alMostrar([](TfGENEBUSQ &f) {
        f.ListaCamposBusqueda->setItemIndex(f.ListaCamposBusqueda->findText("Nombre"));
        f.BusquedaFonetica->setChecked(true);
        f.CamposVisibles = "*";
        teclear(f, "garcia");   // accents and capitals folded on every engine
        EXPECT_EQ(f.ClientDataSet1->dataSet().recordCount(), 1);
        // A memo with content shows its text on one line.
        EXPECT_EQ(f.ClientDataSet1->dataSet().fieldByName("Notas").displayText(), "uno dos");
        f.BusquedaParcial->setChecked(true);
        teclear(f, "o'b");      // a quote in a partial search
        EXPECT_EQ(f.ClientDataSet1->dataSet().recordCount(), 1);
        aceptar(f);
    });
    EXPECT_EQ(textos(BuscarRegistro(kTabla, 0)), (QStringList{"B", ""}));
}

TEST_P(BusquedaTest, ABackslashIsItselfWhilePercentAndUnderscoreStayWildcards)
{
    int linea = 0;
    for (const char *nombre : {"c:\\temp\\x", "c:\\tempo", "c:temp", "c:Xtemp", "50% menos", "5_0", "500"})
        ASSERT_EQ(sql(QString("INSERT INTO BUSCAPRU (Codigo, Linea, Nombre) VALUES ('D', '%1', %2)")
                          .arg(++linea)
                          .arg(Entrecomillar(QString::fromUtf8(nombre)))),
                  QString());
    const struct
    {
        const char *dato;
        bool fonetica;       // a contains-match; else a prefix match
        QStringList nombres;
    } casos[] = {
        {"c:\\temp", false, {"c:\\temp\\x", "c:\\tempo"}},
        {"C:\\TEMP\\", false, {"c:\\temp\\x"}},
        {"\\tem", true, {"c:\\temp\\x", "c:\\tempo"}},
        {"50%", false, {"50% menos", "500"}},
        {"5_0", false, {"500", "5_0"}},
    };
    for (const auto &c : casos) {
        QStringList hallados;
        alMostrar([&](TfGENEBUSQ &f) {
            f.ListaCamposBusqueda->setItemIndex(f.ListaCamposBusqueda->findText("Nombre"));
            (c.fonetica ? f.BusquedaFonetica : f.BusquedaParcial)->setChecked(true);
            teclear(f, QString::fromUtf8(c.dato));
            plat::DataSet &respuesta = f.ClientDataSet1->dataSet();
            for (respuesta.first(); !respuesta.eof(); respuesta.next())
                hallados << respuesta.fieldByName("Nombre").asString();
            f.pbCancelar->click();
        });
        BuscarRegistro(kTabla, 0);
        hallados.sort();
        EXPECT_EQ(hallados, c.nombres) << c.dato;
    }
}

TEST_P(BusquedaTest, PositioningATableOnTheChosenRecord)
{
    plat::TableDataSet tabla;
    tabla.setTableName(kTabla);
    ASSERT_TRUE(modulo_->AbrirTabla(tabla));
    tabla.first();
    const QString primera = tabla.fieldByName("Codigo").asString() + ";" + tabla.fieldByName("Linea").asString();
    alMostrar([primera](TfGENEBUSQ &f) {
        EXPECT_EQ(f.DatoABuscar->text(), primera);   // the current key, proposed
        teclear(f, "C");
        aceptar(f);
    });
    EXPECT_EQ(textos(BuscarYPosicionarTabla(tabla, 0)), (QStringList{"C", "1"}));
    EXPECT_EQ(tabla.fieldByName("Nombre").asString(), "Pérez");
}

TEST_P(BusquedaTest, F3CyclesTheModesAndTheStatusBarSaysWhich)
{
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_EQ(f.ListaCamposBusqueda->items(), (QStringList{"Codigo;Linea", "Nombre", "Codigo", "Linea", "Notas", "Importe"}));
        EXPECT_EQ(f.StatusBar1->simpleText(), "Búsqueda Aproximada por Codigo;Linea");
        QTest::keyClick(f.DatoABuscar, Qt::Key_F3);
        EXPECT_TRUE(f.BusquedaFonetica->isChecked());
        QTest::keyClick(f.DatoABuscar, Qt::Key_F3);
        EXPECT_EQ(f.StatusBar1->simpleText(), "Búsqueda Parcial por Codigo;Linea");
        QTest::keyClick(f.DatoABuscar, Qt::Key_F3);
        EXPECT_TRUE(f.BusquedaAproximada->isChecked());
        QTest::keyClick(f.DatoABuscar, Qt::Key_2, Qt::ControlModifier);
        EXPECT_EQ(f.ListaCamposBusqueda->text(), "Nombre");
        QTest::keyClick(f.DatoABuscar, Qt::Key_F4);
        EXPECT_TRUE(f.PanelPersonalizarBusqueda->isVisible());
        QTest::keyClick(f.DatoABuscar, Qt::Key_F4);
        EXPECT_FALSE(f.PanelPersonalizarBusqueda->isVisible());
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    EXPECT_TRUE(BuscarRegistro(kTabla, 0).isNull());
}

TEST_P(BusquedaTest, PreferencesAreWrittenForTheUserAndRestored)
{
    alMostrar([](TfGENEBUSQ &f) {
        f.BusquedaParcial->setChecked(true);
        f.ResultadosOrdenados->setChecked(true);
        teclear(f, "A");
        EXPECT_TRUE(f.ultimaSentencia().contains("ORDER BY Codigo,Linea"));
        aceptar(f);
    });
    EXPECT_EQ(textos(BuscarRegistro(kTabla, 0)), (QStringList{"A", "1"}));
    EXPECT_EQ(datosBusqueda(), "BUSCAPRU:Codigo;Linea(P)(O)");

    fGENEBUSQ->BusquedaAproximada->setChecked(true);
    fGENEBUSQ->ResultadosOrdenados->setChecked(false);
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_TRUE(f.BusquedaParcial->isChecked());
        EXPECT_TRUE(f.ResultadosOrdenados->isChecked());
        EXPECT_FALSE(f.MostrarCamposMemo->isChecked());
        EXPECT_EQ(f.ListaCamposBusqueda->text(), "Codigo;Linea");
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    BuscarRegistro(kTabla, 0);

    // A general table searches at once and writes nothing.
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_TRUE(f.ClientDataSet1->active());
        aceptar(f);
    });
    EXPECT_EQ(textos(BuscarRegistro("USUARIO", 0)), QStringList{"ADMIN"});
    EXPECT_EQ(datosBusqueda(), "BUSCAPRU:Codigo;Linea(P)(O)");

    // With the user settings switched off the preference is read but not written.
    form_->Configuracion.parametros.DesactivarIndicesPorUsuarioEnBusquedas = true;
    alMostrar([](TfGENEBUSQ &f) {
        f.BusquedaFonetica->setChecked(true);
        teclear(f, "A");
        aceptar(f);
    });
    BuscarRegistro(kTabla, 0);
    EXPECT_EQ(datosBusqueda(), "BUSCAPRU:Codigo;Linea(P)(O)");
}

TEST_P(BusquedaTest, TheUsersSearchIndexSelectsItsFields)
{
    modulo_->GrabarConfiguracionUsuario("ADMIN", "IndicesBusqueda", modulo_->NombreTablaSQL(kTabla) + ":2");
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_EQ(f.ListaCamposBusqueda->text(), "Nombre");
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    BuscarRegistro(kTabla, 0);
    modulo_->GrabarConfiguracionUsuario("ADMIN", "IndicesBusqueda", QString());
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_EQ(f.ListaCamposBusqueda->text(), "Nombre");   // the caller's index
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    BuscarRegistro(kTabla, 2);
}

TEST_P(BusquedaTest, ValueFiltersAccumulateUntilCancelled)
{
    alMostrar([this](TfGENEBUSQ &f) {
        teclear(f, "");
        plat::DataSet &respuesta = f.ClientDataSet1->dataSet();
        EXPECT_EQ(respuesta.recordCount(), 4);
        f.DBGrid1->setSelectedField(respuesta.findField("Nombre"));
        mensajes_.programarRespuestas({"O'Brien"});
        f.FiltrarRegistrosporValorIguala->Click();
        EXPECT_EQ(respuesta.recordCount(), 1);
        EXPECT_EQ(f.filtroValores(), "(Nombre = 'O''Brien')");

        teclear(f, "");   // a new search keeps the conditions for the next filter
        EXPECT_EQ(respuesta.recordCount(), 4);
        f.DBGrid1->setSelectedField(respuesta.findField("Codigo"));
        mensajes_.programarRespuestas({"B"});
        f.FiltrarRegistrosporValorDesde->Click();
        EXPECT_EQ(f.filtroValores(), "(Nombre = 'O''Brien') AND (Codigo >= 'B')");
        EXPECT_EQ(respuesta.recordCount(), 1);
        // A value that is not a number for a number field is refused; the filter stays.
        f.DBGrid1->setSelectedField(respuesta.findField("Importe"));
        mensajes_.limpiar();
        mensajes_.programarRespuestas({"mucho"});
        f.FiltrarRegistrosporValorHasta->Click();
        EXPECT_EQ(mensajes_.textos().value(1), "¡No ha sido posible filtrar registros!");
        EXPECT_EQ(f.filtroValores(), "(Nombre = 'O''Brien') AND (Codigo >= 'B')");
        EXPECT_EQ(respuesta.recordCount(), 1);
        f.CancelarFiltros1->Click();
        EXPECT_EQ(respuesta.recordCount(), 4);
        mensajes_.programarRespuestas({"A", "B"});
        f.FiltrarRegistrosporValoresDesdeHasta1->Click();
        EXPECT_EQ(f.filtroValores(), "(Codigo >= 'A') AND (Codigo <= 'B')");
        EXPECT_EQ(respuesta.recordCount(), 3);
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    BuscarRegistro(kTabla, 0);
}

TEST_P(BusquedaTest, ADefaultDatumOnACompanyTableWaitsForEnter)
{
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_EQ(f.DatoABuscar->text(), "C");
        EXPECT_FALSE(f.ClientDataSet1->active());
        EXPECT_EQ(f.NumeroMaximoRegistros->text(), "100");
        QTest::keyClick(f.DatoABuscar, Qt::Key_Return);
        aceptar(f);
    });
    EXPECT_EQ(textos(BuscarRegistroConFiltroYDato(kTabla, 0, "", "C")), (QStringList{"C", "1"}));

    // With a filter the search runs at once; the parameters are consumed by it.
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_TRUE(f.ClientDataSet1->active());
        EXPECT_EQ(f.ClientDataSet1->dataSet().recordCount(), 2);
        EXPECT_EQ(f.DatoABuscar->text(), "");
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    BuscarRegistroConParametros(kTabla, "Filtro=Codigo = 'A'\r\nIndiceBusqueda=x");
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_TRUE(f.Filtro.isEmpty());
        EXPECT_FALSE(f.ClientDataSet1->active());
        QTest::keyClick(f.DatoABuscar, Qt::Key_Escape);
    });
    BuscarRegistro(kTabla, 0);
}

TEST_P(BusquedaTest, TheApproximateFormLooksForEveryValueGiven)
{
    delete fGENEBUSQ;
    fGENEBUSA = plat::createForm<TfGENEBUSA>();
    TfGENEBUSA &f = *fGENEBUSA;
    f.prepararBusqueda(kTabla);
    EXPECT_EQ(f.caption(), "Búsqueda por Aproximación en la tabla BUSCAPRU");
    EXPECT_EQ(f.ValueListEditor->strings(), (QStringList{"Codigo=", "Linea=", "Nombre=", "Notas=", "Importe="}));
    f.pbBuscar->click();
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡Debe introducir alguna restricción para realizar la búsqueda!"});

    plat::application().OnModalShown = [](plat::Form &shown) {
        auto &a = static_cast<TfGENEBUSA &>(shown);
        a.ValueListEditor->setValue("Nombre", "garcia");
        a.pbBuscar->click();
        EXPECT_EQ(a.Query1->dataSet().recordCount(), 1);
        QTest::keyClick(a.DBGrid1, Qt::Key_Return);
    };
    EXPECT_EQ(textos(BuscarRegistro(kTabla, 0)), (QStringList{"A", "1"}));
}

TEST_P(BusquedaTest, SearchTablesOfControlsAreKeptInBusquedaTxt)
{
    EXPECT_EQ(LeerValorBusqueda("EditCliente"), "");
    GrabarValorBusqueda("EditCliente", "CLIENTE");
    GrabarValorBusqueda("EditOperación", "OPERARIO");
    EXPECT_EQ(LeerValorBusqueda("EditCliente"), "CLIENTE");
    EXPECT_EQ(LeerValorBusqueda("editoperación"), "OPERARIO");
    QFile fichero(dir_.file("BUSQUEDA.TXT"));
    ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(fichero.readAll()), "EditCliente=CLIENTE\r\nEditOperación=OPERARIO\r\n");
}

TEST_P(BusquedaTest, TheFrameworksEntryPointsReachTheSearch)
{
    struct Puntos
    {
        std::function<QString(const QString &)> LeerValorBusqueda;
        std::function<void(const QString &, const QString &)> GrabarValorBusqueda;
        std::function<QString(const QString &, const QString &)> BuscarRegistro;
    } puntos;
    instalarServiciosBusqueda(puntos);
    puntos.GrabarValorBusqueda("EditCliente", kTabla);
    EXPECT_EQ(puntos.LeerValorBusqueda("EditCliente"), kTabla);
    alMostrar([](TfGENEBUSQ &f) {
        EXPECT_EQ(f.ListaCamposBusqueda->text(), "Nombre");   // index 2 asked by the framework
        f.BusquedaParcial->setChecked(true);
        teclear(f, "Chac");
        aceptar(f);
    });
    EXPECT_EQ(puntos.BuscarRegistro(kTabla, "2"), QString("A;2"));
}

INSTANTIATE_TEST_SUITE_P(Motores, BusquedaTest, ::testing::Bool(), NombreMotor);

} // namespace
