#include "GENEW/runtime/comun/RutinasTexto.h"

#include <gtest/gtest.h>

namespace {

struct CasoPieza
{
    int indice;
    const char *texto;
    const char *separador;
    const char *esperado;
};

TEST(ExtraerCampo, PiezasSegunLaTabla)
{
    const CasoPieza casos[] = {
        {0, "a;b", ";", "a"},     {1, "a;b", ";", "b"},       {2, "a;b", ";", ""},
        {1, "a;;b", ";", ""},     {2, "a;;b", ";", "b"},      {0, "", ";", ""},
        {1, "", ";", ""},         {0, "abc", ";", "abc"},     {1, "abc", ";", ""},
        {2, "a;b;", ";", ""},     {0, "abc", "", "abc"},      {1, "abc", "", ""},
        {1, "uno<->dos<->tres", "<->", "dos"}, {2, "uno<->dos<->tres", "<->", "tres"},
        {1, "a<>b", "<", ">b"},
    };
    for (const CasoPieza &c : casos)
        EXPECT_EQ(ExtraerCampo(c.indice, QString::fromUtf8(c.texto), QString::fromUtf8(c.separador)),
                  QString::fromUtf8(c.esperado))
            << c.indice << " de " << c.texto;
}

TEST(ExtraerCampo, SeparadorLargoConElCaracterMasAltoEnElTexto)
{
    const QString conAlto = QStringLiteral("x") + QChar(0xFF) + QStringLiteral("y");
    const QString texto = conAlto + QStringLiteral("##|") + QStringLiteral("b") + QStringLiteral("##|c");
    EXPECT_EQ(ExtraerCampo(0, texto, QStringLiteral("##|")), conAlto);
    EXPECT_EQ(ExtraerCampo(1, texto, QStringLiteral("##|")), QStringLiteral("b"));
    EXPECT_EQ(ExtraerCampo(2, texto, QStringLiteral("##|")), QStringLiteral("c"));
    // The separator is matched with case.
    EXPECT_EQ(ExtraerCampo(1, QStringLiteral("aXYb"), QStringLiteral("xy")), QString());
}

TEST(ExtraerCampo, DesdeElFinal)
{
    EXPECT_EQ(ExtraerCampoDesdeElFinal(0, QStringLiteral("a.b.c"), QStringLiteral(".")), QStringLiteral("c"));
    EXPECT_EQ(ExtraerCampoDesdeElFinal(1, QStringLiteral("a.b.c"), QStringLiteral(".")), QStringLiteral("b"));
    EXPECT_EQ(ExtraerCampoDesdeElFinal(2, QStringLiteral("a.b.c"), QStringLiteral(".")), QStringLiteral("a"));
    EXPECT_EQ(ExtraerCampoDesdeElFinal(5, QStringLiteral("a.b.c"), QStringLiteral(".")), QStringLiteral("a"));
}

TEST(CaracterNoUsado, ElMasAltoLibre)
{
    EXPECT_EQ(CaracterNoUsado(QStringLiteral("abc")), QString(QChar(0xFF)));
    EXPECT_EQ(CaracterNoUsado(QString(QChar(0xFF)) + QChar(0xFE)), QString(QChar(0xFD)));
    QString todos;
    for (int i = 0; i < 256; ++i)
        todos += QChar(static_cast<char16_t>(i));
    EXPECT_EQ(CaracterNoUsado(todos), QString());
}

TEST(ContarApariciones, QuitandoLaPrimeraCadaVez)
{
    EXPECT_EQ(ContarApariciones(QStringLiteral("ab"), QStringLiteral("aabb")), 2);
    EXPECT_EQ(ContarApariciones(QStringLiteral("."), QStringLiteral("a.b.c")), 2);
    EXPECT_EQ(ContarApariciones(QStringLiteral("aa"), QStringLiteral("aaa")), 1);
    EXPECT_EQ(ContarApariciones(QString(), QStringLiteral("abc")), 0);
    EXPECT_EQ(ContarCaracter(QLatin1Char('a'), QStringLiteral("banana")), 3);
}

TEST(ReemplazarTexto, VariableYResultado)
{
    QString texto = QStringLiteral("a-b-c");
    EXPECT_EQ(ReemplazarTexto(QStringLiteral("-"), QStringLiteral("--"), texto), QStringLiteral("a--b--c"));
    EXPECT_EQ(texto, QStringLiteral("a--b--c"));
    QString conMayusculas = QStringLiteral("Aa");
    EXPECT_EQ(ReemplazarTexto(QStringLiteral("a"), QStringLiteral("x"), conMayusculas), QStringLiteral("Ax"));
    QString intacto = QStringLiteral("abc");
    EXPECT_EQ(ReemplazarTexto(QString(), QStringLiteral("x"), intacto), QStringLiteral("abc"));
}

TEST(ReemplazarTexto, HastaEstable)
{
    EXPECT_EQ(ReemplazarHastaEstable(QStringLiteral("  "), QStringLiteral(" "), QStringLiteral("a      b")),
              QStringLiteral("a b"));
    // A replacement holding the old text must not loop for ever.
    EXPECT_EQ(ReemplazarHastaEstable(QStringLiteral("a"), QStringLiteral("aa"), QStringLiteral("a")),
              QStringLiteral("aa"));
}

struct CasoLetra
{
    const char *letra;
    bool minuscula;
    bool mayuscula;
    bool digito;
};

TEST(PruebasDeLetra, AcentosEnyeYCedilla)
{
    const CasoLetra casos[] = {
        {"a", true, false, false},  {"z", true, false, false},  {"A", false, true, false},
        {"Z", false, true, false},  {"á", true, false, false},  {"Á", false, true, false},
        {"ñ", true, false, false},  {"Ñ", false, true, false},  {"ç", true, false, false},
        {"Ç", false, true, false},  {"ü", true, false, false},  {"Ü", false, true, false},
        {"ô", true, false, false},  {"È", false, true, false},  {"0", false, false, true},
        {"9", false, false, true},  {" ", false, false, false}, {"-", false, false, false},
        {"ß", false, false, false}, {"", false, false, false},  {"[", false, false, false},
    };
    for (const CasoLetra &c : casos) {
        const QString letra = QString::fromUtf8(c.letra);
        EXPECT_EQ(EsMinuscula(letra), c.minuscula) << c.letra;
        EXPECT_EQ(EsMayuscula(letra), c.mayuscula) << c.letra;
        EXPECT_EQ(EsDigito(letra), c.digito) << c.letra;
    }
}

TEST(PruebasDeLetra, MayusculasYMinusculasEspanolas)
{
    EXPECT_EQ(Mayusculas(QStringLiteral("año piñón çedilla über")), QStringLiteral("AÑO PIÑÓN ÇEDILLA ÜBER"));
    EXPECT_EQ(Minusculas(QStringLiteral("CONFIGURACIÓN ÑANDÚ")), QStringLiteral("configuración ñandú"));
}

struct CasoPalabras
{
    const char *identificador;
    const char *palabras;
};

TEST(SepararPalabras, IdentificadorAPalabras)
{
    const CasoPalabras casos[] = {
        {"CodigoCliente", "Codigo Cliente"},
        {"CodigoIVA", "Codigo IVA"},
        {"NumeroLinea2", "Numero Linea 2"},
        {"Linea12", "Linea 12"},
        {"IVA", "IVA"},
        {"Codigo", "Codigo"},
        {"codigo", "codigo"},
        {"A", "A"},
        {"xCodigoCliente", "Codigo Cliente"},
        {"DescripciónÁrea", "Descripción Área"},
        {"FechaAlta", "Fecha Alta"},
        {"", ""},
    };
    for (const CasoPalabras &c : casos)
        EXPECT_EQ(SepararPalabras(QString::fromUtf8(c.identificador)), QString::fromUtf8(c.palabras))
            << c.identificador;
}

TEST(AbreviarNombreCampo, AbreviaturasPorPalabra)
{
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("CodigoClienteFinal"), 3), QStringLiteral("Cod.Cli.Final"));
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("CodigoClienteFinal"), 0), QStringLiteral("C.C.Final"));
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("CodigoClienteFinal"), 1), QStringLiteral("C.C.Final"));
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("2CodigoCliente"), 3), QStringLiteral("2CodigoCliente"));
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("Codigo"), 3), QStringLiteral("Codigo"));
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("ZonaVenta"), 3), QStringLiteral("Zon.Venta"));
    EXPECT_EQ(AbreviarNombreCampo(QStringLiteral("Linea2Total"), 3), QStringLiteral("Lin.Total"));
}

