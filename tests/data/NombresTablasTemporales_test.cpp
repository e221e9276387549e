#include "tests/support/ImprimirQString.h"
#include "GENEW/data/NombresTablasTemporales.h"
#include "GENEW/runtime/comun/Errores.h"
#include "tests/data/ConexionSQLitePrueba.h"
#include "tests/support/TempDir.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

// NOMBTTEM in memory, keyed by Contador like the real table; other sessions can be made
// to write rows in between through the hooks.
class AlmacenEnMemoria : public AlmacenNombresTemporales
{
public:
    struct Fila
    {
        QString largo;
        QString corto;
    };
    QMap<int, Fila> filas;
    int inserciones = 0;
    int lecturas = 0;
    std::function<void()> antesDeInsertar;
    bool rechazarTodo = false;
    // Every statement fails as an engine tells a server it cannot reach.
    bool sinServidor = false;
    // Reads fail as a table the login may not read.
    bool lecturaProhibida = false;

    std::optional<QString> buscar(const QString &nombreLargo) override
    {
        leer();
        for (auto it = filas.cbegin(); it != filas.cend(); ++it)   // lowest Contador first
            if (it->largo == nombreLargo)
                return it->corto;
        return std::nullopt;
    }
    int maximoContador() override
    {
        leer();
        return filas.isEmpty() ? 0 : filas.lastKey();
    }
    bool insertar(int contador, const QString &largo, const QString &corto) override
    {
        ++inserciones;
        if (antesDeInsertar)
            std::exchange(antesDeInsertar, nullptr)();
        if (sinServidor) {
            fallo_ = {true, kSinServidor, gp::DatabaseErrorKind::ConnectionLost};
            return false;
        }
        if (rechazarTodo || filas.contains(contador)) {
            fallo_ = {true, "Key violation", gp::DatabaseErrorKind::KeyViolation};
            return false;
        }
        filas.insert(contador, Fila{largo, corto});
        return true;
    }
    gp::Fallo ultimoFallo() const override { return fallo_; }

    static inline const QString kSinServidor = "connection to server failed: Connection refused";

private:
    void leer()
    {
        ++lecturas;
        if (sinServidor)
            throw gp::DatabaseError(kSinServidor, gp::DatabaseErrorKind::ConnectionLost);
        if (lecturaProhibida)
            throw gp::DatabaseError("permission denied for table nombttem");
    }

    gp::Fallo fallo_;
};

const QString MAC = "00A0C9142C7F";

} // namespace

TEST(NombresTablasTemporales, LongAndShortNamesAreBuiltFromTheirParts)
{
    EXPECT_EQ(NombreLargoTablaTemporal(MAC, "fPROYPROY", 2, 0, "ADMIN"), "TEMP_00A0C9142C7F_fPROYPROY_2_0_ADMIN");
    EXPECT_EQ(NombreCortoTablaTemporal(7, "fPROYPROY"), "TEMP000007_fPROYPROY");
    EXPECT_EQ(NombreCortoTablaTemporal(1234567, "X"), "TEMP1234567_X");
}

TEST(NombresTablasTemporales, TwoOwnersGetDistinctNamesAndTheSameLongNameGetsItsNameBack)
{
    AlmacenEnMemoria almacen;
    const QString largoA = NombreLargoTablaTemporal(MAC, "fPROYPROY", 1, 0, "ADMIN");
    const QString largoB = NombreLargoTablaTemporal(MAC, "fGENEBUSQ", 1, 0, "ADMIN");
    EXPECT_EQ(AbreviarNombreTablaTemporal(largoA, "fPROYPROY", almacen), "TEMP000001_fPROYPROY");
    EXPECT_EQ(AbreviarNombreTablaTemporal(largoB, "fGENEBUSQ", almacen), "TEMP000002_fGENEBUSQ");
    EXPECT_EQ(AbreviarNombreTablaTemporal(largoA, "fPROYPROY", almacen), "TEMP000001_fPROYPROY");
    EXPECT_EQ(almacen.filas.size(), 2);
    EXPECT_EQ(almacen.inserciones, 2);
}

TEST(NombresTablasTemporales, EachOwnerTableAndSessionHasItsOwnName)
{
    AlmacenEnMemoria almacen;
    const SesionTablasTemporales sesion{MAC, 3, "ANA"};
    EXPECT_EQ(NombreTablaTemporal("fPROYPROY", 1, sesion, almacen), "TEMP000001_fPROYPROY");
    EXPECT_EQ(NombreTablaTemporal("fPROYPROY", 2, sesion, almacen), "TEMP000002_fPROYPROY");
    EXPECT_EQ(NombreTablaTemporal("fPROYPROY", 1, {MAC, 3, "LUIS"}, almacen), "TEMP000003_fPROYPROY");
    EXPECT_EQ(NombreTablaTemporal("", 1, sesion, almacen), "TEMP000004_Unknown");
    EXPECT_EQ(NombreTablaTemporal("fPROYPROY", 1, sesion, almacen), "TEMP000001_fPROYPROY");
    EXPECT_EQ(almacen.filas.value(4).largo, "TEMP_00A0C9142C7F_Unknown_1_3_ANA");
}

