// The program's actions over a network: the whole program (ProgramaEnRed.h) with its
// databases on the throwaway PostgreSQL server of tools/pg-test-server.sh (the GP_TEST_PG*
// variables), reached through tools/pg-delay-proxy.py, which delays every exchange by 0, 10
// or 30 ms (the benchmark's argument) and counts its round trips. Each action's anchor, in
// the same run through the same proxy at the same delay, is a hand-written libpq client
// doing the least the action needs: one exchange per thing it must know or write, several
// statements sent together where they may go together.
//
// Only the action is timed (manual time): what sets it up (the window opened before a move,
// the program closed before a start) runs with no delay.
#include "ArranqueBenchmarks.h"
#include "ProgramaEnRed.h"
#include "tests/platform/engine/DelayProxy.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <libpq-fe.h>
#include <memory>

namespace {

gptest::PgTestServer servidorPrueba()
{
    gptest::PgTestServer s;
    s.host = qEnvironmentVariable("GP_TEST_PGHOST");
    s.port = qEnvironmentVariableIntValue("GP_TEST_PGPORT");
    s.user = qEnvironmentVariable("GP_TEST_PGUSER");
    return s;
}

QString nuevoSufijo() { return QString::number(QRandomGenerator::global()->bounded(1000000, 9999999)); }

// A libpq connection to a database of the server, directly or through the proxy.
class ClientePg
{
public:
    ClientePg(const gptest::PgTestServer &s, int puerto, const QString &baseDatos)
    {
        const QByteArray conexion = QStringLiteral("host=127.0.0.1 port=%1 user=%2 dbname=%3 sslmode=disable")
                                        .arg(puerto)
                                        .arg(s.user, baseDatos)
                                        .toUtf8();
        pg_ = PQconnectdb(conexion.constData());
        PQsetNoticeProcessor(pg_, [](void *, const char *) {}, nullptr);
    }
    ~ClientePg() { PQfinish(pg_); }
    bool valido() const { return PQstatus(pg_) == CONNECTION_OK; }
    QString error() const { return QString::fromUtf8(PQerrorMessage(pg_)); }

    // The statements sent in one exchange, every row of every result read; false on a failure.
    bool enviar(const QString &sentencias)
    {
        if (!PQsendQuery(pg_, sentencias.toUtf8().constData()))
            return false;
        bool bien = true;
        while (PGresult *r = PQgetResult(pg_)) {
            const auto estado = PQresultStatus(r);
            bien = bien && (estado == PGRES_TUPLES_OK || estado == PGRES_COMMAND_OK);
            for (int f = 0; f < PQntuples(r); ++f)
                for (int c = 0; c < PQnfields(r); ++c)
                    benchmark::DoNotOptimize(PQgetvalue(r, f, c));
            PQclear(r);
        }
        return bien;
    }

private:
    PGconn *pg_ = nullptr;
};

// The proxy, the program and the names of its databases, for the whole run.
struct Entorno
{
    gptest::PgTestServer servidor = servidorPrueba();
    gptest::DelayProxy proxy;
    QString sufijo = nuevoSufijo();
    std::unique_ptr<ProgramaEnRed> programa;
    QString motivoFallo;   // why preparar() failed

    ~Entorno()
    {
        programa.reset();
        borrarBasesDatos(sufijo);
    }

    QString baseGeneral() const { return QStringLiteral("gpg_") + sufijo; }
    QString baseEmpresa() const { return QStringLiteral("emp") + sufijo + u'1'; }

    std::unique_ptr<ProgramaEnRed> nuevoPrograma(const QString &s) const
    {
        return std::make_unique<ProgramaEnRed>(QStringLiteral("127.0.0.1,%1").arg(proxy.port()), servidor.user, s);
    }

    // Every database named with that suffix dropped, directly on the server.
    void borrarBasesDatos(const QString &s) const
    {
        ClientePg admin(servidor, servidor.port, QStringLiteral("postgres"));
        for (const QString &base : {QStringLiteral("gpg_") + s, QStringLiteral("gpe_") + s, QStringLiteral("emp") + s + u'1'})
            admin.enviar(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(base));
    }

