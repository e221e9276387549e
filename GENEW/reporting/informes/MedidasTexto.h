#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// The widths of texts in the page fonts of one run, measured once each: a listing repeats
// most of its values (dates, zones, amounts, captions) and every measure shapes the text.
// The tables start afresh when full, so that a run of any length keeps a bounded memory.
class MedidasTexto
{
public:
    // A font in points as laid out on the page (see fuenteDePagina), with its measures.
    struct Fuente
    {
        explicit Fuente(const QFont &puntos);
        QFont puntos;
        QFont pagina;
        QFontMetricsF medidas;
        double alto, ascenso;
        QHash<QString, double> anchos;
    };

    static constexpr int kFuentes = 32;
    static constexpr int kTextosPorFuente = 4096;

    Fuente &fuente(const QFont &puntos);
    double ancho(Fuente &fuente, const QString &texto);

private:
    std::vector<std::unique_ptr<Fuente>> fuentes_;
    Fuente *ultima_ = nullptr;
};
