#include "GENEW/runtime/GENEDIAG.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "tests/support/TempDir.h"

#include <QMap>
#include <QSettings>
#include <gtest/gtest.h>

#include <optional>

namespace {

// A Windows workstation: the registry in a QSettings file, the engine's configuration in a
// map, file dates as given. Every value right to start with.
class EntornoWindows : public EntornoDiagnostico
{
public:
    explicit EntornoWindows(const QString &fichero) : registro(fichero, QSettings::IniFormat)
    {
        registro.setValue(clave("\\SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions", "MaxAllowedZone"), "1");
        for (const char *ruta : {"\\DRIVERS\\PARADOX\\INIT\\", "\\DRIVERS\\MSSQL\\DB OPEN\\", "\\SYSTEM\\INIT\\"})
            configuracion[QString(ruta) + ";LANGDRIVER"] = "ascii";
        const QMap<QString, QString> buenos = {
            {"\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL", "7"},   {"\\DRIVERS\\PARADOX\\TABLE CREATE\\;BLOCK SIZE", "32768"},
            {"\\DRIVERS\\MSSQL\\INIT\\;MAX DBPROCESSES", "1000"}, {"\\DRIVERS\\MSSQL\\DB OPEN\\;BLOB SIZE", "999"},
            {"\\DRIVERS\\MSSQL\\DB OPEN\\;BLOBS TO CACHE", "65535"}, {"\\SYSTEM\\INIT\\;LOCAL SHARE", "TRUE"},
            {"\\SYSTEM\\INIT\\;MAXBUFSIZE", "4096"},             {"\\SYSTEM\\INIT\\;MAXFILEHANDLES", "99"},
            {"\\SYSTEM\\INIT\\;SHAREDMEMSIZE", "2048"},          {"\\SYSTEM\\INIT\\;SHAREDMEMLOCATION", "0x5BDE"}};
        configuracion.insert(buenos);
        for (const char *alias : {"GENERAL", "EMPRESA"}) {
            configuracion[QString("\\Databases\\%1\\DB OPEN\\;BLOB SIZE").arg(alias)] = "999";
            configuracion[QString("\\Databases\\%1\\DB OPEN\\;BLOBS TO CACHE").arg(alias)] = "65535";
        }
    }

    static QString clave(const QString &k, const QString &nombre) { return QString(k).replace('\\', '/') + '/' + nombre; }

    bool esWindows() const override { return true; }
    QString plataformaBase() const override { return base; }
    QString plataforma() const override { return nombre; }
    void ejecutarOculto(const QString &linea) override { ejecutados << linea; }
    bool leerRegistro(const QString &k, const QString &n, const QString &, QString &valor, QString &error) override
    {
        if (!registro.contains(clave(k, n))) {
            error = "El sistema no puede encontrar el archivo especificado";
            return false;
        }
        valor = registro.value(clave(k, n)).toString();
        return true;
    }
    bool escribirRegistro(const QString &k, const QString &n, const QString &, const QString &valor) override
    {
        registro.setValue(clave(k, n), valor);
        return true;
    }
    QString leerConfiguracion(const QString &ruta, const QString &p) override { return configuracion.value(ruta + ';' + p); }
    void escribirConfiguracion(const QString &ruta, const QString &p, const QString &valor) override
    {
        configuracion[ruta + ';' + p] = valor;
        escritos << ruta + ';' + p + '=' + valor;
    }
    QStringList aliasConfiguracion() override { return {"GENERAL", "EMPRESA", "OTRA"}; }
    QString directorioSistema() const override { return "C:\\WINDOWS\\SYSTEM"; }
    QDateTime fechaArchivo(const QString &ruta) const override { return fechas.value(ruta); }
    bool hayFuenteConCaracteres(const QString &) const override { return true; }
    QString programaAuxiliarAusente() const override { return {}; }

    QSettings registro;
    QMap<QString, QString> configuracion;
    QMap<QString, QDateTime> fechas;
    QString base = "Windows NT", nombre = "Windows 10";
    QStringList ejecutados, escritos;
};

// What the diagnosis showed in its viewer (caption, line break, report) and asked.
class VisorDiagnostico : public ::testing::Test
{
protected:
    void SetUp() override
    {
        visor_.emplace(TfGENEDIAG::Visor(), [this](const QString &texto, const QString &titulo) {
            mostrados_ << titulo + "\n" + texto;
        });
    }

