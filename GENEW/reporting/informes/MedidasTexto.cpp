#include "GENEW/reporting/informes/MedidasTexto.h"

#include "GENEW/reporting/informes/ControlesInforme.h"

MedidasTexto::Fuente::Fuente(const QFont &enPuntos)
    : puntos(enPuntos), pagina(fuenteDePagina(enPuntos)), medidas(pagina), alto(medidas.height()),
      ascenso(medidas.ascent())
{
}

MedidasTexto::Fuente &MedidasTexto::fuente(const QFont &puntos)
{
    // Most texts come in the font of the text before.
    if (ultima_ && ultima_->puntos == puntos)
        return *ultima_;
    for (const auto &f : fuentes_)
        if (f->puntos == puntos)
            return *(ultima_ = f.get());
    if (fuentes_.size() >= size_t(kFuentes))
        fuentes_.clear();
    fuentes_.push_back(std::make_unique<Fuente>(puntos));
    return *(ultima_ = fuentes_.back().get());
}

double MedidasTexto::ancho(Fuente &fuente, const QString &texto)
{
    if (const auto it = fuente.anchos.constFind(texto); it != fuente.anchos.cend())
        return *it;
    if (fuente.anchos.size() >= kTextosPorFuente)
        fuente.anchos.clear();
    const double medido = fuente.medidas.horizontalAdvance(texto);
    fuente.anchos.insert(texto, medido);
    return medido;
}
