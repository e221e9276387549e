// The SQL console's F9 on a SELECT of 100,000 rows and 10 columns, from the key press to the
// grid's first screen painted, against the anchor measured in the same run: the data layer's
// Connection::query of the same text (every row read).
#include "GENEW/data/Genemodu.h"
#include "GENEW/reporting/GENECSQL.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/base/SalidaMensajes.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <optional>

namespace {

const QString kSentencia = QStringLiteral("SELECT * FROM VENTAS");

struct Entorno
{
    QTemporaryDir carpeta;
    SalidaMensajesGrabada mensajes;   // nothing may wait for a click
    std::optional<SalidaMensajesInstalada> salida;
    plat::Session sesion;
    TfGENEINIC *inicio = nullptr;
    TModuloDatos *modulo = nullptr;
    plat::Form *marco = nullptr;

    bool preparar()
    {
        QDir::setCurrent(carpeta.path());
        salida.emplace(mensajes);
        QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), carpeta.filePath(QStringLiteral("DATABASE.TXT")));
        TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
        inicio = new TfGENEINIC(nullptr, &sesion);
        inicio->afterConstruction();
        if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
            return false;
        inicio->ConectarBaseDatosEmpresa(1);
        inicio->Conexiones().EmpresaActual = 1;
        modulo = plat::createDataModule<TModuloDatos>();
        plat::Connection &empresa = inicio->Database();
        empresa.exec(QStringLiteral("CREATE TABLE VENTAS (Codigo INTEGER PRIMARY KEY, Cliente VARCHAR(40), Ciudad VARCHAR(30), "
                                    "Producto VARCHAR(30), Cantidad INTEGER, Precio FLOAT, Importe FLOAT, Fecha TIMESTAMP, "
                                    "Vendedor VARCHAR(20), Notas VARCHAR(60))"),
                     {}, plat::SqlOrigin::AsWritten);
        empresa.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                                    "INSERT INTO VENTAS SELECT i, 'Cliente número ' || i, 'Ciudad ' || (i % 50), "
                                    "'Producto ' || (i % 300), i % 17, i * 0.5, (i % 17) * i * 0.5, "
                                    "'2026-01-01 10:00:00', 'V' || (i % 9), 'Nota de la venta ' || i FROM n"),
                     {}, plat::SqlOrigin::AsWritten);
        marco = new plat::Form();
        marco->setFormStyle(plat::fsMDIForm);
        marco->resize(1000, 700);
        plat::application().setMainForm(marco);
        marco->Show();
        fGENECSQL = plat::createForm<TfGENECSQL>();
        fGENECSQL->resize(900, 600);
        return modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM VENTAS")) == QStringLiteral("100000");
    }
};

void F9PrimeraPantalla(benchmark::State &estado)
{
    fGENECSQL->SentenciaSQL->setText(kSentencia);
    for (auto _ : estado) {
        fGENECSQL->pbEjecutar->click();
        benchmark::DoNotOptimize(fGENECSQL->DBGrid1->viewport()->grab());
    }
    estado.counters["filas_leidas"] = double(fGENECSQL->DBGrid1->fetchedRows());
}

void AnclaConnectionQuery(benchmark::State &estado)
{
    plat::Connection &empresa = fGENEINIC->Database();
    for (auto _ : estado)
        benchmark::DoNotOptimize(empresa.query(kSentencia, {}, plat::SqlOrigin::AsWritten));
}

BENCHMARK(F9PrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaConnectionQuery)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Entorno e;
    if (!e.preparar()) {
        fprintf(stderr, "no se ha podido preparar la base de datos\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
