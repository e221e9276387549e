#include "ProyectosFixture.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "platform/base/FechaHora.h"

#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "projects/gamas/CALILGAM.h"
#include "projects/comun/PeticionImpreso.h"

namespace {

TEST(LecturasGamas, OrderLinesAndAnArticlesRangeCodes)
{
    const struct
    {
        const char *linea;
        std::optional<std::pair<int, int>> orden;
    } ordenes[] = {{"2024/1", std::make_pair(2024, 1)},
                   {"2024/99/x", std::make_pair(2024, 99)},
                   {"abc/1", std::nullopt},
                   {"2024/", std::nullopt},
                   {"2024", std::nullopt},
                   {"", std::nullopt}};
    for (const auto &caso : ordenes)
        EXPECT_EQ(LeerNumeroOrden(caso.linea), caso.orden) << caso.linea;

    EXPECT_EQ(LeerCodigosGama("G1\r\nG2\nG1\r\n"), (QStringList{"G1", "G2"}));
    EXPECT_EQ(LeerCodigosGama("G3\n\nG1"), (QStringList{"G3", "G1"}));
    EXPECT_EQ(LeerCodigosGama(""), QStringList());
}

class RellenoGamasTest : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *g : {"G1", "G2", "G3"}) {
            ASSERT_EQ(sql(QStringLiteral("INSERT INTO GCNTROL (Codigo, Descripcion, NivelModificacion) VALUES ('%1', 'Gama %1', 'B')")
                              .arg(QLatin1String(g))),
                      QString());
            for (int n = 1; n <= 2; ++n)
                ASSERT_EQ(sql(QStringLiteral("INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, DescripcionAmpliada, NCA) "
                                             "VALUES ('%1', %2, 'Caracteristica %2', 'Ampliada %2', 'N')")
                                  .arg(QLatin1String(g))
                                  .arg(n * 10)),
                          QString());
        }
        peticion_.definicionDocumentos = DefinicionDocumentosGama;
        peticion_.definicionLineas = DefinicionLineasGama;
        peticion_.indiceLineas = "Prefijo;Linea;LineaMemo";
        peticion_.campoMaestroLineas = "Prefijo";
    }

    // Runs the fill and answers the documents' prefixes and, per document, "Linea:CodigoGama/LineaGama".
    QStringList rellenar(const SeleccionGamas &s, QStringList *lineasVistas = nullptr,
                         std::function<void(plat::TableDataSet &)> documentoVisto = {})
    {
        plat::TableComponent gama, lineas, historico, articulo, orden;
        const std::pair<plat::TableComponent *, const char *> tablas[] = {
            {&gama, "GCNTROL"}, {&lineas, "LGCNTROL"}, {&historico, "HGCNTROL"}, {&articulo, "ARTICULO"}, {&orden, "OORDEN"}};
        for (const auto &[componente, nombre] : tablas) {
            componente->setTableName(QLatin1String(nombre));
            abrir(componente->table());
        }
        TablasPeticion peticion(peticion_);
        RellenarGamasControl({gama.table(), lineas.table(), historico.table(), articulo.table(), orden.table()}, s,
                             peticion.documentos(), peticion.lineas());
        QStringList prefijos;
        plat::TableDataSet &d = peticion.documentos();
        for (d.first(); !d.eof(); d.next()) {
            prefijos << d.fieldByName("Prefijo").asString();
            if (documentoVisto)
                documentoVisto(d);
            plat::TableDataSet &l = peticion.lineas();
            for (l.first(); !l.eof(); l.next())
                if (lineasVistas)
                    *lineasVistas << QStringLiteral("%1:%2/%3").arg(l.fieldByName("Linea").asString(),
                                                                    l.fieldByName("CodigoGama").asString(),
                                                                    l.fieldByName("LineaGama").asString());
        }
        return prefijos;
    }

    // A company table, made from its definition the first time.
    static void abrir(plat::TableDataSet &t)
    {
        if (!t.active())
            ASSERT_TRUE(fGENEINIC->AbrirDataSet(t));
    }

    static void articulo(const QString &codigo, const QString &gamas)
    {
        plat::TableComponent t;
        t.setTableName("ARTICULO");
        abrir(t.table());
        t.table().append();
        t.table().fieldByName("Codigo").setAsString(codigo);
        t.table().fieldByName("CodigoGama").setAsString(gamas);
        t.table().post();
    }

    PeticionImpreso peticion_;
};

