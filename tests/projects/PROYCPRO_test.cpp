// The project query over open and closed projects, on SQLite and PostgreSQL.
#include "ProyectosFixture.h"
#include "TextosPintados.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/base/FechaHora.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "platform/ui/Application.h"
#include "platform/ui/Grids.h"
#include "projects/proyectos/PROYCPRO.h"
#include "projects/proyectos/PROYPROY.h"

#include <QItemSelectionModel>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// A date n days from today as the database stores it.
QString DiaSQL(int n)
{
    return QStringLiteral("'") + FechaHora(Ahora().date().addDays(n)).toString(QStringLiteral("yyyy-MM-dd"))
        + QStringLiteral(" 00:00:00'");
}

class ConsultaProyectosTest : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const QStringList sentencias = {
            "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (3, 'Ana Ruiz')",
            "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (7, 'Ruiz - Pérez')",
            "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (12, 'Zoe Gil')",
            "INSERT INTO PROYECT (Codigo, Descripcion, NombreCliente, Director, FechaAceptacion, FechaEntrega, "
            "Situacion) VALUES ('P1', 'Nave', 'O''Brien', 12, " + DiaSQL(-60) + ", " + DiaSQL(40) + ", 'Abierto')",
            "INSERT INTO PROYECT (Codigo, Descripcion, NombreCliente, Director, FechaEntrega, FechaFinalizacion, "
            "Situacion) VALUES ('P2', 'Oficinas', 'Ebro', 12, '2024-03-15 00:00:00', '2024-04-02 00:00:00', 'Cerrado')",
            "INSERT INTO PROYECT (Codigo, Descripcion, NombreCliente, Director, FechaEntrega, Situacion) VALUES "
            "('P3', 'Almacén', 'Ebro', 3, '2024-05-20 00:00:00', 'Abierto')",
            "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion) VALUES ('P1', 1, '01', 'Obra')",
            "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, "
            "TiempoPrevisto, GradoAvance) VALUES ('P1', 2, '01.01', 'Pasado', " + DiaSQL(-40) + ", " + DiaSQL(-10)
                + ", 100, '50')",
            "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, "
            "TiempoPrevisto, GradoAvance) VALUES ('P1', 3, '01.02', 'Futuro', " + DiaSQL(5) + ", " + DiaSQL(30)
                + ", 200, '')",
            "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, TiempoPrevisto, GradoAvance) "
            "VALUES ('P1', 4, '01.03', 'Sin fechas', 30, '')",
        };
        for (const QString &s : sentencias)
            ASSERT_EQ(sql(s), QString()) << s.toStdString();
        ventana_ = ventanaPrograma<TfPROYCPRO>();
        ventana_->FormActivate(ventana_);
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        delete ventana_.data();
        ProyectosMotorTest::TearDown();
    }

    plat::DataSet &proyectos() { return ventana_->Proyecto->dataSet(); }
    plat::DataSet &capitulos() { return ventana_->LProyecto->dataSet(); }

    // The codes of the rows of a dataset, in order.
    static QString codigos(plat::DataSet &ds, const char *campo)
    {
        QStringList c;
        for (ds.first(); !ds.eof(); ds.next())
            c << ds.fieldByName(QString::fromLatin1(campo)).asString();
        ds.first();
        return c.join(u',');
    }

    void elegirDirector(const QString &texto)
    {
        ventana_->EditCodigoOperario->setItemIndex(ventana_->EditCodigoOperario->findText(texto));
        ventana_->ConstruirConsultaProyectos();
    }

    // The window's grid focused, on project P1 (and its chapters).
    void enfocar(plat::DBGrid *rejilla)
    {
        elegirDirector(QStringLiteral("Zoe Gil - 12"));
        proyectos().locate(QStringLiteral("Codigo"), QStringLiteral("P1"));
        if (rejilla != ventana_->DBGrid1)
            ventana_->PageControl1->setActivePage(ventana_->PagGrafico);
        ventana_->show();
        rejilla->setFocus();
        QApplication::processEvents();
    }

    // Chapter rows selected in DBGrid3 by their order in it.
    void seleccionar(std::initializer_list<int> filas)
    {
        plat::DBGrid *g = ventana_->DBGrid3;
        for (int fila : filas)
            g->selectionModel()->select(g->model()->index(fila, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QString lineas(const char *columnas)
    {
        return sql(QStringLiteral("SELECT %1 FROM LPROYECT WHERE CodigoProyecto = 'P1' ORDER BY Linea")
                       .arg(QString::fromLatin1(columnas)));
    }

    // A date column holding a date (the zero date stands for none).
    static QString fechaReal(const char *columna)
    {
        return QStringLiteral("%1 > '1900-01-01 00:00:00'").arg(QString::fromLatin1(columna));
    }

    QPointer<TfPROYCPRO> ventana_;
};

// The projects' dates are painted whole in the columns made for them, in the font in use.
TEST_P(ConsultaProyectosTest, TheProjectsDatesArePaintedWhole)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid1);
    plat::DBGrid *rejilla = f.DBGrid1;
    const int fila = rejilla->currentIndex().row();
    const TextosPintados textos(*rejilla->viewport());
    int fechas = 0;
    for (int columna = 0; columna < rejilla->columnCount(); ++columna) {
        const plat::Field *campo = rejilla->column(columna)->field();
        const QRect celda = rejilla->visualRect(rejilla->model()->index(fila, columna));
        if (!campo || !campo->fieldName().startsWith(QLatin1String("Fecha")) || campo->displayText().isEmpty()
            || !rejilla->viewport()->rect().contains(celda))
            continue;
        ++fechas;
        EXPECT_EQ(textos.en(celda),
                  QStringList{campo->displayText()})
            << campo->fieldName().toStdString();
    }
    EXPECT_GE(fechas, 2);
    guardarCaptura(f, QStringLiteral("consulta-proyectos-fechas-") + (GetParam() ? "postgresql" : "sqlite"));
}

