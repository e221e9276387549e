// The SQL service answering a large SELECT as text: 100,000 rows of five columns (integer,
// text, decimal, date-time, memo) read through the data module from an SQLite file, set
// against the sqlite3 command-line tool writing the same rows as the same text from the
// same file.
#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <optional>

namespace {

const QString kConsulta = QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas FROM BENCH ORDER BY Codigo");

// The same text from the command-line tool: decimal comma, dd/mm/yyyy with the time only
// when it is not midnight, the memo's line break as a blank.
const QString kConsultaHerramienta = QStringLiteral(
    "SELECT Codigo, Nombre, replace(printf('%.15g', Importe), '.', ','), "
    "strftime('%d/%m/%Y', Fecha) || CASE WHEN time(Fecha) <> '00:00:00' THEN ' ' || time(Fecha) ELSE '' END, "
    "replace(Notas, char(13) || char(10), ' ') FROM BENCH ORDER BY Codigo");

struct Entorno
{
    QTemporaryDir carpeta;
    SalidaMensajesGrabada mensajes;   // nothing may wait for a click
    std::optional<SalidaMensajesInstalada> salida;
    plat::Session sesion;
    TfGENEINIC *inicio = nullptr;
    TModuloDatos *modulo = nullptr;
    QString fichero;

    bool preparar()
    {
        QDir::setCurrent(carpeta.path());
        salida.emplace(mensajes);
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/DATABASE.TXT"),
                    carpeta.filePath(QStringLiteral("DATABASE.TXT")));
        TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
        inicio = new TfGENEINIC(nullptr, &sesion);
        inicio->afterConstruction();
        if (inicio->ArranqueFallido)
            return false;
        modulo = plat::createDataModule<TModuloDatos>();
        plat::Connection &general = inicio->DatabaseGeneral();
        general.exec(QStringLiteral("CREATE TABLE BENCH (Codigo INTEGER, Nombre VARCHAR(40), Importe DOUBLE, "
                                    "Fecha DATETIME, Notas TEXT)"));
        general.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                                    "INSERT INTO BENCH SELECT i, 'Nombre ' || i, i * 1.25, "
                                    "datetime('2024-01-01', '+' || (i % 300) || ' days', '+' || (i % 24) || ' hours'), "
                                    "'texto' || char(13) || char(10) || 'memo' FROM n"),
                     {}, plat::SqlOrigin::AsWritten);
        fichero = general.location().sqliteFile();
        return QFileInfo::exists(fichero);
    }

    QByteArray salidaHerramienta() const
    {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), fichero, kConsultaHerramienta});
        sqlite.waitForFinished(-1);
        return sqlite.readAllStandardOutput();
    }
};

Entorno *entorno = nullptr;

void EjecutarSQLCienMilFilas(benchmark::State &estado)
{
    QString respuesta;
    for (auto _ : estado) {
        respuesta = entorno->modulo->EjecutarSQL(kConsulta, QStringLiteral("DatabaseGeneral"));
        benchmark::DoNotOptimize(respuesta);
    }
    estado.counters["filas"] = double(respuesta.count(QStringLiteral("\r\n")) + 1);
}
BENCHMARK(EjecutarSQLCienMilFilas)->Unit(benchmark::kMillisecond)->UseRealTime();

void Sqlite3CienMilFilas(benchmark::State &estado)
{
    QByteArray salida;
    for (auto _ : estado) {
        salida = entorno->salidaHerramienta();
        benchmark::DoNotOptimize(salida);
    }
    estado.counters["filas"] = double(salida.count('\n'));
}
BENCHMARK(Sqlite3CienMilFilas)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    Entorno preparado;
    if (!preparado.preparar()) {
        QFile registro(preparado.carpeta.filePath(QStringLiteral("ERRORES.LOG")));
        registro.open(QIODevice::ReadOnly);
        std::fprintf(stderr, "the program could not start: %s\n%s\n", qPrintable(preparado.mensajes.textos().join(u'\n')),
                     registro.readAll().constData());
        return 1;
    }
    entorno = &preparado;
    // Both sides must write the same text, or the comparison says nothing.
    const QString nuestra = preparado.modulo->EjecutarSQL(kConsulta, QStringLiteral("DatabaseGeneral"));
    const QString herramienta = QString::fromUtf8(preparado.salidaHerramienta());
    if (QString(nuestra).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n' != herramienta) {
        std::fprintf(stderr, "the two answers differ:\n%s\n---\n%s\n", qPrintable(nuestra.left(300)),
                     qPrintable(herramienta.left(300)));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    preparado.modulo->Free();
    delete preparado.inicio;
    preparado.sesion.closeAll();
    return 0;
}
