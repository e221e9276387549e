#include "ModuloFixture.h"

#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "platform/data/engine/Connection.h"

#include <QFile>

namespace {

struct IndiceDeclarado
{
    QString nombre;
    QString campos;   // joined by ";", in declared case
};

// The indexes DATABASE.TXT declares for a table, the primary one first.
QList<IndiceDeclarado> IndicesDeclarados(const QString &tabla, const QString &texto)
{
    QList<IndiceDeclarado> indices;
    const QString bloque = estructura::ExtraerBloqueDefinicion(tabla, texto, QStringLiteral("Indices"));
    for (const QString &linea : DividirLineas(bloque)) {
        const IndiceDeclarado indice{linea.section(u'/', 3, 3), linea.section(u'/', 4, 4)};
        if (indice.nombre == QLatin1String("<Primary>"))
            indices.prepend(indice);
        else if (!indice.nombre.isEmpty())
            indices.append(indice);
    }
    return indices;
}

// Every table of the installed definitions opened the way forms open them: made with its
// indexes on the database it belongs to, and its keys found again through the data module.
class ClavesTablasProgramaTest : public ModuloMotorTest
{
};

TEST_P(ClavesTablasProgramaTest, EveryTableIsMadeWithTheKeysItsDefinitionDeclares)
{
    QFile fichero(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"));
    ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(fichero.readAll());
    const QStringList tablas = DividirLineas(estructura::ListarTablasTexto(texto));
    ASSERT_GT(tablas.size(), 50);
    TfGENEINIC &f = *fGENEINIC;
    TModuloDatos &m = *modulo_;
    int secundarios = 0;
    for (const QString &entrada : tablas) {
        const QString nombre = entrada.section(u'|', 0, 0);
        SCOPED_TRACE(nombre.toStdString());
        plat::TableDataSet tabla(QStringLiteral("Table1"));
        tabla.setTableName(nombre);
        ASSERT_TRUE(f.AbrirDataSet(tabla));
        plat::Connection &donde = EsTablaGeneral(nombre) ? f.DatabaseGeneral() : f.Database();
        EXPECT_EQ(tabla.connection(), &donde);
        EXPECT_TRUE(donde.tableExists(nombre));

        const QList<IndiceDeclarado> indices = IndicesDeclarados(nombre, texto);
        ASSERT_FALSE(indices.isEmpty());
        EXPECT_EQ(m.CamposClave(tabla), indices.first().campos);
        EXPECT_EQ(m.CamposClaveSQL(nombre), indices.first().campos);
        EXPECT_EQ(m.NumeroCamposClave(tabla), int(indices.first().campos.count(u';')) + 1);
        for (qsizetype i = 1; i < indices.size(); ++i, ++secundarios) {
            EXPECT_EQ(m.CamposClave(tabla, indices[i].nombre), indices[i].campos) << indices[i].nombre.toStdString();
            EXPECT_EQ(m.CamposClaveSQL(nombre, indices[i].nombre), indices[i].campos) << indices[i].nombre.toStdString();
        }
    }
    EXPECT_GT(secundarios, 0);
    EXPECT_EQ(m.EjecutarSQL(QStringLiteral("SELECT Codigo FROM EMPRESA"), QStringLiteral("DatabaseGeneral")),
              QStringLiteral("1"));
    EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << textosDeTipo(QStringLiteral("E")).join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, ClavesTablasProgramaTest, ::testing::Bool(), NombreMotor);

} // namespace