    gptest::TempDir dir_;
    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada salida_{mensajes_};
    QStringList mostrados_;
    std::optional<Gancho<TfGENEDIAG::VisorInforme>::Instalacion> visor_;
};

class Diagnostico : public VisorDiagnostico
{
protected:
    bool diagnosticar(const QString &tema, const AjustesDiagnostico &a = kAjustes)
    {
        TfGENEDIAG f(entorno_, a);
        return f.DiagnosticarInstalacion(tema);
    }

    static inline const AjustesDiagnostico kAjustes{"GENERAL", "EMPRESA", "", "Latin1_General_CI_AS", "", {}, {}};
    EntornoWindows entorno_{dir_.file("registro.ini")};
};

TEST_F(Diagnostico, AWorkstationWithEveryValueRightShowsNothing)
{
    EXPECT_TRUE(diagnosticar("Configuracion,MotorBaseDatos"));
    EXPECT_TRUE(mostrados_.isEmpty());
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    EXPECT_EQ(entorno_.ejecutados, QStringList{"NET TIME /SET /YES"});   // MAXBUFSIZE 4096 passes
}

TEST_F(Diagnostico, TheReportNamesEachPlaceAndTheRepairPutsItRight)
{
    entorno_.registro.remove(EntornoWindows::clave("\\SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions", "MaxAllowedZone"));
    entorno_.base = "Windows 95";
    entorno_.registro.setValue(EntornoWindows::clave("\\SYSTEM\\CurrentcontrolSet\\Services\\VxD\\Vredir", "DiscardCacheonOpen"), "0");
    entorno_.registro.setValue(EntornoWindows::clave("\\SYSTEM\\CurrentcontrolSet\\Control\\FileSystem", "DriveWriteBehind"), "0");
    entorno_.configuracion["\\DRIVERS\\PARADOX\\INIT\\;LANGDRIVER"] = "";
    entorno_.configuracion["\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL"] = "4";
    entorno_.configuracion["\\SYSTEM\\INIT\\;SHAREDMEMLOCATION"] = "0x6BDE";
    entorno_.configuracion["\\Databases\\EMPRESA\\DB OPEN\\;BLOB SIZE"] = "32";
    entorno_.fechas["C:\\WINDOWS\\SYSTEM\\VREDIR.VXD"] = QDateTime(QDate(1997, 9, 11), QTime(0, 0));
    entorno_.fechas["C:\\WINDOWS\\SYSTEM\\VNETSUP.VXD"] = QDateTime(QDate(1997, 5, 31), QTime(0, 0));
    mensajes_.programarRespuestas({"SI"});

    EXPECT_FALSE(diagnosticar("Configuracion"));
    ASSERT_EQ(mostrados_.size(), 1);
    EXPECT_EQ(mostrados_.first().toStdString(),
              "Diagnóstico de la Instalación\n"
              "Las siguientes anomalías han sido detectadas en el Registro de Windows:\r\n\r\n"
              " - DiscardCacheonOpen=0 no es un valor correcto en \\SYSTEM\\CurrentcontrolSet\\Services\\VxD\\Vredir.\r\n"
              " - MaxAllowedZone en \\SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions, presenta el siguiente error: "
              "El sistema no puede encontrar el archivo especificado\r\n"
              "\r\n\r\n"
              "Las siguientes anomalías han sido detectadas en el archivo de configuración del BDE:\r\n\r\n"
              " - El valor del parámetro LANGDRIVER de la Direccion BDEAdministrator\\Configuration\\Drivers\\Native\\PARADOX "
              "no está asignado.\r\n"
              " - El valor LEVEL=4 de la Direccion BDEAdministrator\\Configuration\\Drivers\\Native\\PARADOX no es correcto "
              "(debería ser >= 5).\r\n"
              " - El valor BLOB SIZE=32 de la Direccion BDEAdministrator\\Databases\\EMPRESA no es correcto (debería ser >= 999).\r\n"
              " - El valor SHAREDMEMLOCATION=0x6BDE de la Direccion BDEAdministrator\\Configuration\\System\\INIT no es correcto "
              "(debería ser 0x5BDE).\r\n"
              "\r\n\r\n"
              "Las siguientes anomalías han sido detectadas en el Sistema Operativo: \r\n\r\n"
              "El archivo VREDIR.VXD debe ser actualizado.\r\n");
    EXPECT_TRUE(entorno_.ejecutados.isEmpty());   // the clock is set on the NT family only
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_EQ(mensajes_.mensajes().first().tipo, "C");
    EXPECT_EQ(mensajes_.mensajes().first().texto, kPreguntaReparacion);

    // The repair: the registry values, the matching aliases only, the language driver, and
    // the driver and system values with their repair values (MAXBUFSIZE 16384, though it passed).
    EXPECT_EQ(entorno_.registro.value(EntornoWindows::clave("\\SYSTEM\\CurrentControlSet\\Services\\VxD\\Vredir", "DiscardCacheonOpen")), "1");
    EXPECT_EQ(entorno_.registro.value(EntornoWindows::clave("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions", "MaxAllowedZone")), "1");
    EXPECT_EQ(entorno_.configuracion.value("\\Databases\\EMPRESA\\DB OPEN\\;BLOB SIZE"), "999");
    EXPECT_FALSE(entorno_.escritos.join(' ').contains("OTRA"));
    EXPECT_EQ(entorno_.configuracion.value("\\SYSTEM\\INIT\\;LANGDRIVER"), "BLLT1ES0");
    EXPECT_EQ(entorno_.configuracion.value("\\SYSTEM\\INIT\\;MAXBUFSIZE"), "16384");
    EXPECT_EQ(entorno_.configuracion.value("\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL"), "5");
}

TEST_F(Diagnostico, AnAddressWithoutSemicolonIsRefused)
{
    try {
        LeerValorBDE(entorno_, "\\SYSTEM\\INIT\\MAXBUFSIZE");
        FAIL() << "no error";
    } catch (const gp::Error &e) {
        EXPECT_EQ(e.mensaje(), "Invalid parameter passed tofunction.  There must be a semicolon delimited string passed.");
    }
}

TEST(DiagnosticoLinux, OnlyThisSystemsOwnLinesAndTheMissingAuxiliaryProgram)
{
    gptest::TempDir instalacion;
    EntornoDiagnosticoLinux entorno(instalacion.path());
    const ResultadoDiagnostico r = ComponerDiagnostico(entorno, {}, "Configuracion,MotorBaseDatos");
    EXPECT_TRUE(r.informe.startsWith("Las siguientes anomalías han sido detectadas en el Sistema Operativo: \r\n\r\n"))
        << r.informe.toStdString();
    EXPECT_TRUE(r.informe.contains("No se encuentra el programa auxiliar " + instalacion.path() + "/vktlext"))
        << r.informe.toStdString();
    EXPECT_FALSE(r.informe.contains("Registro de Windows"));
    EXPECT_FALSE(r.informe.contains("SQL Server"));
}

// The SQL Server the program is connected to, as the engine answers: what it was asked, and
// the rows it gives or its failure.
struct ServidorGrabado
{
    QStringList preguntas;
    std::optional<QList<QVariantList>> filas;   // none: the query fails

