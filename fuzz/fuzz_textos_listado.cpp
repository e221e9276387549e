// The listing dialog's restriction texts: values typed for fields of each type class with
// an operator become filter lines, and typed bounds become range texts, in the logical
// mode. Every line must parse into one comparison of its field with exactly the value
// typed (a float read back as the same number, a date as its day), and the whole condition
// of lines and ranges must parse.
#include "GENEW/data/servicios/TextosListado.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "platform/base/Errores.h"
#include "platform/data/filter/FilterSyntax.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

struct Campo
{
    const char *nombre;
    const char *tipo;
};

const Campo kCampos[] = {{"Nombre", "ftString"}, {"Importe", "ftFloat"}, {"Fecha", "ftDate"}, {"Alta", "ftDateTime"}};
const char *const kOperadores[] = {"=", "<>", "<", ">", "<=", ">="};
const plat::CompareOp kComparaciones[] = {plat::CompareOp::Equal,       plat::CompareOp::NotEqual,
                                          plat::CompareOp::Less,        plat::CompareOp::Greater,
                                          plat::CompareOp::LessOrEqual, plat::CompareOp::GreaterOrEqual};

std::unique_ptr<plat::FilterNode> leer(const QString &texto)
{
    try {
        return plat::parseFilterText(texto);
    } catch (const gp::Error &) {
        std::abort();   // a text the dialog wrote that the filter cannot read
    }
}

// The constant the line must hold for the value typed.
bool constanteFiel(const Campo &campo, const QString &valor, const QString &constante)
{
    const QString tipo = QString::fromLatin1(campo.tipo);
    if (tipo == QLatin1String("ftString"))
        return constante == valor;
    if (tipo == QLatin1String("ftFloat")) {
        const double esperado = TextoANumero(valor);
        bool leido = false;
        const double numero = constante.toDouble(&leido);
        return leido && std::fabs(numero - esperado) <= 1e-6 * std::max(1.0, std::fabs(esperado));
    }
    return constante == TextoAFechaHora(valor.trimmed()).date().toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList lineas;
    QVector<RangoListado> rangos;
    for (size_t i = 0; i + 3 <= size;) {
        const Campo &campo = kCampos[data[i] % std::size(kCampos)];
        const int operador = data[i + 1] % int(std::size(kOperadores));
        const size_t largo = std::min<size_t>(data[i + 2], size - i - 3);
        const QString valor = QString::fromUtf8(reinterpret_cast<const char *>(data + i + 3), qsizetype(largo));
        i += 3 + largo;
        const QString nombre = QString::fromLatin1(campo.nombre);
        const QString tipo = QString::fromLatin1(campo.tipo);
        const qsizetype antes = lineas.size();
        bool agregada = false;
        try {
            agregada = AgregarLineaFiltro(lineas, nombre, QString::fromLatin1(kOperadores[operador]), tipo, valor,
                                          ModoListado::Logico);
        } catch (const gp::ConversionError &) {
            if (lineas.size() != antes)
                std::abort();   // a refused value must leave the lines as they were
            continue;
        }
        if (agregada != !valor.isEmpty() || lineas.size() != antes + (agregada ? 1 : 0))
            std::abort();
        if (!agregada)
            continue;
        const std::unique_ptr<plat::FilterNode> linea = leer(lineas.last());
        if (!linea || linea->kind != plat::FilterNode::Kind::Compare || linea->op != kComparaciones[operador]
            || linea->left.kind != plat::FilterOperand::Kind::Field || linea->left.text != nombre
            || linea->right.kind != plat::FilterOperand::Kind::Quoted || !constanteFiel(campo, valor, linea->right.text))
            std::abort();
        rangos.append({nombre, tipo, operador % 2 ? valor : QString(), operador % 3 ? valor : QString()});
    }
    QString textoRangos;
    try {
        textoRangos = TextoRangosListado(rangos, ModoListado::Logico);
    } catch (const gp::ConversionError &) {
        std::abort();   // every value here was already read as its type
    }
    const QString condicion = TextoCondicionListado(lineas.join(QLatin1Char(' ')), textoRangos);
    const std::unique_ptr<plat::FilterNode> raiz = leer(condicion);
    if (condicion.trimmed().isEmpty() != !raiz)
        std::abort();
    return 0;
}
