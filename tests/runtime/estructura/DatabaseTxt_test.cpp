#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/FicherosDefiniciones.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"
#include "GENEW/runtime/estructura/PlanCreacionTabla.h"
#include "GENEW/runtime/comun/RutinasTipos.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace estructura;

// The structure definitions installed with the program: every table they define must be
// creatable on every engine, with the key its callers rely on.
class DatabaseTxt : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        LectorFicherosDisco lector;
        QString motivo;
        leido_ = lector.leer(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), texto_, motivo);
    }

    static QStringList Tablas() { return DividirLineas(ListarTablasTexto(texto_)); }
    static QStringList Bloque(const QString &tabla)
    {
        return DividirLineas(ExtraerBloqueDefinicion(tabla, texto_, QString()));
    }

    static inline bool leido_ = false;
    static inline QString texto_;
};

TEST_F(DatabaseTxt, EveryLineBelongsToAListedTableBlock)
{
    ASSERT_TRUE(leido_);
    const QStringList lineas = DividirLineas(texto_);
    const QStringList tablas = Tablas();
    ASSERT_GT(tablas.size(), 50);

    // Every line carries its table's description, so listers and the variant merge see it.
    qsizetype enBloques = 0;
    for (const QString &linea : lineas) {
        EXPECT_FALSE(TextoDescripcion(linea).isEmpty()) << linea.toStdString();
        EXPECT_TRUE(tablas.contains(TablaDeLinea(linea))) << linea.toStdString();
    }
    // Each table is one block: the first block holds all its lines.
    for (const QString &tabla : tablas)
        enBloques += Bloque(tabla).size();
    EXPECT_EQ(enBloques, lineas.size());
}

TEST_F(DatabaseTxt, FieldsAreDistinctTypedAndSizedAndTheKeyIsThePrimaryIndex)
{
    const QSet<TFieldType> creables = {ftString, ftSmallint, ftInteger, ftFloat, ftDateTime, ftMemo, ftBlob};
    for (const QString &tabla : Tablas()) {
        SCOPED_TRACE(tabla.toStdString());
        QStringList campos;
        QStringList claves;
        QStringList primario;
        QStringList indices;
        for (const QString &linea : Bloque(tabla)) {
            if (ClaseDeLinea(linea) == kClaseCampo) {
                const LineaCampo campo = LeerLineaCampo(linea);
                EXPECT_FALSE(campos.contains(campo.nombre)) << "duplicate " << campo.nombre.toStdString();
                campos << campo.nombre;
                const TFieldType tipo = TipoCampoDeNombre(campo.tipo);
                EXPECT_TRUE(creables.contains(tipo)) << campo.nombre.toStdString() << " " << campo.tipo.toStdString();
                bool numero = false;
                const int tamano = campo.tamano.toInt(&numero);
                EXPECT_TRUE(numero) << campo.nombre.toStdString();
                EXPECT_EQ(tamano > 0, tipo == ftString) << campo.nombre.toStdString();
                if (campo.clave)
                    claves << campo.nombre;
            } else if (ClaseDeLinea(linea) == kClaseIndice) {
                const LineaIndice indice = LeerLineaIndice(linea);
                EXPECT_FALSE(indices.contains(indice.nombre));
                indices << indice.nombre;
                for (const QString &campo : indice.campos.split(u';'))
                    EXPECT_TRUE(campos.contains(campo)) << indice.nombre.toStdString() << " " << campo.toStdString();
                if (indice.nombre == kIndicePrimario)
                    primario = indice.campos.split(u';');
            }
        }
        ASSERT_FALSE(primario.isEmpty()) << "no primary index";
        EXPECT_EQ(claves, primario);
        // Record services write the i-th key value into the i-th field.
        EXPECT_EQ(campos.mid(0, primario.size()), primario);
    }
}

TEST_F(DatabaseTxt, EveryTableHasStatementsOnBothServerEngines)
{
    for (const DialectoSQL dialecto : {DialectoSQL::SQLServer, DialectoSQL::SQLGenerica}) {
        OpcionesSentencias opciones;
        opciones.dialecto = dialecto;
        opciones.formatoFechaSQL = QStringLiteral("mm/dd/yyyy");
        for (const QString &tabla : Tablas()) {
            const QStringList lineas = LineasAConstruir(tabla, texto_, false, {});
            const SentenciasCreacion sentencias = SentenciasCrearTabla(tabla, lineas, opciones);
            EXPECT_TRUE(sentencias.crearTabla.contains(tabla + QStringLiteral("_Clave1 PRIMARY KEY (")))
                << sentencias.crearTabla.toStdString();
            // Every column got its type's text; a bare name would make the statement fail.
            for (const QString &linea : lineas) {
                if (ClaseDeLinea(linea) == kClaseCampo)
                    EXPECT_NE(TextoColumna(linea, opciones), Pieza(linea, 3)) << linea.toStdString();
            }
            EXPECT_FALSE(sentencias.crearTabla.contains(QStringLiteral(", )")));
        }
    }
}

// The start builds every table from the text split once: it gives each table its lines as
// reading the text for that table alone does.
TEST_F(DatabaseTxt, TheSplitTextGivesEveryTableItsLines)
{
    const TextoDividido dividido(texto_);
    for (const QString &tabla : Tablas()) {
        SCOPED_TRACE(tabla.toStdString());
        const QStringList lineas = LineasAConstruir(tabla, dividido, false, {});
        EXPECT_FALSE(lineas.isEmpty());
        EXPECT_EQ(lineas, LineasAConstruir(tabla.toLower(), texto_, false, {}));
    }
}

TEST_F(DatabaseTxt, TablesTheProgramRelyOnHaveTheirShape)
{
    EXPECT_EQ(ObtenerEstructuraTabla("NOMBTTEM", "IncluirTipo", texto_),
              UnirLineas({"Contador/ftInteger", "NombreTablaTemporalOrg/ftString", "NombreTablaTemporal/ftString"}));
    EXPECT_EQ(ExtraerBloqueDefinicion("LPROYECT", texto_, "Indices").count(u'\n'), 3);
    EXPECT_TRUE(ExtraerBloqueDefinicion("LPROYECT", texto_, "Indices").contains("/I/2/Clave2/CodigoProyecto;Capitulo/"));
    EXPECT_TRUE(ExtraerBloqueDefinicion("LPROYECT", texto_, "Indices").contains("/I/3/Clave3/CodigoProyecto;FechaInicio/"));
    const QStringList camposEmpresa = DividirLineas(ObtenerEstructuraTabla("EMPRESA", "", texto_));
    for (const char *campo : {"Codigo", "Nombre", "Abreviatura", "Logotipo"})
        EXPECT_TRUE(camposEmpresa.contains(campo)) << campo;
    const QStringList camposUsuario = DividirLineas(ObtenerEstructuraTabla("CAMPOUSR", "", texto_));
    for (const char *campo : {"NombreTabla", "OrdenCampo", "NombreCampo", "TipoCampo", "LongitudCampo"})
        EXPECT_TRUE(camposUsuario.contains(campo)) << campo;
}
