#include "ArranqueFixture.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/CifradoClave.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/estructura/FicherosDefiniciones.h"

#include "tests/support/PermisosDeUsuario.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kImposible = QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: ");

class ConexionesTest : public ArranqueFixture
{
};

TEST_F(ConexionesTest, AFreshFolderStartsOnTheEmbeddedEngineInDatos)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("datos/datos.sqlite"))));
    // The user-fields table was created from the installed definitions.
    EXPECT_TRUE(f.DatabaseGeneral().tableExists(QStringLiteral("CAMPOUSR")));
    // The definitions are copied into the general folder while the start goes on.
    estructura::EsperarCopiasDefiniciones();
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("datos/DATABASE.TXT"))));
    EXPECT_EQ(f.UsuarioActual, "ADMIN");
    EXPECT_EQ(f.NombreBaseDatosEmpresa(1), dir_.file(QStringLiteral("datos/1")));
    EXPECT_EQ(f.BaseDatosDeTabla(QStringLiteral("CAMPOUSR")), f.DatabaseGeneral().databaseName());
}

TEST_F(ConexionesTest, CompanyDatabaseIsCreatedOnceAndThenRepointedTo)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("datos/1/datos.sqlite"))));
    f.EjecutarSQL(QStringLiteral("CREATE TABLE MARCA (A INTEGER)"), QStringLiteral("?") + f.NombreBaseDatosEmpresa(1));
    // A second creation leaves the database as it is.
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
    f.ConectarBaseDatosEmpresa(1);
    EXPECT_EQ(f.Database().databaseName(), dir_.file(QStringLiteral("datos/1")));
    EXPECT_TRUE(f.Database().tableExists(QStringLiteral("MARCA")));
    EXPECT_TRUE(f.ADOConnection().tableExists(QStringLiteral("MARCA")));
    EXPECT_FALSE(f.DatabaseGeneral().tableExists(QStringLiteral("MARCA")));
}

TEST_F(ConexionesTest, SqlAnswersAsTextAndErrorsAsTheErrorAnswer)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("CREATE TABLE PRUEBA (Codigo INTEGER, Nombre VARCHAR(20))")), QString());
    f.EjecutarSQL(QStringLiteral("INSERT INTO PRUEBA (Codigo, Nombre) VALUES (1, 'uno')"));
    f.EjecutarSQL(QStringLiteral("INSERT INTO PRUEBA (Codigo, Nombre) VALUES (2, '')"));
    const QString sel = QStringLiteral("SELECT Codigo, Nombre FROM PRUEBA ORDER BY Codigo");
    EXPECT_EQ(f.EjecutarSQL(sel), QStringLiteral("1|uno\r\n2|"));
    EXPECT_EQ(f.EjecutarSQL(sel, QString(), QStringLiteral("FormatoINI")),
              QStringLiteral("Codigo=1·Nombre=uno\r\nCodigo=2·Nombre="));
    // The empty comparison also finds NULL.
    f.EjecutarSQL(QStringLiteral("INSERT INTO PRUEBA (Codigo) VALUES (3)"));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT Codigo FROM PRUEBA WHERE Nombre = '' ORDER BY Codigo")),
              QStringLiteral("2\r\n3"));
    // A lower-case select is executed, not opened.
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("select Codigo FROM PRUEBA")), QString());
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());

    const QString silenciosa = f.EjecutarSQL(QStringLiteral("SELECT Nada FROM PRUEBA"), QString(), QStringLiteral("Silenciosa"));
    EXPECT_TRUE(silenciosa.startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());

    const QString avisada = f.EjecutarSQL(QStringLiteral("SELECT Nada FROM PRUEBA"));
    EXPECT_EQ(avisada, silenciosa);
    ASSERT_EQ(mensajes_.mensajes().size(), 2);
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, "A");
    EXPECT_EQ(mensajes_.mensajes()[0].texto, avisada);
    EXPECT_TRUE(mensajes_.mensajes()[1].texto.startsWith(QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\n")));
    EXPECT_EQ(mensajes_.mensajes()[1].tipo, TipoCuadroSistema);   // the plain box, not the message window
}

TEST_F(ConexionesTest, SelectorsReachTheirDatabases)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(2));
    const QString empresa2 = f.NombreBaseDatosEmpresa(2);
    f.EjecutarSQL(QStringLiteral("CREATE TABLE SOLO2 (A INTEGER)"), empresa2);
    f.EjecutarSQL(QStringLiteral("INSERT INTO SOLO2 (A) VALUES (7)"), QStringLiteral("?") + empresa2);
    f.ConectarBaseDatosAlt(2, QString());
    const struct
    {
        QString selector;
        QString respuesta;
    } casos[] = {
        {QStringLiteral("DatabaseAlt"), QStringLiteral("7")},
        {QStringLiteral("?") + empresa2, QStringLiteral("7")},
        {empresa2, QStringLiteral("7")},
    };
    for (const auto &c : casos)
        EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT A FROM SOLO2"), c.selector), c.respuesta) << c.selector.toStdString();
    for (const QString &otro : {QString(), QStringLiteral("Database"), QStringLiteral("DatabaseGeneral")})
        EXPECT_TRUE(EsRespuestaErrorSQL(f.EjecutarSQL(QStringLiteral("SELECT A FROM SOLO2"), otro, QStringLiteral("Silenciosa"))));
    EXPECT_EQ(f.EjecutarSQLADO(QStringLiteral("SELECT A FROM SOLO2"), QStringLiteral("DatabaseAlt")), QStringLiteral("7"));
}

