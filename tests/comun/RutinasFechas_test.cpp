#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <gtest/gtest.h>

namespace {

QDateTime F(int a, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return FechaHora(QDate(a, m, d), QTime(h, n, s));
}

TEST(Fechas, PartesDeUnaFecha)
{
    const QDateTime f = F(2024, 3, 17, 10, 30);
    EXPECT_EQ(AnyoDeFecha(f), 2024);
    EXPECT_EQ(MesDeFecha(f), 3);
    EXPECT_EQ(DiaDeFecha(f), 17);
    EXPECT_EQ(DiaDeLaSemana(f), 7);               // a Sunday
    EXPECT_EQ(DiaDeLaSemana(F(2024, 3, 18)), 1);  // a Monday
    EXPECT_DOUBLE_EQ(HoraADecimal(F(2024, 1, 1, 10, 30, 36)), 10.51);
    // A missing date reads as the zero date.
    EXPECT_EQ(AnyoDeFecha(QDateTime()), 1899);
}

struct CasoMeses
{
    int n;
    QDateTime desde;
    QDateTime esperado;
};

TEST(Fechas, SumarMesesEnLosFinalesDeMes)
{
    const CasoMeses casos[] = {
        {1, F(2023, 1, 31), F(2023, 2, 28)},
        {1, F(2024, 1, 31), F(2024, 2, 29)},
        {1, F(2023, 3, 31, 8, 15), F(2023, 4, 30, 8, 15)},
        {-1, F(2023, 3, 31), F(2023, 2, 28)},
        {12, F(2023, 5, 15), F(2024, 5, 15)},
        {-13, F(2024, 1, 10), F(2022, 12, 10)},
        {1, F(2023, 12, 31), F(2024, 1, 31)},
        {0, F(2023, 6, 30), F(2023, 6, 30)},
    };
    for (const CasoMeses &c : casos)
        EXPECT_EQ(SumarMeses(c.n, c.desde), c.esperado) << c.n << " " << qPrintable(c.desde.toString());
}

TEST(Fechas, SumarAnyosYBisiestos)
{
    EXPECT_EQ(SumarAnyos(1, F(2024, 2, 29)), F(2025, 2, 28));
    EXPECT_EQ(SumarAnyos(4, F(2024, 2, 29)), F(2028, 2, 29));
    EXPECT_EQ(SumarAnyos(1, F(2024, 5, 3, 12, 0)), F(2025, 5, 3));
    EXPECT_TRUE(EsAnyoBisiesto(2024));
    EXPECT_TRUE(EsAnyoBisiesto(2000));
    EXPECT_FALSE(EsAnyoBisiesto(1900));
    EXPECT_FALSE(EsAnyoBisiesto(2023));
}

TEST(Fechas, AnyosDeDosCifras)
{
    const int casos[][2] = {{0, 2000}, {49, 2049}, {50, 1950}, {99, 1999}, {100, 100}, {2024, 2024}, {-1, 1999}};
    for (const auto &c : casos)
        EXPECT_EQ(CompletarAnyo(c[0]), c[1]) << c[0];
    EXPECT_EQ(TextoAFechaHora(QStringLiteral("5/6/49")), F(2049, 6, 5));
    EXPECT_EQ(TextoAFechaHora(QStringLiteral("5/6/50")), F(1950, 6, 5));
}

TEST(Fechas, MesesYDias)
{
    EXPECT_EQ(NombreMes(1), QStringLiteral("Enero"));
    EXPECT_EQ(NombreMes(9), QStringLiteral("Septiembre"));
    EXPECT_EQ(NombreMes(12), QStringLiteral("Diciembre"));
    EXPECT_EQ(NombreMes(0), QString());
    EXPECT_EQ(NombreMes(13), QString());
    EXPECT_EQ(DiasDelMes(F(2024, 2, 10)), 29);
    EXPECT_EQ(DiasDelMes(F(2023, 2, 10)), 28);
    EXPECT_EQ(DiasDelMes(F(2023, 12, 1)), 31);
    EXPECT_EQ(PrimerDiaDelMes(F(2024, 2, 10, 9, 0)), F(2024, 2, 1));
    EXPECT_EQ(UltimoDiaDelMes(F(2024, 2, 10, 9, 0)), F(2024, 2, 29));
}

TEST(Fechas, LaFechaCero)
{
    EXPECT_EQ(FechaCero(), F(1899, 12, 30));
    EXPECT_TRUE(EsFechaCero(FechaCero()));
    EXPECT_TRUE(EsFechaCero(QDateTime()));
    EXPECT_FALSE(EsFechaCero(F(1899, 12, 30, 8, 0)));
    EXPECT_FALSE(EsFechaCero(F(1899, 12, 31)));
    EXPECT_EQ(FechaHoraATexto(FechaCero()), QStringLiteral("30/12/1899"));
    EXPECT_EQ(FechaHoraATexto(F(2024, 3, 5, 7, 8, 9)), QStringLiteral("05/03/2024 07:08:09"));
    // Start-up derives the zero date of SQL text from the SQL date format.
    AjustesComunes ajustes;
    EXPECT_EQ(ajustes.FechaCeroSQL, QStringLiteral("12/30/1899 00:00:00"));
    ajustes.ponerFormatoFechaSQL(QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(ajustes.FechaCeroSQL, QStringLiteral("30/12/1899 00:00:00"));
    ajustes.ponerFormatoFechaSQL(QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(ajustes.FechaCeroSQL, QStringLiteral("12/30/1899 00:00:00"));
}

struct CasoTexto
{
    const char *texto;
    QDateTime esperado;
};

TEST(Fechas, TextoAFechaHora)
{
    const CasoTexto casos[] = {
        {"17/03/2024", F(2024, 3, 17)},
        {"1/2/2024 10:30", F(2024, 2, 1, 10, 30)},
        {" 1/2/2024 10:30:15 ", F(2024, 2, 1, 10, 30, 15)},
        {"10:30", F(1899, 12, 30, 10, 30)},
        {"31/02/2024", FechaCero()},
        {"2024-03-17", FechaCero()},
        {"hoy", FechaCero()},
        {"", FechaCero()},
        {"1/2/2024 25:00", FechaCero()},
    };
    for (const CasoTexto &c : casos)
        EXPECT_EQ(TextoAFechaHora(QString::fromUtf8(c.texto)), c.esperado) << c.texto;
    EXPECT_EQ(TextoAFechaHora(QStringLiteral("3/4")).date(), QDate(QDate::currentDate().year(), 4, 3));
}

TEST(Fechas, FormatosDelPrograma)
{
    const QDateTime f = F(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(FormatearFechaHora(QStringLiteral("mm/dd/yyyy hh:nn:ss"), f), QStringLiteral("03/05/2024 07:08:09"));
    EXPECT_EQ(FormatearFechaHora(QStringLiteral("d/m/yy"), f), QStringLiteral("5/3/24"));
    EXPECT_EQ(FormatearFechaHora(QStringLiteral("hh:mm"), f), QStringLiteral("07:08"));
    EXPECT_EQ(FormatearFechaHora(QStringLiteral("dd mmmm yyyy"), f), QStringLiteral("05 Marzo 2024"));
    EXPECT_EQ(FormatearFechaHora(QStringLiteral("yyyymmdd'T'"), f), QStringLiteral("20240305T"));
}

TEST(ValidacionFechas, RechazaHasta1890)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    EXPECT_FALSE(ValidarFecha(QStringLiteral("1/1/1890"), QStringLiteral("Fecha Alta")));
    EXPECT_FALSE(ValidarFecha(QStringLiteral("31/12/1889"), QStringLiteral("Fecha Alta")));
    EXPECT_TRUE(ValidarFecha(QStringLiteral("2/1/1890"), QStringLiteral("Fecha Alta")));
    EXPECT_FALSE(ValidarFecha(QString(), QStringLiteral("Fecha Alta")));
    EXPECT_FALSE(ValidarFecha(QStringLiteral("30/2/2024"), QString()));
    ASSERT_EQ(grabada.mensajes().size(), 3);
    EXPECT_EQ(grabada.mensajes().at(0).tipo, QStringLiteral("A"));
    EXPECT_EQ(grabada.mensajes().at(0).texto, QStringLiteral("¡La fecha de Fecha Alta es incorrecta! Repita por favor"));
}

TEST(ValidacionFechas, Horas)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    EXPECT_TRUE(ValidarHora(QStringLiteral("23:59"), QStringLiteral("Hora")));
    EXPECT_TRUE(ValidarHora(QStringLiteral("0:00:59"), QStringLiteral("Hora")));
    EXPECT_FALSE(ValidarHora(QStringLiteral("24:00"), QString()));
    EXPECT_FALSE(ValidarHora(QStringLiteral("12:60"), QString()));
    EXPECT_FALSE(ValidarHora(QStringLiteral("doce"), QStringLiteral("Hora Inicio")));
    ASSERT_EQ(grabada.textos(), QStringList{QStringLiteral("¡La hora de Hora Inicio es incorrecta! Repita por favor")});
}

// Readings the test run's zone (Europe/Madrid) skips or repeats: the routines keep them.
TEST(FechasDeReloj, HorasQueElHusoSaltaOSeRepiten)
{
    const QDateTime salto = FechaHora(QDate(2024, 3, 31), QTime(2, 30));
    EXPECT_EQ(salto.time(), QTime(2, 30));
    EXPECT_EQ(TextoAFechaHora(QStringLiteral("31/03/2024 02:30")), salto);
    EXPECT_EQ(TextoAFechaHora(QStringLiteral("31/03/2024 02:30")).time(), QTime(2, 30));
    EXPECT_EQ(SumarMeses(12, F(2023, 3, 31, 2, 30)), salto);
    EXPECT_EQ(FechaHoraATexto(salto), QStringLiteral("31/03/2024 02:30:00"));
    const QDateTime repetida = F(2024, 10, 27, 2, 30);
    EXPECT_EQ(SumarMeses(0, repetida), repetida);
    EXPECT_EQ(repetida.secsTo(F(2024, 10, 27, 3, 30)), 3600);   // one hour apart, as read
    // The zero date is the same reading however it is made.
    EXPECT_EQ(FechaCero(), FechaHora(QDate(1899, 12, 30)));
    EXPECT_EQ(FechaCero().timeSpec(), Qt::UTC);
}

TEST(FechasDeReloj, LecturasDeOtrosHusosConservanFechaYHora)
{
    const QDateTime local(QDate(2024, 3, 31), QTime(2, 30, 15), Qt::LocalTime);   // maybe not an instant here
    EXPECT_EQ(FechaHoraDeReloj(local), FechaHora(QDate(2024, 3, 31), QTime(2, 30, 15)));
    const QDateTime conDesfase(QDate(2024, 7, 1), QTime(23, 0), Qt::OffsetFromUTC, -5 * 3600);
    EXPECT_EQ(FechaHoraDeReloj(conDesfase), FechaHora(QDate(2024, 7, 1), QTime(23, 0)));
    EXPECT_FALSE(FechaHoraDeReloj(QDateTime()).isValid());

    const QDateTime ahora = Ahora();
    const QDateTime reloj = QDateTime::currentDateTime();
    EXPECT_EQ(ahora.timeSpec(), Qt::UTC);
    EXPECT_LE(std::abs(ahora.secsTo(FechaHora(reloj.date(), reloj.time()))), 2);
}

struct CasoISO
{
    const char *texto;
    QDateTime esperado;   // invalid: not an ISO date
};

TEST(FechasDeReloj, TextoISODeLosMotores)
{
    const CasoISO casos[] = {
        {"2024-03-31 02:30:00", F(2024, 3, 31, 2, 30)},
        {"2024-03-31T02:30", F(2024, 3, 31, 2, 30)},
        {"2024-03-31", F(2024, 3, 31)},
        {" 1899-12-30 00:00:00 ", FechaCero()},
        {"2024-03-31 02:30:00.5", FechaHora(QDate(2024, 3, 31), QTime(2, 30, 0, 500))},
        {"2024-03-31 02:30:00.123456", FechaHora(QDate(2024, 3, 31), QTime(2, 30, 0, 123))},
        {"2024-03-31 02:30:00+02", F(2024, 3, 31, 2, 30)},
        {"2024-03-31 02:30:00Z", F(2024, 3, 31, 2, 30)},
        {"2024-02-30", QDateTime()},
        {"2024-03-31 24:00:00", QDateTime()},
        {"2024-03-31 02:60", QDateTime()},
        {"2024-03-31 02:30:00.", QDateTime()},
        {"2024-03-31 02", QDateTime()},
        {"2024-3-31", QDateTime()},
        {"31/03/2024", QDateTime()},
        {"2024-03-31 02:30:00 hoy", QDateTime()},
        {"2024-03-31x", QDateTime()},
        {"", QDateTime()},
    };
    for (const CasoISO &c : casos) {
        const QByteArray bytes(c.texto);
        EXPECT_EQ(FechaHoraISO(QString::fromLatin1(bytes)), c.esperado) << c.texto;
        EXPECT_EQ(FechaHoraISO(QByteArrayView(bytes)), c.esperado) << c.texto;
    }
    EXPECT_EQ(FechaISO("2024-03-31 02:30:00"), QDate(2024, 3, 31));
    EXPECT_FALSE(FechaISO("2024-13-01").isValid());
    EXPECT_EQ(HoraISO("10:05"), QTime(10, 5));
    EXPECT_EQ(HoraISO("10:05:09.25"), QTime(10, 5, 9, 250));
    EXPECT_FALSE(HoraISO("10:05:09 x").isValid());
    EXPECT_FALSE(HoraISO("1899-12-30 10:05:00").isValid());
}

} // namespace