    // The proxy started, the program started on new databases, the sample company written,
    // the program started again.
    bool preparar()
    {
        if (!servidor.available()) {
            motivoFallo = QStringLiteral("no test server (GP_TEST_PG* variables)");
            return false;
        }
        if (const QString fallo = proxy.start(servidor); !fallo.isEmpty()) {
            motivoFallo = fallo;
            return false;
        }
        programa = nuevoPrograma(sufijo);
        const bool listo = programa->arrancar() && programa->cargarEmpresa() && programa->arrancar();
        motivoFallo = programa->mensajes();
        return listo;
    }
};
Entorno *entorno = nullptr;

using Reloj = std::chrono::steady_clock;

// Runs `preparar` with no delay, then times `accion` at the benchmark's delay; the program's
// round trips in the counter "idas_y_vueltas".
template<typename Preparar, typename Accion>
void medir(benchmark::State &estado, Preparar preparar, Accion accion)
{
    gptest::DelayProxy &proxy = entorno->proxy;
    for (auto _ : estado) {
        proxy.setDelay(0);
        preparar();
        QCoreApplication::processEvents();
        proxy.setDelay(int(estado.range(0)));
        proxy.reset();
        const auto inicio = Reloj::now();
        const bool hecha = accion();
        const auto fin = Reloj::now();
        estado.SetIterationTime(std::chrono::duration<double>(fin - inicio).count());
        estado.counters["idas_y_vueltas"] = proxy.roundTrips();
        proxy.setDelay(0);
        if (!hecha) {
            estado.SkipWithError(qPrintable(QStringLiteral("the action failed: ") + entorno->programa->mensajes()));
            break;
        }
    }
}

ProgramaEnRed &programa() { return *entorno->programa; }

TfPROYPROY &proyectosEn(const QString &codigo)
{
    TfPROYPROY *v = programa().proyectos();
    if (!v)
        v = programa().abrirProyectos();
    v->Table1->dataSet().locate(QStringLiteral("Codigo"), codigo);
    return *v;
}

// ---- the program's actions ----------------------------------------------------------------------

void PrimerArranque(benchmark::State &estado)
{
    QString sufijo;
    std::unique_ptr<ProgramaEnRed> nuevo;
    medir(
        estado,
        [&] {
            entorno->programa->cerrar();
            sufijo = nuevoSufijo();
            nuevo = entorno->nuevoPrograma(sufijo);
        },
        [&] { return nuevo->arrancar(); });
    nuevo.reset();
    entorno->borrarBasesDatos(sufijo);
    entorno->proxy.setDelay(0);
    entorno->programa->arrancar();
}

void ArranquePosterior(benchmark::State &estado)
{
    medir(estado, [] { programa().cerrar(); }, [] { return programa().arrancar(); });
}

void AbrirMaestroProyectos(benchmark::State &estado)
{
    medir(
        estado, [] { ProgramaEnRed::cerrarVentana(QStringLiteral("fPROYPROY")); },
        [] { return programa().abrirProyectos() != nullptr; });
}

void RegistroSiguiente(benchmark::State &estado)
{
    medir(estado, [] { proyectosEn(QStringLiteral("1")); }, [] { return programa().siguienteRegistro(); });
}

// A text not saved before, in every repetition (an unchanged field would send nothing).
int vez = 0;

void GrabarCampo(benchmark::State &estado)
{
    medir(
        estado, [] { proyectosEn(QStringLiteral("2")); },
        [] { return programa().grabarCampo(QStringLiteral("Reforma %1").arg(++vez)); });
}

void PaginaGantt(benchmark::State &estado)
{
    medir(estado, [] { proyectosEn(QStringLiteral("1")); }, [] { return programa().paginaGantt(); });
}

void BuscarRegistro(benchmark::State &estado)
{
    medir(estado, [] { proyectosEn(QStringLiteral("1")); }, [] { return programa().buscarProyecto(QStringLiteral("3")); });
}

// The project added goes again afterwards, so that every repetition adds to the same company.
void AltaProyectoTresLineas(benchmark::State &estado)
{
    medir(
        estado,
        [] {
            ModuloDatos->EjecutarSQL(QStringLiteral("DELETE FROM LPROYECT WHERE CodigoProyecto NOT IN ('1', '2', '3')"));
            ModuloDatos->EjecutarSQL(QStringLiteral("DELETE FROM PROYECT WHERE Codigo NOT IN ('1', '2', '3')"));
            ProgramaEnRed::cerrarVentana(QStringLiteral("fPROYPROY"));
            proyectosEn(QStringLiteral("1"));
        },
        [] { return programa().altaProyectoConLineas(3); });
}

void PrevisualizarListado(benchmark::State &estado)
{
    medir(estado, [] { proyectosEn(QStringLiteral("1")); }, [] { return programa().previsualizarListado(); });
}

void AbrirMaestroOperarios(benchmark::State &estado)
{
    medir(
        estado, [] { ProgramaEnRed::cerrarVentana(QStringLiteral("fPRESOPER")); },
        [] { return programa().abrirOperarios(); });
}

void AbrirConsultasSql(benchmark::State &estado)
{
    medir(
        estado, [] { ProgramaEnRed::cerrarVentana(QStringLiteral("fGENECSQL")); },
        [] { return programa().abrirConsultas(); });
}

void ConsolaMilFilas(benchmark::State &estado)
{
    medir(
        estado,
        [] {
            if (!BuscarFormularioMDI(QStringLiteral("fGENECSQL")))
                programa().abrirConsultas();
        },
        [] { return programa().consolaMilFilas(); });
}

// ---- the anchors: a hand-written libpq client through the same proxy ---------------------------

// Times `accion` on a connection to the company database opened beforehand, at the delay;
// `despues` (untimed, uncounted) undoes what it wrote.
template<typename Accion, typename Despues = void (*)(ClientePg &)>
void medirAncla(benchmark::State &estado, Accion accion, Despues despues = [](ClientePg &) {})
{
    gptest::DelayProxy &proxy = entorno->proxy;
    proxy.setDelay(0);
    ClientePg empresa(entorno->servidor, proxy.port(), entorno->baseEmpresa());
    if (!empresa.valido()) {
        estado.SkipWithError(qPrintable(empresa.error()));
        return;
    }
    for (auto _ : estado) {
        proxy.setDelay(int(estado.range(0)));
        proxy.reset();
        const auto inicio = Reloj::now();
        const bool hecha = accion(empresa);
        const auto fin = Reloj::now();
        estado.SetIterationTime(std::chrono::duration<double>(fin - inicio).count());
        estado.counters["idas_y_vueltas"] = proxy.roundTrips();
        proxy.setDelay(0);
        despues(empresa);
        if (!hecha) {
            estado.SkipWithError("the anchor's statement failed");
            break;
        }
    }
}

const QString kProyecto = QStringLiteral(
    "SELECT * FROM PROYECT WHERE Codigo = '%1'; "
    "SELECT l.*, o.Nombre FROM LPROYECT l LEFT JOIN OPERARIO o ON o.Codigo = l.Responsable "
    "WHERE l.CodigoProyecto = '%1' ORDER BY l.Linea");

// A start: the user's row and companies on the general database, the company's parameters on
// its own (each connection: the refused TLS request and the start-up).
bool ArranqueMinimo()
{
    ClientePg general(entorno->servidor, entorno->proxy.port(), entorno->baseGeneral());
    ClientePg empresa(entorno->servidor, entorno->proxy.port(), entorno->baseEmpresa());
    return general.valido() && empresa.valido()
        && general.enviar(QStringLiteral("SELECT * FROM USUARIO WHERE Codigo = 'ADMIN'; SELECT * FROM EMPRESA"))
        && empresa.enviar(QStringLiteral("SELECT * FROM PARAGENE"));
}

void AnclaPrimerArranque(benchmark::State &estado)
{
    QString s;
    medirAncla(
        estado,
        [&](ClientePg &) {
            // The two databases made first, from the server's maintenance database.
            s = nuevoSufijo();
            ClientePg admin(entorno->servidor, entorno->proxy.port(), QStringLiteral("postgres"));
            return admin.valido() && admin.enviar(QStringLiteral("CREATE DATABASE gpg_%1").arg(s))
                && admin.enviar(QStringLiteral("CREATE DATABASE gpe_%1").arg(s)) && ArranqueMinimo();
        },
        [&](ClientePg &) { entorno->borrarBasesDatos(s); });
}

void AnclaArranquePosterior(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &) { return ArranqueMinimo(); });
}

