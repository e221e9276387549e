#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void Grabar(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Ficheros, CopiarFichero)
{
    gptest::TempDir dir;
    QByteArray contenido;
    for (int i = 0; i < 200000; ++i)
        contenido.append(static_cast<char>(i % 251));
    Grabar(dir.file(QStringLiteral("Origen.BIN")), contenido);
    Grabar(dir.file(QStringLiteral("destino.bin")), QByteArray(300000, 'x'));
    CopiarFichero(dir.file(QStringLiteral("ORIGEN.bin")), dir.file(QStringLiteral("destino.bin")));
    QFile copia(dir.file(QStringLiteral("destino.bin")));
    ASSERT_TRUE(copia.open(QIODevice::ReadOnly));
    EXPECT_EQ(copia.readAll(), contenido);

    EXPECT_THROW(CopiarFichero(dir.file(QStringLiteral("falta.bin")), dir.file(QStringLiteral("x.bin"))), gp::Error);
    EXPECT_THROW(CopiarFichero(dir.file(QStringLiteral("Origen.BIN")), dir.file(QStringLiteral("no/existe.bin"))),
                 gp::Error);
}

TEST(Ficheros, BorrarFicherosSinMayusculas)
{
    gptest::TempDir dir;
    for (const char *nombre : {"_QS1.tmp", "_qs2.TMP", "_QS3", "otro.tmp", "_QSX.dat"})
        Grabar(dir.file(QString::fromLatin1(nombre)), "x");
    const QString carpeta = dir.path() + QLatin1Char('/');

    EXPECT_TRUE(BorrarFicheros(carpeta + QStringLiteral("_QS?.tmp")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("_QS3"), QStringLiteral("_QSX.dat"), QStringLiteral("otro.tmp")}));

    EXPECT_TRUE(BorrarFicheros(carpeta + QStringLiteral("_qs*.*")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("otro.tmp")});

    EXPECT_TRUE(BorrarFicheros(carpeta + QStringLiteral("nada*.*")));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("TEMPDIR")));
    Grabar(dir.file(QStringLiteral("TEMP1")), "x");
    EXPECT_FALSE(BorrarFicheros(carpeta + QStringLiteral("TEMP*")));   // a folder among the matches
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("TEMP1"))));
}

TEST(Sistema, CarpetaTemporalYEjecutable)
{
    const QString temporal = DirectorioTemporal();
    EXPECT_TRUE(temporal.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(temporal).isDir());

    // The program's own folder, inside the shared one and closed to other users.
    const QString propia = DirectorioTemporalPropio();
    EXPECT_TRUE(propia.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(propia.startsWith(temporal));
    EXPECT_NE(propia, temporal);
    EXPECT_EQ(QFileInfo(propia).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup
                                                  | QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_EQ(DirectorioTemporalPropio(), propia);
    // Removed behind the program's back, it is made again.
    ASSERT_TRUE(QDir(propia).removeRecursively());
    EXPECT_TRUE(QFileInfo(DirectorioTemporalPropio()).isDir());

    const QString propio = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EXPECT_TRUE(EsEsteEjecutable(propio));
    EXPECT_TRUE(EsEsteEjecutable(propio.toUpper() + QStringLiteral(".EXE")));
    EXPECT_TRUE(EsEsteEjecutable(propio.left(4)));
    EXPECT_FALSE(EsEsteEjecutable(QStringLiteral("KORVEL.EXE")));
    EXPECT_FALSE(EsEsteEjecutable(QString()));
}

TEST(Sistema, LasCarpetasDeProgramasTerminadosSeBorranYLasDeLosVivosNo)
{
    gptest::TempDir sistema;
    const QByteArray tmpAnterior = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(sistema.path()));
    const auto restaurar = qScopeGuard([&] { qputenv("TMPDIR", tmpAnterior); });

    QProcess terminado;
    terminado.start(QStringLiteral("true"), {});
    ASSERT_TRUE(terminado.waitForStarted());
    const qint64 pidTerminado = terminado.processId();
    ASSERT_TRUE(terminado.waitForFinished());
    const QString muerta = sistema.file(QStringLiteral("gestion-proyectos-%1-abcdef").arg(pidTerminado));
    const QString viva = sistema.file(QStringLiteral("gestion-proyectos-%1-abcdef").arg(::getppid()));
    const QString ajena = sistema.file(QStringLiteral("otro-programa-%1").arg(pidTerminado));
    for (const QString &carpeta : {muerta, viva, ajena}) {
        ASSERT_TRUE(QDir().mkpath(carpeta));
        Grabar(carpeta + QStringLiteral("/pagina.html"), "<p>x</p>");
    }
    const QString propia = DirectorioTemporalPropio();
    Grabar(propia + QStringLiteral("pagina.html"), "<p>propia</p>");

    BorrarTemporalesDeProgramasTerminados();
    EXPECT_FALSE(QFileInfo::exists(muerta));
    EXPECT_TRUE(QFileInfo::exists(viva + QStringLiteral("/pagina.html")));
    EXPECT_TRUE(QFileInfo::exists(ajena + QStringLiteral("/pagina.html")));
    EXPECT_TRUE(QFileInfo::exists(propia + QStringLiteral("pagina.html")));
}

TEST(Sistema, GuidUsuarioYAdaptador)
{
    const QString guid = NuevoGUID();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"))
                    .match(guid)
                    .hasMatch())
        << qPrintable(guid);
    EXPECT_NE(NuevoGUID(), guid);
    EXPECT_FALSE(NombreUsuarioWindows().isEmpty());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{12}$")).match(DireccionAdaptadorRed()).hasMatch());
}