TEST_F(ConexionesTest, TransactionsKeepEachConnectionAndItsTwinTogether)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
    f.ConectarBaseDatosEmpresa(1);
    f.EjecutarSQL(QStringLiteral("CREATE TABLE MOV (A INTEGER)"));

    // Nothing open: confirming clears both flags and succeeds.
    f.Conexiones().EnTransaccionFormularios = true;
    EXPECT_TRUE(f.ConfirmarTransaccion());
    EXPECT_FALSE(f.Conexiones().EnTransaccion);
    EXPECT_FALSE(f.Conexiones().EnTransaccionFormularios);

    ASSERT_TRUE(f.IniciarTransaccion());
    EXPECT_TRUE(f.Conexiones().EnTransaccion);
    EXPECT_TRUE(f.ADOConnection().inTransaction());
    f.EjecutarSQL(QStringLiteral("INSERT INTO MOV (A) VALUES (1)"));
    f.EjecutarSQLADO(QStringLiteral("INSERT INTO MOV (A) VALUES (2)"));
    ASSERT_TRUE(f.CancelarTransaccion());
    EXPECT_FALSE(f.Database().inTransaction());
    EXPECT_FALSE(f.ADOConnection().inTransaction());
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM MOV")), QStringLiteral("0"));

    ASSERT_TRUE(f.IniciarTransaccion());
    f.EjecutarSQLADO(QStringLiteral("INSERT INTO MOV (A) VALUES (3)"));
    ASSERT_TRUE(f.ConfirmarTransaccion());
    EXPECT_FALSE(f.ADOConnection().inTransaction());
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT A FROM MOV")), QStringLiteral("3"));

    // The general connection's transaction is its own.
    ASSERT_TRUE(f.IniciarTransaccion(&f.DatabaseGeneral()));
    EXPECT_FALSE(f.Database().inTransaction());
    f.EjecutarSQL(QStringLiteral("CREATE TABLE GMOV (A INTEGER)"), QStringLiteral("DatabaseGeneral"));
    ASSERT_TRUE(f.CancelarTransaccion(&f.DatabaseGeneral()));
    EXPECT_FALSE(f.DatabaseGeneral().tableExists(QStringLiteral("GMOV")));
}

