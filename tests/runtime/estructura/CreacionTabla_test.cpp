#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/estructura/CreacionTabla.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"

#include <QMap>
#include <algorithm>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace estructura;

namespace {

class LectorEnMemoria : public LectorFicheros
{
public:
    QMap<QString, QString> ficheros;
    mutable QStringList leidos;
    bool existe(const QString &ruta) const override { return ficheros.contains(ruta); }
    bool leer(const QString &ruta, QString &texto, QString &motivo) const override
    {
        leidos << ruta;
        motivo = QStringLiteral("missing");
        texto = ficheros.value(ruta);
        return ficheros.contains(ruta);
    }
};

// Records what creation asks for, in order, and fails where a test says so.
class EjecutorFalso : public EjecutorCreacionTabla
{
public:
    LectorEnMemoria lector;
    QStringList registro;                       // every call that changes something
    QStringList mensajes;                       // "tipo:texto"
    QMap<QString, QStringList> tablas;          // existing tables per connection word
    QList<FilaCampoUsuario> filasCamposUsuario;
    bool camposUsuarioIlegibles = false;
    bool sinFicheroDefiniciones = false;
    QString sentenciaQueFalla;                  // a statement that begins with this text fails
    bool motorFalla = false;
    bool otroProcesoLaCrea = false;
    bool empresaFalla = false;
    int aperturasFallidas = 0;
    int cursor = 0;
    DefinicionesTabla definicionesCreadas;
    bool sqlServer = false;
    bool compruebaAlCrear = false;              // the engine checks under the lock as it creates
    bool existeEnServidor = false;              // the table is there, as that check finds it
    QStringList conLaSiguiente;                 // connections whose commit goes with the next statement

    void mostrarMensaje(const QString &tipo, const QString &texto) override { mensajes << tipo + ":" + texto; }
    void cursorEspera(bool activo) override { cursor += activo ? 1 : -1; }
    QString ficheroDefinicionesBaseDatos() override
    {
        if (sinFicheroDefiniciones)
            throw gp::Error("no general folder");
        return "datos/DATABASE.TXT";
    }
    const LectorFicheros &lectorFicheros() override { return lector; }
    QString nombreTablaTemporal(const QString &propietario, int numero) override
    {
        return QString("TEMP%1_%2").arg(numero, 6, 10, QChar('0')).arg(propietario);
    }
    QString nombreTablaSQL(const QString &tabla) override
    {
        return sqlServer && !tabla.contains("dbo.") ? "dbo." + tabla : tabla;
    }
    QString quitarPropietarioTabla(const QString &tabla) override
    {
        return sqlServer && tabla.count('.') == 1 ? tabla.section('.', 1) : tabla;
    }
    QString nombreIndice(const QString &tabla, const QString &indice) override
    {
        return indice == kIndicePrimario ? "Clave1" : indice;
    }
    void conectarBaseDatosAlt(const QString &alias, int empresa) override
    {
        registro << QString("alt:%1:%2").arg(alias).arg(empresa);
    }
    QStringList nombresTablas(const QString &conexion) override
    {
        registro << "lista:" + conexion;
        return tablas.value(conexion);
    }
    QString nombreBaseDatos(const QString &conexion) override { return conexion == kConexionGeneral ? "GENERAL" : "EMP1"; }
    QList<FilaCampoUsuario> camposUsuario() override
    {
        registro << "camposUsuario";
        if (camposUsuarioIlegibles)
            throw gp::DatabaseError("Table does not exist");
        return filasCamposUsuario;
    }
    void cerrarTabla(const TablaCreacion &) override {}
    void prepararTabla(const TablaCreacion &tabla, bool motorFicheros) override
    {
        registro << QString("preparar:%1:%2").arg(tabla.TableName, motorFicheros ? "ficheros" : "sql");
    }
    void terminarCreacion(const TablaCreacion &) override { registro << "terminar"; }
    bool abrirTablaExclusiva(const TablaCreacion &tabla) override
    {
        registro << "abrir:" + tabla.DatabaseName + ":" + tabla.TableName;
        return aperturasFallidas-- <= 0;
    }
    // Nested as a connection nests them: only the outermost start and commit reach the engine
    // ("begin", "commit"); inner ones are savepoints. Words and names of one database count as one.
    void iniciarTransaccion(const QString &conexion) override
    {
        registro << (profundidad[baseDe(conexion)]++ == 0 ? "begin:" : "savepoint:") + conexion;
    }
    void confirmarTransaccion(const QString &conexion) override
    {
        registro << (--profundidad[baseDe(conexion)] == 0 ? "commit:" : "release:") + conexion;
    }
    void deshacerTransaccion(const QString &conexion) override
    {
        registro << (--profundidad[baseDe(conexion)] == 0 ? "rollback:" : "rollback-savepoint:") + conexion;
    }
    QMap<QString, int> profundidad;
    QString baseDe(const QString &conexion)
    {
        return conexion == kConexionGeneral || conexion == kConexionEmpresa ? nombreBaseDatos(conexion) : conexion;
    }
    void ejecutarSentencia(const QString &baseDatos, const QString &sentencia) override
    {
        registro << "sql:" + baseDatos + ":" + sentencia;
        if (!sentenciaQueFalla.isEmpty() && sentencia.startsWith(sentenciaQueFalla))
            throw gp::DatabaseError("boom");
    }
    void ejecutarSQLSilencioso(const QString &baseDatos, const QString &sentencia) override
    {
        registro << "silencioso:" + baseDatos + ":" + sentencia;
    }
    void bloquearCreacion(const QString &conexion, const QString &tabla) override
    {
        registro << "bloquear:" + conexion + ":" + tabla;
        // Another process made the table while this one waited for the lock.
        if (otroProcesoLaCrea)
            tablas[conexion] << tabla;
    }
    void confirmarConLaSiguiente(const QString &conexion) override { conLaSiguiente << conexion; }
    bool creaSiFalta(const QString &) override { return compruebaAlCrear; }
    bool crearSiFalta(const QString &baseDatos, const QString &tabla, const QStringList &sentencias) override
    {
        registro << "siFalta:" + baseDatos + ":" + tabla + ":" + sentencias.join('|');
        if (!sentenciaQueFalla.isEmpty() && sentencias.join('|').contains(sentenciaQueFalla))
            throw gp::DatabaseError("boom");
        return !existeEnServidor;
    }
    bool crearTablaMotor(const TablaCreacion &tabla, const DefinicionesTabla &definiciones) override
    {
        registro << "motor:" + tabla.DatabaseName + ":" + tabla.TableName;
        if (motorFalla)
            throw gp::DatabaseError("Path not found");
        definicionesCreadas = definiciones;
        return !otroProcesoLaCrea;
    }
    void insertarEmpresa1(const TablaCreacion &tabla, const QString &nombre, const QString &abreviatura) override
    {
        registro << "empresa1:" + nombre + ":" + abreviatura;
        if (empresaFalla)
            throw gp::DatabaseError("Key violation");
    }
    void cancelarInsercion(const TablaCreacion &) override { registro << "cancelar"; }
    void crearBaseDatosEmpresa1() override { registro << "basedatos1"; }

