#include "GENEW/data/TextosGruposAnalisis.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/data/ModuloFixture.h"

namespace {

const QString kPerfiles = QStringLiteral("Cliente=Zona, Sector\r\nProveedor=Zona,Sector\r\nArticulo=Familia\r\n"
                                         "Cuenta=zona, sector\r\nRaro=O'Neil");

TEST(TextosGruposAnalisis, CategoriasOfProfilesAndTheirFilter)
{
    struct Caso
    {
        const char *perfiles;
        const char *categorias;
    };
    for (const Caso &c : {
             Caso{"Cliente", "Zona\r\n Sector\r\n"},
             // Blocks sorted; one equal to an earlier (ignoring case) listed once.
             Caso{"Proveedor,Articulo,Cliente", "Familia\r\nZona\r\n Sector\r\nZona\r\nSector\r\n"},
             Caso{"Cuenta,Proveedor", "zona\r\n sector\r\nZona\r\nSector\r\n"},
             Caso{"Articulo,,Cliente", "Familia\r\n"},
             Caso{"Nadie", ""},
         })
        EXPECT_EQ(CategoriasDePerfiles(QString::fromUtf8(c.perfiles), kPerfiles), QString::fromUtf8(c.categorias))
            << c.perfiles;

    EXPECT_EQ(FiltroCategoriasPerfil(QStringLiteral("Cliente"), kPerfiles),
              "(CategoriaGrupo = 'Zona') OR (CategoriaGrupo = 'Sector')");
    EXPECT_EQ(FiltroCategoriasPerfil(QStringLiteral("Nadie"), kPerfiles), "(CategoriaGrupo = '')");
    // A quote in a category stays inside its literal.
    EXPECT_EQ(FiltroCategoriasPerfil(QStringLiteral("Raro"), kPerfiles), "(CategoriaGrupo = 'O''Neil')");
}

TEST(TextosGruposAnalisis, RangeRows)
{
    const QList<FilaRangoGrupo> filas =
        FilasRangosGrupos(QStringLiteral("Zona\r\nSector\r\nFamilia\r\n"), QStringLiteral("Sector|A|M\r\nOtra|1|2"));
    EXPECT_EQ(TextoFilasRangos(filas), "Zona||\r\nSector|A|M\r\nFamilia||");
    EXPECT_EQ(RespuestaRangosGrupos(filas), "Sector|A|M");
    EXPECT_EQ(RespuestaRangosGrupos(LeerFilasRangos(QStringLiteral("Zona||\r\nFamilia||\r\n"))), "");

    struct Caso
    {
        const char *desde, *hasta;
        bool invertida;
    };
    for (const Caso &c : {Caso{"B", "A", true}, Caso{"10", "9", true}, Caso{"A", "", true}, Caso{"", "A", false},
                          Caso{"A", "B", false}, Caso{"A", "A", false}, Caso{"9", "10", false}, Caso{"9", "10a", true}})
        EXPECT_EQ((FilaRangoGrupo{QStringLiteral("Zona"), QString::fromUtf8(c.desde), QString::fromUtf8(c.hasta)}.invertida()),
                  c.invertida)
            << c.desde << "..." << c.hasta;
}

// Groups Z1, Z2 (category Zona) and S1 (Sector); customer "7;" is in Z2 and S1.
class GruposAnalisisModulo : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        sql(QStringLiteral("INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES "
                           "('Z1', 'Norte', 'Zona'), ('S1', 'Industria', 'Sector'), ('Z2', 'Sur', 'Zona')"));
        sql(QStringLiteral("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES "
                           "('CLIENTE', '7;', 'Z2'), ('CLIENTE', '7;', 'S1'), ('CLIENTE', '8;', 'Z1'), "
                           "('PROVEEDOR', '7;', 'Z1')"));
    }
};

TEST_P(GruposAnalisisModulo, GroupsOfARecordByCategory)
{
    struct Caso
    {
        const char *tabla, *categoria, *clave, *grupos;
    };
    for (const Caso &c : {
             Caso{"CLIENTE", "Zona", "7;", "Z2"},
             Caso{"CLIENTE", "Sector", "7;", "S1"},
             Caso{"CLIENTE", "Todas", "7;", "S1,Z2"},
             Caso{"CLIENTE", "Segmento", "7;", ""},
             Caso{"CLIENTE", "Zona", "9;", ""},
             Caso{"PROVEEDOR", "Zona", "7;", "Z1"},
         })
        EXPECT_EQ(modulo_->RegistroEnGruposAnalisis(QString::fromUtf8(c.tabla), QString::fromUtf8(c.categoria),
                                                    QString::fromUtf8(c.clave)),
                  QString::fromUtf8(c.grupos))
            << c.tabla << " " << c.categoria << " " << c.clave;
    // The assignments table is left showing every row.
    EXPECT_EQ(modulo_->GATablas->table().rowCount(), 4);
}

TEST_P(GruposAnalisisModulo, FilterFromTheGeneralParameters)
{
    plat::TableDataSet &parametros = modulo_->ParamGenerales->table();
    if (parametros.isEmpty()) {
        parametros.append();
        parametros.fieldByName(QStringLiteral("IdRegistro")).setValue(1);
    } else {
        parametros.edit();
    }
    parametros.fieldByName(QStringLiteral("PerfilesCategoriasGA")).setValue(kPerfiles);
    parametros.post();
    EXPECT_EQ(modulo_->FiltroCategoriasGruposAnalisis(QStringLiteral("Proveedor")),
              "(CategoriaGrupo = 'Zona') OR (CategoriaGrupo = 'Sector')");
    EXPECT_EQ(modulo_->CategoriasPerfilesGA(QStringLiteral("Articulo")), "Familia\r\n");
}

INSTANTIATE_TEST_SUITE_P(Motores, GruposAnalisisModulo, ::testing::Bool(), NombreMotor);

} // namespace