void AnclaAbrirMaestroProyectos(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) { return c.enviar(kProyecto.arg(QStringLiteral("1"))); });
}

void AnclaRegistroSiguiente(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) { return c.enviar(kProyecto.arg(QStringLiteral("2"))); });
}

void AnclaGrabarCampo(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) {
        return c.enviar(
            QStringLiteral("BEGIN; UPDATE PROYECT SET Descripcion = 'Ancla %1' WHERE Codigo = '2'; COMMIT").arg(++vez));
    });
}

void AnclaPaginaGantt(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) {
        return c.enviar(QStringLiteral("SELECT Linea, Capitulo, FechaInicio, FechaFinal, GradoAvance FROM LPROYECT "
                                       "WHERE CodigoProyecto = '1' ORDER BY Linea"));
    });
}

void AnclaBuscarRegistro(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) {
        return c.enviar(QStringLiteral("SELECT Codigo, Descripcion FROM PROYECT ORDER BY Codigo"))
            && c.enviar(kProyecto.arg(QStringLiteral("3")));
    });
}

// The project, then each line saved in a transaction of its own.
void AnclaAltaProyectoTresLineas(benchmark::State &estado)
{
    medirAncla(
        estado,
        [](ClientePg &c) {
            bool hecho = c.enviar(
                QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, Situacion) VALUES ('A', 'Ancla', 'Abierto')"));
            for (int l = 1; l <= 3 && hecho; ++l)
                hecho = c.enviar(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Descripcion) "
                                                "VALUES ('A', %1, 'Línea %1')")
                                     .arg(l));
            return hecho;
        },
        [](ClientePg &c) {
            c.enviar(QStringLiteral("DELETE FROM LPROYECT WHERE CodigoProyecto = 'A'; DELETE FROM PROYECT WHERE Codigo = 'A'"));
        });
}

