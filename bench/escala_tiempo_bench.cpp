// One Gantt row of two years across 1600 pixels with day ticks, Monday lines, month lines
// and names, and today's line: the data module's time scale against the same marks drawn
// straight with QPainter at precomputed places.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/ui/Canvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

const QRect kFila(0, 0, 1600, 18);
const QString kOpciones = QStringLiteral("Dias,Semanas,Meses,Hoy");

void EscalaDosAnyos(benchmark::State &state)
{
    const double s0 = NumeroDia(FechaHora(QDate(2024, 1, 1)));
    const double s1 = NumeroDia(FechaHora(QDate(2025, 12, 31)));
    const double hoy = NumeroDia(FechaHora(QDate(2024, 11, 15)));
    plat::Bitmap fila(kFila.width(), kFila.height());
    for (auto _ : state)
        DibujarEscalaTiempo(fila.canvas(), kFila, s0, s1, kOpciones, hoy);
}
BENCHMARK(EscalaDosAnyos)->Unit(benchmark::kMicrosecond);

// The floor: 731 day ticks, 104 Monday lines, 24 month lines and names, today's line.
void AnclaQPainterDosAnyos(benchmark::State &state)
{
    QImage imagen(kFila.size(), QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    painter.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    const QColor plata(192, 192, 192), negro(Qt::black), fucsia(255, 0, 255);
    const QString meses[] = {"Ene", "Feb", "Mar", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};
    for (auto _ : state) {
        for (int d = 0; d < 731; ++d)
            painter.fillRect(QRect(d * 1600 / 731, 9, 1, 1), plata);
        for (int w = 0; w < 104; ++w)
            painter.fillRect(QRect(w * 7 * 1600 / 731, 0, 1, 18), plata);
        for (int m = 0; m < 24; ++m) {
            const int x = m * 1600 / 24;
            painter.fillRect(QRect(x, 0, 1, 18), negro);
            painter.setBackground(plata);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.drawText(x + 2, 14, meses[m % 12]);
        }
        painter.fillRect(QRect(700, 0, 1, 18), fucsia);
    }
}
BENCHMARK(AnclaQPainterDosAnyos)->Unit(benchmark::kMicrosecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
