// The text of a large SQL answer: 100,000 rows of five columns (integer, text, decimal,
// date-time, memo) written as the SQL service answers them, without the engine's share.
#include "GENEW/runtime/RespuestaSQL.h"

#include <QDateTime>
#include <QList>
#include <benchmark/benchmark.h>

namespace {

class FilasPreparadas : public FilasRespuestaSQL
{
public:
    explicit FilasPreparadas(int numero)
    {
        filas_.reserve(numero);
        for (int i = 0; i < numero; ++i)
            filas_.append({i, QStringLiteral("Nombre %1").arg(i), i * 1.25,
                           QDateTime(QDate(2024, 1, 1).addDays(i % 300), QTime(i % 24, 0), Qt::UTC),
                           QStringLiteral("texto\r\nmemo")});
    }
    void reiniciar() { fila_ = -1; }
    int numeroColumnas() const override { return 5; }
    QString nombreColumna(int columna) const override { return QStringLiteral("C%1").arg(columna); }
    TFieldType tipoColumna(int columna) const override
    {
        static const TFieldType tipos[] = {ftInteger, ftString, ftFloat, ftDateTime, ftMemo};
        return tipos[columna];
    }
    bool siguienteFila() override { return ++fila_ < filas_.size(); }
    QVariant valor(int columna) const override { return filas_.at(fila_).at(columna); }

private:
    QList<QVariantList> filas_;
    qsizetype fila_ = -1;
};

void RespuestaDeCienMilFilas(benchmark::State &estado)
{
    FilasPreparadas filas(100000);
    const QString opciones = estado.range(0) ? QStringLiteral("FormatoINI") : QString();
    for (auto _ : estado) {
        filas.reiniciar();
        benchmark::DoNotOptimize(FormatearRespuestaSQL(filas, opciones));
    }
}
BENCHMARK(RespuestaDeCienMilFilas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
