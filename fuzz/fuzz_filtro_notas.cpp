// The technical notes' filter: the boxes of the first byte, then answers typed for
// columns with an operator, through the builder and the dataset filter's parser. The text
// must always parse, into the box conditions followed by one comparison per answer, of
// that column with exactly the answer typed.
#include "platform/base/Errores.h"
#include "platform/data/filter/FilterSyntax.h"
#include "projects/proyectos/FiltroNotasTecnicas.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

const char *const kCampos[] = {"NotaTecnica", "CodigoProyecto", "CodigoCapitulo", "Descripcion", "DetectadoPor",
                               "SolucionadoPor", "FechaDeteccion", "FechaSolucion", "NotificarA", "NivelUrgencia",
                               "Situacion", "Responsable", "DocumentoApoyo", "FechaPrevista", "NivelPrioridad"};
const char *const kOperadores[] = {"=", ">=", "<="};
const plat::CompareOp kComparaciones[] = {plat::CompareOp::Equal, plat::CompareOp::GreaterOrEqual,
                                          plat::CompareOp::LessOrEqual};

struct Respuesta
{
    int campo;
    int operador;
    QString valor;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t cajas = data[0];
    filtroNotas::Opciones o{bool(cajas & 1), bool(cajas & 2), bool(cajas & 4), bool(cajas & 8),
                            bool(cajas & 16), bool(cajas & 32), bool(cajas & 64)};
    std::vector<Respuesta> respuestas;
    QString filtroPorValor;
    for (size_t i = 1; i + 3 <= size;) {
        const int campo = data[i] % int(std::size(kCampos));
        const int operador = data[i + 1] % 3;
        const size_t largo = std::min<size_t>(data[i + 2], size - i - 3);
        const QString valor = QString::fromUtf8(reinterpret_cast<const char *>(data + i + 3), qsizetype(largo));
        i += 3 + largo;
        if (valor.isEmpty())
            continue;   // an empty answer adds nothing
        respuestas.push_back({campo, operador, valor});
        filtroPorValor = filtroNotas::AnadirCondicion(
            filtroPorValor, filtroNotas::CondicionPorValor(QString::fromLatin1(kCampos[campo]),
                                                           QString::fromLatin1(kOperadores[operador]), valor));
    }
    const QString texto = filtroNotas::TextoFiltro(o, filtroPorValor);
    int grupos = 0;
    for (const QString &c : {filtroNotas::CondicionTipo(o), filtroNotas::CondicionSituacion(o),
                             filtroNotas::CondicionPrioridad(o)})
        grupos += c.isEmpty() ? 0 : 1;

    std::unique_ptr<plat::FilterNode> raiz;
    try {
        raiz = plat::parseFilterText(texto);
    } catch (const gp::Error &) {
        std::abort();   // the builder wrote a text the filter cannot read
    }
    const size_t esperados = size_t(grupos) + respuestas.size();
    if (esperados == 0) {
        if (raiz)
            std::abort();
        return 0;
    }
    std::vector<const plat::FilterNode *> terminos;
    if (esperados == 1) {
        terminos.push_back(raiz.get());
    } else {
        if (!raiz || raiz->kind != plat::FilterNode::Kind::And)
            std::abort();
        for (const auto &t : raiz->terms)
            terminos.push_back(t.get());
    }
    if (terminos.size() != esperados)
        std::abort();
    for (size_t k = 0; k < respuestas.size(); ++k) {
        const plat::FilterNode &c = *terminos[size_t(grupos) + k];
        const Respuesta &r = respuestas[k];
        if (c.kind != plat::FilterNode::Kind::Compare || c.op != kComparaciones[r.operador]
            || c.left.kind != plat::FilterOperand::Kind::Field || c.left.text != QLatin1String(kCampos[r.campo])
            || c.right.kind != plat::FilterOperand::Kind::Quoted || c.right.text != r.valor)
            std::abort();
    }
    return 0;
}