TEST(NombresTablasTemporales, ShortNameIsCutToTwentyCharacters)
{
    AlmacenEnMemoria almacen;
    const QString nombre = AbreviarNombreTablaTemporal("TEMP_largo", "fGENEIMPRLISTADOS", almacen);
    EXPECT_EQ(nombre, "TEMP000001_fGENEIMPR");
    EXPECT_EQ(almacen.filas.first().corto, "TEMP000001_fGENEIMPRLISTADOS");
}

TEST(NombresTablasTemporales, KeyClashIsRetriedWithTheNextCounter)
{
    AlmacenEnMemoria almacen;
    // Another session takes counter 1 between our MAX and our INSERT.
    almacen.antesDeInsertar = [&] { almacen.filas.insert(1, {"TEMP_otra", "TEMP000001_fOTRO"}); };
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_nuestra", "fPROPIO", almacen), "TEMP000002_fPROPIO");
    EXPECT_EQ(almacen.inserciones, 2);
    EXPECT_EQ(almacen.filas.value(1).largo, "TEMP_otra");
}

TEST(NombresTablasTemporales, SameLongNameRegisteredMeanwhileIsTaken)
{
    AlmacenEnMemoria almacen;
    almacen.antesDeInsertar = [&] { almacen.filas.insert(1, {"TEMP_misma", "TEMP000001_fA"}); };
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_misma", "fA", almacen), "TEMP000001_fA");
    EXPECT_EQ(almacen.filas.size(), 1);
}

TEST(NombresTablasTemporales, StoreThatCannotBeWrittenEndsWithTheReason)
{
    AlmacenEnMemoria almacen;
    almacen.rechazarTodo = true;
    try {
        AbreviarNombreTablaTemporal("TEMP_x", "fA", almacen);
        FAIL() << "no name can be registered";
    } catch (const gp::DatabaseError &error) {
        EXPECT_TRUE(error.mensaje().contains("TEMP_x"));
        EXPECT_TRUE(error.mensaje().endsWith("Motivo: Key violation"));
    }
    EXPECT_EQ(almacen.inserciones, IntentosNombreTemporal);
}

TEST(NombresTablasTemporales, FailuresCarryTheirKindAndAnUnreachableServerIsAskedOnce)
{
    const auto fallo = [](AlmacenEnMemoria &almacen) {
        try {
            AbreviarNombreTablaTemporal("TEMP_x", "fA", almacen);
        } catch (const gp::DatabaseError &error) {
            return gp::Fallo{true, error.mensaje(), error.kind()};
        }
        return gp::Fallo{};
    };
    // The server gone: its own reason, its kind, one statement and no retries.
    AlmacenEnMemoria sinServidor;
    sinServidor.sinServidor = true;
    gp::Fallo f = fallo(sinServidor);
    ASSERT_TRUE(f);
    EXPECT_EQ(f.tipo, gp::DatabaseErrorKind::ConnectionLost);
    EXPECT_EQ(f.mensaje, AlmacenEnMemoria::kSinServidor);
    EXPECT_EQ(sinServidor.lecturas + sinServidor.inserciones, 1);

    // A server lost between the reads and the insert is not asked again either.
    AlmacenEnMemoria caido;
    caido.antesDeInsertar = [&caido] { caido.sinServidor = true; };
    f = fallo(caido);
    ASSERT_TRUE(f);
    EXPECT_EQ(f.tipo, gp::DatabaseErrorKind::ConnectionLost);
    EXPECT_EQ(f.mensaje, AlmacenEnMemoria::kSinServidor);
    EXPECT_EQ(caido.inserciones, 1);

    // A refused read names the table and keeps its kind (no row was written).
    AlmacenEnMemoria prohibido;
    prohibido.lecturaProhibida = true;
    f = fallo(prohibido);
    ASSERT_TRUE(f);
    EXPECT_EQ(f.tipo, gp::DatabaseErrorKind::Other);
    EXPECT_TRUE(f.mensaje.startsWith("¡Imposible asignar un nombre a la tabla temporal TEMP_x! Motivo: permission denied"))
        << f.mensaje.toStdString();
    EXPECT_EQ(prohibido.inserciones, 0);

    // Clashes that never end keep the last one's kind.
    AlmacenEnMemoria lleno;
    lleno.rechazarTodo = true;
    f = fallo(lleno);
    EXPECT_EQ(f.tipo, gp::DatabaseErrorKind::KeyViolation);
}

