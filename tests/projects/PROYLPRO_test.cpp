#include "ProyectosFixture.h"

#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataControls.h"
#include "projects/PROYLPRO.h"
#include "projects/PeticionImpreso.h"

#include <optional>

namespace {

// What the print hook received: the request and its tables' rows, one text per row.
struct PeticionVista
{
    QString codigoImpreso, indiceLineas, campoMaestro, barraEstado;
    bool vistaPrevia = false;
    QStringList documentos;
    QStringList lineas;
    QString tablaDocumentos;
};

const QStringList kColumnasLinea = {"CodigoProyecto", "Linea",       "LineaMemo",         "Capitulo",
                                    "Descripcion",    "DescripcionAmpliada", "DescripcionCapitulo",
                                    "TiempoPrevisto", "Importe",     "Instrucciones"};

// The form's look turns the bar into panels; what it shows is their texts.
QString textoBarra(plat::StatusBar &barra)
{
    if (barra.simplePanel())
        return barra.simpleText();
    QStringList textos;
    for (const plat::StatusPanel &panel : barra.panels())
        textos << panel.Text;
    return textos.join(QString()).trimmed();
}

QString fila(const plat::TableDataSet &t, const QStringList &columnas)
{
    QStringList valores;
    for (const QString &c : columnas) {
        const plat::Field &campo = t.fieldByName(c);
        valores << (campo.isNull() ? QStringLiteral("<null>")
                    : campo.isNumeric() ? campo.value().toString()
                                        : campo.asString());
    }
    return valores.join(u'|');
}

class ListadoDocumentosProyecto : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *impreso : {"'P2', 'Proyecto B', 'Proyecto'", "'P1', 'Proyecto A', 'Proyecto'",
                                    "'G1', 'Gama', 'Gama Control'", "'O1', 'Otro', 'Otro'"})
            ASSERT_EQ(sql(QStringLiteral("INSERT INTO IMPRESO (Codigo, Descripcion, TipoDocumento) VALUES (%1)")
                              .arg(QLatin1String(impreso))),
                      QString());
    }

    void TearDown() override
    {
        delete ventana_;
        ProyectosMotorTest::TearDown();
    }

    TfPROYLPRO &ventana()
    {
        if (!ventana_)
            ventana_ = ventanaPrograma<TfPROYLPRO>();
        return *ventana_;
    }

    // Lists through a hook that records the request and the rows of its tables.
    std::optional<PeticionVista> listar(std::function<void()> duranteRelleno = {})
    {
        std::optional<PeticionVista> vista;
        Gancho<ImprimirPeticionFn>::Instalacion gancho(
            ganchoImprimirPeticion(), [&](const PeticionImpreso &peticion) {
                PeticionVista v;
                v.codigoImpreso = peticion.codigoImpreso;
                v.vistaPrevia = peticion.vistaPrevia;
                v.indiceLineas = peticion.indiceLineas;
                v.campoMaestro = peticion.campoMaestroLineas;
                v.barraEstado = textoBarra(*ventana().StatusBar1);
                TablasPeticion tablas(peticion);
                v.tablaDocumentos = tablas.documentos().tableName();
                vista = v;
                PeticionImpreso conFallo = peticion;
                conFallo.rellenar = [&](plat::TableDataSet &d, plat::TableDataSet &l) {
                    peticion.rellenar(d, l);
                    if (duranteRelleno)
                        duranteRelleno();
                };
                rellenarPeticion(conFallo, tablas.documentos(), tablas.lineas());
                plat::TableDataSet &d = tablas.documentos();
                for (d.first(); !d.eof(); d.next()) {
                    vista->documentos << fila(d, {"CodigoProyecto", "Descripcion", "NumeroCopias"})
                                             + (d.fieldByName("FechaFinalizacion").asString().isEmpty() ? "|" : "|fecha");
                    plat::TableDataSet &l = tablas.lineas();
                    for (l.first(); !l.eof(); l.next())
                        vista->lineas << fila(l, kColumnasLinea);
                }
            });
        ventana().pbListarClick(nullptr);
        return vista;
    }

    TfPROYLPRO *ventana_ = nullptr;
};