TEST_P(RellenoGamasTest, ByRangeEachDocumentCarriesItsHistoryAlignedWithItsResponsibility)
{
    plat::TableComponent h;
    h.setTableName("HGCNTROL");
    abrir(h.table());
    for (int n = 1; n <= 3; ++n)
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('G2', %1, 'N%1', 'Cambio %1')")
                          .arg(n)),
                  QString());
    Gancho<LeerResponsabilidadFn>::Instalacion responsabilidad(
        ganchoResponsabilidadDocumental(), [](const QString &tabla, const QString &clave) -> std::optional<DatosResponsabilidad> {
            if (tabla == "HGCNTROL" && clave == "G2|2|")
                return std::nullopt;   // a history row without responsibility data
            DatosResponsabilidad d;
            d.realizadoPor = 7;
            d.nombreRealizadoPor = "Realiza " + clave;
            d.aprobadoPor = 8;
            d.nombreAprobadoPor = "Aprueba " + clave;
            return d;
        });
    SeleccionGamas s;
    s.desdeGama = "G2";
    s.hastaGama = "G2";
    s.incorporarDescripcionAmpliada = false;
    QStringList lineas;
    QStringList vistos;
    const QStringList prefijos = rellenar(s, &lineas, [&](plat::TableDataSet &d) {
        for (const char *c : {"RealizadoPor", "NombreRealizadoPor", "AprobadoPor", "NombreAprobadoPor", "DatosHistorico",
                              "NombreRealizadoHistorico", "NombreAprobadoHistorico"})
            vistos << d.fieldByName(c).asString();
    });
    EXPECT_EQ(prefijos, QStringList{"G2"});
    EXPECT_EQ(lineas, (QStringList{"10:G2/10", "20:G2/20"}));
    EXPECT_EQ(vistos, (QStringList{"7", "Realiza G2|", "8", "Aprueba G2|", "N1: Cambio 1\r\nN2: Cambio 2\r\nN3: Cambio 3\r\n",
                                   "Realiza G2|1|\r\n\r\nRealiza G2|3|\r\n", "Aprueba G2|1|\r\n\r\nAprueba G2|3|\r\n"}));
}

TEST_P(RellenoGamasTest, WithoutAHookOfItsOwnTheResponsibilityIsTheDataModules)
{
    plat::TableComponent h;
    h.setTableName("HGCNTROL");
    abrir(h.table());
    ASSERT_EQ(sql("INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('G2', 1, 'N1', 'Cambio 1')"), QString());
    for (const char *fila : {"3, 'Ana Núñez'", "7, 'Eva Ruiz'"})
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (%1)").arg(QString::fromUtf8(fila))), QString());
    plat::TableDataSet &r = ModuloDatos->Responsabilidad->table();
    ASSERT_TRUE(r.active());
    const auto responsabilidad = [&r](const char *tabla, const char *clave, int realizado, const QDateTime &fecha) {
        r.append();
        r.fieldByName("NombreTabla").setAsString(QLatin1String(tabla));
        r.fieldByName("ClaveTabla").setAsString(QLatin1String(clave));
        r.fieldByName("RealizadoPor").setAsInteger(realizado);
        r.fieldByName("FechaRealizacion").setAsDateTime(fecha);
        r.fieldByName("AprobadoPor").setAsInteger(7);
        r.fieldByName("FechaAprobacion").setAsDateTime(FechaCero());
        r.post();
    };
    responsabilidad("GCNTROL", "G2", 3, FechaHora(QDate(2024, 3, 5)));
    responsabilidad("HGCNTROL", "G2|1|", 7, FechaCero());
    SeleccionGamas s;
    s.desdeGama = "G2";
    s.hastaGama = "G2";
    QStringList vistos;
    rellenar(s, nullptr, [&](plat::TableDataSet &d) {
        for (const char *c : {"RealizadoPor", "NombreRealizadoPor", "FechaRealizacion", "NombreAprobadoPor",
                              "FechaAprobacion", "NombreRealizadoHistorico", "FechaRealizacionHistorico"})
            vistos << d.fieldByName(c).asString();
    });
    ASSERT_EQ(vistos.size(), 7);
    EXPECT_EQ(vistos.mid(0, 2), (QStringList{"3", "Ana Núñez"}));
    EXPECT_TRUE(vistos[2].startsWith("05/03/2024")) << vistos[2].toStdString();
    EXPECT_EQ(vistos.mid(3), (QStringList{"Eva Ruiz", "", "Eva Ruiz\r\n", "\r\n"}));
}

