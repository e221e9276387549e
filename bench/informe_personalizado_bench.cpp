// The custom-report runner listing only totals: a stored report of four columns of VENTAS
// (100,000 rows) grouped by city (50 groups) with the amount summed, "Listar Solo Totales"
// ticked, from pbListar through the query, ClientDataSet1 (every row kept for the next
// listing) and the listing's generation to the printer service (which takes the prepared
// pages and prints nothing). The anchor, in the same run, is raw: the report's own SELECT
// prepared and stepped with the sqlite3 C API, the 50 group sums and the grand total kept in C.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/modulo/SalidaInforme.h"
#include "GENEW/reporting/GENEUINF.h"
#include "GENEW/reporting/personalizados/DefinicionInforme.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "ProgramaArrancado.h"
#include "VentasMuestra.h"
#include "platform/data/TableDataSet.h"
#include "platform/report/PreparedReport.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/data/DataSetComponents.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <string>

namespace {

class ImpresoraSinSalida : public ServicioImpresorasInforme
{
public:
    QStringList nombres() const override { return {QStringLiteral("Oficina")}; }
    void imprimir(plat::PreparedReport &informe) override { paginas = informe.pageCount(); }
    int paginas = 0;
};

DefinicionInforme definicionVentas()
{
    DefinicionInforme d;
    d.Tablas = {QStringLiteral("VENTAS")};
    d.Columnas = {QStringLiteral("VENTAS.Ciudad"), QStringLiteral("VENTAS.Cliente"), QStringLiteral("VENTAS.Cantidad"),
                  QStringLiteral("VENTAS.Importe")};
    d.Ordenacion = {QStringLiteral("VENTAS.Ciudad")};
    d.Grupos = {QStringLiteral("VENTAS.Ciudad")};
    d.Sumatorios = {QStringLiteral("VENTAS.Importe")};
    return d;
}

struct Entorno
{
    ProgramaArrancado programa;
    plat::Form *marco = nullptr;
    ImpresoraSinSalida impresora;
    std::optional<ServicioImpresorasInstalado> instalada;
    QString sentencia;
    TfGENEUINF *ventana = nullptr;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        crearVentasMuestra(programa.inicio->Database(), 100000);
        const DefinicionInforme definicion = definicionVentas();
        sentencia = ConstruirSentenciaSQL(definicion);
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        if (!programa.modulo->AbrirTabla(filtro)
            || !programa.modulo
                    ->EjecutarSQL(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) "
                                                 "VALUES ('GeneradorInformes', 'Ventas', %1, %2)")
                                      .arg(Entrecomillar(sentencia), Entrecomillar(ConstruirInstrucciones(definicion))))
                    .isEmpty())
            return false;
        instalada.emplace(impresora);
        // The print dialog is accepted as the user would.
        plat::setDialogScript([](QObject *dialogo) { return qobject_cast<plat::PrintDialog *>(dialogo) != nullptr; });
        marco = new plat::Form();
        marco->setFormStyle(plat::fsMDIForm);
        marco->resize(1000, 700);
        plat::application().setMainForm(marco);
        marco->Show();
        NombreInforme = QStringLiteral("Ventas");
        ventana = plat::createForm<TfGENEUINF>();
        if (!ventana)
            return false;
        ventana->VisualizacionPrevia->setChecked(false);
        ventana->ListarSoloTotales->setChecked(true);
        ventana->pbListar->click();
        return impresora.paginas > 0 && ventana->ClientDataSet1->dataSet().recordCount() == 100000;
    }
};

Entorno *entorno = nullptr;

void ListarSoloTotales(benchmark::State &estado)
{
    for (auto _ : estado)
        entorno->ventana->pbListar->click();
    estado.counters["paginas"] = entorno->impresora.paginas;
    estado.counters["filas"] = double(entorno->ventana->ClientDataSet1->dataSet().recordCount());
}

void AnclaSqlite3SumasEnC(benchmark::State &estado)
{
    const QByteArray fichero = QFile::encodeName(fGENEINIC->Database().location().sqliteFile());
    const QByteArray sql = entorno->sentencia.toUtf8();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(fichero.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        estado.SkipWithError("cannot open the file");
        sqlite3_close(db);
        return;
    }
    const int columnaCiudad = 0, columnaImporte = 3;
    std::map<std::string, double> sumas;
    double total = 0;
    for (auto _ : estado) {
        sqlite3_stmt *sentencia = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &sentencia, nullptr);
        sumas.clear();
        total = 0;
        std::string grupo;
        double suma = 0;
        bool hayGrupo = false;
        while (sqlite3_step(sentencia) == SQLITE_ROW) {
            const char *ciudad = reinterpret_cast<const char *>(sqlite3_column_text(sentencia, columnaCiudad));
            const std::string_view actual = ciudad ? ciudad : "";
            if (!hayGrupo || actual != grupo) {
                if (hayGrupo)
                    sumas[grupo] = suma;
                grupo.assign(actual);
                suma = 0;
                hayGrupo = true;
            }
            const double importe = sqlite3_column_double(sentencia, columnaImporte);
            suma += importe;
            total += importe;
        }
        if (hayGrupo)
            sumas[grupo] = suma;
        sqlite3_finalize(sentencia);
    }
    sqlite3_close(db);
    estado.counters["grupos"] = double(sumas.size());
    benchmark::DoNotOptimize(total);
}

BENCHMARK(ListarSoloTotales)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaSqlite3SumasEnC)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
