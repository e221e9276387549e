// A data form's grid over a table of 1,000,000 rows (SQLite) opened with its saved layout
// loaded from FILTRO and its columns fitted to the window, up to its first screen drawn;
// the layout work alone on an open grid; and, as the anchor in the same run, Qt's own
// QSqlQueryModel + QTableView showing the first screen of the same table from the same file.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSource.h"

#include <QPixmap>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int kFilas = 1000000;
const QString kTabla = QStringLiteral("CLIENTES");

struct Programa : ProgramaArrancado
{
    Programa() { llenar(); }

    void llenar()
    {
        plat::Connection &db = inicio->Database();
        plat::TableDef t;
        t.name = kTabla;
        t.fields = {plat::fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                    plat::fieldDef(QStringLiteral("Nombre"), ftString, 40),
                    plat::fieldDef(QStringLiteral("Importe"), ftFloat), plat::fieldDef(QStringLiteral("Fecha"), ftDateTime)};
        t.indexes = {{QStringLiteral("Clave1"), {QStringLiteral("Codigo")}, true, true}};
        db.createTable(t);
        db.startTransaction();
        db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "INSERT INTO CLIENTES (Codigo, Nombre, Importe, Fecha) "
                               "SELECT i, 'Cliente ' || i, (i % 1000) / 10.0, '2024-01-01 00:00:00' FROM n")
                    .arg(kFilas),
                {}, plat::SqlOrigin::AsWritten);
        db.commit();
        modulo->EjecutarSQL(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES "
                                           "('fBENCH.Rejilla', '', 'Font=Arial|9|Azul Marino|fsBold\r\n"
                                           "Campos=Codigo,60,Código|Nombre,200,Nombre...|Importe,90,Importe|"
                                           "Fecha,100,Fecha|')"));
    }
};

Programa *programa = nullptr;

// The data form: a grid filling a 1024 x 768 window.
struct Formulario
{
    Formulario()
    {
        form = plat::createForm<plat::Form>();
        form->setObjectName(QStringLiteral("fBENCH"));
        form->resize(1024, 768);
        fuente = form->make<plat::DataSource>(QStringLiteral("DataSource1"), form);
        rejilla = form->make<plat::DBGrid>(QStringLiteral("Rejilla"), form);
        rejilla->setGeometry(0, 0, 1024, 768);
    }
    ~Formulario() { form->Free(); }
    plat::Form *form;
    plat::DataSource *fuente;
    plat::DBGrid *rejilla;
};

void RejillaConDisenoPrimeraPantalla(benchmark::State &estado)
{
    Formulario f;
    int filasLeidas = 0;
    for (auto _ : estado) {
        plat::TableDataSet tabla(QStringLiteral("Table1"));
        tabla.setTableName(kTabla);
        programa->modulo->AbrirTabla(tabla);
        f.fuente->setDataSet(&tabla);
        f.rejilla->setDataSource(f.fuente);
        programa->modulo->CargarConfiguracionRejilla(QStringLiteral("fBENCH"), *f.rejilla);
        programa->modulo->AjustarRejilla(*f.rejilla);
        const QPixmap pantalla = f.rejilla->grab();
        benchmark::DoNotOptimize(pantalla.cacheKey());
        filasLeidas = f.rejilla->fetchedRows();
        f.fuente->setDataSet(nullptr);
    }
    if (f.rejilla->columnCount() != 4 || f.rejilla->column(1)->ButtonStyle != plat::cbsEllipsis)
        estado.SkipWithError("the saved layout was not applied");
    estado.counters["filas_leidas"] = filasLeidas;
}
BENCHMARK(RejillaConDisenoPrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading the layout and fitting the columns of a grid already open on the table.
void CargarYAjustarDiseno(benchmark::State &estado)
{
    Formulario f;
    plat::TableDataSet tabla(QStringLiteral("Table1"));
    tabla.setTableName(kTabla);
    programa->modulo->AbrirTabla(tabla);
    f.fuente->setDataSet(&tabla);
    f.rejilla->setDataSource(f.fuente);
    const int antes = f.rejilla->fetchedRows();
    for (auto _ : estado) {
        programa->modulo->CargarConfiguracionRejilla(QStringLiteral("fBENCH"), *f.rejilla);
        programa->modulo->AjustarRejilla(*f.rejilla);
    }
    estado.counters["filas_leidas_de_mas"] = f.rejilla->fetchedRows() - antes;
    f.fuente->setDataSet(nullptr);
}
BENCHMARK(CargarYAjustarDiseno)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor: Qt's query model and table view on the same file.
void QTableViewPrimeraPantalla(benchmark::State &estado)
{
    const QString nombre = QStringLiteral("ancla");
    QSqlDatabase db = QSqlDatabase::contains(nombre) ? QSqlDatabase::database(nombre, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
    db.setDatabaseName(programa->inicio->Database().location().sqliteFile());
    db.open();
    QTableView vista;
    vista.resize(1024, 768);
    for (auto _ : estado) {
        QSqlQueryModel modelo;
        modelo.setQuery(QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha FROM CLIENTES ORDER BY Codigo"), db);
        vista.setModel(&modelo);
        const QPixmap pantalla = vista.grab();
        benchmark::DoNotOptimize(pantalla.cacheKey());
        vista.setModel(nullptr);
    }
    db.close();
}
BENCHMARK(QTableViewPrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    Programa preparado;
    if (!preparado.mensajes.textos().isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(preparado.mensajes.textos().join(u'\n')));
    programa = &preparado;
    const int codigo = arranque.ejecutar();
    programa = nullptr;
    QSqlDatabase::removeDatabase(QStringLiteral("ancla"));
    return codigo;
}