TEST_P(RellenoGamasTest, ByArticleGroupedOrNotSkippingOutsideUnknownAndRepeatedCodes)
{
    articulo("A1", "G2\r\nG9\nG3\nG2");
    articulo("A2", "G1");
    SeleccionGamas s;
    s.desdeGama = "G1";
    s.hastaGama = "G2";
    s.desdeArticulo = "A1";
    s.hastaArticulo = "A2";
    QStringList lineas;
    EXPECT_EQ(rellenar(s, &lineas), (QStringList{"A1", "A2"}));
    EXPECT_EQ(lineas, (QStringList{"1:G2/10", "2:G2/20", "3:G1/10", "4:G1/20"}));

    s.agruparPorArticulo = false;
    lineas.clear();
    EXPECT_EQ(rellenar(s, &lineas), (QStringList{QString(28, u' ') + "A1G2", QString(28, u' ') + "A2G1"}));
    EXPECT_EQ(lineas, (QStringList{"1:G2/10", "2:G2/20", "3:G1/10", "4:G1/20"}));
}

TEST_P(RellenoGamasTest, ByOrdersEachRangeOnceAndBadLinesSkipped)
{
    plat::TableComponent o;
    o.setTableName("OORDEN");
    abrir(o.table());
    ASSERT_EQ(sql("INSERT INTO OORDEN (Ejercicio, NumeroOrden, CodigoGama, SituacionOrden) VALUES (2024, 1, 'G3', 'Abierta')"), QString());
    ASSERT_EQ(sql("INSERT INTO OORDEN (Ejercicio, NumeroOrden, CodigoGama, SituacionOrden) VALUES (2024, 2, 'G3', 'Abierta')"), QString());
    SeleccionGamas s;
    s.hastaGama = "zzzzzzzzzzzzzzzzzzzz";
    s.porOrdenes = true;
    s.ordenes = {"2024/1", "2024/2", "abc/1", "2024/99", ""};
    QStringList lineas;
    EXPECT_EQ(rellenar(s, &lineas), QStringList{"G3"});
    EXPECT_EQ(lineas, (QStringList{"10:G3/10", "20:G3/20"}));

    s.porOrdenes = false;   // the list is ignored: every range by code
    EXPECT_EQ(rellenar(s), (QStringList{"G1", "G2", "G3"}));
}

TEST_P(RellenoGamasTest, TheCancelFlagStopsByRangeAndByOrdersButNotByArticle)
{
    // The user cancels while the first range's history is read.
    Gancho<LeerResponsabilidadFn>::Instalacion cancelar(
        ganchoResponsabilidadDocumental(), [](const QString &, const QString &) -> std::optional<DatosResponsabilidad> {
            ListadoCancelado = true;
            return std::nullopt;
        });
    SeleccionGamas s;
    s.hastaGama = "zzzzzzzzzzzzzzzzzzzz";
    EXPECT_EQ(rellenar(s), QStringList{"G1"});

    plat::TableComponent o;
    o.setTableName("OORDEN");
    abrir(o.table());
    ASSERT_EQ(sql("INSERT INTO OORDEN (Ejercicio, NumeroOrden, CodigoGama, SituacionOrden) VALUES (2024, 1, 'G2', 'Abierta')"), QString());
    ASSERT_EQ(sql("INSERT INTO OORDEN (Ejercicio, NumeroOrden, CodigoGama, SituacionOrden) VALUES (2024, 2, 'G1', 'Abierta')"), QString());
    s.porOrdenes = true;
    s.ordenes = {"2024/1", "2024/2"};
    EXPECT_EQ(rellenar(s), QStringList{"G2"});

    articulo("A1", "G1\nG2");
    s.desdeArticulo = "A1";
    s.hastaArticulo = "A1";
    s.agruparPorArticulo = false;
    EXPECT_EQ(rellenar(s).size(), 2);
    ListadoCancelado = false;
}

INSTANTIATE_TEST_SUITE_P(Motores, RellenoGamasTest, ::testing::Bool(), NombreMotor);

} // namespace