    QStringList sentencias() const { return registro.filter(QRegularExpression("^(sql|silencioso):")); }
};

const QString kEstructura = UnirLineas({
    "EMPRESA/C/1/Codigo/ftInteger/0/*/|Empresas",
    "EMPRESA/C/2/Nombre/ftString/40//|Empresas",
    "EMPRESA/C/3/Abreviatura/ftString/10//|Empresas",
    "EMPRESA/I/1/<Primary>/Codigo//|Empresas",
    "PROYECT/C/1/Codigo/ftString/15/*/|Proyectos",
    "PROYECT/C/2/Descripcion/ftString/60//|Proyectos",
    "PROYECT/I/1/<Primary>/Codigo//|Proyectos",
    "PROYECT/I/2/Clave2/Descripcion/-/|Proyectos",
    "CAMPOUSR/C/1/NombreTabla/ftString/20/*/|Campos de usuario",
    "CAMPOUSR/C/2/NombreCampo/ftString/30/*/|Campos de usuario",
    "CAMPOUSR/I/1/<Primary>/NombreTabla;NombreCampo//|Campos de usuario",
});

class CrearTablaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ejecutor.lector.ficheros["datos/DATABASE.TXT"] = kEstructura;
        configuracion.Motor = plat::EngineKind::PostgreSQL;
        configuracion.FormatoFechaSQL = "mm/dd/yyyy";
        configuracion.PathArchivosTemporales = "GENERAL";
        configuracion.CodigoUsuario = "ANA";
    }

    bool crear(const QString &baseDatos, const QString &nombre, const QString &definicion = {}, int empresa = -1)
    {
        tabla = {baseDatos, nombre, "fPROYPROY"};
        return CrearTabla(tabla, definicion, empresa, configuracion, ejecutor);
    }

    EjecutorFalso ejecutor;
    ConfiguracionCreacion configuracion;
    TablaCreacion tabla;
};

} // namespace