TEST_F(ConexionesTest, AbrirDataSetCreatesAMissingTableFromItsDefinition)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    ASSERT_FALSE(f.DatabaseGeneral().tableExists(QStringLiteral("EMPRESA")));
    TablaComprobada empresa(QStringLiteral("Table1"), QStringLiteral("EMPRESA"), QStringLiteral("fPRUEBA"));
    ASSERT_TRUE(f.AbrirDataSet(empresa));
    EXPECT_EQ(empresa.nombreBaseDatos(), f.DatabaseGeneral().databaseName());
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre FROM EMPRESA"), QStringLiteral("DatabaseGeneral")),
              QStringLiteral("1|Empresa 1"));
    // Company 1's database came with it.
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("datos/1/datos.sqlite"))));
    const QStringList claves = f.DatabaseGeneral().keyFields(QStringLiteral("EMPRESA"));
    EXPECT_EQ(claves, QStringList{QStringLiteral("Codigo")});
}

TEST_F(ConexionesTest, ATableWithoutDefinitionIsLoggedAndAnswersFalse)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    mensajes_.limpiar();
    TablaComprobada ninguna(QStringLiteral("Table1"), QStringLiteral("NOEXISTE"), QStringLiteral("fPRUEBA"));
    EXPECT_FALSE(f.AbrirDataSet(ninguna));
    EXPECT_EQ(textosDeTipo(QStringLiteral("A")),
              QStringList{QStringLiteral("No se ha encontrado la definición de la tabla. Tabla: NOEXISTE")});
    QFile log(dir_.file(QStringLiteral("ERRORES.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(texto.contains(QStringLiteral("Al crear la tabla entrando en fGENEINIC (AperturaTablaOK)")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Tabla: NOEXISTE(Table1) DataBase: ")));
}

// No server, one error: the driver's reason once, and no attempt to create a database the
// server never said was missing.
TEST_F(ConexionesTest, AnUnreachableServerEndsTheStartUpWithTheDriversReason)
{
    general_ = QStringLiteral("gp_nadie");
    empresa_ = QStringLiteral("gp_nadie");
    for (const QString motor : {QStringLiteral("SQL Generica"), QStringLiteral("Microsoft SQL Server")}) {
        mensajes_.limpiar();
        configurarServidor(QStringLiteral("127.0.0.1,1"), QStringLiteral("postgres"));
        escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("TipoBaseDatos=%1\r\nAliasBaseDatos=%2\r\n").arg(motor, aliasEmpresa_));
        TfGENEINIC &f = arrancar();
        EXPECT_TRUE(f.ArranqueFallido);
        const QStringList errores = textosDeTipo(QStringLiteral("E"));
        ASSERT_EQ(errores.size(), 1) << motor.toStdString() << ": " << errores.join(u'|').toStdString();
        EXPECT_TRUE(errores[0].startsWith(kImposible));
        EXPECT_GT(errores[0].size(), kImposible.size() + 10);   // the driver said why
        EXPECT_FALSE(errores[0].contains(QStringLiteral("crear"))) << errores[0].toStdString();
        form_.reset();
        sesion_.closeAll();
    }
}

// A server engine reaches its databases only through ALIAS.INI: an alias missing from it, or
// no ALIAS.INI, ends the start-up naming both, and no folder database appears instead.
TEST_F(ConexionesTest, AMissingAliasIsAnErrorNeverAFolder)
{
    const QString alias = dir_.file(QStringLiteral("ALIAS.INI"));
    const struct
    {
        QString motor;
        QString aliasIni;   // empty: no ALIAS.INI
        QString esperado;
    } casos[] = {
        {QStringLiteral("SQL Generica"), QString(),
         QStringLiteral("El alias \"EMPRESA\" de SQL Generica no está definido en ") + alias
             + QStringLiteral(" (el archivo no existe).")},
        {QStringLiteral("SQL Generica"), QStringLiteral("[GENERAL]\nSERVER NAME=127.0.0.1,1\n"),
         QStringLiteral("El alias \"EMPRESA\" de SQL Generica no está definido en ") + alias + u'.'},
        {QStringLiteral("Microsoft SQL Server"), QStringLiteral("[GENERAL]\nSERVER NAME=127.0.0.1,1\n"),
         QStringLiteral("El alias \"EMPRESA\" de Microsoft SQL Server no está definido en ") + alias + u'.'},
    };
    for (const auto &c : casos) {
        mensajes_.limpiar();
        QFile::remove(alias);
        if (!c.aliasIni.isEmpty())
            escribir(QStringLiteral("ALIAS.INI"), c.aliasIni);
        escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("TipoBaseDatos=") + c.motor);
        TfGENEINIC &f = arrancar();
        EXPECT_TRUE(f.ArranqueFallido);
        EXPECT_EQ(textosDeTipo(QStringLiteral("E")).join(u'|').toStdString(), (kImposible + c.esperado).toStdString());
        EXPECT_FALSE(QFileInfo::exists(dir_.file(QStringLiteral("datos")))) << c.motor.toStdString();
        form_.reset();
        sesion_.closeAll();
    }
}

