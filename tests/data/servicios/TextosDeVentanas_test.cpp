// What the record windows take from the services, tested without a window: the stored
// statements a user may run, a template's dialog and answers, and a new document's row.
#include "GENEW/data/servicios/ListaConsultas.h"
#include "GENEW/data/servicios/PlantillaTexto.h"
#include "GENEW/data/servicios/SentenciasDocumentos.h"
#include "tests/support/ImprimirQString.h"

#include <gtest/gtest.h>

namespace {

TEST(ListaConsultas, AnItemIsListedForItsApplicationsAndAuthorisedUsersOnly)
{
    const QList<ElementoAlmacenado> elementos = {
        {QStringLiteral("Todos"), QStringLiteral("AplicacionesContenedoras=OTRA, PROY\r\nUsuariosAutorizados=")},
        {QStringLiteral("Otra aplicación"), QStringLiteral("AplicacionesContenedoras=OTRA")},
        {QStringLiteral("Sólo Juan"), QStringLiteral("AplicacionesContenedoras=PROY\r\nUsuariosAutorizados=JUAN")},
        {QStringLiteral("Ninguna aplicación"), QStringLiteral("UsuariosAutorizados=")},
    };
    EXPECT_EQ(ListaElementosAutorizados(elementos, "PEPE", "PEPE", "PROY"), "Todos\r\n");
    // The user whose settings apply decides, not the one logged in.
    EXPECT_EQ(ListaElementosAutorizados(elementos, "PEPE", "JUAN", "PROY"), "Todos\r\nSólo Juan\r\n");
    // No user and no application: everything, in the order given.
    EXPECT_EQ(ListaElementosAutorizados(elementos, "", "", ""),
              "Todos\r\nOtra aplicación\r\nSólo Juan\r\nNinguna aplicación\r\n");
    EXPECT_EQ(NombreTablaDeTipoConsulta("ConsultasSQL"), "SQL");
    EXPECT_EQ(NombreTablaDeTipoConsulta("InformesPersonalizados"), "InformesPersonalizados");
}

TEST(PlantillaTexto, TheDialogAsksOneFieldPerLineAndTheAnswersComeBackAsLabelledLines)
{
    EXPECT_EQ(OpcionesPlantillaTexto("Datos de la visita", "Cliente: García\r\nFecha: 01/01/2024\r\nObservaciones"),
              "Titulo=Datos de la visita\r\nDefinicionCampos=Cliente,ftString,100;Fecha,ftString,100;"
              "Observaciones,ftString,100;\r\nOpciones=RespetarNombresCampos\r\n");
    EXPECT_EQ(TextoRespuestasPlantilla("Cliente=Pérez\r\n=\r\nFecha=02/02/2024=bis"),
              "Cliente: Pérez\r\n\r\nFecha: 02/02/2024=bis\r\n");
    EXPECT_EQ(TextoRespuestasPlantilla(""), "");
}

TEST(SentenciasDocumentos, ANewDocumentKeepsItsNameAndTurnsEveryBreakOfItsDescriptionIntoCrLf)
{
    EXPECT_EQ(sentenciasDocumentos::Insertar("CLIENTE", "1|", "o'brien.pdf", "", "una\ndos·tres\rcuatro"),
              "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Descripcion)  VALUES ('CLIENTE', '1|', "
              "'o''brien.pdf', 'una\r\ndos\r\ntres\r\ncuatro')");
}

} // namespace