TEST_F(CrearTablaTest, CompanyTableOnGenericSqlRunsItsStatementsInOneTransaction)
{
    EXPECT_TRUE(crear("EMP1", "PROYECT"));
    EXPECT_EQ(ejecutor.registro,
              QStringList({"lista:Database", "preparar:PROYECT:sql", "camposUsuario", "begin:Database",
                           "bloquear:Database:PROYECT", "lista:Database", "sql:EMP1:CREATE TABLE PROYECT (Codigo VARCHAR(15) DEFAULT '', Descripcion VARCHAR(60) "
                           "DEFAULT '' NULL, CONSTRAINT PROYECT_Clave1 PRIMARY KEY (Codigo))",
                           "sql:EMP1:CREATE INDEX PROYECT_Clave2 ON PROYECT (Descripcion) ", "commit:Database",
                           "terminar"}));
    EXPECT_TRUE(ejecutor.mensajes.isEmpty());
    EXPECT_EQ(ejecutor.cursor, 0);
}

// Two first starts at once: the one that waited for the lock finds the table made by the
// other and counts it as created, without a second CREATE and without a second company 1.
TEST_F(CrearTablaTest, ATableMadeMeanwhileByAnotherProcessCountsAsCreated)
{
    ejecutor.otroProcesoLaCrea = true;
    EXPECT_TRUE(crear("GENERAL", "EMPRESA"));
    EXPECT_TRUE(ejecutor.sentencias().isEmpty());
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(begin|bloquear|commit|rollback)")),
              QStringList({"begin:DatabaseGeneral", "bloquear:DatabaseGeneral:EMPRESA", "commit:DatabaseGeneral"}));
    EXPECT_TRUE(ejecutor.registro.filter("empresa1").isEmpty());
    EXPECT_TRUE(ejecutor.mensajes.isEmpty());

    ejecutor.registro.clear();
    configuracion.Motor = plat::EngineKind::SQLite;
    tabla = TablaCreacion{"datos", "EMPRESA", "fPRUEBA"};
    ejecutor.tablas.clear();
    EXPECT_TRUE(CrearTabla(tabla, QString(), -1, configuracion, ejecutor));
    EXPECT_TRUE(ejecutor.registro.contains("motor:datos:EMPRESA"));
    EXPECT_TRUE(ejecutor.registro.filter("empresa1").isEmpty());
}

TEST_F(CrearTablaTest, AnExistingTableIsLeftAlone)
{
    ejecutor.tablas[kConexionEmpresa] = QStringList({"ALGO", "proyect"});
    EXPECT_FALSE(crear("EMP1", "PROYECT"));
    EXPECT_EQ(ejecutor.registro, QStringList({"lista:Database"}));
    EXPECT_TRUE(ejecutor.mensajes.isEmpty());
}

TEST_F(CrearTablaTest, AFailingCreateTableRollsBackShowsWhyAndAborts)
{
    ejecutor.sentenciaQueFalla = "CREATE TABLE";
    EXPECT_THROW(crear("EMP1", "PROYECT"), gp::Abort);
    EXPECT_EQ(ejecutor.mensajes,
              QStringList({"A:¡No es posible crear la tabla SQL (Paso 1)!. Motivo: boom",
                           ":CREATE TABLE PROYECT (Codigo VARCHAR(15) DEFAULT '', Descripcion VARCHAR(60) DEFAULT '' "
                           "NULL, CONSTRAINT PROYECT_Clave1 PRIMARY KEY (Codigo))"}));
    EXPECT_TRUE(ejecutor.registro.contains("rollback:Database"));
    EXPECT_FALSE(ejecutor.registro.filter("commit").size());
    EXPECT_EQ(ejecutor.sentencias().size(), 1);   // no index after the failure
    EXPECT_EQ(ejecutor.cursor, 0);
}

TEST_F(CrearTablaTest, AFailingCreateIndexRollsBackShowsWhyAndAborts)
{
    ejecutor.sentenciaQueFalla = "CREATE INDEX";
    EXPECT_THROW(crear("EMP1", "PROYECT"), gp::Abort);
    EXPECT_EQ(ejecutor.mensajes, QStringList({"A:No es posible crear el índice en SQL. Mensaje: boom"}));
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(begin|commit|rollback)")),
              QStringList({"begin:Database", "rollback:Database"}));
}

