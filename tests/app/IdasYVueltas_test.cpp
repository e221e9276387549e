// Over a network every exchange with the server costs the link's whole delay: each action a
// user takes in the program, driven through the forms' own code with its databases on the
// test server behind the delaying proxy, is held to a budget of round trips, so that a
// look-up that is read anew per row or per window shows here as a count over its budget.
#include "bench/ProgramaEnRed.h"
#include "tests/platform/engine/DelayProxy.h"
#include "tests/runtime/ArranqueFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>

namespace {

class IdasYVueltas : public ArranqueFixture
{
protected:
    void SetUp() override
    {
        ArranqueFixture::SetUp();
        if (!configurarPostgreSQL())
            GTEST_SKIP() << "no PostgreSQL test server";
        const auto pg = gptest::PgTestServer::fromEnvironment();
        if (const QString fallo = proxy_.start(pg); !fallo.isEmpty())
            GTEST_FAIL() << fallo.toStdString();
        // The program's databases carry the fixture's suffix: they go with the test.
        programa_.emplace(QStringLiteral("127.0.0.1,%1").arg(proxy_.port()), pg.user, general_.mid(4));
    }

    void TearDown() override
    {
        programa_.reset();
        ArranqueFixture::TearDown();
    }

    // The round trips of one action, once what it left for the idle program has run too.
    int idasYVueltas(const char *nombre, const std::function<bool()> &accion, bool &hecha)
    {
        proxy_.mark(nombre);
        proxy_.reset();
        hecha = accion();
        QElapsedTimer reloj;
        reloj.start();
        while (reloj.elapsed() < 100)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return proxy_.roundTrips();
    }

    gptest::DelayProxy proxy_;
    std::optional<ProgramaEnRed> programa_;
};

TEST_F(IdasYVueltas, EveryActionOfTheProgramStaysWithinItsBudget)
{
    ProgramaEnRed &p = *programa_;
    // Budgets: the starts at most 40 round trips, opening a master at most 10, the next
    // record and a saved field at most 3, the rest at most three times what a hand-written
    // client needs (`minimo`). Where the program still needs more, the budget is what it
    // needs today, so that it can only go down.
    const struct
    {
        const char *accion;
        int minimo;        // a hand-written client's round trips; 0: preparation, not counted
        int presupuesto;
        std::function<bool()> hacer;
    } pasos[] = {
        {"first start, to the main window painted", 15, 71, [&] { return p.arrancar(); }},
        {"the sample company", 0, 0, [&] { return p.cargarEmpresa(); }},
        {"later start, to the main window painted", 6, 28, [&] { return p.arrancar(); }},
        {"open \"Maestro de Proyectos\" on a 20-chapter project", 3, 5, [&] { return p.abrirProyectos() != nullptr; }},
        {"next record (10 chapters)", 1, 1, [&] { return p.siguienteRegistro(); }},
        {"edit one field and save", 1, 2, [&] { return p.grabarCampo(QStringLiteral("Reforma integral")); }},
        {"the Gantt page", 1, 1, [&] { return p.paginaGantt(); }},
        {"accept a record found by the search", 2, 6, [&] { return p.buscarProyecto(QStringLiteral("3")); }},
        {"add a project with 3 chapter lines, each saved", 4, 7, [&] { return p.altaProyectoConLineas(3); }},
        {"preview of the listing of 100 projects", 1, 2, [&] { return p.previsualizarListado(); }},
        {"open \"Maestro de Operarios\"", 1, 5, [&] { return p.abrirOperarios(); }},
        {"open \"Consultas SQL\"", 1, 3, [&] { return p.abrirConsultas(); }},
        {"F9 on a 1,000-row SELECT in the console", 1, 2, [&] { return p.consolaMilFilas(); }},
    };
    for (const auto &paso : pasos) {
        SCOPED_TRACE(paso.accion);
        bool hecha = false;
        const int cuenta = idasYVueltas(paso.accion, paso.hacer, hecha);
        ASSERT_TRUE(hecha) << p.mensajes().toStdString();
        if (paso.minimo == 0)
            continue;
        std::printf("%-55s %4d round trips (budget %d, a hand-written client %d)\n", paso.accion, cuenta,
                    paso.presupuesto, paso.minimo);
        EXPECT_GE(cuenta, paso.minimo) << "the action did not reach the server as it must";
        EXPECT_LE(cuenta, paso.presupuesto);
    }
}

} // namespace
