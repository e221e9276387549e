#include "GENEW/runtime/ServicioSQL.h"
#include "tests/support/ImprimirQString.h"

#include <gtest/gtest.h>

namespace {

struct CasoPreparacion
{
    const char *sql;
    const char *opciones;
    const char *preparada;
};

class PrepararSentencia : public ::testing::TestWithParam<CasoPreparacion> {};

TEST_P(PrepararSentencia, RewritesComparisonsOutsideLiterals)
{
    EXPECT_EQ(PrepararSentenciaSQL(GetParam().sql, GetParam().opciones), QString::fromUtf8(GetParam().preparada));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PrepararSentencia,
    ::testing::Values(
        // comparisons with the empty text after WHERE count NULL as empty
        CasoPreparacion{"SELECT Codigo FROM CLIENTE WHERE Zona = ''", "",
                        "SELECT Codigo FROM CLIENTE WHERE (Zona = '' OR Zona IS NULL)"},
        CasoPreparacion{"SELECT Codigo FROM CLIENTE WHERE (Zona <> '')", "",
                        "SELECT Codigo FROM CLIENTE WHERE ((Zona <> '' AND Zona IS NOT NULL))"},
        // an UPDATE setting an empty text before WHERE is not rewritten at all
        CasoPreparacion{"UPDATE CLIENTE SET Zona = '' WHERE Nombre = ''", "",
                        "UPDATE CLIENTE SET Zona = '' WHERE Nombre = ''"},
        CasoPreparacion{"DELETE FROM T WHERE A = NULL", "", "DELETE FROM T WHERE A = NULL"},
        // "=NULL" in a SELECT becomes IS NULL; a lower-case select is not a SELECT
        CasoPreparacion{"SELECT * FROM T WHERE A=NULL AND B = NULL", "",
                        "SELECT * FROM T WHERE A IS NULL  AND B  IS NULL "},
        CasoPreparacion{"select * from T where A=NULL", "", "select * from T where A=NULL"},
        // ForzarNULL: comparisons with '' and "" become IS NULL
        CasoPreparacion{"SELECT * FROM T WHERE A = \"\"", "Silenciosa,ForzarNULL", "SELECT * FROM T WHERE A IS NULL "},
        CasoPreparacion{"SELECT * FROM T WHERE A = ''", "ForzarNULL",
                        "SELECT * FROM T WHERE (A IS NULL  OR A IS NULL)"},
        // quoted literals are data: left alone
        CasoPreparacion{"SELECT * FROM T WHERE A = 'x = '''", "ForzarNULL", "SELECT * FROM T WHERE A = 'x = '''"},
        CasoPreparacion{"SELECT * FROM T WHERE A = '''a'", "ForzarNULL", "SELECT * FROM T WHERE A = '''a'"},
        CasoPreparacion{"SELECT * FROM T WHERE A = 'B=NULL'", "", "SELECT * FROM T WHERE A = 'B=NULL'"},
        CasoPreparacion{"SELECT * FROM T WHERE A = \"\"\"\"", "ForzarNULL", "SELECT * FROM T WHERE A = \"\"\"\""}),
    [](const ::testing::TestParamInfo<CasoPreparacion> &info) { return "Caso" + std::to_string(info.index); });

} // namespace
