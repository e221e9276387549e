#include "platform/base/WholeFile.h"
#include "platform/base/Errores.h"
#include "tests/support/LimiteArchivos.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <functional>
#include <optional>

namespace {

const QByteArray kViejo = "el informe de ayer, que debe seguir entero";

// A folder that holds yesterday's file; what a write leaves there is looked at afterwards.
class WholeFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(escribir(destino(), kViejo)); }

    QString destino() const { return dir_.file(QStringLiteral("informe.pdf")); }
    static bool escribir(const QString &fichero, const QByteArray &bytes)
    {
        QFile f(fichero);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    static QByteArray leer(const QString &fichero)
    {
        QFile f(fichero);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no se puede leer)");
    }
    QStringList enCarpeta() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    }

    gptest::TempDir dir_;
};

const QByteArray kNuevo(200000, 'n');

QString porDispositivo(plat::WholeFileTarget &archivo)
{
    for (qsizetype hecho = 0; hecho < kNuevo.size(); hecho += 1000)
        archivo.device.write(kNuevo.mid(hecho, 1000));
    return {};
}

TEST_F(WholeFileTest, TheNewContentTakesTheNameOnlyWhenEveryPartSucceeded)
{
    const struct
    {
        const char *caso;
        std::function<QString(plat::WholeFileTarget &)> escribir;
        qint64 limite;          // bytes a file of this process may reach; 0: no limit
        const char *motivo;     // what the answer says after "<path>: "; null: it succeeds
    } casos[] = {
        {"through the device in small writes", porDispositivo, 0, nullptr},
        {"by name, as a library writes", [](plat::WholeFileTarget &archivo) {
             QFile f(archivo.path);
             return f.open(QIODevice::WriteOnly) && f.write(kNuevo) == kNuevo.size() ? QString() : f.errorString();
         }, 0, nullptr},
        {"the writer's own failure", [](plat::WholeFileTarget &archivo) {
             porDispositivo(archivo);
             return QStringLiteral("sin papel");
         }, 0, "sin papel"},
        {"a full disk half-way", porDispositivo, 50000, ""},
        {"a full disk at the first block", porDispositivo, 1, ""},
        {"a full disk ten bytes short of the end", porDispositivo, kNuevo.size() - 10, ""},
    };
    for (const auto &c : casos) {
        ASSERT_TRUE(escribir(destino(), kViejo));
        QString respuesta;
        {
            std::optional<gptest::LimiteArchivos> limite;
            if (c.limite > 0)
                limite.emplace(rlim_t(c.limite));
            respuesta = plat::writeWholeFile(destino(), c.escribir);
        }
        if (!c.motivo) {
            EXPECT_EQ(respuesta, QString()) << c.caso;
            EXPECT_EQ(leer(destino()), kNuevo) << c.caso;
        } else {
            const QString prefijo = destino() + QStringLiteral(": ");
            EXPECT_TRUE(respuesta.startsWith(prefijo)) << c.caso << ": " << respuesta.toStdString();
            if (*c.motivo)
                EXPECT_EQ(respuesta, prefijo + QString::fromUtf8(c.motivo)) << c.caso;
            else   // the system's reason
                EXPECT_GT(respuesta.size(), prefijo.size() + 3) << c.caso << ": " << respuesta.toStdString();
            EXPECT_EQ(leer(destino()), kViejo) << c.caso;
        }
        EXPECT_EQ(enCarpeta(), QStringList{"informe.pdf"}) << c.caso;
    }
}

TEST_F(WholeFileTest, AWriterThatThrowsLeavesTheOldFileAndNothingElse)
{
    EXPECT_THROW(plat::writeWholeFile(destino(),
                                      [](plat::WholeFileTarget &archivo) -> QString {
                                          porDispositivo(archivo);
                                          throw gp::Error(QStringLiteral("la tabla se ha cerrado"));
                                      }),
                 gp::Error);
    EXPECT_EQ(leer(destino()), kViejo);
    EXPECT_EQ(enCarpeta(), QStringList{"informe.pdf"});
}

TEST_F(WholeFileTest, AFolderOrAMissingFolderIsRefusedBeforeTheWriterRuns)
{
    bool llamado = false;
    const auto escritor = [&llamado](plat::WholeFileTarget &) {
        llamado = true;
        return QString();
    };
    for (const QString &destino : {dir_.path(), dir_.file(QStringLiteral("no/existe.pdf"))}) {
        const QString respuesta = plat::writeWholeFile(destino, escritor);
        EXPECT_TRUE(respuesta.startsWith(destino + QStringLiteral(": "))) << respuesta.toStdString();
        EXPECT_GT(respuesta.size(), destino.size() + 3);
    }
    EXPECT_FALSE(llamado);
    EXPECT_EQ(enCarpeta(), QStringList{"informe.pdf"});
}

TEST_F(WholeFileTest, ACopyIsWholeOrNotAtAll)
{
    const QString origen = dir_.file(QStringLiteral("origen.bin"));
    ASSERT_TRUE(escribir(origen, kNuevo));
    {
        gptest::LimiteArchivos limite(50000);
        EXPECT_TRUE(plat::copyWholeFile(origen, destino()).startsWith(destino() + QStringLiteral(": ")));
    }
    EXPECT_EQ(leer(destino()), kViejo);

    const QString ausente = dir_.file(QStringLiteral("ausente.bin"));
    EXPECT_TRUE(plat::copyWholeFile(ausente, destino()).startsWith(ausente + QStringLiteral(": ")));
    EXPECT_EQ(leer(destino()), kViejo);

    EXPECT_EQ(plat::copyWholeFile(origen, destino()), QString());
    EXPECT_EQ(leer(destino()), kNuevo);
    EXPECT_EQ(enCarpeta(), (QStringList{"informe.pdf", "origen.bin"}));
}

} // namespace