void AnclaPrevisualizarListado(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) { return c.enviar(QStringLiteral("SELECT Codigo, Descripcion FROM PROYECT ORDER BY Codigo")); });
}

void AnclaAbrirMaestroOperarios(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) { return c.enviar(QStringLiteral("SELECT * FROM OPERARIO ORDER BY Codigo")); });
}

void AnclaAbrirConsultasSql(benchmark::State &estado)
{
    // The tables it lists.
    medirAncla(estado, [](ClientePg &c) {
        return c.enviar(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = 'public' ORDER BY 1"));
    });
}

void AnclaConsolaMilFilas(benchmark::State &estado)
{
    medirAncla(estado, [](ClientePg &c) { return c.enviar(QStringLiteral("SELECT * FROM FILASCONSOLA")); });
}

void registrar(const char *nombre, void (*funcion)(benchmark::State &))
{
    benchmark::RegisterBenchmark(nombre, funcion)
        ->Arg(0)
        ->Arg(10)
        ->Arg(30)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    const struct
    {
        const char *nombre;
        void (*programa)(benchmark::State &);
        void (*ancla)(benchmark::State &);
    } acciones[] = {
        {"PrimerArranque", PrimerArranque, AnclaPrimerArranque},
        {"ArranquePosterior", ArranquePosterior, AnclaArranquePosterior},
        {"AbrirMaestroProyectos", AbrirMaestroProyectos, AnclaAbrirMaestroProyectos},
        {"RegistroSiguiente", RegistroSiguiente, AnclaRegistroSiguiente},
        {"GrabarCampo", GrabarCampo, AnclaGrabarCampo},
        {"PaginaGantt", PaginaGantt, AnclaPaginaGantt},
        {"BuscarRegistro", BuscarRegistro, AnclaBuscarRegistro},
        {"AltaProyectoTresLineas", AltaProyectoTresLineas, AnclaAltaProyectoTresLineas},
        {"PrevisualizarListado", PrevisualizarListado, AnclaPrevisualizarListado},
        {"AbrirMaestroOperarios", AbrirMaestroOperarios, AnclaAbrirMaestroOperarios},
        {"AbrirConsultasSql", AbrirConsultasSql, AnclaAbrirConsultasSql},
        {"ConsolaMilFilas", ConsolaMilFilas, AnclaConsolaMilFilas},
    };
    for (const auto &a : acciones) {
        registrar(a.nombre, a.programa);
        registrar((std::string("Ancla") + a.nombre).c_str(), a.ancla);
    }
    Entorno preparado;
    if (!preparado.preparar())
        return ArranqueBenchmarks::falloArranque(preparado.motivoFallo);
    entorno = &preparado;
    const int codigo = arranque.ejecutar();
    entorno = nullptr;
    return codigo;
}
