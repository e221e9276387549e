// The run-time listing over a SQLite table of 100,000 rows and ten columns, grouped, with
// sums: all pages to PDF, against the anchor in the same run: the same bands laid out with
// plain engine controls (data texts and sum expressions, no print events) and written the
// same way. Also the time from the preview call to the first page shown.
#include "ArranqueBenchmarks.h"
#include "bench/PrimeraPagina.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFilas = 100000;

struct Datos
{
    QTemporaryDir dir;
    plat::Session session;

    Datos()
    {
        plat::Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        plat::TableDef t;
        t.name = QStringLiteral("LISTADO");
        t.fields = {plat::fieldDef("Codigo", ftInteger, 0, true), plat::fieldDef("Grupo", ftString, 10),
                    plat::fieldDef("Nombre", ftString, 40),        plat::fieldDef("Importe", ftFloat),
                    plat::fieldDef("Cantidad", ftFloat),           plat::fieldDef("Precio", ftFloat),
                    plat::fieldDef("Fecha", ftDateTime),           plat::fieldDef("Hora", ftDateTime),
                    plat::fieldDef("Zona", ftString, 10),          plat::fieldDef("Notas", ftString, 30)};
        plat::IndexDef primaria;
        primaria.name = QStringLiteral("Clave1");
        primaria.fields = {QStringLiteral("Codigo")};
        primaria.primary = primaria.unique = true;
        t.indexes = {primaria};
        db.createTable(t);
        db.startTransaction();
        QSqlQuery q(QSqlDatabase::database(db.qtConnectionName()));
        q.prepare(QStringLiteral("INSERT INTO LISTADO VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 1; i <= kFilas; ++i) {
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("G%1").arg((i - 1) / 40, 5, 10, QChar(u'0')));
            q.addBindValue(QStringLiteral("Cliente número %1").arg(i));
            q.addBindValue(i % 1000 / 10.0);
            q.addBindValue(i % 17);
            q.addBindValue(i % 300 / 4.0);
            q.addBindValue(QStringLiteral("2024-03-01 00:00:00"));
            q.addBindValue(QStringLiteral("1899-12-30 08:30:00"));
            q.addBindValue(i % 2 ? QStringLiteral("Norte") : QStringLiteral("Sur"));
            q.addBindValue(QStringLiteral("Sin observaciones"));
            q.exec();
        }
        db.commit();
    }
};

Datos &datos()
{
    static Datos d;
    return d;
}

struct Tabla
{
    plat::TableDataSet tabla{QStringLiteral("LISTADO")};
    Tabla()
    {
        tabla.setConnection(&datos().session.connection(QStringLiteral("Database")));
        tabla.setTableName(QStringLiteral("LISTADO"));
        tabla.open();
    }
};

// The run-time listing as its callers make it: grouped by the hidden Grupo, every sum.
struct ListadoProgramable : Tabla
{
    TfGENELPRO *listado = plat::createForm<TfGENELPRO>();

    ListadoProgramable()
    {
        listado->QuickReport->DataSet = &tabla;
        listado->QuickReport->ReportTitle = QStringLiteral("Listado de clientes");
        listado->Sumatorios = QStringLiteral("Todas");
        listado->Grupos = QStringLiteral("Grupo");
        tabla.fieldByName(QStringLiteral("Grupo")).tag = 999;
    }
    ~ListadoProgramable() { listado->Free(); }
};

// The anchor: the same bands and places with plain engine controls and no events.
struct ListadoFijo : Tabla
{
    Informe informe;

