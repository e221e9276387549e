// Arbitrary text as the list editor's expression and variables (cut at the first NUL), as a
// row formula, as its options text and as data-entry definitions: nothing crashes, every
// value is finite, an inner value written back reads as itself, the options never give more
// columns than asked, and a check line names its field where the viewer looks for it.
#include "GENEW/data/servicios/lista/CalculoExpresion.h"
#include "GENEW/data/servicios/lista/OpcionesListaDatos.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype corte = texto.indexOf(QChar(0));
    const QString expresion = corte < 0 ? texto : texto.left(corte);
    const QString variables = corte < 0 ? QString() : texto.mid(corte + 1);

    const double valor = CalcularExpresion(expresion, variables);
    if (!std::isfinite(valor) || !std::isfinite(CalcularExpresionSimple(expresion)))
        std::abort();
    const auto releido = LeerNumeroExpresion(NumeroComoTextoDecimal(valor));
    if (!releido || std::fabs(*releido - valor) > std::fabs(valor) * 1e-14)
        std::abort();
    const QString formula = FormulaConValores(expresion, [](const QString &nombre) -> std::optional<double> {
        if (nombre.size() % 3 == 0)
            return std::nullopt;
        return nombre.size() % 2 ? -double(nombre.size()) : 1e300;
    });
    if (!std::isfinite(CalcularExpresion(formula)))
        std::abort();

    const OpcionesListaDatos o = LeerOpcionesListaDatos(texto);
    if (o.columnas.size() > o.numeroCampos.value_or(0))
        std::abort();
    if (o.definicionTabla().count(QStringLiteral("\r\n")) != o.columnas.size() + 2)
        std::abort();
    for (const QString &definicion : texto.split(u';')) {
        if (definicion.contains(u'>'))
            continue;
        const QString nombre = definicion.section(u',', 0, 0);
        for (const QString &linea : DescriptoresDatosVisor(definicion))
            if (linea.section(u'>', 1, 1) != nombre)
                std::abort();
    }
    for (const QString &linea : o.lineasCalculo())
        LeerCalculoColumna(linea.mid(linea.indexOf(u':') + 1));
    return 0;
}
