#include "GENEW/runtime/LineaComandos.h"

#include <gtest/gtest.h>

namespace {

struct CasoLinea
{
    const char *descripcion;
    QStringList argumentos;
    QString usuario;
    QString archivo;
    QString idioma;
};

TEST(LineaComandos, FormasDeLaLinea)
{
    const CasoLinea casos[] = {
        {"sin argumentos", {}, "", "", ""},
        {"posicional: el segundo es el usuario", {"EMPRESA1", "PEPE"}, "PEPE", "", ""},
        {"posicional con uno solo", {"PEPE"}, "", "", ""},
        {"posicional con tres", {"A", "B", "C"}, "B", "", ""},
        {"opciones", {"U=ADMIN", "I=otro.ini", "T=EN"}, "ADMIN", "otro.ini", "EN"},
        {"opciones en minúscula", {"u=ana", "i=x.ini", "t=fr"}, "ana", "x.ini", "fr"},
        {"la última gana", {"U=UNO", "T=ES", "U=DOS"}, "DOS", "", "ES"},
        {"una opción anula la forma posicional", {"basura", "OTRO", "I=/etc/k.ini"}, "", "/etc/k.ini", ""},
        {"valor con '='", {"U=a=b"}, "a=b", "", ""},
        {"opción desconocida ignorada", {"X=1", "U=Z"}, "Z", "", ""},
        {"valor vacío", {"U=ANA", "U="}, "", "", ""},
    };
    for (const CasoLinea &c : casos) {
        const OpcionesLineaComandos o = OpcionesLineaComandos::leer(c.argumentos);
        EXPECT_EQ(o.usuario, c.usuario) << c.descripcion;
        EXPECT_EQ(o.archivoConfiguracion, c.archivo) << c.descripcion;
        EXPECT_EQ(o.idioma, c.idioma) << c.descripcion;
    }
}

TEST(LineaComandos, RearranqueConElUsuarioActual)
{
    const OpcionesLineaComandos o = OpcionesLineaComandos::leer({"U=ANTES", "I=k2.ini", "T=EN"});
    EXPECT_EQ(LineaComandos("AHORA", o), " U=AHORA I=k2.ini T=EN");
    EXPECT_EQ(LineaComandos("", OpcionesLineaComandos{}), " U= I= T=");
    // What it writes reads back the same.
    const OpcionesLineaComandos releida =
        OpcionesLineaComandos::leer(LineaComandos("AHORA", o).split(' ', Qt::SkipEmptyParts));
    EXPECT_EQ(releida.usuario, "AHORA");
    EXPECT_EQ(releida.archivoConfiguracion, "k2.ini");
    EXPECT_EQ(releida.idioma, "EN");
}

} // namespace