TEST(MemoAVariante, LineasComoLista)
{
    EXPECT_TRUE(MemoAVariante(QString()).isNull());
    EXPECT_TRUE(MemoAVariante(QStringLiteral("(Memo)")).isNull());
    EXPECT_EQ(MemoAVariante(QStringLiteral("a\r\nb")).toList(), (QVariantList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(MemoAVariante(QStringLiteral("a\r\n\r\nc\r\n")).toList(),
              (QVariantList{QStringLiteral("a"), QString(), QStringLiteral("c")}));
    EXPECT_EQ(MemoAVariante(QStringLiteral("(Memo)uno")).toList(), (QVariantList{QStringLiteral("uno")}));
}

TEST(TextosVarios, SaltosComillasYEspacios)
{
    EXPECT_EQ(QuitarSaltoFinal(QStringLiteral("a\r\n\r\n")), QStringLiteral("a\r\n"));
    EXPECT_EQ(QuitarSaltoFinal(QStringLiteral("a\n")), QStringLiteral("a\n"));
    EXPECT_EQ(QuitarSaltoFinal(QStringLiteral("\r")), QStringLiteral("\r"));
    EXPECT_EQ(Entrecomillar(QStringLiteral("abc")), QStringLiteral("'abc'"));
    EXPECT_EQ(Entrecomillar(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(Espacios(3), QStringLiteral("   "));
    EXPECT_EQ(Espacios(-1), QString());
    EXPECT_EQ(RepetirCaracter(QLatin1Char('-'), 4), QStringLiteral("----"));
    EXPECT_EQ(RepetirCaracter(QLatin1Char('-'), 0), QString());
    EXPECT_EQ(BooleanoATexto(true), QStringLiteral("SI"));
    EXPECT_EQ(BooleanoATexto(false), QStringLiteral("NO"));
}

TEST(TextosVarios, EntrecomillarLista)
{
    EXPECT_EQ(EntrecomillarLista(QStringLiteral("a, b ,c,")), QStringLiteral("\"a\",\"b\",\"c\""));
    EXPECT_EQ(EntrecomillarLista(QStringLiteral("a,,b")), QStringLiteral("\"a\",\"b\""));
    EXPECT_EQ(EntrecomillarLista(QString()), QString());
    EXPECT_EQ(EntrecomillarLista(QStringLiteral("uno")), QStringLiteral("\"uno\""));
}

TEST(TextosVarios, TextosEntreParentesis)
{
    EXPECT_EQ(ExtraerTextosEntreParentesis(QStringLiteral("x(a) y(b)z")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(ExtraerTextosEntreParentesis(QStringLiteral("sin")), QString());
    EXPECT_EQ(ExtraerTextosEntreParentesis(QStringLiteral("(a")), QString());
    EXPECT_EQ(ExtraerTextosEntreParentesis(QStringLiteral("(a(b)c)")), QStringLiteral("a(b\r\nbc"));
}

TEST(TextosVarios, OrdenarLineasSinMayusculasYConEnye)
{
    EXPECT_EQ(OrdenarLineas(QStringLiteral("b\r\nA\r\nñu\r\nnube\r\noso\r\na\r\n")),
              QStringLiteral("A\r\na\r\nb\r\nnube\r\nñu\r\noso\r\n"));
    EXPECT_EQ(OrdenarLineas(QString()), QString());
}

TEST(TextosVarios, SustituirSeparador)
{
    EXPECT_EQ(SustituirSeparador(QStringLiteral("a;b;"), QStringLiteral(",")), QStringLiteral("a,b"));
    EXPECT_EQ(SustituirSeparador(QStringLiteral("a;b;"), QStringLiteral(", ")), QStringLiteral("a, b, "));
    EXPECT_EQ(SustituirSeparador(QString(), QStringLiteral(",")), QString());
}

TEST(TextosVarios, DescribirRangos)
{
    EXPECT_EQ(DescribirRangos(QStringLiteral("CodigoCliente|1|9\r\nFecha||\r\nImporte||100")),
              QStringLiteral("Desde Codigo Cliente: 1, Hasta Codigo Cliente: 9, Desde Importe: , Hasta Importe: 100, "));
}

} // namespace
