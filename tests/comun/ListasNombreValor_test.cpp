#include "GENEW/runtime/comun/RutinasTexto.h"

#include <gtest/gtest.h>

namespace {

const QString kLista = QStringLiteral("Titulo=Clientes\r\nFormato=0,0,10,20\r\ntitulo=Otro\r\nFiltro=A=B\r\n");

TEST(ListasNombreValor, LecturaIgnorandoMayusculas)
{
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Titulo"), kLista), QStringLiteral("Clientes"));
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("TITULO"), kLista), QStringLiteral("Clientes"));
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Filtro"), kLista), QStringLiteral("A=B"));
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Falta"), kLista), QString());
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Formato"), QStringLiteral("Formato=1\nModo=2")), QStringLiteral("1"));
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Modo"), QStringLiteral("Formato=1\nModo=2")), QStringLiteral("2"));
    EXPECT_EQ(LeerValorDeLineas(QStringLiteral("configuración"), {QStringLiteral("CONFIGURACIÓN=SI")}),
              QStringLiteral("SI"));
    // "Titulo" is not the name of a line "Titulos=x".
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Titulo"), QStringLiteral("Titulos=x")), QString());
}

TEST(ListasNombreValor, EscrituraYBorrado)
{
    QString texto = kLista;
    EXPECT_EQ(EscribirValorEnTexto(QStringLiteral("FORMATO"), QStringLiteral("1,2,3,4"), texto),
              QStringLiteral("Titulo=Clientes\r\nFormato=1,2,3,4\r\ntitulo=Otro\r\nFiltro=A=B\r\n"));
    EXPECT_EQ(texto, QStringLiteral("Titulo=Clientes\r\nFormato=1,2,3,4\r\ntitulo=Otro\r\nFiltro=A=B\r\n"));

    EscribirValorEnTexto(QStringLiteral("Modo"), QStringLiteral("Consulta"), texto);
    EXPECT_TRUE(texto.endsWith(QStringLiteral("Filtro=A=B\r\nModo=Consulta\r\n")));

    // An empty value removes the first matching line only.
    EscribirValorEnTexto(QStringLiteral("titulo"), QString(), texto);
    EXPECT_EQ(texto, QStringLiteral("Formato=1,2,3,4\r\ntitulo=Otro\r\nFiltro=A=B\r\nModo=Consulta\r\n"));
    EXPECT_EQ(LeerValorDeLista(QStringLiteral("Titulo"), texto), QStringLiteral("Otro"));

    QString vacio;
    EscribirValorEnTexto(QStringLiteral("Falta"), QString(), vacio);
    EXPECT_EQ(vacio, QString());
}

TEST(ListasNombreValor, EnUnaListaDeLineas)
{
    QStringList lineas{QStringLiteral("A=1"), QStringLiteral("B=2")};
    EscribirValorEnLista(QStringLiteral("b"), QStringLiteral("3"), lineas);
    EscribirValorEnLista(QStringLiteral("C"), QStringLiteral("4"), lineas);
    EscribirValorEnLista(QStringLiteral("A"), QString(), lineas);
    EXPECT_EQ(lineas, (QStringList{QStringLiteral("B=3"), QStringLiteral("C=4")}));
}

TEST(ListasNombreValor, DivisionEnLineas)
{
    EXPECT_EQ(DividirLineas(QStringLiteral("a\r\nb\nc\r\n")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(DividirLineas(QStringLiteral("a\r\n\r\n")), (QStringList{QStringLiteral("a"), QString()}));
    EXPECT_TRUE(DividirLineas(QString()).isEmpty());
    EXPECT_EQ(UnirLineas({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a\r\nb\r\n"));
}

} // namespace