// Only the first run's datos/ and the companies' folders inside the general one are made
// without asking; a folder named in the settings that does not exist is a mistyped setting.
TEST_F(ConexionesTest, AMissingOrWindowsFolderIsReportedNotCreated)
{
    const QString falta = dir_.file(QStringLiteral("otro/datos"));
    const struct
    {
        QString basesDatos;
        QString aliasIni;
        QString esperado;
    } casos[] = {
        {QStringLiteral("PathBaseDatosGeneral=") + falta, QString(),
         QStringLiteral("Path not found.\n") + falta},
        {QString(), QStringLiteral("[EMPRESA]\nPATH=") + falta + u'\n', QStringLiteral("Path not found.\n") + falta},
        {QString(), QStringLiteral("[EMPRESA]\nPATH=C:\\GESTION\\DATOS\n"),
         QStringLiteral("El valor \"C:\\GESTION\\DATOS\" de PATH del alias \"EMPRESA\" en ") + dir_.file(QStringLiteral("ALIAS.INI"))
             + QStringLiteral(" es una ruta de Windows. Indique una carpeta de este sistema, con \"/\" como separador.")},
    };
    for (const auto &c : casos) {
        mensajes_.limpiar();
        escribir(QStringLiteral("BASESDATOS.TXT"), c.basesDatos);
        QFile::remove(dir_.file(QStringLiteral("ALIAS.INI")));
        if (!c.aliasIni.isEmpty())
            escribir(QStringLiteral("ALIAS.INI"), c.aliasIni);
        TfGENEINIC &f = arrancar();
        EXPECT_TRUE(f.ArranqueFallido);
        EXPECT_EQ(textosDeTipo(QStringLiteral("E")).join(u'|').toStdString(), (kImposible + c.esperado).toStdString());
        EXPECT_FALSE(QFileInfo::exists(falta));
        form_.reset();
        sesion_.closeAll();
    }
}

// One database of the start-up made and the other not: the message says which is new and
// empty, so that neither is left half-done without a word.
TEST_F(ConexionesTest, WhenOnlyOneDatabaseCouldBeMadeTheMessageSaysWhich)
{
    const QString falta = dir_.file(QStringLiteral("otro/general"));
    escribir(QStringLiteral("ALIAS.INI"), QStringLiteral("[EMPRESA]\nPATH=%1\n[GENERAL]\nPATH=%2\n")
                                              .arg(dir_.file(QStringLiteral("datos")), falta));
    TfGENEINIC &f = arrancar();
    EXPECT_TRUE(f.ArranqueFallido);
    EXPECT_EQ(textosDeTipo(QStringLiteral("E")).join(u'|').toStdString(),
              (kImposible + QStringLiteral("Path not found.\n") + falta
               + QStringLiteral("\nLa base de datos \"EMPRESA\" se ha creado en este arranque y queda vacía; "
                                "la base de datos \"GENERAL\" no se ha podido crear."))
                  .toStdString());
}