    ConsultaServidor consulta()
    {
        return [this](const QString &sql) {
            preguntas << sql;
            if (!filas)
                throw gp::DatabaseError("[FreeTDS][SQL Server]VIEW SERVER STATE permission was denied on object 'server'");
            return *filas;
        };
    }
};

// The engine's diagnosis as the program runs it: this system's environment, the server asked
// through the connection.
class AgenteSQLServer : public VisorDiagnostico
{
protected:
    AjustesDiagnostico ajustes(ServidorGrabado &servidor) const
    {
        return {"GENERAL", "EMPRESA", "Microsoft SQL Server 2019 (RTM) - 15.0.2000.5 (X64) Standard Edition (64-bit)",
                "Modern_Spanish_CI_AS", "SQLSERVERAGENT", plat::EngineKind::SqlServer, servidor.consulta()};
    }

    bool diagnosticar(const AjustesDiagnostico &a, const QString &tema = "MotorBaseDatos")
    {
        EntornoDiagnosticoLinux entorno(dir_.path());
        TfGENEDIAG f(entorno, a);
        return f.DiagnosticarInstalacion(tema);
    }

    static inline const QString kSeccion = "Diagnóstico de la Instalación\n"
                                           "Las siguientes anomalías han sido detectadas en Microsoft SQL Server y deben "
                                           "ser reconfiguradas manualmente: \r\n\r\n";
    static inline const QString kSentencia = "SELECT status FROM sys.dm_server_services "
                                             "WHERE servicename LIKE N'%Agent%' OR UPPER(filename) LIKE N'%SQLAGENT%'";
};

TEST_F(AgenteSQLServer, EachStateTheServerGivesAndWhatTheDiagnosisSaysOfIt)
{
    const QString noIniciado = kSeccion
        + "El servicio de Agente de SQL Server no está iniciado. Este servicio es necesario para realizar copias de "
          "seguridad periódicas.";
    struct Caso
    {
        const char *caso;
        std::optional<QList<QVariantList>> filas;
        QString estado;
        QString mostrado;   // empty: nothing shown, the check passed
    };
    const Caso casos[] = {
        {"stopped", QList<QVariantList>{{1}}, "Detenido", noIniciado},
        {"start pending", QList<QVariantList>{{2}}, "Iniciando", noIniciado},
        {"stop pending", QList<QVariantList>{{3}}, "Deteniendo", noIniciado},
        {"running", QList<QVariantList>{{4}}, "Iniciado", ""},
        {"running, as text", QList<QVariantList>{{"4"}}, "Iniciado", ""},
        {"continue pending", QList<QVariantList>{{5}}, "5", noIniciado},
        {"pause pending", QList<QVariantList>{{6}}, "6", noIniciado},
        {"paused", QList<QVariantList>{{7}}, "Pausado", noIniciado},
        {"no state", QList<QVariantList>{{QVariant()}}, "No disponible", noIniciado},
        {"the query fails", std::nullopt, "No disponible", noIniciado},
        {"no Agent row", QList<QVariantList>{}, "", ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.caso);
        ServidorGrabado servidor;
        servidor.filas = c.filas;
        const AjustesDiagnostico a = ajustes(servidor);
        EXPECT_EQ(EstadoServicio(a.servidor), c.estado);
        mostrados_.clear();
        EXPECT_EQ(diagnosticar(a), c.mostrado.isEmpty());
        EXPECT_EQ(mostrados_, c.mostrado.isEmpty() ? QStringList() : QStringList{c.mostrado});
        EXPECT_EQ(servidor.preguntas, QStringList(2, kSentencia));
    }
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());   // the engine's topic never offers the repair
}

