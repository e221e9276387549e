// The SQL console's F9 on a SELECT of 100,000 rows and 10 columns, from the key press to the
// grid's first screen painted, against the anchor measured in the same run: the data layer's
// Connection::query of the same text (every row read).
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/GENECSQL.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"

#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

const QString kSentencia = QStringLiteral("SELECT * FROM VENTAS");

struct Entorno
{
    ProgramaArrancado programa;
    plat::Form *marco = nullptr;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        plat::Connection &empresa = programa.inicio->Database();
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
        return programa.modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM VENTAS")) == QStringLiteral("100000");
    }
};
Entorno *entorno = nullptr;

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

// Qt's own classes on the same file: QSqlQueryModel fetching what a QTableView of the
// console's size shows first.
void AnclaQTableViewPrimeraPantalla(benchmark::State &estado)
{
    const QString nombre = QStringLiteral("ancla");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
    db.setDatabaseName(entorno->programa.inicio->Database().location().sqliteFile());
    db.open();
    {
        QTableView vista;
        vista.resize(900, 600);
        for (auto _ : estado) {
            QSqlQueryModel modelo;
            modelo.setQuery(kSentencia, db);
            vista.setModel(&modelo);
            benchmark::DoNotOptimize(vista.viewport()->grab());
            vista.setModel(nullptr);
        }
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(nombre);
}

BENCHMARK(F9PrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaConnectionQuery)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaQTableViewPrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