TEST_P(ConsultaProyectosTest, DirectorsSituationsAndFiguresChooseAndDescribeTheProjects)
{
    TfPROYCPRO &f = *ventana_;
    EXPECT_EQ(f.EditCodigoOperario->items(),
              QStringList({"Ana Ruiz - 3", "Ruiz - Pérez - 7", "Zoe Gil - 12", "Todos"}));
    // The first director is chosen and only open projects are shown at start.
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P3");
    elegirDirector(QStringLiteral("Zoe Gil - 12"));
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P1");
    f.VerProyectosCerrados->setDownState(true);
    f.ConstruirConsultaProyectos();
    EXPECT_EQ(f.QryProyecto->query().sql(),
              "SELECT * FROM PROYECT WHERE ((Situacion = 'Abierto') OR (Situacion = 'Cerrado')) AND  (Director = 12) ");
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P1,P2");
    EXPECT_EQ(codigos(proyectos(), "NombreDirector"), "Zoe Gil,Zoe Gil");
    const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QString());
    proyectos().locate(QStringLiteral("Codigo"), QStringLiteral("P1"));
    EXPECT_EQ(proyectos().fieldByName("Tiempo").asFloat(), 330);
    EXPECT_EQ(proyectos().fieldByName("TiempoReal").asFloat(), plan.TiempoRealizado);
    EXPECT_EQ(proyectos().fieldByName("FechaFinal").asDateTime(), plan.FechaFinal);
    // The current project survives a re-query.
    proyectos().locate(QStringLiteral("Codigo"), QStringLiteral("P2"));
    f.ConstruirConsultaProyectos();
    EXPECT_EQ(proyectos().fieldByName("Codigo").asString(), "P2");
    // A name holding the separator still queries by its code.
    elegirDirector(QStringLiteral("Ruiz - Pérez - 7"));
    EXPECT_TRUE(proyectos().active());
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    f.VerProyectosAbiertos->setDownState(false);
    f.VerProyectosCerrados->setDownState(false);
    elegirDirector(QStringLiteral("Todos"));
    EXPECT_EQ(f.QryProyecto->query().sql(), "SELECT * FROM PROYECT ");
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P1,P2,P3");

    // Statistics only while their toggle is down.
    f.pbEstadisticas->setDownState(true);
    f.ConstruirConsultaProyectos();
    // 300 planned hours up to the date, 50 of them done ("50" of 100 h.); no dates add none.
    EXPECT_EQ(f.EditEstadisticas->text(), "Tiempo Asignado Pendiente: 250 h. (300 h. - 50 h.)");
    f.pbEstadisticas->setDownState(false);
    f.ConstruirConsultaProyectos();
    EXPECT_EQ(f.EditEstadisticas->text(), QString());

    // A wrong date is reported and the rows shown stay.
    f.DesdeHorizonte->setText(QStringLiteral("31/02/2025"));
    f.ConstruirConsultaProyectos();
    EXPECT_EQ(mensajes_.textos().value(0), "¡La fecha de Desde Horizonte es incorrecta! Repita por favor");
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P1,P2,P3");

    // With no operators the list holds "Todos" alone, chosen.
    ASSERT_EQ(sql("DELETE FROM OPERARIO"), QString());
    QPointer<TfPROYCPRO> otra = ventanaPrograma<TfPROYCPRO>();
    const auto sinOtra = qScopeGuard([&] { delete otra.data(); });
    EXPECT_EQ(otra->EditCodigoOperario->items(), QStringList{"Todos"});
    EXPECT_EQ(otra->EditCodigoOperario->text(), "Todos");
}

