#include "GENEW/runtime/comun/RutinasSistema.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <pwd.h>
#include <signal.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

QRegularExpression ExpresionDeMascara(const QString &patron)
{
    // "name.*" also matches "name" without extension, as the system's masks do.
    QString base = patron;
    const bool extensionOpcional = base.endsWith(QStringLiteral(".*"));
    if (extensionOpcional)
        base.chop(2);
    QString expresion;
    for (const QChar c : base) {
        if (c == QLatin1Char('*'))
            expresion += QStringLiteral(".*");
        else if (c == QLatin1Char('?'))
            expresion += QLatin1Char('.');
        else
            expresion += QRegularExpression::escape(QString(c));
    }
    if (extensionOpcional)
        expresion += QStringLiteral("(\\..*)?");
    return QRegularExpression(QRegularExpression::anchoredPattern(expresion),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

QString ProgramaEnEjecucion()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString SinExtension(const QString &nombre)
{
    const QString fichero = QFileInfo(nombre).fileName();
    const qsizetype punto = fichero.lastIndexOf(QLatin1Char('.'));
    return punto > 0 ? fichero.left(punto) : fichero;
}

} // namespace

void CopiarFichero(const QString &origen, const QString &destino)
{
    QFile entrada(LocalizarFichero(origen));
    if (!entrada.open(QIODevice::ReadOnly))
        throw gp::Error(QStringLiteral("Cannot open file \"%1\". %2").arg(origen, entrada.errorString()));
    QFile salida(destino);
    if (!salida.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw gp::Error(QStringLiteral("Cannot create file \"%1\". %2").arg(destino, salida.errorString()));
    while (!entrada.atEnd()) {
        const QByteArray bloque = entrada.read(1 << 16);
        if (bloque.isEmpty() && entrada.error() != QFileDevice::NoError)
            throw gp::Error(QStringLiteral("Read error on \"%1\". %2").arg(origen, entrada.errorString()));
        if (salida.write(bloque) != bloque.size())
            throw gp::Error(QStringLiteral("Write error on \"%1\". %2").arg(destino, salida.errorString()));
    }
    if (!salida.flush())
        throw gp::Error(QStringLiteral("Write error on \"%1\". %2").arg(destino, salida.errorString()));
}

bool BorrarFicheros(const QString &mascara)
{
    const qsizetype barra = mascara.lastIndexOf(QLatin1Char('/'));
    const QString carpeta = barra < 0 ? QString() : mascara.left(barra + 1);
    const QRegularExpression patron = ExpresionDeMascara(mascara.mid(barra + 1));
    const QDir dir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta);
    const QStringList entradas =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    bool todoBorrado = true;
    for (const QString &entrada : entradas) {
        if (!patron.match(entrada).hasMatch())
            continue;
        const QString ruta = carpeta + entrada;
        if (QFileInfo(ruta).isDir() || !QFile::remove(ruta))
            todoBorrado = false;
    }
    return todoBorrado;
}

namespace {

const QString kPrefijoCarpetaPrograma = QStringLiteral("gestion-proyectos-");

QString conBarra(QString carpeta)
{
    if (!carpeta.endsWith(QLatin1Char('/')))
        carpeta += QLatin1Char('/');
    return carpeta;
}

// One folder per system temporary folder the program has seen (TMPDIR may change while it
// runs); each is removed with everything in it when the program ends.
class CarpetasDelPrograma
{
public:
    QString carpetaEn(const QString &base)
    {
        const std::lock_guard<std::mutex> cerrojo(mutex_);
        std::unique_ptr<QTemporaryDir> &carpeta = porBase_[base];
        if (!carpeta || !carpeta->isValid() || !QFileInfo(carpeta->path()).isDir())
            carpeta = std::make_unique<QTemporaryDir>(
                base + kPrefijoCarpetaPrograma + QString::number(QCoreApplication::applicationPid())
                + QStringLiteral("-XXXXXX"));
        return carpeta->isValid() ? conBarra(carpeta->path()) : base;
    }

private:
    std::mutex mutex_;
    std::map<QString, std::unique_ptr<QTemporaryDir>> porBase_;
};

CarpetasDelPrograma &carpetasDelPrograma()
{
    static CarpetasDelPrograma carpetas;
    return carpetas;
}

bool procesoVivo(qint64 pid)
{
    return pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString DirectorioTemporal()
{
    return conBarra(QDir::tempPath());
}

QString DirectorioTemporalPropio()
{
    return carpetasDelPrograma().carpetaEn(DirectorioTemporal());
}

void BorrarTemporalesDeProgramasTerminados()
{
    static const QRegularExpression nombre(QStringLiteral("^") + QRegularExpression::escape(kPrefijoCarpetaPrograma)
                                           + QStringLiteral("(\\d+)-[^/]+$"));
    const QFileInfoList carpetas = QDir(DirectorioTemporal())
                                       .entryInfoList({kPrefijoCarpetaPrograma + QStringLiteral("*")},
                                                      QDir::Dirs | QDir::NoSymLinks | QDir::Hidden);
    for (const QFileInfo &carpeta : carpetas) {
        const QRegularExpressionMatch m = nombre.match(carpeta.fileName());
        if (!m.hasMatch() || carpeta.ownerId() != ::getuid() || procesoVivo(m.captured(1).toLongLong()))
            continue;
        QDir(carpeta.filePath()).removeRecursively();
    }
}

bool EsEsteEjecutable(const QString &nombre)
{
    const QString buscado = Mayusculas(SinExtension(nombre));
    if (buscado.isEmpty())
        return false;
    const QString programa = Mayusculas(SinExtension(ProgramaEnEjecucion()));
    return programa.contains(buscado);
}

QString NuevoGUID()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

std::vector<EnlaceRed> EnlacesRed()
{
    std::vector<EnlaceRed> enlaces;
    ifaddrs *lista = nullptr;
    if (getifaddrs(&lista) != 0)
        return enlaces;
    // getifaddrs lists every link first (its hardware address) and then every address:
    // addresses are grouped back under their link, which keeps the links' order.
    const auto enlace = [&](const ifaddrs &entrada) -> EnlaceRed & {
        const QString nombre = QString::fromLocal8Bit(entrada.ifa_name);
        for (EnlaceRed &e : enlaces)
            if (e.nombre == nombre)
                return e;
        EnlaceRed nuevo;
        nuevo.nombre = nombre;
        nuevo.activo = entrada.ifa_flags & IFF_UP;
        nuevo.bucleLocal = entrada.ifa_flags & IFF_LOOPBACK;
        enlaces.push_back(nuevo);
        return enlaces.back();
    };
    for (const ifaddrs *e = lista; e; e = e->ifa_next) {
        if (!e->ifa_name)
            continue;
        EnlaceRed &destino = enlace(*e);
        if (!e->ifa_addr)
            continue;
        if (e->ifa_addr->sa_family == AF_PACKET) {
            const auto *fisica = reinterpret_cast<const sockaddr_ll *>(e->ifa_addr);
            destino.tipoBucleLocal = fisica->sll_hatype == ARPHRD_LOOPBACK;
            destino.direccionHardware = QByteArray(reinterpret_cast<const char *>(fisica->sll_addr),
                                                   std::min<int>(fisica->sll_halen, sizeof fisica->sll_addr));
        } else if (e->ifa_addr->sa_family == AF_INET) {
            char texto[INET_ADDRSTRLEN] = {};
            const in_addr &ip = reinterpret_cast<const sockaddr_in *>(e->ifa_addr)->sin_addr;
            if (inet_ntop(AF_INET, &ip, texto, sizeof texto))
                destino.direccionesIPv4.append(QString::fromLatin1(texto));
        }
    }
    freeifaddrs(lista);
    return enlaces;
}

bool ObtenerDireccionIP(QString &nombreHost, QString &direccion, QString &error)
{
    direccion.clear();
    char nombre[256] = {};
    if (gethostname(nombre, sizeof nombre - 1) == 0)
        nombreHost = QString::fromLocal8Bit(nombre);
    else
        nombreHost.clear();
    if (nombreHost.isEmpty()) {
        error = QStringLiteral("No se puede leer el nombre del ordenador");
        return false;
    }
    // Addresses of links that are up; the whole 127.0.0.0/8 is the loopback.
    for (const EnlaceRed &enlace : EnlacesRed()) {
        if (!enlace.activo)
            continue;
        for (const QString &candidata : enlace.direccionesIPv4) {
            if (!candidata.startsWith(QLatin1String("127."))) {
                direccion = candidata;
                return true;
            }
        }
    }
    error = QStringLiteral("No se encuentra la dirección de ") + nombreHost;
    return false;
}

void EsperarMilisegundos(int n)
{
    if (n <= 0)
        return;
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < n) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
}

bool LeerVersionWindows(VersionWindows &version)
{
    version = VersionWindows();
    utsname sistema{};
    if (uname(&sistema) != 0) {
        version.tamano = 0;
        return false;
    }
    // "6.1.0-18-amd64": the leading numbers are major, minor and build.
    const QRegularExpression numeros(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = numeros.match(QString::fromLocal8Bit(sistema.release));
    if (!m.hasMatch()) {
        version.tamano = 0;
        return false;
    }
    version.tamano = kTamanoVersionWindows;
    version.versionMayor = m.captured(1).toUInt();
    version.versionMenor = m.captured(2).toUInt();
    version.compilacion = m.captured(3).toUInt();
    version.plataforma = kPlataformaLinux;
    return true;
}

QString NombreUsuarioWindows()
{
    passwd registro{};
    passwd *encontrado = nullptr;
    char memoria[4096];
    if (getpwuid_r(geteuid(), &registro, memoria, sizeof memoria, &encontrado) == 0 && encontrado
        && encontrado->pw_name && *encontrado->pw_name)
        return QString::fromLocal8Bit(encontrado->pw_name);
    return QStringLiteral("Unknown");
}

QString DireccionAdaptadorRed()
{
    for (const EnlaceRed &enlace : EnlacesRed()) {
        if (enlace.bucleLocal)
            continue;
        const QString hardware = QString::fromLatin1(enlace.direccionHardware.toHex()).toUpper();
        if (hardware.size() == 12 && hardware != QStringLiteral("000000000000"))
            return hardware;
    }
    return QStringLiteral("000000000000");
}

Gancho<EjecutarProgramaFn> &ganchoEjecutarPrograma()
{
    static Gancho<EjecutarProgramaFn> gancho;
    return gancho;
}

Gancho<ObtenerPlataformaFn> &ganchoObtenerPlataforma()
{
    static Gancho<ObtenerPlataformaFn> gancho;
    return gancho;
}
