// Users of the project master at the same moment, each a program of its own, on SQLite and
// PostgreSQL. Two users add a project, or a line to one project: both took the same next
// number, the one who saves second is numbered anew without a message. Many users adding as
// fast as they can all get their projects stored, under numbers that follow one another. The
// first saves of many programs into a new company, which make its tables on first use, show
// no message. Two copies of the program fill the window's work table each with their own.
#include "ProyectoMuestra.h"
#include "ProyectosFixture.h"
#include "tests/support/ImprimirQString.h"

#include <QProcess>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int kRondas = 50;
constexpr int kEsperaMs = 60000;

// One user's program (see AltaProyecto.cpp), driven a line at a time.
class Usuario
{
public:
    Usuario(const QString &nombre, const QString &carpeta, int empresa = 1) : nombre_(nombre)
    {
        programa_.setProgram(QStringLiteral(GP_ALTA_PROYECTO));
        programa_.setArguments({carpeta, QString::number(empresa)});
        programa_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        programa_.start();
    }
    ~Usuario()
    {
        if (programa_.state() == QProcess::NotRunning)
            return;
        ordenar(QStringLiteral("fin"));
        if (!programa_.waitForFinished(kEsperaMs))
            programa_.kill();
        programa_.waitForFinished();
    }

    const QString &nombre() const { return nombre_; }
    void ordenar(const QString &orden) { programa_.write((orden + u'\n').toUtf8()); }
    // The next line the program answers; empty when it said nothing in time.
    QString respuesta()
    {
        while (!programa_.canReadLine())
            if (!programa_.waitForReadyRead(kEsperaMs))
                return {};
        return QString::fromUtf8(programa_.readLine()).trimmed();
    }

private:
    QString nombre_;
    QProcess programa_;
};

class AltasSimultaneasTest : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        cargarProyectoMuestra();
        if (HasFatalFailure())
            return;
    }

    int contar(const QString &condicion) { return sql(QStringLiteral("SELECT COUNT(*) FROM PROYECT WHERE ") + condicion).toInt(); }

    // So many users, each a program of its own on that company; false unless all started
    // without a message.
    static bool arrancarVarios(std::vector<std::unique_ptr<Usuario>> &usuarios, int cuantos, const QString &prefijo,
                               const QString &carpeta, int empresa = 1)
    {
        for (int i = 1; i <= cuantos; ++i)
            usuarios.push_back(std::make_unique<Usuario>(prefijo + QString::number(i), carpeta, empresa));
        bool listos = true;
        for (auto &u : usuarios) {
            const QString respuesta = u->respuesta();
            EXPECT_EQ(respuesta, "listo") << u->nombre().toStdString();
            listos = listos && respuesta == QLatin1String("listo");
        }
        return listos;
    }
    // Every user told the order with their name after it, at once; then their answers.
    static QStringList ordenarTodos(std::vector<std::unique_ptr<Usuario>> &usuarios, const QString &orden)
    {
        for (auto &u : usuarios)
            u->ordenar(orden + u' ' + u->nombre());
        QStringList respuestas;
        for (auto &u : usuarios)
            respuestas << u->respuesta();
        return respuestas;
    }

    // Ana and Luis, each in a program of their own, both started.
    void arrancar()
    {
        usuarios_ = {std::make_unique<Usuario>(QStringLiteral("Ana"), dir_.path()),
                     std::make_unique<Usuario>(QStringLiteral("Luis"), dir_.path())};
        for (auto &u : usuarios_)
            ASSERT_EQ(u->respuesta(), "listo") << u->nombre().toStdString();
    }
    // Both are told one order (their name and the round follow it), then both answer.
    QStringList ordenarAmbos(const QString &orden, int ronda)
    {
        for (auto &u : usuarios_)
            u->ordenar(QStringLiteral("%1 %2 %3").arg(orden, u->nombre()).arg(ronda));
        QStringList respuestas;
        for (auto &u : usuarios_)
            respuestas << u->respuesta();
        return respuestas;
    }
    void grabarAmbos()
    {
        for (auto &u : usuarios_)
            u->ordenar(QStringLiteral("grabar"));
        for (auto &u : usuarios_)
            ASSERT_EQ(u->respuesta(), "grabado") << u->nombre().toStdString();
    }
    // The numbers stored under round's records of Ana and Luis, lowest first.
    QList<int> numerosDe(const QString &consulta, int ronda)
    {
        const QStringList filas = sql(consulta.arg(QStringLiteral("Ana %1").arg(ronda), QStringLiteral("Luis %1").arg(ronda)))
                                      .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QList<int> numeros;
        for (const QString &f : filas)
            numeros << f.toInt();
        std::sort(numeros.begin(), numeros.end());
        return numeros;
    }

    std::array<std::unique_ptr<Usuario>, 2> usuarios_;
};

TEST_P(AltasSimultaneasTest, TwoUsersTakingOneCodeBothSaveTheSecondUnderTheNext)
{
    const int antes = contar(QStringLiteral("1 = 1"));
    ASSERT_NO_FATAL_FAILURE(arrancar());
    for (int ronda = 1; ronda <= kRondas; ++ronda) {
        SCOPED_TRACE(ronda);
        const QStringList codigos = ordenarAmbos(QStringLiteral("numerar"), ronda);
        // Both read the same highest code: the case the numbering has to survive.
        ASSERT_EQ(codigos.value(0), QStringLiteral("numerado %1").arg(2 * ronda + 1));
        ASSERT_EQ(codigos.value(1), codigos.value(0));
        ASSERT_NO_FATAL_FAILURE(grabarAmbos());
        EXPECT_EQ(numerosDe(QStringLiteral("SELECT Codigo FROM PROYECT WHERE Descripcion IN ('%1', '%2')"), ronda),
                  (QList<int>{2 * ronda + 1, 2 * ronda + 2}));
    }
    EXPECT_EQ(contar(QStringLiteral("1 = 1")), antes + 2 * kRondas);
    EXPECT_EQ(sql("SELECT COUNT(DISTINCT Codigo) FROM PROYECT").toInt(), antes + 2 * kRondas);
}

