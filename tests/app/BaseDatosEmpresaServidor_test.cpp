// On PostgreSQL a company's database is named after the company alias: a new alias on a server
// that already holds the general database gets its company database made as the session opens
// the company, whatever the alias holds; a name the server will not make ends the start with one
// message naming the setting.
#include "tests/app/SesionFixture.h"
#include "tests/support/ImprimirQString.h"

#include "platform/data/engine/Connection.h"

namespace {

const QString kImposible = QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: ");

class BaseDatosEmpresaServidor : public SesionFixture
{
protected:
    void SetUp() override
    {
        SesionFixture::SetUp();
        if (!configurarPostgreSQL())
            GTEST_SKIP() << "no PostgreSQL test server";
        // A first start makes the general database, company 1 and its database.
        mostrar();
        ASSERT_EQ(fGENEINIC->Conexiones().EmpresaActual, 1) << mensajes_.textos().join(u'\n').toStdString();
        sufijo_ = aliasEmpresa_.mid(3);
        cerrarPrograma();
    }

    void TearDown() override
    {
        admin_.closeAll();
        // The test's databases go first, and the login's rights in them with them.
        SesionFixture::TearDown();
        if (!rol_.isEmpty()) {
            administrador(QStringLiteral("postgres"))
                .exec(QStringLiteral("DROP ROLE %1").arg(rol_), {}, plat::SqlOrigin::AsWritten);
            admin_.closeAll();
        }
    }

    // The program of the first start ends: the next one reads the settings anew.
    void cerrarPrograma()
    {
        if (ventana_)
            ventana_->Free();
        LiberarMDPrimas();
        LiberarMDProyectos();
        if (ModuloDatos)
            ModuloDatos->Free();
        servicios_.reset();
        form_.reset();
        sesion_.closeAll();
        mensajes_.limpiar();
    }

    // The same server and general database, another company alias (its own database the
    // first start's, which exists), logging in as that user.
    void otroAlias(const QString &alias, const QString &usuario)
    {
        const auto pg = gptest::PgTestServer::fromEnvironment();
        aliasEmpresa_ = alias;
        configurarServidor(pg.host + u',' + QString::number(pg.port), usuario);
    }

    plat::Connection &administrador(const QString &baseDatos)
    {
        const auto pg = gptest::PgTestServer::fromEnvironment();
        const QString nombre = QStringLiteral("A_") + baseDatos;
        if (!admin_.isAlias(nombre)) {
            admin_.setEngine(plat::EngineKind::PostgreSQL);
            admin_.addAlias(nombre, QString(),
                            {QStringLiteral("SERVER NAME=%1,%2").arg(pg.host).arg(pg.port),
                             QStringLiteral("DATABASE NAME=") + baseDatos, QStringLiteral("USER NAME=") + pg.user});
        }
        plat::Connection &c = admin_.connection(nombre);
        c.setAliasName(nombre);
        return c;
    }

    bool existe(const QString &baseDatos)
    {
        return administrador(QStringLiteral("postgres"))
                   .scalar(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname = :n"),
                           {{QStringLiteral("n"), baseDatos}}, plat::SqlOrigin::AsWritten)
                   .toInt()
            == 1;
    }

    QString sufijo_;
    QString rol_;
    plat::Session admin_;
};

TEST_F(BaseDatosEmpresaServidor, ANewAliasGetsItsCompanyDatabaseWhateverItHolds)
{
    const auto pg = gptest::PgTestServer::fromEnvironment();
    for (const QString &palabra : {QStringLiteral("EMP'Q"), QStringLiteral("EMP\";DROP"), QStringLiteral("EMP-X")}) {
        SCOPED_TRACE(palabra.toStdString());
        const QString alias = palabra + sufijo_;
        ASSERT_FALSE(existe(alias.toLower() + u'1'));
        otroAlias(alias, pg.user);
        TfPROYMENU &v = mostrar();
        EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 1) << mensajes_.textos().join(u'\n').toStdString();
        EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
        EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'\n').toStdString();
        EXPECT_FALSE(plat::application().terminated());
        EXPECT_TRUE(existe(alias.toLower() + u'1'));
        EXPECT_EQ(fGENEINIC->EjecutarSQL(QStringLiteral("SELECT current_database()")), alias.toLower() + u'1');
        // The company's tables are made in it as the modules open them.
        EXPECT_TRUE(ModuloDatos && ModuloDatos->ParamGenerales->table().active());
        EXPECT_TRUE(v.caption().startsWith(QStringLiteral("Gestión de Proyectos: "))) << v.caption().toStdString();
        cerrarPrograma();
    }
}

TEST_F(BaseDatosEmpresaServidor, ACompanyDatabaseTheServerWillNotMakeEndsTheStartWithOneMessage)
{
    // A login that may read the general database but not make databases.
    rol_ = QStringLiteral("gp_sin_crear_") + sufijo_;
    administrador(QStringLiteral("postgres"))
        .exec(QStringLiteral("CREATE ROLE %1 LOGIN NOCREATEDB").arg(rol_), {}, plat::SqlOrigin::AsWritten);
    for (const QString &base : {general_, empresa_})
        administrador(base).exec(QStringLiteral("GRANT ALL ON ALL TABLES IN SCHEMA public TO %1").arg(rol_), {},
                                 plat::SqlOrigin::AsWritten);
    admin_.closeAll();
    const QString alias = QStringLiteral("NUEVA'") + sufijo_;
    otroAlias(alias, rol_);
    mostrar();
    const QStringList errores = textosDeTipo(QStringLiteral("E"));
    ASSERT_EQ(mensajes_.mensajes().size(), 2) << mensajes_.textos().join(u'\n').toStdString();   // the log-in prompt
    ASSERT_EQ(errores.size(), 1) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(errores[0].startsWith(kImposible + QStringLiteral("AliasBaseDatos=") + alias + QStringLiteral(": ")))
        << errores[0].toStdString();
    EXPECT_TRUE(errores[0].contains(QStringLiteral("permission denied"))) << errores[0].toStdString();
    EXPECT_TRUE(plat::application().terminated());
    EXPECT_FALSE(existe(alias.toLower() + u'1'));
}

} // namespace
