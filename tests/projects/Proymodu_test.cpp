#include "ProyectosFixture.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "projects/proyectos/DibujoGantt.h"

#include <cmath>
#include <functional>

namespace {

QDateTime Dia(const char *iso) { return FechaHora(QDate::fromString(QLatin1String(iso), Qt::ISODate)); }

const char *const kSinFecha = nullptr;

struct CasoPlan
{
    const char *descripcion;
    const char *proyecto;
    const char *capitulo;
    const char *inicio;   // kSinFecha: the zero date
    const char *fin;
    double previsto;
    double realizado;
};

void ComprobarPlan(const PlanProyecto &plan, const CasoPlan &caso)
{
    SCOPED_TRACE(caso.descripcion);
    EXPECT_EQ(plan.FechaInicio, caso.inicio ? Dia(caso.inicio) : FechaCero());
    EXPECT_EQ(plan.FechaFinal, caso.fin ? Dia(caso.fin) : FechaCero());
    EXPECT_NEAR(plan.TiempoPrevisto, caso.previsto, 1e-9);
    EXPECT_NEAR(plan.TiempoRealizado, caso.realizado, 1e-9);
}

} // namespace

// ---- plan of a project or chapter ---------------------------------------------------------------

TEST_P(ProyectosMotorTest, PlanOfProjectsAndChaptersFollowsTheirLines)
{
    const QString N = QStringLiteral("NULL");
    proyecto(QStringLiteral("P1"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-20"));
    linea(QStringLiteral("P1"), 1, QStringLiteral("1"), N, N, 0, QString());
    linea(QStringLiteral("P1"), 2, QStringLiteral("1.2"), QStringLiteral("2024-03-04"), QStringLiteral("2024-03-08"),
          10, QStringLiteral("Terminado"));
    linea(QStringLiteral("P1"), 3, QStringLiteral("10"), QStringLiteral("2024-03-11"), QStringLiteral("2024-03-15"),
          20, QStringLiteral("50"));
    linea(QStringLiteral("P1"), 4, QStringLiteral("2"), N, QStringLiteral("2024-03-25"), 8, QString());
    linea(QStringLiteral("P1"), 5, QStringLiteral("3"), N, N, 4, QStringLiteral("75,5"));
    linea(QStringLiteral("P1"), 6, QStringLiteral("4"), QStringLiteral("2024-03-05"), QStringLiteral("2024-03-06"), 6,
          QStringLiteral("75.5"));
    linea(QStringLiteral("P1"), 7, QString(), QStringLiteral("2024-03-02"), QStringLiteral("2024-03-03"), 2,
          QStringLiteral("Terminado"));
    linea(QStringLiteral("P1"), 8, N, N, N, 5, QStringLiteral("10"));
    linea(QStringLiteral("P1"), 9, QStringLiteral("ñ1"), N, N, 1, QStringLiteral("Terminado"));
    // A line that starts before the acceptance moves the project's start.
    proyecto(QStringLiteral("P2"), QStringLiteral("2024-05-10"), QStringLiteral("2024-05-20"));
    linea(QStringLiteral("P2"), 1, QStringLiteral("0001"), QStringLiteral("2024-05-06"), QStringLiteral("2024-05-07"),
          1, QString());
    linea(QStringLiteral("P2"), 2, QStringLiteral("0001.5"), QStringLiteral("2024-05-08"),
          QStringLiteral("2024-05-09"), 2, QString());
    linea(QStringLiteral("P2"), 3, QStringLiteral("0002"), QStringLiteral("2024-05-12"), QStringLiteral("2024-05-13"),
          4, QStringLiteral("25"));
    proyecto(QStringLiteral("P3"), QStringLiteral("2024-06-01"), QStringLiteral("2024-06-30"),
             QStringLiteral("2024-07-15"));
    proyecto(QStringLiteral("P4"), QStringLiteral("2024-06-01"), QStringLiteral("2024-06-30"));
    proyecto(QStringLiteral("P5"), N, QStringLiteral("2024-06-30"));
    linea(QStringLiteral("P5"), 1, QStringLiteral("1"), QStringLiteral("2024-06-10"), QStringLiteral("2024-06-12"), 3,
          QString());

    const CasoPlan casos[] = {
        {"whole project: its lines, headings, empty and NULL chapters included", "P1", "", "2024-03-01", "2024-03-25",
         56, 10 + 10 + 4 * 0.755 + 2 + 0.5 + 1},
        {"chapter 1 covers 1.2 and 10; its heading adds nothing", "P1", "1", "2024-03-04", "2024-03-15", 30, 20},
        {"a chapter with ends only starts a week before its latest end", "P1", "2", "2024-03-18", "2024-03-25", 8, 0},
        {"a chapter without dates has none; 75,5 is 75.5 %", "P1", "3", kSinFecha, kSinFecha, 4, 4 * 0.755},
        {"75.5 is no progress under the decimal comma", "P1", "4", "2024-03-05", "2024-03-06", 6, 0},
        {"a chapter beginning with an accented letter", "P1", "ñ1", kSinFecha, kSinFecha, 1, 1},
        {"an earlier line start wins over the acceptance", "P2", "", "2024-05-06", "2024-05-20", 7, 1},
        {"0002 leaves out 0001.5", "P2", "0002", "2024-05-12", "2024-05-13", 4, 1},
        {"0001 covers 0001.5", "P2", "0001", "2024-05-06", "2024-05-09", 3, 0},
        {"no lines: acceptance to finalisation", "P3", "", "2024-06-01", "2024-07-15", 0, 0},
        {"no lines: acceptance to delivery", "P4", "", "2024-06-01", "2024-06-30", 0, 0},
        {"no acceptance: the earliest line start", "P5", "", "2024-06-10", "2024-06-30", 3, 0},
        {"an unknown project", "NOEXISTE", "", kSinFecha, kSinFecha, 0, 0},
        {"an unknown chapter", "P1", "9", kSinFecha, kSinFecha, 0, 0},
    };
    for (const CasoPlan &caso : casos)
        ComprobarPlan(MDProyectos->CalcularPlanProyecto(QString::fromUtf8(caso.proyecto),
                                                        QString::fromUtf8(caso.capitulo)),
                      caso);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

TEST_P(ProyectosMotorTest, EveryCallSeesTheLinesAsStoredNow)
{
    proyecto(QStringLiteral("P1"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-20"));
    linea(QStringLiteral("P1"), 1, QStringLiteral("1"), QStringLiteral("2024-03-04"), QStringLiteral("2024-03-08"), 10,
          QString());
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QStringLiteral("1")).TiempoPrevisto, 10);
    ASSERT_EQ(sql(QStringLiteral("UPDATE LPROYECT SET TiempoPrevisto = 12, GradoAvance = 'Terminado'")), QString());
    const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QStringLiteral("1"));
    EXPECT_EQ(plan.TiempoPrevisto, 12);
    EXPECT_EQ(plan.TiempoRealizado, 12);
}

// A project's dates and lines are read with one statement and kept for every span asked of
// it until the program changes or re-reads either table (a refresh of the lines here).
TEST_P(ProyectosMotorTest, AProjectIsReadOnceUntilItsTablesChange)
{
    proyecto(QStringLiteral("P1"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-20"));
    proyecto(QStringLiteral("P2"), QStringLiteral("2024-04-01"), QStringLiteral("2024-04-20"));
    linea(QStringLiteral("P1"), 1, QStringLiteral("1"), QStringLiteral("2024-03-04"), QStringLiteral("2024-03-08"), 10,
          QString());
    linea(QStringLiteral("P1"), 2, QStringLiteral("1.1"), QStringLiteral("2024-03-05"), QStringLiteral("2024-03-12"), 6,
          QStringLiteral("Terminado"));
    plat::Connection &conexion = fGENEINIC->Database();
    const auto sentencias = [&](const std::function<void()> &trabajo) {
        const quint64 antes = conexion.statementsSent();
        trabajo();
        return conexion.statementsSent() - antes;
    };
    const auto preguntarTodo = [&] {
        for (int vez = 0; vez < 3; ++vez) {
            for (const char *capitulo : {"", "1", "1.1", "2"})
                MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QString::fromLatin1(capitulo));
            MDProyectos->CalcularPlanHorizonte(QStringLiteral("P1"), QStringLiteral("1"), FechaCero(), Dia("2024-12-31"));
        }
    };
    EXPECT_EQ(sentencias(preguntarTodo), 1u);
    EXPECT_EQ(MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QStringLiteral("1")).FechaFinal, Dia("2024-03-12"));
    EXPECT_EQ(sentencias([] { MDProyectos->CalcularPlanProyecto(QStringLiteral("P2"), QString()); }), 1u);
    EXPECT_EQ(sentencias(preguntarTodo), 0u);

    plat::TableDataSet lineas;
    lineas.setConnection(&conexion);
    lineas.setTableName(QStringLiteral("LPROYECT"));
    lineas.open();
    lineas.refresh();
    EXPECT_EQ(sentencias(preguntarTodo), 1u);
}

// Whether a record has documents: the table's keys with documents read once, as asking each
// record gives it, until the program writes DOCUTRON.
TEST_P(ProyectosMotorTest, TheRecordsWithDocumentsAreReadOnceUntilTheDocumentsChange)
{
    const QStringList claves{"1", "2", "10", "1|2", "X"};
    const auto ponerDocumento = [&](const QString &tabla, const QString &clave) {
        ASSERT_EQ(ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) "
                                                          "VALUES ('%1', '%2', 'Doc')").arg(tabla, clave)),
                  QString());
    };
    // Before the table is made there are none, and asking does not make it.
    EXPECT_FALSE(MDProyectos->TieneDocumentos(QStringLiteral("PROYECT"), QStringLiteral("1")));
    ModuloDatos->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM DOCUTRON"));   // the program makes it
    ponerDocumento(QStringLiteral("PROYECT"), QStringLiteral("2"));
    ponerDocumento(QStringLiteral("PROYECT"), QStringLiteral("1|2"));
    ponerDocumento(QStringLiteral("CLIENTE"), QStringLiteral("1"));
    plat::Connection &conexion = fGENEINIC->Database();
    for (int vez = 0; vez < 2; ++vez) {
        for (const QString &clave : claves) {
            const bool preguntada = ModuloDatos->TieneDocumentacionElectronica(QStringLiteral("PROYECT"), clave);
            const quint64 antes = conexion.statementsSent();
            EXPECT_EQ(MDProyectos->TieneDocumentos(QStringLiteral("PROYECT"), clave), preguntada) << clave.toStdString();
            // The table's keys read at the first question after a change, none after it.
            EXPECT_EQ(conexion.statementsSent() - antes, clave == claves.first() ? 1u : 0u) << clave.toStdString();
        }
        if (vez == 0)
            ponerDocumento(QStringLiteral("PROYECT"), QStringLiteral("10"));
    }
    EXPECT_TRUE(MDProyectos->TieneDocumentos(QStringLiteral("PROYECT"), QStringLiteral("10")));
}

