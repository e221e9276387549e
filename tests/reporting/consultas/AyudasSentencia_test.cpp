#include "GENEW/reporting/consultas/AyudasSentencia.h"

#include <functional>
#include <gtest/gtest.h>

using namespace ayudasSentencia;

TEST(AyudasSentencia, EachDoubleClickEditsTheLastLineByItsRule)
{
    using Cambio = std::function<void(QStringList &)>;
    const struct
    {
        QStringList antes;
        Cambio cambio;
        QStringList despues;
    } casos[] = {
        {{"SELECT T0.A,"}, [](QStringList &l) { insertarComando(l, "WHERE", 0, "A"); }, {"SELECT T0.A", "    WHERE "}},
        // A field leaves ", " behind: the comma goes, its blank stays.
        {{"SELECT T0.A, "}, [](QStringList &l) { insertarComando(l, "FROM", 0, "A"); }, {"SELECT T0.A ", "    FROM "}},
        {{"SELECT "}, [](QStringList &l) { insertarComando(l, "SUM( )", 1, "Importe"); }, {"SELECT SUM(T1.Importe), "}},
        {{"SELECT T0.A,"}, [](QStringList &l) { insertarComando(l, "DISTINCT", 0, "A"); }, {"SELECT T0.ADISTINCT "}},
        {{"    WHERE T0.A,"}, [](QStringList &l) { insertarOperador(l, ">="); }, {"    WHERE T0.A>= "}},
        {{"    FROM"}, [](QStringList &l) { insertarTabla(l, "CLIENTES", 2); }, {"    FROM CLIENTES T2"}},
        {{}, [](QStringList &l) { insertarCampo(l, "Nombre", 0); }, {"T0.Nombre, "}},
        {{"SELECT *", "FROM T", "order by A DESC", "WHERE 1=1", "ORDER BY B"},
         [](QStringList &l) { ordenarPor(l, "Nombre"); },
         {"SELECT *", "FROM T", "ORDER BY Nombre", "WHERE 1=1", "ORDER BY Nombre"}},
        {{"SELECT *", "FROM T"}, [](QStringList &l) { ordenarPor(l, "Nombre"); }, {"SELECT *", "FROM T", "ORDER BY Nombre"}},
        {{"SELECT *", "Order By A", "ORDER BY B"}, [](QStringList &l) { quitarOrden(l); }, {"SELECT *", "ORDER BY B"}},
    };
    for (const auto &c : casos) {
        QStringList lineas = c.antes;
        c.cambio(lineas);
        EXPECT_EQ(lineas, c.despues) << c.antes.join(" / ").toStdString();
    }
}