TEST_P(ConsultaProyectosTest, AWrongDateLeftIsSaidOnceAndTypedAgainWhereItIs)
{
    TfPROYCPRO &f = *ventana_;
    f.show();
    f.window()->show();
    QApplication::setActiveWindow(f.window());
    f.DesdeHorizonte->setFocus();
    f.DesdeHorizonte->setText(QStringLiteral("31/02/2025"));
    // Left, it is said and selected for typing again; left again as it is, it lets the focus
    // go, and neither that nor leaving the next date says anything more.
    for (QWidget *enfocado : std::initializer_list<QWidget *>{f.DesdeHorizonte, f.HastaHorizonte, nullptr}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
        if (enfocado) {
            EXPECT_EQ(QApplication::focusWidget(), enfocado);
        }
    }
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡La fecha de Desde Horizonte es incorrecta! Repita por favor"});
}

TEST_P(ConsultaProyectosTest, ChapterTogglesPagesAndTheirGroup)
{
    TfPROYCPRO &f = *ventana_;
    elegirDirector(QStringLiteral("Zoe Gil - 12"));
    EXPECT_EQ(codigos(capitulos(), "Linea"), "1,2,3");
    f.VerPlanificado->setDownState(true);
    f.ConstruirConsultaProyectos();
    EXPECT_EQ(codigos(capitulos(), "Linea"), "1,2,3,4");
    f.VerGradoAvance3->setDownState(true);
    EXPECT_FALSE(f.VerPlanificado->isChecked());
    f.VerSoloMalPlanificado->setDownState(true);
    f.ConstruirConsultaProyectos();
    EXPECT_EQ(codigos(capitulos(), "Linea"), "1,2");
    EXPECT_EQ(codigos(capitulos(), "Identificacion"), "Obra,Pasado");

    EXPECT_FALSE(f.VerDias->isEnabled());
    f.PageControl1->setActivePage(f.PagGrafico);
    f.PageControl1Change(f.PageControl1);
    for (QWidget *c : std::initializer_list<QWidget *>{f.VerDias, f.VerGradoAvance3, f.VerPlanificado,
                                                       f.VerSoloMalPlanificado, f.pbImprimir, f.pbImprimirApaisado})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    f.PageControl1->setActivePage(f.PagGeneral);
    f.PageControl1Change(f.PageControl1);
    EXPECT_FALSE(f.pbImprimirApaisado->isEnabled());
}

TEST_P(ConsultaProyectosTest, ValueFiltersNarrowTheProjectsAndARefusedTextKeepsThePreviousOne)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid1);
    elegirDirector(QStringLiteral("Todos"));
    f.VerProyectosCerrados->setDownState(true);
    f.ConstruirConsultaProyectos();
    f.DBGrid1->setSelectedField(proyectos().findField(QStringLiteral("FechaEntrega")));
    mensajes_.programarRespuestas({"01/03/2024", "31/03/2024"});
    f.FiltrarRegistrosporValoresDesdeHasta1Click(f.FiltrarRegistrosporValoresDesdeHasta1);
    EXPECT_EQ(mensajes_.mensajes().value(0).texto, "Introduzca el valor Desde F.Entrega");
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P2");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"abc"});
    f.FiltrarRegistrosporValorClick(f.FiltrarIgual1);
    EXPECT_EQ(mensajes_.textos().value(1), "¡No ha sido posible filtrar registros!");
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P2");
    f.CancelarFiltros1Click(&f);
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P1,P2,P3");
    f.DBGrid1->setSelectedField(proyectos().findField(QStringLiteral("NombreCliente")));
    mensajes_.programarRespuestas({"O'Brien"});
    f.FiltrarRegistrosporValorClick(f.FiltrarIgual1);
    EXPECT_EQ(codigos(proyectos(), "Codigo"), "P1");
}