TEST_F(CrearTablaTest, UserFieldsOfTheTableAreAddedAndUnknownTypesSkipped)
{
    configuracion.Motor = plat::EngineKind::SqlServer;
    ejecutor.sqlServer = true;
    ejecutor.filasCamposUsuario = {{"PROYECT", 1, "Color", "Alfanumerico", "20"},
                                   {"OTRA", 1, "Ajena", "Entero", "0"},
                                   {"dbo.PROYECT", 2, "Activo", "Logico", "1"},
                                   {"dbo.PROYECT", 3, "Peso", "Numerico", "0"}};
    EXPECT_TRUE(crear("EMP1", "dbo.PROYECT"));
    const QStringList sentencias = ejecutor.sentencias();
    ASSERT_FALSE(sentencias.isEmpty());
    EXPECT_EQ(sentencias.first(),
              "sql:EMP1:CREATE TABLE dbo.PROYECT (Codigo VARCHAR(15) DEFAULT '', Descripcion VARCHAR(60) DEFAULT '' "
              "NULL, Color VARCHAR(20) DEFAULT '' NULL, Peso DECIMAL(28,8) DEFAULT 0 NULL, "
              "CONSTRAINT PROYECT_Clave1 PRIMARY KEY (Codigo))");
    EXPECT_EQ(tabla.TableName, "dbo.PROYECT");
}

TEST_F(CrearTablaTest, UnreadableUserFieldsWarnAndTheTableIsBuiltWithout)
{
    ejecutor.camposUsuarioIlegibles = true;
    EXPECT_TRUE(crear("EMP1", "PROYECT"));
    EXPECT_EQ(ejecutor.mensajes, QStringList({"A:Se ha producido un error al incorporar los Campos de Usuario en la "
                                              "tabla: PROYECT. Motivo: Table does not exist"}));
    EXPECT_EQ(ejecutor.sentencias().size(), 2);
}

TEST_F(CrearTablaTest, GeneralTablesUseTheGeneralConnectionAndCampousrReadsNoUserFields)
{
    EXPECT_TRUE(crear("GENERAL", "CAMPOUSR"));
    EXPECT_TRUE(ejecutor.registro.contains("lista:DatabaseGeneral"));
    EXPECT_TRUE(ejecutor.registro.contains("begin:DatabaseGeneral"));
    EXPECT_TRUE(ejecutor.registro.contains("commit:DatabaseGeneral"));
    EXPECT_FALSE(ejecutor.registro.contains("camposUsuario"));
}

TEST_F(CrearTablaTest, NewEmpresaGetsCompanyOneUnlessTheUpdaterCreatesIt)
{
    // Company 1 goes into the creation's transaction, so that a program starting at the same
    // moment never finds EMPRESA without it: on a server and on the file engine alike.
    const auto enTransaccion = [this] {
        const QStringList r = ejecutor.registro.filter(QRegularExpression("^(begin|commit|empresa1|basedatos1)"));
        EXPECT_EQ(r, QStringList({"begin:DatabaseGeneral", "empresa1:Empresa 1:Empresa 1", "basedatos1",
                                  "commit:DatabaseGeneral"}));
    };
    EXPECT_TRUE(crear("GENERAL", "EMPRESA"));
    enTransaccion();
    ejecutor.registro.clear();
    ejecutor.tablas.clear();
    configuracion.Motor = plat::EngineKind::SQLite;
    tabla = TablaCreacion{"datos", "EMPRESA", "fPRUEBA"};
    EXPECT_TRUE(CrearTabla(tabla, QString(), -1, configuracion, ejecutor));
    enTransaccion();
    EXPECT_LT(ejecutor.registro.indexOf("motor:datos:EMPRESA"), ejecutor.registro.indexOf("empresa1:Empresa 1:Empresa 1"));

    ejecutor.registro.clear();
    tabla = {"GENERAL", "EMPRESA", "fGENEACTU"};
    EXPECT_TRUE(CrearTabla(tabla, {}, -1, configuracion, ejecutor));
    EXPECT_TRUE(ejecutor.registro.filter("empresa1").isEmpty());
}

TEST_F(CrearTablaTest, AFailedCompanyOneIsCancelledAndReported)
{
    ejecutor.empresaFalla = true;
    EXPECT_TRUE(crear("GENERAL", "EMPRESA"));
    EXPECT_TRUE(ejecutor.registro.contains("cancelar"));
    EXPECT_FALSE(ejecutor.registro.contains("basedatos1"));
    EXPECT_EQ(ejecutor.mensajes, QStringList({"E:¡ Imposible crear el registro de la empresa 1 !"}));
}

TEST_F(CrearTablaTest, WithoutDefinitionServerEnginesDoNothingAndTheFileEngineWarns)
{
    EXPECT_FALSE(crear("EMP1", "NINGUNA"));
    EXPECT_TRUE(ejecutor.sentencias().isEmpty());
    EXPECT_TRUE(ejecutor.mensajes.isEmpty());

    configuracion.Motor = plat::EngineKind::SQLite;
    EXPECT_FALSE(crear("datos/1", "NINGUNA"));
    // The table only: where the structure file lives is no business of the user.
    EXPECT_EQ(ejecutor.mensajes, QStringList({"A:No se ha encontrado la definición de la tabla. Tabla: NINGUNA"}));
    EXPECT_TRUE(ejecutor.registro.filter("motor").isEmpty());
}

