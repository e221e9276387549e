#include "projects/IntercambioOperarios.h"

#include <gtest/gtest.h>

using namespace intercambio;

namespace {

// Records what the swap asks for; fails the statement on a chosen table.
class EjecutorFalso : public EjecutorIntercambio
{
public:
    void iniciar() override { registro << QStringLiteral("BEGIN"); }
    void confirmar() override { registro << QStringLiteral("COMMIT"); }
    void cancelar() override { registro << QStringLiteral("ROLLBACK"); }
    bool existeOperario(qint64 codigo) override { return existentes.contains(codigo); }
    bool ejecutar(const PasoIntercambio &paso, QStringList &incidencias) override
    {
        registro << paso.tabla + u'.' + paso.columna;
        if (paso.tabla == tablaFallida) {
            incidencias << QStringLiteral("fallo ") + paso.tabla;
            return !fallaDevolviendoFalso;
        }
        return true;
    }

    QList<qint64> existentes{5, 7};
    QString tablaFallida;
    bool fallaDevolviendoFalso = true;
    QStringList registro;
};

} // namespace

TEST(IntercambioOperarios, PlanRewritesEveryColumnThenTheOperatorThenItsSideRows)
{
    struct Caso
    {
        bool destinoExiste;
        AccionPaso accionOperario;
    };
    for (const Caso caso : {Caso{false, AccionPaso::Reemplazar}, Caso{true, AccionPaso::Eliminar}}) {
        const auto pasos = PlanIntercambio({5, 12}, caso.destinoExiste);
        ASSERT_EQ(pasos.size(), 33 + 1 + 3);
        EXPECT_EQ(pasos.first(), (PasoIntercambio{AccionPaso::Reemplazar, "AVISOPER", "CodigoOperario", "", "5", "12"}));
        EXPECT_EQ(pasos[9].condicion, QStringLiteral("TipoMultiParte = 'Trabajo'"));
        EXPECT_EQ(pasos[10].condicion, QStringLiteral("TipoMultiParte = 'Maquina'"));
        EXPECT_EQ(pasos[20].columna, QStringLiteral("CodigoOperarioPresencia"));
        // The program's own columns come after the common list, before the operator record.
        EXPECT_EQ(pasos[28].tabla, QStringLiteral("UDADINTP"));
        EXPECT_EQ(pasos[29], (PasoIntercambio{AccionPaso::Reemplazar, "PROYECT", "Director", "", "5", "12"}));
        EXPECT_EQ(pasos[30].tabla + u'.' + pasos[30].columna, QStringLiteral("LPROYECT.Responsable"));
        EXPECT_EQ(pasos[31].tabla + u'.' + pasos[31].columna, QStringLiteral("NTECNICA.Responsable"));
        EXPECT_EQ(pasos[32].tabla + u'.' + pasos[32].columna, QStringLiteral("CALENOPE.CodigoOperario"));
        EXPECT_EQ(pasos[33].tabla, QStringLiteral("OPERARIO"));
        EXPECT_EQ(pasos[33].accion, caso.accionOperario);
        EXPECT_EQ(pasos[33].valor, QStringLiteral("5"));
        EXPECT_EQ(pasos.last(),
                  (PasoIntercambio{AccionPaso::Reemplazar, "CONTACTO", "CodigoTabla", "(NombreTabla = 'OPERARIO')", "5", "12"}));
    }
    EXPECT_TRUE(PlanIntercambio({9, 9}, true).isEmpty());
}

