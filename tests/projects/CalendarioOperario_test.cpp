#include "projects/calendario/CalendarioOperario.h"

#include <gtest/gtest.h>

using namespace calendario;

TEST(CalendarioOperario, DaysSitInTheirWeekdayColumnAndRow)
{
    struct Caso
    {
        int anyo, mes, dia, columna, fila;
    } casos[] = {
        {2026, 3, 1, 6, 1},    // Sunday first: last column of the first week
        {2026, 3, 2, 0, 2},
        {2026, 8, 1, 5, 1},    // Saturday first, 31 days: the sixth week is used
        {2026, 8, 31, 0, 6},
        {2024, 2, 29, 3, 5},   // leap day
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(c.dia).arg(c.mes).arg(c.anyo).toStdString());
        EXPECT_EQ(DiaDeCelda(c.anyo, c.mes, c.columna, c.fila), c.dia);
        EXPECT_EQ(CeldaDelDia(c.anyo, c.mes, c.dia), std::make_pair(c.columna, c.fila));
    }
    EXPECT_EQ(DiaDeCelda(2026, 3, 5, 1), 0);   // before the first
    EXPECT_EQ(DiaDeCelda(2026, 2, 0, 6), 0);   // after the last
    EXPECT_EQ(DiaDeCelda(2026, 3, 6, 0), 0);   // the header row
    EXPECT_EQ(NombresDiasSemana().first(), QStringLiteral("Lunes"));
    EXPECT_EQ(NombresDiasSemana().last(), QStringLiteral("Domingo"));
}

TEST(CalendarioOperario, NavigationStaysWithinItsBounds)
{
    MesOperario m{2025, 12, 9999};
    m.avanzarMes();
    EXPECT_EQ(std::make_pair(m.anyo, m.mes), std::make_pair(2026, 1));
    m.retrocederMes();
    EXPECT_EQ(std::make_pair(m.anyo, m.mes), std::make_pair(2025, 12));
    m.avanzarOperario();
    EXPECT_EQ(m.operario, 9999);

    MesOperario ultimo{9999, 12, 1};
    ultimo.avanzarMes();
    ultimo.avanzarAnyo();
    EXPECT_EQ(std::make_pair(ultimo.anyo, ultimo.mes), std::make_pair(9999, 12));
    MesOperario primero{1, 1, 1};
    primero.retrocederMes();
    primero.retrocederAnyo();
    primero.retrocederOperario();
    EXPECT_EQ(std::make_tuple(primero.anyo, primero.mes, primero.operario), std::make_tuple(1, 1, 1));
}

TEST(CalendarioOperario, MarksDependOnTheDayAndTheProgram)
{
    const DiaCalendario dia{"SI", "NO", "NO", "SI", "SI", 3, "Maternidad"};
    const QList<Marca> questal = MarcasDelDia(dia, true, Familia::Questal);
    const QList<Marca> esperadas{{"Tr", 26, 20, 0xFF0000},
                                 {"La", 38, 20, 0x008000},
                                 {"Pu", 62, 20, 0x0080FF},
                                 {"Pe", 74, 20, 0xFF00FF},
                                 {"Mat.", 0, 12, 0xF0CAA6, true}};
    EXPECT_EQ(questal, esperadas);
    // A company day has neither permission nor situation; vimbaro paints only the timetable.
    EXPECT_EQ(MarcasDelDia(dia, false, Familia::Questal).size(), 3);
    EXPECT_EQ(MarcasDelDia(dia, true, Familia::Vimbaro), (QList<Marca>{{"3", 0, 3, 0xF0CAA6, true}}));
    EXPECT_EQ(MarcasDelDia(dia, true, Familia::Dunfelk).size(), 6);
    EXPECT_TRUE(MarcasDelDia(dia, true, Familia::Otra).isEmpty());

    DiaCalendario festivo{"NO", "SI", "NO", "NO", "NO", 0, "Otra cosa"};
    EXPECT_EQ(MarcasDelDia(festivo, true, Familia::Questal), (QList<Marca>{{"Fe", 38, 20, 0x0000FF}}));
    festivo.festivo.clear();
    EXPECT_TRUE(MarcasDelDia(festivo, true, Familia::Questal).isEmpty());
}

