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

// The highest network session number of the current user in the engine's user list. The
// engines used here keep no such list, so every run is session 0.
int NumeroSesionRed();

// The login name of the user who runs the program; "Unknown" when it cannot be read.
QString ObtenerUsuarioWindows();
