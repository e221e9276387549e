// The project query's rules that need no database.
#include "projects/proyectos/ConsultaProyectos.h"

#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Dialects.h"

#include <gtest/gtest.h>

namespace {

TEST(ConsultaProyectos, StatementFollowsSituationTogglesAndDirector)
{
    const struct
    {
        bool abiertos, cerrados;
        const char *director;
        const char *sql;
    } casos[] = {
        {true, true, "Zoe Gil - 12", "SELECT * FROM PROYECT WHERE ((Situacion = 'Abierto') OR (Situacion = 'Cerrado')) AND  (Director = 12) "},
        {false, true, "Zoe Gil - 12", "SELECT * FROM PROYECT WHERE ((Situacion = 'Cerrado')) AND  (Director = 12) "},
        {true, false, "Todos", "SELECT * FROM PROYECT WHERE ((Situacion = 'Abierto'))"},
        {false, false, "Todos", "SELECT * FROM PROYECT "},
        {false, false, "Zoe Gil - 12", "SELECT * FROM PROYECT WHERE  (Director = 12) "},
        // A name holding the separator still gives the code.
        {false, false, "Ruiz - Pérez - 7", "SELECT * FROM PROYECT WHERE  (Director = 7) "},
    };
    for (const auto &c : casos)
        EXPECT_EQ(ConsultaProyectos(c.abiertos, c.cerrados, QString::fromUtf8(c.director)), QString::fromUtf8(c.sql))
            << c.director;
}

TEST(ConsultaProyectos, ChapterFilterHidesFinishedUnplannedAndLaterChapters)
{
    const double hoy = 46000;
    const LineaPlan terminado{hoy - 10, hoy - 5, 8, QStringLiteral("Terminado")};
    const LineaPlan sinFechas{0, 0, 30, QString()};
    const LineaPlan titulo{0, 0, 0, QString()};
    const LineaPlan pasado{hoy - 10, hoy - 1, 8, QStringLiteral("50")};
    const LineaPlan futuro{hoy - 1, hoy + 10, 8, QStringLiteral("50")};
    const struct
    {
        VistaCapitulos vista;
        bool terminado, sinFechas, titulo, pasado, futuro;
    } casos[] = {
        {{false, false, false}, false, false, true, true, true},
        {{true, false, false}, true, false, true, true, true},
        {{false, true, false}, false, true, true, true, true},
        // Only what should have ended by today; no end date counts as before.
        {{false, false, true}, false, false, true, true, false},
        {{true, true, true}, true, true, true, true, false},
    };
    for (const auto &c : casos) {
        const VistaCapitulos &v = c.vista;
        SCOPED_TRACE(testing::Message() << v.VerTerminados << v.VerNoPlanificado << v.SoloMalPlanificado);
        EXPECT_EQ(CapituloVisible(terminado, v, hoy), c.terminado);
        EXPECT_EQ(CapituloVisible(sinFechas, v, hoy), c.sinFechas);
        EXPECT_EQ(CapituloVisible(titulo, v, hoy), c.titulo);
        EXPECT_EQ(CapituloVisible(pasado, v, hoy), c.pasado);
        EXPECT_EQ(CapituloVisible(futuro, v, hoy), c.futuro);
    }
}

TEST(ConsultaProyectos, StatisticsRoundToWholeHoursAndShowNoDigitsForZero)
{
    EXPECT_EQ(TextoEstadisticas(1250, 250.75), "Tiempo Asignado Pendiente: 999 h. (1.250 h. - 251 h.)");
    EXPECT_EQ(TextoEstadisticas(0, 0), "Tiempo Asignado Pendiente:  h. ( h. -  h.)");
}

TEST(ConsultaProyectos, StatementsKeepTheirTextOnSqlServer)
{
    EXPECT_EQ(SentenciaDirectores(plat::SqlServerDialect()),
              "SELECT Nombre + ' - ' + CAST(Codigo AS VARCHAR) FROM OPERARIO   ORDER BY Nombre, Codigo");
    EXPECT_EQ(SentenciaFechaCierre(QStringLiteral("12")), "SELECT FechaFinalizacion FROM PROYECT   WHERE Codigo = '12'");
    const QDateTime cierre = FechaHora(QDate(2025, 6, 20));
    EXPECT_EQ(SentenciaCerrarProyecto(QStringLiteral("O'12"), cierre),
              "UPDATE PROYECT   SET Situacion = 'Cerrado',       FechaFinalizacion = " + ValorASQL(cierre)
                  + "  WHERE Codigo = 'O''12'");
}

} // namespace