TEST_P(ListadoDocumentosProyecto, ChaptersBecomeNumberedLinesWithASpacerBeforeEachFirstLevelChapter)
{
    proyecto("12", "2024-01-10", "2024-06-30");
    ASSERT_EQ(sql(QStringLiteral("UPDATE PROYECT SET Descripcion = '%1' WHERE Codigo = '12'").arg(QString(100, u'd'))),
              QString());
    linea("12", 1, "1", "2024-01-10", "2024-01-20", 8, "10");
    linea("12", 2, "2", "2024-01-10", "2024-01-20", 12.25, "20");
    linea("12", 3, "2.1", "2024-01-10", "2024-01-20", 0.1, "30");
    linea("12", 4, "2.1.1", "2024-01-10", "2024-01-20", 3, "40");
    linea("12", 5, "3", "2024-01-10", "2024-01-20", 5, "50");
    ASSERT_EQ(sql("UPDATE LPROYECT SET Importe = 0"), QString());
    ASSERT_EQ(sql("UPDATE LPROYECT SET DescripcionAmpliada = 'x', Importe = 1234.56 WHERE Linea = 3"), QString());
    ventana().DesdeProyecto->setText("12");
    ventana().HastaProyecto->setText("12");
    ventana().VisualizacionPrevia->setChecked(false);

    const auto vista = listar();

    ASSERT_TRUE(vista.has_value());
    EXPECT_EQ(vista->codigoImpreso, "P1");
    EXPECT_FALSE(vista->vistaPrevia);
    EXPECT_EQ(vista->indiceLineas, "CodigoProyecto;Linea;LineaMemo");
    EXPECT_EQ(vista->campoMaestro, "CodigoProyecto");
    EXPECT_EQ(vista->barraEstado, "Creando informe...");
    EXPECT_EQ(vista->documentos, QStringList{"12|" + QString(40, u'd') + "|1|"});
    const QStringList esperadas = {
        "12|1|0|1|Linea 1||1 - Linea 1|8|0|",
        "12|2|0|2|Linea 2||2 - Linea 2|12.25|0|",
        "12|3|0|||||<null>|<null>|",
        "12|4|0|2.1|Linea 3|\r\nx|2.1 - Linea 3|0.1|1234.56|Font=Arial;8;;Negrita",
        "12|5|0|2.1.1|Linea 4||2.1.1 - Linea 4|3|0|",
        "12|6|0|3|Linea 5||3 - Linea 5|5|0|",
    };
    EXPECT_EQ(vista->lineas, esperadas) << vista->lineas.join(u'\n').toStdString();
    EXPECT_EQ(textoBarra(*ventana().StatusBar1), QString());
    EXPECT_FALSE(ventana().ocupado());
    EXPECT_FALSE(fGENEINIC->Database().tableExists(vista->tablaDocumentos));
}

TEST_P(ListadoDocumentosProyecto, TheDefaultRangeListsEveryProjectInCodeOrderAndAnEmptyOneStillPrints)
{
    for (const char *codigo : {"9", "12", "10"})
        proyecto(codigo, "2024-01-10", "NULL", "2024-02-01");
    const auto todos = listar();
    ASSERT_TRUE(todos.has_value());
    EXPECT_EQ(todos->documentos,
              (QStringList{"10|Proyecto 10|1|fecha", "12|Proyecto 12|1|fecha", "9|Proyecto 9|1|fecha"}));

    ventana().DesdeProyecto->setText("A");
    ventana().HastaProyecto->setText("B");
    const auto vacio = listar();
    ASSERT_TRUE(vacio.has_value());
    EXPECT_TRUE(vacio->documentos.isEmpty());
    EXPECT_TRUE(vacio->lineas.isEmpty());
    EXPECT_TRUE(vacio->vistaPrevia);
}

TEST_P(ListadoDocumentosProyecto, TheListOffersOnlyProjectLayoutsAndWithoutOneNothingIsListed)
{
    QStringList ofrecidos;
    for (int i = 0; i < ventana().EditFormatoImpreso->count(); ++i)
        ofrecidos << ventana().EditFormatoImpreso->itemText(i);
    EXPECT_EQ(ofrecidos, (QStringList{"Proyecto A", "Proyecto B"}));

    ASSERT_EQ(sql("DELETE FROM IMPRESO WHERE TipoDocumento = 'Proyecto'"), QString());
    delete ventana_;
    ventana_ = nullptr;
    mensajes_.limpiar();
    EXPECT_FALSE(listar().has_value());
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡Debe definir el Formato del Impreso"});
}

TEST_P(ListadoDocumentosProyecto, AFailedFillReleasesTheWindowAndItsTables)
{
    proyecto("12", "2024-01-10", "2024-06-30");
    QString tablaDocumentos;
    bool cierreAceptado = true;
    Gancho<ImprimirPeticionFn>::Instalacion gancho(ganchoImprimirPeticion(), [&](const PeticionImpreso &peticion) {
        TablasPeticion tablas(peticion);
        tablaDocumentos = tablas.documentos().tableName();
        PeticionImpreso conFallo = peticion;
        conFallo.rellenar = [&](plat::TableDataSet &d, plat::TableDataSet &l) {
            peticion.rellenar(d, l);
            cierreAceptado = ventana().CloseQuery();
            throw gp::Error("disco lleno");
        };
        rellenarPeticion(conFallo, tablas.documentos(), tablas.lineas());
    });
    mensajes_.limpiar();
    ventana().pbListarClick(nullptr);

    EXPECT_FALSE(cierreAceptado);
    EXPECT_FALSE(ventana().ocupado());
    EXPECT_EQ(textoBarra(*ventana().StatusBar1), QString());
    EXPECT_FALSE(fGENEINIC->Database().tableExists(tablaDocumentos));
    EXPECT_TRUE(mensajes_.textos().join(u'\n').contains("disco lleno")) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(ventana().CloseQuery());
}

INSTANTIATE_TEST_SUITE_P(Motores, ListadoDocumentosProyecto, ::testing::Bool(), NombreMotor);

} // namespace
