#pragma once
#include "GENEW/reporting/personalizados/DefinicionInforme.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "tests/data/ModuloFixture.h"

// A started program on each engine with projects P1 (two chapters, 10 and 5, analysis group
// "Norte" of category "Zona") and P2 (one chapter, 30, no group), and a report over them:
// the code, an expression column "Total" (twice the amount) ordering the rows downwards, and
// the zone through the analysis-group column.
class InformesFixture : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        for (const char *sentencia :
             {"INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('P1', 'Alfa')",
              "INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('P2', 'Beta')",
              "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Importe) VALUES ('P1', 1, 'C1', 10)",
              "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Importe) VALUES ('P1', 2, 'C2', 5)",
              "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Importe) VALUES ('P2', 1, 'C1', 30)",
              "INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('Z1', 'Norte', 'Zona')",
              "INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('PROYECT', 'P1', 'Z1')"})
            ASSERT_FALSE(sql(QString::fromUtf8(sentencia)).startsWith(QLatin1String("Error"))) << sentencia;
        informe_.Tablas = {"PROYECT", "LPROYECT"};
        informe_.Columnas = {
            "PROYECT.Codigo", "(LPROYECT.Importe * 2) AS 'Total'",
            "(SELECT TOP 1 GRANALIS.Descripcion FROM GRANALIS JOIN GRANTAB ON GRANTAB.NombreTabla = 'PROYECT' AND "
            "GRANTAB.ClaveTabla = PROYECT.Codigo AND GRANALIS.Codigo = GRANTAB.GrupoAnalisis WHERE "
            "GRANALIS.CategoriaGrupo = 'Zona') AS 'Zona'"};
        informe_.Vinculos = {"PROYECT.Codigo = LPROYECT.CodigoProyecto"};
        informe_.Ordenacion = {"_Expresion AS 'Total' DESC"};
        mensajes_.limpiar();
    }

    // The report stored in FILTRO under the name, as the designer saves it: its statement and
    // its Instrucciones.
    void guardarInforme(const QString &nombre, const DefinicionInforme &informe)
    {
        // The table is made by a statement that names no other.
        sql(QStringLiteral("DELETE FROM FILTRO WHERE NombreTabla = 'GeneradorInformes' AND Descripcion = %1")
                .arg(Entrecomillar(nombre)));
        const QString respuesta =
            sql(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) VALUES "
                               "('GeneradorInformes', %1, %2, %3)")
                    .arg(Entrecomillar(nombre), Entrecomillar(ConstruirSentenciaSQL(informe)),
                         Entrecomillar(ConstruirInstrucciones(informe))));
        ASSERT_FALSE(respuesta.startsWith(QLatin1String("Error"))) << respuesta.toStdString();
    }

    DefinicionInforme informe_;
};