TEST_F(AgenteSQLServer, AnAlertNotSetUpIsSaidOnlyOfAServerWithAnAgent)
{
    ServidorGrabado servidor;
    AjustesDiagnostico sinServicio = ajustes(servidor);
    sinServicio.nombreServicioAgente.clear();
    servidor.filas = QList<QVariantList>{{4}};
    EXPECT_FALSE(diagnosticar(sinServicio));
    ASSERT_EQ(mostrados_.size(), 1);
    EXPECT_EQ(mostrados_[0], kSeccion
                                 + "No tiene configurado el sistema de alerta sobre la actividad del Agente de SQL Server "
                                   "(Configuración de la Aplicación > Bases de Datos > Microsoft SQL Server)\r\n");
    servidor.filas = QList<QVariantList>{};
    EXPECT_TRUE(diagnosticar(sinServicio));
    EXPECT_EQ(mostrados_.size(), 1);
}

TEST_F(AgenteSQLServer, NoServerIsAskedOnOtherEnginesOnAnExpressEditionOrForTheConfiguration)
{
    ServidorGrabado servidor;
    servidor.filas = QList<QVariantList>{{1}};
    for (const plat::EngineKind motor : {plat::EngineKind::SQLite, plat::EngineKind::PostgreSQL}) {
        AjustesDiagnostico a = ajustes(servidor);
        a.motor = motor;
        EXPECT_TRUE(diagnosticar(a));
    }
    AjustesDiagnostico express = ajustes(servidor);
    express.versionSQLServer = "Microsoft SQL Server 2019 (RTM) - 15.0.2000.5 (X64) Express Edition (64-bit)";
    EXPECT_TRUE(diagnosticar(express));
    diagnosticar(ajustes(servidor), "Configuracion");
    EXPECT_TRUE(servidor.preguntas.isEmpty());
    for (const QString &mostrado : mostrados_)
        EXPECT_FALSE(mostrado.contains("SQL Server")) << mostrado.toStdString();
}

} // namespace