TEST_P(ConsultaProyectosTest, ShiftAndExtendMoveOnlyDatesThatExistAndLeaveTheOriginals)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid2);
    const QString antes = lineas("FechaInicio, FechaFinal");
    mensajes_.programarRespuestas({"-3"});
    f.DesplazarClick(f.Desplazar1);
    const QDate hoy = Ahora().date();
    const auto dia = [&](int n) { return FechaHora(hoy.addDays(n)); };
    const QString despues = lineas("FechaInicio, FechaFinal, FechaInicioOriginal, FechaFinalOriginal");
    EXPECT_NE(antes, despues);
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto("P1", "01.01").FechaInicio, dia(-43));
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto("P1", "01.02").FechaFinal, dia(27));
    // The heading and the chapter with no dates keep none; the originals are untouched.
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE " + fechaReal("FechaInicio") + " AND Linea IN (1, 4)"), "0");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM LPROYECT WHERE " + fechaReal("FechaInicioOriginal") + " OR "
                  + fechaReal("FechaFinalOriginal")),
              "0");

    f.DBGrid3->setFocus();
    QApplication::processEvents();
    seleccionar({2});
    mensajes_.programarRespuestas({"5"});
    f.DesplazarClick(f.Ampliar1);
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto("P1", "01.02").FechaInicio, dia(2));
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto("P1", "01.02").FechaFinal, dia(32));
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto("P1", "01.01").FechaFinal, dia(-13));
}

TEST_P(ConsultaProyectosTest, ClosingAProjectFinishesItsShownChaptersAndStoresTheTypedDate)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid2);
    // A cancelled date changes nothing; today is proposed for a project never closed.
    mensajes_.programarRespuestas({"SI", ""});
    f.DarporTerminadoClick(&f);
    EXPECT_EQ(mensajes_.mensajes().value(1).respuestaPropuesta, FormatearFechaHora("dd/mm/yyyy", Ahora()));
    EXPECT_EQ(sql("SELECT Situacion FROM PROYECT WHERE Codigo = 'P1'"), "Abierto");
    EXPECT_EQ(lineas("GradoAvance"), "\r\n50\r\n\r\n");

    f.VerSoloMalPlanificado->setDownState(true);
    f.ConstruirConsultaProyectos();
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI", "20/06/2025"});
    f.DarporTerminadoClick(&f);
    EXPECT_EQ(sql("SELECT Situacion FROM PROYECT WHERE Codigo = 'P1'"), "Cerrado");
    EXPECT_EQ(sql("SELECT FechaFinalizacion FROM PROYECT WHERE Codigo = 'P1'").left(10), "20/06/2025");
    // Only the chapters ending before today were shown, and only they are finished.
    EXPECT_EQ(lineas("GradoAvance"), "Terminado\r\nTerminado\r\n\r\n");
}

TEST_P(ConsultaProyectosTest, ClosingProposesTheStoredDateEvenWithNoChapterShown)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid1);
    elegirDirector(QStringLiteral("Todos"));
    f.VerProyectosCerrados->setDownState(true);
    f.ConstruirConsultaProyectos();
    proyectos().locate(QStringLiteral("Codigo"), QStringLiteral("P2"));
    ASSERT_TRUE(capitulos().isEmpty());
    mensajes_.programarRespuestas({"SI", ""});
    f.pbCerrarProyectoCapituloClick(&f);
    EXPECT_EQ(mensajes_.mensajes().value(1).respuestaPropuesta.left(10), "02/04/2024");
}

TEST_P(ConsultaProyectosTest, FinishingSelectedChaptersWarnsForARefusedRowAndGoesOn)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid3);
    if (GetParam()) {
        ASSERT_EQ(sql("CREATE OR REPLACE FUNCTION gp_rechazo() RETURNS trigger AS $$ BEGIN IF NEW.Linea = 2 THEN "
                      "RAISE EXCEPTION 'bloqueado'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"),
                  QString());
        ASSERT_EQ(sql("CREATE TRIGGER gp_rechazo_lproyect BEFORE UPDATE ON LPROYECT FOR EACH ROW EXECUTE FUNCTION gp_rechazo()"),
                  QString());
    } else {
        ASSERT_EQ(sql("CREATE TRIGGER gp_rechazo_lproyect BEFORE UPDATE ON LPROYECT WHEN NEW.Linea = 2 "
                      "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"),
                  QString());
    }
    seleccionar({1, 2});
    mensajes_.programarRespuestas({"SI"});
    f.DarporTerminadoClick(&f);
    EXPECT_TRUE(mensajes_.textos().contains("¡No ha sido posible grabar el registro!")) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_EQ(lineas("GradoAvance"), "\r\n50\r\nTerminado\r\n");
    EXPECT_EQ(sql("SELECT Situacion FROM PROYECT WHERE Codigo = 'P1'"), "Abierto");
}