TEST_P(ProyectosMotorTest, TablesThatCannotBeReadGiveZerosSilently)
{
    proyecto(QStringLiteral("P1"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-20"));
    linea(QStringLiteral("P1"), 1, QStringLiteral("1"), QStringLiteral("2024-03-04"), QStringLiteral("2024-03-28"), 10,
          QString());
    ASSERT_EQ(sql(QStringLiteral("DROP TABLE LPROYECT")), QString());
    const CasoPlan cero{"a missing lines table", "P1", "", kSinFecha, kSinFecha, 0, 0};
    ComprobarPlan(MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QString()), cero);
    ComprobarPlan(MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QStringLiteral("1")), cero);
    const PlanHorizonte horizonte =
        MDProyectos->CalcularPlanHorizonte(QStringLiteral("P1"), QString(), FechaCero(), Dia("2024-12-31"));
    EXPECT_EQ(horizonte.TiempoPrevisto, 0);
    EXPECT_EQ(horizonte.TiempoRealizado, 0);
    ASSERT_EQ(sql(QStringLiteral("DROP TABLE PROYECT")), QString());
    const CasoPlan sinProyectos{"a missing projects table", "P1", "", kSinFecha, kSinFecha, 0, 0};
    ComprobarPlan(MDProyectos->CalcularPlanProyecto(QStringLiteral("P1"), QString()), sinProyectos);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

TEST_P(ProyectosMotorTest, CreationOrdersTheCustomersByName)
{
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO CLIENTE (Codigo, Nombre) VALUES (1, 'Zurita')")), QString());
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO CLIENTE (Codigo, Nombre) VALUES (2, 'Abad')")), QString());
    TMDProyectos &m = CrearMDProyectos();
    EXPECT_EQ(MDProyectos, &m);
    plat::TableDataSet &clientes = m.LUCliente->table();
    ASSERT_TRUE(clientes.active());
    EXPECT_EQ(clientes.indexFieldNames(), QStringLiteral("Nombre"));
    clientes.first();
    EXPECT_EQ(clientes.fieldByName(QStringLiteral("Nombre")).asString(), QStringLiteral("Abad"));
    EXPECT_EQ(m.DSLUCliente->dataSet(), &clientes);
}

// ---- share inside a horizon ---------------------------------------------------------------------

TEST_P(ProyectosMotorTest, HorizonShareOfEachLine)
{
    const QString N = QStringLiteral("NULL");
    proyecto(QStringLiteral("H"), QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
    linea(QStringLiteral("H"), 1, QStringLiteral("1"), QStringLiteral("2024-03-25"), QStringLiteral("2024-04-04"), 10,
          QString());
    linea(QStringLiteral("H"), 2, QStringLiteral("2"), QStringLiteral("2024-02-01"), QStringLiteral("2024-02-20"), 8,
          QStringLiteral("Terminado"));
    linea(QStringLiteral("H"), 3, QStringLiteral("3"), QStringLiteral("2024-03-10"), N, 6, QStringLiteral("50"));
    linea(QStringLiteral("H"), 4, QStringLiteral("4"), N, N, 7, QStringLiteral("Terminado"));
    linea(QStringLiteral("H"), 5, QStringLiteral("5"), N, QStringLiteral("2024-03-14"), 14, QStringLiteral("Terminado"));

    struct Caso
    {
        const char *descripcion;
        const char *capitulo;
        const char *desde;   // kSinFecha: the zero date
        const char *hasta;
        double previsto;
        double realizado;
    };
    const Caso casos[] = {
        {"six of ten days inside", "1", "2024-03-01", "2024-03-31", 6, 0},
        {"a line ended before the horizon", "2", "2024-03-01", "2024-03-31", 0, 0},
        {"a start without end inside the horizon counts whole", "3", "2024-03-01", "2024-03-31", 6, 3},
        {"the same line before the horizon", "3", "2024-03-11", "2024-03-31", 0, 0},
        {"an undated line from the zero date", "4", kSinFecha, "2024-03-31", 0, 0},
        {"an end alone starts a week earlier", "5", "2024-03-10", "2024-03-31", 8, 8},
        {"the whole project from the zero date", "", kSinFecha, "2024-03-31", 6 + 8 + 6 + 14, 8 + 3 + 14},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.descripcion);
        const PlanHorizonte h = MDProyectos->CalcularPlanHorizonte(
            QStringLiteral("H"), QString::fromUtf8(caso.capitulo), caso.desde ? Dia(caso.desde) : FechaCero(),
            Dia(caso.hasta));
        EXPECT_NEAR(h.TiempoPrevisto, caso.previsto, 1e-9);
        EXPECT_NEAR(h.TiempoRealizado, caso.realizado, 1e-9);
    }
}

// ---- Gantt cells over the stored plan -----------------------------------------------------------

TEST_P(ProyectosMotorTest, GanttCellsAskForTheSpansAsStoredAtEachPainting)
{
    proyecto(QStringLiteral("G"), QStringLiteral("2024-04-08"), QStringLiteral("2024-04-17"));
    linea(QStringLiteral("G"), 1, QStringLiteral("1"), QStringLiteral("2024-04-10"), QStringLiteral("2024-04-11"), 4,
          QStringLiteral("Terminado"));
    const FilaCapituloGantt fila{QStringLiteral("G"), QStringLiteral("1"),
                                 LineaPlan{NumeroDia(Dia("2024-04-10")), NumeroDia(Dia("2024-04-11")), 4,
                                           QStringLiteral("Terminado")}};
    const auto barraRoja = [&] {
        plat::Bitmap bitmap(500, 18);
        DibujarCapituloMaestro(bitmap.canvas(), QRect(0, 0, 500, 18), fila, false);
        const QImage &imagen = bitmap.image();
        QList<int> columnas;
        for (int x = 0; x < 500; ++x)
            if (plat::fromQColor(QColor::fromRgb(imagen.pixel(x, 5))) == plat::clRed)
                columnas << x;
        return columnas.isEmpty() ? std::pair(-1, -1) : std::pair(columnas.first() - 1, columnas.last() + 1);
    };
    EXPECT_EQ(barraRoja(), std::pair(100, 199));   // days 3..4 of 10, outline included
    // A later line start widens the project's span: the same chapter is drawn narrower.
    ASSERT_EQ(sql(QStringLiteral("UPDATE PROYECT SET FechaEntrega = '2024-04-27 00:00:00'")), QString());
    EXPECT_EQ(barraRoja(), std::pair(50, 99));
    plat::Bitmap proyecto(500, 18);
    DibujarProyectoConsulta(proyecto.canvas(), QRect(0, 0, 500, 18), FilaProyectoGantt{QStringLiteral("G"), Dia("2024-04-27")},
                            Dia("2024-04-08"), Dia("2024-04-17"), false);
    EXPECT_EQ(plat::fromQColor(QColor::fromRgb(proyecto.image().pixel(250, 4))), plat::clGray);
}

TEST_P(ProyectosMotorTest, TheDataModulesScaleDrawsTodayAndNothingOverASpanOfNoDays)
{
    const QDateTime hoy = FechaHora(Ahora().date());
    plat::Bitmap bitmap(500, 18);
    modulo_->DibujarEscalaTiempo(bitmap.canvas(), QRect(0, 0, 500, 18), hoy, hoy.addDays(-3),
                                 QStringLiteral("Dias,Semanas,Meses,Hoy"));
    const QImage vacia = bitmap.image();
    EXPECT_EQ(vacia, [] {
        QImage blanca(500, 18, QImage::Format_RGB32);
        blanca.fill(Qt::white);
        return blanca;
    }());
    // Ten days from four days ago: today's line lies within day 5, 200 to 250 pixels in.
    modulo_->DibujarEscalaTiempo(bitmap.canvas(), QRect(0, 0, 500, 18), hoy.addDays(-4), hoy.addDays(5),
                                 QStringLiteral("Hoy"));
    const QImage &imagen = bitmap.image();
    int columna = -1;
    for (int x = 0; x < 500; ++x)
        if (plat::fromQColor(QColor::fromRgb(imagen.pixel(x, 0))) == plat::clFuchsia)
            columna = x;
    EXPECT_GE(columna, 200);
    EXPECT_LE(columna, 250);
}

INSTANTIATE_TEST_SUITE_P(Motores, ProyectosMotorTest, ::testing::Bool(), NombreMotor);
