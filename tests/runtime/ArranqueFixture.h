#pragma once
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// A start-up of the service form in a fresh working folder, with its own engine session and
// every message recorded (questions answered from a script).
class ArranqueFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        anterior_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
        salida_.emplace(mensajes_);
        copiarDefiniciones();
    }

    void TearDown() override
    {
        form_.reset();
        sesion_.closeAll();
        borrarBasesDatosServidor();
        salida_.reset();
        QDir::setCurrent(anterior_);
        TfGENEINIC::ArgumentosArranque.clear();
    }

    void escribir(const QString &nombre, const QString &texto)
    {
        QFile f(dir_.file(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto.toUtf8());
    }

    // The program's own structure definitions in the working folder.
    void copiarDefiniciones()
    {
        QFile::remove(dir_.file(QStringLiteral("DATABASE.TXT")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), dir_.file(QStringLiteral("DATABASE.TXT"))));
    }

    TfGENEINIC &arrancar(const QStringList &argumentos = {QStringLiteral("U=ADMIN")})
    {
        TfGENEINIC::ArgumentosArranque = argumentos;
        form_ = std::make_unique<TfGENEINIC>(nullptr, &sesion_);
        form_->afterConstruction();
        return *form_;
    }

    // Settings for "SQL Generica" on the test server, with databases of their own.
    bool configurarPostgreSQL()
    {
        const auto pg = gptest::PgTestServer::fromEnvironment();
        if (!pg.available())
            return false;
        const QString sufijo = QString::number(QRandomGenerator::global()->bounded(1000000, 9999999));
        sufijoServidor_ = sufijo;
        general_ = QStringLiteral("gpg_") + sufijo;
        empresa_ = QStringLiteral("gpe_") + sufijo;
        // Company databases are named after the company alias: one alias per test, so that
        // tests running side by side on one server never create the same database.
        aliasEmpresa_ = QStringLiteral("EMP") + sufijo;
        configurarServidor(pg.host + u',' + QString::number(pg.port), pg.user);
        return true;
    }

    void configurarServidor(const QString &servidor, const QString &usuario)
    {
        escribir(QStringLiteral("BASESDATOS.TXT"),
                 QStringLiteral("TipoBaseDatos=SQL Generica\r\nAliasBaseDatosGeneral=GENERAL\r\nAliasBaseDatos=%1\r\n")
                     .arg(aliasEmpresa_));
        escribir(QStringLiteral("ALIAS.INI"),
                 QStringLiteral("[GENERAL]\nSERVER NAME=%1\nDATABASE NAME=%2\nUSER NAME=%3\n"
                                "[%5]\nSERVER NAME=%1\nDATABASE NAME=%4\nUSER NAME=%3\n")
                     .arg(servidor, general_, usuario, empresa_, aliasEmpresa_));
    }

    QStringList textosDeTipo(const QString &tipo) const
    {
        QStringList out;
        for (const auto &m : mensajes_.mensajes())
            if (m.tipo == tipo)
                out << m.texto;
        return out;
    }

    gptest::TempDir dir_;
    plat::Session sesion_;
    SalidaMensajesGrabada mensajes_;
    std::unique_ptr<TfGENEINIC> form_;
    QString general_, empresa_;
    QString aliasEmpresa_ = QStringLiteral("EMPRESA");

private:
    // Every database the test made on the server carries its suffix in the name (the
    // general one, the company alias's, each company's); they go with the test, or the
    // server's disk fills run after run.
    void borrarBasesDatosServidor()
    {
        if (sufijoServidor_.isEmpty())
            return;
        const auto pg = gptest::PgTestServer::fromEnvironment();
        plat::Session admin;
        admin.setEngine(plat::EngineKind::PostgreSQL);
        admin.addAlias(QStringLiteral("ADMIN"), QString(),
                       {QStringLiteral("SERVER NAME=%1,%2").arg(pg.host).arg(pg.port),
                        QStringLiteral("DATABASE NAME=postgres"), QStringLiteral("USER NAME=") + pg.user});
        plat::Connection &c = admin.connection(QStringLiteral("x"));
        c.setAliasName(QStringLiteral("ADMIN"));
        const QString nombres =
            c.scalar(QStringLiteral("SELECT string_agg(datname, ',') FROM pg_database WHERE datname LIKE :p"),
                     {{QStringLiteral("p"), u'%' + sufijoServidor_ + u'%'}}, plat::SqlOrigin::AsWritten)
                .toString();
        for (const QString &nombre : nombres.split(u',', Qt::SkipEmptyParts))
            c.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)")
                       .arg(QString(nombre).replace(u'"', QStringLiteral("\"\""))),
                   {}, plat::SqlOrigin::AsWritten);
        sufijoServidor_.clear();
    }

    QString sufijoServidor_;
    QString anterior_;
    std::optional<SalidaMensajesInstalada> salida_;
};