TEST(IntercambioOperarios, PairsAreReadAsIntegersAndWrittenAsPlainDecimals)
{
    const auto leida = LeerPareja(QStringLiteral("07"), QStringLiteral(" 12"));
    ASSERT_TRUE(leida.pareja);
    EXPECT_EQ(*leida.pareja, (ParejaCodigos{7, 12}));
    EXPECT_EQ(PlanIntercambio(*leida.pareja, false).first().valor, QStringLiteral("7"));
    struct Caso
    {
        const char *origen, *destino, *error;
    };
    for (const Caso c : {Caso{"5' OR '1'='1", "7", "'5' OR '1'='1' is not a valid integer value"},
                         Caso{"a", "7", "'a' is not a valid integer value"},
                         Caso{"5", "", "'' is not a valid integer value"}}) {
        const auto r = LeerPareja(QString::fromUtf8(c.origen), QString::fromUtf8(c.destino));
        EXPECT_FALSE(r.pareja) << c.origen;
        EXPECT_EQ(r.error, QString::fromUtf8(c.error));
    }
}

TEST(IntercambioOperarios, APairCommitsOnlyWhenNoStatementHadAnIncident)
{
    struct Caso
    {
        const char *descripcion;
        const char *tablaFallida;
        bool fallaDevolviendoFalso;
        ResultadoPareja esperado;
        const char *ultimoAntesDelFin;
        const char *fin;
    };
    const Caso casos[] = {
        {"all pass", "", true, ResultadoPareja::Terminada, "CONTACTO.CodigoTabla", "COMMIT"},
        {"a table fails: the rest is not run", "BONO", true, ResultadoPareja::Fallida, "BONO.CodigoOperario",
         "ROLLBACK"},
        {"an incident without failing still rolls back", "BONO", false, ResultadoPareja::Fallida,
         "CONTACTO.CodigoTabla", "ROLLBACK"},
        {"the operator delete fails", "OPERARIO", true, ResultadoPareja::Fallida, "OPERARIO.Codigo", "ROLLBACK"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.descripcion);
        EjecutorFalso ejecutor;
        ejecutor.tablaFallida = QString::fromLatin1(c.tablaFallida);
        ejecutor.fallaDevolviendoFalso = c.fallaDevolviendoFalso;
        QStringList incidencias;
        EXPECT_EQ(IntercambiarPareja({5, 7}, ejecutor, incidencias), c.esperado);
        EXPECT_EQ(ejecutor.registro.first(), QStringLiteral("BEGIN"));
        EXPECT_EQ(ejecutor.registro.last(), QString::fromLatin1(c.fin));
        EXPECT_EQ(ejecutor.registro[ejecutor.registro.size() - 2], QString::fromLatin1(c.ultimoAntesDelFin));
        EXPECT_EQ(incidencias.isEmpty(), c.esperado == ResultadoPareja::Terminada);
    }
    EjecutorFalso ejecutor;
    QStringList incidencias;
    EXPECT_EQ(IntercambiarPareja({9, 9}, ejecutor, incidencias), ResultadoPareja::Omitida);
    EXPECT_TRUE(ejecutor.registro.isEmpty());
}

TEST(IntercambioOperarios, ExecutorFailureRollsBackAndPropagates)
{
    class Roto : public EjecutorFalso
    {
        bool existeOperario(qint64) override { throw std::runtime_error("desconectado"); }
    } ejecutor;
    QStringList incidencias;
    EXPECT_THROW(IntercambiarPareja({5, 7}, ejecutor, incidencias), std::runtime_error);
    EXPECT_EQ(ejecutor.registro, (QStringList{"BEGIN", "ROLLBACK"}));
}

TEST(IntercambioOperarios, EquivalenceFileRoundTripsWithAnySeparator)
{
    const QList<LineaEquivalencia> lineas{{"5", "12"}, {"7", "107"}, {"abc", ""}};
    for (const QChar sep : {QChar(u'|'), QChar(u';')}) {
        const QString texto = EscribirEquivalencias(lineas, sep);
        EXPECT_TRUE(texto.endsWith(QStringLiteral("\r\n")));
        EXPECT_EQ(LeerEquivalencias(texto, sep), lineas);
    }
    EXPECT_EQ(LeerEquivalencias(QStringLiteral("\n5|7\r\n\r\n9|10|x\n8"), u'|'),
              (QList<LineaEquivalencia>{{"5", "7"}, {"9", "10"}, {"8", ""}}));
}
