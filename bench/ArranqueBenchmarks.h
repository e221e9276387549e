#pragma once
// How a benchmark program starts and runs: its Qt application first (widgets on the
// offscreen platform unless another is asked for), Google Benchmark's own flags read, then
// whatever the program makes before any timing, then the benchmarks the flags choose.
#include <QApplication>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

class ArranqueBenchmarks
{
public:
    enum class Aplicacion { Consola, Ventanas };

    ArranqueBenchmarks(int &argc, char **argv, Aplicacion aplicacion = Aplicacion::Ventanas)
    {
        if (aplicacion == Aplicacion::Ventanas) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            aplicacion_ = std::make_unique<QApplication>(argc, argv);
        } else {
            aplicacion_ = std::make_unique<QCoreApplication>(argc, argv);
        }
        benchmark::Initialize(&argc, argv);
    }

    // Runs the benchmarks; the program's exit code.
    int ejecutar()
    {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }

    // Runs them over an environment made now (`preparar()` answers whether the program it
    // starts is ready; `programa.motivoFallo()` says why not), pointed at by `global` meanwhile.
    template<typename Entorno>
    int ejecutarSobre(Entorno *&global)
    {
        Entorno entorno;
        if (!entorno.preparar())
            return falloArranque(entorno.programa.motivoFallo());
        global = &entorno;
        const int codigo = ejecutar();
        global = nullptr;
        return codigo;
    }

    static int falloArranque(const QString &motivo)
    {
        std::fprintf(stderr, "the program could not start: %s\n", qPrintable(motivo));
        return 1;
    }

private:
    std::unique_ptr<QCoreApplication> aplicacion_;
};

// The whole main of a program with nothing to make before its benchmarks.
#define GP_BENCHMARK_MAIN(aplicacion)                                                \
    int main(int argc, char **argv)                                                  \
    {                                                                                \
        return ArranqueBenchmarks(argc, argv, ArranqueBenchmarks::Aplicacion::aplicacion).ejecutar(); \
    }