TEST(CalendarioOperario, TogglesSetTheFlags)
{
    DiaCalendario dia{"SI", "SI", "SI", "SI", "SI", 4, "Alta"};
    AplicarMarcadores(dia, {.trabajados = true, .laborables = false, .festivos = true});
    EXPECT_EQ(QStringList({dia.trabajado, dia.festivo, dia.vacaciones, dia.permiso, dia.puente}),
              QStringList({"SI", "SI", "NO", "NO", "NO"}));
    EXPECT_FALSE(AdmiteHorario(dia));
    AplicarMarcadores(dia, {.laborables = true, .festivos = true, .puente = true});
    EXPECT_EQ(QStringList({dia.trabajado, dia.festivo, dia.puente}), QStringList({"NO", "NO", "SI"}));
    EXPECT_FALSE(AdmiteHorario(dia));
    AplicarMarcadores(dia, {});
    EXPECT_EQ(dia.festivo, QString());
    EXPECT_TRUE(AdmiteHorario(dia));
    EXPECT_EQ(dia.numeroHorario, 4);
}

TEST(CalendarioOperario, GeneratedDaysFollowWeekdayAugustAndCompanyDay)
{
    const auto banderas = [](const DiaCalendario &d) {
        return QStringList{d.trabajado, d.festivo, d.vacaciones, d.permiso, d.puente};
    };
    EXPECT_EQ(banderas(DiaGenerado(QDate(2024, 9, 1), {}, "Alta")), QStringList({"NO", "SI", "NO", "NO", "NO"}));
    EXPECT_EQ(banderas(DiaGenerado(QDate(2024, 9, 2), {}, "Alta")), QStringList({"SI", "NO", "NO", "NO", "NO"}));
    EXPECT_EQ(banderas(DiaGenerado(QDate(2024, 9, 7), {}, "Alta")), QStringList({"NO", "NO", "NO", "NO", "NO"}));
    EXPECT_EQ(banderas(DiaGenerado(QDate(2024, 8, 5), {}, "Alta")), QStringList({"NO", "NO", "SI", "NO", "NO"}));

    const DiaCalendario empresa{"NO", "SI", "", "", "SI", 7, {}};
    const DiaCalendario generado = DiaGenerado(QDate(2024, 9, 2), empresa, "Enfermedad");
    EXPECT_EQ(banderas(generado), QStringList({"NO", "SI", "", "NO", "SI"}));
    EXPECT_EQ(generado.numeroHorario, 0);
    EXPECT_EQ(generado.situacion, QStringLiteral("Enfermedad"));

    EXPECT_EQ(SituacionDeBajas({"Enfermedad", "Accidente Trabajo"}), QStringLiteral("Enfermedad\r\nAccidente Trabajo"));
    EXPECT_EQ(SituacionDeBajas({QString(30, 'a'), QString(30, 'b')}).size(), 40);
}

TEST(CalendarioOperario, SituationsAndTheirAbbreviations)
{
    const QStringList items = Situaciones();
    ASSERT_EQ(items.size(), 9);
    EXPECT_EQ(items.first(), QStringLiteral("Alta"));
    EXPECT_EQ(items.last(), QString());
    EXPECT_EQ(AbreviaturaSituacion("No Retribuido No Cotizable"), QStringLiteral("N.R.N.C."));
    EXPECT_EQ(AbreviaturaSituacion("Regulacion Empleo"), QStringLiteral("R.E."));
    EXPECT_EQ(AbreviaturaSituacion("Enfermedad\r\nAccidente Trabajo"), QString());
}
