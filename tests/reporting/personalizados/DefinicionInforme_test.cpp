#include "GENEW/reporting/personalizados/DefinicionInforme.h"

#include <gtest/gtest.h>

namespace {

DefinicionInforme definicionCompleta()
{
    DefinicionInforme d;
    d.Tablas = {"PROYECT", "LPROYECT"};
    d.Columnas = {"PROYECT.Codigo", "(LPROYECT.Importe * 2) AS 'Total'", "PROYECT.Nombre AS 'Nombre, largo'"};
    d.Restricciones = {"PROYECT.Codigo IN (\"a\",\"b\")", "LPROYECT.Importe > :#Minimo"};
    d.Ordenacion = {"PROYECT.Codigo DESC", "_Expresion AS 'Total'"};
    d.Vinculos = {"PROYECT.Codigo = LPROYECT.Proyecto"};
    d.Grupos = {"PROYECT.Codigo"};
    d.Sumatorios = {"_Expresion AS 'Total'"};
    d.opciones.orientacionApaisada = true;
    d.anchosColumnas = {-1, 100, 300};
    d.usuariosAutorizados = "ADM,PEP,";
    return d;
}

TEST(DefinicionInforme, InstruccionesKeepElevenKeysInOrderAndReadBack)
{
    const DefinicionInforme d = definicionCompleta();
    const QString texto = ConstruirInstrucciones(d);
    EXPECT_EQ(texto,
              "ListaTablas=PROYECT,LPROYECT\r\n"
              "ListaColumnas=PROYECT.Codigo,(LPROYECT.Importe * 2) AS 'Total',PROYECT.Nombre AS 'Nombre[coma] largo'\r\n"
              "ListaRestricciones=PROYECT.Codigo IN (\"a\"[coma]\"b\"),LPROYECT.Importe > :#Minimo\r\n"
              "ListaOrdenacion=PROYECT.Codigo DESC,_Expresion AS 'Total'\r\n"
              "ListaVinculos=PROYECT.Codigo = LPROYECT.Proyecto\r\n"
              "ListaGrupos=PROYECT.Codigo\r\n"
              "ListaSumatorios=_Expresion AS 'Total'\r\n"
              "FormatoColumnas=-1|11,2233445566779|33,6700336700337|\r\n"
              "Opciones=FormatoColumnar,OrientacionApaisada,\r\n"
              "UsuariosAutorizados=ADM,PEP,\r\n"
              "AplicacionesContenedoras=");
    EXPECT_EQ(LeerInstrucciones(texto), d);
}

TEST(DefinicionInforme, WidthsGoThroughADecimalCommaPercentageAndBack)
{
    for (const bool apaisada : {false, true}) {
        OpcionesInforme opciones;
        opciones.orientacionApaisada = apaisada;
        const QString formato = ConstruirFormatoColumnas({100, -1, 0}, opciones);
        EXPECT_EQ(formato, apaisada ? "11,2233445566779|-1|0|" : "15,8730158730159|-1|0|");
        EXPECT_EQ(LeerFormatoColumnas(formato, 3, opciones), (QList<int>{100, -1, 0}));
        // Another column count than the list's: every column takes its default width.
        EXPECT_TRUE(LeerFormatoColumnas(formato, 2, opciones).isEmpty());
    }
    // A percentage that falls between two pixels goes to the even one: 5 % of 630 px is
    // 31,5 -> 32, 15 % is 94,5 -> 94.
    OpcionesInforme retrato;
    EXPECT_EQ(LeerFormatoColumnas("5|15|", 2, retrato), (QList<int>{32, 94}));
    EXPECT_EQ(ConstruirFormatoColumnas({}, retrato), "");
}

TEST(DefinicionInforme, OptionsWordsAndCardNumbers)
{
    struct
    {
        const char *texto;
        bool columnar, ficha;
        int columnas, lineas;
        bool apaisada, separar;
    } casos[] = {
        {"FormatoColumnar,", true, false, 1, 3, false, false},
        {"FormatoFicha(2,5),OrientacionApaisada,SepararPorPaginas,", false, true, 2, 5, true, true},
        {"FormatoFicha(4),", false, true, 4, 3, false, false},
        {"FormatoFicha(0,x),", false, true, 1, 3, false, false},
        {"", false, false, 1, 3, false, false},
    };
    for (const auto &c : casos) {
        const OpcionesInforme o = LeerOpciones(c.texto);
        EXPECT_EQ(o.formatoColumnar, c.columnar) << c.texto;
        EXPECT_EQ(o.formatoFicha, c.ficha) << c.texto;
        EXPECT_EQ(o.numeroColumnasFicha, c.columnas) << c.texto;
        EXPECT_EQ(o.numeroLineasMemoFicha, c.lineas) << c.texto;
        EXPECT_EQ(o.orientacionApaisada, c.apaisada) << c.texto;
        EXPECT_EQ(o.separarPorPaginas, c.separar) << c.texto;
    }
    OpcionesInforme ficha;
    ficha.formatoFicha = true;
    ficha.numeroColumnasFicha = 2;
    ficha.numeroLineasMemoFicha = 5;
    EXPECT_EQ(ConstruirOpciones(ficha), "FormatoFicha(2,5),");
}

} // namespace