TEST_P(ConsultaProyectosTest, ChangedConditionsReachTheSelectedChaptersOnlyWhenSaved)
{
    TfPROYCPRO &f = *ventana_;
    enfocar(f.DBGrid3);
    const QString antes = lineas("FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance");
    const auto visor = [](bool grabar) {
        plat::application().OnModalShown = [grabar](plat::Form &form) {
            auto &v = static_cast<TfGENEVLIS &>(form);
            v.StringGrid->setCell(1, 1, QStringLiteral("01/02/2030"));
            v.StringGrid->setCell(1, 2, QStringLiteral("15/02/2030"));
            v.StringGrid->setCell(1, 3, QStringLiteral("99"));
            v.StringGrid->setCell(1, 4, QStringLiteral("75"));
            if (grabar)
                v.pbGrabarClick();
            else
                v.Close();
        };
    };
    const auto sinVisor = qScopeGuard([] { plat::application().OnModalShown = nullptr; });
    ASSERT_TRUE(capitulos().locate(QStringLiteral("Linea"), 3));
    seleccionar({1, 2});
    // A cancelled viewer leaves every chapter as it was.
    visor(false);
    f.CambiarCondicionesClick(&f);
    EXPECT_EQ(lineas("FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance"), antes);

    ASSERT_TRUE(capitulos().locate(QStringLiteral("Linea"), 3));
    seleccionar({1, 2});
    visor(true);
    f.CambiarCondicionesClick(&f);
    EXPECT_EQ(sql("SELECT Linea, TiempoPrevisto, GradoAvance FROM LPROYECT WHERE CodigoProyecto = 'P1' AND "
                  "FechaFinal = '2030-02-15 00:00:00' ORDER BY Linea"),
              "2|100|75\r\n3|99|75");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

TEST_P(ConsultaProyectosTest, PrintingAndTheMasterFollowTheFocusedGrid)
{
    TfPROYCPRO &f = *ventana_;
    QList<PeticionListadoGrafico> pedidas;
    Gancho<ImprimirListadoGraficoFn>::Instalacion listado(ganchoListadoGrafico(),
                                                           [&](const PeticionListadoGrafico &p) { pedidas << p; });
    enfocar(f.DBGrid2);
    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("NO")});
    f.pbImprimirClick(f.pbImprimir);
    f.DBGrid3->setFocus();
    f.pbImprimirClick(f.pbImprimirApaisado);

    EXPECT_EQ(mensajes_.textos(), QStringList(2, QStringLiteral("¿Desea realizar una Visualización Previa?")));
    ASSERT_EQ(pedidas.size(), 2);
    const PeticionListadoGrafico &proyectos = pedidas[0];
    EXPECT_EQ(proyectos.ModoInforme, "Proyectos");
    EXPECT_EQ(proyectos.DataSet, &f.Proyecto->dataSet());
    EXPECT_EQ(proyectos.Titulo, "Listado Gráfico de Proyectos");
    EXPECT_FALSE(proyectos.Apaisado);
    EXPECT_TRUE(proyectos.VistaPrevia);
    const PeticionListadoGrafico &capitulos = pedidas[1];
    EXPECT_EQ(capitulos.ModoInforme, "Capitulos");
    EXPECT_EQ(capitulos.DataSet, &f.LProyecto->dataSet());
    EXPECT_EQ(capitulos.Titulo, "Proyecto: P1 - Nave");
    EXPECT_TRUE(capitulos.Apaisado);
    EXPECT_FALSE(capitulos.VistaPrevia);
    EXPECT_EQ(capitulos.FechaInicioInforme, TextoAFechaHora(f.DesdeHorizonte->text()));
    EXPECT_EQ(capitulos.FechaFinalInforme, TextoAFechaHora(f.HastaHorizonte->text()));
    mensajes_.limpiar();

    // A user barred from the master opens nothing.
    ASSERT_EQ(sql("INSERT INTO USUARIO (Codigo, Nombre, Categoria, ProgramasNoAccesibles) VALUES ('PEPA', 'PEPA', "
                  "'Normal', 'Maestro de Proyectos\r\n')",
                  "DatabaseGeneral"),
              QString());
    form_->UsuarioActual = QStringLiteral("PEPA");
    f.AccesoMaestroProyectosClick(&f);
    EXPECT_EQ(fPROYPROY, nullptr);
    EXPECT_EQ(mensajes_.textos().value(0), "Vd. no tiene acceso al programa Maestro de Proyectos");
    form_->UsuarioActual = QStringLiteral("ADMIN");
    f.AccesoMaestroProyectosClick(&f);
    ASSERT_NE(fPROYPROY, nullptr);
    const auto sinMaestro = qScopeGuard([] { delete fPROYPROY; });
    EXPECT_EQ(fPROYPROY->Table1->dataSet().fieldByName("Codigo").asString(), "P1");
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsultaProyectosTest, ::testing::Bool(), NombreMotor);

} // namespace