TEST_F(CrearTablaTest, TheFileEngineGetsFieldAndIndexDefinitions)
{
    configuracion.Motor = plat::EngineKind::SQLite;
    EXPECT_TRUE(crear("datos/1", "PROYECT"));
    EXPECT_TRUE(ejecutor.registro.contains("preparar:PROYECT:ficheros"));
    EXPECT_TRUE(ejecutor.registro.contains("motor:datos/1:PROYECT"));
    ASSERT_EQ(ejecutor.definicionesCreadas.campos.size(), 2);
    ASSERT_EQ(ejecutor.definicionesCreadas.indices.size(), 2);
    EXPECT_EQ(ejecutor.definicionesCreadas.indices[0].nombre, "Clave1");
    EXPECT_TRUE(ejecutor.definicionesCreadas.indices[1].descendente);
    EXPECT_TRUE(ejecutor.sentencias().isEmpty());

    ejecutor.motorFalla = true;
    EXPECT_FALSE(crear("datos/1", "PROYECT"));
    EXPECT_EQ(ejecutor.mensajes, QStringList({"E:¡ Error creando la tabla PROYECT !. Motivo: Path not found"}));
}

TEST_F(CrearTablaTest, TemporaryTablesAreNamedAfterOwnerAndNumberDroppedFirstAndOpened)
{
    const QString definicion = UnirLineas({"Tabla Temporal 1", "/C/1/CodigoTemporal/ftInteger/0/*",
                                           "/C/2/Texto/ftString/30/", "/I/1/<Primary>/CodigoTemporal"});
    EXPECT_TRUE(crear("EMP1", "cualquiera", definicion));
    EXPECT_EQ(tabla.DatabaseName, "GENERAL");
    EXPECT_EQ(tabla.TableName, "TEMP000001_fPROYPROY");
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(lista|camposUsuario)")).size(), 0);
    EXPECT_EQ(ejecutor.sentencias(),
              QStringList({"silencioso:GENERAL:DROP TABLE TEMP000001_fPROYPROY",
                           "sql:GENERAL:CREATE TABLE TEMP000001_fPROYPROY (CodigoTemporal INTEGER DEFAULT 0, Texto "
                           "VARCHAR(30) DEFAULT '' NULL, CONSTRAINT TEMP000001_fPROYPROY_Clave1 PRIMARY KEY "
                           "(CodigoTemporal))"}));
    // The temporary database is the general one, so the transaction is there.
    EXPECT_TRUE(ejecutor.registro.contains("begin:DatabaseGeneral"));
    EXPECT_EQ(ejecutor.registro.last(), "abrir:GENERAL:TEMP000001_fPROYPROY");
}

TEST_F(CrearTablaTest, TemporaryTablesInAFolderUseTheFileEngine)
{
    configuracion.Motor = plat::EngineKind::SqlServer;
    configuracion.PathArchivosTemporales = "/tmp/gp";
    EXPECT_TRUE(crear("EMP1", "x", UnirLineas({"Tabla Temporal", "/C/1/A/ftInteger/0/*/", "/I/1/<Primary>/A"})));
    EXPECT_EQ(ejecutor.registro, QStringList({"preparar:TEMP000000_fPROYPROY:ficheros",
                                              "motor:/tmp/gp:TEMP000000_fPROYPROY", "terminar",
                                              "abrir:/tmp/gp:TEMP000000_fPROYPROY"}));
}

TEST_F(CrearTablaTest, ATemporaryTableThatDoesNotOpenIsRenamedForWindowsAuthentication)
{
    configuracion.Motor = plat::EngineKind::SqlServer;
    configuracion.AutenticacionWindows = true;
    ejecutor.sqlServer = true;
    ejecutor.aperturasFallidas = 1;
    EXPECT_TRUE(crear("EMP1", "x", UnirLineas({"Tabla Temporal", "/C/1/A/ftInteger/0/*/"})));
    EXPECT_EQ(ejecutor.registro.filter("abrir"),
              QStringList({"abrir:GENERAL:dbo.TEMP000000_fPROYPROY", "abrir:GENERAL:ANA.TEMP000000_fPROYPROY"}));
    EXPECT_TRUE(ejecutor.sentencias().contains(
        "sql:GENERAL:CREATE TABLE TEMP000000_fPROYPROY (A INTEGER DEFAULT 0, CONSTRAINT TEMP000000_fPROYPROY_Clave1 "
        "PRIMARY KEY (A))"));
}