TEST_P(AltasSimultaneasTest, TwoUsersAddingALineToOneProjectBothSaveTheSecondUnderTheNext)
{
    const auto lineas = [this] {
        return sql(QStringLiteral("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '1'")).toInt();
    };
    const int antes = lineas();
    ASSERT_NO_FATAL_FAILURE(arrancar());
    for (int ronda = 1; ronda <= kRondas; ++ronda) {
        SCOPED_TRACE(ronda);
        const QStringList tomadas = ordenarAmbos(QStringLiteral("capitulo 1"), ronda);
        const int siguiente = antes + 2 * ronda - 1;
        ASSERT_EQ(tomadas.value(0), QStringLiteral("anotado %1").arg(siguiente));
        ASSERT_EQ(tomadas.value(1), tomadas.value(0));
        ASSERT_NO_FATAL_FAILURE(grabarAmbos());
        EXPECT_EQ(numerosDe(QStringLiteral("SELECT Linea FROM LPROYECT WHERE CodigoProyecto = '1' AND "
                                           "Descripcion IN ('%1', '%2')"),
                            ronda),
                  (QList<int>{siguiente, siguiente + 1}));
    }
    EXPECT_EQ(lineas(), antes + 2 * kRondas);
    EXPECT_EQ(sql("SELECT COUNT(DISTINCT Linea) FROM LPROYECT WHERE CodigoProyecto = '1'").toInt(), antes + 2 * kRondas);
}

TEST_P(AltasSimultaneasTest, ManyUsersAddingAsFastAsTheyCanAllStoreUnderNumbersThatFollowOn)
{
    constexpr int kAltas = 200;
    for (const int cuantos : {8, 16}) {
        SCOPED_TRACE(cuantos);
        const int antes = contar(QStringLiteral("1 = 1"));
        int mayor = 0;   // the sample's codes are not all numbers
        for (const QString &codigo : sql("SELECT Codigo FROM PROYECT").split(QStringLiteral("\r\n")))
            mayor = std::max(mayor, codigo.toInt());
        const QString prefijo = QStringLiteral("U%1-").arg(cuantos);
        std::vector<std::unique_ptr<Usuario>> usuarios;
        ASSERT_TRUE(arrancarVarios(usuarios, cuantos, prefijo, dir_.path()));
        const QStringList respuestas = ordenarTodos(usuarios, QStringLiteral("altas %1").arg(kAltas));
        EXPECT_EQ(respuestas, QStringList(cuantos, QStringLiteral("altas")));
        for (auto &u : usuarios)
            EXPECT_EQ(contar(QStringLiteral("Descripcion LIKE '%1 %'").arg(u->nombre())), kAltas) << u->nombre().toStdString();
        // Every add stored once, numbered on from the highest number there was, no gap.
        const int total = cuantos * kAltas;
        EXPECT_EQ(contar(QStringLiteral("1 = 1")), antes + total);
        EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(DISTINCT Codigo), MIN(CAST(Codigo AS INTEGER)), "
                                     "MAX(CAST(Codigo AS INTEGER)) FROM PROYECT WHERE Descripcion LIKE '%1%'")
                          .arg(prefijo)),
                  QStringLiteral("%1|%2|%3").arg(total).arg(mayor + 1).arg(mayor + total));
    }
}

TEST_P(AltasSimultaneasTest, FirstSavesOfManyProgramsIntoANewCompanyShowNoMessage)
{
    constexpr int kRondasEmpresa = 20;
    constexpr int kProgramas = 8;
    for (int ronda = 1; ronda <= kRondasEmpresa; ++ronda) {
        SCOPED_TRACE(ronda);
        const int empresa = 100 + ronda;
        ASSERT_TRUE(form_->CrearBaseDatosEmpresa(empresa));
        std::vector<std::unique_ptr<Usuario>> usuarios;
        ASSERT_TRUE(arrancarVarios(usuarios, kProgramas, QStringLiteral("E%1-").arg(ronda), dir_.path(), empresa));
        // The first save of each: its tables are made as the statements meet them missing.
        EXPECT_EQ(ordenarTodos(usuarios, QStringLiteral("altas 1")), QStringList(kProgramas, QStringLiteral("altas")));
        usuarios.clear();
        EXPECT_EQ(sql("SELECT COUNT(DISTINCT Codigo) FROM PROYECT", form_->NombreBaseDatosEmpresa(empresa),
                      OpcionSQL::NoCrearTabla),
                  QString::number(kProgramas));
    }
}

TEST_P(AltasSimultaneasTest, TwoCopiesFillingTheWindowsWorkTableEachReadBackTheirOwn)
{
    std::vector<std::unique_ptr<Usuario>> copias;
    ASSERT_TRUE(arrancarVarios(copias, 2, QStringLiteral("Copia"), dir_.path()));
    for (int ronda = 1; ronda <= 3; ++ronda) {
        SCOPED_TRACE(ronda);
        EXPECT_EQ(ordenarTodos(copias, QStringLiteral("llenar 20")), QStringList(2, QStringLiteral("lleno")));
        EXPECT_EQ(ordenarTodos(copias, QStringLiteral("leer")),
                  (QStringList{QStringLiteral("leido / Copia1"), QStringLiteral("leido / Copia2")}));
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, AltasSimultaneasTest, ::testing::Values(false, true), NombreMotor);

} // namespace