// A damaged structure file in the data folder: the start-up ends with its error, never
// silently. A file that cannot be read is named in the warning; one that reads but lacks the
// table gives the table alone.
TEST_F(ConexionesTest, ADamagedStructureFileIsNamedAndTheStartUpEndsWithAnError)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("datos")));
    const QString archivo = dir_.file(QStringLiteral("datos/DATABASE.TXT"));
    for (const QByteArray &contenido : {QByteArray("esto no es\r\nuna estructura\r\n"), QByteArray("\0\1\2\3", 4)}) {
        const bool legible = contenido.startsWith("esto");
        mensajes_.limpiar();
        QFile f(archivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenido);
        f.close();
        TfGENEINIC &f2 = arrancar();
        EXPECT_TRUE(f2.ArranqueFallido);
        const QStringList avisos = textosDeTipo(QStringLiteral("A"));
        ASSERT_FALSE(avisos.isEmpty());
        EXPECT_EQ(avisos.join(u'|').contains(archivo), !legible) << avisos.join(u'|').toStdString();
        if (legible)
            EXPECT_EQ(avisos, QStringList{QStringLiteral("No se ha encontrado la definición de la tabla. Tabla: CAMPOUSR")});
        const QStringList errores = textosDeTipo(QStringLiteral("E"));
        ASSERT_EQ(errores.size(), 1) << mensajes_.textos().join(u'|').toStdString();
        EXPECT_TRUE(errores[0].startsWith(kImposible + QStringLiteral("Table does not exist"))) << errores[0].toStdString();
        EXPECT_TRUE(errores[0].contains(QStringLiteral("Tabla: CAMPOUSR"))) << errores[0].toStdString();
        form_.reset();
        sesion_.closeAll();
    }
}

TEST_F(ConexionesTest, AFolderWithoutPermissionIsReportedWithTheSystemsReason)
{
    const QString cerrada = dir_.file(QStringLiteral("cerrada"));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("cerrada")));
    escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("PathBaseDatosGeneral=") + cerrada);
    gptest::quitarPermisos(cerrada);
    {
        gptest::PermisosDeUsuario comoUsuario;
        if (!gptest::PermisosDeUsuario::rigen(dir_.path()))
            GTEST_SKIP() << "file permissions do not hold for this process";
        TfGENEINIC &f = arrancar();
        EXPECT_TRUE(f.ArranqueFallido);
        EXPECT_EQ(textosDeTipo(QStringLiteral("E")).join(u'|').toStdString(),
                  (kImposible + QStringLiteral("Permission denied.\n") + cerrada).toStdString());
    }
    gptest::devolverPermisos(cerrada);
}

TEST_F(ConexionesTest, AnUnreadableAliasFileEndsTheStartUpWithTheSystemsReason)
{
    escribir(QStringLiteral("ALIAS.INI"), QStringLiteral("[EMPRESA]\nPATH=datos\n"));
    gptest::quitarPermisos(dir_.file(QStringLiteral("ALIAS.INI")));
    gptest::PermisosDeUsuario comoUsuario;
    if (!gptest::PermisosDeUsuario::rigen(dir_.path()))
        GTEST_SKIP() << "file permissions do not hold for this process";
    TfGENEINIC &f = arrancar();
    EXPECT_TRUE(f.ArranqueFallido);
    EXPECT_EQ(textosDeTipo(QStringLiteral("E")),
              QStringList{kImposible + QStringLiteral("No está disponible el archivo ") + dir_.file(QStringLiteral("ALIAS.INI"))
                          + QStringLiteral(". Motivo: Permission denied")});
}