TEST_F(CrearTablaTest, SecondCompanyTablesConnectTheAlternativeDatabase)
{
    configuracion.Motor = plat::EngineKind::SqlServer;
    ejecutor.sqlServer = true;
    EXPECT_TRUE(crear("?EMPRESA2", "dbo.PROYECT", {}, 2));
    EXPECT_EQ(ejecutor.registro.mid(0, 2), QStringList({"alt:EMPRESA2:2", "lista:DatabaseAlt"}));
    EXPECT_EQ(tabla.DatabaseName, "EMPRESA2");
    EXPECT_TRUE(ejecutor.sentencias().first().startsWith("sql:EMPRESA2:CREATE TABLE dbo.PROYECT ("));
}

TEST_F(CrearTablaTest, DefinitionFilesCanBeNamedOrMissing)
{
    ejecutor.lector.ficheros["otra/BASE.TXT"] = UnirLineas({"PROYECT/C/1/Otro/ftInteger/0/*/|P"});
    ejecutor.lector.ficheros["otra/BASE.ESP"] = UnirLineas({"PROYECT/C/1/Especifico/ftInteger/0/*/|P"});
    EXPECT_TRUE(crear("EMP1", "PROYECT", "otra/BASE.TXT;otra/BASE.ESP"));
    EXPECT_EQ(ejecutor.sentencias(), QStringList({"sql:EMP1:CREATE TABLE PROYECT (Especifico INTEGER DEFAULT 0, "
                                                  "CONSTRAINT PROYECT_Clave1 PRIMARY KEY (Especifico))"}));

    ejecutor.sinFicheroDefiniciones = true;
    EXPECT_FALSE(crear("EMP1", "PROYECT"));
    EXPECT_EQ(ejecutor.mensajes, QStringList({"E:¡ Imposible abrir el fichero de estructuras de la Base de Datos !"}));
}

TEST_F(CrearTablaTest, SpecificAndVariantFilesBesideTheStandardOneApply)
{
    ejecutor.lector.ficheros["datos/DATABASE.ESP"] = UnirLineas({"EMPRESA/C/1/Codigo/ftSmallint/0/*/|Propia"});
    ejecutor.lector.ficheros["datos/DATABASE.VRT"] =
        UnirLineas({"[Definiciones Complementarias]", "PROYECT/C/9/Extra/ftInteger/0//|Añadido"});
    EXPECT_TRUE(crear("EMP1", "PROYECT"));
    EXPECT_TRUE(ejecutor.sentencias().first().contains("Descripcion VARCHAR(60) DEFAULT '' NULL, Extra INTEGER "
                                                       "DEFAULT 0 NULL, CONSTRAINT"));
    EXPECT_TRUE(crear("GENERAL", "EMPRESA"));
    EXPECT_EQ(ejecutor.sentencias().last(),
              "sql:GENERAL:CREATE TABLE EMPRESA (Codigo SMALLINT DEFAULT 0, CONSTRAINT EMPRESA_Clave1 PRIMARY KEY (Codigo))");
}

// A first start on the file engine: the tables of one database are made in one transaction
// that starts (taking the lock two first starts meet on) before the first is checked, and
// reaches the engine's commit once; EMPRESA's own transaction nests inside it.
TEST_F(CrearTablaTest, ABatchCommitsTheTablesOfEachDatabaseOnce)
{
    configuracion.Motor = plat::EngineKind::SQLite;
    const auto engine = [this] {
        return ejecutor.registro.filter(QRegularExpression("^(begin|commit|rollback):"));
    };
    {
        LoteCreacion lote(ejecutor);
        for (const char *nombre : {"CAMPOUSR", "EMPRESA"}) {
            tabla = {"GENERAL", nombre, "fGENEINIC"};
            EXPECT_TRUE(CrearTabla(tabla, QString(), -1, configuracion, ejecutor, &lote)) << nombre;
        }
        EXPECT_EQ(engine(), QStringList({"begin:GENERAL"}));
        EXPECT_LT(ejecutor.registro.indexOf("begin:GENERAL"), ejecutor.registro.indexOf("motor:GENERAL:CAMPOUSR"));
        EXPECT_TRUE(ejecutor.registro.contains("empresa1:Empresa 1:Empresa 1"));

        // Turning to the company's database confirms the general one first.
        tabla = {"EMP1", "PROYECT", "fPROYMENU"};
        EXPECT_TRUE(CrearTabla(tabla, QString(), 1, configuracion, ejecutor, &lote));
        EXPECT_TRUE(lote.retiene());
        EXPECT_EQ(engine(), QStringList({"begin:GENERAL", "commit:GENERAL", "begin:EMP1"}));
    }
    EXPECT_EQ(engine(), QStringList({"begin:GENERAL", "commit:GENERAL", "begin:EMP1", "commit:EMP1"}));
    EXPECT_EQ(ejecutor.registro.filter("motor:").size(), 3);
    EXPECT_TRUE(ejecutor.mensajes.isEmpty());
}

