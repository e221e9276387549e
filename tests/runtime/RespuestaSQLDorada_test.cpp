// The SQL service's answer to a large SELECT, compared byte for byte with the answer kept in
// tests/runtime/dorados/ (written by an earlier version of the answer writer): whoever makes
// the writer faster must keep every byte. The rows hold integers, accented names, decimal
// amounts, date-times at and off midnight, memos with CR LF, LF and CR, and NULLs in every
// column that allows them; the same rows are answered from memory and through SQLite.
//
// To write the files anew (only when the answer is meant to change), run the test with
// GP_ESCRIBIR_DORADOS set to a folder and copy the files it leaves there.
#include "tests/runtime/FilasEnMemoria.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QUuid>
#include <QFile>
#include <gtest/gtest.h>

using gptest::FilasEnMemoria;

namespace {

constexpr int kFilas = 10000;

QString ficheroDorado(const QString &nombre)
{
    return QStringLiteral(GP_TEST_SOURCE_DIR "/dorados/") + nombre;
}

QByteArray leer(const QString &fichero)
{
    QFile f(fichero);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Compares with the kept answer (or leaves the answer where GP_ESCRIBIR_DORADOS says).
void compararConDorado(const QString &respuesta, const QString &nombre)
{
    const QByteArray bytes = respuesta.toUtf8();
    const QString destino = qEnvironmentVariable("GP_ESCRIBIR_DORADOS");
    if (!destino.isEmpty()) {
        QFile f(QDir(destino).filePath(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QByteArray dorado = leer(ficheroDorado(nombre));
    ASSERT_FALSE(dorado.isEmpty()) << "no golden file " << nombre.toStdString();
    ASSERT_EQ(bytes.size(), dorado.size());
    if (bytes != dorado) {
        qsizetype i = 0;
        while (bytes[i] == dorado[i])
            ++i;
        FAIL() << "differs at byte " << i << ": …" << bytes.mid(std::max<qsizetype>(0, i - 40), 80).toStdString()
               << "… instead of …" << dorado.mid(std::max<qsizetype>(0, i - 40), 80).toStdString() << "…";
    }
}

// The value of each column in row i (1-based); null QVariants are SQL NULL.
QVariant codigo(int i) { return i; }
QVariant nombre(int i)
{
    if (i % 97 == 0)
        return QVariant(QMetaType(QMetaType::QString));
    static const char *const nombres[] = {"Ana Muñoz", "Luis Pérez", "Íñigo Ortíz", "María José", "Ç|ñ ü"};
    return QString::fromUtf8(nombres[i % 5]) + QStringLiteral(" %1").arg(i);
}
QVariant importe(int i)
{
    if (i % 89 == 0)
        return QVariant(QMetaType(QMetaType::Double));
    const double signo = i % 7 == 0 ? -1.0 : 1.0;
    switch (i % 6) {
    case 0: return signo * double(i);
    case 1: return signo * double(i * 37 % 100000) / 100.0;
    case 2: return signo * double(i) / 3.0;
    case 3: return signo * 0.1 * double(i % 10);
    case 4: return signo * (1e9 + double(i) / 1000.0);
    default: return signo * double(i % 1000) / 8.0;
    }
}
QVariant fecha(int i)
{
    if (i % 83 == 0)
        return QVariant(QMetaType(QMetaType::QDateTime));
    if (i % 211 == 0)
        return FechaCero();
    const QDate dia = QDate(1990, 1, 1).addDays(i * 3);
    const QTime hora = i % 3 == 0 ? QTime(0, 0) : QTime(i % 24, i % 60, (i * 7) % 60);
    return FechaHora(dia, hora);
}
QVariant notas(int i)
{
    switch (i % 8) {
    case 0: return QVariant(QMetaType(QMetaType::QString));
    case 1: return QStringLiteral("Primera línea\r\nsegunda línea %1").arg(i);
    case 2: return QStringLiteral("solo LF\ny más\n");
    case 3: return QStringLiteral("\rretorno suelto\r");
    case 4: return QString();
    case 5: return QStringLiteral("sin saltos, ñandú %1").arg(i);
    case 6: return QStringLiteral("\r\n\r\n");
    default: return QStringLiteral("a|b·c=d");
    }
}

const QStringList kNombres = {"Codigo", "Nombre", "Importe", "Fecha", "Notas"};
const QList<TFieldType> kTipos = {ftInteger, ftString, ftFloat, ftDateTime, ftMemo};

FilasEnMemoria filasEnMemoria(int n)
{
    QList<QVariantList> filas;
    for (int i = 1; i <= n; ++i)
        filas.append({codigo(i), nombre(i), importe(i), fecha(i), notas(i)});
    return FilasEnMemoria(kNombres, kTipos, filas);
}

// The rows written into a table of the connection and answered by the SQL service.
void responderDesdeTabla(plat::Connection &bd)
{
    plat::TableDef t;
    t.name = QStringLiteral("MOVIMIENTOS");
    t.fields = {plat::fieldDef(kNombres[0], ftInteger, 0, true), plat::fieldDef(kNombres[1], ftString, 40),
                plat::fieldDef(kNombres[2], ftFloat), plat::fieldDef(kNombres[3], ftDateTime),
                plat::fieldDef(kNombres[4], ftMemo)};
    plat::IndexDef primaria;
    primaria.name = QStringLiteral("Clave1");
    primaria.fields = {kNombres[0]};
    primaria.primary = primaria.unique = true;
    t.indexes = {primaria};
    bd.createTable(t);
    bd.startTransaction();
    // A hundred rows a statement, so that a server is not asked 10,000 times.
    constexpr int kPorSentencia = 100;
    for (int desde = 1; desde <= kFilas; desde += kPorSentencia) {
        QStringList filas;
        QVariantMap valores;
        for (int i = desde; i < desde + kPorSentencia; ++i) {
            filas << QStringLiteral("(:c%1, :n%1, :i%1, :f%1, :m%1)").arg(i);
            valores.insert(QStringLiteral("c%1").arg(i), codigo(i));
            valores.insert(QStringLiteral("n%1").arg(i), nombre(i));
            valores.insert(QStringLiteral("i%1").arg(i), importe(i));
            valores.insert(QStringLiteral("f%1").arg(i), fecha(i));
            valores.insert(QStringLiteral("m%1").arg(i), notas(i));
        }
        bd.exec(QStringLiteral("INSERT INTO MOVIMIENTOS (Codigo, Nombre, Importe, Fecha, Notas) VALUES ")
                    + filas.join(QStringLiteral(", ")),
                valores, plat::SqlOrigin::AsWritten);
    }
    bd.commit();
    compararConDorado(EjecutarSQLEnConexion(bd, QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas "
                                                              "FROM MOVIMIENTOS ORDER BY Codigo"),
                                            QString()),
                      QStringLiteral("respuesta_10000.txt"));
    compararConDorado(EjecutarSQLEnConexion(bd, QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas "
                                                              "FROM MOVIMIENTOS WHERE Codigo <= 1000 ORDER BY Codigo"),
                                            QStringLiteral("FormatoINI,DelimitadorCRLFMemo=<br>")),
                      QStringLiteral("respuesta_1000_ini.txt"));
}

} // namespace

TEST(RespuestaSQLDorada, TenThousandRowsFromMemoryAnswerTheKeptText)
{
    FilasEnMemoria filas = filasEnMemoria(kFilas);
    compararConDorado(FormatearRespuestaSQL(filas, QString()), QStringLiteral("respuesta_10000.txt"));
    FilasEnMemoria ini = filasEnMemoria(1000);
    compararConDorado(FormatearRespuestaSQL(ini, QStringLiteral("FormatoINI,DelimitadorCRLFMemo=<br>")),
                      QStringLiteral("respuesta_1000_ini.txt"));
}

TEST(RespuestaSQLDorada, TenThousandRowsThroughSQLiteAnswerTheKeptText)
{
    gptest::TempDir dir;
    plat::Session sesion;
    plat::Connection &bd = sesion.connection(QStringLiteral("Database"));
    bd.setDatabaseName(dir.path());
    responderDesdeTabla(bd);
}

TEST(RespuestaSQLDorada, TenThousandRowsThroughPostgreSQLAnswerTheKeptText)
{
    const auto pg = gptest::PgTestServer::fromEnvironment();
    if (!pg.available())
        GTEST_SKIP() << "no PostgreSQL test server";
    const QString base = QStringLiteral("gp_d_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString servidor = QStringLiteral("SERVER NAME=%1,%2").arg(pg.host).arg(pg.port);
    const QString usuario = QStringLiteral("USER NAME=") + pg.user;
    {
        plat::Session sesion;
        sesion.setEngine(plat::EngineKind::PostgreSQL);
        sesion.addAlias(QStringLiteral("DORADO"), QStringLiteral("MSSQL"),
                        {servidor, QStringLiteral("DATABASE NAME=") + base.toUpper(), usuario});
        sesion.createDatabase(QStringLiteral("DORADO"));
        plat::Connection &bd = sesion.connection(QStringLiteral("Database"));
        bd.setAliasName(QStringLiteral("DORADO"));
        responderDesdeTabla(bd);
        sesion.closeAll();
    }
    plat::Session admin;
    admin.setEngine(plat::EngineKind::PostgreSQL);
    admin.addAlias(QStringLiteral("ADMIN"), QString(), {servidor, QStringLiteral("DATABASE NAME=postgres"), usuario});
    admin.connection(QStringLiteral("x")).setAliasName(QStringLiteral("ADMIN"));
    admin.connection(QStringLiteral("x")).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(base.toLower()));
}
