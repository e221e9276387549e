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

} // namespace