// The start's tables read the definitions once for the batch; a file that could not be read
// is tried, and reported, again by the next table.
TEST_F(CrearTablaTest, ABatchReadsTheDefinitionsOnceUnlessTheyCouldNotBeRead)
{
    configuracion.Motor = plat::EngineKind::SQLite;
    {
        LoteCreacion lote(ejecutor);
        for (const char *nombre : {"PROYECT", "CAMPOUSR", "PROYECT"})
            CrearTabla(tabla = {"EMP1", nombre, "f"}, QString(), 1, configuracion, ejecutor, &lote);
        EXPECT_EQ(ejecutor.lector.leidos, QStringList({"datos/DATABASE.TXT"}));
    }
    ejecutor.lector.leidos.clear();
    ejecutor.lector.ficheros.remove("datos/DATABASE.TXT");
    {
        LoteCreacion lote(ejecutor);
        for (const char *nombre : {"PROYECT", "CAMPOUSR"})
            CrearTabla(tabla = {"EMP1", nombre, "f"}, QString(), 1, configuracion, ejecutor, &lote);
    }
    EXPECT_EQ(ejecutor.lector.leidos, QStringList({"datos/DATABASE.TXT", "datos/DATABASE.TXT"}));
    EXPECT_EQ(ejecutor.mensajes.filter("No está disponible").size(), 2);
    // Outside a batch every table reads them.
    ejecutor.lector.ficheros["datos/DATABASE.TXT"] = kEstructura;
    ejecutor.lector.leidos.clear();
    ejecutor.tablas.clear();
    crear("EMP1", "PROYECT");
    crear("EMP1", "CAMPOUSR");
    EXPECT_EQ(ejecutor.lector.leidos.size(), 2);
}

// The start's tables read CAMPOUSR once for the batch, each taking its own user fields; while
// it cannot be read, every table tries again and warns.
TEST_F(CrearTablaTest, ABatchReadsTheUserFieldsOnceUnlessTheyCouldNotBeRead)
{
    configuracion.Motor = plat::EngineKind::SQLite;
    ejecutor.filasCamposUsuario = {{"PROYECT", 1, "Color", "Alfanumerico", "20"},
                                   {"EMPRESA", 1, "Sede", "Alfanumerico", "30"}};
    const auto tieneCampo = [this](const char *campo) {
        return std::any_of(ejecutor.definicionesCreadas.campos.cbegin(), ejecutor.definicionesCreadas.campos.cend(),
                           [campo](const DefinicionCampo &c) { return c.nombre == QLatin1String(campo); });
    };
    {
        LoteCreacion lote(ejecutor);
        ejecutor.camposUsuarioIlegibles = true;
        CrearTabla(tabla = {"EMP1", "PROYECT", "f"}, QString(), 1, configuracion, ejecutor, &lote);
        EXPECT_FALSE(tieneCampo("Color"));
        ejecutor.camposUsuarioIlegibles = false;
        CrearTabla(tabla = {"EMP1", "PROYECT", "f"}, QString(), 1, configuracion, ejecutor, &lote);
        EXPECT_TRUE(tieneCampo("Color"));
        ejecutor.filasCamposUsuario.clear();   // read already: the batch keeps what it read
        CrearTabla(tabla = {"GENERAL", "EMPRESA", "fGENEINIC"}, QString(), -1, configuracion, ejecutor, &lote);
        EXPECT_TRUE(tieneCampo("Sede"));
        EXPECT_FALSE(tieneCampo("Color"));
    }
    EXPECT_EQ(ejecutor.registro.filter("camposUsuario").size(), 2);
    EXPECT_EQ(ejecutor.mensajes.filter("Campos de Usuario").size(), 1);
    // Outside a batch every table reads them.
    crear("EMP1", "PROYECT");
    crear("EMP1", "PROYECT");
    EXPECT_EQ(ejecutor.registro.filter("camposUsuario").size(), 4);
}