TEST(Sistema, DireccionIP)
{
    QString host, direccion, error;
    const bool ok = ObtenerDireccionIP(host, direccion, error);
    EXPECT_FALSE(host.isEmpty());
    if (ok) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(direccion).hasMatch());
        EXPECT_NE(direccion, QStringLiteral("127.0.0.1"));
    } else {
        EXPECT_TRUE(direccion.isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

// The links as sysfs shows them (read apart from the routines' own listing), by index.
struct EnlaceSysfs
{
    QString nombre;
    unsigned flags = 0;
    int tipo = 0;
    QString direccion;
};

std::map<int, EnlaceSysfs> EnlacesSysfs()
{
    std::map<int, EnlaceSysfs> enlaces;
    const auto leer = [](const QString &ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
    };
    const QDir red(QStringLiteral("/sys/class/net"));
    for (const QString &nombre : red.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString base = red.filePath(nombre) + u'/';
        EnlaceSysfs e{nombre, leer(base + "flags").toUInt(nullptr, 16), leer(base + "type").toInt(),
                      leer(base + "address")};
        enlaces[leer(base + "ifindex").toInt()] = e;
    }
    return enlaces;
}

TEST(Sistema, EnlacesRedComoLosMuestraElNucleo)
{
    const std::map<int, EnlaceSysfs> sysfs = EnlacesSysfs();
    if (sysfs.empty())
        GTEST_SKIP() << "sin /sys/class/net";
    const std::vector<EnlaceRed> enlaces = EnlacesRed();
    ASSERT_EQ(enlaces.size(), sysfs.size());
    auto esperado = sysfs.begin();
    QString primeraFisica = QStringLiteral("000000000000");
    for (const EnlaceRed &e : enlaces) {
        const EnlaceSysfs &s = (esperado++)->second;
        SCOPED_TRACE(qPrintable(s.nombre));
        EXPECT_EQ(e.nombre, s.nombre);
        EXPECT_EQ(e.activo, bool(s.flags & 0x1));
        EXPECT_EQ(e.bucleLocal, bool(s.flags & 0x8));
        EXPECT_EQ(e.tipoBucleLocal, s.tipo == 772);
        if (!e.direccionHardware.isEmpty()) {
            EXPECT_EQ(QString::fromLatin1(e.direccionHardware.toHex(':')), s.direccion);
        }
        QString digitos = s.direccion.toUpper();
        digitos.remove(u':');
        if (!(s.flags & 0x8) && digitos.size() == 12 && digitos != QStringLiteral("000000000000")
            && primeraFisica == QStringLiteral("000000000000"))
            primeraFisica = digitos;
    }
    // The first link by index that is not the loopback, up or not.
    EXPECT_EQ(DireccionAdaptadorRed(), primeraFisica);
}

TEST(Sistema, DireccionIPEsDeEsteOrdenador)
{
    QString host, direccion, error;
    if (!ObtenerDireccionIP(host, direccion, error))
        GTEST_SKIP() << qPrintable(error);
    EXPECT_EQ(host, QSysInfo::machineHostName());
    EXPECT_FALSE(direccion.startsWith(QStringLiteral("127.")));
    // Only an address of one of this machine's links can be bound.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ASSERT_EQ(inet_pton(AF_INET, direccion.toLatin1().constData(), &local.sin_addr), 1);
    const int socketPrueba = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(socketPrueba, 0);
    EXPECT_EQ(bind(socketPrueba, reinterpret_cast<const sockaddr *>(&local), sizeof local), 0) << qPrintable(direccion);
    close(socketPrueba);
}

TEST(Sistema, VersionDelNucleo)
{
    VersionWindows version;
    version.textoServicio = QStringLiteral("resto");
    ASSERT_TRUE(LeerVersionWindows(version));
    EXPECT_EQ(version.tamano, kTamanoVersionWindows);
    EXPECT_EQ(version.plataforma, kPlataformaLinux);
    EXPECT_GE(version.versionMayor, 2u);
    EXPECT_TRUE(version.textoServicio.isEmpty());
}

TEST(Sistema, EsperaProcesandoEventos)
{
    QElapsedTimer reloj;
    reloj.start();
    EsperarMilisegundos(0);
    EXPECT_LT(reloj.elapsed(), 20);

    bool disparado = false;
    QTimer::singleShot(5, [&] { disparado = true; });
    reloj.restart();
    EsperarMilisegundos(60);
    EXPECT_GE(reloj.elapsed(), 60);
    EXPECT_TRUE(disparado);
}

} // namespace
