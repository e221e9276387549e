#pragma once
#include "GENEW/data/modulo/Genemodu.h"
#include "tests/runtime/ArranqueFixture.h"

// A started program with company 1 open and the data module created, on the embedded
// engine or on the PostgreSQL test server ("SQL Generica").
class ModuloFixture : public ArranqueFixture
{
protected:
    void TearDown() override
    {
        liberarModulo();
        ArranqueFixture::TearDown();
    }

    // False when the engine is not available here (the test is then skipped).
    bool prepararMotor(bool postgres)
    {
        if (postgres) {
            if (!configurarPostgreSQL())
                return false;
            // Company databases of their own: the company alias names them.
            const auto pg = gptest::PgTestServer::fromEnvironment();
            escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("TipoBaseDatos=SQL Generica\r\nAliasBaseDatosGeneral="
                                                                  "GENERAL\r\nAliasBaseDatos=%1\r\n").arg(empresa_));
            escribir(QStringLiteral("ALIAS.INI"),
                     QStringLiteral("[GENERAL]\nSERVER NAME=%1\nDATABASE NAME=%2\nUSER NAME=%3\n"
                                    "[%4]\nSERVER NAME=%1\nDATABASE NAME=%4\nUSER NAME=%3\n")
                         .arg(pg.host + u',' + QString::number(pg.port), general_, pg.user, empresa_));
        }
        TfGENEINIC &f = arrancar();
        EXPECT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
        EXPECT_TRUE(f.CrearBaseDatosEmpresa(1));
        f.ConectarBaseDatosEmpresa(1);
        f.Conexiones().EmpresaActual = 1;
        crearModulo();
        return true;
    }

    TModuloDatos &crearModulo()
    {
        liberarModulo();
        modulo_ = plat::createDataModule<TModuloDatos>();
        return *modulo_;
    }

    void liberarModulo()
    {
        if (modulo_)
            modulo_->Free();
        modulo_ = nullptr;
    }

    QString sql(const QString &texto, const QString &baseDatos = QString(), const QString &opciones = QString())
    {
        return modulo_->EjecutarSQL(texto, baseDatos, opciones);
    }

    TModuloDatos *modulo_ = nullptr;
};

// The engines a case runs on: false the embedded one, true PostgreSQL.
class ModuloMotorTest : public ModuloFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        if (!prepararMotor(GetParam()))
            GTEST_SKIP() << "no PostgreSQL test server";
    }

    // A trigger refusing every operation of that kind ("UPDATE", "DELETE", "INSERT") on the
    // table stands for another user's lock; a condition ("OLD.Linea = 2") limits it to those
    // rows. It is named gp_rechazo_<table>_<operation>, in lower case.
    void rechazar(const QString &tabla, const QString &operacion, const QString &condicion = QString())
    {
        const QString disparador = QStringLiteral("gp_rechazo_%1_%2").arg(tabla, operacion).toLower();
        const QString cuando = condicion.isEmpty() ? QString() : QStringLiteral(" WHEN (%1)").arg(condicion);
        if (GetParam()) {
            ASSERT_EQ(sql("CREATE OR REPLACE FUNCTION gp_rechazo() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                          "'bloqueado'; END $$ LANGUAGE plpgsql"),
                      QString());
            ASSERT_EQ(sql(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW%4 EXECUTE FUNCTION gp_rechazo()")
                              .arg(disparador, operacion, tabla, cuando)),
                      QString());
        } else {
            ASSERT_EQ(sql(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3%4 BEGIN SELECT RAISE(ABORT, 'bloqueado'); END")
                              .arg(disparador, operacion, tabla, cuando)),
                      QString());
        }
    }
};

inline std::string NombreMotor(const ::testing::TestParamInfo<bool> &info)
{
    return info.param ? "PostgreSQL" : "SQLite";
}
