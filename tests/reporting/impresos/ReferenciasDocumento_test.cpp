#include "GENEW/reporting/impresos/ReferenciasDocumento.h"
#include "tests/reporting/impresos/ImpresoPrueba.h"

namespace {

TEST(GrupoAnalisis, NameTest)
{
    struct Caso { QString nombre; bool grupo; };
    const Caso casos[] = {
        {"GrupoAnalisis01", true},  {"GrupoAnalisis99", true},  {"GrupoAnalisis7", true},
        {"GrupoAnalisis07X", true}, {"GrupoAnalisis00", false}, {"GrupoAnalisis0", false},
        {"GrupoAnalisisAB", false}, {"GrupoAnalisis7X", false}, {"GrupoAnalisis", false},
        {"grupoAnalisis01", false}, {"GrupoAnalisis 1", false}, {"GrupoAnalisis+1", false},
        {"XGrupoAnalisis01", false},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(EsGrupoAnalisis(c.nombre), c.grupo) << c.nombre.toStdString();
}

TEST(ReferenciaDocumento, KindsDecodeTheirPart)
{
    struct Caso { QString tipo; QString referencia; QString clave; };
    const Caso casos[] = {
        {"OF", "OF:1234/2", "1234"},   {"SEC", "OF:1234/2", "2"},      {"OT", "UE:77/A/B", "77"},
        {"UE", "UE:77/A/B", "A/B"},    {"PP", "PP:55/3,OF:9/1", "55"}, {"LPP", "PP:55/3,OF:9/1", "3"},
        {"Lin", "PP:55/3,OF:9/1", "1"}, {"OF", "PP:55/3,OF:9/1", "9"}, {"SEC", "PP:55/3,OF:9/1", "1"},
        {"Doc", "OF:1234/2", "1234"},  {"doc", "A:B:C/2", "B"},        {"DOC", "77/2", "77"},
        {"Lin", "OF:1/2/3", "2"},      {"lin", "OF:1", ""},            {"LPP", "PP:5", ""},
        {"UC", "UC:5", ""},            {"UI", "UI:5/x", "x"},          {"OT", "UI:5/x", "5"},
        {"RE", "RE:8/1", "8"},         {"II", "II:8", "8"},            {"PC", "PC:3/4", "3"},
        {"AL", "AL:12/1", "12"},       {"OF", "xxOF:12/4", "F:12"},   // the first three always go
        {"pp", "PP:5/1", ""},          {"ZZ", "OF:1/2", ""},           {"OF", "", ""},
        {"OF", "OF:1,", ""},           {"PP", ",PP:1", ""},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(ExtraerReferenciaDocumento(c.tipo, c.referencia), c.clave)
            << c.tipo.toStdString() << " " << c.referencia.toStdString();
}

TEST(ReferenciaDocumento, EveryKindOnAReferenceWithoutItsPrefixIsEmpty)
{
    const QStringList tipos = {"OF", "SEC", "PP", "RE", "II", "PC", "AL", "OT", "UC", "UE", "UI"};
    for (const QString &tipo : tipos)
        EXPECT_EQ(ExtraerReferenciaDocumento(tipo, "XX:12/3"), "") << tipo.toStdString();
}

TEST(ReferenciaDocumento, PrefixTests)
{
    using Prueba = bool (*)(const QString &);
    const std::pair<Prueba, const char *> pruebas[] = {
        {EsReferenciaOF, "OF:"}, {EsReferenciaII, "II:"}, {EsReferenciaOT, "OT:"}, {EsReferenciaUC, "UC:"},
        {EsReferenciaUE, "UE:"}, {EsReferenciaUI, "UI:"}, {EsReferenciaPP, "PP:"}, {EsReferenciaRE, "RE:"},
        {EsReferenciaPC, "PC:"}, {EsReferenciaAL, "AL:"},
    };
    for (const auto &[prueba, prefijo] : pruebas) {
        const QString p = QLatin1String(prefijo);
        EXPECT_TRUE(prueba("x," + p + "1/2")) << prefijo;
        EXPECT_FALSE(prueba(p.toLower() + "1")) << prefijo;
        EXPECT_FALSE(prueba(p.left(2) + "1")) << prefijo;
    }
}

TEST(ReferenciaDocumento, KeyTableByFirstPrefix)
{
    struct Caso { QString valor; int campos; QString clave1; QString clave2; bool hayClave2; };
    const Caso casos[] = {
        {"OF:1234/2", 2, "1234", "2", true},
        {"PP:55/3,RE:9/1", 2, "55", "3", true},   // the line from the part of key 1
        {"PP:55/3,OF:9/1", 2, "9", "1", true},    // "OF:" is tested before "PP:"
        {"II:8/1", 2, "8", "", false},
        {"OT:4/1", 3, "4", "", false},
        {"UE:77/A/B", 2, "77", "A/B", true},
        {"UC:6/9", 2, "6", "9", true},
        {"ABC", 2, "ABC", "", false},
        {"PP:55/3", 1, "55", "", false},   // a one-field index takes key 1 only
        {"UE:OF:1/2", 2, "OF:1", "2", true},   // "OF:" is tested first
    };
    for (const Caso &c : casos) {
        const ClavesReferencia k = ClavesDeReferenciaDocumento(c.valor, c.campos);
        EXPECT_EQ(k.clave1, c.clave1) << c.valor.toStdString();
        EXPECT_EQ(k.clave2, c.clave2) << c.valor.toStdString();
        EXPECT_EQ(k.hayClave2, c.hayClave2) << c.valor.toStdString();
    }
}

QString Describir(const ElementoClave &e)
{
    switch (e.tipo) {
    case TipoElementoClave::Vacio: return "vacio";
    case TipoElementoClave::Literal: return "literal:" + e.texto;
    case TipoElementoClave::Campo: return "campo:" + e.texto;
    case TipoElementoClave::CamposDocutron: return "docutron:" + e.campos.join(',');
    case TipoElementoClave::GrupoAnalisis: return "grupo:" + e.texto;
    case TipoElementoClave::ReferenciaDocumento: return "referencia:" + e.texto;
    }
    return {};
}

TEST(ElementosClave, ItemsOfAConnection)
{
    const QString s(QChar(255));
    struct Caso { QString elementos; QString tabla; QStringList esperado; };
    const Caso casos[] = {
        {"\"PRO\"|Codigo+\"" + s + "\"+Linea", "DOCUTRON",
         {"literal:PRO", "docutron:Codigo,Linea", "vacio", "vacio"}},
        {"Codigo|Linea", "EMP1_DOCUTRON", {"campo:Codigo", "docutron:Linea", "vacio", "vacio"}},
        {"\"a\"|\"b\"x\"|GrupoAnalisis02|Campo|Quinto", "PROYECT",
         {"literal:a", "literal:b", "grupo:GrupoAnalisis02", "campo:Campo"}},
        {"\"sin cierre", "PROYECT", {"literal:sin cierre", "vacio", "vacio", "vacio"}},
        {"Referencia", "PROYECT", {"referencia:Referencia", "vacio", "vacio", "vacio"}},
        {"GrupoAnalisis03", "PROYECT", {"grupo:GrupoAnalisis03", "vacio", "vacio", "vacio"}},
        {"Referencia|", "PROYECT", {"campo:Referencia", "vacio", "vacio", "vacio"}},
        {"\"x\"", "PROYECT", {"literal:x", "vacio", "vacio", "vacio"}},
        {"A|GrupoAnalisis05", "DOCUTRON", {"campo:A", "grupo:GrupoAnalisis05", "vacio", "vacio"}},
        {"", "PROYECT", {"vacio", "vacio", "vacio", "vacio"}},
    };
    for (const Caso &c : casos) {
        QStringList obtenido;
        for (const ElementoClave &e : DividirElementosClave(c.elementos, c.tabla, s))
            obtenido << Describir(e);
        EXPECT_EQ(obtenido, c.esperado) << c.elementos.toStdString();
    }
}

// The connection line as a layout writes it, through the reader, into the splitter.
using ElementosDeConexion = gptest::ImpresoPrueba;

TEST_F(ElementosDeConexion, DocutronFieldListAsALayoutWritesIt)
{
    DisenoImpreso &d = leer({"[SISTEMA]", "Conexion=DOCUTRON>\"PRO\";Codigo+\"|\"+Linea"});
    const QString entrada = d.ajustes().conexiones.value(0);
    const qsizetype mayor = entrada.indexOf('>');
    const auto elementos = DividirElementosClave(entrada.mid(mayor + 1), entrada.left(mayor), d.sustituto());
    EXPECT_EQ(Describir(elementos[0]), "literal:PRO");
    EXPECT_EQ(Describir(elementos[1]), "docutron:Codigo,Linea");
}

} // namespace