TEST_F(ConexionesTest, PostgreSqlStartsCreatingBothDatabasesAndTheUserFieldsTable)
{
    if (!configurarPostgreSQL())
        GTEST_SKIP() << "no PostgreSQL test server";
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(f.DatabaseGeneral().tableExists(QStringLiteral("CAMPOUSR")));
    EXPECT_FALSE(f.Database().tableExists(QStringLiteral("CAMPOUSR")));
    // The port travels with the server name and survives the re-pointing.
    EXPECT_TRUE(f.Conexiones().servidor().contains(u','));
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
    f.ConectarBaseDatosEmpresa(1);
    EXPECT_EQ(f.Database().databaseName(), aliasEmpresa_ + u'1');
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT 1")), QStringLiteral("1"));

    // Two connections, each with its twin, in transactions of their own.
    f.EjecutarSQL(QStringLiteral("CREATE TABLE MOV (A INTEGER)"));
    f.EjecutarSQL(QStringLiteral("CREATE TABLE MOV (A INTEGER)"), QStringLiteral("DatabaseGeneral"));
    ASSERT_TRUE(f.IniciarTransaccion());
    ASSERT_TRUE(f.IniciarTransaccion(&f.DatabaseGeneral()));
    f.EjecutarSQL(QStringLiteral("INSERT INTO MOV (A) VALUES (1)"));
    f.EjecutarSQLADO(QStringLiteral("INSERT INTO MOV (A) VALUES (2)"));
    f.EjecutarSQL(QStringLiteral("INSERT INTO MOV (A) VALUES (3)"), QStringLiteral("DatabaseGeneral"));
    ASSERT_TRUE(f.CancelarTransaccion());
    ASSERT_TRUE(f.ConfirmarTransaccion(&f.DatabaseGeneral()));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM MOV")), QStringLiteral("0"));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT A FROM MOV"), QStringLiteral("DatabaseGeneral")), QStringLiteral("3"));
    // The general database's twin reaches the alias's database, not one named after the alias.
    EXPECT_EQ(f.EjecutarSQLADO(QStringLiteral("SELECT A FROM MOV"), QStringLiteral("DatabaseGeneral")), QStringLiteral("3"));
}

// An alias is one name whatever it holds: the start-up makes and opens its database, and the
// company's, named after it, is made and reached through the connection and its ADO twin.
TEST_F(ConexionesTest, AnAliasWithQuotesSemicolonsOrBlanksWorksLikeAnyOtherName)
{
    const char *const aliases[] = {"EMP'Q", "EMP\";DROP", "EMP Q", "EMP\\Q", "EMPÑ"};
    for (const bool postgres : {false, true}) {
        if (postgres && !configurarPostgreSQL())
            continue;
        for (const char *palabra : aliases) {
            mensajes_.limpiar();
            const QString alias = QString::fromUtf8(palabra) + (postgres ? general_.mid(4) : QString());
            if (postgres) {
                const auto pg = gptest::PgTestServer::fromEnvironment();
                aliasEmpresa_ = empresa_ = alias;   // the alias names its own database
                configurarServidor(pg.host + u',' + QString::number(pg.port), pg.user);
            } else {
                escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("AliasBaseDatos=") + alias + QStringLiteral("\r\n"));
            }
            TfGENEINIC &f = arrancar();
            ASSERT_FALSE(f.ArranqueFallido) << palabra << ": " << mensajes_.textos().join(u'\n').toStdString();
            ASSERT_TRUE(f.CrearBaseDatosEmpresa(1)) << palabra << ": " << mensajes_.textos().join(u'\n').toStdString();
            f.ConectarBaseDatosEmpresa(1);
            // On the embedded engine every alias reaches the same company folder.
            f.EjecutarSQL(QStringLiteral("CREATE TABLE MARCA (A INTEGER)"), QString(), QStringLiteral("Silenciosa"));
            f.EjecutarSQL(QStringLiteral("DELETE FROM MARCA"));
            f.EjecutarSQL(QStringLiteral("INSERT INTO MARCA (A) VALUES (7)"));
            EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT A FROM MARCA")), QStringLiteral("7")) << palabra;
            EXPECT_EQ(f.EjecutarSQLADO(QStringLiteral("SELECT A FROM MARCA")), QStringLiteral("7")) << palabra;
            if (postgres)
                EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT current_database()")), alias.toLower() + u'1') << palabra;
            EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << palabra;
            form_.reset();
            sesion_.closeAll();
        }
    }
}