namespace {

class VentanaGamas : public RellenoGamasTest
{
protected:
    void SetUp() override
    {
        RellenoGamasTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *impreso : {"'P1', 'Proyecto', 'Proyecto'", "'G2', 'Gama B', 'Gama Control'",
                                    "'G1', 'Gama A', 'Gama Control'", "'O1', 'Otro', 'Otro'"})
            ASSERT_EQ(sql(QStringLiteral("INSERT INTO IMPRESO (Codigo, Descripcion, TipoDocumento) VALUES (%1)")
                              .arg(QLatin1String(impreso))),
                      QString());
    }
};

TEST_P(VentanaGamas, OpeningTakesTheMastersBoundsAndDocumentsAndOffersOnlyRangeLayouts)
{
    GamaDesdeApertura = "G2";
    GamaHastaApertura = "G2";
    DocumentosApertura = "B\r\nA\r\nB";
    std::unique_ptr<TfCALILGAM> ventana(ventanaPrograma<TfCALILGAM>());
    EXPECT_EQ(ventana->DesdeGama->text(), "G2");
    EXPECT_EQ(ventana->HastaGama->text(), "G2");
    EXPECT_EQ(ventana->NumerosDocumento->lines(), (QStringList{"A", "B"}));
    EXPECT_TRUE(GamaDesdeApertura.isEmpty() && GamaHastaApertura.isEmpty() && DocumentosApertura.isEmpty());
    EXPECT_FALSE(ventana->NumerosDocumento->isEnabled());
    ventana->pbImprimirGamasDocumentos->setChecked(true);
    ventana->pbImprimirGamasDocumentosClick(nullptr);
    EXPECT_TRUE(ventana->NumerosDocumento->isEnabled());
    QStringList ofrecidos;
    for (int i = 0; i < ventana->EditFormatoImpreso->count(); ++i)
        ofrecidos << ventana->EditFormatoImpreso->itemText(i);
    EXPECT_EQ(ofrecidos, (QStringList{"Gama A", "Gama B"}));

    // The listing: the chosen layout, and typing an article switches to the listing by article.
    articulo("A1", "G1");
    ventana->DesdeArticulo->setText("A1");
    ventana->HastaArticulo->setText("A9");
    PeticionImpreso vista;
    QStringList prefijos;
    Gancho<ImprimirPeticionFn>::Instalacion gancho(ganchoImprimirPeticion(), [&](const PeticionImpreso &peticion) {
        vista = peticion;
        TablasPeticion tablas(peticion);
        rellenarPeticion(peticion, tablas.documentos(), tablas.lineas());
        for (tablas.documentos().first(); !tablas.documentos().eof(); tablas.documentos().next())
            prefijos << tablas.documentos().fieldByName("Prefijo").asString();
    });
    ventana->pbListarClick(nullptr);
    EXPECT_EQ(vista.codigoImpreso, "G1");
    EXPECT_EQ(vista.indiceLineas, "Prefijo;Linea;LineaMemo");
    EXPECT_EQ(vista.campoMaestroLineas, "Prefijo");
    EXPECT_EQ(prefijos, QStringList{"A1"});
    EXPECT_FALSE(ventana->ocupado());
}

TEST_P(VentanaGamas, AFailedListingLeavesTheWindowFreeAndClosingIsRefusedWhileBusy)
{
    std::unique_ptr<TfCALILGAM> ventana(ventanaPrograma<TfCALILGAM>());
    bool cierreAceptado = true;
    int ejecuciones = 0;
    Gancho<ImprimirPeticionFn>::Instalacion gancho(ganchoImprimirPeticion(), [&](const PeticionImpreso &) {
        ++ejecuciones;
        cierreAceptado = ventana->CloseQuery();
        throw gp::Error("sin papel");
    });
    mensajes_.limpiar();
    ventana->pbListarClick(nullptr);
    ventana->pbListarClick(nullptr);
    EXPECT_EQ(ejecuciones, 2);
    EXPECT_FALSE(cierreAceptado);
    EXPECT_TRUE(mensajes_.textos().join(u'\n').contains("sin papel"));
    EXPECT_TRUE(ventana->CloseQuery());
}

INSTANTIATE_TEST_SUITE_P(Motores, VentanaGamas, ::testing::Bool(), NombreMotor);

} // namespace