TEST(NombresTablasTemporales, StatementsAreTheProgramsOwn)
{
    EXPECT_EQ(AlmacenNombresTemporalesSQL::sentenciaBuscar("TEMP_O'X"),
              "SELECT NombreTablaTemporal FROM NOMBTTEM   WHERE NombreTablaTemporalOrg = 'TEMP_O''X' ORDER BY Contador");
    EXPECT_EQ(AlmacenNombresTemporalesSQL::sentenciaMaximo(), "SELECT MAX(Contador) FROM NOMBTTEM");
    EXPECT_EQ(AlmacenNombresTemporalesSQL::sentenciaInsertar(3, "TEMP_l", "TEMP000003_f"),
              "INSERT INTO NOMBTTEM VALUES (3, 'TEMP_l', 'TEMP000003_f')");
}

class NombresTablasTemporalesSQLite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(una.ejecutar("CREATE TABLE NOMBTTEM (Contador INTEGER NOT NULL PRIMARY KEY, "
                               "NombreTablaTemporalOrg VARCHAR(250), NombreTablaTemporal VARCHAR(40))"),
                  "");
    }
    AlmacenNombresTemporalesSQL almacenDe(gptest::ConexionSQLitePrueba &conexion)
    {
        return AlmacenNombresTemporalesSQL(
            [&conexion](const QString &sql, const QString &opciones) { return conexion.resultado(sql, opciones); });
    }

    gptest::TempDir dir;
    gptest::ConexionSQLitePrueba una{dir.file("general.sqlite")};
    gptest::ConexionSQLitePrueba otra{dir.file("general.sqlite")};
};

TEST_F(NombresTablasTemporalesSQLite, RowsAreWrittenPositionallyAndReadBack)
{
    AlmacenNombresTemporalesSQL almacen = almacenDe(una);
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_a", "fA", almacen), "TEMP000001_fA");
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_b", "fB", almacen), "TEMP000002_fB");
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_a", "fA", almacen), "TEMP000001_fA");
    EXPECT_EQ(una.ejecutar("SELECT Contador, NombreTablaTemporalOrg, NombreTablaTemporal FROM NOMBTTEM ORDER BY 1"),
              "1|TEMP_a|TEMP000001_fA\r\n2|TEMP_b|TEMP000002_fB");
}

TEST_F(NombresTablasTemporalesSQLite, LowestCounterWinsForALongNameRegisteredTwice)
{
    una.ejecutar("INSERT INTO NOMBTTEM VALUES (5, 'TEMP_d', 'TEMP000005_fD')");
    una.ejecutar("INSERT INTO NOMBTTEM VALUES (3, 'TEMP_d', 'TEMP000003_fD')");
    AlmacenNombresTemporalesSQL almacen = almacenDe(una);
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_d", "fD", almacen), "TEMP000003_fD");
}

TEST_F(NombresTablasTemporalesSQLite, TwoConnectionsAskingAtOnceGetDistinctNames)
{
    // The first connection reads MAX, then the second one registers its name before the
    // first one inserts: the first insert clashes on Contador and is retried.
    class AlmacenInterrumpido : public AlmacenNombresTemporalesSQL
    {
    public:
        using AlmacenNombresTemporalesSQL::AlmacenNombresTemporalesSQL;
        std::function<void()> interrupcion;
        int maximoContador() override
        {
            const int maximo = AlmacenNombresTemporalesSQL::maximoContador();
            if (interrupcion)
                std::exchange(interrupcion, nullptr)();
            return maximo;
        }
    };
    AlmacenInterrumpido primero([this](const QString &sql, const QString &o) { return una.resultado(sql, o); });
    AlmacenNombresTemporalesSQL segundo = almacenDe(otra);
    QString nombreSegundo;
    primero.interrupcion = [&] { nombreSegundo = AbreviarNombreTablaTemporal("TEMP_2", "fDos", segundo); };

    // It read MAX = 0 before the second one wrote counter 1, so it got 2 only by retrying.
    EXPECT_EQ(AbreviarNombreTablaTemporal("TEMP_1", "fUno", primero), "TEMP000002_fUno");
    EXPECT_EQ(nombreSegundo, "TEMP000001_fDos");
    EXPECT_EQ(otra.ejecutar("SELECT COUNT(*) FROM NOMBTTEM"), "2");
}
