#include "GENEW/reporting/impresos/MarcasFuente.h"
#include "GENEW/reporting/impresos/MarcasTexto.h"
#include "tests/reporting/impresos/ImpresoPrueba.h"

namespace {

QString Estilos(const EstadoMarcas &e)
{
    return e.estilos[0] + "," + e.estilos[1] + "," + e.estilos[2];
}

TEST(MarcasTexto, LeadingTagsOfADrawnText)
{
    struct Caso { QString entrada; QString texto; QString color; QString estilos; int tamano; bool aplicar; };
    const Caso casos[] = {
        {"<N><R>Total", "Total", "Rojo", "Negrita,,", 0, true},
        {"  <N>  Total", "    Total", "", "Negrita,,", 0, true},
        {"<14>Título", "Título", "", ",,", 14, true},
        {"<14><x>Título", "<x>Título", "", ",,", 0, true},
        {"<N></>Total", "Total", "", "Negrita,,", 0, false},
        {"</>", "", "", ",,", 0, false},
        {"<N>", "", "", "Negrita,,", 0, true},
        {"<N><", "<", "", "Negrita,,", 0, true},
        {"<N><C><S><N>x", "x", "", "Negrita,Italica,Negrita", 0, true},
        {"<V><A>x", "x", "Azul", ",,", 0, true},
        {"<N>a<R>b", "a<R>b", "", "Negrita,,", 0, true},
        {"<N sin cierre", "<N sin cierre", "", ",,", 0, true},
        {"<n>x", "<n>x", "", ",,", 0, true},
        {"<70000>x", "<70000>x", "", ",,", 0, true},   // beyond the 16-bit size: not a tag
        {"<-3>x", "x", "", ",,", -3, true},
        {"Total", "Total", "", ",,", 0, true},
        {"", "", "", ",,", 0, true},
        {" ", " ", "", ",,", 0, true},
    };
    for (const Caso &c : casos) {
        const MarcasTexto r = InterpretarMarcasTexto(c.entrada);
        const std::string donde = c.entrada.toStdString();
        EXPECT_EQ(r.texto, c.texto) << donde;
        EXPECT_EQ(r.estado.color, c.color) << donde;
        EXPECT_EQ(Estilos(r.estado), c.estilos) << donde;
        EXPECT_EQ(r.estado.tamano, c.tamano) << donde;
        EXPECT_EQ(r.aplicarFuente, c.aplicar) << donde;
    }
}

TEST(MarcasTexto, MemoLinesHandBackTheirTags)
{
    struct Caso { QString linea; QString prefijo; bool marcas; bool aplicar; };
    const Caso casos[] = {
        {"<R> <N>Texto", "<R><N>", true, true},
        {"Texto <N>", "", false, false},
        {"  Texto", "", false, false},
        {"</>Texto", "</>", true, false},
        {"<N></>Texto", "<N></>", true, false},
        {"<x>Texto", "", false, false},
        {"<12> <x>Texto", "<12>", true, true},
    };
    for (const Caso &c : casos) {
        const MarcasLineaMemo r = InterpretarMarcasLineaMemo(c.linea);
        EXPECT_EQ(r.prefijo, c.prefijo) << c.linea.toStdString();
        EXPECT_EQ(r.hayMarcas, c.marcas) << c.linea.toStdString();
        EXPECT_EQ(r.aplicarFuente, c.aplicar) << c.linea.toStdString();
        EXPECT_EQ(r.estado.blancos, 0);
    }
    EXPECT_EQ(InterpretarMarcasLineaMemo("<12> <x>Texto").estado.tamano, 0);   // cancelled by <x>
}

TEST(MarcasTexto, OneTagAtATime)
{
    EstadoMarcas e;
    EXPECT_TRUE(InterpretarMarca("<20>", e));
    EXPECT_EQ(e.tamano, 20);
    EXPECT_TRUE(InterpretarMarca("<R>", e));
    EXPECT_TRUE(InterpretarMarca("<V>", e));   // a later colour replaces an earlier one
    EXPECT_EQ(e.color, "Verde");
    EXPECT_FALSE(InterpretarMarca("<Z>", e));
    EXPECT_EQ(e.tamano, 0);
    for (const char *estilo : {"Negrita", "Italica", "Subrayado", "Negrita"})
        AnadirEstiloMarca(estilo, e);
    EXPECT_EQ(Estilos(e), "Negrita,Italica,Negrita");
}

TEST(MarcasTexto, StateReachesTheCanvasFont)
{
    plat::CanvasFont fuente;
    fuente.Font.setPointSize(10);
    fuente.Font.setUnderline(true);
    fuente.Color = plat::clGreen;
    AplicarMarcasFuente(InterpretarMarcasTexto("<N><C><R><16>x").estado, fuente);
    EXPECT_EQ(fuente.Color, plat::clRed);
    EXPECT_TRUE(fuente.Font.bold());
    EXPECT_TRUE(fuente.Font.italic());
    EXPECT_FALSE(fuente.Font.underline());   // the style set is replaced, not added to
    EXPECT_EQ(fuente.Font.pointSize(), 16);

    plat::CanvasFont intacta;
    intacta.Font.setPointSize(10);
    intacta.Font.setUnderline(true);
    intacta.Color = plat::clGreen;
    AplicarMarcasFuente(InterpretarMarcasTexto("<-3>x").estado, intacta);
    EXPECT_EQ(intacta.Color, plat::clGreen);
    EXPECT_TRUE(intacta.Font.underline());
    EXPECT_EQ(intacta.Font.pointSize(), 10);

    AplicarMarcasFuente(InterpretarMarcasTexto("<A><V>x").estado, intacta);
    EXPECT_EQ(intacta.Color, 32768);   // "Verde" is dark green
}

} // namespace
