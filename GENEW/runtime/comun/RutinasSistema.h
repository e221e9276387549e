#pragma once
#include "platform/base/Gancho.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Files and the operating system. Paths use "/"; folders returned end in "/".

// Copies every byte of the source (found ignoring case like any file of the program) into
// the destination, created or emptied; raises gp::Error when either cannot be opened.
void CopiarFichero(const QString &origen, const QString &destino);
// Deletes every entry of the mask's folder whose name matches the mask ("*" and "?"; case
// ignored; "*.*" also matches names without extension). True when every deletion succeeded
// (also when nothing matched); false when any failed, folders among the matches included.
bool BorrarFicheros(const QString &mascara);
// The system's temporary folder, ending in "/"; shared by every user and program of the machine.
QString DirectorioTemporal();
// A folder of this running program's own inside the system's temporary folder, ending in "/",
// readable by its user only and removed when the program ends: for pages the program writes
// to show them, which two programs (or two users) showing the same window must not overwrite,
// read or delete in each other. The system's folder itself when no folder can be made there.
QString DirectorioTemporalPropio();
// Removes the temporary folders this user's programs left when they were killed.
void BorrarTemporalesDeProgramasTerminados();
// The running program's file name, upper-cased and without extension, equals or contains the
// name (also taken without extension and upper-cased).
bool EsEsteEjecutable(const QString &nombre);
// A new GUID: 36 characters, upper-case hexadecimal digits in groups joined by "-".
QString NuevoGUID();
// One network link of the machine.
struct EnlaceRed
{
    QString nombre;
    bool activo = false;             // up
    bool bucleLocal = false;         // flagged as the loopback
    bool tipoBucleLocal = false;     // of the loopback's link type
    QByteArray direccionHardware;    // its bytes; empty when it has none
    QStringList direccionesIPv4;     // dotted, in the kernel's order
};
// The machine's links in the kernel's order (that of their indexes), each with its IPv4
// addresses.
std::vector<EnlaceRed> EnlacesRed();
// The computer's host name and its first address that is not the loopback (IPv4); false,
// with the address empty and an error text, when there is no such address.
bool ObtenerDireccionIP(QString &nombreHost, QString &direccion, QString &error);
// Returns once n milliseconds have passed, processing the application's events meanwhile.
void EsperarMilisegundos(int n);

// The operating system's version record; on Linux it holds the kernel version.
struct VersionWindows
{
    quint32 tamano = 0;          // 156 once filled, 0 after a failure
    quint32 versionMayor = 0;
    quint32 versionMenor = 0;
    quint32 compilacion = 0;
    quint32 plataforma = 0;      // kPlataformaLinux here
    QString textoServicio;       // service-pack text: empty on Linux
    quint16 servicioMayor = 0;
    quint16 servicioMenor = 0;
    quint16 mascaraSuite = 0;
    quint8 tipoProducto = 0;
};
constexpr quint32 kTamanoVersionWindows = 156;
// A platform number that no Windows family uses.
constexpr quint32 kPlataformaLinux = 0xFFFF;

// Clears the record and fills it from the kernel version ("6.1.0-18" gives 6, 1 and 0);
// false, with the size 0, when the version cannot be read.
bool LeerVersionWindows(VersionWindows &version);

// The login name of the process owner; "Unknown" when there is none.
QString NombreUsuarioWindows();
// The first non-loopback network interface's hardware address as 12 upper-case hexadecimal
// digits; "000000000000" when there is none.
QString DireccionAdaptadorRed();

// Routines of the runtime that the layers below it reach through these hooks: the start-up
// form installs them; they stay empty until then.
using EjecutarProgramaFn = std::function<void(const QString &lineaComandos, const QString &opciones)>;
Gancho<EjecutarProgramaFn> &ganchoEjecutarPrograma();
using ObtenerPlataformaFn = std::function<QString()>;
Gancho<ObtenerPlataformaFn> &ganchoObtenerPlataforma();
