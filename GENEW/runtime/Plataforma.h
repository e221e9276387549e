#pragma once
#include "GENEW/runtime/comun/RutinasSistema.h"

#include <QString>

// The operating system as four lines joined by CR LF: "PlataformaBase=" base name,
// "Plataforma=" name, "Version=" major.minor.build, "Nivel=" service level. Here the base
// is "Linux", the name the distribution's own, the version the kernel's, the level empty.
QString ObtenerPlataforma();

// The same from the text of /etc/os-release (empty when unreadable) and the version record;
// an unreadable record gives the name "Desconocida".
QString ObtenerPlataformaDe(const QString &osRelease, const VersionWindows &version);

// The network session number of this running program: the engines used here keep no list
// of their users, so it is the number this copy holds among the copies running on this
// machine (SesionRedLocal), the same for the whole run; -1 when none could be taken.
int NumeroSesionRed();

// The login name of the user who runs the program; "Unknown" when it cannot be read.
QString ObtenerUsuarioWindows();
