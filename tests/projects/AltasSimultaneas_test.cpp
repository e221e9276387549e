// Two users add a project at the same moment: both took the same next code, the one who
// saves second is numbered anew without a message. No project is lost and no code is
// taken twice, round after round, on SQLite and PostgreSQL; each user is a program of its own.
#include "ProyectoMuestra.h"
#include "ProyectosFixture.h"
#include "tests/support/ImprimirQString.h"

#include <QProcess>
#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr int kRondas = 50;
constexpr int kEsperaMs = 60000;

// One user's program (see AltaProyecto.cpp), driven a line at a time.
class Usuario
{
public:
    Usuario(const QString &nombre, const QString &carpeta) : nombre_(nombre)
    {
        programa_.setProgram(QStringLiteral(GP_ALTA_PROYECTO));
        programa_.setArguments({carpeta});
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
        for (const QString &sentencia : SentenciasProyectoMuestra())
            ASSERT_EQ(sql(sentencia), QString()) << sentencia.toStdString();
    }

    int contar(const QString &condicion) { return sql(QStringLiteral("SELECT COUNT(*) FROM PROYECT WHERE ") + condicion).toInt(); }
};

TEST_P(AltasSimultaneasTest, TwoUsersTakingOneCodeBothSaveTheSecondUnderTheNext)
{
    const int antes = contar(QStringLiteral("1 = 1"));
    std::array<std::unique_ptr<Usuario>, 2> usuarios{std::make_unique<Usuario>(QStringLiteral("Ana"), dir_.path()),
                                                     std::make_unique<Usuario>(QStringLiteral("Luis"), dir_.path())};
    for (auto &u : usuarios)
        ASSERT_EQ(u->respuesta(), "listo") << u->nombre().toStdString();

    for (int ronda = 1; ronda <= kRondas; ++ronda) {
        SCOPED_TRACE(ronda);
        QStringList codigos;
        for (auto &u : usuarios)
            u->ordenar(QStringLiteral("numerar %1 %2").arg(u->nombre()).arg(ronda));
        for (auto &u : usuarios)
            codigos << u->respuesta();
        // Both read the same highest code: the case the numbering has to survive.
        ASSERT_EQ(codigos.value(0), QStringLiteral("numerado %1").arg(2 * ronda + 1));
        ASSERT_EQ(codigos.value(1), codigos.value(0));
        for (auto &u : usuarios)
            u->ordenar(QStringLiteral("grabar"));
        for (auto &u : usuarios)
            ASSERT_EQ(u->respuesta(), "grabado") << u->nombre().toStdString();
        const QString ana = QStringLiteral("Ana %1").arg(ronda), luis = QStringLiteral("Luis %1").arg(ronda);
        QStringList guardados = sql(QStringLiteral("SELECT Codigo FROM PROYECT WHERE Descripcion IN ('%1', '%2')")
                                        .arg(ana, luis))
                                    .split(QStringLiteral("\r\n"));
        std::sort(guardados.begin(), guardados.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        EXPECT_EQ(guardados, (QStringList{QString::number(2 * ronda + 1), QString::number(2 * ronda + 2)}));
    }
    EXPECT_EQ(contar(QStringLiteral("1 = 1")), antes + 2 * kRondas);
    EXPECT_EQ(sql("SELECT COUNT(DISTINCT Codigo) FROM PROYECT").toInt(), antes + 2 * kRondas);
}

INSTANTIATE_TEST_SUITE_P(Motores, AltasSimultaneasTest, ::testing::Values(false, true), NombreMotor);

} // namespace