// A database the server will not open ends the start-up with one message that names the
// setting and its value.
TEST_F(ConexionesTest, ADatabaseTheServerRefusesIsNamedByItsSetting)
{
    if (!configurarPostgreSQL())
        GTEST_SKIP() << "no PostgreSQL test server";
    const auto pg = gptest::PgTestServer::fromEnvironment();
    aliasEmpresa_ = QStringLiteral("PLANTILLA'0");
    empresa_ = QStringLiteral("template0");   // takes no connections
    configurarServidor(pg.host + u',' + QString::number(pg.port), pg.user);
    TfGENEINIC &f = arrancar();
    EXPECT_TRUE(f.ArranqueFallido);
    const QStringList errores = textosDeTipo(QStringLiteral("E"));
    ASSERT_EQ(errores.size(), 1) << errores.join(u'|').toStdString();
    EXPECT_TRUE(errores[0].startsWith(kImposible + QStringLiteral("AliasBaseDatos=PLANTILLA'0: ")))
        << errores[0].toStdString();
    EXPECT_TRUE(errores[0].contains(QStringLiteral("template0"))) << errores[0].toStdString();
}

// "SQL Generica" logs in with the alias's PASSWORD; the settings file's password replaces it
// only when it is not empty. The role of the test server takes nothing but its password,
// which holds ";" and "}" so that it must survive the connection strings too.
TEST_F(ConexionesTest, PostgreSqlUsesTheAliasPasswordUnlessTheSettingsFileGivesOne)
{
    const auto pg = gptest::PgTestServer::fromEnvironment();
    if (!configurarPostgreSQL() || pg.passwordUser.isEmpty())
        GTEST_SKIP() << "no PostgreSQL test server with a password role";
    const struct
    {
        const char *caso;
        QString passwordAlias;
        QString passwordKorvel;   // clear text; empty: none
    } casos[] = {
        {"alias", pg.password, QString()},
        {"settings file over the alias", QStringLiteral("otra"), pg.password},
    };
    for (const auto &c : casos) {
        mensajes_.limpiar();
        const QString servidor = pg.host + u',' + QString::number(pg.port);
        escribir(QStringLiteral("ALIAS.INI"),
                 QStringLiteral("[GENERAL]\nSERVER NAME=%1\nDATABASE NAME=%2\nUSER NAME=%3\nPASSWORD=%4\n"
                                "[%5]\nSERVER NAME=%1\nDATABASE NAME=%6\nUSER NAME=%3\nPASSWORD=%4\n")
                     .arg(servidor, general_, pg.passwordUser, c.passwordAlias, aliasEmpresa_, empresa_));
        escribir(QStringLiteral("KORVEL.INI"), QStringLiteral("[Microsoft SQL Server]\nPasswordInicioSesion=")
                                                   + (c.passwordKorvel.isEmpty() ? QString() : CifrarClave(c.passwordKorvel))
                                                   + u'\n');
        TfGENEINIC &f = arrancar();
        ASSERT_FALSE(f.ArranqueFallido) << c.caso << ": " << mensajes_.textos().join(u'\n').toStdString();
        EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << c.caso << ": " << mensajes_.textos().join(u'\n').toStdString();
        ASSERT_TRUE(f.CrearBaseDatosEmpresa(1)) << c.caso;
        f.ConectarBaseDatosEmpresa(1);
        EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT current_user")), pg.passwordUser) << c.caso;
        EXPECT_EQ(f.EjecutarSQLADO(QStringLiteral("SELECT 2")), QStringLiteral("2")) << c.caso;
        EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT 3"), QStringLiteral("DatabaseGeneral")), QStringLiteral("3")) << c.caso;
        form_.reset();
        sesion_.closeAll();
    }
}

