#include "GENEW/data/ventanas/GENEMLIS.h"
#include "GENEW/data/ventanas/GENERINI.h"
#include "platform/ui/Grids.h"
#include "GENEW/data/servicios/TextosGruposAnalisis.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
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

    void perfiles(const QString &texto)
    {
        plat::TableDataSet &parametros = modulo_->ParamGenerales->table();
        if (parametros.isEmpty()) {
            parametros.append();
            parametros.fieldByName(QStringLiteral("IdRegistro")).setValue(1);
        } else {
            parametros.edit();
        }
        parametros.fieldByName(QStringLiteral("PerfilesCategoriasGA")).setValue(texto);
        parametros.post();
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

// A record in two groups of one category answers the lower code on every engine, whatever
// order the assignments were written in and however the server reads them (here the
// server's plan reads the table in the order its rows lie, not by its key).
TEST_P(GruposAnalisisModulo, TwoGroupsOfOneCategoryAnswerTheLowerCode)
{
    sql(QStringLiteral("INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('Z0', 'Centro', 'Zona')"));
    sql(QStringLiteral("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('CLIENTE', '5;', 'Z2')"));
    sql(QStringLiteral("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('CLIENTE', '5;', 'Z0')"));
    sql(QStringLiteral("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('CLIENTE', '5;', 'Z1')"));
    if (GetParam()) {
        sql(QStringLiteral("SET enable_indexscan = off"));
        sql(QStringLiteral("SET enable_bitmapscan = off"));
    }
    modulo_->GATablas->table().refresh();
    EXPECT_EQ(modulo_->RegistroEnGruposAnalisis(QStringLiteral("CLIENTE"), QStringLiteral("Zona"), QStringLiteral("5;")),
              "Z0");
    EXPECT_EQ(modulo_->RegistroEnGruposAnalisis(QStringLiteral("CLIENTE"), QStringLiteral("Todas"), QStringLiteral("5;")),
              "Z0,Z1,Z2");
}

TEST_P(GruposAnalisisModulo, FilterFromTheGeneralParameters)
{
    perfiles(kPerfiles);
    EXPECT_EQ(modulo_->FiltroCategoriasGruposAnalisis(QStringLiteral("Proveedor")),
              "(CategoriaGrupo = 'Zona') OR (CategoriaGrupo = 'Sector')");
    EXPECT_EQ(modulo_->CategoriasPerfilesGA(QStringLiteral("Articulo")), "Familia\r\n");
}

// The range dialog in the list editor: a row whose to sorts before its from is refused with a
// warning and the editor is shown again with the rows as edited; rows without values are left
// out of the answer, which the listings find in RangosGruposAnalisis.
TEST_P(GruposAnalisisModulo, RangesAreAskedAgainWhileARowIsReversed)
{
    perfiles(kPerfiles);
    // Each showing: the rows it was given, then the edits to make (row, from, to).
    struct Edicion
    {
        int fila;
        const char *desde, *hasta;
    };
    const QList<QList<Edicion>> ediciones = {{{0, "B", "A"}, {1, "10", "9"}}, {{0, "A", "M"}, {1, "10", ""}}, {{1, "", "9"}}};
    QList<QStringList> vistas;
    plat::application().OnModalShown = [&](plat::Form &f) {
        auto &editor = static_cast<TfGENEMLIS &>(f);
        plat::DataSet &t = editor.temporal();
        QStringList filas;
        for (t.first(); !t.eof(); t.next())
            filas << t.fieldByName("Categoria").asString() + '|' + t.fieldByName("ValorDesde").asString() + '|'
                    + t.fieldByName("ValorHasta").asString();
        const int vez = int(vistas.size());
        vistas << filas;
        if (vez > 3) {   // never asked that often: give up rather than loop
            editor.setModalResult(plat::mrCancel);
            return;
        }
        for (const Edicion &e : ediciones.value(vez)) {
            t.first();
            t.moveBy(e.fila);
            t.edit();
            t.fieldByName("ValorDesde").setValue(QString::fromUtf8(e.desde));
            t.fieldByName("ValorHasta").setValue(QString::fromUtf8(e.hasta));
            t.post();
        }
        editor.pbAceptar->click();
    };
    const QString respuesta = modulo_->SeleccionarRangosGruposAnalisis(QStringLiteral("Proveedor"), QStringLiteral("Sector|C|D"));
    plat::application().OnModalShown = nullptr;
    ASSERT_EQ(vistas.size(), 3);
    EXPECT_EQ(vistas[0], (QStringList{"Zona||", "Sector|C|D"}));
    EXPECT_EQ(vistas[1], (QStringList{"Zona|B|A", "Sector|10|9"}));
    EXPECT_EQ(textosDeTipo("A"), (QStringList{"¡El valor Desde es mayor que el valor Hasta en la categoría Zona",
                                              "¡El valor Desde es mayor que el valor Hasta en la categoría Sector",
                                              "¡El valor Desde es mayor que el valor Hasta en la categoría Sector"}));
    EXPECT_EQ(respuesta, "Zona|A|M\r\nSector||9");
    EXPECT_EQ(RangosGruposAnalisis, respuesta);
}

// The settings editor's "ELLIPSIS_GA" button: its value's "·" lines reach the range dialog as
// lines, and the answer comes back into the value with "·" between lines.
TEST_P(GruposAnalisisModulo, TheSettingsEditorsButtonEditsAnalysisGroupRanges)
{
    perfiles(kPerfiles);
    QStringList vista;
    plat::application().OnModalShown = [&](plat::Form &f) {
        if (auto *editor = qobject_cast<TfGENERINI *>(&f)) {
            editor->StringGrid->setCurrentCell(1, 1);
            editor->StringGridEditButtonClick();
            editor->pbAceptarClick();
            return;
        }
        auto &lista = static_cast<TfGENEMLIS &>(f);
        plat::DataSet &t = lista.temporal();
        for (t.first(); !t.eof(); t.next())
            vista << t.fieldByName("Categoria").asString() + '|' + t.fieldByName("ValorDesde").asString() + '|'
                    + t.fieldByName("ValorHasta").asString();
        t.first();
        t.edit();
        t.fieldByName("ValorDesde").setValue("A");
        t.fieldByName("ValorHasta").setValue("M");
        t.post();
        lista.pbAceptar->click();
    };
    const QString resultado = EditarRegistroINI(QStringLiteral("Rangos=\r\n"), QStringLiteral("Rangos=Sector|C|D·Otra|1|2"),
                                                QString(), QStringLiteral("Clave;Valor"),
                                                QStringLiteral("Rangos=ELLIPSIS_GA:Proveedor"), QString());
    plat::application().OnModalShown = nullptr;
    EXPECT_EQ(vista, (QStringList{"Zona||", "Sector|C|D"}));
    EXPECT_EQ(resultado, "Rangos=Zona|A|M·Sector|C|D\r\n");
}

INSTANTIATE_TEST_SUITE_P(Motores, GruposAnalisisModulo, ::testing::Bool(), NombreMotor);

} // namespace