// The batch leaves out what is not a table of the start: temporary tables and the server
// engines keep their own transactions. A confirmed batch starts again with its next table.
TEST_F(CrearTablaTest, ABatchLeavesTemporaryAndServerTablesToTheirOwnTransactions)
{
    LoteCreacion lote(ejecutor);
    EXPECT_TRUE(CrearTabla(tabla = {"EMP1", "PROYECT", "f"}, QString(), 1, configuracion, ejecutor, &lote));
    EXPECT_FALSE(lote.retiene());
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(begin|commit):")),
              QStringList({"begin:Database", "commit:Database"}));

    configuracion.Motor = plat::EngineKind::SQLite;
    configuracion.PathArchivosTemporales = "/tmp/gp";
    ejecutor.registro.clear();
    EXPECT_TRUE(CrearTabla(tabla = {"EMP1", "x", "f"}, UnirLineas({"Tabla Temporal", "/C/1/A/ftInteger/0/*/"}), 1,
                           configuracion, ejecutor, &lote));
    EXPECT_FALSE(lote.retiene());
    EXPECT_TRUE(ejecutor.registro.filter(QRegularExpression("^(begin|commit):")).isEmpty());

    EXPECT_TRUE(CrearTabla(tabla = {"EMP1", "PROYECT", "f"}, QString(), 1, configuracion, ejecutor, &lote));
    lote.confirmar();
    EXPECT_TRUE(CrearTabla(tabla = {"EMP1", "CAMPOUSR", "f"}, QString(), 1, configuracion, ejecutor, &lote));
    lote.confirmar();
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(begin|commit):")),
              QStringList({"begin:EMP1", "commit:EMP1", "begin:EMP1", "commit:EMP1"}));
}

// Where the engine checks under the lock in the creation's own exchange, no check goes before
// the lock: a missing table is one call with its index and the commit; company 1 follows its
// table in the transaction; a table that is there is left alone, rows, company 1 and all;
// a failure of that exchange is undone and the long way names the statement that fails.
TEST_F(CrearTablaTest, WhereTheEngineChecksAsItCreatesTheTableIsMadeInOneCall)
{
    ejecutor.compruebaAlCrear = true;
    EXPECT_TRUE(crear("EMP1", "PROYECT"));
    EXPECT_EQ(ejecutor.registro,
              QStringList({"preparar:PROYECT:sql", "camposUsuario", "begin:Database", "bloquear:Database:PROYECT",
                           "siFalta:EMP1:PROYECT:CREATE TABLE PROYECT (Codigo VARCHAR(15) DEFAULT '', Descripcion "
                           "VARCHAR(60) DEFAULT '' NULL, CONSTRAINT PROYECT_Clave1 PRIMARY KEY (Codigo))|CREATE "
                           "INDEX PROYECT_Clave2 ON PROYECT (Descripcion) ",
                           "commit:Database", "terminar"}));
    EXPECT_EQ(ejecutor.conLaSiguiente, QStringList({"Database"}));

    ejecutor.registro.clear();
    ejecutor.conLaSiguiente.clear();
    EXPECT_TRUE(crear("GENERAL", "EMPRESA"));
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(siFalta|empresa1|commit)")),
              QStringList({ejecutor.registro.filter("siFalta").value(0), "empresa1:Empresa 1:Empresa 1",
                           "commit:DatabaseGeneral"}));
    EXPECT_TRUE(ejecutor.conLaSiguiente.isEmpty());

    for (const QString tablaExistente : {"PROYECT", "EMPRESA"}) {
        ejecutor.registro.clear();
        ejecutor.existeEnServidor = true;
        EXPECT_TRUE(crear(tablaExistente == "EMPRESA" ? "GENERAL" : "EMP1", tablaExistente));
        EXPECT_TRUE(ejecutor.registro.filter(QRegularExpression("^(sql|silencioso|empresa1|lista|rollback)")).isEmpty())
            << ejecutor.registro.join('\n').toStdString();
        EXPECT_EQ(ejecutor.registro.filter("commit").size(), 1);
        EXPECT_TRUE(ejecutor.mensajes.isEmpty());
    }

    ejecutor.registro.clear();
    ejecutor.existeEnServidor = false;
    ejecutor.sentenciaQueFalla = "CREATE INDEX";
    EXPECT_THROW(crear("EMP1", "PROYECT"), gp::Abort);
    EXPECT_EQ(ejecutor.registro.filter(QRegularExpression("^(begin|rollback|lista|commit)")),
              QStringList({"begin:Database", "rollback:Database", "begin:Database", "lista:Database", "rollback:Database"}));
    EXPECT_EQ(ejecutor.mensajes, QStringList({"A:No es posible crear el índice en SQL. Mensaje: boom"}));
    EXPECT_EQ(ejecutor.cursor, 0);
}