TEST_F(ConexionesTest, PostgreSqlCreatesAMissingTableAndRollsBackAFailedCreation)
{
    if (!configurarPostgreSQL())
        GTEST_SKIP() << "no PostgreSQL test server";
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    TablaComprobada empresa(QStringLiteral("Table1"), QStringLiteral("EMPRESA"), QStringLiteral("fPRUEBA"));
    ASSERT_TRUE(f.AbrirDataSet(empresa));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT Codigo FROM EMPRESA"), QStringLiteral("DatabaseGeneral")),
              QStringLiteral("1"));
    EXPECT_EQ(f.DatabaseGeneral().keyFields(QStringLiteral("EMPRESA")), QStringList{QStringLiteral("Codigo")});

    // A definition the server refuses: the creation's transaction must not stay open.
    escribir(QStringLiteral("MALA.TXT"), QStringLiteral("MALA/C/1/A/ftInteger/0/*/|x\r\nMALA/C/2/A/ftInteger/0//|x\r\n"));
    mensajes_.limpiar();
    TablaComprobada mala(QStringLiteral("Table1"), QStringLiteral("MALA"), QStringLiteral("fPRUEBA"));
    mala.ponerBaseDatos(f.Database().databaseName(), &f.Database());
    EXPECT_THROW(f.CrearTabla(mala, dir_.file(QStringLiteral("MALA.TXT")) + u';', -1), gp::Abort);
    ASSERT_FALSE(textosDeTipo(QStringLiteral("A")).isEmpty());
    EXPECT_TRUE(textosDeTipo(QStringLiteral("A"))[0].startsWith(QStringLiteral("¡No es posible crear la tabla SQL (Paso 1)!. Motivo: ")));
    EXPECT_FALSE(f.Database().inTransaction());
    EXPECT_FALSE(f.DatabaseGeneral().inTransaction());
    EXPECT_FALSE(f.Database().tableExists(QStringLiteral("MALA")));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT 2")), QStringLiteral("2"));
}

} // namespace

namespace {

TEST_F(ConexionesTest, EveryStatementIsPreparedBeforeItRuns)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    // A SELECT's "=NULL" is read as IS NULL; with ForzarNULL, so is a comparison with "".
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT 5 WHERE NULL=NULL")), QStringLiteral("5"));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT 6 WHERE NULL = \"\""), QString(), QStringLiteral("ForzarNULL")),
              QStringLiteral("6"));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT 7 WHERE NULL = \"\"")), QString());
}

} // namespace

namespace {

// A component whose opening fails with a fixed engine text.
class TablaQueFalla : public TablaComprobada
{
public:
    TablaQueFalla(QString tabla, QString fallo)
        : TablaComprobada(QStringLiteral("Table1"), std::move(tabla), QStringLiteral("fPRUEBA")), fallo_(std::move(fallo))
    {
    }
    void abrir() override { throw gp::DatabaseError(fallo_); }

private:
    QString fallo_;
};

TEST_F(ConexionesTest, AnyOtherOpeningFailureIsLoggedShownAsAnErrorAndMarksTheTableForRebuilding)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    mensajes_.limpiar();
    TablaQueFalla rota(QStringLiteral("PROYECT"), QStringLiteral("Index is out of date.\nIndex corrupt"));
    EXPECT_FALSE(f.AbrirDataSet(rota));
    EXPECT_EQ(textosDeTipo(QStringLiteral("E")),
              QStringList{QStringLiteral("TRADUCIR: Index is out of date.\nIndex corrupt Tabla: PROYECT")});
    QFile log(dir_.file(QStringLiteral("ERRORES.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("Al entrar en fGENEINIC (AperturaTablaOK)")));
    QFile ini(dir_.file(QStringLiteral("KORVEL.INI")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(texto.contains(QStringLiteral("Reconstrucción Automática de Tablas")));
    EXPECT_TRUE(texto.contains(dir_.file(QStringLiteral("datos/PROYECT"))));
}

TEST_F(ConexionesTest, ATableOfAnotherCompanyIsCreatedInThatCompanysDatabase)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(2));
    f.ConectarBaseDatosEmpresa(1);
    TablaComprobada proyectos(QStringLiteral("Table1"), QStringLiteral("PROYECT"), QStringLiteral("fPRUEBA"));
    f.AsignarBaseDatos(proyectos, 2);
    ASSERT_TRUE(f.AbrirDataSet(proyectos));
    EXPECT_EQ(proyectos.nombreBaseDatos(), f.NombreBaseDatosEmpresa(2));
    EXPECT_EQ(f.EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM PROYECT"), f.NombreBaseDatosEmpresa(2)),
              QStringLiteral("0"));
    EXPECT_FALSE(f.Database().tableExists(QStringLiteral("PROYECT")));
}

} // namespace

