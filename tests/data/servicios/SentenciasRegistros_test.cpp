#include "GENEW/data/servicios/ClaveTexto.h"
#include "GENEW/data/servicios/SentenciasRegistros.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "platform/data/engine/Dialect.h"

#include <gtest/gtest.h>

namespace {

using namespace sentenciasRegistros;

const plat::Dialect &sqlServer() { return plat::Dialect::forEngine(plat::EngineKind::SqlServer); }

TEST(SentenciasRegistros, ExisteClaveQuotesEveryPieceAndReadsMissingOnesAsEmpty)
{
    EXPECT_EQ(ExisteClave("dbo.LPROYECT", {"CodigoProyecto", "Linea"}, "O'Brien;3;"),
              "SELECT CodigoProyecto FROM dbo.LPROYECT  WHERE 1=1   AND CodigoProyecto = 'O''Brien'  AND Linea = '3'");
    EXPECT_EQ(ExisteClave("PROYECT", {"Codigo", "Tipo"}, "P1"),
              "SELECT Codigo FROM PROYECT  WHERE 1=1   AND Codigo = 'P1'  AND Tipo = ''");
}

TEST(SentenciasRegistros, LeerCamposOnSqlServer)
{
    EXPECT_EQ(LeerCampos("dbo.LPROYECT", "Descripcion;Importe", {"CodigoProyecto", "Linea", "Capitulo"}, "O'B;;"),
              "SELECT Descripcion, Importe FROM dbo.LPROYECT WHERE (CodigoProyecto = 'O''B') AND (Linea = '' OR Linea "
              "IS NULL) AND (Capitulo = '' OR Capitulo IS NULL)");
    // A day/month/year piece is written in the SQL date format, the year completed.
    ajustesComunes().ponerFormatoFechaSQL(QStringLiteral("mm/dd/yyyy"));
    EXPECT_EQ(LeerCampos("dbo.FESTIVO", "Nombre", {"Fecha"}, "5/3/24;"),
              "SELECT Nombre FROM dbo.FESTIVO WHERE (Fecha = '03/05/2024')");
    EXPECT_EQ(LeerCampos("dbo.T", "A", {}, ""), "SELECT A FROM dbo.T");
}

TEST(SentenciasRegistros, SiguienteCodigoOnSqlServerInBothForms)
{
    EXPECT_EQ(SiguienteCodigo(sqlServer(), "dbo.LPROYECT", "Linea", false, -1, -1, {{"CodigoProyecto", "'P1'"}}),
              "SELECT MAX(Linea)  FROM dbo.LPROYECT WITH(NOLOCK)  WHERE  (CodigoProyecto='P1') ");
    EXPECT_EQ(SiguienteCodigo(sqlServer(), "dbo.PROYECT", "Codigo", true, 100, 199, {}),
              "SELECT MAX(CAST(Codigo AS INTEGER))  FROM dbo.PROYECT WITH(NOLOCK)  WHERE  (ISNUMERIC(Codigo) = 1)  AND  "
              "(CAST(Codigo AS INTEGER) >= 100)  AND  (CAST(Codigo AS INTEGER) <= 199) ");
    EXPECT_EQ(SiguienteCodigo(sqlServer(), "dbo.PERSONAL", "CodigoOperario", false, -1, -1, {}),
              "SELECT MAX(CodigoOperario)  FROM dbo.PERSONAL WITH(NOLOCK) ");
}

TEST(SentenciasRegistros, TheSixDeletionsOfTheSideTables)
{
    const QList<BorradoAsociado> b = BorrarAsociados("PROYECT", "O'B|2");
    ASSERT_EQ(b.size(), 6);
    EXPECT_EQ(b[0].sentencia, "DELETE FROM RESPDOC   WHERE NombreTabla='PROYECT'    AND ((ClaveTabla = 'O''B|2')       "
                              "OR (ClaveTabla = 'O''B|2|')) ");
    EXPECT_EQ(b[1].sentencia, "DELETE FROM DOCUTRON   WHERE NombreTabla='PROYECT'  AND ClaveTabla='O''B|2'");
    EXPECT_EQ(b[2].sentencia, "DELETE FROM BLOBTAB   WHERE NombreTabla='PROYECT'  AND ClaveTabla='O''B|2'");
    EXPECT_EQ(b[3].sentencia, "DELETE FROM GRANTAB   WHERE NombreTabla='PROYECT'  AND ClaveTabla='O''B|2'");
    EXPECT_EQ(b[4].sentencia, "DELETE FROM CONTACTO   WHERE NombreTabla='PROYECT'  AND CodigoTabla='O''B|2'");
    EXPECT_EQ(b[5].sentencia, "DELETE FROM RELACION   WHERE (NombreTablaA='PROYECT'  AND ClaveTablaA='O''B|2') OR "
                              "      (NombreTablaB='PROYECT'       AND ClaveTablaB='O''B|2')");
    EXPECT_EQ(b[5].mensaje, "¡El registro de Relación asociado no ha sido eliminado! Motivo: ");
}

TEST(SentenciasRegistros, DocumentosYPresencia)
{
    EXPECT_EQ(DocumentacionElectronica("PROYECT", "O'B;"),
              "SELECT NombreTabla FROM DOCUTRON   WHERE NombreTabla = 'PROYECT'    AND ClaveTabla = 'O''B;'");
    EXPECT_EQ(CodigoOperarioPresencia(7), "SELECT CodigoOperarioPresencia FROM PERSONAL   WHERE CodigoOperario = 7");
}

TEST(ClaveTexto, ReadsPiecesAndThePreviousRecordMark)
{
    struct Caso
    {
        const char *clave;
        int campos;
        QStringList piezas;
        bool anterior;
    };
    const Caso casos[] = {
        {"P1;", 1, {"P1"}, false},
        {"P1", 1, {"P1"}, false},
        {"P1;Ant:5;", 2, {"P1", "5"}, true},
        {"P1;Ant:5", 2, {"P1", "5"}, true},
        {"P1", 3, {"P1", "", ""}, false},
        {"Ant:", 1, {""}, true},
    };
    for (const Caso &c : casos) {
        const claveTexto::ClaveLeida leida = claveTexto::LeerClave(QString::fromUtf8(c.clave), c.campos);
        EXPECT_EQ(leida.piezas, c.piezas) << c.clave;
        EXPECT_EQ(leida.anterior, c.anterior) << c.clave;
    }
}

TEST(ClaveTexto, DatePiecesForSqlServer)
{
    ajustesComunes().ponerFormatoFechaSQL(QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(claveTexto::PiezaFechaSQL("5/3/24"), "05/03/2024");
    ajustesComunes().ponerFormatoFechaSQL(QStringLiteral("mm/dd/yyyy"));
    EXPECT_EQ(claveTexto::PiezaFechaSQL("05/03/1998"), "03/05/1998");
    EXPECT_EQ(claveTexto::PiezaFechaSQL("1/2/3/4"), "1/2/3/4");   // not a date: three "/"
    EXPECT_EQ(claveTexto::PiezaFechaSQL("31/2/2024"), "31/2/2024");
    EXPECT_EQ(claveTexto::PiezaFechaSQL("A/B"), "A/B");
}

} // namespace