    ListadoFijo()
    {
        ListadoProgramable modelo;   // the run-time listing's own layout, copied control by control
        bool imprimir = true;
        modelo.listado->QuickReportBeforePrint(nullptr, imprimir);   // builds the bands, prints nothing
        informe.DataSet = &tabla;
        informe.ReportTitle = QStringLiteral("Listado de clientes");
        informe.page()->LeftMargin = informe.page()->RightMargin = 5;
        for (BandaInforme *banda : modelo.listado->QuickReport->bandas()) {
            BandaInforme *copia = banda->BandType == TipoBanda::CabeceraGrupo ? new GrupoInforme(&informe)
                                                                              : new BandaInforme(&informe, banda->BandType);
            copia->setObjectName(banda->objectName());
            copia->Height = banda->Height;
            copia->Color = banda->Color;
            copia->Enabled = banda->Enabled;
            if (auto *grupo = qobject_cast<GrupoInforme *>(copia)) {
                grupo->Expression = QStringLiteral("Grupo");
                auto *valor = new TextoDatoInforme(grupo);
                valor->DataSet = &tabla;
                valor->DataField = QStringLiteral("Grupo");
                valor->Top = 4;
            }
            for (ControlInforme *control : banda->controles()) {
                ControlInforme *nuevo = nullptr;
                if (auto *detalle = qobject_cast<EtiquetaInforme *>(control);
                    detalle && control->objectName().startsWith(QLatin1String("LBDetalle"))) {
                    auto *dato = new TextoDatoInforme(copia);
                    dato->DataSet = &tabla;
                    dato->DataField = modelo.listado->CampoDeColumna(detalle->objectName().mid(9).toInt())->fieldName();
                    dato->Alignment = detalle->Alignment;
                    nuevo = dato;
                } else if (auto *suma = qobject_cast<ExpresionInforme *>(control); suma && suma->Enabled) {
                    auto *otra = new ExpresionInforme(copia);
                    otra->Expression = suma->Expression;
                    otra->Mask = suma->Mask;
                    otra->ResetAfterPrint = true;
                    otra->Alignment = suma->Alignment;
                    nuevo = otra;
                } else if (auto *etiqueta = qobject_cast<EtiquetaInforme *>(control)) {
                    auto *otra = new EtiquetaInforme(copia);
                    otra->Caption = etiqueta->Caption;
                    otra->Color = etiqueta->Color;
                    otra->FontColor = etiqueta->FontColor;
                    nuevo = otra;
                } else if (auto *sistema = qobject_cast<DatoSistemaInforme *>(control)) {
                    auto *otro = new DatoSistemaInforme(copia);
                    otro->Data = sistema->Data;
                    otro->Text = sistema->Text;
                    otro->Alignment = sistema->Alignment;
                    nuevo = otro;
                }
                if (!nuevo)
                    continue;
                nuevo->Left = control->Left;
                nuevo->Top = control->Top;
                nuevo->Width = control->Width;
                nuevo->Height = control->Height;
                nuevo->Font = control->Font;
            }
        }
        if (auto *grupo = informe.findChild<GrupoInforme *>())
            for (BandaInforme *banda : informe.bandas())
                if (banda->BandType == TipoBanda::PieGrupo)
                    grupo->FooterBand = banda;
    }
};

QString ficheroPdf(const char *nombre)
{
    return datos().dir.filePath(QString::fromLatin1(nombre));
}

template<class L, class I>
void aPdf(benchmark::State &state, I informe)
{
    int paginas = 0;
    for (auto _ : state) {
        L listado;
        Informe &r = informe(listado);
        r.Prepare();
        paginas = r.pageCount();
        escribirPdf(r.impresora()->paginas(), ficheroPdf("listado.pdf"), r.paper(), r.orientation());
    }
    state.counters["paginas"] = paginas;
    state.counters["paginas/s"] = benchmark::Counter(double(paginas) * state.iterations(), benchmark::Counter::kIsRate);
}

void ListadoProgramableAPdf(benchmark::State &state)
{
    aPdf<ListadoProgramable>(state, [](ListadoProgramable &l) -> Informe & { return *l.listado->QuickReport; });
}
BENCHMARK(ListadoProgramableAPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

void AnclaControlesFijosAPdf(benchmark::State &state)
{
    aPdf<ListadoFijo>(state, [](ListadoFijo &l) -> Informe & { return l.informe; });
}
BENCHMARK(AnclaControlesFijosAPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the preview call to the first page painted in the preview control.
void PrimeraPaginaEnVistaPrevia(benchmark::State &state)
{
    for (auto _ : state) {
        ListadoProgramable l;
        Informe &informe = *l.listado->QuickReport;
        state.SetIterationTime(segundosHastaPrimeraPagina(informe));
    }
}
BENCHMARK(PrimeraPaginaEnVistaPrevia)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    datos();   // made before any timing
    return arranque.ejecutar();
}
