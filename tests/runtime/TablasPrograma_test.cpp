#include "ArranqueFixture.h"

#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/estructura/DefinicionesEstructura.h"

#include <QFile>

namespace {

// Every table of the program's DATABASE.TXT opened through AbrirDataSet on a fresh
// installation: each is created on its database with the key its definition declares.
class TablasProgramaTest : public ArranqueFixture
{
protected:
    void abrirTodas()
    {
        TfGENEINIC &f = *form_;
        ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
        ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
        f.ConectarBaseDatosEmpresa(1);

        QFile definiciones(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"));
        ASSERT_TRUE(definiciones.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(definiciones.readAll());
        const QStringList tablas = DividirLineas(estructura::ListarTablasTexto(texto));
        ASSERT_GT(tablas.size(), 20);
        for (const QString &entrada : tablas) {
            const QString tabla = entrada.section(u'|', 0, 0);
            TablaComprobada componente(QStringLiteral("Table1"), tabla, QStringLiteral("fPRUEBA"));
            ASSERT_TRUE(f.AbrirDataSet(componente)) << tabla.toStdString();
            plat::Connection &conexion = EsTablaGeneral(tabla) ? f.DatabaseGeneral() : f.Database();
            EXPECT_TRUE(conexion.tableExists(tabla)) << tabla.toStdString();
            QStringList clave;
            for (const QString &linea : DividirLineas(estructura::ExtraerBloqueDefinicion(tabla, texto, QStringLiteral("Indices"))))
                if (linea.section(u'/', 3, 3) == QLatin1String("<Primary>"))
                    clave = linea.section(u'/', 4, 4).split(u';', Qt::SkipEmptyParts);
            if (!clave.isEmpty())
                EXPECT_EQ(conexion.keyFields(tabla), clave) << tabla.toStdString();
        }
        EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << textosDeTipo(QStringLiteral("E")).join(u'\n').toStdString();
        EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT Codigo FROM EMPRESA"), QStringLiteral("DatabaseGeneral")),
                  QStringLiteral("1"));
    }
};

TEST_F(TablasProgramaTest, EveryTableIsCreatedOnTheEmbeddedEngine)
{
    arrancar();
    abrirTodas();
}

TEST_F(TablasProgramaTest, EveryTableIsCreatedOnPostgreSql)
{
    if (!configurarPostgreSQL())
        GTEST_SKIP() << "no PostgreSQL test server";
    arrancar();
    abrirTodas();
}

} // namespace
