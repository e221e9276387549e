#include "GENEW/reporting/informes/LecturaExpresion.h"

#include "GENEW/runtime/comun/Errores.h"

#include <gtest/gtest.h>

namespace {

struct Caso
{
    const char *texto;
    ExpresionLeida::Tipo tipo;
    QStringList campos;
};

} // namespace

TEST(LecturaExpresion, FormasAdmitidas)
{
    using T = ExpresionLeida::Tipo;
    const Caso casos[] = {
        {"Grupo", T::Campos, {"Grupo"}},
        {"  Grupo  ", T::Campos, {"Grupo"}},
        {"'Código Cliente'", T::Campos, {"Código Cliente"}},
        {"Grupo+Nombre", T::Campos, {"Grupo", "Nombre"}},
        {"A + 'B C' + D_1", T::Campos, {"A", "B C", "D_1"}},
        {"Sum(Importe)", T::Suma, {"Importe"}},
        {"SUM ( 'Importe Total' )", T::Suma, {"Importe Total"}},
        {"Summa", T::Campos, {"Summa"}},
    };
    for (const Caso &c : casos) {
        const ExpresionLeida leida = leerExpresionInforme(QString::fromUtf8(c.texto));
        EXPECT_EQ(leida.tipo, c.tipo) << c.texto;
        EXPECT_EQ(leida.campos, c.campos) << c.texto;
    }
}

TEST(LecturaExpresion, ElRestoSeRechazaNombrandoLaExpresion)
{
    for (const char *texto : {"", "  ", "A-B", "A+", "+A", "A B", "''", "'abierta", "Sum()", "Sum(A", "Sum(A+B)",
                              "Sum(A) + B", "Avg(A)", "A*2", "Sum(Sum(A))", "Count(A)"}) {
        try {
            leerExpresionInforme(QString::fromUtf8(texto));
            ADD_FAILURE() << "aceptada: " << texto;
        } catch (const gp::Error &e) {
            EXPECT_EQ(e.mensaje(), QString("Expresión no válida en el informe: \"%1\"").arg(texto));
        }
    }
}
